#include "net/ByteRing.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace
{
// A waiting writer looks again at least this often, in case a wake was missed.
constexpr auto kWriterRecheck = std::chrono::milliseconds(20);
}  // namespace

int CByteRing::GetHeld() const
{
    const int w = m_write.load(std::memory_order_acquire);
    const int r = m_read.load(std::memory_order_acquire);
    return w >= r ? w - r : kSize - r + w;
}

BOOL CByteRing::Write(const BYTE* data, int size)
{
    int done = 0;
    while (done < size)
    {
        if (m_stopped.load(std::memory_order_acquire))
            return FALSE;
        const int w = m_write.load(std::memory_order_relaxed);
        const int r = m_read.load(std::memory_order_acquire);
        const int free = (r > w ? r - w : kSize - w + r) - 1;
        if (free <= 0)
        {
            std::unique_lock<std::mutex> lock(m_waitLock);
            m_writerWaiting.store(true);
            m_room.wait_for(lock, kWriterRecheck, [&] {
                return m_stopped.load(std::memory_order_acquire) || m_read.load() != r;
            });
            m_writerWaiting.store(false);
            continue;
        }
        const int run = std::min({size - done, free, kSize - w});
        std::memcpy(m_bytes + w, data + done, static_cast<size_t>(run));
        m_write.store((w + run) % kSize, std::memory_order_release);
        done += run;
    }
    return TRUE;
}

int CByteRing::Read(BYTE* destination, int maxBytes)
{
    int done = 0;
    while (done < maxBytes)
    {
        const int r = m_read.load(std::memory_order_relaxed);
        const int w = m_write.load(std::memory_order_acquire);
        if (r == w)
            break;
        const int run = std::min(maxBytes - done, (w > r ? w : kSize) - r);
        std::memcpy(destination + done, m_bytes + r, static_cast<size_t>(run));
        m_read.store((r + run) % kSize);
        done += run;
    }
    // Only a writer that found the ring full waits to be woken.
    if (done > 0 && m_writerWaiting.load())
    {
        std::lock_guard<std::mutex> lock(m_waitLock);
        m_room.notify_all();
    }
    return done;
}

void CByteRing::Stop()
{
    m_stopped.store(true, std::memory_order_release);
    std::lock_guard<std::mutex> lock(m_waitLock);
    m_room.notify_all();
}

void CByteRing::Reset()
{
    m_stopped.store(false, std::memory_order_release);
    SetIndices(0);
}

void CByteRing::SetIndices(int index)
{
    m_write.store(index, std::memory_order_release);
    m_read.store(index, std::memory_order_release);
}
