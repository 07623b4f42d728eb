// The units component: look-ups by address, the units part of a saved game
// (every state written reads back, also when the scenario's name lists no
// longer match the arrays; one cut short leaves nothing half made), the
// unit files with a cancelled dialog, the hierarchy windows, the global
// unit map and the report of units rebuilt against the database.
#include "UnitTestSupport.h"

#include "hierarchy/GlobalMap.h"
#include "hierarchy/HierarchyArray.h"
#include "hierarchy/HierarchyDlg.h"
#include "platform/core/Archive.h"
#include "platform/ui/Wnd.h"
#include "units/KDRUnits.h"
#include "units/Unit.h"
#include "units/UnitArray.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace
{
CUnit* NamedUnit(const char* name, int nVehicle = 0)
{
    auto* pUnit = new CUnit;
    pUnit->m_strName = name;
    pUnit->m_nVehicle = nVehicle;
    return pUnit;
}

CUnitArray* MakeArray(const char* fileName, int nKind, std::initializer_list<const char*> names)
{
    auto* pArray = new CUnitArray;
    pArray->m_strFileName = fileName;
    for (const char* name : names)
        pArray->Add(NamedUnit(name));
    pArray->SetSide(nKind);
    return pArray;
}

// Own: "Own 0", "Own 1". Opposing: "A.unt" with "A0", then "B.unt" with
// "B0", "B1". The own side's hierarchy is present.
void Fill(CKDRUnits& units)
{
    units.m_pOwnUnits = MakeArray("Own.unt", 0, {"Own 0", "Own 1"});
    units.m_bOwnUnits = TRUE;
    units.m_strUnitFile = "Own.unt";
    units.m_pOpposingArrays = new TypedObArray<CUnitArray>;
    units.m_pOpposingArrays->Add(MakeArray("A.unt", 1, {"A0"}));
    units.m_pOpposingArrays->Add(MakeArray("B.unt", 1, {"B0", "B1"}));
    units.m_bOpposingUnits = TRUE;
    units.m_pOpposingFileNames->AddTail("A.unt");
    units.m_pOpposingFileNames->AddTail("B.unt");
    units.m_pHierarchy[0] = new CHierarchyArray;
    units.m_pHierarchy[0]->m_strName = "Blue Battalion";
    units.m_bHierarchy[0] = TRUE;
}

std::vector<BYTE> StoreState(CKDRUnits& units)
{
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    units.SerializeState(ar);
    ar.Close();
    return file.GetData();
}

void LoadState(CKDRUnits& units, const std::vector<BYTE>& bytes)
{
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    units.SerializeState(ar);
    ar.Close();
}

CString NameAt(const CKDRUnits& units, int nUnit, int nArray, int nKind)
{
    const CUnit* pUnit = units.GetUnit(nUnit, nArray, nKind);
    return pUnit != nullptr ? pUnit->m_strName : CString("(none)");
}

// Every presence flag says whether its object exists.
void ExpectFlagsMatch(const CKDRUnits& units)
{
    EXPECT_EQ(units.m_bOwnUnits != 0, units.m_pOwnUnits != nullptr);
    EXPECT_EQ(units.m_bOpposingUnits != 0, units.m_pOpposingArrays != nullptr);
    EXPECT_EQ(units.m_bNeutralUnits != 0, units.m_pNeutralArrays != nullptr);
    for (int nSide = 0; nSide < 3; ++nSide)
        EXPECT_EQ(units.m_bHierarchy[nSide] != 0, units.m_pHierarchy[nSide] != nullptr) << nSide;
}
}  // namespace

TEST(UnitsComponent, GetUnitAnswersOnlyForAnAddressThatExists)
{
    CKDRUnits units;
    Fill(units);
    const struct
    {
        int nUnit, nArray, nKind;
        const char* expected;
    } cases[] = {
        {0, 0, 0, "Own 0"},    {1, 7, 0, "Own 1"},   // kind 0 ignores the array index
        {2, 0, 0, "(none)"},   {-1, 0, 0, "(none)"}, // out of range, negative
        {0, 0, 1, "A0"},       {1, 1, 1, "B1"},      {1, 0, 1, "(none)"},
        {0, 2, 1, "(none)"},                         // array index equal to the count
        {0, -1, 1, "(none)"},  {0, 0, 2, "(none)"},  // kind 2 absent
        {0, 0, 3, "(none)"},   {0, 0, -1, "(none)"}, // no such kind
    };
    for (const auto& c : cases)
        EXPECT_EQ(NameAt(units, c.nUnit, c.nArray, c.nKind), c.expected) << c.nUnit << "," << c.nArray << "," << c.nKind;

    EXPECT_TRUE(units.HasUnitsOfKind(-1));
    EXPECT_TRUE(units.HasUnitsOfKind(1));
    EXPECT_FALSE(units.HasUnitsOfKind(2));
    BOOL* pPresent = nullptr;
    EXPECT_EQ(units.GetHierarchyArray(0, pPresent), units.m_pHierarchy[0]);
    EXPECT_EQ(pPresent, &units.m_bHierarchy[0]);
    EXPECT_EQ(units.GetHierarchyArray(3, pPresent), nullptr);
    EXPECT_EQ(pPresent, nullptr);

    // A scenario without an own unit file holds no own unit at any index.
    CKDRUnits empty;
    for (int i = -1; i < 3; ++i)
        EXPECT_EQ(empty.GetUnit(i, 0, 0), nullptr);
}

TEST(UnitsComponent, ASavedStateWithTwoOpposingArraysReadsBothBackInOrder)
{
    CKDRUnits units;
    Fill(units);
    const std::vector<BYTE> bytes = StoreState(units);

    CKDRUnits loaded;
    LoadState(loaded, bytes);
    ExpectFlagsMatch(loaded);
    ASSERT_TRUE(loaded.m_bOpposingUnits);
    ASSERT_EQ(loaded.GetArrayCount(1), 2);
    EXPECT_EQ(NameAt(loaded, 0, 0, 1), "A0");
    EXPECT_EQ(NameAt(loaded, 1, 1, 1), "B1");  // the second array
    EXPECT_EQ(NameAt(loaded, 1, 0, 0), "Own 1");
    EXPECT_FALSE(loaded.m_bNeutralUnits);
    ASSERT_TRUE(loaded.m_bHierarchy[0]);
    EXPECT_EQ(loaded.m_pHierarchy[0]->m_strName, "Blue Battalion");
    EXPECT_FALSE(loaded.m_bHierarchy[1]);
    EXPECT_EQ(loaded.m_strUnitFile, "Own.unt");
    // Written again, the state is the same bytes.
    EXPECT_EQ(StoreState(loaded), bytes);
}

TEST(UnitsComponent, EveryStateReadsBackWhateverTheScenarioNamesSaid)
{
    // The name lists disagree with what is loaded: one opposing name for two
    // arrays, and neutral names without any neutral array.
    CKDRUnits units;
    Fill(units);
    units.m_pOpposingFileNames->RemoveAll();
    units.m_pOpposingFileNames->AddTail("A.unt");
    units.m_pNeutralFileNames->AddTail("Ghost.unt");
    units.m_pNeutralFileNames->AddTail("Phantom.unt");

    CKDRUnits loaded;
    LoadState(loaded, StoreState(units));
    ExpectFlagsMatch(loaded);
    EXPECT_EQ(loaded.GetArrayCount(1), 2);
    EXPECT_EQ(NameAt(loaded, 0, 1, 1), "B0");
    EXPECT_FALSE(loaded.m_bNeutralUnits);
    // The lists now name the arrays there are.
    ASSERT_EQ(loaded.m_pOpposingFileNames->GetCount(), 2);
    EXPECT_EQ(loaded.m_pOpposingFileNames->GetAt(1), "B.unt");
    EXPECT_EQ(loaded.m_pNeutralFileNames->GetCount(), 0);
}

TEST(UnitsComponent, AStateCutShortRaisesTheArchiveErrorAndLeavesNothingHalfMade)
{
    CKDRUnits units;
    Fill(units);
    units.m_pHierarchy[2] = new CHierarchyArray;
    units.m_bHierarchy[2] = TRUE;
    const std::vector<BYTE> bytes = StoreState(units);
    for (size_t n = 0; n < bytes.size(); ++n)
    {
        const std::vector<BYTE> cut(bytes.begin(), bytes.begin() + static_cast<long>(n));
        CKDRUnits loaded;
        EXPECT_THROW(LoadState(loaded, cut), CArchiveException) << n;
        ExpectFlagsMatch(loaded);
        EXPECT_FALSE(loaded.m_bOwnUnits) << n;
        EXPECT_FALSE(loaded.m_bOpposingUnits) << n;
        EXPECT_FALSE(loaded.m_bHierarchy[0]) << n;
    }
}

TEST(UnitsComponent, AMissingEnemyFileWithTheDialogCancelledKeepsTheOwnArray)
{
    CDatabaseTestApp app;
    {
        CUnitArray own;
        own.Add(NamedUnit("Lead"));
        WriteList(app, "Own.unt", own);
    }
    CKDRUnits units;
    units.m_strUnitFile = "Own.unt";
    units.m_pOpposingFileNames->AddTail("Own.unt");
    units.m_pOpposingFileNames->AddTail("Missing.unt");
    app.Ui().ExpectFileDialog(TRUE, "");
    EXPECT_EQ(units.LoadUnitFiles(app.DataDir().string().c_str()), 0);
    ExpectFlagsMatch(units);
    ASSERT_TRUE(units.m_bOwnUnits);
    EXPECT_EQ(NameAt(units, 0, 0, 0), "Lead");
    EXPECT_EQ(units.m_pOwnUnits->m_nSide, 0);
    EXPECT_FALSE(units.m_bOpposingUnits);
}

TEST(UnitsComponent, TheUnitFilesLoadWithTheirKinds)
{
    CDatabaseTestApp app;
    {
        CUnitArray file;
        file.Add(NamedUnit("Lead"));
        file.Add(NamedUnit("Wing"));
        WriteList(app, "Units.unt", file);
    }
    CKDRUnits units;
    units.m_strUnitFile = "Units.unt";
    units.m_pOpposingFileNames->AddTail("Units.unt");
    units.m_pNeutralFileNames->AddTail("Units.unt");
    units.m_pNeutralFileNames->AddTail("Units.unt");
    ASSERT_EQ(units.LoadUnitFiles(app.DataDir().string().c_str()), 1);
    ExpectFlagsMatch(units);
    EXPECT_EQ(units.GetArrayCount(1), 1);
    EXPECT_EQ(units.GetArrayCount(2), 2);
    EXPECT_EQ(units.GetUnit(1, 1, 2)->m_nSide, 2);
    EXPECT_EQ(units.GetUnit(0, 0, 1)->m_nSide, 1);
    EXPECT_EQ(units.GetUnit(1, 0, 0)->m_nSide, 0);

    units.RebuildGlobalMap();
    CGlobalMap* pMap = units.GetGlobalMap();
    ASSERT_EQ(pMap->GetSize(), 2 + 2 + 4);
    const CGlobalIndex* pEntry = pMap->FindByFirst(1, 1, 2);
    ASSERT_NE(pEntry, nullptr);
    EXPECT_EQ(pMap->GetAt(7), pEntry);
    EXPECT_EQ(pEntry->m_nIndex, 1);
    EXPECT_EQ(pEntry->m_nGroup, 1);
    EXPECT_EQ(pEntry->m_nKind, 2);
}

TEST(UnitsComponent, AtMostOneSidesHierarchyWindowShows)
{
    CKDRUnits units;
    for (int nSide : {0, 1})
    {
        units.m_pHierarchy[nSide] = new CHierarchyArray;
        units.m_bHierarchy[nSide] = TRUE;
    }
    CWnd owner;
    EXPECT_FALSE(units.FillHierarchyTree(0, nullptr));
    EXPECT_FALSE(units.FillHierarchyTree(2, &owner));  // no hierarchy there
    ASSERT_TRUE(units.FillHierarchyTree(0, &owner));
    EXPECT_TRUE(units.m_pHierarchy[0]->m_pDialog->IsShown());
    EXPECT_TRUE(units.IsHierarchyTreeOpen());

    ASSERT_TRUE(units.FillHierarchyTree(1, &owner));
    EXPECT_FALSE(units.m_pHierarchy[0]->m_pDialog->IsShown());
    EXPECT_TRUE(units.m_pHierarchy[1]->m_pDialog->IsShown());
    EXPECT_EQ(units.m_nTreeSide, 1);
    EXPECT_EQ(units.m_pHierarchy[1]->m_pDialog->m_pParent, &owner);

    // Shown again: hidden.
    ASSERT_TRUE(units.FillHierarchyTree(1, &owner));
    EXPECT_FALSE(units.m_pHierarchy[1]->m_pDialog->IsShown());
    EXPECT_FALSE(units.IsHierarchyTreeOpen());
    // No window shown: no order goes anywhere.
    EXPECT_EQ(units.ApplyOrderToSelection(nullptr, 0x2, 0, 0, nullptr, nullptr, nullptr, nullptr), 0);
}

TEST(UnitsComponent, UnitsThatNoLongerFitTheDatabaseAreListedUnderTheirSidesHeading)
{
    CUnitTestDatabase db;
    db.LoadDemo(true);
    // Units built from the database's first type.
    const auto arrayOf = [&db](int nKind, std::initializer_list<const char*> names)
    {
        auto* pArray = new CUnitArray;
        for (const char* name : names)
        {
            auto* pUnit = new CUnit(db.Db(), 0);
            pUnit->m_strName = name;
            pArray->Add(pUnit);
        }
        pArray->SetSide(nKind);
        return pArray;
    };
    CKDRUnits units;
    units.m_pOwnUnits = arrayOf(0, {"Own 0", "Own 1"});
    units.m_bOwnUnits = TRUE;
    units.m_pOpposingArrays = new TypedObArray<CUnitArray>;
    units.m_pOpposingArrays->Add(arrayOf(1, {"A0"}));
    units.m_pOpposingArrays->Add(arrayOf(1, {"B0", "B1"}));
    units.m_bOpposingUnits = TRUE;
    EXPECT_TRUE(units.BuildRebuildReport(db.Db()).IsEmpty());

    units.m_pOwnUnits->GetAt(1)->m_nVehicle = 500;
    units.m_pOpposingArrays->GetAt(1)->GetAt(0)->m_nVehicle = 600;
    const CString report = units.BuildRebuildReport(db.Db());
    const std::string text = report.GetString();
    EXPECT_EQ(text.find("UNDEFINED VEHICLES FOUND IN FRIENDLY UNIT ARRAY!\r\n\r\nThe unit, Own 1, was erased"), 0u)
        << text;
    const size_t enemy = text.find("\r\nUNDEFINED VEHICLES FOUND IN ENEMY UNIT ARRAY!\r\n\r\nThe unit, B0, was");
    EXPECT_NE(enemy, std::string::npos) << text;
    EXPECT_EQ(text.find("Own 0"), std::string::npos);
    EXPECT_EQ(text.find("A0"), std::string::npos);
}
