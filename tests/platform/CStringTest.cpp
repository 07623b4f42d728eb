#include "platform/core/CString.h"

#include <gtest/gtest.h>

#include <map>

TEST(CString, SubStringsClampOutOfRangeArguments)
{
    const CString s("Hello, World");
    struct Case
    {
        CString got;
        const char* expected;
    };
    Case cases[] = {
        {s.Mid(7), "World"},
        {s.Mid(7, 3), "Wor"},
        {s.Mid(-5, 3), "Hel"},
        {s.Mid(11, 10), "d"},
        {s.Mid(12), ""},
        {s.Mid(50, 2), ""},
        {s.Mid(3, -1), ""},
        {s.Left(5), "Hello"},
        {s.Left(-1), ""},
        {s.Left(99), "Hello, World"},
        {s.Right(5), "World"},
        {s.Right(99), "Hello, World"},
        {s.Right(-2), ""},
        {s.SpanIncluding("leH"), "Hell"},
        {s.SpanExcluding(",!"), "Hello"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.got, c.expected);
    EXPECT_EQ(s.GetAt(-1), '\0');
    EXPECT_EQ(s.GetAt(12), '\0');
    EXPECT_EQ(s[4], 'o');
}

TEST(CString, Searching)
{
    const CString s("a.b.c..d");
    EXPECT_EQ(s.Find('.'), 1);
    EXPECT_EQ(s.Find('.', 2), 3);
    EXPECT_EQ(s.Find('.', 8), -1);
    EXPECT_EQ(s.Find('.', -3), 1);
    EXPECT_EQ(s.Find(".."), 5);
    EXPECT_EQ(s.Find("..", 6), -1);
    EXPECT_EQ(s.Find("x"), -1);
    EXPECT_EQ(s.ReverseFind('.'), 6);
    EXPECT_EQ(s.ReverseFind('x'), -1);
    EXPECT_EQ(s.FindOneOf("dc"), 4);
}

TEST(CString, Editing)
{
    CString s("one two one");
    EXPECT_EQ(s.Replace("one", "three"), 2);
    EXPECT_EQ(s, "three two three");
    EXPECT_EQ(s.Replace("", "x"), 0);
    EXPECT_EQ(s.Replace(' ', '_'), 2);
    EXPECT_EQ(s, "three_two_three");
    EXPECT_EQ(s.Remove('e'), 4);
    EXPECT_EQ(s, "thr_two_thr");
    EXPECT_EQ(s.Insert(0, '<'), 12);
    EXPECT_EQ(s.Insert(99, ">"), 13);
    EXPECT_EQ(s, "<thr_two_thr>");
    EXPECT_EQ(s.Delete(1, 4), 9);
    EXPECT_EQ(s.Delete(7, 50), 7);
    EXPECT_EQ(s, "<two_th");

    CString t("  \tText \r\n");
    t.TrimLeft();
    EXPECT_EQ(t, "Text \r\n");
    t.TrimRight();
    EXPECT_EQ(t, "Text");
    CString u("xxTextyy");
    u.TrimLeft('x');
    u.TrimRight("y");
    EXPECT_EQ(u, "Text");
}

TEST(CString, CaseTouchesOnlyAsciiLetters)
{
    CString s("Caf\xE9 Ab-1");
    s.MakeUpper();
    EXPECT_EQ(s, "CAF\xE9 AB-1");
    s.MakeLower();
    EXPECT_EQ(s, "caf\xE9 ab-1");
    EXPECT_EQ(CString("ABC").CompareNoCase("abc"), 0);
    EXPECT_LT(CString("abc").CompareNoCase("ABD"), 0);
    EXPECT_GT(CString("abcd").CompareNoCase("ABC"), 0);
    EXPECT_LT(CString("ABC").Compare("abc"), 0);
    // Bytes compare unsigned: an accented letter sorts after 'z'.
    EXPECT_GT(CString("\xE9").Compare("z"), 0);
    EXPECT_TRUE(CString("b") > "a");
    EXPECT_TRUE("a" < CString("b"));
    EXPECT_TRUE(CString("a") != CString("b"));
    EXPECT_TRUE(CString() == "");
    std::map<CString, int> ordered{{"b", 2}, {"a", 1}};
    EXPECT_EQ(ordered.begin()->second, 1);
}

TEST(CString, FormatAndConcatenation)
{
    CString s;
    s.Format("%s %d %.2f %05ld %c", "x", -7, 2.345, 42L, 'q');
    EXPECT_EQ(s, "x -7 2.35 00042 q");
    CString big;
    big.Format("%s", std::string(5000, 'w').c_str());
    EXPECT_EQ(big.GetLength(), 5000);
    s.AppendFormat("|%u", 3u);
    EXPECT_EQ(s, "x -7 2.35 00042 q|3");
    CString a("ab");
    EXPECT_EQ(a + "cd", "abcd");
    EXPECT_EQ("<" + a + '>', "<ab>");
    EXPECT_EQ('[' + a, "[ab");
    a += CString("c");
    a += 'd';
    a += "e";
    EXPECT_EQ(a, "abcde");
    EXPECT_EQ(CString(nullptr), "");
    EXPECT_EQ(CString('-', 3), "---");
    EXPECT_EQ(CString("abcdef", 3), "abc");
}

TEST(CString, BufferAccess)
{
    CString s("abc");
    char* p = s.GetBuffer(10);
    std::snprintf(p, 11, "%s", "xy");
    s.ReleaseBuffer();
    EXPECT_EQ(s, "xy");
    EXPECT_EQ(s.GetLength(), 2);
    p = s.GetBuffer(4);
    p[0] = 'z';
    p[1] = 'z';
    p[2] = 'z';
    s.ReleaseBuffer(3);
    EXPECT_EQ(s, "zzz");
}
