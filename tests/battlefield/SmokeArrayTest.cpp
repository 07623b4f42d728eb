// Smoke and illumination clouds: how they age and drift, what they light
// and screen, the per-observer sight against the per-line query, and their
// stored form laid out by hand.
#include "BattlefieldTestSupport.h"
#include "FireTestHost.h"
#include "ObstacleTestSupport.h"
#include "units/UnitTestSupport.h"

#include "battlefield/SmokeArray.h"
#include "database/Piece.h"
#include "database/PieceArray.h"
#include "platform/core/Unset.h"
#include "platform/ui/Display.h"
#include "shell/ServiceSet.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using bftest::Bytes;
using bftest::StoreToBytes;

namespace
{
constexpr float kHalfPi = 1.5707964f;

CSmoke* Smoke(float x, float y, float radius, int timeLeft, int strength)
{
    return new CSmoke(x, y, radius, timeLeft, strength);
}
CSmoke* Illum(float x, float y, float radius, int timeLeft, int strength)
{
    return new CIllum(x, y, radius, timeLeft, strength);
}
}  // namespace

TEST(SmokeClouds, AStepAgesAndDriftsEveryCloud)
{
    struct Case
    {
        const char* what;
        int timeLeft;
        int gameMs;
        int seconds;
        bool gone;
        float east;  // drift in metres, wind 20 toward east
    };
    const Case cases[] = {
        {"5 s left, a 5 s step", 5, 5000, 5, true, 0.0f},
        {"6 s left, a 5 s step", 6, 5000, 5, false, 10.0f},
        {"400 ms, no whole second", 5, 400, 0, false, 0.8f},
        {"no real millisecond", 5, kUnset, 0, false, 0.0f},
        {"a time left past a word", 40000, 0, 0, true, 0.0f},
    };
    for (const Case& c : cases)
    {
        CFireTestHost host;
        CSmokeArray smoke;
        smoke.Add(Smoke(100.0f, 200.0f, 50.0f, c.timeLeft, 40));
        host.NextStep(c.gameMs, c.seconds);
        smoke.Step(kHalfPi, 20.0f);
        if (c.gone)
        {
            EXPECT_EQ(smoke.GetSize(), 0) << c.what;
            continue;
        }
        ASSERT_EQ(smoke.GetSize(), 1) << c.what;
        EXPECT_EQ(smoke.GetAt(0)->m_nTimeLeft, c.timeLeft - c.seconds) << c.what;
        EXPECT_NEAR(smoke.GetAt(0)->m_fX, 100.0f + c.east, 1e-4) << c.what;
        EXPECT_NEAR(smoke.GetAt(0)->m_fY, 200.0f, 1e-4) << c.what;
    }
}

TEST(SmokeClouds, WithoutAClockNothingChanges)
{
    // No shell services at all.
    const CServiceSet previous = InstallServiceSet({});
    CSmokeArray smoke;
    smoke.Add(Smoke(100.0f, 200.0f, 50.0f, 1, 40));
    EXPECT_FALSE(smoke.Step(kHalfPi, 20.0f));
    EXPECT_EQ(smoke.GetSize(), 1);
    InstallServiceSet(previous);
}

TEST(SmokeClouds, AFlareLightsItsDiscAsALightLevel)
{
    CSmokeArray clouds;
    clouds.Add(Smoke(0.0f, 0.0f, 500.0f, 60, 90));
    clouds.Add(Illum(1000.0f, 0.0f, 400.0f, 60, 80));
    float fLight = 0.0f;
    // On the radius is lit, and the light is 0.8 of daylight.
    EXPECT_EQ(clouds.FindIllumAt(1400.0f, 0.0f, fLight), 1);
    EXPECT_FLOAT_EQ(fLight, 0.8f);
    // Under the smoke only, nothing lights the ground.
    EXPECT_EQ(clouds.FindIllumAt(0.0f, 0.0f, fLight), kUnset);
    EXPECT_EQ(fLight, kUnsetFloat);
    EXPECT_EQ(clouds.FindIllumAt(1400.5f, 0.0f, fLight), kUnset);
    // A flare never screens a line of sight.
    EXPECT_EQ(clouds.GetObscurationOnBearing(1000.0f, -2000.0f, 0.0f, 200.0f), 0.0f);
}

TEST(SmokeClouds, SmokeOnABearingAddsUpWhereverItLies)
{
    CSmokeArray clouds;
    clouds.Add(Smoke(0.0f, 1000.0f, 100.0f, 60, 60));
    clouds.Add(Smoke(0.0f, 3000.0f, 100.0f, 60, 50));  // beyond a target at 2000 m
    EXPECT_FLOAT_EQ(clouds.GetObscurationOnBearing(0.0f, 0.0f, 0.0f, 200.0f), 110.0f);
    EXPECT_FLOAT_EQ(clouds.GetObscurationOnBearing(0.0f, 0.0f, 0.05f, 200.0f), 60.0f);
    EXPECT_FLOAT_EQ(clouds.GetObscurationOnBearing(0.0f, 0.0f, kHalfPi, 200.0f), 0.0f);
}

TEST(SmokeClouds, AnglesFoldAcrossDueSouthAndAnObserverInsideSeesNothing)
{
    // A cloud 1000 m away at bearing 3.1 rad, half-width 0.1.
    CSmokeArray south;
    south.Add(Smoke(1000.0f * std::sin(3.1f), 1000.0f * std::cos(3.1f), 100.0f, 60, 70));
    EXPECT_FLOAT_EQ(south.GetObscurationOnBearing(0.0f, 0.0f, -3.13f, 200.0f), 70.0f);
    EXPECT_FLOAT_EQ(south.GetObscurationOnBearing(0.0f, 0.0f, 3.13f, 200.0f), 70.0f);
    EXPECT_FLOAT_EQ(south.GetObscurationOnBearing(0.0f, 0.0f, 2.9f, 200.0f), 0.0f);

    // Inside the cloud, on its centre too, every bearing is screened.
    CSmokeArray around;
    around.Add(Smoke(10.0f, 10.0f, 50.0f, 60, 30));
    for (float bearing : {-3.0f, -1.0f, 0.0f, 1.5f, 3.1f})
    {
        EXPECT_FLOAT_EQ(around.GetObscurationOnBearing(10.0f, 10.0f, bearing, 200.0f), 30.0f) << bearing;
        EXPECT_FLOAT_EQ(around.GetObscurationOnBearing(30.0f, 10.0f, bearing, 200.0f), 30.0f) << bearing;
    }
}

TEST(SmokeClouds, AnObserversSightAgreesWithTheQueryOnEveryLine)
{
    std::mt19937 rng(38);
    std::uniform_real_distribution<float> place(0.0f, 4000.0f);
    std::uniform_real_distribution<float> radius(5.0f, 300.0f);
    std::uniform_real_distribution<float> bearing(-3.2f, 3.2f);
    CSmokeArray clouds;
    for (int i = 0; i < 24; ++i)
        clouds.Add(Smoke(place(rng), place(rng), radius(rng), 60, 10 + i));
    for (int i = 0; i < 4; ++i)
        clouds.Add(Illum(place(rng), place(rng), radius(rng), 60, 80));
    CSmokeSight sight;
    int screened = 0;
    for (int observer = 0; observer < 200; ++observer)
    {
        const float x = place(rng);
        const float y = place(rng);
        sight.Take(&clouds, x, y);
        ASSERT_EQ(sight.GetCloudCount(), 24);
        for (int line = 0; line < 50; ++line)
        {
            const float b = bearing(rng);
            const float expected = clouds.GetObscurationOnBearing(x, y, b, 0.0f);
            ASSERT_EQ(sight.GetObscuration(b), expected) << x << ", " << y << " bearing " << b;
            screened += expected > 0.0f ? 1 : 0;
        }
    }
    EXPECT_GT(screened, 100);
}

// The sight folds the bearings of a turn by hand and leaves the rest to
// the remainder: on bearings far outside a turn and on the half-turn ties
// it still answers what the per-line query does.
TEST(SmokeClouds, AnObserversSightAgreesWithTheQueryOnAnyBearing)
{
    std::mt19937 rng(3838);
    std::uniform_real_distribution<float> place(0.0f, 4000.0f);
    std::uniform_real_distribution<float> radius(5.0f, 300.0f);
    std::uniform_real_distribution<float> wide(-30.0f, 30.0f);
    CSmokeArray clouds;
    for (int i = 0; i < 24; ++i)
        clouds.Add(Smoke(place(rng), place(rng), radius(rng), 60, 10 + i));
    const float kPiF = 3.14159265358979323846f;
    CSmokeSight sight;
    for (int observer = 0; observer < 100; ++observer)
    {
        const float x = place(rng);
        const float y = place(rng);
        sight.Take(&clouds, x, y);
        for (float b : {wide(rng), wide(rng), wide(rng), kPiF, -kPiF, 3.0f * kPiF, -3.0f * kPiF, 2.0f * kPiF})
            ASSERT_EQ(sight.GetObscuration(b), clouds.GetObscurationOnBearing(x, y, b, 0.0f)) << x << ", " << y
                                                                                               << " bearing " << b;
    }
    // Due south both ways round: a cloud on the bearing pi and a target on -pi.
    CSmokeArray south;
    south.Add(Smoke(0.0f, -1000.0f, 50.0f, 60, 40));
    sight.Take(&south, 0.0f, 0.0f);
    EXPECT_EQ(sight.GetObscuration(-kPiF), 40.0f);
    EXPECT_EQ(sight.GetObscuration(kPiF), 40.0f);
}

TEST(SmokeClouds, TheStoredFormIsReadAndWrittenByteForByte)
{
    Bytes bytes;
    bytes.w16(2);
    bytes.newClass("CSmoke").f32(120.5f).f32(340.25f).f32(40.0f).w16(180).w16(90);
    bytes.newClass("CIllum").f32(-5.0f).f32(2000.0f).f32(400.0f).w16(0xFFFE).w16(80);
    CSmokeArray clouds;
    LoadFromBytes(clouds, bytes.data());
    ASSERT_EQ(clouds.GetSize(), 2);
    const CSmoke* pSmoke = clouds.GetAt(0);
    const CSmoke* pFlare = clouds.GetAt(1);
    EXPECT_EQ(pSmoke->GetKind(), CLOUD_KIND_SMOKE);
    EXPECT_EQ(pFlare->GetKind(), CLOUD_KIND_ILLUM);
    EXPECT_EQ(pSmoke->m_fX, 120.5f);
    EXPECT_EQ(pSmoke->m_fY, 340.25f);
    EXPECT_EQ(pSmoke->m_fRadius, 40.0f);
    EXPECT_EQ(pSmoke->m_nTimeLeft, 180);
    EXPECT_EQ(pSmoke->m_nStrength, 90);
    EXPECT_EQ(pFlare->m_nTimeLeft, -2);  // sign-extended
    EXPECT_EQ(StoreToBytes(clouds), bytes.data());
}

TEST(SmokeClouds, ACloudNotAtAnyPlaceIsRefused)
{
    for (float bad : {std::nanf(""), INFINITY})
    {
        for (int field = 0; field < 3; ++field)
        {
            Bytes bytes;
            bytes.w16(1).newClass("CSmoke");
            for (int i = 0; i < 3; ++i)
                bytes.f32(i == field ? bad : 10.0f);
            bytes.w16(60).w16(50);
            CSmokeArray clouds;
            EXPECT_THROW(LoadFromBytes(clouds, bytes.data()), CArchiveException) << field;
        }
    }
}

TEST(SmokeCloudPictures, ACloudIsTheCataloguesPictureCutToItsDiscAndNeverHuge)
{
    CUnitTestDatabase db;  // an application whose display the pieces load into
    db.App().WriteSheet("smoke.bmp", 1, 1, 16);
    {
        CPieceArray pieces;
        pieces.SetFileName("catalogue.pca");
        pieces.Add(new CPiece("smoke.bmp", "Smoke Grey", 1, 1, 1, 0));
        WriteList(db.App(), "catalogue.pca", pieces);
    }
    CPieceArray catalogue;
    ASSERT_TRUE(catalogue.LoadFromFile("catalogue.pca", db.App().DataDir().string().c_str()));
    obstest::Scene scene;
    scene.map.SetSymbolCatalogue(&catalogue);

    // 40 m across at zoom 1: a 40-pixel square, its corners see-through.
    CSmokeArray clouds;
    clouds.AddSmoke(100.0f, 300.0f, 40.0f, 60, 90, &scene.map);
    const CSmoke* pCloud = clouds.GetAt(0);
    ASSERT_TRUE(pCloud->HasPicture());
    const CFrameSurface* pSheet = pCloud->GetSprite()->GetSheet();
    EXPECT_EQ(pSheet->GetWidth(), 40);
    EXPECT_EQ(pSheet->GetPixel(0, 0), SPRITE_COLOR_KEY);
    EXPECT_EQ(pSheet->GetPixel(39, 39), SPRITE_COLOR_KEY);
    EXPECT_EQ(pSheet->GetPixel(20, 20), RGB(10, 10, 10));
    EXPECT_EQ(pSheet->GetPixel(20, 1), RGB(255, 0, 255));  // the sheet's own border

    // Drawn where it lies, centred on its point; the square's corner stays clear.
    clouds.DrawAll(&scene.map);
    const CPoint centre = scene.ViewOf(100.0f, 300.0f);
    EXPECT_EQ(scene.At(centre), RGB(10, 10, 10));
    EXPECT_EQ(scene.At(centre.x - 19, centre.y - 19), obstest::kWhite);

    // A cloud of 10 km keeps a picture of 2048 pixels, drawn stretched.
    clouds.AddSmoke(100.0f, 300.0f, 10000.0f, 60, 90, &scene.map);
    const CSmoke* pHuge = clouds.GetAt(1);
    ASSERT_TRUE(pHuge->HasPicture());
    EXPECT_EQ(pHuge->GetSprite()->GetSheet()->GetWidth(), CSmoke::kMaxPictureSide);
    EXPECT_EQ(pHuge->GetSprite()->GetWidth(), 10000);
    scene.Clear();
    clouds.DrawAll(&scene.map);
    EXPECT_EQ(scene.At(centre), RGB(10, 10, 10));

    // Without the catalogue's piece a cloud has no picture, and still screens.
    CPieceArray empty;
    scene.map.SetSymbolCatalogue(&empty);
    clouds.AddIllum(100.0f, 300.0f, 40.0f, 60, 80, &scene.map);
    EXPECT_FALSE(clouds.GetAt(2)->HasPicture());
    clouds.PrepareAll(&scene.map);
    EXPECT_FALSE(clouds.GetAt(0)->HasPicture());
    EXPECT_FLOAT_EQ(clouds.GetObscurationOnBearing(100.0f, 0.0f, 0.0f, 0.0f), 180.0f);
}
