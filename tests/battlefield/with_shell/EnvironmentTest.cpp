// The light conditions: the light state and factor the game clock's time of
// day gives, the label the Clock window takes, and the "*.env" file laid out
// by hand from its layout.
#include "battlefield/BattlefieldTestSupport.h"

#include "app/ClockDlg.h"
#include "app/GameClock.h"
#include "battlefield/KDREnvironment.h"
#include "mission/EventArray.h"
#include "support/ScriptedUi.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

using namespace bftest;
namespace fs = std::filesystem;

namespace
{
// The game clock at a time of day on the demo's date, reached through the
// elapsed span as a running game reaches it.
void SetTimeOfDay(CGameClock& clock, int nHour, int nMinute, int nSecond)
{
    clock.m_tStart = CTime(2002, 6, 14, 0, 0, 0);
    clock.m_tsElapsed = CTimeSpan(0, nHour, nMinute, nSecond);
}

struct LightCase
{
    int hour, minute, second;
    const char* label;
    BOOL night;
    int twilight;
    float factor;
};

void ExpectLight(CKDREnvironment& environment, const LightCase& c)
{
    CGameClock clock;
    SetTimeOfDay(clock, c.hour, c.minute, c.second);
    SCOPED_TRACE(testing::Message() << c.hour << ":" << c.minute << ":" << c.second);
    EXPECT_TRUE(environment.UpdateLightCondition(clock));
    EXPECT_EQ(clock.GetClockDlg()->m_strLight, c.label);
    EXPECT_EQ(environment.m_bNight, c.night);
    EXPECT_EQ(environment.m_nTwilight, c.twilight);
    EXPECT_FLOAT_EQ(environment.GetLightFactor(), c.factor);
}

// The part of a "*.env" file: an empty event list, the file's own name and
// the note, the night flag, settings 70 and -3, wind 4.5 at 1.5 rad, the
// flag, twilight marker 0, then the four hours (5, 6, 18, 19) before the
// four minutes (30, 15, 40, 45).
Bytes EnvBytes(const std::string& name, int nightWord = 1, int flagWord = 1)
{
    Bytes b;
    b.w16(0).str(name).str("overcast");
    b.w16(nightWord).w16(70).w16(-3).f32(4.5f).f32(1.5f).w16(flagWord).w16(0);
    b.w16(5).w16(6).w16(18).w16(19);
    b.w16(30).w16(15).w16(40).w16(45);
    return b;
}

class TempFolder
{
public:
    TempFolder()
    {
        std::string pattern = (fs::temp_directory_path() / "kdr-env-XXXXXX").string();
        m_path = mkdtemp(pattern.data());
        m_oldDir = GetCurrentDir();
        SetCurrentDir(m_path.string().c_str());
    }
    ~TempFolder()
    {
        SetCurrentDir(m_oldDir);
        std::error_code ec;
        fs::remove_all(m_path, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    void Write(const char* name, const std::vector<BYTE>& bytes) const
    {
        std::FILE* f = std::fopen((m_path / name).string().c_str(), "wb");
        ASSERT_NE(f, nullptr);
        if (!bytes.empty())
            std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    CString Dir() const { return m_path.string().c_str(); }
    std::string Path(const char* name) const { return (m_path / name).string(); }

private:
    fs::path m_path;
    CString m_oldDir;
};
}  // namespace

TEST(LightConditions, DefaultTimesGiveNightTwilightAndDay)
{
    const LightCase cases[] = {
        {0, 0, 0, "NIGHT", TRUE, 0, 0.1f},    {5, 59, 59, "NIGHT", TRUE, 0, 0.1f},  {6, 0, 0, "BMNT", TRUE, 200, 0.5f},
        {6, 59, 59, "BMNT", TRUE, 200, 0.5f}, {7, 0, 0, "", FALSE, 0, 1.0f},        {17, 59, 59, "", FALSE, 0, 1.0f},
        {18, 0, 0, "EENT", TRUE, 200, 0.5f},  {18, 59, 0, "EENT", TRUE, 200, 0.5f}, {19, 0, 0, "NIGHT", TRUE, 0, 0.1f},
        {23, 59, 59, "NIGHT", TRUE, 0, 0.1f},
    };
    CKDREnvironment environment;
    for (const LightCase& c : cases)
        ExpectLight(environment, c);
}

TEST(LightConditions, OwnTimesMoveTheEdgesAndTimesOutOfOrderFallToTheFirstUnpassedTest)
{
    CKDREnvironment dawn;
    dawn.m_nBMNTHour = 5;
    dawn.m_nBMNTMinute = 30;
    dawn.m_nSunriseHour = 6;
    dawn.m_nSunriseMinute = 15;
    const LightCase dawnCases[] = {
        {5, 29, 59, "NIGHT", TRUE, 0, 0.1f},
        {5, 30, 0, "BMNT", TRUE, 200, 0.5f},
        {6, 14, 59, "BMNT", TRUE, 200, 0.5f},
        {6, 15, 0, "", FALSE, 0, 1.0f},
    };
    for (const LightCase& c : dawnCases)
        ExpectLight(dawn, c);

    // Sunset after EENT: the evening goes from day straight to night.
    CKDREnvironment late;
    late.m_nSunsetHour = 20;
    const LightCase lateCases[] = {
        {19, 30, 0, "", FALSE, 0, 1.0f},
        {20, 0, 0, "NIGHT", TRUE, 0, 0.1f},
    };
    for (const LightCase& c : lateCases)
        ExpectLight(late, c);
}

TEST(LightConditions, AFreshComponentIsDayAndTheClockWindowSaysNightUntilTheFirstUpdate)
{
    CKDREnvironment environment;
    EXPECT_FALSE(environment.m_bNight);
    EXPECT_FLOAT_EQ(environment.GetLightFactor(), 1.0f);

    CGameClock clock;
    EXPECT_EQ(clock.GetClockDlg()->m_strLight, "NIGHT");
    SetTimeOfDay(clock, 12, 0, 0);
    environment.UpdateLightCondition(clock);
    // Daylight's empty label replaces it: nothing is shown by day.
    EXPECT_EQ(clock.GetClockDlg()->m_strLight, "");
}

TEST(LightConditionsFile, HandLaidFileLoadsAndWritesBackTheSameBytes)
{
    TempFolder folder;
    const std::vector<BYTE> bytes = EnvBytes("Dawn.env").data();
    folder.Write("Dawn.env", bytes);

    CKDREnvironment environment;
    ASSERT_TRUE(environment.LoadFromFile("Dawn.env", folder.Dir()));
    EXPECT_EQ(environment.m_strFileName, "Dawn.env");
    EXPECT_EQ(environment.m_strNote, "overcast");
    EXPECT_TRUE(environment.m_bNight);
    EXPECT_EQ(environment.m_nSetting1, 70);
    EXPECT_EQ(environment.m_nSetting2, -3);
    EXPECT_FLOAT_EQ(environment.m_fWindSpeed, 4.5f);
    EXPECT_FLOAT_EQ(environment.m_fWindDirection, 1.5f);
    EXPECT_TRUE(environment.m_bFlag);
    EXPECT_EQ(environment.m_nTwilight, 0);
    EXPECT_EQ(environment.m_nBMNTHour, 5);
    EXPECT_EQ(environment.m_nSunriseHour, 6);
    EXPECT_EQ(environment.m_nSunsetHour, 18);
    EXPECT_EQ(environment.m_nEENTHour, 19);
    EXPECT_EQ(environment.m_nBMNTMinute, 30);
    EXPECT_EQ(environment.m_nSunriseMinute, 15);
    EXPECT_EQ(environment.m_nSunsetMinute, 40);
    EXPECT_EQ(environment.m_nEENTMinute, 45);
    EXPECT_EQ(StoreToBytes(environment), bytes);

    // The stored state stands until the first update, then the times rule:
    // 05:45 lies in this file's morning twilight.
    EXPECT_FLOAT_EQ(environment.GetLightFactor(), 0.1f);
    CGameClock clock;
    SetTimeOfDay(clock, 5, 45, 0);
    environment.UpdateLightCondition(clock);
    EXPECT_EQ(clock.GetClockDlg()->m_strLight, "BMNT");
    EXPECT_FLOAT_EQ(environment.GetLightFactor(), 0.5f);

    // Under another name the component keeps the name it opened.
    folder.Write("Copy.env", bytes);
    CKDREnvironment copy;
    ASSERT_TRUE(copy.LoadFromFile("copy.ENV", folder.Dir()));
    EXPECT_EQ(copy.m_strFileName, "copy.ENV");
}

TEST(LightConditionsFile, ZeroFlagWordsLeaveTheFlagsAsTheyWere)
{
    CKDREnvironment environment;
    environment.m_bNight = TRUE;
    environment.m_bFlag = TRUE;
    LoadFromBytes(environment, EnvBytes("x.env", 0, 0).data());
    EXPECT_TRUE(environment.m_bNight);
    EXPECT_TRUE(environment.m_bFlag);
    // With the marker 0 a set night flag is night until the next update.
    EXPECT_FLOAT_EQ(environment.GetLightFactor(), 0.1f);

    CKDREnvironment fresh;
    LoadFromBytes(fresh, EnvBytes("x.env", 0, 0).data());
    EXPECT_FALSE(fresh.m_bNight);
    EXPECT_FALSE(fresh.m_bFlag);
}

TEST(LightConditionsFile, ABadFileIsRefusedAndLeavesTheComponentAsItWas)
{
    TempFolder folder;
    const std::vector<BYTE> good = EnvBytes("Dawn.env").data();
    std::vector<std::vector<BYTE>> bad;
    // Cut anywhere: in the event list, in a text, in the words, in a float.
    for (size_t n : {size_t(0), size_t(1), size_t(4), size_t(16), size_t(20), good.size() - 1})
        bad.emplace_back(good.begin(), good.begin() + static_cast<long>(n));
    // An event list holding an object of a class it does not own.
    bad.push_back(Bytes().w16(1).newClass("CKDREnvironment").data());

    for (size_t i = 0; i < bad.size(); ++i)
    {
        SCOPED_TRACE(i);
        folder.Write("bad.env", bad[i]);
        CKDREnvironment environment;
        environment.m_nBMNTHour = 4;
        environment.m_strFileName = "before.env";
        EXPECT_THROW(environment.LoadFromFile("bad.env", folder.Dir()), CArchiveException);
        EXPECT_EQ(environment.m_nBMNTHour, 4);
        EXPECT_EQ(environment.m_nSunriseHour, 7);
        EXPECT_EQ(environment.m_strFileName, "before.env");
        EXPECT_EQ(environment.m_strNote, "");
        EXPECT_EQ(environment.m_pEvents->GetSize(), 0);
    }
}

TEST(LightConditionsFile, AMissingFileOffersTheDialogAndCancelFails)
{
    TempFolder folder;
    folder.Write("Dawn.env", EnvBytes("Dawn.env").data());
    ScopedScriptedUi ui;

    // Chosen in the data directory: the bare name is kept, as a scenario
    // names it.
    ui->ExpectFileDialog(TRUE, folder.Path("Dawn.env").c_str());
    CKDREnvironment chosen;
    ASSERT_TRUE(chosen.LoadFromFile("missing.env", folder.Dir()));
    EXPECT_EQ(chosen.m_strFileName, "Dawn.env");
    EXPECT_EQ(chosen.m_nSunriseMinute, 15);
    EXPECT_EQ(ui->GetShown().back().file.defaultExt, "env");
    EXPECT_EQ(ui->GetShown().back().file.fileName, "*.env");

    // Chosen elsewhere: the full path is kept, so the next open finds it.
    fs::create_directories(folder.Path("other"));
    folder.Write("other/Dusk.env", EnvBytes("Dusk.env").data());
    ui->ExpectFileDialog(TRUE, folder.Path("other/Dusk.env").c_str());
    CKDREnvironment elsewhere;
    ASSERT_TRUE(elsewhere.LoadFromFile("missing.env", folder.Dir()));
    EXPECT_EQ(elsewhere.m_strFileName, folder.Path("other/Dusk.env").c_str());

    // A choice that does not open either asks again; Cancel then fails and
    // changes nothing.
    ui->ExpectFileDialog(TRUE, folder.Path("also-missing.env").c_str());
    ui->ExpectFileDialog(TRUE, "");
    CKDREnvironment cancelled;
    EXPECT_FALSE(cancelled.LoadFromFile("missing.env", folder.Dir()));
    EXPECT_EQ(cancelled.m_strFileName, "");
    EXPECT_EQ(cancelled.m_nBMNTHour, 6);
}
