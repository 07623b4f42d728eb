#include "platform/net/NetLog.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>

namespace
{
std::mutex g_logLock;
NetLogSink g_sink;
}  // namespace

void NetLog(const char* format, ...)
{
    char line[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    std::lock_guard<std::mutex> lock(g_logLock);
    if (g_sink)
        g_sink(CString(line));
    else
        std::fprintf(stderr, "net: %s\n", line);
}

NetLogSink SetNetLogSink(NetLogSink sink)
{
    std::lock_guard<std::mutex> lock(g_logLock);
    NetLogSink previous = std::move(g_sink);
    g_sink = std::move(sink);
    return previous;
}
