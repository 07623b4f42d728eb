// A unit built from its vehicle type, checked against the database it is
// loaded with, reset to its starting state, and the events the unit array
// passes on to its capabilities.

#include "database/Damage.h"
#include "database/KDRDatabase.h"
#include "database/Piece.h"
#include "database/Vehicle.h"
#include "database/VehicleWeapon.h"
#include "mission/GameTime.h"
#include "orders/NodeArray.h"
#include "orders/UnitOrderArray.h"
#include "platform/ui/Display.h"
#include "shell/PlayService.h"
#include "units/Unit.h"
#include "units/UnitCapability.h"
#include "units/UnitRefArray.h"
#include "units/UnitWeapon.h"

namespace
{
BOOL IsBattleUnderway()
{
    const CPlayService* pPlay = GetPlayService();
    const CGameTime* pClock = pPlay != nullptr ? pPlay->GetGameClock() : nullptr;
    return pClock != nullptr && pClock->m_tsElapsed.GetTotalSeconds() > 0;
}

// The database holds what a unit is built from.
bool IsComplete(const CKDRDatabase* pDatabase)
{
    return pDatabase != nullptr && pDatabase->HasVehicleList() && pDatabase->HasWeaponList() &&
           pDatabase->GetPieceArray() != nullptr;
}

const char* const DATABASE_NOT_COMPLETE = "DATABASE NOT COMPLETE";
const char* const VEHICLE_DATABASE_EMPTY = "VEHICLE DATABASE EMPTY";
const char* const VEHICLE_NOT_DEFINED = "the vehicle referenced in the unit is not defined";

// The index a unit gets when its vehicle list is empty: not kUnset, so that
// the unit still reads as having had a vehicle type.
constexpr int NO_VEHICLE_IN_LIST = -1;
}  // namespace

CUnit::CUnit(CKDRDatabase* pDatabase, int nVehicle) : CUnit()
{
    if (!IsComplete(pDatabase))
        return;
    // The picture is made by AttachVehicle below, from the same piece.
    CVehicle* pVehicle = pDatabase->GetVehicle(nVehicle);
    m_pWeapons->BuildFromVehicle(nVehicle, pDatabase, FALSE);
    m_pCapabilities->BuildFromVehicle(pVehicle, pDatabase);
    if (pVehicle != nullptr)
    {
        m_nMoveDelay = pVehicle->m_nTimeToMove;
        m_nDefiladeTime = pVehicle->m_nTimeToDefilade;
    }
    m_nVehicle = nVehicle;
    m_bStopped = TRUE;
    AttachVehicle(pDatabase, 1.0f);
    m_pPath->ResetToPoint(m_fX, m_fY, m_nSide != 0);
}

BOOL CUnit::ValidateVehicle(CKDRDatabase* pDatabase, CString& report)
{
    if (pDatabase == nullptr || !pDatabase->HasVehicleList() || !pDatabase->HasWeaponList())
    {
        report += DATABASE_NOT_COMPLETE;
        return TRUE;
    }
    const int nCount = pDatabase->GetVehicleCount();
    if (nCount <= 0)
    {
        m_nVehicle = NO_VEHICLE_IN_LIST;
        report += VEHICLE_DATABASE_EMPTY;
        return TRUE;
    }
    if (m_nVehicle < 0 || m_nVehicle > nCount - 1)
    {
        // A unit without a vehicle type takes the first one, as one past the
        // list takes the last.
        m_nVehicle = m_nVehicle < 0 ? 0 : nCount - 1;
        report += VEHICLE_NOT_DEFINED;
        return TRUE;
    }
    CVehicle* pVehicle = pDatabase->GetVehicle(m_nVehicle);
    if (pVehicle == nullptr)
    {
        report += VEHICLE_NOT_DEFINED;
        return TRUE;
    }
    if (m_pCapabilities->CheckAlignment(pVehicle, pVehicle->GetCapabilities(), pDatabase, report))
        return TRUE;
    m_pWeapons->RebuildIfChanged(pVehicle, pDatabase);
    // A game saved after its first second comes back with its units moving
    // or halted, and their halts counting down, as they were saved.
    if (!IsBattleUnderway())
    {
        m_nMoveDelay = pVehicle->m_nTimeToMove;
        m_nDefiladeTime = pVehicle->m_nTimeToDefilade;
        m_bStopped = TRUE;
    }
    AttachVehicle(pDatabase, 1.0f);
    return FALSE;
}

void CUnit::ResetState(CKDRDatabase*, int nValue1, int nValue2)
{
    m_fSpeed = 0.0f;
    m_bSprint = FALSE;
    m_bStoredFlag1 = FALSE;
    m_nStoredValue1 = 0;
    m_nMoveDelay = 0;
    m_bDefilade = FALSE;
    m_nStoredValue2 = kUnset;
    m_nStoredValue3 = 0;
    m_nDefiladeTime = 0;
    m_bStoredFlag2 = FALSE;
    m_nSuppression = 0;
    m_bDugIn = FALSE;
    m_nDugPosition = kUnset;
    m_fStoredValue = kUnsetFloat;
    m_nStoredValue4 = kUnset;
    m_bFieldOfFire = FALSE;
    m_nFieldOfFireTo = kUnset;
    m_nFieldOfFireFrom = kUnset;
    m_bMarchSpeed = FALSE;
    m_nMaxRange = kUnset;
    m_bMaxRange = FALSE;
    m_bHideOnContact = FALSE;
    m_fMarchSpeed = kUnsetFloat;
    m_bBypassObstacles = FALSE;
    m_bEngageOnContact = FALSE;
    m_nSuppressUnit = kUnset;
    m_nSuppressArray = kUnset;
    m_nSuppressKind = kUnset;
    m_bSuppressUnit = FALSE;
    m_fSuppressRadius = kUnsetFloat;
    m_fSuppressY = kUnsetFloat;
    m_fSuppressX = kUnsetFloat;
    m_bSuppressArea = FALSE;
    m_bHoldFire = FALSE;
    m_bStopped = FALSE;
    m_fHeading = 0.0f;
    m_bMOPP4 = FALSE;
    m_timeMOPP = CTimeSpan(0);
    m_fMOPPDegradation = 0.0f;
    m_nShotUnit = kUnset;
    m_nShotArray = kUnset;
    m_nShotKind = kUnset;
    m_nShotLineTime = 0;

    delete m_pDamage;
    m_pDamage = new CDamageArray;
    delete m_pOrders;
    m_pOrders = new CUnitOrderArray;
    delete m_pOrders2;
    m_pOrders2 = new CUnitOrderArray;
    delete m_pContacts;
    m_pContacts = new CUnitRefArray;
    delete m_pPath;
    m_pPath = new CNodeArray;
    m_pPath->ResetToPoint(m_fX, m_fY, m_nSide != 0);

    m_pWeapons->ResetTimers();
    m_pCapabilities->Reset(m_fHeading, nValue1, nValue2);
}

void CUnit::ResetMountStates() { m_pCapabilities->ResetMountState(); }

void CUnit::ClampToMap(CKDRGameMap* pMap)
{
    float fWidth = 0.0f;
    float fHeight = 0.0f;
    if (!CNodeArray::GetMapSize(pMap, fWidth, fHeight))
        return;
    if (m_fX > fWidth)
        m_fX = fWidth;
    if (m_fY > fHeight)
        m_fY = fHeight;
}

BOOL CUnit::HasEnemyPiece(CKDRDatabase* pDatabase) const
{
    const CPiece* pPiece = pDatabase != nullptr ? pDatabase->GetVehiclePiece(m_nVehicle) : nullptr;
    return pPiece != nullptr && pPiece->GetFlag() ? TRUE : FALSE;
}

void CUnit::OnUnitDeleted(int nKind, int nArray, int nUnit)
{
    m_pCapabilities->OnUnitDeleted(m_nSide, nKind, nArray, nUnit);
}

void CUnit::OnObstacleDeleted(int nSide, int nIndex) { m_pCapabilities->OnObstacleDeleted(nSide, nIndex); }

void CUnit::SetHeading(float fHeading, CKDRDatabase* pDatabase)
{
    m_fHeading = fHeading;
    CVehicle* pVehicle = pDatabase != nullptr ? pDatabase->GetVehicle(m_nVehicle) : nullptr;
    if (pVehicle == nullptr)
        return;
    m_pCapabilities->OnHeadingChanged(pVehicle, fHeading, pDatabase, m_bFieldOfFire ? m_nFieldOfFireFrom : kUnset,
                                      m_bFieldOfFire ? m_nFieldOfFireTo : kUnset);
}

void CUnit::SetIconScale(float fScale)
{
    if (m_pSprite == nullptr)
        return;
    m_pSprite->SetScale(fScale);
    if (m_pSprite2 != nullptr)
        m_pSprite2->SetScale(fScale);
    m_pCapabilities->ApplyViewSetting(fScale);
}

void CUnit::AddMenuItems(CMenu* pMenu) { m_pCapabilities->AddMenuItems(pMenu); }
