// The dug-position component: its sides after an open, the saved-game part,
// loading a side and positions passed to another side.
#include "ObstacleTestSupport.h"

#include "battlefield/Hole.h"
#include "battlefield/HoleArray.h"
#include "battlefield/KDRHoles.h"
#include "hierarchy/GlobalMap.h"
#include "hierarchy/TaskOrg.h"
#include "support/ScriptedUi.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace bftest;
using namespace obstest;

namespace
{
// An array of positions at x = first, first + 1, ...
CHoleArray* Positions(int n, float first)
{
    auto* pArray = new CHoleArray;
    for (int i = 0; i < n; ++i)
    {
        auto* pHole = new CHole;
        pHole->m_fX = first + static_cast<float>(i);
        pHole->m_fY = 10.0f;
        pArray->Add(pHole);
    }
    return pArray;
}

// The x of every position of a side; empty when the side is absent.
std::vector<float> Xs(const CKDRHoles& holes, int nSide)
{
    std::vector<float> xs;
    if (const CHoleArray* pArray = holes.GetSideArray(nSide))
        for (int i = 0; i < pArray->GetSize(); ++i)
            xs.push_back(pArray->GetAt(i)->m_fX);
    return xs;
}

// A component holding the arrays given (null: side absent), as a
// scenario's sides would load.
void Install(CKDRHoles& holes, CHoleArray* pSide0, CHoleArray* pSide1, CHoleArray* pSide2)
{
    CHoleArray* apArrays[] = {pSide0, pSide1, pSide2};
    for (int nSide = 0; nSide < 3; ++nSide)
    {
        if (apArrays[nSide] == nullptr)
            continue;
        holes.TakeHoles(nSide, apArrays[nSide], nSide, FALSE);
        delete apArrays[nSide];
    }
}
}  // namespace

TEST(HoleComponent, TheSidesTurnForTheSideThePlayerPlays)
{
    const std::vector<float> none;
    const std::vector<float> own = {0, 1};
    const std::vector<float> opposing = {100, 101, 102};
    const std::vector<float> neutral = {200};
    const struct
    {
        const char* what;
        bool side0, side1, side2;
        BOOL enemy, ownToNeutral;
        std::vector<float> expected[3];
    } cases[] = {
        {"only a neutral file, single play", false, false, true, FALSE, TRUE, {none, none, neutral}},
        {"playing the own side", true, true, true, FALSE, FALSE, {{0, 1, 200}, opposing, none}},
        {"playing the enemy side", true, true, true, TRUE, FALSE, {{100, 101, 102, 200}, own, none}},
        {"single play with every side", true, true, true, FALSE, TRUE, {none, opposing, {0, 1, 200}}},
    };
    for (const auto& c : cases)
    {
        CKDRHoles holes;
        Install(holes, c.side0 ? Positions(2, 0) : nullptr, c.side1 ? Positions(3, 100) : nullptr,
                c.side2 ? Positions(1, 200) : nullptr);
        holes.FixUpAfterLoad(nullptr, c.enemy, c.ownToNeutral);
        for (int nSide = 0; nSide < 3; ++nSide)
            EXPECT_EQ(Xs(holes, nSide), c.expected[nSide]) << c.what << ", side " << nSide;
        // The index map still names each position by where the scenario put it.
        if (c.side2)
        {
            const CGlobalIndex* pEntry = holes.GetIndexMap()->FindByFirst(0, 2, 2);
            ASSERT_NE(pEntry, nullptr) << c.what;
            const CHole* pHole = holes.GetHole(pEntry->m_nIndex, pEntry->m_nKind);
            ASSERT_NE(pHole, nullptr) << c.what;
            EXPECT_EQ(pHole->m_fX, 200.0f) << c.what;
        }
    }
}

TEST(HoleComponent, PassingPositionsRemovesExactlyThose)
{
    CKDRHoles holes;
    Install(holes, nullptr, nullptr, Positions(6, 0));
    holes.ResetIndexMap();
    CTaskOrgArray passed;
    passed.m_nSide = 2;
    for (int i : {1, 2, 4, 9})  // 9 names nothing and is dropped
        passed.Add(new CTaskOrg(i, 2));
    holes.ReceiveHoles(&passed, "Blue", FALSE, nullptr);
    EXPECT_EQ(Xs(holes, 2), (std::vector<float>{0, 3, 5}));
    EXPECT_EQ(Xs(holes, 0), (std::vector<float>{1, 2, 4}));
    EXPECT_EQ(passed.GetSize(), 3);
    // Each passed position is found again at its new place; those left
    // behind at theirs.
    const struct
    {
        int first, side, x;
    } where[] = {{1, 0, 1}, {2, 0, 2}, {4, 0, 4}, {0, 2, 0}, {3, 2, 3}, {5, 2, 5}};
    for (const auto& w : where)
    {
        const CGlobalIndex* pEntry = holes.GetIndexMap()->FindByFirst(w.first, 2, 2);
        ASSERT_NE(pEntry, nullptr) << w.first;
        EXPECT_EQ(pEntry->m_nKind, w.side) << w.first;
        const CHole* pHole = holes.GetHole(pEntry->m_nIndex, pEntry->m_nKind);
        ASSERT_NE(pHole, nullptr) << w.first;
        EXPECT_EQ(pHole->m_fX, static_cast<float>(w.x)) << w.first;
    }
    EXPECT_EQ(CKDRHoles::PassedHolesText("Blue"),
              "You have been passed holes by the player, Blue.  They have been added to your main map and are now "
              "under your control.");

    // Passed again to where they are, nothing moves.
    CTaskOrgArray again;
    again.m_nSide = 2;
    again.Add(new CTaskOrg(1, 2));
    holes.ReceiveHoles(&again, "Blue", FALSE, nullptr);
    EXPECT_EQ(again.GetSize(), 0);
    EXPECT_EQ(Xs(holes, 0), (std::vector<float>{1, 2, 4}));
}

TEST(HoleComponent, TheSavedGamePartKeepsThePresentSides)
{
    CKDRHoles holes;
    holes.m_strSide0Name = "Own.fho";
    holes.m_strSide2Name = "Neutral.fho";
    Install(holes, Positions(2, 0), nullptr, Positions(1, 200));
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        holes.SerializeState(ar);
        ar.Close();
    }
    const std::vector<BYTE> bytes = file.GetData();

    CKDRHoles read;
    {
        CMemFile in(bytes);
        CArchive ar(&in, CArchive::load);
        read.SerializeState(ar);
    }
    EXPECT_EQ(read.m_strFilter, "*.hol");
    EXPECT_EQ(read.m_strSide0Name, "Own.fho");
    EXPECT_EQ(read.m_strSide2Name, "Neutral.fho");
    EXPECT_EQ(Xs(read, 0), (std::vector<float>{0, 1}));
    EXPECT_FALSE(read.IsSidePresent(1));
    EXPECT_EQ(Xs(read, 2), (std::vector<float>{200}));

    // Cut anywhere, the part is refused and the component stays as it was.
    for (size_t cut : {size_t{3}, size_t{30}, bytes.size() - 1})
    {
        CMemFile in(std::vector<BYTE>(bytes.begin(), bytes.begin() + static_cast<long>(cut)));
        CArchive ar(&in, CArchive::load);
        EXPECT_THROW(read.SerializeState(ar), CArchiveException) << cut;
        EXPECT_EQ(Xs(read, 0), (std::vector<float>{0, 1})) << cut;
        EXPECT_EQ(Xs(read, 2), (std::vector<float>{200})) << cut;
    }
}

TEST(HoleComponent, ASideThatFailsToLoadKeepsItsOldArray)
{
    SmallFolder folder;
    CHoleArray good;
    good.Add(new CHole);
    folder.Write("good.fho", StoreToBytes(good));
    std::vector<BYTE> bad = StoreToBytes(good);
    bad.resize(bad.size() - 3);
    folder.Write("bad.fho", bad);

    CKDRHoles holes;
    ASSERT_TRUE(holes.LoadHoleArray(1, "good.fho", nullptr, folder.Path()));
    EXPECT_EQ(holes.m_strSide1Name, "good.fho");
    ScopedScriptedUi ui;
    ui->ExpectMessage("Error",
                      "The dug position array, bad.fho, could not be read.\nReached the end of the file while "
                      "reading an object in '" +
                          folder.Path() + "/bad.fho'.",
                      IDOK);
    EXPECT_FALSE(holes.LoadHoleArray(1, "bad.fho", nullptr, folder.Path()));
    EXPECT_EQ(holes.m_strSide1Name, "good.fho");
    EXPECT_EQ(holes.GetSideArray(1)->GetSize(), 1);
    EXPECT_FALSE(holes.LoadHoleArray(3, "good.fho", nullptr, folder.Path()));
}
