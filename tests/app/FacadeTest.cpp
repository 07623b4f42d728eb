// The document facade: every operation answers its nothing value without a
// mission, the after-effects of edits, the deployment-only operations, the
// task-organisation groups and the routing of received records.

#include "GameLoopTestSupport.h"

#include "battlefield/ElevationMap.h"
#include "battlefield/FireMission.h"
#include "hierarchy/HierarchyArray.h"
#include "net/NetUpdate.h"
#include "orders/NodeArray.h"

#include <cstring>

namespace
{
struct FacadeRow
{
    const char* name;
    std::function<bool(CKDRDoc&)> isNothing;
};

// One row: the call and the nothing value it must answer.
#define NOTHING(call, value)                                                                                           \
    FacadeRow                                                                                                          \
    {                                                                                                                  \
#call, [](CKDRDoc & d) { return (d.call) == (value); }                                                         \
    }

std::vector<FacadeRow> FacadeRows()
{
    static CTaskOrgArray list;
    static CHierarchyPlatoon element;
    static CUnit unit;
    static CFireMission round;
    static CNetUpdateHandOver record(nullptr, 1);
    static const BYTE data[64] = {};
    static float fX = 0, fY = 0;
    static int nSide = -1, nValue = 7;
    static COLORREF crBack = 0;
    static CRect rc(0, 0, 100, 100);
    static CUnitRefArray* pFirst = nullptr;
    static CUnitRefArray* pSecond = nullptr;
    static CTaskOrgArray* pRecalled = nullptr;
    static int nPX = 0, nPY = 0;
    static CNodeArray path;

    return {
        // Game-loop steps.
        NOTHING(StepSimulation(0, 0, 0), 0),
        NOTHING(UpdateLightCondition(), FALSE),
        NOTHING(UpdateContacts(pFirst, pSecond), FALSE),
        NOTHING(DetectAll(), FALSE),
        NOTHING(DirectFire(), FALSE),
        NOTHING(ProcessIndirectFire(), FALSE),
        NOTHING(TestMissionEnd(CTimeSpan(10), nValue), FALSE),
        NOTHING(OfferResults(CTimeSpan(10), 1), 0),
        // Units: drawing.
        NOTHING(DrawUnits(0, 1, TRUE), FALSE),
        NOTHING(DrawDestroyedUnits(1, 0.5f), FALSE),
        NOTHING(DrawFieldsOfFire(), FALSE),
        NOTHING(DrawHierarchySymbols(TRUE, TRUE, TRUE, 1, 0.5f, 0, 1), FALSE),
        NOTHING(DrawPaths(TRUE, TRUE, TRUE), FALSE),
        NOTHING(DrawUnitLabels(&list, TRUE, TRUE, TRUE), FALSE),
        NOTHING(DrawFunctionUnits(1, TRUE, TRUE, TRUE), FALSE),
        NOTHING(DrawCarriedUnits(), FALSE),
        NOTHING(DrawFunctionCircles(0, 0, 0, CString()), FALSE),
        NOTHING(DrawFunctionCircles(0, 0, 0, "1st Platoon"), FALSE),
        NOTHING(DrawFireMissionLinks(0, 0, 0, CString()), FALSE),
        NOTHING(DrawFunctionCircle(0, 0, 0), FALSE),
        NOTHING(DrawCarrierLinks(&unit), FALSE),
        NOTHING(DrawSelectionOverlays(4, &list, 0, 0, 0), FALSE),
        NOTHING(DrawFunctionCirclesOfList(&list), FALSE),
        NOTHING(DrawFireMissionLinksOfList(&list), FALSE),
        NOTHING(DrawSightOfUnit(10, 10, -99, 0, 0), FALSE),
        NOTHING(DrawSightOfUnit(10, 10, 0, 0, 0), FALSE),
        NOTHING(DrawUnitLinks("1st Platoon"), 1),
        NOTHING(DrawAIOrderGraphics(), FALSE),
        // Units: look-ups by point.
        NOTHING(HitTestElements(5, 5, nSide, TRUE, TRUE), nullptr),
        NOTHING(GetElementsAtPoint(5, 5, TRUE, TRUE), nullptr),
        NOTHING(GetUnitsAtPoint(5, 5), nullptr),
        NOTHING(HitTestUnitValue(5, 5), -99),
        NOTHING(GetHoverText(5, 5, TRUE, TRUE, TRUE, crBack), ""),
        NOTHING(GetHoverUnitText(5, 5, crBack), ""),
        NOTHING(SelectUnitsInRect(rc, TRUE, TRUE, TRUE), nullptr),
        // Units: queries.
        NOTHING(GetUnitForPopup(0, 0, 0), nullptr),
        NOTHING(CanUnitFireMission(0, 0, 0), FALSE),
        NOTHING(CanSelectionFireMission(&list), FALSE),
        NOTHING(GetUnitPath(0, 0, 0), nullptr),
        NOTHING(HasUnitSelection(), FALSE),
        NOTHING(IsFireMissionLogOpen(), FALSE),
        NOTHING(IsHierarchyTreeOpen(), FALSE),
        NOTHING(HasUnitsOfKind(0), FALSE),
        NOTHING(GetSelectionActions(), 0),
        NOTHING(GetSelectedInfo(), ""),
        NOTHING(GetSelectedSOP(), ""),
        NOTHING(GetMissionNames(), ""),
        NOTHING(GetCompanyFormationNames(), ""),
        NOTHING(GetPlatoonFormation(1, nValue), FALSE),
        NOTHING(IsSOPSetForPlatoon(1, nValue), FALSE),
        NOTHING(IsSOPSetForCompany(1), FALSE),
        NOTHING(IsOrderItemChecked(3, nValue), 0),
        // Units: orders.
        NOTHING(SetSelectionTACSOP(1), 0),
        NOTHING(SetSelectionMission(1), 0),
        NOTHING(SetCompanyFormation(1), 0),
        NOTHING(SetPlatoonFormation(1), 0),
        NOTHING(ApplyOrderToPlatoon(1), 0),
        NOTHING(ApplyOrderToCompany(1), 0),
        NOTHING(IssueElementOrder(&element, 1), 0),
        NOTHING(IssueElementOrderB(&element, 1), 0),
        NOTHING(ApplyCompanyOrderFromElement(&element), 0),
        NOTHING(ToggleOrderBitForList(&list, 512, -99.0f, -99.0f), 0),
        NOTHING(ToggleDismountForList(&list), 0),
        NOTHING(ToggleSuppressForElement(&element), 0),
        NOTHING(ToggleFireControlForElement(&element, TRUE), 0),
        NOTHING(DragUnit(0, 0, 0, 10, 10, FALSE), 0),
        NOTHING(EndUnitDrag(&list, 0, 0, 10, 10, TRUE), 0),
        NOTHING(PasteUnits(&path, &list, FALSE), 0),
        NOTHING(PasteOrdersToUnit(&path, 0, 0, 0, TRUE), 0),
        NOTHING(DismountUnits(&list), 0),
        NOTHING(ApplyOrderToSelection(0, 0, 0, 1), FALSE),
        NOTHING(SetUnitPathFromClick(10, 10, 0, 0, 0, 1), 0),
        NOTHING(AssignUnitRoute(0, 0, 0), 0),
        NOTHING(ToggleUnitOverlay("1st Platoon", &path), 0),
        NOTHING(ApplyElementPathEdit("1st Platoon", &path, TRUE), 0),
        NOTHING(CancelPathEdit(0, 0, 0, &path), 0),
        NOTHING(PastePathToUnit(0, 0, 0, path, TRUE), 0),
        NOTHING(MountSelectionOnCarrier(&list, &list), 0),
        NOTHING(DeployMinesAtPoint(&list, 10, 10), 0),
        NOTHING(UploadAtPoint(&list, 10, 10), 0),
        NOTHING(AssignFireMissionAtPoint(&list, 10, 10), 0),
        NOTHING(AssignFireMissionTarget(0, 0, 0, 10, 10), 0),
        NOTHING(DeleteFireControl(0, 0, 0), 0),
        NOTHING(DeleteFireControlOfSelection(&list), 0),
        NOTHING(PasteFireControl(0, 0, 0, TRUE, 50, FALSE, -99, -99), 0),
        NOTHING(PasteFireControlToSelection(&list), 0),
        NOTHING(SetSuppressAreaAt(10, 10, 0, 0, 0), 0),
        NOTHING(ClearSuppressArea(0, 0, 0), 0),
        NOTHING(ResetUnitPath(0, 0, 0, 1), 0),
        NOTHING(ClearUnitMarchSpeed(0, 0, 0), 0),
        NOTHING(RefreshFireMissionLog(), FALSE),
        // Units: elements, network, AI orders, windows, groups.
        NOTHING(ResetElementPath("1st Platoon"), nullptr),
        NOTHING(GetElementPoint("1st Platoon", fX, fY), FALSE),
        NOTHING(GetSelectedElement("1st Platoon"), nullptr),
        NOTHING(ApplyIconStyle(1), FALSE),
        NOTHING(ApplyIconSize(0.5f), FALSE),
        NOTHING(SendUnitsUpdate(), 0),
        NOTHING(CaptureUnitsUpdate(data, 64), 0),
        NOTHING(ReceiveShotsFired(data, 64), 0),
        NOTHING(ReceiveUnitDestroyed(data, 64), 0),
        NOTHING(ApplyAIOrderSheet(), 0),
        NOTHING(ApplyAIOrder(), 0),
        NOTHING(ResetAIOrderEdit(), 0),
        NOTHING(OnMessageBoxClosed(), 0),
        NOTHING(PassSelectionToPlayer(&list, 1), 0),
        NOTHING(OnHierarchyTreeClosed(), FALSE),
        NOTHING(CallWithUnits(nullptr, 1), 0),
        NOTHING(StoreTaskOrgGroup(3, &list), 0),
        NOTHING(RecallTaskOrgGroup(3, pRecalled), 0),
        // Dug positions and obstacles.
        NOTHING(DrawHoles(), FALSE),
        NOTHING(DrawSelectedHoles(&list), FALSE),
        NOTHING(HighlightSelectedHoles(&list), FALSE),
        NOTHING(DrawObstacles(), FALSE),
        NOTHING(DrawSelectedObstacles(&list), FALSE),
        NOTHING(HighlightSelectedObstacles(&list), FALSE),
        NOTHING(FindHoleAt(5, 5, nSide), -99),
        NOTHING(FindObstacleAt(5, 5, nSide), -99),
        NOTHING(MoveHole(0, 0, 10, 10), 0),
        NOTHING(MoveObstacle(0, 0, 10, 10), 0),
        NOTHING(SelectHolesInRect(rc), nullptr),
        NOTHING(SelectObstaclesInRect(rc), nullptr),
        NOTHING(PlaceHolesOfSelection(&list, 0, 0, 10, 10), 0),
        NOTHING(EditSelectedHole(&list), 0),
        NOTHING(EditHole(0, 0), 0),
        NOTHING(EditSelectedObstacle(&list), 0),
        NOTHING(EditObstacle(0, 0), 0),
        NOTHING(HandleObstacleSelection(&list, 0, 0, 10, 10), 0),
        NOTHING(GetObstacleName(10, 10), ""),
        NOTHING(UpdateOwnSideObstacles(), FALSE),
        NOTHING(UpdateOtherSideObstacles(), FALSE),
        NOTHING(PlaceObstacleAndSend(10, 20, 3, 100, 100, 0, 0, 0, 0), 0),
        NOTHING(ApplyFASCAMImpact(&round), 0),
        NOTHING(ApplyChemicalImpact(&round), 0),
        NOTHING(ReceiveObstacles(data, 64), 0),
        NOTHING(ReceiveHoles(data, 64), 0),
        NOTHING(ReceiveStateRecord(data, 64), 0),
        NOTHING(ReceiveBreach(data, 64), 0),
        NOTHING(ReceivePassedObjects(data, 64, 21), 0),
        NOTHING(ApplyReceivedState(&record), 0),
        // Game map, smoke, fire missions, light and others.
        NOTHING(GetMapPictureRect(rc), FALSE),
        NOTHING(PictureToView(1, 1, &nPX, &nPY), 0),
        NOTHING(HasMapPicture(), FALSE),
        NOTHING(DrawSmoke(), FALSE),
        NOTHING(PrepareSmoke(), FALSE),
        NOTHING(AddSmokeFromImpact(&round), 0),
        NOTHING(AddIllumFromImpact(&round), 0),
        NOTHING(AddSmokeAndSend(10, 10, 50, 120, 80), 0),
        NOTHING(DrawFireMissionImpacts(), FALSE),
        NOTHING(ReceiveFireMission(data, 64), 0),
        NOTHING(ShowVehicleSpecs(), FALSE),
        NOTHING(DrawOpordGraphics(0), FALSE),
        NOTHING(DrawOpordGraphics(1), FALSE),
        NOTHING(GetMissionTitle(), ""),
        NOTHING(GetMainMissionName(), ""),
        NOTHING(IsOrderWindowOpen(), FALSE),
        NOTHING(ShowMessageBoxDlg("Title", "Text", 10, 10), 0),
        NOTHING(ShowAIOrderMessageBox("Title", "Text", 10, 10), 0),
    };
}
#undef NOTHING

void SendSecondDoubleWord(std::vector<BYTE>& record, DWORD dw) { std::memcpy(record.data() + 4, &dw, sizeof dw); }
}  // namespace

TEST(Facade, EveryOperationWithoutAMissionAnswersItsNothingValue)
{
    CDocShell shell;
    CKDRDoc& doc = shell.Doc();
    for (int i = 0; i < KDR_COMPONENT_COUNT; ++i)
        ASSERT_FALSE(doc.IsPresent(i));
    const int nGroups = doc.GetTaskOrgGroups()->GetSize();

    for (const FacadeRow& row : FacadeRows())
        EXPECT_TRUE(row.isNothing(doc)) << row.name;

    // Nothing changed: no component was made, nothing was stored, the
    // document is not modified and nobody was asked anything.
    for (int i = 0; i < KDR_COMPONENT_COUNT; ++i)
        EXPECT_FALSE(doc.IsPresent(i)) << "component " << i;
    EXPECT_EQ(doc.GetTaskOrgGroups()->GetSize(), nGroups);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(shell.Ui().GetShown().empty());
}

TEST(Facade, ContactsAreClearedFirstAndTheHoverTextsComeWithTheToolTipColour)
{
    CDocShell shell;
    auto* pStale = reinterpret_cast<CUnitRefArray*>(&shell);
    CUnitRefArray* pFirst = pStale;
    CUnitRefArray* pSecond = pStale;
    EXPECT_FALSE(shell.Doc().UpdateContacts(pFirst, pSecond));
    EXPECT_EQ(pFirst, nullptr);
    EXPECT_EQ(pSecond, nullptr);

    COLORREF crBack = 0;
    shell.Doc().GetHoverText(1, 1, TRUE, TRUE, TRUE, crBack);
    EXPECT_EQ(crBack, RGB(255, 255, 225));
    float fX = 0, fY = 0;
    shell.Doc().GetElementPoint("Nobody", fX, fY);
    EXPECT_EQ(fX, -99.0f);
    EXPECT_EQ(fY, -99.0f);
}

TEST(Facade, EditsMarkTheDocumentModifiedAndMovedUnitsTakeTheirPositionsAgain)
{
    struct Case
    {
        const char* what;
        std::function<int(CKDRDoc&)> call;
        int nResult;
        bool modified;
        bool occupants;
    };
    const Case cases[] = {
        {"a drag that moved units", [](CKDRDoc& d) { return d.DragUnit(0, 0, 0, 5, 5, FALSE); }, 1, true, true},
        {"a drag that failed", [](CKDRDoc& d) { return d.DragUnit(0, 0, 0, 5, 5, FALSE); }, 0, false, false},
        {"an order that took", [](CKDRDoc& d) { return d.SetSelectionTACSOP(2); }, 1, true, false},
        {"an order that failed", [](CKDRDoc& d) { return d.SetSelectionTACSOP(2); }, 0, false, false},
    };
    for (const Case& c : cases)
    {
        CLoopShell shell;
        shell.m_pUnits->m_nOrderResult = c.nResult;
        shell.TakeLog();
        EXPECT_EQ(c.call(shell.Doc()), c.nResult) << c.what;
        EXPECT_EQ(shell.Doc().IsModified() != FALSE, c.modified) << c.what;
        const StepLog log = shell.TakeLog();
        EXPECT_EQ(std::find(log.begin(), log.end(), "occupants") != log.end(), c.occupants) << c.what;
    }

    // A look-up changes nothing.
    CLoopShell shell;
    EXPECT_EQ(shell.Doc().GetObstacleName(10, 10), "Wire");
    EXPECT_FALSE(shell.Doc().IsModified());
}

TEST(Facade, DeploymentOnlyOperationsAnswerNothingOnceTheClockHasRun)
{
    CLoopShell shell;
    shell.Doc().GetGameMap()->SetElevationMap(new CElevationMap);
    const CRect rc(0, 0, 50, 50);

    std::unique_ptr<CTaskOrgArray> pHoles(shell.Doc().SelectHolesInRect(rc));
    std::unique_ptr<CTaskOrgArray> pObstacles(shell.Doc().SelectObstaclesInRect(rc));
    EXPECT_NE(pHoles, nullptr);
    EXPECT_NE(pObstacles, nullptr);

    shell.Clock().m_tsElapsed = CTimeSpan(1);
    int nSide = -1;
    EXPECT_EQ(shell.Doc().SelectHolesInRect(rc), nullptr);
    EXPECT_EQ(shell.Doc().SelectObstaclesInRect(rc), nullptr);
    EXPECT_EQ(shell.Doc().FindHoleAt(5, 5, nSide), -99);
    EXPECT_EQ(shell.Doc().FindObstacleAt(5, 5, nSide), -99);
    EXPECT_EQ(shell.Doc().MoveHole(0, 0, 5, 5), 0);
    EXPECT_EQ(shell.Doc().MoveObstacle(0, 0, 5, 5), 0);
    EXPECT_EQ(nSide, -1);
}

TEST(Facade, TaskOrgGroupsAreTheTenNumberKeys)
{
    CLoopShell shell;
    CKDRDoc& doc = shell.Doc();
    CTaskOrgArray list;
    list.Add(new CTaskOrg(4, 0));
    list.Add(new CTaskOrg(5, 0));

    for (int n : {-1, 10, 11})
        EXPECT_EQ(doc.StoreTaskOrgGroup(n, &list), 0) << n;
    EXPECT_EQ(doc.GetTaskOrgGroups()->GetSize(), 0);
    EXPECT_FALSE(doc.IsModified());

    ASSERT_EQ(doc.StoreTaskOrgGroup(7, &list), 1);
    EXPECT_TRUE(doc.IsModified());
    ASSERT_EQ(doc.GetTaskOrgGroups()->FindById(7), 0);
    EXPECT_NE(doc.GetTaskOrgGroups()->GetAt(0), &list);

    CTaskOrgArray* pRecalled = nullptr;
    ASSERT_EQ(doc.RecallTaskOrgGroup(7, pRecalled), 1);
    std::unique_ptr<CTaskOrgArray> owned(pRecalled);
    ASSERT_NE(pRecalled, nullptr);
    EXPECT_EQ(pRecalled->GetSize(), 2);
    EXPECT_EQ(pRecalled->m_nId, 7);
    EXPECT_EQ(doc.RecallTaskOrgGroup(2, pRecalled), 0);

    // Every unit of the group is gone: the group goes too.
    shell.m_pUnits->m_bUnitsGone = TRUE;
    EXPECT_EQ(doc.RecallTaskOrgGroup(7, pRecalled), 0);
    EXPECT_EQ(pRecalled, nullptr);
    EXPECT_LT(doc.GetTaskOrgGroups()->FindById(7), 0);
}

TEST(Facade, ReceivedRecordsShorterThanTwoDoubleWordsAreNeverRead)
{
    CLoopShell shell;
    CKDRDoc& doc = shell.Doc();
    // Records of exactly their length, so that a read past the end would
    // be reported by the address checker.
    for (int nLength = 0; nLength < 8; ++nLength)
    {
        std::vector<BYTE> record(static_cast<size_t>(nLength), 0xFF);
        const BYTE* pData = nLength > 0 ? record.data() : nullptr;
        EXPECT_EQ(doc.ReceiveStateRecord(pData, nLength), 0) << nLength;
        EXPECT_EQ(doc.ReceiveBreach(pData, nLength), 0) << nLength;
    }
    EXPECT_TRUE(shell.TakeLog().empty());

    // Two double words: the second routes the record.
    std::vector<BYTE> record(8, 0);
    EXPECT_EQ(doc.ReceiveBreach(record.data(), 8), 1);       // to the game map
    EXPECT_EQ(doc.ReceiveStateRecord(record.data(), 8), 0);  // to the smoke, which takes nothing yet
    EXPECT_TRUE(shell.TakeLog().empty());
    SendSecondDoubleWord(record, 3);
    EXPECT_EQ(doc.ReceiveBreach(record.data(), 8), 1);
    EXPECT_EQ(doc.ReceiveStateRecord(record.data(), 8), 1);
    EXPECT_EQ(shell.TakeLog(), (StepLog{"obstacle breach record 8", "obstacle state record 8"}));
}

TEST(Facade, DetectionUsesTheLightFactorAndNeedsLightConditionsAndElevation)
{
    CLoopShell shell;
    CKDRDoc& doc = shell.Doc();
    // Without elevation data there is no detection.
    EXPECT_FALSE(doc.DetectAll());
    doc.GetGameMap()->SetElevationMap(new CElevationMap);

    struct Case
    {
        BOOL bNight;
        int nTwilight;
        float fFactor;
    };
    for (const Case& c : {Case{FALSE, 0, 1.0f}, Case{TRUE, 200, 0.5f}, Case{TRUE, 0, 0.1f}})
    {
        shell.m_pEnvironment->m_bNight = c.bNight;
        shell.m_pEnvironment->m_nTwilight = c.nTwilight;
        EXPECT_TRUE(doc.DetectAll());
        EXPECT_FLOAT_EQ(shell.m_pUnits->m_fLight, c.fFactor);
    }

    doc.m_bEnvironment = 0;
    shell.m_pUnits->m_fLight = -1;
    EXPECT_FALSE(doc.DetectAll());
    EXPECT_EQ(shell.m_pUnits->m_fLight, -1.0f);
}
