#include "platform/core/Time.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace
{
constexpr long long kSecondsPerDay = 86400;

long long FloorDiv(long long a, long long b)
{
    long long q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

// Days since 1970-01-01 of a proleptic Gregorian date (month 1..12).
long long DaysFromCivil(long long y, long long m, long long d)
{
    y -= m <= 2;
    long long era = FloorDiv(y, 400);
    long long yoe = y - era * 400;
    long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

struct Civil
{
    int year, month, day;
};

Civil CivilFromDays(long long z)
{
    z += 719468;
    long long era = FloorDiv(z, 146097);
    long long doe = z - era * 146097;
    long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long long y = yoe + era * 400;
    long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    long long mp = (5 * doy + 2) / 153;
    long long d = doy - (153 * mp + 2) / 5 + 1;
    long long m = mp + (mp < 10 ? 3 : -9);
    return Civil{static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

struct Breakdown
{
    Civil date;
    int hour, minute, second;
    int weekday;  // 0 = Sunday
    int yearDay;  // 0-based
};

Breakdown Break(LONG t)
{
    long long days = FloorDiv(t, kSecondsPerDay);
    long long secs = t - days * kSecondsPerDay;
    Breakdown b{};
    b.date = CivilFromDays(days);
    b.hour = static_cast<int>(secs / 3600);
    b.minute = static_cast<int>(secs / 60 % 60);
    b.second = static_cast<int>(secs % 60);
    b.weekday = static_cast<int>(((days % 7) + 11) % 7);  // 1970-01-01 was a Thursday
    b.yearDay = static_cast<int>(days - DaysFromCivil(b.date.year, 1, 1));
    return b;
}
}  // namespace

CTimeSpan::CTimeSpan(LONG days, int hours, int minutes, int seconds)
    : m_span(Wrap(static_cast<long long>(days) * 86400 + static_cast<long long>(hours) * 3600 +
                  static_cast<long long>(minutes) * 60 + seconds))
{
}

CString CTimeSpan::Format(const char* format) const
{
    CString out;
    if (!format)
        return out;
    for (const char* p = format; *p; ++p)
    {
        if (*p != '%')
        {
            out += *p;
            continue;
        }
        char code = *++p;
        CString part;
        switch (code)
        {
        case 'D': part.Format("%ld", static_cast<long>(GetDays())); break;
        case 'H': part.Format("%02d", GetHours()); break;
        case 'M': part.Format("%02d", GetMinutes()); break;
        case 'S': part.Format("%02d", GetSeconds()); break;
        case '%': part = "%"; break;
        case '\0': return out;  // a lone '%' at the end
        default:
            part += '%';
            part += code;
            break;
        }
        out += part;
    }
    return out;
}

CTime::CTime(int year, int month, int day, int hour, int minute, int second)
{
    long long m0 = static_cast<long long>(month) - 1;
    long long y = year + FloorDiv(m0, 12);
    long long m = m0 - FloorDiv(m0, 12) * 12 + 1;
    long long days = DaysFromCivil(y, m, 1) + day - 1;
    long long t =
        days * kSecondsPerDay + static_cast<long long>(hour) * 3600 + static_cast<long long>(minute) * 60 + second;
    m_time = static_cast<LONG>(static_cast<DWORD>(t));
}

CTime CTime::GetCurrentTime()
{
    auto now = std::chrono::system_clock::now();
    long long secs = std::chrono::duration_cast<std::chrono::seconds>(now.time_since_epoch()).count();
    return CTime(static_cast<LONG>(static_cast<DWORD>(secs)));
}

int CTime::GetYear() const { return Break(m_time).date.year; }
int CTime::GetMonth() const { return Break(m_time).date.month; }
int CTime::GetDay() const { return Break(m_time).date.day; }
int CTime::GetHour() const { return Break(m_time).hour; }
int CTime::GetMinute() const { return Break(m_time).minute; }
int CTime::GetSecond() const { return Break(m_time).second; }
int CTime::GetDayOfWeek() const { return Break(m_time).weekday + 1; }

CString CTime::Format(const char* format) const
{
    if (!format || !*format)
        return CString();
    Breakdown b = Break(m_time);
    std::tm tm{};
    tm.tm_year = b.date.year - 1900;
    tm.tm_mon = b.date.month - 1;
    tm.tm_mday = b.date.day;
    tm.tm_hour = b.hour;
    tm.tm_min = b.minute;
    tm.tm_sec = b.second;
    tm.tm_wday = b.weekday;
    tm.tm_yday = b.yearDay;
    tm.tm_isdst = 0;
    // strftime answers 0 both for "too small" and for an empty result, so
    // grow a few times and give up on formats that expand absurdly.
    for (size_t size = 128; size <= 65536; size *= 4)
    {
        std::string buf(size, '\0');
        size_t n = std::strftime(buf.data(), size, format, &tm);
        if (n > 0)
            return CString(buf.data(), static_cast<int>(n));
    }
    return CString();
}

CTime CTime::operator+(CTimeSpan t) const
{
    return CTime(static_cast<LONG>(static_cast<DWORD>(static_cast<long long>(m_time) + t.GetTotalSeconds())));
}

CTime CTime::operator-(CTimeSpan t) const
{
    return CTime(static_cast<LONG>(static_cast<DWORD>(static_cast<long long>(m_time) - t.GetTotalSeconds())));
}

CTimeSpan CTime::operator-(CTime t) const
{
    return CTimeSpan(static_cast<LONG>(static_cast<DWORD>(static_cast<long long>(m_time) - t.m_time)));
}
