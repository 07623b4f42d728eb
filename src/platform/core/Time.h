#pragma once
// Calendar time and time spans as the files store them: 32-bit signed
// seconds. Calendar time counts from 1 January 1970 00:00 UTC and is broken
// down in UTC, so a game's dates read the same on every machine.

#include "platform/core/CString.h"
#include "platform/core/Types.h"

class CTimeSpan
{
public:
    constexpr CTimeSpan() = default;
    constexpr CTimeSpan(LONG seconds) : m_span(seconds) {}
    CTimeSpan(LONG days, int hours, int minutes, int seconds);

    // Components; a negative span has negative components.
    LONG GetDays() const { return m_span / 86400; }
    int GetHours() const { return static_cast<int>(GetTotalHours() - GetDays() * 24); }
    int GetMinutes() const { return static_cast<int>(GetTotalMinutes() - GetTotalHours() * 60); }
    int GetSeconds() const { return static_cast<int>(GetTotalSeconds() - GetTotalMinutes() * 60); }
    LONG GetTotalHours() const { return m_span / 3600; }
    LONG GetTotalMinutes() const { return m_span / 60; }
    LONG GetTotalSeconds() const { return m_span; }

    // %D days (unpadded), %H %M %S two digits, %% a percent sign; any
    // other character is copied.
    CString Format(const char* format) const;

    CTimeSpan operator+(CTimeSpan t) const { return CTimeSpan(Wrap(static_cast<long long>(m_span) + t.m_span)); }
    CTimeSpan operator-(CTimeSpan t) const { return CTimeSpan(Wrap(static_cast<long long>(m_span) - t.m_span)); }
    CTimeSpan operator-() const { return CTimeSpan(Wrap(-static_cast<long long>(m_span))); }
    CTimeSpan& operator+=(CTimeSpan t) { return *this = *this + t; }
    CTimeSpan& operator-=(CTimeSpan t) { return *this = *this - t; }
    auto operator<=>(const CTimeSpan&) const = default;

private:
    // Sums wrap like the 32-bit value the files hold.
    static LONG Wrap(long long v) { return static_cast<LONG>(static_cast<DWORD>(v)); }
    LONG m_span = 0;
};

class CTime
{
public:
    constexpr CTime() = default;
    constexpr CTime(LONG seconds) : m_time(seconds) {}
    // UTC calendar date and time; values outside the ranges are carried
    // over (month 13 is January of the next year).
    CTime(int year, int month, int day, int hour, int minute, int second);

    static CTime GetCurrentTime();

    LONG GetTime() const { return m_time; }
    int GetYear() const;
    int GetMonth() const;  // 1..12
    int GetDay() const;    // 1..31
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const;  // 1 = Sunday .. 7 = Saturday

    // strftime codes (%Y %m %d %H %M %S %A %B %j %y %p %c ...), UTC, C locale.
    CString Format(const char* format) const;

    CTime operator+(CTimeSpan t) const;
    CTime operator-(CTimeSpan t) const;
    CTimeSpan operator-(CTime t) const;
    CTime& operator+=(CTimeSpan t) { return *this = *this + t; }
    CTime& operator-=(CTimeSpan t) { return *this = *this - t; }
    auto operator<=>(const CTime&) const = default;

private:
    LONG m_time = 0;
};
