// The game clock under a hand-driven millisecond counter.
#include "app/GameClock.h"
#include "ClockWindowInk.h"

#include "app/ClockDlg.h"
#include "platform/core/Timer.h"

#include <gtest/gtest.h>

namespace
{
// One consumer of the clock: its own stamp and carry, and the outputs of its
// last call (filled with junk first so a value left unwritten shows).
struct Consumer
{
    DWORD stamp = 0;
    int remainder = 0;
    CTimeSpan elapsed{-5};
    int ms = 12345;
    int whole = 12345;

    void Advance(CGameClock& clock)
    {
        elapsed = CTimeSpan(-5);
        ms = 12345;
        whole = 12345;
        clock.Advance(elapsed, ms, remainder, stamp, whole);
    }
};

class GameClockTest : public ::testing::Test
{
protected:
    void TearDown() override { UseRealTime(); }
};
}  // namespace

TEST_F(GameClockTest, StepsGiveGameTimeAndCarryPerRate)
{
    struct Case
    {
        float rate;
        DWORD step;
        int ms[3];
        int whole[3];
        int remainder[3];
        LONG elapsed[3];
    };
    const Case cases[] = {
        {4.0f, 250, {1000, 1000, 1000}, {1, 1, 1}, {0, 0, 0}, {1, 2, 3}},
        {1.0f, 400, {400, 400, 400}, {0, 0, 1}, {400, 800, 200}, {0, 0, 1}},
        {8.0f, 30, {240, 240, 240}, {0, 0, 0}, {240, 480, 720}, {0, 0, 0}},
        {2.0f, 1500, {3000, 3000, 3000}, {3, 3, 3}, {0, 0, 0}, {3, 6, 9}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.rate);
        CGameClock clock;
        clock.SetRate(c.rate);
        SetManualTime(5000);
        Consumer loop;
        loop.stamp = clock.Start();
        EXPECT_EQ(loop.stamp, 5000u);
        for (int i = 0; i < 3; ++i)
        {
            AdvanceManualTime(c.step);
            loop.Advance(clock);
            EXPECT_EQ(loop.ms, c.ms[i]);
            EXPECT_EQ(loop.whole, c.whole[i]);
            EXPECT_EQ(loop.remainder, c.remainder[i]);
            EXPECT_EQ(loop.stamp, 5000u + (i + 1) * c.step);
            EXPECT_EQ(loop.elapsed.GetTotalSeconds(), c.elapsed[i]);
            EXPECT_EQ(clock.m_tsElapsed.GetTotalSeconds(), c.elapsed[i]);
        }
    }
}

TEST_F(GameClockTest, EachConsumerGetsTimeSinceItsOwnCall)
{
    CGameClock clock;
    SetManualTime(0);
    Consumer loop, unit;
    loop.stamp = unit.stamp = clock.Start();

    AdvanceManualTime(400);
    loop.Advance(clock);
    AdvanceManualTime(400);
    loop.Advance(clock);
    AdvanceManualTime(400);
    unit.Advance(clock);

    EXPECT_EQ(unit.ms, 1200);
    EXPECT_EQ(unit.whole, 1);
    EXPECT_EQ(unit.remainder, 200);
    // The clock's own carry is independent of both consumers.
    EXPECT_EQ(clock.m_tsElapsed.GetTotalSeconds(), 1);
    EXPECT_EQ(clock.m_nRemainder, 200);
    EXPECT_EQ(loop.remainder, 800);
}

TEST_F(GameClockTest, CounterWrapCountsTheSmallPositiveDifference)
{
    CGameClock clock;
    SetManualTime(0xFFFFFFFFu - 95u);  // 96 ms below 2^32
    Consumer loop;
    loop.stamp = clock.Start();
    SetManualTime(100);
    loop.Advance(clock);
    EXPECT_EQ(loop.ms, 196);
    EXPECT_EQ(loop.whole, 0);
    EXPECT_EQ(loop.remainder, 196);
    EXPECT_EQ(loop.stamp, 100u);
    EXPECT_EQ(clock.m_nRemainder, 196);
}

TEST_F(GameClockTest, SameMillisecondGivesMinus99AndWritesEveryOutput)
{
    CGameClock clock;
    clock.SetRate(2.0f);
    SetManualTime(7000);
    Consumer loop;
    loop.stamp = clock.Start();
    AdvanceManualTime(600);
    loop.Advance(clock);
    ASSERT_EQ(loop.whole, 1);
    ASSERT_EQ(loop.remainder, 200);

    loop.Advance(clock);  // no real millisecond passed
    EXPECT_EQ(loop.ms, kUnset);
    EXPECT_EQ(loop.ms, -99);
    EXPECT_EQ(loop.whole, 0);
    EXPECT_EQ(loop.remainder, 200);
    EXPECT_EQ(loop.stamp, 7600u);
    EXPECT_EQ(loop.elapsed.GetTotalSeconds(), 1);
}

TEST_F(GameClockTest, DateTimeGroupText)
{
    CGameClock clock;
    struct Case
    {
        CTime time;
        const char* text;
    };
    const Case cases[] = {
        {CTime(2002, 1, 9, 14, 30, 0), "091430JAN02"},   {CTime(1999, 12, 1, 0, 5, 0), "010005DEC99"},
        {CTime(2000, 12, 1, 0, 5, 0), "010005DEC00"},    {CTime(0), "010000JAN70"},
        {CTime(2037, 6, 30, 23, 59, 59), "302359JUN37"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(clock.FormatDateTime(c.time), c.text);
}

TEST_F(GameClockTest, WindowTextsFollowTimeAndRate)
{
    CGameClock clock;
    clock.m_tStart = CTime(2002, 1, 9, 14, 30, 0);
    clock.m_tsElapsed = CTimeSpan(1, 1, 1, 1);
    clock.Refresh();
    CClockDlg* dlg = clock.GetClockDlg();
    EXPECT_STREQ(dlg->m_strElapsed, "Day 1, 01:01:01");
    EXPECT_STREQ(dlg->m_strGameTime, "101531JAN02");
    EXPECT_EQ(clock.m_tCurrent, CTime(2002, 1, 10, 15, 31, 1));
    EXPECT_STREQ(dlg->m_strCompression, "");

    const struct
    {
        float rate;
        const char* text;
    } rates[] = {{2.0f, "2X"}, {3.0f, "2X"}, {8.0f, "8X"}, {4.0f, "4X"}, {1.0f, ""}};
    for (const auto& r : rates)
    {
        clock.SetRate(r.rate);
        EXPECT_STREQ(dlg->m_strCompression, r.text) << r.rate;
        EXPECT_EQ(dlg->m_fRate, r.rate);
    }

    int h = -1, m = -1, s = -1;
    EXPECT_EQ(clock.GetTimeOfDay(h, m, s), 1);
    EXPECT_EQ(h, 15);
    EXPECT_EQ(m, 31);
    EXPECT_EQ(s, 1);

    clock.Reset();
    EXPECT_EQ(clock.m_tsElapsed.GetTotalSeconds(), 0);
    EXPECT_EQ(dlg->m_tsElapsed.GetTotalSeconds(), 0);
}

TEST_F(GameClockTest, StartStopAndTheClockWindowToggle)
{
    CGameClock clock;
    SetManualTime(42);
    EXPECT_FALSE(clock.IsRunning());
    EXPECT_EQ(clock.Start(), 42u);
    EXPECT_TRUE(clock.IsRunning());
    EXPECT_EQ(clock.m_nRemainder, 0);
    clock.Stop();
    EXPECT_FALSE(clock.IsRunning());

    EXPECT_FALSE(clock.IsClockWindowShown());
    EXPECT_FALSE(clock.HideClockWindow());
    EXPECT_TRUE(clock.ToggleClockWindow());
    EXPECT_TRUE(clock.IsClockWindowShown());
    clock.ShowClockWindow();
    EXPECT_TRUE(clock.IsClockWindowShown());
    EXPECT_FALSE(clock.ToggleClockWindow());
    EXPECT_FALSE(clock.IsClockWindowShown());
    clock.ShowClockWindow();
    EXPECT_TRUE(clock.IsClockWindowShown());
    EXPECT_TRUE(clock.HideClockWindow());
    EXPECT_FALSE(clock.IsClockWindowShown());
}

TEST_F(GameClockTest, TheClockWindowSaysNightOnlyUntilTheLightIsFirstSet)
{
    CGameClock clock;
    ASSERT_TRUE(clock.ToggleClockWindow());
    CClockDlg* dlg = clock.GetClockDlg();
    EXPECT_EQ(dlg->m_strLight, "NIGHT");
    EXPECT_GT(LightTextInk(*dlg), 0);

    // Daylight's label is empty, and empty it stays on the window.
    dlg->SetLightText("");
    EXPECT_EQ(LightTextInk(*dlg), 0);
    dlg->SetLightText("BMNT");
    EXPECT_GT(LightTextInk(*dlg), 0);
    clock.HideClockWindow();
}
