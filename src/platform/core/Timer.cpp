#include "platform/core/Timer.h"

#include <atomic>
#include <chrono>

namespace
{
std::atomic<bool> g_manual{false};
std::atomic<DWORD> g_manualTime{0};
}  // namespace

DWORD timeGetTime()
{
    if (g_manual.load())
        return g_manualTime.load();
    auto now = std::chrono::steady_clock::now().time_since_epoch();
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
    return static_cast<DWORD>(static_cast<unsigned long long>(ms));
}

void SetManualTime(DWORD milliseconds)
{
    g_manualTime.store(milliseconds);
    g_manual.store(true);
}

void AdvanceManualTime(DWORD milliseconds)
{
    if (!g_manual.load())
        SetManualTime(timeGetTime());
    g_manualTime.fetch_add(milliseconds);
}

void UseRealTime() { g_manual.store(false); }

BOOL IsManualTime() { return g_manual.load(); }
