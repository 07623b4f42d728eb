// A null modem between two programs on this machine, for the serial link:
// two pseudo-terminals that stand for two modems joined by a line.
//
//   kdrnullmodem        prints "A <path>" and "B <path>", one a line
//
// Each program opens one path as its serial port. Until the line is up,
// what a program writes is modem commands, one a line ending in CR: "ATA"
// answers, "ATD..." dials, any other "AT..." gets "OK\r\n". Once one end has
// dialled and the other answered, both get "CONNECT\r\n" and from then on
// every byte is passed across as it comes. When one program closes its end
// the other gets "NO CARRIER\r\n" and the line is down; an end opened again
// starts over with commands. Ends at SIGTERM or SIGINT, or once both ends
// have closed after a connection.

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace
{
volatile std::sig_atomic_t g_stop = 0;

void OnSignal(int) { g_stop = 1; }

// How often an end that nobody holds open is looked at again.
constexpr int kIdleLookMs = 50;

struct End
{
    int master = -1;
    std::string path;
    bool open = false;      // a program holds the end open
    bool answered = false;  // "ATA"
    bool dialled = false;   // "ATD"
    std::string line;       // the command being typed
};

void WriteAll(int fd, const char* data, size_t size)
{
    while (size > 0)
    {
        const ssize_t n = write(fd, data, size);
        if (n < 0)
        {
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN)
            {
                usleep(1000);
                continue;
            }
            return;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
}

void WriteText(End& end, const char* text) { WriteAll(end.master, text, std::strlen(text)); }

bool MakeEnd(End& end)
{
    end.master = posix_openpt(O_RDWR | O_NOCTTY);
    if (end.master < 0 || grantpt(end.master) != 0 || unlockpt(end.master) != 0)
        return false;
    const char* name = ptsname(end.master);
    if (!name)
        return false;
    end.path = name;
    // Raw, so that nothing is echoed or changed on the way; opening and
    // closing the far side once makes the master report when nobody holds it.
    const int slave = open(name, O_RDWR | O_NOCTTY);
    if (slave < 0)
        return false;
    termios raw{};
    if (tcgetattr(slave, &raw) == 0)
    {
        cfmakeraw(&raw);
        tcsetattr(slave, TCSANOW, &raw);
    }
    close(slave);
    fcntl(end.master, F_SETFL, fcntl(end.master, F_GETFL) | O_NONBLOCK);
    return true;
}

// Nobody holds the end open while its master reports a hang-up.
bool IsHeld(const End& end)
{
    pollfd p{end.master, POLLIN, 0};
    if (poll(&p, 1, 0) < 0)
        return end.open;
    return (p.revents & POLLHUP) == 0;
}

void Command(End& self, End& other, bool& connected, const std::string& command)
{
    std::string upper;
    for (char c : command)
        upper += static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    if (upper.rfind("ATA", 0) == 0)
        self.answered = true;
    else if (upper.rfind("ATD", 0) == 0)
        self.dialled = true;
    else if (upper.rfind("AT", 0) == 0)
        WriteText(self, "OK\r\n");
    if ((self.dialled && other.answered) || (self.answered && other.dialled))
    {
        connected = true;
        WriteText(self, "CONNECT\r\n");
        WriteText(other, "CONNECT\r\n");
    }
}
}  // namespace

int main()
{
    std::signal(SIGTERM, OnSignal);
    std::signal(SIGINT, OnSignal);
    std::signal(SIGPIPE, SIG_IGN);
    End ends[2];
    for (End& end : ends)
    {
        if (!MakeEnd(end))
        {
            std::fprintf(stderr, "kdrnullmodem: no pseudo-terminal: %s\n", std::strerror(errno));
            return 1;
        }
    }
    std::printf("A %s\nB %s\n", ends[0].path.c_str(), ends[1].path.c_str());
    std::fflush(stdout);

    bool connected = false;
    bool everConnected = false;
    char buffer[4096];
    while (!g_stop)
    {
        // Ends opened or closed since the last look.
        for (int i = 0; i < 2; ++i)
        {
            End& end = ends[i];
            End& other = ends[1 - i];
            const bool held = IsHeld(end);
            if (held == end.open)
                continue;
            end.open = held;
            end.answered = end.dialled = false;
            end.line.clear();
            if (!held && connected)
            {
                connected = false;
                other.answered = other.dialled = false;
                if (other.open)
                    WriteText(other, "NO CARRIER\r\n");
            }
        }
        if (everConnected && !ends[0].open && !ends[1].open)
            break;
        pollfd polls[2];
        for (int i = 0; i < 2; ++i)
            polls[i] = {ends[i].open ? ends[i].master : -1, POLLIN, 0};
        const int ready = poll(polls, 2, kIdleLookMs);
        if (ready <= 0)
            continue;
        for (int i = 0; i < 2; ++i)
        {
            if (!(polls[i].revents & POLLIN))
                continue;
            End& end = ends[i];
            End& other = ends[1 - i];
            const ssize_t n = read(end.master, buffer, sizeof buffer);
            if (n <= 0)
                continue;
            if (connected)
            {
                WriteAll(other.master, buffer, static_cast<size_t>(n));
                continue;
            }
            for (ssize_t k = 0; k < n && !connected; ++k)
            {
                const char c = buffer[k];
                if (c == '\r' || c == '\n')
                {
                    if (!end.line.empty())
                        Command(end, other, connected, end.line);
                    end.line.clear();
                    if (connected)
                    {
                        everConnected = true;
                        // What follows the command already belongs to the line.
                        if (k + 1 < n)
                            WriteAll(other.master, buffer + k + 1, static_cast<size_t>(n - k - 1));
                    }
                }
                else if (end.line.size() < 256)
                {
                    end.line += c;
                }
            }
        }
    }
    for (End& end : ends)
        close(end.master);
    return 0;
}
