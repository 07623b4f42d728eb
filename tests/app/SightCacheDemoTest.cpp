// The detection sweep's kept sight lines against the brute-force sweep
// that works every line out afresh: the seeded demo battle (units driving
// their routes, the demo's smoke screen and flare, its dug positions, and
// more clouds laid over the ground between the forces) runs both ways, and
// after every pass every unit's contact list and the spot-report log are
// the same bytes. As soon as two units that saw each other stood still
// over a pass, a hill rises on the line between them, so a kept answer
// must give way to the new ground.

#include "SeededPasses.h"
#include "StartDirTestSupport.h"

#include "app/GameClock.h"
#include "app/GamePass.h"
#include "app/KDRApp.h"
#include "app/KDRDoc.h"
#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "battlefield/SmokeArray.h"
#include "platform/core/Archive.h"
#include "platform/core/File.h"
#include "platform/core/Random.h"
#include "platform/core/Timer.h"
#include "units/KDRUnits.h"
#include "units/SightCache.h"
#include "units/SpotReportArray.h"
#include "units/Unit.h"
#include "units/UnitRefArray.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace
{
constexpr int kPasses = 80;
constexpr DWORD kPassMs = 250;

template <class T>
void Append(std::string& bytes, const T& value)
{
    bytes.append(reinterpret_cast<const char*>(&value), sizeof(T));
}

// Every unit's contact list, field by field, floats bit for bit.
std::string Contacts(CKDRUnits& units)
{
    std::string bytes;
    for (int nKind = 0; nKind < 3; ++nKind)
        for (int nArray = 0; nArray < units.GetArrayCount(nKind); ++nArray)
            for (int i = 0; CUnit* pUnit = units.GetUnit(i, nArray, nKind); ++i)
            {
                Append(bytes, pUnit->m_pContacts->GetSize());
                for (int k = 0; k < pUnit->m_pContacts->GetSize(); ++k)
                {
                    const CUnitRef* pRef = pUnit->m_pContacts->GetAt(k);
                    Append(bytes, pRef->m_nUnit);
                    Append(bytes, pRef->m_nArray);
                    Append(bytes, pRef->m_nSide);
                    Append(bytes, pRef->m_nVehicle);
                    Append(bytes, pRef->m_nTargetValue);
                    Append(bytes, pRef->m_nThreatValue);
                    Append(bytes, pRef->m_fBearing);
                    Append(bytes, pRef->m_nRange);
                    Append(bytes, pRef->m_bUnidentified);
                }
            }
    return bytes;
}

std::string ReportLog(CKDRApp& app)
{
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    app.m_pSpotReports->Serialize(ar);
    ar.Close();
    const std::vector<BYTE> data = file.GetData();
    return std::string(data.begin(), data.end());
}

struct SPlace
{
    float fX, fY;
};

std::vector<SPlace> Places(CKDRUnits& units)
{
    std::vector<SPlace> places;
    for (int nKind = 0; nKind < 3; ++nKind)
        for (int nArray = 0; nArray < units.GetArrayCount(nKind); ++nArray)
            for (int i = 0; CUnit* pUnit = units.GetUnit(i, nArray, nKind); ++i)
                places.push_back({pUnit->m_fX, pUnit->m_fY});
    return places;
}

// A hill 100 m high on the line of the first contact whose observer and
// target both stood still over the last pass, halfway between them; so
// the kept answer of a pair that has not moved must give way to the new
// ground. False when no such contact was found.
bool RaiseHillOnAStandingLine(CKDRUnits& units, const std::vector<SPlace>& before, CElevationMap& map)
{
    if (Places(units).size() != before.size())
        return false;
    size_t n = 0;
    auto index = [&units](int nUnit, int nArray, int nKind)
    {
        size_t k = 0;
        for (int kind = 0; kind < 3; ++kind)
            for (int array = 0; array < units.GetArrayCount(kind); ++array)
                for (int i = 0; units.GetUnit(i, array, kind) != nullptr; ++i, ++k)
                    if (kind == nKind && array == nArray && i == nUnit)
                        return k;
        return k;
    };
    for (int nKind = 0; nKind < 3; ++nKind)
        for (int nArray = 0; nArray < units.GetArrayCount(nKind); ++nArray)
            for (int i = 0; CUnit* pUnit = units.GetUnit(i, nArray, nKind); ++i, ++n)
            {
                if (pUnit->m_fX != before[n].fX || pUnit->m_fY != before[n].fY)
                    continue;
                for (int k = 0; k < pUnit->m_pContacts->GetSize(); ++k)
                {
                    const CUnitRef* pRef = pUnit->m_pContacts->GetAt(k);
                    const CUnit* pTarget = units.GetUnit(pRef->m_nUnit, pRef->m_nArray, pRef->m_nSide);
                    const size_t t = index(pRef->m_nUnit, pRef->m_nArray, pRef->m_nSide);
                    if (pTarget == nullptr || t >= before.size() || pTarget->m_fX != before[t].fX ||
                        pTarget->m_fY != before[t].fY)
                        continue;
                    const int c = static_cast<int>((pUnit->m_fX + pTarget->m_fX) / 20.0f);
                    const int r = static_cast<int>((pUnit->m_fY + pTarget->m_fY) / 20.0f);
                    for (int dc = -2; dc <= 2; ++dc)
                        for (int dr = -2; dr <= 2; ++dr)
                            map.SetElevation(c + dc, r + dr,
                                             static_cast<short>(map.GetElevation((c + dc) * 10.0f, (r + dr) * 10.0f) +
                                                                1000));
                    return true;
                }
            }
    return false;
}

class SightCacheDemo : public StartDirTest
{
protected:
    SightCacheDemo() : StartDirTest("kdr-sightcache-") {}

    void SetUp() override
    {
        StartDirTest::SetUp();
        const fs::path tool = fs::path(KDR_BINARY_DIR) / "kdrdemo";
        if (!fs::exists(tool))
            GTEST_SKIP() << "the demo writer is not built";
        const std::string command = "\"" + tool.string() + "\" \"" + m_root.string() + "\" >/dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0);
        fs::create_directories(m_root / "Savegame");
    }

    void TearDown() override
    {
        SetSightCacheUsed(TRUE);
        UseRealTime();
        StartDirTest::TearDown();
    }

    // What every pass left: the contact lists and the report log.
    struct Pass
    {
        std::string contacts;
        std::string reports;
    };

    std::vector<Pass> Battle(BOOL bCached)
    {
        SetSightCacheUsed(bCached);
        CKDRApp app;
        CKDRDoc doc;
        doc.SetDirectories((m_root / "Data").string().c_str(), (m_root / "Savegame").string().c_str());
        EXPECT_TRUE(doc.OnOpenDocument((m_root / "Data" / "demo.asc").string().c_str()));
        std::vector<Pass> passes;
        if (doc.GetUnits() == nullptr || doc.GetSmoke() == nullptr || doc.GetGameMap()->GetElevationMap() == nullptr)
            return passes;
        // Clouds and flares across the ground between the forces, beside
        // the demo's own screen.
        for (int i = 0; i < 6; ++i)
            doc.GetSmoke()->Add(new CSmoke(2100.0f + 120.0f * static_cast<float>(i % 3),
                                           900.0f + 300.0f * static_cast<float>(i), 70.0f, 600, 60));
        doc.GetSmoke()->Add(new CIllum(2300.0f, 1500.0f, 500.0f, 600, 90));

        SRand(2604);
        SetManualTime(1000000);
        app.GetGameClock()->SetRate(8.0f);
        DWORD dwTick = app.StartClock();
        doc.PrepareRun(dwTick);
        CGamePass pass(doc, app);
        int nRemainder = 0;
        int nCountdown = 0;
        BOOL bMissionOver = FALSE;
        std::vector<SPlace> before;
        int nHillPass = -1;
        for (int i = 0; i < kPasses; ++i)
        {
            if (i > 0 && nHillPass < 0 &&
                RaiseHillOnAStandingLine(*doc.GetUnits(), before, *doc.GetGameMap()->GetElevationMap()))
                nHillPass = i;
            before = Places(*doc.GetUnits());
            AdvanceManualTime(kPassMs);
            EXPECT_TRUE(pass.Run(dwTick, nRemainder, nCountdown, bMissionOver)) << "pass " << i;
            passes.push_back({Contacts(*doc.GetUnits()), ReportLog(app)});
        }
        app.StopClock();
        UseRealTime();
        EXPECT_GT(nHillPass, 0) << "no contact between units that stood still";
        return passes;
    }
};
}  // namespace

TEST_F(SightCacheDemo, TheSeededDemoBattleSeesTheSameWithKeptSightLinesAsWithBruteForce)
{
    const std::vector<Pass> brute = Battle(FALSE);
    const std::vector<Pass> kept = Battle(TRUE);
    ASSERT_EQ(brute.size(), static_cast<size_t>(kPasses));
    ASSERT_EQ(kept.size(), brute.size());
    for (size_t i = 0; i < brute.size(); ++i)
    {
        ASSERT_EQ(kept[i].contacts, brute[i].contacts) << "contact lists differ after pass " << i;
        ASSERT_EQ(kept[i].reports, brute[i].reports) << "report logs differ after pass " << i;
    }
    // The battle saw and reported.
    EXPECT_GT(brute.back().reports.size(), 200u);
}
