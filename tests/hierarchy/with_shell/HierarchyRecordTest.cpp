// Hierarchy records and files: an element and a company of an element and
// two platoons with orders and a path, laid out by hand, read and written
// back byte for byte; children of a kind their level cannot hold refused;
// the "*.hra" loader with Cancel, files cut short or wrongly nested; and
// the demo's two files as the game opens them.
#include "hierarchy/HierarchyTestSupport.h"

#include "../../../tools/demo_hierarchy.h"
#include "support/ScriptedUi.h"
#include "app/KDRApp.h"
#include "app/KDRDoc.h"
#include "orders/NodeArray.h"
#include "orders/UnitOrderArray.h"
#include "platform/core/File.h"
#include "platform/ui/Frame.h"
#include "platform/ui/UiService.h"
#include "platform/ui/Wnd.h"
#include "support/DemoInstall.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <unistd.h>

using namespace hierarchytest;
namespace fs = std::filesystem;

namespace
{
// An element's record after its class tag: unit, array, the five strings,
// then the nine words.
void ElementRecord(CScenarioBytes& b, int nUnit, const char* name, std::initializer_list<unsigned> words)
{
    b.Word(static_cast<unsigned>(nUnit)).Word(0);
    b.Str("Tarn Tank NATO").Str("").Str("").Str("").Str(name);
    for (unsigned w : words)
        b.Word(w);
}

// A platoon's record with one element ("Tank 11", leading), a path of one
// stopped node and a standing toggle order; the element's class came
// before as class nElementClass.
void PlatoonRecord(CScenarioBytes& b, unsigned nElementClass)
{
    b.Word(1);
    b.Word(0x8000 | nElementClass);  // a further CHierarchyElement
    ElementRecord(b, 1, "Tank 11", {1, 1, 0, 0, 0, 0, 0, 0, 0});
    b.Word(11);  // group id
    b.Word(1);
    NewClass(b, "CNode").Word(1);
    NewClass(b, "CNOrdStop").Float(760.0f).Float(1730.0f);
    b.Word(1);
    NewClass(b, "CUOrdToggleOrder").Word(0).Word(0x4000);
    b.Word(0);  // no AI orders given
    b.Str("Tarn Tank NATO").Str("two").Str("five").Str("three").Str("four").Str("1st Tank");
    // Weight, category, capacity, role flags, active, side, word 7, marked.
    b.Word(2).Word(3).Word(4).Word(1).Word(1).Word(0).Word(9).Word(0);
}

// A company: its commander, a platoon with orders and a path, and an empty
// platoon; its own path and orders empty. nBefore classes and objects of
// the archive came before it.
CScenarioBytes CompanyRecord(unsigned nBefore = 0)
{
    CScenarioBytes b;
    b.Word(3);
    NewClass(b, "CHierarchyElement");  // class 1, object 2
    ElementRecord(b, 0, "Commander 66", {1, 0, 1, 7, 0, 0, 0, 0, 0});
    NewClass(b, "CHierarchyPlatoon");  // class 3, object 4
    PlatoonRecord(b, nBefore + 1);
    b.Word(0x8000 | (nBefore + 3));  // the second platoon
    b.Word(0).Word(11).Word(0).Word(0).Word(0);
    b.Str("").Str("").Str("").Str("").Str("").Str("2nd Tank");
    b.Word(0).Word(0).Word(0).Word(0).Word(0).Word(0).Word(0).Word(0);
    b.Word(11).Word(0).Word(0).Word(0);
    b.Str("Tarn Tank NATO").Str("").Str("").Str("").Str("").Str("A Company");
    b.Word(0).Word(0).Word(0xFF9D).Word(0).Word(1).Word(0).Word(0).Word(1);
    return b;
}

class HierarchyFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("kdr-hra-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    CString DataDir() const { return m_dir.string().c_str(); }
    CString Write(const char* name, const std::vector<BYTE>& bytes)
    {
        const fs::path path = m_dir / name;
        std::FILE* f = std::fopen(path.string().c_str(), "wb");
        EXPECT_NE(f, nullptr);
        if (f != nullptr)
        {
            if (!bytes.empty())
                std::fwrite(bytes.data(), 1, bytes.size(), f);
            std::fclose(f);
        }
        return path.string().c_str();
    }

    fs::path m_dir;
};

CString ReadFailure(const CString& path, const char* cause)
{
    return CString("The hierarchy \"") + path + "\" could not be read. " + cause + " in '" + path + "'.";
}

// A battalion's record holding only the given bytes as its children.
CScenarioBytes BattalionAround(int nChildren, const CScenarioBytes& children)
{
    CScenarioBytes b;
    b.Word(static_cast<unsigned>(nChildren)).Append(children);
    b.Word(0xFF9D).Word(0).Word(0).Word(0);
    b.Str("").Str("").Str("").Str("").Str("").Str("Loaded");
    b.Word(0).Word(0).Word(0).Word(0).Word(0).Word(0).Word(0).Word(0);
    return b;
}
}  // namespace

TEST(HierarchyRecord, ElementWordsReadAsFlagsAndSignedValuesWithStateAndItemUnstored)
{
    CScenarioBytes b;
    b.Word(1);
    NewClass(b, "CHierarchyElement");
    // A leader word of 5, zero platoon-leader word, company leader, value
    // -2, index -99, and the four condition flags as 1, 0, 3, 1.
    ElementRecord(b, 12, "Tank 24", {5, 0, 1, 0xFFFE, 0xFF9D, 1, 0, 3, 1});
    b.Word(11).Word(0).Word(0).Word(0);
    b.Str("").Str("").Str("").Str("").Str("").Str("P");
    b.Word(0).Word(0).Word(0).Word(0).Word(0).Word(0).Word(0).Word(0);

    CHierarchyPlatoon platoon;
    LoadFromBytes(platoon, b.Get());
    const CHierarchyElement* pElement = platoon.GetElement(0);
    ASSERT_NE(pElement, nullptr);
    EXPECT_EQ(pElement->m_nUnit, 12);
    EXPECT_EQ(pElement->m_strName, "Tank 24");
    EXPECT_EQ(pElement->m_strSymbolType, "Tarn Tank NATO");
    EXPECT_EQ(pElement->m_bLeader, 1);
    EXPECT_EQ(pElement->m_bPlatoonLeader, 0);
    EXPECT_EQ(pElement->m_bCompanyLeader, 1);
    EXPECT_EQ(pElement->m_nValue, -2);
    EXPECT_EQ(pElement->m_nIndex, -99);
    EXPECT_EQ(pElement->m_bDestroyed, 1);
    EXPECT_EQ(pElement->m_bMounted, 0);
    EXPECT_EQ(pElement->m_bDetached, 1);
    EXPECT_EQ(pElement->m_bMarked, 1);
    EXPECT_EQ(pElement->m_nState, 0);
    EXPECT_EQ(pElement->m_hTreeItem, nullptr);

    // Written back the flags are 1 or 0, the rest as read.
    // The leader word follows the count, the class tag, the two words and
    // the five strings; the detached word is the eighth after it.
    std::vector<BYTE> expected = b.Get();
    const size_t leaderWord = 2 + (6 + 17) + 4 + (15 + 1 + 1 + 1 + 8);
    ASSERT_EQ(expected[leaderWord], 5);
    expected[leaderWord] = 1;
    expected[leaderWord + 14] = 1;
    EXPECT_EQ(StoreBytes(platoon), expected);
}

TEST(HierarchyRecord, CompanyOfAnElementAndTwoPlatoonsReadsAndWritesBackByteForByte)
{
    const std::vector<BYTE> fixture = CompanyRecord().Get();
    CHierarchyCompany company;
    LoadFromBytes(company, fixture);

    EXPECT_EQ(company.m_strName, "A Company");
    EXPECT_EQ(company.m_nCapacity, -99);
    EXPECT_TRUE(company.m_bActive);
    EXPECT_TRUE(company.m_bMarked);
    ASSERT_EQ(company.GetSize(), 3);
    // Children are told apart by kind, over one array.
    ASSERT_NE(company.GetElement(0), nullptr);
    EXPECT_EQ(company.GetElement(0)->m_strName, "Commander 66");
    EXPECT_EQ(company.GetElement(0)->m_nValue, 7);
    EXPECT_EQ(company.GetElement(1), nullptr);
    EXPECT_EQ(company.GetPlatoon(0), nullptr);
    const CHierarchyPlatoon* pFirst = company.GetPlatoon(1);
    ASSERT_NE(pFirst, nullptr);
    ASSERT_NE(company.GetPlatoon(2), nullptr);
    EXPECT_EQ(company.GetPlatoon(2)->m_strName, "2nd Tank");
    EXPECT_EQ(company.GetPlatoon(3), nullptr);

    // The six strings come in the order symbol, 2, 5, 3, 4, name.
    EXPECT_EQ(pFirst->m_strText2, "two");
    EXPECT_EQ(pFirst->m_strText5, "five");
    EXPECT_EQ(pFirst->m_strText3, "three");
    EXPECT_EQ(pFirst->m_strText4, "four");
    EXPECT_EQ(pFirst->m_nWeight, 2);
    EXPECT_EQ(pFirst->m_nCategory, 3);
    EXPECT_EQ(pFirst->m_nCapacity, 4);
    EXPECT_EQ(pFirst->m_dwRoleFlags, 1u);
    EXPECT_EQ(pFirst->m_nWord7, 9);
    ASSERT_EQ(pFirst->m_pPath->GetSize(), 1);
    EXPECT_TRUE(pFirst->m_pPath->GetAt(0)->HasStop());
    EXPECT_FLOAT_EQ(pFirst->m_pPath->GetAt(0)->m_fX, 760.0f);
    ASSERT_EQ(pFirst->m_pOrders->GetSize(), 1);
    EXPECT_EQ(pFirst->m_pOrders->GetAt(0)->GetOrderType(), 0x44000u);

    EXPECT_EQ(StoreBytes(company), fixture);

    // Copies: a full copy keeps orders and path, a structure-only one the
    // shape with fresh empty sets.
    CHierarchyCompany full(company, FALSE);
    EXPECT_EQ(StoreBytes(full), fixture);
    CHierarchyCompany shape(company, TRUE);
    ASSERT_EQ(shape.GetSize(), 3);
    EXPECT_EQ(shape.GetPlatoon(1)->m_pOrders->GetSize(), 0);
    EXPECT_EQ(shape.GetPlatoon(1)->m_pPath->GetSize(), 0);
    EXPECT_EQ(shape.GetPlatoon(1)->m_strText2, "");
    EXPECT_EQ(shape.GetElement(0)->m_strName, "Commander 66");
    EXPECT_EQ(shape.GetElement(0)->m_nValue, 0);
    EXPECT_FALSE(shape.GetElement(0)->m_bCompanyLeader);
}

TEST(HierarchyRecord, AChildItsLevelCannotHoldIsRefusedWithTheClassErrorAndNothingChanges)
{
    struct Case
    {
        const char* container;
        const char* child;
    };
    const Case cases[] = {
        {"CHierarchyPlatoon", "CHierarchyCompany"}, {"CHierarchyPlatoon", "CHierarchyPlatoon"},
        {"CHierarchyPlatoon", "CTaskOrg"},          {"CHierarchyCompany", "CHierarchyCompany"},
        {"CHierarchyCompany", "CHierarchyArray"},   {"CHierarchyArray", "CHierarchyArray"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.container) + " holding " + c.child);
        CScenarioBytes children;
        NewClass(children, c.child);
        children.Word(0);  // what would follow: never read
        const std::vector<BYTE> bytes = BattalionAround(1, children).Get();
        std::unique_ptr<CHierarchyPlatoon> pContainer(
            static_cast<CHierarchyPlatoon*>(CRuntimeClass::CreateObject(c.container)));
        ASSERT_NE(pContainer, nullptr);
        pContainer->m_strName = "Before";
        try
        {
            LoadFromBytes(*pContainer, bytes);
            ADD_FAILURE() << "read without complaint";
        }
        catch (const CArchiveException& e)
        {
            EXPECT_EQ(e.m_cause, CArchiveException::badClass);
        }
        EXPECT_EQ(pContainer->m_strName, "Before");
        EXPECT_EQ(pContainer->GetSize(), 0);
    }

    // The battalion takes a company; a company inside it is read.
    CScenarioBytes company;
    NewClass(company, "CHierarchyCompany");  // class 1, object 2
    company.Append(CompanyRecord(2));
    CHierarchyArray battalion;
    LoadFromBytes(battalion, BattalionAround(1, company).Get());
    ASSERT_NE(battalion.GetCompany(0), nullptr);
    EXPECT_EQ(battalion.GetCompany(0)->GetPlatoon(1)->m_strName, "1st Tank");
}

TEST_F(HierarchyFileTest, LoadReadsTheFileOrLeavesTheHierarchyAsItWas)
{
    ScopedScriptedUi ui;
    CHierarchyArray hierarchy;
    hierarchy.Add(Element("Old", 3));
    hierarchy.m_strName = "Old side";

    // Cancel ends the load at once.
    ui->ExpectFileDialog(TRUE, "");
    EXPECT_EQ(hierarchy.LoadHierarchyFile("missing.hra", DataDir()), 0);
    EXPECT_EQ(hierarchy.GetSize(), 1);

    CScenarioBytes company;
    NewClass(company, "CHierarchyCompany");
    company.Append(CompanyRecord(2));
    const std::vector<BYTE> good = BattalionAround(1, company).Get();
    std::vector<BYTE> cut(good.begin(), good.end() - 3);
    CScenarioBytes nestedChildren;
    NewClass(nestedChildren, "CHierarchyPlatoon").Word(1);
    NewClass(nestedChildren, "CHierarchyCompany").Word(0);
    const std::vector<BYTE> nested = BattalionAround(1, nestedChildren).Get();
    struct Case
    {
        const char* file;
        const std::vector<BYTE>& bytes;
        const char* cause;
    };
    const Case cases[] = {
        {"cut.hra", cut, "Reached the end of the file while reading an object"},
        {"nested.hra", nested, "Unexpected object found while reading"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.file);
        const CString path = Write(c.file, c.bytes);
        ui->ExpectMessage(GetMessageBoxCaption(), ReadFailure(path, c.cause), IDOK);
        EXPECT_EQ(hierarchy.LoadHierarchyFile(path, DataDir()), 0);
        ASSERT_EQ(hierarchy.GetSize(), 1);
        EXPECT_EQ(hierarchy.GetElement(0)->m_strName, "Old");
        EXPECT_EQ(hierarchy.m_strName, "Old side");
    }

    // A name that does not open is asked for again; the chosen file is read.
    const CString path = Write("good.hra", good);
    ui->ExpectFileDialog(TRUE, path);
    ASSERT_EQ(hierarchy.LoadHierarchyFile("missing.hra", DataDir()), 1);
    EXPECT_EQ(hierarchy.m_strName, "Loaded");
    ASSERT_EQ(hierarchy.GetSize(), 1);
    EXPECT_EQ(hierarchy.GetCompany(0)->m_strName, "A Company");
    EXPECT_NE(hierarchy.m_pDialog, nullptr);
    EXPECT_EQ(StoreBytes(hierarchy), good);
}

TEST(HierarchyDemo, TheGameOpensTheDemoWithBothHierarchiesWhichReadBackByteForByte)
{
    if (!CDemoInstall::WriterBuilt())
        GTEST_SKIP() << "the demo writer is not built";
    const CDemoInstall demo("hierarchy-demo");
    ASSERT_TRUE(demo.Write());
    const fs::path& root = demo.Root();
    {
        // No prompt of any kind: every file opens and reads.
        ScopedScriptedUi ui;
        CKDRApp app;
        ASSERT_TRUE(app.InitInstance());
        ASSERT_NE(app.OpenDocumentFile((root / "Data" / "demo.asc").string().c_str()), nullptr);
        CKDRUnits* pUnits = app.GetActiveDocument()->GetUnits();
        ASSERT_NE(pUnits, nullptr);
        EXPECT_EQ(pUnits->m_strHierarchyFile[0], "Friendly.hra");
        EXPECT_EQ(pUnits->m_strHierarchyFile[1], "Enemy.hra");
        ASSERT_TRUE(pUnits->m_bHierarchy[0] && pUnits->m_bHierarchy[1]);
        EXPECT_FALSE(pUnits->m_bHierarchy[2]);

        // What a player sees in each: the friendly company and its platoons
        // found by name, the enemy's on their own side.
        CHierarchyPlatoon* pCompany = pUnits->FindElementByName("A Company");
        ASSERT_NE(pCompany, nullptr);
        EXPECT_EQ(pCompany->GetLevel(), HIERARCHY_COMPANY);
        for (const char* name : {"1st Tank", "2nd Tank", "3rd Mech"})
            EXPECT_NE(pUnits->FindElementByName(name), nullptr) << name;
        CHierarchyPlatoon* pSaddle = pUnits->FindElementByName("Saddle Company");
        ASSERT_NE(pSaddle, nullptr);
        EXPECT_EQ(pSaddle->m_nSide, 1);
        // The commander leads the company, the mortars stand under the battalion.
        ASSERT_NE(pUnits->FindUnitElement(0, 0, 0), nullptr);
        EXPECT_EQ(pUnits->FindUnitElement(0, 0, 0)->m_strName, "Commander 66");
        int nLevel = 0;
        EXPECT_NE(pUnits->m_pHierarchy[0]->FindElementOfUnit(0, 0, 0, nLevel), nullptr);
        EXPECT_EQ(nLevel, HIERARCHY_COMPANY);
        EXPECT_EQ(pUnits->m_pHierarchy[0]->FindElementOfUnit(21, 0, 0, nLevel)->m_strName, "Mortar 41");
        EXPECT_EQ(nLevel, HIERARCHY_BATTALION);

        const CString dataDir = (root / "Data").string().c_str();
        for (const char* name : {"Friendly.hra", "Enemy.hra"})
        {
            SCOPED_TRACE(name);
            CHierarchyArray back;
            ASSERT_EQ(back.LoadHierarchyFile(name, dataDir), 1);
            const std::string file = CDatabaseTestApp::ReadText(root / "Data" / name);
            EXPECT_EQ(StoreBytes(back), std::vector<BYTE>(file.begin(), file.end()));
        }
        app.m_pMainWnd->DestroyWindow();
        CWnd::FlushDeferredDeletes();
    }
}

TEST(HierarchyDemo, EveryElementNamesADemoUnitAndEveryContainerHasAFirstLeader)
{
    struct Side
    {
        void (*build)(CHierarchyArray&);
        const demo_units::Placement* rows;
        int count;
        int side;
    };
    const Side sides[] = {
        {demo_hierarchy::BuildFriendly, demo_units::kFriendly, static_cast<int>(std::size(demo_units::kFriendly)), 0},
        {demo_hierarchy::BuildEnemy, demo_units::kEnemy, static_cast<int>(std::size(demo_units::kEnemy)), 1},
    };
    for (const Side& s : sides)
    {
        SCOPED_TRACE(s.side);
        CHierarchyArray hierarchy;
        s.build(hierarchy);
        EXPECT_EQ(hierarchy.m_nSide, s.side);
        // Each unit of the side's file has exactly one element, of its name.
        std::set<std::string> names;
        for (int nUnit = 0; nUnit < s.count; ++nUnit)
        {
            int nLevel = 0;
            const CHierarchyElement* pElement = hierarchy.FindElementOfUnit(nUnit, 0, s.side, nLevel);
            ASSERT_NE(pElement, nullptr) << nUnit;
            EXPECT_EQ(pElement->m_strName, s.rows[nUnit].name);
            EXPECT_TRUE(names.insert(pElement->m_strName.GetString()).second);
            EXPECT_EQ(pElement->m_bMounted, s.rows[nUnit].carrier != demo_units::kOnFoot);
        }
        // The teams aboard are not among the side's available units, nor
        // are the own side's two tanks detached to cover from their
        // positions.
        CTaskOrgArray available;
        hierarchy.FillUnitList(&available, FALSE);
        EXPECT_EQ(available.GetSize(), s.count - 8 - (s.side == 0 ? 2 : 0));
        CTaskOrgArray moved;
        hierarchy.MoveAllElementsTo(moved);
        EXPECT_EQ(moved.GetSize(), s.count);
        EXPECT_EQ(hierarchy.GetSize(), 0);
    }

    // Picking the leaders again changes nothing: the first vehicle of each
    // platoon and the commander lead, with an index of 0.
    CHierarchyArray friendly;
    demo_hierarchy::BuildFriendly(friendly);
    friendly.RepickLeaders(FALSE, nullptr, nullptr);
    CHierarchyCompany* pCompany = friendly.GetCompany(0);
    ASSERT_NE(pCompany, nullptr);
    EXPECT_TRUE(pCompany->m_bActive);
    ASSERT_NE(pCompany->GetLeaderElement(), nullptr);
    EXPECT_EQ(pCompany->GetLeaderElement()->m_strName, "Commander 66");
    for (const char* name : {"1st Tank", "2nd Tank", "3rd Mech"})
    {
        CHierarchyPlatoon* pPlatoon = pCompany->FindPlatoonByName(name);
        ASSERT_NE(pPlatoon, nullptr) << name;
        EXPECT_TRUE(pPlatoon->m_bActive) << name;
        ASSERT_NE(pPlatoon->GetLeaderElement(), nullptr) << name;
        EXPECT_EQ(pPlatoon->GetLeaderElement()->m_nIndex, 0) << name;
    }
}
