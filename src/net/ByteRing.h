#pragma once
// The receive ring of a link: 15000 bytes between one writer thread (the
// link's receive thread) and one reader (the user-interface thread). Each
// index is written by one side only and published with release order, so no
// lock guards the bytes. The ring holds at most 14999 bytes: equal indices
// mean empty.
//
// A writer that finds the ring full waits (sleeping, not spinning) until
// the reader has made room or the ring is stopped, so unread bytes are never
// overwritten while the user-interface thread is busy with a question.

#include "platform/core/Types.h"

#include <atomic>
#include <condition_variable>
#include <mutex>

class CByteRing
{
public:
    static constexpr int kSize = 15000;

    CByteRing() = default;
    CByteRing(const CByteRing&) = delete;
    CByteRing& operator=(const CByteRing&) = delete;

    // Writer: appends every byte, waiting while full; FALSE when the ring
    // was stopped before all were written.
    BOOL Write(const BYTE* data, int size);
    // Reader: copies up to maxBytes in arrival order and answers the count.
    int Read(BYTE* destination, int maxBytes);
    int GetHeld() const;
    BOOL IsEmpty() const { return GetHeld() == 0; }
    // Wakes a waiting writer for good (the link is closing); Reset undoes it
    // and empties the ring, when no writer runs.
    void Stop();
    void Reset();
    // Places both indices (tests start the ring near its wrap).
    void SetIndices(int index);

    int GetWriteIndex() const { return m_write.load(std::memory_order_acquire); }
    int GetReadIndex() const { return m_read.load(std::memory_order_acquire); }

private:
    BYTE m_bytes[kSize] = {};
    std::atomic<int> m_write{0};
    std::atomic<int> m_read{0};
    std::atomic<bool> m_stopped{false};
    std::atomic<bool> m_writerWaiting{false};
    std::mutex m_waitLock;
    std::condition_variable m_room;
};
