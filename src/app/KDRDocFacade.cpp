// The document's one-line operations: the game-loop steps and the facade
// through which the view, the application and the network layer reach the
// mission's components.
//
// Every operation first checks the components it needs (present: the flag
// set and the pointer not null) and otherwise answers its nothing value
// without touching anything. The after-effects, applied only when the
// forwarded call succeeded, are the two of the facade: the modified flag,
// and for operations that move units the dug positions' occupants.

#include "app/KDRDoc.h"

#include "app/GameClock.h"
#include "app/KDRApp.h"
#include "app/KDRMissions.h"
#include "app/KDROpord.h"
#include "battlefield/ElevationMap.h"
#include "battlefield/FireMission.h"
#include "battlefield/FireMissionArray.h"
#include "battlefield/KDREnvironment.h"
#include "battlefield/KDRGameMap.h"
#include "battlefield/KDRHoles.h"
#include "battlefield/KDRObstacles.h"
#include "battlefield/SmokeArray.h"
#include "database/KDRDatabase.h"
#include "hierarchy/HierarchyArray.h"
#include "hierarchy/TaskOrg.h"
#include "net/MultiplayerSession.h"
#include "net/NetUpdate.h"
#include "orders/Order.h"
#include "orders/UnitOrderKinds.h"
#include "units/KDRUnits.h"
#include "units/Unit.h"
#include "view/GraphicArray.h"
#include "view/MapPicture.h"

#include <cstring>
#include <functional>
#include <memory>
#include <type_traits>

namespace
{
// The nothing value of look-ups by point.

// Order bits of the units' toggle.
constexpr DWORD ORDER_BIT_FOLLOW_UP = 1;
constexpr DWORD ORDER_BIT_FIRE_CONTROL = 128;
constexpr DWORD ORDER_BIT_FIRE_CONTROL_SECOND = 256;
constexpr DWORD ORDER_BIT_MARCH_SPEED = 512;
constexpr DWORD ORDER_BIT_DISMOUNT = 32768;
constexpr DWORD ORDER_BIT_SUPPRESS = 65536;

// Radius of the sight rays drawn from a point that is no unit's.
constexpr int SIGHT_RAYS_RADIUS = 400;
// The range circles drawn with a selection.
constexpr double SELECTION_RANGE_CIRCLE = 60.0;

// Background of tool tips (the system's info-background colour).
constexpr COLORREF TOOLTIP_BACKGROUND = RGB(255, 255, 225);

// Kinds of received update records.
constexpr WORD RECORD_KIND_OBSTACLES = 2;
constexpr WORD RECORD_KIND_HOLES = 4;
// Message types of passed obstacles and dug positions.
constexpr int PASSED_OBJECTS_FIRST_TYPE = 21;
constexpr int PASSED_OBJECTS_LAST_TYPE = 25;

// Received records: the first double word is the record type, the second
// tells which component the record belongs to. The type alone is enough for
// the obstacle and dug-position records; the others are read only when both
// double words are there.
constexpr int RECORD_TYPE_BYTES = 4;
constexpr int RECORD_ROUTING_BYTES = 8;

DWORD SecondDoubleWord(const BYTE* pData)
{
    DWORD dw = 0;
    std::memcpy(&dw, pData + RECORD_TYPE_BYTES, sizeof dw);
    return dw;
}

// A rectangle of picture pixels as map metres; FALSE without elevation data.
BOOL RectToMap(CKDRGameMap* pMap, const CRect& rc, float& fLeft, float& fTop, float& fRight, float& fBottom)
{
    CElevationMap* pElevation = pMap != nullptr ? pMap->GetElevationMap() : nullptr;
    if (pElevation == nullptr)
        return FALSE;
    pElevation->PixelToMap(rc.left, rc.top, &fLeft, &fTop);
    pElevation->PixelToMap(rc.right, rc.bottom, &fRight, &fBottom);
    return TRUE;
}

// The units a hierarchy element commands, as a new list.
std::unique_ptr<CTaskOrgArray> UnitsOfElement(const CHierarchyElement* pElement)
{
    auto pList = std::make_unique<CTaskOrgArray>();
    if (pElement != nullptr)
        pElement->FillTaskOrg(*pList);
    return pList;
}

BOOL IsMultiplayerWithSession(const CKDRApp* pApp)
{
    return pApp != nullptr && pApp->m_bMultiplayer && pApp->m_pSession != nullptr;
}

// The units, game map and database when all three are present.
struct UnitsMapDatabase
{
    CKDRUnits* pUnits = nullptr;
    CKDRGameMap* pMap = nullptr;
    CKDRDatabase* pDatabase = nullptr;
    explicit operator bool() const { return pUnits != nullptr && pMap != nullptr && pDatabase != nullptr; }
};

UnitsMapDatabase Ready(const CKDRDoc& doc)
{
    return UnitsMapDatabase{doc.GetUnits(), doc.GetGameMap(), doc.GetDatabase()};
}

// A units step that draws or applies settings with the game map and database.
using UnitsStep = void (CKDRUnits::*)(CKDRGameMap*, CKDRDatabase*);

// Runs the step only when units, game map and database are all present.
BOOL RunWithAll(const CKDRDoc& doc, UnitsStep pStep)
{
    auto c = Ready(doc);
    if (!c)
        return FALSE;
    (c.pUnits->*pStep)(c.pMap, c.pDatabase);
    return TRUE;
}

// Runs the step whenever the units are present: the step copes without a
// game map or database itself.
BOOL RunWithUnits(const CKDRDoc& doc, UnitsStep pStep)
{
    CKDRUnits* pUnits = doc.GetUnits();
    if (pUnits == nullptr)
        return FALSE;
    (pUnits->*pStep)(doc.GetGameMap(), doc.GetDatabase());
    return TRUE;
}

// The units' answer to a question, or the nothing value without units.
template <class R, class Fn, class... Args>
R AskUnits(const CKDRDoc& doc, R none, Fn pAsk, Args... args)
{
    CKDRUnits* pUnits = doc.GetUnits();
    return pUnits != nullptr ? R(std::invoke(pAsk, pUnits, args...)) : none;
}

// The units' answer about a picture point, which they take as a view
// point; the nothing value without units or game map.
template <class R>
R AskAtPoint(const CKDRDoc& doc, int nX, int nY, std::type_identity_t<R> none,
             R (CKDRUnits::*pAsk)(int, int, CKDRGameMap*, CKDRDatabase*))
{
    CKDRUnits* pUnits = doc.GetUnits();
    CKDRGameMap* pMap = doc.GetGameMap();
    if (pUnits == nullptr || pMap == nullptr)
        return none;
    int vx = 0, vy = 0;
    pMap->PictureToView(nX, nY, &vx, &vy);
    return (pUnits->*pAsk)(vx, vy, pMap, doc.GetDatabase());
}
}  // namespace

// ---------------------------------------------------------------------------
// After-effects

void CKDRDoc::ReassignOccupants()
{
    CKDRHoles* pHoles = GetHoles();
    CKDRUnits* pUnits = GetUnits();
    if (pHoles != nullptr && pUnits != nullptr && GetDatabase() != nullptr)
        pHoles->AssignOccupants(pUnits, GetGameMap());
}

// ---------------------------------------------------------------------------
// Game-loop steps

void CKDRDoc::PrepareRun(DWORD dwTick)
{
    CKDRUnits* pUnits = GetUnits();
    if (pUnits == nullptr)
        return;
    CKDRApp* pApp = GetKDRApp();
    CGameClock* pClock = pApp != nullptr ? pApp->GetGameClock() : nullptr;
    // The first start of a mission: the positions are taken and, in a
    // multiplayer game, both sides learn each other's positions and
    // obstacles once.
    if (pClock == nullptr || pClock->m_tsElapsed.GetTotalSeconds() == 0)
    {
        if (CKDRHoles* pHoles = GetHoles(); pHoles != nullptr && GetDatabase() != nullptr)
            pHoles->AssignOccupants(pUnits, GetGameMap());
        if (IsMultiplayerWithSession(pApp))
        {
            if (CKDRHoles* pHoles = GetHoles())
                pHoles->SendAllHoles();
            if (CKDRObstacles* pObstacles = GetObstacles())
                pObstacles->SendAllObstacles();
        }
    }
    pUnits->PrepareUnits(dwTick, GetGameMap(), GetDatabase());
    if (CFireMissionArray* pRounds = GetFireMissions())
        pRounds->m_dwStamp = dwTick;
    if (m_pSmoke != nullptr)
    {
        m_pSmoke->m_dwStamp = dwTick;
        m_pSmoke->m_nRemainder = 0;
    }
    SetModifiedFlag(TRUE);
}

BOOL CKDRDoc::UpdateLightCondition()
{
    CKDREnvironment* pEnvironment = GetEnvironment();
    if (pEnvironment == nullptr)
        return FALSE;
    return pEnvironment->UpdateLightCondition();
}

int CKDRDoc::StepSimulation(int nUnit, int nArray, int nKind)
{
    CKDRUnits* pUnits = GetUnits();
    CKDRGameMap* pMap = GetGameMap();
    CKDRDatabase* pDatabase = GetDatabase();
    CFireMissionArray* pRounds = GetFireMissions();
    if (pUnits == nullptr || pMap == nullptr || pDatabase == nullptr || pRounds == nullptr)
        return 0;

    CKDRObstacles* pObstacles = GetObstacles();
    if (pObstacles != nullptr)
        pObstacles->Step();

    // Units serve window messages while they move: a handler run there may
    // have changed the mission, so the components are asked for again.
    const int nResult = pUnits->MoveAll(pMap, pDatabase, GetObstacles(), GetHoles(), nUnit, nArray, nKind, pRounds);

    pUnits = GetUnits();
    pRounds = GetFireMissions();
    if (pUnits == nullptr || pRounds == nullptr)
        return nResult;
    if (pRounds->StepRoundsInFlight(nUnit, nArray, nKind, GetDatabase(), pUnits) && pUnits->IsFireMissionLogOpen())
        pUnits->RefreshFireMissionLog();

    if (CKDREnvironment* pEnvironment = GetEnvironment(); pEnvironment != nullptr && m_pSmoke != nullptr)
        m_pSmoke->Step(pEnvironment->m_fWindDirection, pEnvironment->m_fWindSpeed);

    if (CKDRHoles* pHoles = GetHoles())
        pHoles->AssignOccupants(pUnits, GetGameMap());
    return nResult;
}

BOOL CKDRDoc::UpdateContacts(CUnitRefArray*& pFirst, CUnitRefArray*& pSecond)
{
    pFirst = nullptr;
    pSecond = nullptr;
    CKDRUnits* pUnits = GetUnits();
    if (pUnits == nullptr)
        return FALSE;
    pUnits->ResetContactLists(pFirst, pSecond);
    return TRUE;
}

BOOL CKDRDoc::DetectAll()
{
    CKDRUnits* pUnits = GetUnits();
    CKDRGameMap* pMap = GetGameMap();
    CKDRDatabase* pDatabase = GetDatabase();
    CKDREnvironment* pEnvironment = GetEnvironment();
    // Without light conditions nobody sees anything.
    if (pUnits == nullptr || pMap == nullptr || !pMap->HasElevationMap() || pDatabase == nullptr ||
        pEnvironment == nullptr)
        return FALSE;
    pUnits->DetectAll(pMap, pDatabase, m_pSmoke, pEnvironment->GetLightFactor());
    return TRUE;
}

BOOL CKDRDoc::DirectFire()
{
    CKDRUnits* pUnits = GetUnits();
    CKDRGameMap* pMap = GetGameMap();
    CKDRDatabase* pDatabase = GetDatabase();
    if (pUnits == nullptr || pMap == nullptr || pDatabase == nullptr)
        return FALSE;
    pUnits->DirectFire(pMap, pDatabase, GetObstacles(), GetHoles());
    return TRUE;
}

BOOL CKDRDoc::ProcessIndirectFire()
{
    CKDRUnits* pUnits = GetUnits();
    if (pUnits == nullptr || GetGameMap() == nullptr || GetDatabase() == nullptr)
        return FALSE;
    pUnits->ProcessIndirectFire(GetDatabase());
    return TRUE;
}

BOOL CKDRDoc::TestMissionEnd(CTimeSpan tsElapsed, int& bWon)
{
    bWon = 0;
    CKDRMissions* pMissions = GetMissions();
    CKDRUnits* pUnits = GetUnits();
    if (pMissions == nullptr || pUnits == nullptr)
        return FALSE;
    return pMissions->TestMissionEnd(pUnits, tsElapsed, bWon) != 0;
}

// ---------------------------------------------------------------------------
// Units: drawing

BOOL CKDRDoc::DrawUnits() { return RunWithAll(*this, &CKDRUnits::DrawUnits); }

BOOL CKDRDoc::DrawFieldsOfFire() { return RunWithAll(*this, &CKDRUnits::DrawFieldsOfFire); }

BOOL CKDRDoc::DrawHierarchySymbols() { return RunWithAll(*this, &CKDRUnits::DrawHierarchySymbols); }

BOOL CKDRDoc::DrawPaths()
{
    CKDRUnits* pUnits = GetUnits();
    if (pUnits == nullptr || GetGameMap() == nullptr)
        return FALSE;
    pUnits->DrawPaths(GetGameMap());
    return TRUE;
}

BOOL CKDRDoc::DrawUnitLabels() { return RunWithUnits(*this, &CKDRUnits::DrawUnitLabels); }

BOOL CKDRDoc::DrawFunctionUnits() { return RunWithUnits(*this, &CKDRUnits::DrawFunctionUnits); }

BOOL CKDRDoc::DrawCarriedUnits() { return RunWithAll(*this, &CKDRUnits::DrawCarriedUnits); }

namespace
{
// Calls fn for the unit found by index, or for every unit of the named
// element when a name is given; TRUE when at least one unit was found.
template <class Fn>
BOOL ForUnitOrElement(CKDRUnits* pUnits, int nUnit, int nArray, int nKind, const CString& strElement, Fn fn)
{
    BOOL bFound = FALSE;
    if (!strElement.IsEmpty())
    {
        const CHierarchyElement* pElement = pUnits->FindElementByName(strElement);
        if (pElement == nullptr)
            return FALSE;
        std::unique_ptr<CTaskOrgArray> pList = UnitsOfElement(pElement);
        for (int i = 0; i < pList->GetSize(); ++i)
        {
            const CTaskOrg* pEntry = pList->GetAt(i);
            if (pEntry == nullptr || pEntry->GetType() != 0)
                continue;
            if (CUnit* pUnit = pUnits->GetUnit(pEntry->m_nUnit, pEntry->m_nArray, nKind))
            {
                fn(pUnit);
                bFound = TRUE;
            }
        }
        return bFound;
    }
    if (CUnit* pUnit = pUnits->GetUnit(nUnit, nArray, nKind))
    {
        fn(pUnit);
        bFound = TRUE;
    }
    return bFound;
}
}  // namespace

BOOL CKDRDoc::DrawFunctionCircles(int nUnit, int nArray, int nKind, const CString& strElement)
{
    CKDRUnits* pUnits = GetUnits();
    CKDRGameMap* pMap = GetGameMap();
    CKDRDatabase* pDatabase = GetDatabase();
    if (pUnits == nullptr || pMap == nullptr || pDatabase == nullptr)
        return FALSE;
    return ForUnitOrElement(pUnits, nUnit, nArray, nKind, strElement,
                            [&](CUnit* pUnit) { pUnit->DrawFunctionCircle(pMap, pDatabase); });
}

BOOL CKDRDoc::DrawFireMissionLinks(int nUnit, int nArray, int nKind, const CString& strElement)
{
    CKDRUnits* pUnits = GetUnits();
    CKDRGameMap* pMap = GetGameMap();
    CKDRDatabase* pDatabase = GetDatabase();
    if (pUnits == nullptr || pMap == nullptr || pDatabase == nullptr)
        return FALSE;
    return ForUnitOrElement(pUnits, nUnit, nArray, nKind, strElement,
                            [&](CUnit* pUnit) { pUnit->DrawFireMissionLinks(pMap, pDatabase); });
}

BOOL CKDRDoc::DrawFunctionCircle(int nUnit, int nArray, int nKind)
{
    CKDRUnits* pUnits = GetUnits();
    if (pUnits == nullptr)
        return FALSE;
    CUnit* pUnit = pUnits->GetUnit(nUnit, nArray, nKind);
    if (pUnit == nullptr)
        return FALSE;
    pUnit->DrawFunctionCircle(GetGameMap(), GetDatabase());
    return TRUE;
}

BOOL CKDRDoc::DrawCarrierLinks(CUnit* pUnit)
{
    CKDRUnits* pUnits = GetUnits();
    if (pUnits == nullptr || GetGameMap() == nullptr || pUnit == nullptr)
        return FALSE;
    pUnit->DrawCarrierLinks(pUnits, GetGameMap());
    return TRUE;
}

BOOL CKDRDoc::DrawSelectionOverlays(CTaskOrgArray* pSelection, int nUnit, int nArray, int nKind)
{
    CKDRGameMap* pMap = GetGameMap();
    CKDRDatabase* pDatabase = GetDatabase();
    CKDRUnits* pUnits = GetUnits();
    if (pMap == nullptr || pDatabase == nullptr || pUnits == nullptr)
        return FALSE;
    if (pSelection != nullptr)
        pUnits->DrawSelectionOverlays(pSelection, pMap, pDatabase);
    if (CUnit* pUnit = pUnits->GetUnit(nUnit, nArray, nKind))
        pUnit->DrawRangeCircles(SELECTION_RANGE_CIRCLE, pMap, pDatabase);
    return TRUE;
}

BOOL CKDRDoc::DrawFireMissionLinksOfList(const CTaskOrgArray* pList)
{
    CKDRUnits* pUnits = GetUnits();
    CKDRGameMap* pMap = GetGameMap();
    CKDRDatabase* pDatabase = GetDatabase();
    if (pUnits == nullptr || pMap == nullptr || pDatabase == nullptr || pList == nullptr)
        return FALSE;
    for (int i = 0; i < pList->GetSize(); ++i)
    {
        const CTaskOrg* pEntry = pList->GetAt(i);
        // Entries that name a whole element are drawn by their units' own entries.
        if (pEntry == nullptr || pEntry->GetType() != 0)
            continue;
        if (CUnit* pUnit = pUnits->GetUnit(pEntry->m_nUnit, pEntry->m_nArray, pList->m_nSide))
            pUnit->DrawFireMissionLinks(pMap, pDatabase);
    }
    return TRUE;
}

BOOL CKDRDoc::DrawSightOfUnit(float fX, float fY, int nSide, int nArray, int nUnit)
{
    CKDRGameMap* pMap = GetGameMap();
    if (pMap == nullptr)
        return FALSE;
    if (nSide == kUnset)
    {
        pMap->DrawSightRays(fX, fY, SIGHT_RAYS_RADIUS, kUnset);
        return TRUE;
    }
    CKDRUnits* pUnits = GetUnits();
    CKDRDatabase* pDatabase = GetDatabase();
    if (pUnits == nullptr || pDatabase == nullptr)
        return FALSE;
    CUnit* pUnit = pUnits->GetUnit(nUnit, nArray, nSide);
    if (pUnit == nullptr)
        return FALSE;
    pUnit->DrawFieldOfView(pMap, pDatabase);
    return TRUE;
}

int CKDRDoc::DrawUnitLinks(const CString& strElement)
{
    CKDRUnits* pUnits = GetUnits();
    if (pUnits == nullptr)
        return 1;
    return pUnits->IsGroundVehicleOrElement(strElement);
}

BOOL CKDRDoc::DrawAIOrderGraphics() { return RunWithAll(*this, &CKDRUnits::DrawAIOrderGraphics); }

// ---------------------------------------------------------------------------
// Units: look-ups at a point

int CKDRDoc::HitTestElements(int nX, int nY) { return AskAtPoint(*this, nX, nY, kUnset, &CKDRUnits::HitTestElements); }

CHierarchyArray* CKDRDoc::GetElementsAtPoint(int nX, int nY)
{
    return AskAtPoint(*this, nX, nY, nullptr, &CKDRUnits::GetElementsAtPoint);
}

CTaskOrgArray* CKDRDoc::GetUnitsAtPoint(int nX, int nY)
{
    return AskAtPoint(*this, nX, nY, nullptr, &CKDRUnits::GetUnitsAtPoint);
}

int CKDRDoc::HitTestUnitValue(int nX, int nY)
{
    return AskAtPoint(*this, nX, nY, kUnset, &CKDRUnits::HitTestUnitValue);
}

CString CKDRDoc::GetHoverText(int nX, int nY, COLORREF& crBack)
{
    crBack = TOOLTIP_BACKGROUND;
    return AskAtPoint(*this, nX, nY, CString(), &CKDRUnits::GetHoverText);
}

CString CKDRDoc::GetHoverUnitText(int nX, int nY, COLORREF& crBack)
{
    crBack = TOOLTIP_BACKGROUND;
    return AskAtPoint(*this, nX, nY, CString(), &CKDRUnits::GetHoverUnitText);
}

CTaskOrgArray* CKDRDoc::SelectUnitsInRect(const CRect& rcPicture)
{
    CKDRUnits* pUnits = GetUnits();
    CKDRGameMap* pMap = GetGameMap();
    if (pUnits == nullptr || pMap == nullptr)
        return nullptr;
    float fLeft = 0, fTop = 0, fRight = 0, fBottom = 0;
    if (!RectToMap(pMap, rcPicture, fLeft, fTop, fRight, fBottom))
        return nullptr;
    return pUnits->SelectUnitsInRect(fLeft, fTop, fRight, fBottom, pMap);
}

// ---------------------------------------------------------------------------
// Units: queries

CUnit* CKDRDoc::GetUnitForPopup(int nUnit, int nArray, int nKind)
{
    CKDRUnits* pUnits = GetUnits();
    if (pUnits == nullptr || GetDatabase() == nullptr)
        return nullptr;
    return pUnits->GetUnit(nUnit, nArray, nKind);
}

BOOL CKDRDoc::CanUnitFireMission(int nUnit, int nArray, int nKind)
{
    CUnit* pUnit = GetUnitForPopup(nUnit, nArray, nKind);
    return pUnit != nullptr && pUnit->CanFireMission(GetDatabase()) != 0;
}

BOOL CKDRDoc::CanSelectionFireMission(const CTaskOrgArray* pSelection)
{
    CKDRUnits* pUnits = GetUnits();
    if (pUnits == nullptr || GetDatabase() == nullptr || pSelection == nullptr)
        return FALSE;
    for (int i = 0; i < pSelection->GetSize(); ++i)
    {
        const CTaskOrg* pEntry = pSelection->GetAt(i);
        if (pEntry == nullptr || pEntry->GetType() != 0)
            continue;
        CUnit* pUnit = pUnits->GetUnit(pEntry->m_nUnit, pEntry->m_nArray, pSelection->m_nSide);
        if (pUnit != nullptr && pUnit->CanFireMission(GetDatabase()))
            return TRUE;
    }
    return FALSE;
}

CNodeArray* CKDRDoc::GetUnitPath(int nUnit, int nArray, int nKind)
{
    CKDRUnits* pUnits = GetUnits();
    if (pUnits == nullptr || GetDatabase() == nullptr)
        return nullptr;
    return pUnits->GetUnitPath(nUnit, nArray, nKind);
}

BOOL CKDRDoc::HasUnitSelection() { return AskUnits(*this, false, &CKDRUnits::HasUnitSelection); }

BOOL CKDRDoc::IsFireMissionLogOpen() { return AskUnits(*this, false, &CKDRUnits::IsFireMissionLogOpen); }

BOOL CKDRDoc::IsHierarchyTreeOpen() { return AskUnits(*this, false, &CKDRUnits::IsHierarchyTreeOpen); }

BOOL CKDRDoc::HasUnitsOfKind(int nKind) { return AskUnits(*this, false, &CKDRUnits::HasUnitsOfKind, nKind); }

int CKDRDoc::GetSelectionActions() { return AskUnits(*this, 0, &CKDRUnits::GetSelectionActions); }

CString CKDRDoc::GetSelectedInfo() { return AskUnits(*this, CString(), &CKDRUnits::GetSelectedInfo); }

CString CKDRDoc::GetSelectedSOP() { return AskUnits(*this, CString(), &CKDRUnits::GetSelectedSOP); }

CString CKDRDoc::GetMissionNames() { return AskUnits(*this, CString(), &CKDRUnits::GetMissionNames); }

CString CKDRDoc::GetCompanyFormationNames() { return AskUnits(*this, CString(), &CKDRUnits::GetCompanyFormationNames); }

CString CKDRDoc::GetPlatoonFormation() { return AskUnits(*this, CString(), &CKDRUnits::GetPlatoonFormation); }

BOOL CKDRDoc::IsSOPSetForPlatoon(int nItem) { return AskUnits(*this, false, &CKDRUnits::IsSOPSetForPlatoon, nItem); }

BOOL CKDRDoc::IsSOPSetForCompany(int nItem) { return AskUnits(*this, false, &CKDRUnits::IsSOPSetForCompany, nItem); }

int CKDRDoc::IsOrderItemChecked(int nItem, int& nValue)
{
    nValue = 0;
    CKDRUnits* pUnits = GetUnits();
    return pUnits != nullptr ? pUnits->IsOrderItemChecked(nItem, nValue) : 0;
}

// ---------------------------------------------------------------------------
// Units: orders

namespace
{
// The after-effects of a successful edit.
int Modified(CKDRDoc& doc, int nResult)
{
    if (nResult)
        doc.SetModifiedFlag(TRUE);
    return nResult;
}

int MovedUnits(CKDRDoc& doc, int nResult)
{
    if (nResult)
    {
        doc.ReassignOccupants();
        doc.SetModifiedFlag(TRUE);
    }
    return nResult;
}
}  // namespace

int CKDRDoc::SetSelectionTACSOP(int nItem)
{
    auto c = Ready(*this);
    return c ? Modified(*this, c.pUnits->SetSelectionTACSOP(nItem, c.pMap, c.pDatabase)) : 0;
}

int CKDRDoc::SetSelectionMission(int nMission)
{
    auto c = Ready(*this);
    return c ? Modified(*this, c.pUnits->SetSelectionMission(nMission, c.pMap, c.pDatabase)) : 0;
}

int CKDRDoc::SetCompanyFormation(int nFormation)
{
    auto c = Ready(*this);
    return c ? Modified(*this, c.pUnits->SetCompanyFormation(nFormation, c.pMap, c.pDatabase)) : 0;
}

int CKDRDoc::SetPlatoonFormation(int nFormation)
{
    auto c = Ready(*this);
    return c ? Modified(*this, c.pUnits->SetPlatoonFormation(nFormation, c.pMap, c.pDatabase)) : 0;
}

int CKDRDoc::ApplyOrderToPlatoon(int nOrder)
{
    auto c = Ready(*this);
    return c ? Modified(*this, c.pUnits->ApplyOrderToPlatoon(nOrder, c.pMap, c.pDatabase)) : 0;
}

int CKDRDoc::ApplyOrderToCompany(int nOrder)
{
    auto c = Ready(*this);
    return c ? Modified(*this, c.pUnits->ApplyOrderToCompany(nOrder, c.pMap, c.pDatabase)) : 0;
}

int CKDRDoc::IssueElementOrder(CHierarchyElement* pElement, int nOrder)
{
    auto c = Ready(*this);
    if (!c)
        return 0;
    return Modified(*this,
                    c.pUnits->IssueElementOrder(pElement, nOrder, c.pMap, c.pDatabase, GetObstacles(), GetHoles()));
}

int CKDRDoc::IssueElementOrderB(CHierarchyElement* pElement, int nOrder)
{
    auto c = Ready(*this);
    if (!c)
        return 0;
    return Modified(*this,
                    c.pUnits->IssueElementOrderB(pElement, nOrder, c.pMap, c.pDatabase, GetObstacles(), GetHoles()));
}

int CKDRDoc::ApplyCompanyOrderFromElement(CHierarchyElement* pElement)
{
    auto c = Ready(*this);
    if (!c || pElement == nullptr)
        return 0;
    std::unique_ptr<CTaskOrgArray> pList = UnitsOfElement(pElement);
    return c.pUnits->ApplyOrderToElement(pList.get(), ORDER_BIT_MARCH_SPEED, c.pMap, c.pDatabase, GetObstacles(),
                                         GetHoles(), kUnsetFloat, kUnsetFloat, kUnsetFloat);
}

int CKDRDoc::ToggleOrderBitForList(const CTaskOrgArray* pList, DWORD dwBit, float fX, float fY, BOOL bUnitsToo)
{
    auto c = Ready(*this);
    if (!c || pList == nullptr)
        return 0;
    CHierarchyArray hierarchy(*pList, c.pUnits);
    int nResult = 0;
    if (hierarchy.GetSize() == 0)
    {
        nResult = c.pUnits->ToggleOrderForSelection(pList, dwBit, fX, fY, c.pMap, c.pDatabase);
    }
    else
    {
        nResult = hierarchy.ToggleOrderBit(dwBit);
        if (bUnitsToo)
        {
            CTaskOrgArray units;
            hierarchy.FillTaskOrg(units);
            units.m_nSide = pList->m_nSide;
            nResult = c.pUnits->ToggleOrderForSelection(&units, dwBit, fX, fY, c.pMap, c.pDatabase);
            if (dwBit == ORDER_BIT_FOLLOW_UP)
                c.pUnits->FollowUpOrderToggle(&units, c.pMap, c.pDatabase);
        }
    }
    return MovedUnits(*this, nResult);
}

int CKDRDoc::ToggleDismountForList(const CTaskOrgArray* pList)
{
    return ToggleOrderBitForList(pList, ORDER_BIT_DISMOUNT, kUnsetFloat, kUnsetFloat);
}

int CKDRDoc::ToggleSuppressForElement(CHierarchyElement* pElement)
{
    if (!Ready(*this) || pElement == nullptr)
        return 0;
    std::unique_ptr<CTaskOrgArray> pList = UnitsOfElement(pElement);
    return Modified(*this, ToggleOrderBitForList(pList.get(), ORDER_BIT_SUPPRESS, kUnsetFloat, kUnsetFloat));
}

int CKDRDoc::ToggleFireControlForElement(CHierarchyElement* pElement, BOOL bSecond)
{
    auto c = Ready(*this);
    if (!c || pElement == nullptr)
        return 0;
    std::unique_ptr<CTaskOrgArray> pList = UnitsOfElement(pElement);
    return c.pUnits->ToggleOrderForSelection(pList.get(),
                                             bSecond ? ORDER_BIT_FIRE_CONTROL_SECOND : ORDER_BIT_FIRE_CONTROL,
                                             kUnsetFloat, kUnsetFloat, c.pMap, c.pDatabase);
}

int CKDRDoc::DragUnit(CTaskOrgArray* pSelection, float fX, float fY)
{
    auto c = Ready(*this);
    if (!c)
        return 0;
    return MovedUnits(*this, c.pUnits->DragUnits(pSelection, fX, fY, c.pMap, c.pDatabase, GetObstacles(), GetHoles()));
}

int CKDRDoc::EndUnitDrag(CTaskOrgArray* pSelection, float fX, float fY)
{
    auto c = Ready(*this);
    if (!c)
        return 0;
    return MovedUnits(*this,
                      c.pUnits->EndUnitDrag(pSelection, fX, fY, c.pMap, c.pDatabase, GetObstacles(), GetHoles()));
}

int CKDRDoc::PasteUnits(CTaskOrgArray* pSelection, float fX, float fY)
{
    auto c = Ready(*this);
    if (!c)
        return 0;
    return MovedUnits(*this, c.pUnits->PasteUnits(pSelection, fX, fY, c.pMap, c.pDatabase, GetObstacles(), GetHoles()));
}

int CKDRDoc::PasteOrdersToUnit(int nUnit, int nArray, int nKind)
{
    auto c = Ready(*this);
    return c ? MovedUnits(*this, c.pUnits->PasteOrdersToUnit(nUnit, nArray, nKind, c.pMap, c.pDatabase)) : 0;
}

int CKDRDoc::DismountUnits(CTaskOrgArray* pSelection)
{
    auto c = Ready(*this);
    return c ? MovedUnits(*this, c.pUnits->DismountUnits(pSelection, c.pMap, c.pDatabase)) : 0;
}

int CKDRDoc::ApplyOrderToSelection(CTaskOrgArray* pSelection, DWORD dwOrder, float fX, float fY)
{
    auto c = Ready(*this);
    if (!c)
        return 0;
    return MovedUnits(*this, c.pUnits->ApplyOrderToSelection(pSelection, dwOrder, fX, fY, c.pMap, c.pDatabase,
                                                             GetObstacles(), GetHoles()));
}

int CKDRDoc::SetUnitPathFromClick(int nUnit, int nArray, int nKind, float fX, float fY)
{
    auto c = Ready(*this);
    if (!c)
        return 0;
    return MovedUnits(*this, c.pUnits->SetUnitPathFromClick(nUnit, nArray, nKind, fX, fY, c.pMap, c.pDatabase,
                                                            GetObstacles(), GetHoles()));
}

int CKDRDoc::AssignUnitRoute(int nUnit, int nArray, int nKind)
{
    auto c = Ready(*this);
    return c ? MovedUnits(*this, c.pUnits->AssignUnitRoute(nUnit, nArray, nKind, c.pMap, c.pDatabase)) : 0;
}

int CKDRDoc::ToggleUnitOverlay(int nUnit, int nArray, int nKind, int nOverlay)
{
    auto c = Ready(*this);
    if (!c)
        return 0;
    return MovedUnits(*this, c.pUnits->ToggleUnitOverlay(nUnit, nArray, nKind, nOverlay, c.pMap, c.pDatabase));
}

int CKDRDoc::ApplyElementPathEdit(const CString& strElement, float fX, float fY)
{
    auto c = Ready(*this);
    return c ? MovedUnits(*this, c.pUnits->ApplyElementPathEdit(strElement, fX, fY, c.pMap, c.pDatabase)) : 0;
}

int CKDRDoc::MountSelectionOnCarrier(CTaskOrgArray* pCarried, CTaskOrgArray* pCarrier)
{
    auto c = Ready(*this);
    CKDRApp* pApp = GetKDRApp();
    if (!c || pApp == nullptr || pCarried == nullptr || pCarrier == nullptr)
        return 0;
    int nResult = 0;
    if (!pApp->IsDeploymentPhase())
    {
        CHierarchyArray carried(*pCarried, c.pUnits);
        CHierarchyArray carrier(*pCarrier, c.pUnits);
        CUOrdMount order;
        nResult = c.pUnits->IssueMountOrder(&carried, &carrier, &order, c.pMap, c.pDatabase);
    }
    else
    {
        nResult = c.pUnits->MountUnits(pCarried, pCarrier, c.pMap, c.pDatabase);
        if (nResult)
        {
            // The platoons that lost or gained units stand in formation again.
            CHierarchyArray affected(*pCarried, c.pUnits);
            for (int i = 0; i < affected.GetSize(); ++i)
            {
                if (auto* pPlatoon = dynamic_cast<CHierarchyPlatoon*>(affected.GetAt(i)))
                    pPlatoon->ReapplyFormation();
            }
        }
    }
    return MovedUnits(*this, nResult);
}

int CKDRDoc::DeployMinesAtPoint(CTaskOrgArray* pSelection, float fX, float fY)
{
    auto c = Ready(*this);
    return c ? c.pUnits->DeployMinesAtPoint(pSelection, fX, fY, c.pMap, c.pDatabase) : 0;
}

int CKDRDoc::UploadAtPoint(CTaskOrgArray* pSelection, float fX, float fY)
{
    auto c = Ready(*this);
    return c ? c.pUnits->UploadAtPoint(pSelection, fX, fY, c.pMap, c.pDatabase) : 0;
}

int CKDRDoc::AssignFireMissionAtPoint(CTaskOrgArray* pSelection, float fX, float fY)
{
    auto c = Ready(*this);
    return c ? c.pUnits->AssignFireMissionAtPoint(pSelection, fX, fY, c.pMap, c.pDatabase) : 0;
}

namespace
{
// The unit of a fire-control operation: units and database present.
CUnit* FireControlUnit(CKDRDoc& doc, int nUnit, int nArray, int nKind)
{
    CKDRUnits* pUnits = doc.GetUnits();
    if (pUnits == nullptr || doc.GetDatabase() == nullptr)
        return nullptr;
    return pUnits->GetUnit(nUnit, nArray, nKind);
}

// Calls fn for every plain entry's unit of a selection; the number of
// successes.
template <class Fn>
int ForSelectionUnits(CKDRDoc& doc, const CTaskOrgArray* pSelection, Fn fn)
{
    CKDRUnits* pUnits = doc.GetUnits();
    if (pUnits == nullptr || doc.GetDatabase() == nullptr || pSelection == nullptr)
        return 0;
    int nDone = 0;
    for (int i = 0; i < pSelection->GetSize(); ++i)
    {
        const CTaskOrg* pEntry = pSelection->GetAt(i);
        if (pEntry == nullptr || pEntry->GetType() != 0)
            continue;
        if (CUnit* pUnit = pUnits->GetUnit(pEntry->m_nUnit, pEntry->m_nArray, pSelection->m_nSide))
            nDone += fn(pUnit) ? 1 : 0;
    }
    return nDone;
}
}  // namespace

int CKDRDoc::AssignFireMissionTarget(int nUnit, int nArray, int nKind, float fX, float fY)
{
    CUnit* pUnit = FireControlUnit(*this, nUnit, nArray, nKind);
    return pUnit != nullptr ? Modified(*this, pUnit->AssignFireMissionTarget(fX, fY, GetDatabase())) : 0;
}

int CKDRDoc::DeleteFireControl(int nUnit, int nArray, int nKind)
{
    CUnit* pUnit = FireControlUnit(*this, nUnit, nArray, nKind);
    return pUnit != nullptr ? Modified(*this, pUnit->DeleteFireControl()) : 0;
}

int CKDRDoc::DeleteFireControlOfSelection(const CTaskOrgArray* pSelection)
{
    return Modified(*this,
                    ForSelectionUnits(*this, pSelection, [](CUnit* pUnit) { return pUnit->DeleteFireControl(); }));
}

int CKDRDoc::PasteFireControl(int nUnit, int nArray, int nKind)
{
    CUnit* pUnit = FireControlUnit(*this, nUnit, nArray, nKind);
    return pUnit != nullptr ? Modified(*this, pUnit->PasteFireControl(GetDatabase())) : 0;
}

int CKDRDoc::PasteFireControlToSelection(const CTaskOrgArray* pSelection)
{
    CKDRDatabase* pDatabase = GetDatabase();
    return Modified(*this, ForSelectionUnits(*this, pSelection,
                                             [pDatabase](CUnit* pUnit) { return pUnit->PasteFireControl(pDatabase); }));
}

int CKDRDoc::SetSuppressAreaAt(int nUnit, int nArray, int nKind, float fX, float fY)
{
    CUnit* pUnit = FireControlUnit(*this, nUnit, nArray, nKind);
    return pUnit != nullptr ? Modified(*this, pUnit->SetSuppressAreaAt(fX, fY, GetDatabase())) : 0;
}

int CKDRDoc::ClearSuppressArea(int nUnit, int nArray, int nKind)
{
    CUnit* pUnit = FireControlUnit(*this, nUnit, nArray, nKind);
    return pUnit != nullptr ? Modified(*this, pUnit->ClearSuppressArea()) : 0;
}

int CKDRDoc::ClearUnitFireControl(int nArray, int nUnit, int nKind, int nControl)
{
    CUnit* pUnit = FireControlUnit(*this, nUnit, nArray, nKind);
    return pUnit != nullptr ? MovedUnits(*this, pUnit->ClearFireControl(nControl)) : 0;
}

BOOL CKDRDoc::RefreshFireMissionLog()
{
    auto c = Ready(*this);
    if (!c || GetFireMissions() == nullptr)
        return FALSE;
    c.pUnits->RefreshFireMissionLog();
    return TRUE;
}

// ---------------------------------------------------------------------------
// Units: hierarchy elements by name

CNodeArray* CKDRDoc::ResetElementPath(const CString& strName)
{
    CKDRUnits* pUnits = GetUnits();
    if (pUnits == nullptr)
        return nullptr;
    CHierarchyElement* pElement = pUnits->FindElementByName(strName);
    if (pElement == nullptr)
        return nullptr;
    if (pElement->m_bPathSet)
        pElement->ResetPathToPosition();
    return pElement->GetPath();
}

BOOL CKDRDoc::GetElementPoint(const CString& strName, float& fX, float& fY)
{
    fX = kUnsetFloat;
    fY = kUnsetFloat;
    CKDRUnits* pUnits = GetUnits();
    if (pUnits == nullptr)
        return FALSE;
    CHierarchyElement* pElement = pUnits->FindElementByName(strName);
    return pElement != nullptr && pElement->GetPoint(fX, fY);
}

CHierarchyElement* CKDRDoc::GetSelectedElement(const CString& strName)
{
    CKDRUnits* pUnits = GetUnits();
    return pUnits != nullptr ? pUnits->FindElementByName(strName) : nullptr;
}

BOOL CKDRDoc::ApplyIconStyle() { return RunWithUnits(*this, &CKDRUnits::ApplyIconStyle); }

BOOL CKDRDoc::ApplyIconSize() { return RunWithUnits(*this, &CKDRUnits::ApplyIconSize); }

// ---------------------------------------------------------------------------
// Units: network, AI orders, windows and groups

int CKDRDoc::SendUnitsUpdate() { return AskUnits(*this, 0, &CKDRUnits::SendUnitsUpdate); }

int CKDRDoc::CaptureUnitsUpdate(const BYTE* pData, int nLength)
{
    auto c = Ready(*this);
    return c ? c.pUnits->CaptureUnitsUpdate(pData, nLength, c.pMap, c.pDatabase) : 0;
}

int CKDRDoc::ReceiveShotsFired(const BYTE* pData, int nLength)
{
    auto c = Ready(*this);
    return c ? c.pUnits->ReceiveShotsFired(pData, nLength, c.pMap, c.pDatabase) : 0;
}

int CKDRDoc::ReceiveUnitDestroyed(const BYTE* pData, int nLength)
{
    auto c = Ready(*this);
    return c ? c.pUnits->ReceiveUnitDestroyed(pData, nLength, c.pMap, c.pDatabase) : 0;
}

int CKDRDoc::ApplyAIOrderSheet() { return AskUnits(*this, 0, &CKDRUnits::ApplyAIOrderSheet); }

int CKDRDoc::ApplyAIOrder() { return AskUnits(*this, 0, &CKDRUnits::ApplyAIOrder); }

int CKDRDoc::ResetAIOrderEdit() { return AskUnits(*this, 0, &CKDRUnits::ResetAIOrderEdit); }

int CKDRDoc::OnMessageBoxClosed() { return AskUnits(*this, 0, &CKDRUnits::OnMessageBoxClosed); }

int CKDRDoc::PassSelectionToPlayer(CTaskOrgArray* pSelection, int nPlayer)
{
    auto c = Ready(*this);
    if (!c)
        return 0;
    ReassignOccupants();
    int nResult = c.pUnits->PassUnits(pSelection, nPlayer, c.pMap, c.pDatabase);
    if (CKDRHoles* pHoles = GetHoles())
        nResult |= pHoles->SendHolesToPlayer(nPlayer, pSelection);
    if (CKDRObstacles* pObstacles = GetObstacles())
        nResult |= pObstacles->SendObstaclesToPlayer(nPlayer, pSelection);
    return nResult;
}

BOOL CKDRDoc::OnHierarchyTreeClosed()
{
    CKDRUnits* pUnits = GetUnits();
    if (pUnits == nullptr)
        return FALSE;
    pUnits->ClearHierarchyTreeShown();
    UpdateAllViews(nullptr, KDR_HINT_HIERARCHY_TREE_CLOSED);
    return TRUE;
}

int CKDRDoc::CallWithUnits(CUnitsCallback* pObject, int nArg)
{
    CKDRUnits* pUnits = GetUnits();
    if (pUnits == nullptr || pObject == nullptr)
        return 0;
    return pObject->CallWithUnits(pUnits, nArg);
}

int CKDRDoc::StoreTaskOrgGroup(int n, const CTaskOrgArray* pList)
{
    // The groups are the ten number keys; they group units, so they need
    // the units too.
    if (GetUnits() == nullptr || m_pTaskOrgGroups == nullptr || pList == nullptr || n < 0 || n > 9)
        return 0;
    auto* pCopy = new CTaskOrgArray(*pList);
    pCopy->m_nId = n;
    m_pTaskOrgGroups->SetList(pCopy);
    SetModifiedFlag(TRUE);
    return 1;
}

int CKDRDoc::RecallTaskOrgGroup(int n, CTaskOrgArray*& pList)
{
    pList = nullptr;
    CKDRUnits* pUnits = GetUnits();
    if (pUnits == nullptr || m_pTaskOrgGroups == nullptr)
        return 0;
    const int nIndex = m_pTaskOrgGroups->FindById(n);
    if (nIndex < 0)
        return 0;
    CTaskOrgArray* pGroup = m_pTaskOrgGroups->GetAt(nIndex);
    if (pGroup == nullptr)
        return 0;
    pUnits->ValidateTaskOrg(pGroup);
    if (pGroup->GetSize() == 0)
    {
        m_pTaskOrgGroups->RemoveAt(nIndex);
        return 0;
    }
    pList = new CTaskOrgArray(*pGroup);
    return 1;
}

// ---------------------------------------------------------------------------
// Dug positions and obstacles

BOOL CKDRDoc::DrawHoles()
{
    CKDRHoles* pHoles = GetHoles();
    if (pHoles == nullptr || GetGameMap() == nullptr)
        return FALSE;
    pHoles->DrawHoles(GetUnits(), GetGameMap());
    return TRUE;
}

BOOL CKDRDoc::DrawSelectedHoles(CTaskOrgArray* pList)
{
    CKDRHoles* pHoles = GetHoles();
    if (pHoles == nullptr || GetGameMap() == nullptr)
        return FALSE;
    pHoles->DrawSelected(pList, GetGameMap(), 0);
    return TRUE;
}

BOOL CKDRDoc::HighlightSelectedHoles(CTaskOrgArray* pList)
{
    CKDRHoles* pHoles = GetHoles();
    if (pHoles == nullptr || GetGameMap() == nullptr)
        return FALSE;
    pHoles->DrawSelected(pList, GetGameMap(), 1);
    return TRUE;
}

BOOL CKDRDoc::DrawObstacles()
{
    CKDRObstacles* pObstacles = GetObstacles();
    if (pObstacles == nullptr || GetGameMap() == nullptr)
        return FALSE;
    pObstacles->DrawAllOnMapSurface(GetGameMap());
    return TRUE;
}

BOOL CKDRDoc::DrawSelectedObstacles(CTaskOrgArray* pList)
{
    CKDRObstacles* pObstacles = GetObstacles();
    if (pObstacles == nullptr || GetGameMap() == nullptr)
        return FALSE;
    pObstacles->DrawSelected(pList, GetGameMap(), 0);
    return TRUE;
}

BOOL CKDRDoc::HighlightSelectedObstacles(CTaskOrgArray* pList)
{
    CKDRObstacles* pObstacles = GetObstacles();
    if (pObstacles == nullptr || GetGameMap() == nullptr)
        return FALSE;
    pObstacles->DrawSelected(pList, GetGameMap(), 1);
    return TRUE;
}

namespace
{
BOOL InDeploymentPhase()
{
    CKDRApp* pApp = GetKDRApp();
    return pApp != nullptr && pApp->IsDeploymentPhase();
}
}  // namespace

int CKDRDoc::FindHoleAt(int nX, int nY, int& nSide)
{
    CKDRHoles* pHoles = GetHoles();
    if (pHoles == nullptr || GetGameMap() == nullptr || !InDeploymentPhase())
        return kUnset;
    return pHoles->FindHoleAtViewPoint(nX, nY, GetGameMap(), nSide);
}

int CKDRDoc::FindObstacleAt(float fX, float fY, int& nSide)
{
    CKDRObstacles* pObstacles = GetObstacles();
    if (pObstacles == nullptr || GetGameMap() == nullptr || !InDeploymentPhase())
        return kUnset;
    return pObstacles->FindObstacleAt(fX, fY, nSide, GetGameMap(), 0);
}

int CKDRDoc::MoveHole(int nIndex, int nSide, float fX, float fY)
{
    CKDRHoles* pHoles = GetHoles();
    if (pHoles == nullptr || GetGameMap() == nullptr || !InDeploymentPhase())
        return 0;
    return MovedUnits(*this, pHoles->MoveHole(nIndex, nSide, fX, fY, GetGameMap()));
}

int CKDRDoc::MoveObstacle(int nIndex, int nSide, float fX, float fY)
{
    CKDRObstacles* pObstacles = GetObstacles();
    if (pObstacles == nullptr || GetGameMap() == nullptr || !InDeploymentPhase())
        return 0;
    return Modified(*this, pObstacles->MoveObstacle(nIndex, nSide, fX, fY, GetGameMap()));
}

CTaskOrgArray* CKDRDoc::SelectHolesInRect(const CRect& rcPicture)
{
    CKDRHoles* pHoles = GetHoles();
    if (pHoles == nullptr || GetGameMap() == nullptr || !InDeploymentPhase())
        return nullptr;
    float fLeft = 0, fTop = 0, fRight = 0, fBottom = 0;
    if (!RectToMap(GetGameMap(), rcPicture, fLeft, fTop, fRight, fBottom))
        return nullptr;
    CTaskOrgArray* pList = pHoles->SelectHolesInRect(fLeft, fTop, fRight, fBottom);
    MovedUnits(*this, pList != nullptr);
    return pList;
}

CTaskOrgArray* CKDRDoc::SelectObstaclesInRect(const CRect& rcPicture)
{
    CKDRObstacles* pObstacles = GetObstacles();
    if (pObstacles == nullptr || GetGameMap() == nullptr || !InDeploymentPhase())
        return nullptr;
    float fLeft = 0, fTop = 0, fRight = 0, fBottom = 0;
    if (!RectToMap(GetGameMap(), rcPicture, fLeft, fTop, fRight, fBottom))
        return nullptr;
    CTaskOrgArray* pList = pObstacles->SelectObstaclesInRect(fLeft, fTop, fRight, fBottom);
    Modified(*this, pList != nullptr);
    return pList;
}

int CKDRDoc::PlaceHolesOfSelection(CTaskOrgArray* pList, float fFromX, float fFromY, float fToX, float fToY)
{
    CKDRHoles* pHoles = GetHoles();
    if (pHoles == nullptr || GetGameMap() == nullptr)
        return 0;
    return MovedUnits(*this, pHoles->PlaceHolesOfSelection(pList, fFromX, fFromY, fToX, fToY, GetGameMap()));
}

int CKDRDoc::EditSelectedHole(CTaskOrgArray* pList)
{
    CKDRHoles* pHoles = GetHoles();
    if (pHoles == nullptr || GetGameMap() == nullptr)
        return 0;
    return MovedUnits(*this, pHoles->EditSelectedHole(pList));
}

int CKDRDoc::EditHole(int nIndex, int nSide)
{
    CKDRHoles* pHoles = GetHoles();
    if (pHoles == nullptr || GetGameMap() == nullptr)
        return 0;
    return MovedUnits(*this, pHoles->EditHole(nIndex, nSide, GetGameMap()));
}

int CKDRDoc::EditSelectedObstacle(CTaskOrgArray* pList)
{
    CKDRObstacles* pObstacles = GetObstacles();
    if (pObstacles == nullptr || GetGameMap() == nullptr)
        return 0;
    return Modified(*this, pObstacles->EditSelectedObstacle(pList, GetGameMap()));
}

int CKDRDoc::EditObstacle(int nIndex, int nSide)
{
    CKDRObstacles* pObstacles = GetObstacles();
    if (pObstacles == nullptr || GetGameMap() == nullptr)
        return 0;
    return Modified(*this, pObstacles->EditObstacle(nIndex, nSide, GetGameMap()));
}

int CKDRDoc::HandleObstacleSelection(CTaskOrgArray* pList, float fFromX, float fFromY, float fToX, float fToY)
{
    CKDRObstacles* pObstacles = GetObstacles();
    if (pObstacles == nullptr || GetGameMap() == nullptr)
        return 0;
    return Modified(*this, pObstacles->MoveSelected(pList, fFromX, fFromY, fToX, fToY, GetGameMap()));
}

CString CKDRDoc::GetObstacleName(float fX, float fY)
{
    // A name asked for changes nothing: the document stays as it was.
    CKDRObstacles* pObstacles = GetObstacles();
    if (pObstacles == nullptr || GetGameMap() == nullptr)
        return CString();
    return pObstacles->GetObstacleName(fX, fY, GetGameMap());
}

BOOL CKDRDoc::UpdateOwnSideObstacles()
{
    CKDRObstacles* pObstacles = GetObstacles();
    if (pObstacles == nullptr)
        return FALSE;
    pObstacles->UpdateOwnSide(GetGameMap());
    return TRUE;
}

BOOL CKDRDoc::UpdateOtherSideObstacles()
{
    CKDRObstacles* pObstacles = GetObstacles();
    if (pObstacles == nullptr)
        return FALSE;
    pObstacles->UpdateOtherSides(GetGameMap());
    return TRUE;
}

namespace
{
// The obstacle component, made (present) when the mission has none yet.
CKDRObstacles* ObstaclesCreatedWhenAbsent(CKDRDoc& doc)
{
    if (doc.GetObstacles() == nullptr)
        doc.SetObstacles(new CKDRObstacles);
    return doc.GetObstacles();
}
}  // namespace

int CKDRDoc::PlaceObstacleAndSend(float fWidth, float fLength, int nDensity, float fX, float fY, float fAttitude,
                                  int nSide, int nUnit, int nArray)
{
    CKDRGameMap* pMap = GetGameMap();
    if (pMap == nullptr)
        return 0;
    CKDRObstacles* pObstacles = ObstaclesCreatedWhenAbsent(*this);
    int nIndex = kUnset;
    int nFoundSide = kUnset;
    const int nResult =
        pObstacles->PlaceObstacle(fWidth, fLength, nDensity, fX, fY, fAttitude, nSide, pMap, nIndex, nFoundSide);
    if (CKDRUnits* pUnits = GetUnits())
        pUnits->OnMinesLaid(nUnit, nArray, nIndex, nFoundSide);
    if (IsMultiplayerWithSession(GetKDRApp()))
    {
        CNetUpdateDocument record;
        record.Send();
    }
    return nResult;
}

int CKDRDoc::ApplyFASCAMImpact(CFireMission* pMission)
{
    CKDRGameMap* pMap = GetGameMap();
    CKDRDatabase* pDatabase = GetDatabase();
    if (pMap == nullptr || pDatabase == nullptr || pMission == nullptr)
        return 0;
    float fWidth = 0, fLength = 0;
    int nDensity = 0, bLimited = 0, nDuration = 0;
    if (!pMission->GetFASCAMParameters(pDatabase, fWidth, fLength, nDensity, bLimited, nDuration))
        return 0;
    CKDRObstacles* pObstacles = ObstaclesCreatedWhenAbsent(*this);
    int nIndex = kUnset;
    int nFoundSide = kUnset;
    const int nResult = pObstacles->PlaceObstacle(fWidth, fLength, nDensity, pMission->m_fImpactX, pMission->m_fImpactY,
                                                  pMission->m_fAttitude, pMission->m_nSide, pMap, nIndex, nFoundSide);
    if (CKDRUnits* pUnits = GetUnits(); pUnits != nullptr && pMission->m_nUnit != kUnset)
        pUnits->OnMinesLaid(pMission->m_nUnit, pMission->m_nArray, nIndex, nFoundSide);
    return nResult;
}

int CKDRDoc::ApplyChemicalImpact(CFireMission* pMission)
{
    CKDRGameMap* pMap = GetGameMap();
    CKDRDatabase* pDatabase = GetDatabase();
    if (pMap == nullptr || pDatabase == nullptr || pMission == nullptr)
        return 0;
    float fRadius = 0;
    int nDensity = 0, nDuration = 0;
    if (!pMission->GetChemParameters(pDatabase, fRadius, nDensity, nDuration))
        return 0;
    CKDRObstacles* pObstacles = ObstaclesCreatedWhenAbsent(*this);
    return pObstacles->PlaceChemArea(fRadius, nDensity, nDuration, pMission->m_fImpactX, pMission->m_fImpactY,
                                     pMission->m_nSide, pMap);
}

int CKDRDoc::ReceiveObstacles(const BYTE* pData, int nLength)
{
    CKDRObstacles* pObstacles = GetObstacles();
    if (pObstacles == nullptr || GetGameMap() == nullptr || pData == nullptr || nLength < RECORD_TYPE_BYTES)
        return 0;
    return pObstacles->ApplyObstacleRecord(pData, nLength);
}

int CKDRDoc::ReceiveHoles(const BYTE* pData, int nLength)
{
    CKDRHoles* pHoles = GetHoles();
    if (pHoles == nullptr || GetGameMap() == nullptr || pData == nullptr || nLength < RECORD_TYPE_BYTES)
        return 0;
    return pHoles->ApplyHoleRecord(pData, nLength);
}

int CKDRDoc::ReceiveStateRecord(const BYTE* pData, int nLength)
{
    // The routing word is the second double word: a record too short to
    // hold it is not read at all.
    if (GetGameMap() == nullptr || pData == nullptr || nLength < RECORD_ROUTING_BYTES)
        return 0;
    if (SecondDoubleWord(pData) == 0)
    {
        if (m_pSmoke == nullptr)
            return 0;
        CNetUpdateDocument record;
        return record.Receive(pData, nLength, m_pSmoke, nullptr);
    }
    CKDRObstacles* pObstacles = GetObstacles();
    return pObstacles != nullptr ? pObstacles->ApplyStateRecord(pData, nLength) : 0;
}

int CKDRDoc::ReceiveBreach(const BYTE* pData, int nLength)
{
    CKDRGameMap* pMap = GetGameMap();
    if (pMap == nullptr || pData == nullptr || nLength < RECORD_ROUTING_BYTES)
        return 0;
    if (SecondDoubleWord(pData) == 0)
    {
        pMap->ApplyBreachRecord(pData, nLength);
        return 1;
    }
    CKDRObstacles* pObstacles = GetObstacles();
    return pObstacles != nullptr ? pObstacles->ApplyBreachRecord(pData, nLength) : 0;
}

int CKDRDoc::ReceivePassedObjects(const BYTE* pData, int nLength, int nType)
{
    if (GetGameMap() == nullptr || pData == nullptr || nType < PASSED_OBJECTS_FIRST_TYPE ||
        nType > PASSED_OBJECTS_LAST_TYPE)
        return 0;
    // Each component unpacks only the hand-over records of its own kind.
    if (CKDRObstacles* pObstacles = GetObstacles())
        pObstacles->UnpackPassedObstacles(pData, nLength);
    if (CKDRHoles* pHoles = GetHoles())
        pHoles->UnpackPassedHoles(pData, nLength);
    ReassignOccupants();
    UpdateAllViews(nullptr, KDR_HINT_OBJECTS_REPLACED);
    return 1;
}

int CKDRDoc::ApplyReceivedState(CNetUpdate* pRecord)
{
    if (pRecord == nullptr)
        return 0;
    CObject* pTarget = nullptr;
    switch (pRecord->GetKind())
    {
    case RECORD_KIND_OBSTACLES: pTarget = GetObstacles(); break;
    case RECORD_KIND_HOLES: pTarget = GetHoles(); break;
    default: pTarget = GetUnits(); break;
    }
    if (pTarget == nullptr)
        return 0;
    pRecord->ApplyTo(pTarget);
    UpdateAllViews(nullptr, KDR_HINT_OBJECTS_REPLACED);
    ReassignOccupants();
    SetModifiedFlag(TRUE);
    UpdateAllViews(nullptr, KDR_HINT_STATE_RECEIVED);
    return 1;
}

// ---------------------------------------------------------------------------
// Game map, smoke, fire missions, light and others

BOOL CKDRDoc::GetMapPictureRect(CRect& rc)
{
    rc.SetRectEmpty();
    CKDRGameMap* pMap = GetGameMap();
    if (pMap == nullptr)
        return FALSE;
    return pMap->GetPictureRect(&rc);
}

int CKDRDoc::PictureToView(int nPX, int nPY, int* pVX, int* pVY)
{
    CKDRGameMap* pMap = GetGameMap();
    if (pMap == nullptr)
        return 0;
    return pMap->PictureToView(nPX, nPY, pVX, pVY);
}

BOOL CKDRDoc::HasMapPicture()
{
    CKDRGameMap* pMap = GetGameMap();
    return pMap != nullptr && (!pMap->m_strColorTiles.IsEmpty() || !pMap->m_strContourTiles.IsEmpty());
}

BOOL CKDRDoc::DrawSmoke()
{
    if (m_pSmoke == nullptr || GetGameMap() == nullptr)
        return FALSE;
    m_pSmoke->DrawAll(GetGameMap());
    return TRUE;
}

BOOL CKDRDoc::PrepareSmoke()
{
    if (m_pSmoke == nullptr || GetGameMap() == nullptr)
        return FALSE;
    m_pSmoke->PrepareAll(GetGameMap());
    return TRUE;
}

int CKDRDoc::AddSmokeFromImpact(CFireMission* pImpact)
{
    CKDRDatabase* pDatabase = GetDatabase();
    if (m_pSmoke == nullptr || pDatabase == nullptr || !pDatabase->HasVehicleList())
        return 0;
    return m_pSmoke->AddSmokeFromImpact(pImpact, pDatabase, GetGameMap());
}

int CKDRDoc::AddIllumFromImpact(CFireMission* pImpact)
{
    CKDRDatabase* pDatabase = GetDatabase();
    if (m_pSmoke == nullptr || pDatabase == nullptr || !pDatabase->HasVehicleList())
        return 0;
    return m_pSmoke->AddIllumFromImpact(pImpact, pDatabase, GetGameMap());
}

int CKDRDoc::AddSmokeAndSend(float fX, float fY, float fRadius, int nDuration, int nStrength)
{
    if (m_pSmoke == nullptr || GetGameMap() == nullptr)
        return 0;
    const int nResult = m_pSmoke->AddSmoke(fX, fY, fRadius, nDuration, nStrength, GetGameMap());
    if (IsMultiplayerWithSession(GetKDRApp()))
    {
        CNetUpdateDocument record;
        record.Send();
    }
    return nResult;
}

BOOL CKDRDoc::DrawFireMissionImpacts()
{
    CFireMissionArray* pRounds = GetFireMissions();
    if (pRounds == nullptr || GetGameMap() == nullptr)
        return FALSE;
    pRounds->DrawImpacts(GetGameMap());
    return TRUE;
}

int CKDRDoc::ReceiveFireMission(const BYTE* pData, int nLength)
{
    CFireMissionArray* pRounds = GetFireMissions();
    if (pRounds == nullptr || GetDatabase() == nullptr)
        return 0;
    return pRounds->ApplyFireRecord(pData, nLength, GetDatabase());
}

BOOL CKDRDoc::ShowVehicleSpecs(int nVehicle)
{
    CKDRDatabase* pDatabase = GetDatabase();
    if (pDatabase == nullptr || !pDatabase->HasVehicleList())
        return FALSE;
    pDatabase->ShowVehiclePage(nVehicle);
    return TRUE;
}

BOOL CKDRDoc::DrawOpordGraphics(int nLayer)
{
    CKDROpord* pOpord = GetOpord();
    if (pOpord == nullptr || !HasMapPicture())
        return FALSE;
    CGraphicArray* pLayer = nullptr;
    if (nLayer == 0 && pOpord->m_bGraphics0)
        pLayer = pOpord->m_pGraphics0;
    else if (nLayer == 1 && pOpord->m_bGraphics1)
        pLayer = pOpord->m_pGraphics1;
    if (pLayer == nullptr)
        return FALSE;
    pLayer->DrawAll(GetGameMap());
    return TRUE;
}

CString CKDRDoc::GetMainMissionName()
{
    CKDRMissions* pMissions = GetMissions();
    return pMissions != nullptr ? pMissions->GetMainMissionName() : CString();
}

BOOL CKDRDoc::IsOrderWindowOpen()
{
    CKDROpord* pOpord = GetOpord();
    if (pOpord == nullptr || !pOpord->m_bOrder || pOpord->m_pOrder == nullptr)
        return FALSE;
    return pOpord->m_pOrder->IsWindowOpen();
}

int CKDRDoc::ShowAIOrderMessageBox(const CString& strTitle, const CString& strText, float fX, float fY)
{
    if (GetGameMap() == nullptr)
        return 0;
    return ShowMessageBoxDlg(strTitle, strText, fX, fY);
}
