#include "mission/GameTime.h"

#include "platform/core/Timer.h"

#include <climits>
#include <cmath>
#include <cstdint>

namespace
{
constexpr std::int64_t MS_PER_SECOND = 1000;

// The compression as the integer the arithmetic uses: the float truncated.
// A value that no integer holds (never set by the commands) counts as 1.
std::int64_t IntegerRate(float fRate)
{
    if (!std::isfinite(fRate) || fRate > 1000000.0f || fRate < -1000000.0f)
        return 1;
    return static_cast<std::int64_t>(fRate);
}

// Milliseconds from stamp to now on the wrapping 32-bit counter: across the
// wrap this is the small positive difference.
std::int64_t CounterDifference(DWORD now, DWORD stamp)
{
    return static_cast<std::int64_t>(static_cast<DWORD>(now - stamp));
}

int ClampToInt(std::int64_t v)
{
    if (v > INT_MAX)
        return INT_MAX;
    if (v < INT_MIN)
        return INT_MIN;
    return static_cast<int>(v);
}

const char* const MONTH_NAMES[12] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                     "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
}  // namespace

CGameTime::CGameTime()
    : m_fRate(1.0f),
      m_tsElapsed(0),
      m_tCurrent(0),
      m_nRemainder(0),
      m_dwLastTick(0),
      m_bRunning(FALSE),
      m_tStart(0)
{
}

CGameTime::~CGameTime() = default;

void CGameTime::SetRate(float fRate)
{
    m_fRate = fRate;
    Refresh();
}

DWORD CGameTime::Start()
{
    m_bRunning = TRUE;
    m_dwLastTick = timeGetTime();
    m_nRemainder = 0;
    return m_dwLastTick;
}

void CGameTime::Stop() { m_bRunning = FALSE; }

void CGameTime::Advance(CTimeSpan& tsElapsed, int& nGameMs, int& nRemainder, DWORD& dwStamp, int& nWholeSeconds)
{
    const DWORD now = timeGetTime();
    const std::int64_t rate = IntegerRate(m_fRate);

    // The clock's own step, with its own stamp and carry.
    const std::int64_t total = rate * CounterDifference(now, m_dwLastTick) + m_nRemainder;
    const std::int64_t whole = total / MS_PER_SECOND;
    m_dwLastTick = now;
    m_nRemainder = static_cast<int>(total % MS_PER_SECOND);
    if (whole != 0)
    {
        m_tsElapsed += CTimeSpan(static_cast<LONG>(whole));
        Refresh();
    }

    // The consumer's step, with the consumer's stamp and carry.
    tsElapsed = m_tsElapsed;
    if (now == dwStamp)
    {
        nGameMs = kUnset;
        nWholeSeconds = 0;
        return;
    }
    const std::int64_t ms = rate * CounterDifference(now, dwStamp);
    const std::int64_t v = ms + nRemainder;
    nGameMs = ClampToInt(ms);
    nWholeSeconds = ClampToInt(v / MS_PER_SECOND);
    nRemainder = static_cast<int>(v % MS_PER_SECOND);
    dwStamp = now;
}

void CGameTime::AdvanceIfRunning(CTimeSpan& tsElapsed, int& nGameMs, int& nRemainder, DWORD& dwStamp,
                                 int& nWholeSeconds)
{
    if (m_bRunning)
    {
        Advance(tsElapsed, nGameMs, nRemainder, dwStamp, nWholeSeconds);
        return;
    }
    tsElapsed = CTimeSpan(0);
    nGameMs = 0;
    nWholeSeconds = 0;
}

void CGameTime::Reset() { m_tsElapsed = CTimeSpan(0); }

void CGameTime::Refresh() { m_tCurrent = m_tStart + m_tsElapsed; }

void CGameTime::ShowLightText(const CString&) {}

int CGameTime::GetTimeOfDay(int& nHour, int& nMinute, int& nSecond)
{
    m_tCurrent = m_tStart + m_tsElapsed;
    nHour = m_tCurrent.GetHour();
    nMinute = m_tCurrent.GetMinute();
    nSecond = m_tCurrent.GetSecond();
    return 1;
}

CString CGameTime::FormatDateTime(const CTime& time)
{
    const int month = time.GetMonth() - 1;
    if (month < 0 || month > 11)
        return CString();
    int year = time.GetYear() - 1900;
    if (year >= 100)
        year -= 100;
    CString text;
    text.Format("%02d%02d%02d%s%02d", time.GetDay(), time.GetHour(), time.GetMinute(), MONTH_NAMES[month], year);
    return text;
}
