#include "platform/core/Time.h"

#include <gtest/gtest.h>

TEST(CTimeSpan, FormatDaysUnpaddedOthersTwoDigits)
{
    struct Case
    {
        LONG seconds;
        const char* format;
        const char* expected;
    };
    Case cases[] = {
        {0, "%D, %H:%M:%S", "0, 00:00:00"},
        {3661, "%D, %H:%M:%S", "0, 01:01:01"},
        {86399, "%D, %H:%M:%S", "0, 23:59:59"},
        {86400 * 12 + 5, "%D, %H:%M:%S", "12, 00:00:05"},
        {86313600, "%D, %H:%M:%S", "999, 00:00:00"},
        {86346549, "%D, %H:%M:%S", "999, 09:09:09"},
        {90061, "%H h %M m, 100%%", "01 h 01 m, 100%"},
        {5, "%x %S", "%x 05"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CTimeSpan(c.seconds).Format(c.format), c.expected) << c.seconds;
}

TEST(CTimeSpan, ComponentsAndArithmetic)
{
    CTimeSpan t(2, 3, 4, 5);
    EXPECT_EQ(t.GetTotalSeconds(), 2 * 86400 + 3 * 3600 + 4 * 60 + 5);
    EXPECT_EQ(t.GetDays(), 2);
    EXPECT_EQ(t.GetHours(), 3);
    EXPECT_EQ(t.GetMinutes(), 4);
    EXPECT_EQ(t.GetSeconds(), 5);
    EXPECT_EQ(t.GetTotalHours(), 51);
    EXPECT_EQ(t.GetTotalMinutes(), 51 * 60 + 4);
    EXPECT_EQ((t - CTimeSpan(5)).GetSeconds(), 0);
    EXPECT_TRUE(CTimeSpan(1) < CTimeSpan(2));
    CTimeSpan sum;
    sum += CTimeSpan(300);
    EXPECT_EQ(sum.GetMinutes(), 5);
}

TEST(CTime, UtcBreakdownAndBack)
{
    struct Case
    {
        LONG seconds;
        int year, month, day, hour, minute, second, dayOfWeek;
    };
    Case cases[] = {
        {0, 1970, 1, 1, 0, 0, 0, 5},  // a Thursday
        {-1, 1969, 12, 31, 23, 59, 59, 4},
        {951827696, 2000, 2, 29, 12, 34, 56, 3},  // leap day, a Tuesday
        {0x7FFFFFFF, 2038, 1, 19, 3, 14, 7, 3},
        {-0x7FFFFFFF - 1, 1901, 12, 13, 20, 45, 52, 6},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.seconds);
        CTime t(c.seconds);
        EXPECT_EQ(t.GetYear(), c.year);
        EXPECT_EQ(t.GetMonth(), c.month);
        EXPECT_EQ(t.GetDay(), c.day);
        EXPECT_EQ(t.GetHour(), c.hour);
        EXPECT_EQ(t.GetMinute(), c.minute);
        EXPECT_EQ(t.GetSecond(), c.second);
        EXPECT_EQ(t.GetDayOfWeek(), c.dayOfWeek);
        EXPECT_EQ(CTime(c.year, c.month, c.day, c.hour, c.minute, c.second).GetTime(), c.seconds);
    }
    EXPECT_EQ(CTime(1999, 13, 1, 0, 0, 0).GetTime(), CTime(2000, 1, 1, 0, 0, 0).GetTime());
}

TEST(CTime, FormatAndArithmetic)
{
    CTime t(2000, 2, 29, 12, 34, 56);
    EXPECT_EQ(t.Format("%Y-%m-%d %H:%M:%S"), "2000-02-29 12:34:56");
    EXPECT_EQ(t.Format("%A %B %j"), "Tuesday February 060");
    CTime later = t + CTimeSpan(1, 0, 0, 4);
    EXPECT_EQ(later.Format("%d/%m %H:%M:%S"), "01/03 12:35:00");
    EXPECT_EQ((later - t).GetTotalSeconds(), 86404);
    EXPECT_EQ((later - CTimeSpan(86404)).GetTime(), t.GetTime());
    EXPECT_TRUE(t < later);
    EXPECT_EQ(t.Format(""), "");
}
