// The orders a player toggles on one unit (from its menus, the SOP toolbar,
// a selection or a node it reaches), the tests that enable their commands,
// the icons that show them, the fire controls, march speed and suppress
// area, and the small tests about emplacing, smoke, mines, ammunition and
// status that the menus and the hierarchy ask.
//
// Every operation refuses silently (0, -1 or no change) when the unit lacks
// the vehicle type, capability or database it needs, and a value that is
// not a number or lies outside its range changes nothing.

#include "units/Unit.h"

#include "database/KDRDatabase.h"
#include "database/Piece.h"
#include "database/PieceArray.h"
#include "database/VCapKinds.h"
#include "database/Vehicle.h"
#include "database/VehicleWeapon.h"
#include "orders/NodeArray.h"
#include "platform/ui/Display.h"
#include "shell/DrawService.h"
#include "units/UCapIndirectFire.h"
#include "units/UCapKinds.h"
#include "units/UnitCapability.h"
#include "units/UnitMoveSupport.h"
#include "units/UnitWeapon.h"

#include <cmath>
#include <memory>

using unit_move::FirstNode;
using unit_move::FirstNodeHasStop;
using unit_move::IsAircraft;
using unit_move::IsDeployment;
using unit_move::VehicleOf;

namespace
{
// The icon of each order bit a unit holds, by its catalogue name.
struct OrderIcon
{
    DWORD dwBit;
    const char* pszName;
};
constexpr OrderIcon kOrderIcons[] = {
    {UNIT_ORDER_STOP, "Stop Red"},
    {UNIT_ORDER_HOLD_FIRE, "Hold Fire Red"},
    {UNIT_ORDER_DEFILADE, "Defilade Grey"},
    {UNIT_ORDER_SPRINT, "Sprint Purple"},
    {UNIT_ORDER_SMOKE, "Smoke Grey"},
    {UNIT_ORDER_MAX_RANGE, "Max Range Blue"},
    {UNIT_ORDER_FIELD_OF_FIRE, "Field Of Fire Blue"},
    {UNIT_ORDER_MARCH_SPEED, "March Speed Green"},
    {UNIT_ORDER_HIDE_ON_CONTACT, "Hide On Contact Grey"},
    {UNIT_ORDER_ENGAGE_ON_CONTACT, "Engage On Contact Black"},
    // The catalogue's own spelling.
    {UNIT_ORDER_BYPASS_OBSTACLES, "Bypass Obastacles Green"},
    {UNIT_ORDER_DISMOUNT_ON_CONTACT, "Dismount On Contact Grey"},
    {UNIT_ORDER_DO_NOT_EMPLACE, "Do Not Emplace Blue"},
    {UNIT_ORDER_SUPPRESS, "Suppress Yellow"},
};
constexpr int kNoIcon = -1;

// Fire controls set from a map click: the farthest maximum range (metres),
// the mils per radian the field of fire is worked out with, and its
// half-width per metre of distance and its bounds (mils).
constexpr double kMaxRangeLimit = 1000.0;
constexpr double kMilsPerRadian = 1018.0;
constexpr double kHalfWidthPerMetre = 0.00125 * 3199.0;
constexpr double kMinHalfWidth = 1.0;
constexpr double kMaxHalfWidth = 3199.0;
constexpr double kMilsInCircle = 6400.0;

template <class T>
T* Capability(const CUnit& unit, DWORD dwType)
{
    return dynamic_cast<T*>(unit.FindCapability(dwType));
}

template <class T>
T* VehicleCapability(CVehicle* pVehicle, int nType)
{
    CVehicleCapArray* pCaps = pVehicle != nullptr ? pVehicle->GetCapabilities() : nullptr;
    return pCaps != nullptr ? dynamic_cast<T*>(pCaps->FindByType(nType)) : nullptr;
}

// A plain flag: set when clear unless bKeepClear, cleared when set unless
// bKeepSet.
void Toggle(BOOL& bFlag, BOOL bKeepSet, BOOL bKeepClear)
{
    if (bFlag)
    {
        if (!bKeepSet)
            bFlag = FALSE;
    }
    else if (!bKeepClear)
    {
        bFlag = TRUE;
    }
}

BOOL HasAmmunitionToGive(const CUCapDFAmmoCarrier* pCarrier)
{
    if (pCarrier == nullptr)
        return FALSE;
    for (const CAmmoEntry& entry : pCarrier->m_load)
    {
        if (entry.m_nNumber > 0)
            return TRUE;
    }
    return FALSE;
}

// Ready for the work done standing: at a stop node, dug in when it digs
// in at all, in the open and alive.
BOOL IsReadyToWork(const CUnit& unit)
{
    return unit.IsStoppedAtStopNode() && unit.IsEmplaced(FALSE) && !unit.IsCarried() && !unit.m_bDestroyed;
}
}  // namespace

BOOL CUnit::SetOrderState(DWORD dwBit, CKDRDatabase* pDatabase, BOOL bKeepSet, BOOL bKeepClear)
{
    CVehicle* pVehicle = VehicleOf(*this, pDatabase);
    if (pVehicle == nullptr)
        return FALSE;
    if (!CanExecuteOrder(dwBit, pDatabase))
    {
        // An order the unit cannot take may still be taken off it.
        bKeepSet = FALSE;
        bKeepClear = TRUE;
    }
    const DWORD dwAbilities = GetCapabilityMask();
    switch (dwBit)
    {
    case UNIT_ORDER_STOP:
        if (IsStoppedAtStopNode())
        {
            if (!bKeepSet && m_pPath->GetSize() > 0)
                ClearStop(pDatabase, FALSE);
        }
        else if (!bKeepClear)
        {
            Stop(pDatabase);
        }
        return TRUE;
    case UNIT_ORDER_HOLD_FIRE: Toggle(m_bHoldFire, bKeepSet, bKeepClear); return TRUE;
    case UNIT_ORDER_SPRINT: Toggle(m_bSprint, bKeepSet, bKeepClear); return TRUE;
    case UNIT_ORDER_BYPASS_OBSTACLES: Toggle(m_bBypassObstacles, bKeepSet, bKeepClear); return TRUE;
    case UNIT_ORDER_DEFILADE:
        if (!m_bDefilade && !bKeepClear)
            m_nDefiladeTime = IsDeployment() ? 0 : pVehicle->m_nTimeToDefilade;
        Toggle(m_bDefilade, bKeepSet, bKeepClear);
        return TRUE;
    case UNIT_ORDER_HIDE_ON_CONTACT:
        Toggle(m_bHideOnContact, bKeepSet, bKeepClear);
        if (m_bHideOnContact)
            m_bEngageOnContact = FALSE;
        return TRUE;
    case UNIT_ORDER_ENGAGE_ON_CONTACT:
        Toggle(m_bEngageOnContact, bKeepSet, bKeepClear);
        if (m_bEngageOnContact)
            m_bHideOnContact = FALSE;
        return TRUE;
    case UNIT_ORDER_SMOKE:
    {
        auto* pSmoker = Capability<CUCapSmoker>(*this, VCAP_SMOKER);
        const auto* pVehicleSmoker = VehicleCapability<CVCapSmoker>(pVehicle, VCAP_SMOKER);
        if (pSmoker == nullptr || pVehicleSmoker == nullptr)
            return TRUE;
        if (pSmoker->m_bSmoking)
        {
            if (!bKeepSet)
                pSmoker->SetSmoke(FALSE, pVehicleSmoker);
        }
        else if (!bKeepClear)
        {
            pSmoker->SetSmoke(TRUE, pVehicleSmoker);
        }
        return TRUE;
    }
    case UNIT_ORDER_DISMOUNT_ON_CONTACT:
        if (dwAbilities & VCAP_PERSONNEL_CARRIER)
        {
            if (auto* pCarrier = Capability<CUCapPersonnelCarrier>(*this, VCAP_PERSONNEL_CARRIER))
                Toggle(pCarrier->m_bDismountOnContact, bKeepSet, bKeepClear);
        }
        return TRUE;
    case UNIT_ORDER_DO_NOT_EMPLACE:
        if (dwAbilities & VCAP_EMPLACE)
        {
            if (IsDoNotEmplace())
            {
                if (!bKeepSet)
                    AllowEmplace(pDatabase, TRUE);
            }
            else if (!bKeepClear)
            {
                AllowEmplace(pDatabase, FALSE);
            }
        }
        return TRUE;
    default:
        // Fire controls, march speed, suppression and dismounting have
        // their own setters.
        return FALSE;
    }
}

BOOL CUnit::HasOrder(DWORD dwBit) const
{
    switch (dwBit)
    {
    case UNIT_ORDER_STOP: return FirstNodeHasStop(m_pPath);
    case UNIT_ORDER_HOLD_FIRE: return m_bHoldFire;
    case UNIT_ORDER_DEFILADE: return m_bDefilade;
    case UNIT_ORDER_SPRINT: return m_bSprint;
    case UNIT_ORDER_SMOKE: return IsSmoking();
    case UNIT_ORDER_MAX_RANGE: return m_bMaxRange;
    case UNIT_ORDER_FIELD_OF_FIRE: return m_bFieldOfFire;
    case UNIT_ORDER_MARCH_SPEED: return m_bMarchSpeed;
    case UNIT_ORDER_HIDE_ON_CONTACT: return m_bHideOnContact;
    case UNIT_ORDER_ENGAGE_ON_CONTACT: return m_bEngageOnContact;
    case UNIT_ORDER_BYPASS_OBSTACLES: return m_bBypassObstacles;
    case UNIT_ORDER_DISMOUNT_ON_CONTACT:
    {
        const auto* pCarrier = Capability<CUCapPersonnelCarrier>(*this, VCAP_PERSONNEL_CARRIER);
        return pCarrier != nullptr && pCarrier->m_bDismountOnContact;
    }
    case UNIT_ORDER_DO_NOT_EMPLACE: return IsDoNotEmplace();
    case UNIT_ORDER_SUPPRESS: return m_bSuppressArea;
    default: return FALSE;
    }
}

BOOL CUnit::CanExecuteOrder(DWORD dwBit, CKDRDatabase* pDatabase)
{
    const DWORD dwAbilities = GetCapabilityMask();
    switch (dwBit)
    {
    case UNIT_ORDER_DISMOUNT_ON_CONTACT: return (dwAbilities & VCAP_PERSONNEL_CARRIER) != 0;
    case UNIT_ORDER_DO_NOT_EMPLACE: return (dwAbilities & VCAP_EMPLACE) != 0;
    case UNIT_ORDER_DISMOUNT:
    {
        if (IsDeployment())
            return HasPassengers();
        const auto* pCarrier = Capability<CUCapPersonnelCarrier>(*this, VCAP_PERSONNEL_CARRIER);
        const BOOL bBusy = pCarrier != nullptr && (pCarrier->m_bMounting || pCarrier->m_bDismounting);
        return IsStoppedAtStopNode() && !bBusy && HasPassengers();
    }
    case UNIT_ORDER_MARCH_SPEED: return !IsFixedWingRestricted(pDatabase, TRUE);
    case UNIT_ORDER_STOP: return !IsFixedWingRestricted(pDatabase, FALSE);
    case UNIT_ORDER_DEFILADE: return IsStoppedAtStopNode() && (dwAbilities & VCAP_FIXED_WING) == 0;
    case UNIT_ORDER_SPRINT: return (dwAbilities & VCAP_DISMOUNT) == 0;
    case UNIT_ORDER_SMOKE: return CanSmoke();
    default: return TRUE;
    }
}

int CUnit::GetOrderIconIndex(DWORD dwBit, int* pPosition)
{
    for (const OrderIcon& icon : kOrderIcons)
    {
        if (icon.dwBit != dwBit)
            continue;
        const CDrawService* pDraw = GetDrawService();
        CPieceArray* pCatalogue = pDraw != nullptr ? pDraw->GetSymbolCatalogue() : nullptr;
        if (pCatalogue == nullptr)
            return kNoIcon;
        int nPosition = 0;
        const int nList = pCatalogue->FindInLists(icon.pszName, &nPosition);
        if (nList < 0)
            return kNoIcon;
        if (pPosition != nullptr)
            *pPosition = nPosition;
        return nList;
    }
    return kNoIcon;
}

int CUnit::GetOrderIcon(DWORD dwBit, int* pPosition) const
{
    return HasOrder(dwBit) ? GetOrderIconIndex(dwBit, pPosition) : kNoIcon;
}

void CUnit::UpdateOrderIcon(DWORD dwBit, BOOL& bShown)
{
    int nPosition = 0;
    const int nList = GetOrderIcon(dwBit, &nPosition);
    if (nList < 0)
    {
        bShown = FALSE;
        return;
    }
    bShown = TRUE;
    delete m_pOrderIcon;
    m_pOrderIcon = nullptr;
    const CDrawService* pDraw = GetDrawService();
    CPieceArray* pCatalogue = pDraw != nullptr ? pDraw->GetSymbolCatalogue() : nullptr;
    CPiece* pPiece = m_pSprite != nullptr && pCatalogue != nullptr ? pCatalogue->GetPiece(nList) : nullptr;
    CFrameSurface* pSheet = pPiece != nullptr ? pPiece->GetSurface() : nullptr;
    if (pSheet == nullptr)
        return;
    m_pOrderIcon = new CSprite(pSheet);
    m_pOrderIcon->SetScale(m_pSprite->GetScale());
    m_pOrderIcon->SetFrame(nPosition);
    pSheet->SetColorKey(DDColorMatch(pSheet, SPRITE_COLOR_KEY));
    m_dwOrderIconBit = dwBit;
}

int CUnit::SetFireControls(BOOL bMaxRangeOn, int nMaxRange, BOOL bFieldOfFireOn, int nFrom, int nTo)
{
    m_bMaxRange = bMaxRangeOn;
    if (bMaxRangeOn)
        m_nMaxRange = nMaxRange;
    m_bFieldOfFire = bFieldOfFireOn;
    if (bFieldOfFireOn)
    {
        m_nFieldOfFireFrom = nFrom;
        m_nFieldOfFireTo = nTo;
    }
    return 1;
}

BOOL CUnit::SetFireControlAtPoint(float x, float y, BOOL bMaxRangeMode, CKDRDatabase* pDatabase)
{
    const double dx = static_cast<double>(x) - m_fX;
    const double dy = static_cast<double>(y) - m_fY;
    const double d = std::hypot(dx, dy);
    if (!(d > 0.0) || !std::isfinite(d))
        return FALSE;
    if (bMaxRangeMode)
    {
        // The range is kept in tens of metres, as it is read; a click
        // farther than the limit (to the metre) is refused.
        if (std::lround(d) > std::lround(kMaxRangeLimit))
            return FALSE;
        m_bMaxRange = TRUE;
        m_nMaxRange = static_cast<int>(std::lround(d / 10.0));
        return TRUE;
    }
    double dBearing = std::atan2(dx, dy) * kMilsPerRadian;
    if (dBearing < 0.0)
        dBearing += kMilsInCircle;
    double dHalfWidth = d * kHalfWidthPerMetre;
    dHalfWidth = dHalfWidth < kMinHalfWidth ? kMinHalfWidth : dHalfWidth;
    dHalfWidth = dHalfWidth > kMaxHalfWidth ? kMaxHalfWidth : dHalfWidth;
    double dFrom = dBearing - dHalfWidth;
    if (dFrom < 0.0)
        dFrom += kMilsInCircle;
    double dTo = dBearing + dHalfWidth;
    if (dTo > kMilsInCircle)
        dTo -= kMilsInCircle;
    m_bFieldOfFire = TRUE;
    m_nFieldOfFireFrom = static_cast<int>(std::lround(dFrom));
    m_nFieldOfFireTo = static_cast<int>(std::lround(dTo));
    UpdateHeading(pDatabase);
    return TRUE;
}

int CUnit::ClearFireControl(int nControl, CKDRDatabase* pDatabase)
{
    if (nControl == 1)
    {
        const BOOL bWasOn = m_bMaxRange;
        m_bMaxRange = FALSE;
        return bWasOn ? 1 : 0;
    }
    const BOOL bWasOn = m_bFieldOfFire;
    m_bFieldOfFire = FALSE;
    UpdateHeading(pDatabase);
    return bWasOn ? 1 : 0;
}

BOOL CUnit::SetMarchSpeed(float fSpeed, CKDRDatabase* pDatabase)
{
    if (pDatabase == nullptr || !pDatabase->HasVehicleList())
        return FALSE;
    const CVehicle* pVehicle = VehicleOf(*this, pDatabase);
    if (pVehicle == nullptr || !(fSpeed >= 0.0f && fSpeed <= pVehicle->m_fSpeed))
        return FALSE;
    m_bMarchSpeed = TRUE;
    m_fMarchSpeed = fSpeed;
    return TRUE;
}

void CUnit::ClearMarchSpeed()
{
    m_bMarchSpeed = FALSE;
    m_fMarchSpeed = kUnsetFloat;
}

void CUnit::SetSuppressArea(CKDRDatabase* pDatabase, float x, float y, float fRadius)
{
    if (!(x > 0.0f) || !(y > 0.0f) || !std::isfinite(x) || !std::isfinite(y))
        return;
    if (!(fRadius > 0.0f) && pDatabase == nullptr)
        return;
    m_bSuppressUnit = FALSE;
    m_nSuppressUnit = kUnset;
    m_nSuppressArray = kUnset;
    m_nSuppressKind = kUnset;
    if (!(fRadius > 0.0f) || !std::isfinite(fRadius))
    {
        fRadius = GetDefaultSuppressRadius(pDatabase);
        if (!(fRadius > 0.0f))
        {
            ClearSuppressArea();
            return;
        }
    }
    m_fSuppressRadius = fRadius;
    m_fSuppressY = y;
    m_fSuppressX = x;
    m_bSuppressArea = TRUE;
}

int CUnit::ClearSuppressArea()
{
    m_bSuppressArea = FALSE;
    m_fSuppressRadius = kUnsetFloat;
    m_fSuppressY = kUnsetFloat;
    m_fSuppressX = kUnsetFloat;
    return 1;
}

float CUnit::GetDefaultSuppressRadius(CKDRDatabase* pDatabase) const
{
    CVehicle* pVehicle = VehicleOf(*this, pDatabase);
    if (pVehicle == nullptr)
        return 0.0f;
    const std::unique_ptr<CVehicleWeaponArray> pMounts(pVehicle->BuildWeaponList(pDatabase));
    double dSum = 0.0;
    for (int i = 0; pMounts != nullptr && i < pMounts->GetSize(); ++i)
    {
        if (const CVehicleWeapon* pMount = pMounts->GetAt(i))
            dSum += pMount->m_nSuppressionRadius;
    }
    return static_cast<float>(dSum * 0.1);
}

BOOL CUnit::IsEmplaced(BOOL bAnyState) const
{
    const auto* pEmplace = Capability<CUCapEmplace>(*this, VCAP_EMPLACE);
    if (pEmplace == nullptr)
        return bAnyState ? FALSE : TRUE;
    if (bAnyState)
        return pEmplace->m_bEmplaced || pEmplace->m_bEmplacing || pEmplace->m_bDisplacing;
    return pEmplace->m_bEmplaced;
}

BOOL CUnit::IsDoNotEmplace() const
{
    const auto* pEmplace = Capability<CUCapEmplace>(*this, VCAP_EMPLACE);
    return pEmplace != nullptr && pEmplace->m_bDoNotEmplace;
}

void CUnit::AllowEmplace(CKDRDatabase* pDatabase, BOOL bAllow)
{
    auto* pEmplace = Capability<CUCapEmplace>(*this, VCAP_EMPLACE);
    const auto* pVehicleEmplace = VehicleCapability<CVCapEmplace>(VehicleOf(*this, pDatabase), VCAP_EMPLACE);
    if (pEmplace == nullptr || pVehicleEmplace == nullptr)
        return;
    if (!bAllow)
    {
        pEmplace->m_bDoNotEmplace = TRUE;
        if (pEmplace->m_bEmplaced)
        {
            if (IsDeployment())
                pEmplace->SetEmplaced(FALSE);
            else
                pEmplace->StartTransition(pVehicleEmplace, FALSE);
        }
        return;
    }
    pEmplace->m_bDoNotEmplace = FALSE;
    if (IsStoppedAtStopNode() && (GetCapabilityMask() & VCAP_EMPLACE) != 0 && !pEmplace->m_bEmplaced)
    {
        if (IsDeployment())
            pEmplace->SetEmplaced(TRUE);
        else
            pEmplace->StartTransition(pVehicleEmplace, TRUE);
    }
}

BOOL CUnit::IsSmoking() const
{
    const auto* pSmoker = Capability<CUCapSmoker>(*this, VCAP_SMOKER);
    return pSmoker != nullptr && pSmoker->m_bSmoking;
}

BOOL CUnit::CanSmoke()
{
    const auto* pSmoker = Capability<CUCapSmoker>(*this, VCAP_SMOKER);
    return !IsCarried() && !m_bDestroyed && pSmoker != nullptr && pSmoker->m_nSmokeLeft != 0;
}

BOOL CUnit::IsLayingMines() const
{
    const auto* pMineLayer = Capability<CUCapMineLayer>(*this, VCAP_MINE_LAYER);
    return pMineLayer != nullptr && pMineLayer->m_bDeploying;
}

BOOL CUnit::CanDeployMines()
{
    const auto* pMineLayer = Capability<CUCapMineLayer>(*this, VCAP_MINE_LAYER);
    return IsReadyToWork(*this) && pMineLayer != nullptr && pMineLayer->m_nMinefieldsLeft > 0;
}

BOOL CUnit::DeployMinesAt(float x, float y, CKDRDatabase* pDatabase)
{
    if (!CanDeployMines())
        return FALSE;
    auto* pMineLayer = Capability<CUCapMineLayer>(*this, VCAP_MINE_LAYER);
    if (pMineLayer->m_bDeploying && pMineLayer->m_fTargetX == x && pMineLayer->m_fTargetY == y)
        return FALSE;
    return pMineLayer->SetTarget(pDatabase, this, TRUE, x, y);
}

void CUnit::StartMineLaying()
{
    // The mine layer starts on the target it holds; the database it needs
    // for the vehicle's values is the play service's.
    auto* pMineLayer = Capability<CUCapMineLayer>(*this, VCAP_MINE_LAYER);
    const CPlayService* pPlay = GetPlayService();
    if (pMineLayer != nullptr && pPlay != nullptr)
        pMineLayer->SetTarget(pPlay->GetDatabase(), this, TRUE, pMineLayer->m_fTargetX, pMineLayer->m_fTargetY);
}

BOOL CUnit::CanUpload()
{
    if (!IsReadyToWork(*this))
        return FALSE;
    return HasAmmunitionToGive(Capability<CUCapDFAmmoCarrier>(*this, VCAP_DF_AMMO_CARRIER)) ||
           HasAmmunitionToGive(Capability<CUCapDFAmmoCarrier>(*this, VCAP_IF_AMMO_CARRIER));
}

BOOL CUnit::Upload(CUnit* pReceiver, CKDRDatabase* pDatabase)
{
    if (pReceiver == nullptr || pDatabase == nullptr)
        return FALSE;
    CVehicle* pReceiverVehicle = VehicleOf(*pReceiver, pDatabase);
    if (pReceiverVehicle == nullptr || pReceiver->m_pWeapons == nullptr || pReceiver->m_pCapabilities == nullptr)
        return FALSE;
    BOOL bTaken = FALSE;
    for (DWORD dwType : {static_cast<DWORD>(VCAP_DF_AMMO_CARRIER), static_cast<DWORD>(VCAP_IF_AMMO_CARRIER)})
    {
        CUnitCapability* pCarrier = FindCapability(dwType);
        if (pCarrier == nullptr)
            continue;
        if (pReceiver->m_pWeapons->ResupplyFrom(pCarrier, pReceiverVehicle->GetChassisMounts(), pDatabase))
            bTaken = TRUE;
        if (pReceiver->m_pCapabilities->ReceiveAmmunition(pCarrier, pReceiverVehicle, pDatabase))
            bTaken = TRUE;
    }
    return bTaken;
}

BOOL CUnit::IsBreaching() const
{
    const DWORD dwAbilities = GetCapabilityMask();
    DWORD dwType = 0;
    if (dwAbilities & VCAP_BREACHER)
        dwType = VCAP_BREACHER;
    else if (dwAbilities & VCAP_ENGINEER)
        dwType = VCAP_ENGINEER;
    const auto* pBreacher = dwType != 0 ? Capability<CUCapBreacher>(*this, dwType) : nullptr;
    return pBreacher != nullptr && pBreacher->m_bBreaching;
}

BOOL CUnit::MeetsStatus(CKDRDatabase* pDatabase, int nStatus)
{
    if (pDatabase == nullptr)
        return FALSE;
    const DWORD dwAbilities = GetCapabilityMask();
    const auto* pCarrier = Capability<CUCapPersonnelCarrier>(*this, VCAP_PERSONNEL_CARRIER);
    const int nCarried = pCarrier != nullptr && pCarrier->m_pPassengers != nullptr ? pCarrier->m_pPassengers->GetSize() : 0;
    switch (nStatus)
    {
    case UNIT_STATUS_MOUNTED: return (dwAbilities & VCAP_DISMOUNT) == 0 || IsCarried();
    case UNIT_STATUS_DISMOUNTED:
        // A team getting in is known to its carrier, which counts it there.
        return (dwAbilities & VCAP_DISMOUNT) == 0 || !IsCarried();
    case UNIT_STATUS_CARRIER_FULL:
    {
        if ((dwAbilities & VCAP_PERSONNEL_CARRIER) == 0)
            return TRUE;
        const auto* pVehicleCarrier =
            VehicleCapability<CVCapPersonnelCarrier>(VehicleOf(*this, pDatabase), VCAP_PERSONNEL_CARRIER);
        return pVehicleCarrier != nullptr && nCarried >= pVehicleCarrier->m_nNumberOfDismounts;
    }
    case UNIT_STATUS_EMPLACED:
        return (dwAbilities & VCAP_EMPLACE) == 0 || Capability<CUCapEmplace>(*this, VCAP_EMPLACE) == nullptr ||
               IsEmplaced(FALSE);
    case UNIT_STATUS_BREACHING: return IsBreaching() || (dwAbilities & (VCAP_BREACHER | VCAP_ENGINEER)) == 0;
    case UNIT_STATUS_BREACHES_USED:
    {
        const auto* pEngineer = Capability<CUCapEngineer>(*this, VCAP_ENGINEER);
        return (dwAbilities & VCAP_ENGINEER) == 0 || (pEngineer != nullptr && pEngineer->m_nBreachesLeft <= 0);
    }
    case UNIT_STATUS_CARRIER_EMPTY: return (dwAbilities & VCAP_PERSONNEL_CARRIER) == 0 || nCarried == 0;
    default: return FALSE;
    }
}

BOOL CUnit::IsStoppedAtStopNode() const { return m_bStopped && FirstNodeHasStop(m_pPath); }

BOOL CUnit::IsReadyAtNode() const { return IsStoppedAtStopNode() && m_nMoveDelay < 1; }

BOOL CUnit::IsGroundVehicle() const
{
    if (m_pCapabilities == nullptr)
        return TRUE;
    return (GetCapabilityMask() & (VCAP_FIXED_WING | VCAP_ROTARY_WING | VCAP_DISMOUNT)) == 0;
}

void CUnit::GetFlightValues(int& nHeight, int& nAltitude) const
{
    if (const auto* pFixedWing = Capability<CUCapFixedWing>(*this, VCAP_FIXED_WING))
    {
        nHeight = pFixedWing->m_nHeight;
        nAltitude = pFixedWing->m_nAltitude;
        return;
    }
    if (const auto* pRotaryWing = Capability<CUCapRotaryWing>(*this, VCAP_ROTARY_WING))
    {
        nHeight = pRotaryWing->m_nHeight;
        nAltitude = pRotaryWing->m_nAltitude;
        return;
    }
    nHeight = kUnset;
    nAltitude = kUnset;
}
