// The serial link between two programs over the null-modem bridge
// (tools/kdrnullmodem): the modem handshake, frames both ways, and what the
// survivor sees when the other end closes.
#include "net/Message.h"
#include "net/SerialLink.h"
#include "platform/ui/App.h"
#include "support/ChildRun.h"
#include "support/NetLogCapture.h"
#include "support/ScriptedUi.h"

#include <QProcess>

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace
{
using Clock = std::chrono::steady_clock;

constexpr const char* kPortVariable = "KDR_SERIAL_DEVICE";
constexpr int kBaud9600Port1 = 1 | (9600 << 16);
constexpr DWORD kPing = 1;
constexpr DWORD kPong = 2;
constexpr DWORD kBye = 3;

bool WaitFor(const std::function<bool()>& done, int timeoutMs)
{
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done())
    {
        if (Clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// Opens COM1, mapped in this program's profile to the device.
std::unique_ptr<CMessage> OpenSerial(CWinApp& app, const CString& device)
{
    app.WriteProfileString("Multiplayer", "Serial Port 1", device);
    std::unique_ptr<CMessage> message = CMessage::Create(CMessage::kSerialLink);
    if (message && message->Open(kBaud9600Port1) != 1)
        return nullptr;
    return message;
}

DWORD WaitForMessage(CMessage& message, std::string& payload, int timeoutMs)
{
    std::vector<char> buffer(20000);
    int length = 0;
    DWORD type = 0;
    WaitFor([&] { return (type = message.GetNextMessage(buffer.data(), 20000, &length)) != 0; }, timeoutMs);
    payload.assign(buffer.data(), static_cast<size_t>(type ? length : 0));
    return type;
}
}  // namespace

TEST(SerialLink, TheDeviceOfAPortComesFromTheProfile)
{
    CWinApp app("KdrSerialTest");
    EXPECT_EQ(CString("/dev/ttyS2"), CSerialLink::GetDeviceName(3));
    app.WriteProfileString("Multiplayer", "Serial Port 3", "/dev/pts/9");
    EXPECT_EQ(CString("/dev/pts/9"), CSerialLink::GetDeviceName(3));
}

TEST(SerialLink, TwoProgramsConnectOverTheBridgeAndSeeTheLineDrop)
{
    CNetLogCapture log;
    CWinApp app("KdrSerialTest");
    if (IsTestChild())
    {
        std::unique_ptr<CMessage> message = OpenSerial(app, qEnvironmentVariable(kPortVariable).toUtf8().constData());
        ASSERT_TRUE(message);
        ASSERT_EQ(1, message->StartJoin(0));
        ASSERT_TRUE(WaitFor([&] { return message->IsConnected() != 0; }, 15000));
        std::string payload;
        ASSERT_EQ(kPing, WaitForMessage(*message, payload, 10000));
        EXPECT_EQ("ping", payload);
        ASSERT_EQ(1, message->SendLinkMessage("pong", 4, kPong, 0, CString()));
        ASSERT_EQ(kBye, WaitForMessage(*message, payload, 10000));
        message->Close();
        return;
    }

    QProcess bridge;
    bridge.start(QStringLiteral(KDR_BINARY_DIR "/kdrnullmodem"), QStringList());
    ASSERT_TRUE(bridge.waitForStarted(5000));
    QString a;
    QString b;
    while ((a.isEmpty() || b.isEmpty()) && bridge.waitForReadyRead(5000))
        while (bridge.canReadLine())
        {
            const QString line = QString::fromUtf8(bridge.readLine()).trimmed();
            (line.startsWith("A ") ? a : b) = line.mid(2);
        }
    ASSERT_FALSE(a.isEmpty() || b.isEmpty());

    std::unique_ptr<CMessage> message = OpenSerial(app, a.toUtf8().constData());
    ASSERT_TRUE(message);
    CChildProcess joiner;
    ASSERT_TRUE(joiner.Start({{kPortVariable, b}}));
    ASSERT_EQ(1, message->StartHost(0));
    ASSERT_TRUE(WaitFor([&] { return message->IsConnected() != 0; }, 15000)) << joiner.Output();

    ASSERT_EQ(1, message->SendLinkMessage("ping", 4, kPing, 0, CString()));
    std::string payload;
    ASSERT_EQ(kPong, WaitForMessage(*message, payload, 10000)) << joiner.Output();
    EXPECT_EQ("pong", payload);
    ASSERT_EQ(1, message->SendLinkMessage(nullptr, 0, kBye, 0, CString()));
    const CChildRun run = joiner.Finish(20000);
    EXPECT_TRUE(run.Passed()) << run.output;

    // The bridge tells the survivor the line is gone.
    EXPECT_TRUE(WaitFor([&] { return message->CountMessages(FALSE) == 0 && message->IsConnected() == 0; }, 5000));
    EXPECT_TRUE(message->GetLink()->IsCarrierLost());
    {
        ScopedScriptedUi ui;
        ui->ExpectMessage(GetMessageBoxCaption(), "You are not connected!", IDOK);
        EXPECT_EQ(0, message->SendLinkMessage("late", 4, kPing, 0, CString()));
    }
    message->Close();
    bridge.terminate();
    EXPECT_TRUE(bridge.waitForFinished(5000));
}

namespace
{
// A pseudo-terminal whose far end the test plays: the modem and the peer.
class CPtyPeer
{
public:
    CPtyPeer()
    {
        m_master = posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master >= 0 && grantpt(m_master) == 0 && unlockpt(m_master) == 0)
            m_path = ptsname(m_master);
        fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
    }
    ~CPtyPeer() { Hangup(); }
    const std::string& Path() const { return m_path; }
    void Hangup()
    {
        if (m_master >= 0)
            close(m_master);
        m_master = -1;
    }
    // Writes all, letting the link read between pieces.
    void Write(const std::string& bytes, CMessage& message)
    {
        size_t at = 0;
        while (at < bytes.size())
        {
            const ssize_t n = write(m_master, bytes.data() + at, bytes.size() - at);
            if (n > 0)
                at += static_cast<size_t>(n);
            message.IsConnected();
        }
    }
    std::string Read()
    {
        std::string out;
        char buffer[4096];
        for (ssize_t n; (n = read(m_master, buffer, sizeof buffer)) > 0;)
            out.append(buffer, static_cast<size_t>(n));
        return out;
    }

private:
    int m_master = -1;
    std::string m_path;
};
}  // namespace

TEST(SerialLink, TheHandshakeFindsItsTextsAcrossAFullBufferAndKeepsWhatFollows)
{
    CNetLogCapture log;
    CWinApp app("KdrSerialTest");
    CPtyPeer peer;
    ASSERT_FALSE(peer.Path().empty());
    std::unique_ptr<CMessage> message = OpenSerial(app, peer.Path().c_str());
    ASSERT_TRUE(message);
    ASSERT_EQ(1, message->StartHost(0));
    EXPECT_EQ("ATA\r", peer.Read());

    // "CONNECT" straddles the moment the handshake buffer is full.
    peer.Write(std::string(14996, 'j') + "CONNECT", *message);
    ASSERT_TRUE(WaitFor([&] { return message->IsConnected() == 0 && peer.Read().find("ZIVOVIDIRADU") != std::string::npos; }, 5000));

    // The peer's greeting, then at once a frame: it reaches the message layer.
    const std::string frame = std::string("\x02\x02\x02") + "00002 00209 00002 00009 00000 " + "hi" + "\x03\x03\x03";
    peer.Write("noise ZIVOVIDIRADU" + frame, *message);
    ASSERT_TRUE(WaitFor([&] { return message->IsConnected() != 0; }, 5000));
    char got[16];
    int length = 0;
    EXPECT_EQ(9u, message->GetNextMessage(got, sizeof got, &length));
    EXPECT_EQ("hi", std::string(got, static_cast<size_t>(length)));

    // The line ends: no longer connected, and nothing is sent.
    peer.Hangup();
    EXPECT_TRUE(WaitFor([&] { return message->CountMessages(FALSE) == 0 && message->IsConnected() == 0; }, 5000));
    ScopedScriptedUi ui;
    ui->ExpectMessage(GetMessageBoxCaption(), "You are not connected!", IDOK);
    EXPECT_EQ(0, message->SendLinkMessage("x", 1, 9, 0, CString()));
}
