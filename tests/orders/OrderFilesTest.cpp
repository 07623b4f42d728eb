// Order records and files: hand-laid records read and written back byte for
// byte, the standing-orders ("*.sop") and formation-template ("*.frm")
// loaders with their failures, and the demo's two files.
#include "OrderTestSupport.h"

#include "../../tools/demo_orders.h"
#include "../support/ScriptedUi.h"
#include "ai/UOrdAIOrder.h"
#include "ai/UOrdAIOrderDataKinds.h"
#include "orders/FormationTemplateArray.h"
#include "orders/NodeArray.h"
#include "orders/UnitOrderArray.h"
#include "orders/UnitOrderKinds.h"
#include "platform/ui/UiService.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

using namespace ordertest;
namespace fs = std::filesystem;

namespace
{
// A path of one node carrying all four node orders, laid out by hand.
Bytes PathWithEveryNodeOrder()
{
    Bytes b;
    b.w(1).newClass("CNode");
    b.w(4);  // the node's orders
    b.newClass("CNOrdStop");
    b.newClass("CNOrdStartTime").dw(600);
    b.newClass("CNOrdToggleOrder").dw(0).w(16384).w(0).w(1);
    b.newClass("CNOrdFormationOrder").dw(30).str("Wedge").str("Node Formation Wedge Red");
    b.f(120.5f).f(2400.0f);
    return b;
}

// An order set holding one toggle order for Do Not Emplace.
Bytes DoNotEmplaceSet()
{
    Bytes b;
    b.w(1).newClass("CUOrdToggleOrder");
    b.w(0);       // no conditions
    b.w(0x4000);  // the toggle word
    return b;
}

class OrderFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("kdr-orders-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    // The folder stands for the data directory the loaders are handed.
    CString DataDir() const { return m_dir.string().c_str(); }

    CString Write(const char* pszName, const std::vector<BYTE>& bytes)
    {
        const fs::path path = m_dir / pszName;
        EXPECT_TRUE(WriteFileBytes(path.string(), bytes));
        return path.string().c_str();
    }

    fs::path m_dir;
};

// The message of a file that could not be read.
CString ReadFailure(const char* pszWhat, const CString& path, const char* pszCause)
{
    return CString("The ") + pszWhat + " \"" + path + "\" could not be read. " + pszCause + " in '" + path + "'.";
}
}  // namespace

TEST(OrderRecords, PathWithEveryNodeOrderReadsAndWritesBackByteForByte)
{
    const Bytes fixture = PathWithEveryNodeOrder();
    CNodeArray path;
    LoadBytes(path, fixture.v);
    ASSERT_EQ(path.GetSize(), 1);
    const CNode* pNode = path.GetAt(0);
    EXPECT_FLOAT_EQ(pNode->m_fX, 120.5f);
    EXPECT_FLOAT_EQ(pNode->m_fY, 2400.0f);
    EXPECT_EQ(pNode->m_pOrders->GetTypes(), 0xFu);
    const auto* pToggle = static_cast<const CNOrdToggleOrder*>(pNode->m_pOrders->FindOfType(NORD_TOGGLE));
    ASSERT_NE(pToggle, nullptr);
    EXPECT_EQ(pToggle->m_dwToggle, 16384u);
    EXPECT_FALSE(pToggle->m_bOn);
    EXPECT_TRUE(pToggle->m_bOff);
    const auto* pFormation = static_cast<const CNOrdFormationOrder*>(pNode->m_pOrders->FindOfType(NORD_FORMATION));
    ASSERT_NE(pFormation, nullptr);
    EXPECT_EQ(pFormation->m_strFormation, "Wedge");
    EXPECT_EQ(pFormation->m_tsStart.GetTotalSeconds(), 30);
    EXPECT_EQ(StoreBytes(path), fixture.v);

    // The deep copy writes the same record.
    CNodeArray copy(path);
    EXPECT_EQ(StoreBytes(copy), fixture.v);
}

TEST(OrderRecords, DoNotEmplaceTravelsInTheToggleWordAsTheToggleBit)
{
    const Bytes fixture = DoNotEmplaceSet();
    CUnitOrderArray set;
    LoadBytes(set, fixture.v);
    ASSERT_EQ(set.GetSize(), 1);
    const auto* pToggle = dynamic_cast<CUOrdToggleOrder*>(set.GetAt(0));
    ASSERT_NE(pToggle, nullptr);
    EXPECT_EQ(pToggle->m_dwToggles, 0x40000u);
    EXPECT_EQ(pToggle->GetOrderType(), 0x44000u);
    EXPECT_EQ(CUnitOrder::OrderCodeToToggle(pToggle->GetOrderType()), 16384);
    EXPECT_EQ(StoreBytes(set), fixture.v);

    // Made in the program, with another toggle beside it, it goes out the same way.
    CUnitOrderArray made;
    made.Add(new CUOrdCancelToggleOrder(0x40000 | 2));
    Bytes expected;
    expected.w(1).newClass("CUOrdCancelToggleOrder").w(0).w(0x4002);
    EXPECT_EQ(StoreBytes(made), expected.v);
    CUnitOrderArray back;
    LoadBytes(back, expected.v);
    EXPECT_EQ(static_cast<CUOrdToggleOrder*>(back.GetAt(0))->m_dwToggles, 0x40002u);
}

TEST(OrderRecords, EveryOrderClassWritesARecordThatReadsBack)
{
    CUnitOrderArray set;
    set.Add(new CUOrdToggleOrder(8));
    auto* pFormation = new CUOrdCompanyFormation(CString("Line"));
    auto* pPlace = new CUOrdCompanyFormationPlace;
    pPlace->m_strMember = "1st Platoon";
    pPlace->m_bLeader = TRUE;
    pPlace->m_fRadius = 40.0f;
    pFormation->m_places.Add(pPlace);
    set.Add(pFormation);
    set.Add(new CUOrdConditionalStart(2, TRUE, nullptr, nullptr));
    auto* pHierarchy = new CUOrdAIHierarchyOrder;
    delete pHierarchy->m_pContained;
    pHierarchy->m_pContained = new CUOrdOrientDirection;
    pHierarchy->m_astrDataNames.Add("Crossing");
    set.Add(pHierarchy);
    auto* pPhaseOrder = new CUOrdAIOrderPhaseOrder;
    pPhaseOrder->m_bOnce = TRUE;
    pPhaseOrder->m_pOrders->Add(new CUOrdDetachUnits);
    set.Add(pPhaseOrder);
    auto* pDismount = new CUOrdDismount;
    pDismount->m_pPath->AddNode(1, 2);
    set.Add(pDismount);
    set.Add(new CUOrdMount);
    set.Add(new CUOrdRecalculateData);
    set.Add(new CUOrdAssignPath);
    auto* pSuppress = new CUOrdSuppress;
    pSuppress->m_pLocation = new CUOrdAIOrderDataSBFLocation;
    pSuppress->m_bOwnsLocation = TRUE;
    pSuppress->m_pLocation->m_astrUnitNames.Add("1st Platoon");
    pSuppress->m_pLocation->m_astrSecondNames.Add("");
    set.Add(pSuppress);
    CUnitOrderArray full;
    demo_orders::BuildStandingOrders(full);
    set.Add(CUnitOrder::CopyOrder(full.GetAt(0)));

    const std::vector<BYTE> bytes = StoreBytes(set);
    CUnitOrderArray back;
    LoadBytes(back, bytes);
    ASSERT_EQ(back.GetSize(), set.GetSize());
    for (int i = 0; i < set.GetSize(); ++i)
        EXPECT_EQ(back.GetAt(i)->GetRuntimeClass(), set.GetAt(i)->GetRuntimeClass()) << i;
    EXPECT_EQ(StoreBytes(back), bytes);
    const auto* pBackHierarchy = static_cast<CUOrdAIHierarchyOrder*>(back.GetAt(3));
    EXPECT_EQ(pBackHierarchy->m_pContained->GetOrderType(), UORD_ORIENT);
    EXPECT_EQ(static_cast<CUOrdDismount*>(back.GetAt(5))->m_pPath->GetSize(), 1);
}

TEST(OrderRecords, BreachLanesAreNotWrittenAndTheItemIsWrittenUncalculated)
{
    CUOrdAIOrder order;
    auto* pLane = new CUOrdAIOrderDataBreachLane;
    pLane->m_strName = "Lane";
    pLane->m_bCalculated = TRUE;
    pLane->m_astrBreacherNames.Add("Engineer 1");
    pLane->m_lanes.resize(1);
    order.m_pData->Add(pLane);
    auto* pIdle = new CUOrdAIOrderDataBreachLane;
    pIdle->m_bCalculated = TRUE;
    order.m_pData->Add(pIdle);

    const std::vector<BYTE> bytes = StoreBytes(order);
    EXPECT_TRUE(pLane->m_bCalculated);
    CUOrdAIOrder back;
    LoadBytes(back, bytes);
    ASSERT_EQ(back.m_pData->GetSize(), 2);
    const auto* pBack = static_cast<CUOrdAIOrderDataBreachLane*>(back.m_pData->GetAt(0));
    EXPECT_FALSE(pBack->m_bCalculated);
    EXPECT_TRUE(pBack->m_lanes.empty());
    EXPECT_TRUE(back.m_pData->GetAt(1)->m_bCalculated);
    EXPECT_EQ(back.m_pData->GetAt(1)->GetTypeName(), "Breach Location");
}

TEST_F(OrderFileTest, LoadSOPReadsTheFileOrLeavesTheSetAsItWas)
{
    ScopedScriptedUi ui;
    CUnitOrderArray set;
    set.AddOrderOfType(0x4002);

    // Cancel gives up at once.
    ui->ExpectFileDialog(TRUE, "");
    EXPECT_EQ(set.LoadSOP((m_dir / "missing.sop").string().c_str(), DataDir()), 0);
    EXPECT_EQ(set.GetSize(), 1);

    const CString good = Write("good.sop", DoNotEmplaceSet().v);
    // A file that does not open is asked for again; the chosen one is read.
    ui->ExpectFileDialog(TRUE, good);
    ASSERT_EQ(set.LoadSOP((m_dir / "missing.sop").string().c_str(), DataDir()), 1);
    ASSERT_EQ(set.GetSize(), 1);
    EXPECT_EQ(set.GetAt(0)->GetOrderType(), 0x44000u);
    EXPECT_EQ(set.m_strSOPFileName, good);

    struct Case
    {
        const char* pszFile;
        std::vector<BYTE> bytes;
        const char* pszCause;
    };
    std::vector<BYTE> cut = DoNotEmplaceSet().v;
    cut.pop_back();
    Bytes unknown;
    unknown.w(1).newClass("CUOrdTeleport").w(0);
    Bytes nested;  // AI phase orders inside AI phase orders, 40 deep
    for (int i = 0; i < 40; ++i)
    {
        nested.w(1);
        if (i == 0)
            nested.newClass("CUOrdAIOrderPhaseOrder");
        else
            nested.w(0x8001);
        nested.w(0);  // its conditions
    }
    const Case cases[] = {
        {"cut.sop", cut, "Reached the end of the file while reading an object"},
        {"unknown.sop", unknown.v, "Unexpected object found while reading"},
        {"nested.sop", nested.v, "Invalid file format"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.pszFile);
        const CString path = Write(c.pszFile, c.bytes);
        ui->ExpectMessage(GetMessageBoxCaption(), ReadFailure("standing orders", path, c.pszCause), IDOK);
        EXPECT_EQ(set.LoadSOP(path, DataDir()), 0);
        ASSERT_EQ(set.GetSize(), 1);
        EXPECT_EQ(set.GetAt(0)->GetOrderType(), 0x44000u);
        EXPECT_EQ(set.m_strSOPFileName, good);
    }
}

TEST_F(OrderFileTest, TemplateTablesHaveTheirFixedSizes)
{
    CFormationTemplateArray templates;
    auto* pPlatoon = new CFormationPlatoonTemplate;
    pPlatoon->m_strName = "P";
    templates.Add(pPlatoon);
    auto* pCompany = new CFormationCompanyTemplate;
    pCompany->m_strName = "C";
    pCompany->m_set0Positions[9].bFlag = TRUE;
    pCompany->m_anSet0Position[19] = -1;
    templates.Add(pCompany);
    templates.m_strFileName = "t.frm";
    const std::vector<BYTE> bytes = StoreBytes(templates);

    // The count; each template's class tag (6 bytes and its 25-letter name),
    // the 480-byte slot table, its name, mask word and icon name; the
    // company's 360-byte position table and 20 platoon records; the file name.
    const size_t header = 2;
    const size_t tag = 6 + 25;
    const size_t platoon = tag + 480 + 2 + 2 + 1;
    const size_t company = tag + 480 + 2 + 2 + 1 + 360 + 20 * (2 + 1 + 2 + 1);
    EXPECT_EQ(bytes.size(), header + platoon + company + 6);
    // The low byte of the last position record's set-0 flag word.
    const size_t flag = header + platoon + tag + 480 + 2 + 2 + 1 + 360 - 2;
    EXPECT_EQ(bytes[flag], 1);

    const CString path = Write("t.frm", bytes);
    CFormationTemplateArray back;
    ASSERT_EQ(back.LoadFile(path, DataDir()), 1);
    EXPECT_EQ(back.m_strFileName, path);
    ASSERT_EQ(back.GetSize(), 2);
    EXPECT_EQ(back.GetAt(1)->GetLevel(), FORMATION_LEVEL_COMPANY);
    EXPECT_EQ(static_cast<CFormationCompanyTemplate*>(back.GetAt(1))->m_anSet0Position[19], -1);

    // Cut short: a message, 0, and the list as it was.
    ScopedScriptedUi ui;
    const CString cut = Write("cut.frm", std::vector<BYTE>(bytes.begin(), bytes.begin() + 300));
    ui->ExpectMessage(GetMessageBoxCaption(),
                      ReadFailure("formation templates", cut, "Reached the end of the file while reading an object"),
                      IDOK);
    EXPECT_EQ(back.LoadFile(cut, DataDir()), 0);
    EXPECT_EQ(back.GetSize(), 2);
    EXPECT_EQ(back.m_strFileName, path);
    ui->ExpectFileDialog(TRUE, "");
    EXPECT_EQ(back.LoadFile((m_dir / "none.frm").string().c_str(), DataDir()), 0);
}

TEST_F(OrderFileTest, DemoFilesReadAndWriteBackByteForByte)
{
    CFormationTemplateArray templates;
    demo_orders::BuildTemplates(templates);
    CUnitOrderArray orders;
    demo_orders::BuildStandingOrders(orders);
    const std::vector<BYTE> frm = StoreBytes(templates);
    const std::vector<BYTE> sop = StoreBytes(orders);

    CFormationTemplateArray readTemplates;
    ASSERT_EQ(readTemplates.LoadFile(Write("Demo.frm", frm), DataDir()), 1);
    readTemplates.m_strFileName = demo_orders::FORMATION_FILE;
    EXPECT_EQ(StoreBytes(readTemplates), frm);
    CStringArray platoonNames;
    readTemplates.GetNamesForLevel(FORMATION_LEVEL_PLATOON, platoonNames, 0);
    ASSERT_EQ(platoonNames.GetSize(), 4);
    EXPECT_EQ(platoonNames[3], "Vee");
    EXPECT_EQ(readTemplates.GetFormationIndex("Line", FORMATION_LEVEL_COMPANY, 0), 1);

    CUnitOrderArray readOrders;
    ASSERT_EQ(readOrders.LoadSOP(Write("Demo.sop", sop), DataDir()), 1);
    EXPECT_EQ(StoreBytes(readOrders), sop);
    CStringArray missions;
    readOrders.ListAIOrders(missions, FORMATION_LEVEL_PLATOON, -1, -1);
    ASSERT_EQ(missions.GetSize(), 1);
    EXPECT_EQ(missions[0], demo_orders::AI_ORDER_NAME);
    const CUOrdAIOrder* pOrder = readOrders.GetAIOrder();
    ASSERT_NE(pOrder, nullptr);
    EXPECT_EQ(pOrder->m_pData->GetSize(), 3);
    EXPECT_EQ(pOrder->m_pPhases->GetSize(), 2);
    EXPECT_EQ(pOrder->m_pFailureConditions->GetSize(), 1);

    // Each cut shorter fails and leaves the set as it was.
    ScopedScriptedUi ui;
    for (size_t nKeep : {size_t(0), size_t(1), sop.size() / 2, sop.size() - 1})
    {
        SCOPED_TRACE(nKeep);
        const CString cut = Write("cut.sop", std::vector<BYTE>(sop.begin(), sop.begin() + nKeep));
        ui->ExpectMessage(GetMessageBoxCaption(),
                          ReadFailure("standing orders", cut, "Reached the end of the file while reading an object"),
                          IDOK);
        EXPECT_EQ(readOrders.LoadSOP(cut, DataDir()), 0);
        EXPECT_EQ(readOrders.GetSize(), 1);
    }
}
