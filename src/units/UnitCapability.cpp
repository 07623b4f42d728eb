#include "units/UnitCapability.h"

#include "database/VCapKinds.h"
#include "database/VCapTurret.h"
#include "database/Vehicle.h"
#include "platform/ui/Command.h"
#include "units/UCapIndirectFire.h"
#include "units/UCapKinds.h"
#include "units/UCapTurret.h"

IMPLEMENT_SERIAL(CUnitCapability, CObject, 1)
IMPLEMENT_SERIAL(CUnitCapArray, CObArray, 1)

const char* const UCAP_UNIDENTIFIED_VEHICLE = "Unidentified Vehicle";
const char* const UCAP_UNKNOWN_VEHICLE_BITMAP = "Unknown Vehicle Green";
const char* const UCAP_UNIDENTIFIED_DISMOUNT = "Unidentified Dismount";
const char* const UCAP_UNKNOWN_DISMOUNT_BITMAP = "Unknown Dismount Green";

// ---------------------------------------------------------------------------
// The base: what a capability answers when an operation does not concern it

BOOL CUnitCapability::ReceiveAmmunition(CUnitCapability*, CVehicle*, CKDRDatabase*) { return FALSE; }
void CUnitCapability::GetAmmunitionLines(CStringList&, CKDRDatabase*) {}
void CUnitCapability::GetWeaponLines(CStringList&, CVehicle*, CKDRDatabase*) {}
void CUnitCapability::AddWeaponsToList(int, CUnitWeaponArray*, CKDRDatabase*, int) {}
void CUnitCapability::OnDestroyed(CKDRUnits*, CKDRDatabase*, int, int, int) {}
void CUnitCapability::AimAt(CVehicle*, float, float, BOOL) {}
CString CUnitCapability::GetUnidentifiedName() const { return CString(); }
CString CUnitCapability::GetUnidentifiedBitmap() const { return CString(); }
void CUnitCapability::ResetForDeployment(int, CKDRDatabase*, CUnit*) {}
void CUnitCapability::DrawMarker(CKDRGameMap*, float, float) {}
int CUnitCapability::CancelBreach() { return 0; }
CUnitCapability* CUnitCapability::FindCapability(DWORD) { return nullptr; }

DWORD CUnitCapability::Update(int, int, CTimeSpan, CKDRGameMap*, CKDRDatabase*, int, int, CUnit*, int, int, int)
{
    return 0;
}

void CUnitCapability::AddMenuItems(CMenu*) {}
void CUnitCapability::OnMove(CKDRDatabase*, int) {}
void CUnitCapability::ApplyViewSetting(float) {}
DWORD CUnitCapability::GetFlagMask() const { return 0; }
void CUnitCapability::OnStop(CKDRDatabase*, int) {}
void CUnitCapability::OnHeadingChanged(CVehicle*, float, CKDRDatabase*, int, int) {}

int CUnitCapability::StartBreach(float&, float&, float&, float&, CKDRGameMap*, CVehicleCapability*,
                                 const BreachTarget&, double, float)
{
    return 0;
}

int CUnitCapability::ContinueBreach(float&, float&, float&, float&, CKDRGameMap*, CVehicleCapability*,
                                    const BreachTarget&, double, float)
{
    return 0;
}

BOOL CUnitCapability::HitTest(int, int) { return FALSE; }
DWORD CUnitCapability::GetType() const { return 0; }
void CUnitCapability::UpdateSprite(int, CKDRDatabase*, CKDRGameMap*, float, float, float, float) {}
void CUnitCapability::Draw(int, CKDRDatabase*, CKDRGameMap*, float, float, float, BOOL, BOOL, float) {}
BOOL CUnitCapability::OnPathAssigned(float, float, CKDRDatabase*, CKDRGameMap*, int) { return TRUE; }
BOOL CUnitCapability::AttachVehicleCapability(CVehicleCapability*, CKDRDatabase*, CVehicle*) { return TRUE; }
int CUnitCapability::OnSideChanged(int) { return 1; }
void CUnitCapability::OnFormationNode(int) {}
void CUnitCapability::Reset(float, int, int) {}
void CUnitCapability::ResetMountState() {}
void CUnitCapability::OnObstacleDeleted(int, int) {}
CObject* CUnitCapability::GetBreachTarget(CKDRObstacles*) { return nullptr; }
void CUnitCapability::RebuildWeapons(CVehicle*, CKDRDatabase*) {}
void CUnitCapability::OnUnitDeleted(int, int, int, int) {}
BOOL CUnitCapability::Validate(CVehicle*, CVehicleCapability*, CKDRDatabase*, CString&) { return FALSE; }
CString CUnitCapability::GetName() const { return CString(); }

// ---------------------------------------------------------------------------
// Building the members

namespace
{
// The kind's own vehicle capability class, or null when a capability of
// another class claims the kind's type code; the kind then starts empty.
template <class T>
T* As(CVehicleCapability* pVehicleCap)
{
    return dynamic_cast<T*>(pVehicleCap);
}

CUnitCapability* MakeCapability(CVehicleCapability* pVehicleCap, CKDRDatabase* pDatabase)
{
    if (pVehicleCap == nullptr)
        return new CUnitCapability;
    switch (pVehicleCap->GetType())
    {
    case VCAP_TURRET:
        if (CVCapTurret* pTurret = As<CVCapTurret>(pVehicleCap))
            return new CUCapTurret(pTurret, pDatabase);
        return new CUCapTurret;
    case VCAP_DISMOUNT: return new CUCapDismount;
    case VCAP_PERSONNEL_CARRIER: return new CUCapPersonnelCarrier;
    case VCAP_INDIRECT_FIRE: return new CUCapIndirectFire(As<CVCapIndirectFire>(pVehicleCap));
    case VCAP_EMPLACE: return new CUCapEmplace;
    case VCAP_BREACHER: return new CUCapBreacher;
    case VCAP_ENGINEER: return new CUCapEngineer(As<CVCapEngineer>(pVehicleCap));
    case VCAP_OBSERVER: return new CUCapObserver;
    case VCAP_FDC: return new CUCapFDC;
    case VCAP_DF_AMMO_CARRIER: return new CUCapDFAmmoCarrier(As<CVCapDFAmmoCarrier>(pVehicleCap));
    case VCAP_IF_AMMO_CARRIER: return new CUCapIFAmmoCarrier(As<CVCapIFAmmoCarrier>(pVehicleCap));
    case VCAP_SMOKER: return new CUCapSmoker(As<CVCapSmoker>(pVehicleCap));
    case VCAP_FIXED_WING: return new CUCapFixedWing;
    case VCAP_ROTARY_WING: return new CUCapRotaryWing;
    case VCAP_MINE_LAYER: return new CUCapMineLayer(As<CVCapMineLayer>(pVehicleCap));
    default: return new CUnitCapability;
    }
}

// The own capability list of a vehicle type's turret (the first turret,
// looking inside capabilities too); null when it has none.
CVehicleCapArray* GetTurretCapabilities(CVehicle* pVehicle)
{
    CVehicleCapArray* pCaps = pVehicle->GetCapabilities();
    if (pCaps == nullptr)
        return nullptr;
    auto* pTurret = dynamic_cast<CVCapTurret*>(pCaps->FindByType(VCAP_TURRET));
    return pTurret != nullptr ? pTurret->GetCapabilities() : nullptr;
}
}  // namespace

CUnitCapArray::CUnitCapArray() { FillTypeNames(); }

CUnitCapArray::CUnitCapArray(CVehicleCapArray* pVehicleCaps, CKDRDatabase* pDatabase)
{
    FillTypeNames();
    Build(pVehicleCaps, pDatabase);
}

void CUnitCapArray::FillTypeNames()
{
    for (const char* name : {"Indirect Fire", "Turret", "Dismount", "Personnel Carrier", "Emplace", "Breacher",
                             "Engineer", "Observer", "Fire Direction Center", "DF Ammo Carrier", "IF Ammo Carrier",
                             "Smoker", "Fixed Wing", "Rotary Wing", "Mine Layer"})
        m_typeNames.Add(name);
}

void CUnitCapArray::Build(CVehicleCapArray* pVehicleCaps, CKDRDatabase* pDatabase)
{
    RemoveAll();
    if (pVehicleCaps == nullptr)
        return;
    for (int i = 0; i < pVehicleCaps->GetSize(); ++i)
        Add(MakeCapability(pVehicleCaps->GetAt(i), pDatabase));
}

BOOL CUnitCapArray::BuildFromVehicle(CVehicle* pVehicle, CKDRDatabase* pDatabase)
{
    RemoveAll();
    if (pVehicle == nullptr)
        return FALSE;
    Build(pVehicle->GetCapabilities(), pDatabase);
    return TRUE;
}

// ---------------------------------------------------------------------------
// Binding and checking against the vehicle type

BOOL CUnitCapArray::AttachToVehicle(CVehicle* pVehicle, CKDRDatabase* pDatabase, BOOL bTurretOnly)
{
    if (pVehicle == nullptr)
        return FALSE;
    CVehicleCapArray* pList = bTurretOnly ? GetTurretCapabilities(pVehicle) : pVehicle->GetCapabilities();
    if (pList == nullptr)
        return TRUE;
    BOOL bResult = TRUE;
    for (int i = 0; i < pList->GetSize(); ++i)
    {
        CVehicleCapability* pVehicleCap = pList->GetAt(i);
        if (pVehicleCap == nullptr)
            continue;
        CUnitCapability* pCap = FindCapability(static_cast<DWORD>(pVehicleCap->GetType()));
        if (pCap == nullptr)
            return FALSE;
        if (!pCap->AttachVehicleCapability(pVehicleCap, pDatabase, pVehicle))
            bResult = FALSE;
    }
    return bResult;
}

BOOL CUnitCapArray::CheckAlignment(CVehicle* pVehicle, CVehicleCapArray* pVehicleCaps, CKDRDatabase* pDatabase,
                                   CString& report)
{
    const int nVehicleCaps = pVehicleCaps != nullptr ? pVehicleCaps->GetSize() : 0;
    if (GetSize() != nVehicleCaps)
    {
        report += "the Unit and Vehicle Capability Arrays are not the same size";
        return TRUE;
    }
    for (int i = 0; i < GetSize(); ++i)
    {
        // An empty slot on either side has no type: it lines up only with
        // a capability that has none either.
        CUnitCapability* pCap = GetAt(i);
        CVehicleCapability* pVehicleCap = pVehicleCaps->GetAt(i);
        const DWORD dwType = pCap != nullptr ? pCap->GetType() : 0;
        const DWORD dwVehicleType = pVehicleCap != nullptr ? static_cast<DWORD>(pVehicleCap->GetType()) : 0;
        if (dwType != dwVehicleType)
        {
            report += "the Unit and Vehicle Capability Arrays are not correctly aligned";
            return TRUE;
        }
        if (pCap != nullptr && pCap->Validate(pVehicle, pVehicleCap, pDatabase, report))
            return TRUE;
    }
    return FALSE;
}

// ---------------------------------------------------------------------------
// Questions about the whole list

DWORD CUnitCapArray::GetTypeMask() const
{
    DWORD dwMask = 0;
    for (int i = 0; i < GetSize(); ++i)
    {
        if (const CUnitCapability* pCap = GetAt(i))
            dwMask |= pCap->GetType() | pCap->GetFlagMask();
    }
    return dwMask;
}

CUnitCapability* CUnitCapArray::FindCapability(DWORD dwType) const
{
    for (int i = 0; i < GetSize(); ++i)
    {
        CUnitCapability* pCap = GetAt(i);
        if (pCap == nullptr)
            continue;
        if (pCap->GetType() == dwType)
            return pCap;
        if (CUnitCapability* pInside = pCap->FindCapability(dwType))
            return pInside;
    }
    return nullptr;
}

CString CUnitCapArray::FindUnidentifiedName() const
{
    for (int i = 0; i < GetSize(); ++i)
    {
        const CUnitCapability* pCap = GetAt(i);
        if (pCap == nullptr)
            continue;
        CString strName = pCap->GetUnidentifiedName();
        if (!strName.IsEmpty())
            return strName;
    }
    return CString();
}

CString CUnitCapArray::FindUnidentifiedBitmap() const
{
    for (int i = 0; i < GetSize(); ++i)
    {
        const CUnitCapability* pCap = GetAt(i);
        if (pCap == nullptr)
            continue;
        CString strName = pCap->GetUnidentifiedBitmap();
        if (!strName.IsEmpty())
            return strName;
    }
    return CString();
}

CString CUnitCapArray::GetUnidentifiedName() const
{
    if (GetTypeMask() & VCAP_DISMOUNT)
        return UCAP_UNIDENTIFIED_DISMOUNT;
    const CString strName = FindUnidentifiedName();
    return strName.IsEmpty() ? CString(UCAP_UNIDENTIFIED_VEHICLE) : strName;
}

CString CUnitCapArray::GetUnidentifiedBitmap() const
{
    if (GetTypeMask() & VCAP_DISMOUNT)
        return UCAP_UNKNOWN_DISMOUNT_BITMAP;
    const CString strName = FindUnidentifiedBitmap();
    return strName.IsEmpty() ? CString(UCAP_UNKNOWN_VEHICLE_BITMAP) : strName;
}

void CUnitCapArray::AddMenuItems(CMenu* pMenu)
{
    if (pMenu == nullptr)
        return;
    CMenu* pPopup = pMenu->GetSubMenu(UNIT_MENU_POPUP);
    if (pPopup != nullptr && pPopup->GetSubMenu(UNIT_MENU_ACTIONS) != nullptr)
    {
        // The Actions submenu comes with one placeholder so that it is never
        // shown empty: it goes once a capability offers actions, and the
        // whole submenu goes when none does.
        if (GetTypeMask() & UCAP_ACTIONS_MASK)
            pPopup->GetSubMenu(UNIT_MENU_ACTIONS)->DeleteMenu(0, MF_BYPOSITION);
        else
            pPopup->DeleteMenu(UNIT_MENU_ACTIONS, MF_BYPOSITION);
    }
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CUnitCapability* pCap = GetAt(i))
            pCap->AddMenuItems(pMenu);
    }
}

// ---------------------------------------------------------------------------
// The dispatchers

BOOL CUnitCapArray::OnPathAssigned(float x, float y, CKDRDatabase* pDatabase, CKDRGameMap* pMap, int nPassOn)
{
    BOOL bResult = TRUE;
    for (int i = 0; i < GetSize(); ++i)
    {
        CUnitCapability* pCap = GetAt(i);
        if (pCap != nullptr && !pCap->OnPathAssigned(x, y, pDatabase, pMap, nPassOn))
            bResult = FALSE;
    }
    return bResult;
}

void CUnitCapArray::Draw(int nVehicle, CKDRDatabase* pDatabase, CKDRGameMap* pMap, float x, float y, float fScale,
                         BOOL bVisible, BOOL bSecondPicture, float fHeading)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CUnitCapability* pCap = GetAt(i))
            pCap->Draw(nVehicle, pDatabase, pMap, x, y, fScale, bVisible, bSecondPicture, fHeading);
    }
}

void CUnitCapArray::OnSideChanged(int nSide)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CUnitCapability* pCap = GetAt(i))
            pCap->OnSideChanged(nSide);
    }
}

BOOL CUnitCapArray::HitTest(int x, int y)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        CUnitCapability* pCap = GetAt(i);
        if (pCap != nullptr && pCap->HitTest(x, y))
            return TRUE;
    }
    return FALSE;
}

void CUnitCapArray::OnHeadingChanged(CVehicle* pVehicle, float fHeading, CKDRDatabase* pDatabase, int nArcFrom,
                                     int nArcTo)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CUnitCapability* pCap = GetAt(i))
            pCap->OnHeadingChanged(pVehicle, fHeading, pDatabase, nArcFrom, nArcTo);
    }
}

void CUnitCapArray::OnStop(CKDRDatabase* pDatabase, int nVehicle)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CUnitCapability* pCap = GetAt(i))
            pCap->OnStop(pDatabase, nVehicle);
    }
}

DWORD CUnitCapArray::Update(int nVehicle, int nElapsed, CTimeSpan timeNow, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                            int nPass1, int nPass2, CUnit* pUnit, int nPass3, int nPass4, int nPass5)
{
    DWORD dwFlags = 0;
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CUnitCapability* pCap = GetAt(i))
            dwFlags |= pCap->Update(nVehicle, nElapsed, timeNow, pMap, pDatabase, nPass1, nPass2, pUnit, nPass3, nPass4,
                                    nPass5);
    }
    return dwFlags;
}

void CUnitCapArray::ApplyViewSetting(float fScale)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CUnitCapability* pCap = GetAt(i))
            pCap->ApplyViewSetting(fScale);
    }
}

void CUnitCapArray::OnMove(CKDRDatabase* pDatabase, int nVehicle)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CUnitCapability* pCap = GetAt(i))
            pCap->OnMove(pDatabase, nVehicle);
    }
}

void CUnitCapArray::ResetForDeployment(int nValue, CKDRDatabase* pDatabase, CUnit* pUnit)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CUnitCapability* pCap = GetAt(i))
            pCap->ResetForDeployment(nValue, pDatabase, pUnit);
    }
}

void CUnitCapArray::GetWeaponLines(CStringList& lines, CVehicle* pVehicle, CKDRDatabase* pDatabase)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CUnitCapability* pCap = GetAt(i))
            pCap->GetWeaponLines(lines, pVehicle, pDatabase);
    }
}

void CUnitCapArray::AddWeaponsToList(int nVehicle, CUnitWeaponArray* pList, CKDRDatabase* pDatabase, int nDepth)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CUnitCapability* pCap = GetAt(i))
            pCap->AddWeaponsToList(nVehicle, pList, pDatabase, nDepth + 1);
    }
}

void CUnitCapArray::OnDestroyed(CKDRUnits* pUnits, CKDRDatabase* pDatabase, int nCause1, int nCause2, int nCause3)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CUnitCapability* pCap = GetAt(i))
            pCap->OnDestroyed(pUnits, pDatabase, nCause1, nCause2, nCause3);
    }
}

void CUnitCapArray::AimAt(CVehicle* pVehicle, float fHullHeading, float fBearing, BOOL bReset)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CUnitCapability* pCap = GetAt(i))
            pCap->AimAt(pVehicle, fHullHeading, fBearing, bReset);
    }
}

void CUnitCapArray::DrawMarker(CKDRGameMap* pMap, int nFlags, float x, float y)
{
    if ((nFlags & DRAW_CAPABILITY_MARKERS) == 0)
        return;
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CUnitCapability* pCap = GetAt(i))
            pCap->DrawMarker(pMap, x, y);
    }
}

void CUnitCapArray::OnFormationNode(int nValue)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CUnitCapability* pCap = GetAt(i))
            pCap->OnFormationNode(nValue);
    }
}

BOOL CUnitCapArray::ReceiveAmmunition(CUnitCapability* pCarrier, CVehicle* pVehicle, CKDRDatabase* pDatabase)
{
    BOOL bTaken = FALSE;
    for (int i = 0; i < GetSize(); ++i)
    {
        CUnitCapability* pCap = GetAt(i);
        if (pCap != nullptr && pCap->ReceiveAmmunition(pCarrier, pVehicle, pDatabase))
            bTaken = TRUE;
    }
    return bTaken;
}

void CUnitCapArray::Reset(float fHeading, int nValue1, int nValue2)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CUnitCapability* pCap = GetAt(i))
            pCap->Reset(fHeading, nValue1, nValue2);
    }
}

void CUnitCapArray::ResetMountState()
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CUnitCapability* pCap = GetAt(i))
            pCap->ResetMountState();
    }
}

void CUnitCapArray::OnUnitDeleted(int nOwnSide, int nKind, int nArray, int nUnit)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CUnitCapability* pCap = GetAt(i))
            pCap->OnUnitDeleted(nOwnSide, nKind, nArray, nUnit);
    }
}

void CUnitCapArray::GetBreachTarget(CKDRObstacles* pObstacles)
{
    // The answers are dropped: asking is what cancels a breach whose target
    // has gone.
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CUnitCapability* pCap = GetAt(i))
            pCap->GetBreachTarget(pObstacles);
    }
}

void CUnitCapArray::OnObstacleDeleted(int nSide, int nIndex)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CUnitCapability* pCap = GetAt(i))
            pCap->OnObstacleDeleted(nSide, nIndex);
    }
}
