// Direct fire: one unit's engagement of the first contact it may fire on,
// its choice of weapons, the rounds it fires and their hit and kill rolls,
// the destruction of a target and the target's reaction to being fired on.
//
// Every division by a range takes at least 1 (tens of metres): a target
// nearer than 5 m has the range 0, and a hit chance of infinity or NaN
// would hit with every round. The direction of a field of fire is the
// compass bearing in mils, as the arc is set, drawn and aimed; the aspect
// is seen from the target, so a target facing the shooter is hit on its
// front and right is its own right.

#include "battlefield/KDRGameMap.h"
#include "database/KDRDatabase.h"
#include "database/KillPercentage.h"
#include "database/VCapKinds.h"
#include "database/VCapTurret.h"
#include "database/Vehicle.h"
#include "database/VehicleWeapon.h"
#include "database/Weapon.h"
#include "database/WeaponCapability.h"
#include "hierarchy/HierarchyArray.h"
#include "orders/NodeArray.h"
#include "platform/core/Random.h"
#include "shell/PlayService.h"
#include "shell/ReportService.h"
#include "shell/SoundService.h"
#include "units/KDRUnits.h"
#include "units/UCapKinds.h"
#include "units/UCapTurret.h"
#include "units/Unit.h"
#include "units/UnitAngles.h"
#include "units/UnitCapability.h"
#include "units/UnitRefArray.h"
#include "units/UnitWeapon.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace
{
constexpr int SUPPRESSION_SILENCED = 100;      // a unit this suppressed does not fire
constexpr int SUPPRESSION_NOT_SUPPRESSED = 110;  // area fire leaves a target this suppressed alone
constexpr int MAX_ROUNDS_PER_ENGAGEMENT = 10;
constexpr int SHOT_LINE_SECONDS = 2;
// Seconds a unit of the other sides waits at the node where fire halted it.
constexpr LONG HALT_AFTER_FIRE_SECONDS = 300;
// The stabilisation of a mount whose stabilised flag is set.
constexpr double FULL_STABILISATION = 100.0;
// Aspect bounds in radians: 30 and 150 degrees off the target's heading.
constexpr double FRONT_BOUND = 0.523599;
constexpr double BACK_BOUND = 2.61799;

// The weapon list of one engagement: kept for the whole run and refilled
// each time, so that firing makes no heap object once it has grown. Only
// FireAt fills it, and nothing FireAt calls fires again.
CUnitWeaponArray& EngagementScratch()
{
    static CUnitWeaponArray s_list;
    return s_list;
}

// Empties the scratch list without deleting the records it borrows, also
// when a round's work throws.
struct CScratchGuard
{
    explicit CScratchGuard(CUnitWeaponArray& list) : m_list(list) {}
    ~CScratchGuard() { m_list.RemoveAllNoDelete(); }
    CScratchGuard(const CScratchGuard&) = delete;
    CScratchGuard& operator=(const CScratchGuard&) = delete;
    CUnitWeaponArray& m_list;
};

BOOL IsNetworkGame()
{
    const CPlayService* pPlay = GetPlayService();
    return pPlay != nullptr && pPlay->IsNetworkGame();
}

BOOL IsFriendlyKind(int nKind) { return nKind == 0 || nKind == 2; }

BOOL IsInDefilade(const CUnit& unit) { return unit.m_bDefilade && unit.m_nDefiladeTime == 0; }

BOOL HasSuppressArea(const CUnit& unit) { return unit.m_fSuppressX > 0.0f && unit.m_fSuppressY > 0.0f; }

// The percentage of the kill entry for the aspect; 0 for an unknown one.
int KillForAspect(const CWeaponPercentages& kill, int nAspect)
{
    switch (nAspect)
    {
    case CUnit::ASPECT_FRONT:
        return kill.m_nFront;
    case CUnit::ASPECT_BACK:
        return kill.m_nBack;
    case CUnit::ASPECT_RIGHT:
        return kill.m_nRight;
    case CUnit::ASPECT_LEFT:
        return kill.m_nLeft;
    default:
        return 0;
    }
}

// Whether the compass direction (mils) lies in the arc from..to, which
// wraps through north when from is greater than to.
BOOL IsInArc(int nDirection, int nFrom, int nTo)
{
    if (nFrom <= nTo)
        return nDirection >= nFrom && nDirection <= nTo;
    return !(nDirection > nTo && nDirection < nFrom);
}

int RoundsFor(const CWeapon* pWeapon, int nWholeSeconds)
{
    if (pWeapon == nullptr)
        return 1;
    const int nRounds = std::max(nWholeSeconds, 0) / std::max(pWeapon->m_nTimeToFire, 1);
    return std::clamp(nRounds, 1, MAX_ROUNDS_PER_ENGAGEMENT);
}

void PlayWeaponSound(const CWeapon& weapon)
{
    if (CSoundService* pSound = GetSoundService())
        pSound->PlayWeaponSound(weapon.m_strWeaponSound);
}
}  // namespace

BOOL RollPercentile(double dPercent) { return PercentileRoll() <= dPercent; }

int CUnit::GetAspectOf(const CUnit& target, float fBearing)
{
    // From the target to the shooter, against the target's heading.
    const double rel = FoldAngle(static_cast<double>(fBearing) + std::numbers::pi - target.m_fHeading);
    if (rel >= -FRONT_BOUND && rel <= FRONT_BOUND)
        return ASPECT_FRONT;
    if (rel > FRONT_BOUND && rel < BACK_BOUND)
        return ASPECT_RIGHT;
    if (rel < -FRONT_BOUND && rel > -BACK_BOUND)
        return ASPECT_LEFT;
    return ASPECT_BACK;
}

void CUnit::Engage(int nUnit, int nArray, CKDRUnits* pUnits, CKDRDatabase* pDatabase)
{
    int nWholeSeconds = 0;
    if (CPlayService* pPlay = GetPlayService())
    {
        CTimeSpan tsNow;
        int nGameMs = 0;
        DWORD dwStamp = static_cast<DWORD>(m_fireLastTick);
        pPlay->AdvanceClock(tsNow, nGameMs, m_fireRemainderMs, dwStamp, nWholeSeconds);
        m_fireLastTick = static_cast<int>(dwStamp);
    }
    if (pUnits == nullptr || pDatabase == nullptr || m_bDestroyed || IsCarried() ||
        m_nSuppression >= SUPPRESSION_SILENCED)
        return;
    for (int i = 0; i < m_pContacts->GetSize(); ++i)
    {
        const CUnitRef contact = *m_pContacts->GetAt(i);
        if (IsFriendlyKind(m_nSide) && IsFriendlyKind(contact.m_nSide) && !contact.m_bUnidentified)
            continue;
        CUnit* pTarget = pUnits->GetUnit(contact.m_nUnit, contact.m_nArray, contact.m_nSide);
        if (pTarget == nullptr || pTarget->m_bDestroyed || pTarget->IsCarried())
            continue;
        if (FireAt(nUnit, nArray, pTarget, contact, pDatabase, pUnits, nWholeSeconds) != 0)
            break;
    }
}

int CUnit::FireAt(int nUnit, int nArray, CUnit* pTarget, const CUnitRef& contact, CKDRDatabase* pDatabase,
                  CKDRUnits* pUnits, int nWholeSeconds)
{
    if (pTarget == nullptr || pDatabase == nullptr || pUnits == nullptr || !pDatabase->HasWeaponList() ||
        !pDatabase->HasVehicleList())
        return 0;
    const int nRange = contact.m_nRange;
    if (m_bHoldFire || m_bSprint || m_nSuppression >= SUPPRESSION_SILENCED || (m_bMaxRange && m_nMaxRange < nRange))
        return 1;
    const BOOL bAreaFire = HasSuppressArea(*this);
    if (contact.m_bUnidentified && !bAreaFire)
        return 0;
    if (bAreaFire && pTarget->m_nSuppression >= SUPPRESSION_NOT_SUPPRESSED)
        return 0;
    if (m_bFieldOfFire && !IsInArc(BearingToMils(contact.m_fBearing), m_nFieldOfFireFrom, m_nFieldOfFireTo))
        return 0;
    if (bAreaFire &&
        CKDRGameMap::Distance(pTarget->m_fX, pTarget->m_fY, m_fSuppressX, m_fSuppressY) > m_fSuppressRadius)
        return 0;
    const int nAspect = GetAspectOf(*pTarget, contact.m_fBearing);

    CVehicle* pOwnVehicle = pDatabase->GetVehicle(m_nVehicle);
    CVehicle* pTargetVehicle = pDatabase->GetVehicle(pTarget->m_nVehicle);
    CUnitWeaponArray& weapons = EngagementScratch();
    CScratchGuard guard(weapons);
    BuildWeaponList(pDatabase, weapons);

    int nFired = 0;
    int nHits = 0;
    for (int i = 0; i < weapons.GetSize() && nFired == 0; ++i)
    {
        CUnitWeapon* pRecord = weapons.GetAt(i);
        CWeapon* pWeapon = nullptr;
        const int nKill = SelectWeapon(pRecord, pTargetVehicle, pDatabase, nAspect, nRange, contact.m_fBearing, pWeapon);
        if (nKill == 0)
            continue;
        const int nRounds = RoundsFor(pWeapon, nWholeSeconds);
        for (int nRound = 0; nRound < nRounds && !pTarget->m_bDestroyed; ++nRound)
        {
            BOOL bHit = FALSE;
            nFired += ResolveShot(nUnit, nArray, contact, pRecord, nRange, pTargetVehicle, pTarget, pOwnVehicle,
                                  pDatabase, pUnits, nKill, contact.m_fBearing, bAreaFire, contact.m_bUnidentified,
                                  bHit);
            nHits += bHit ? 1 : 0;
        }
        m_nShotUnit = contact.m_nUnit;
        m_nShotArray = contact.m_nArray;
        m_nShotKind = contact.m_nSide;
        m_nShotLineTime = SHOT_LINE_SECONDS;
        pTarget->ReactToFire(pOwnVehicle, pTargetVehicle, pDatabase, nKill, nRange);
    }
    // The shot record of a network game (rounds and hits for the peer) is
    // sent here once the network records are built.
    (void)nHits;
    return nFired > 0 ? 1 : 0;
}

int CUnit::SelectWeapon(CUnitWeapon* pRecord, CVehicle* pTargetVehicle, CKDRDatabase* pDatabase, int nAspect,
                        int nRange, float fBearing, CWeapon*& pWeapon)
{
    pWeapon = nullptr;
    if (pRecord == nullptr || pTargetVehicle == nullptr || pDatabase == nullptr ||
        pDatabase->GetWeaponArray() == nullptr)
        return 0;
    const CWeaponPercentages* pKill = pTargetVehicle->GetKillPercentages()->GetAt(pRecord->m_nWeapon);
    if (pKill == nullptr)
        return 0;
    const int nKill = KillForAspect(*pKill, nAspect);
    if (nKill == 0)
        return 0;
    CWeapon* pType = pDatabase->GetWeapon(pRecord->m_nWeapon);
    const BOOL bTurret = pRecord->m_bInTurret == 1;
    const CVehicleWeapon* pMount = CUnitWeaponArray::GetMount(m_nVehicle, pRecord->m_nMount, bTurret, pDatabase);
    if (pType == nullptr || pMount == nullptr)
        return 0;
    if (nRange > pType->m_nRange || pRecord->m_nRounds < pType->m_nRoundsPerFire || pRecord->m_nFireCountdown > 0 ||
        pRecord->m_nReloadCountdown > 0)
        return 0;
    if (!IsStoppedByOrder() && !pMount->m_bS)
        return 0;

    CVehicle* pVehicle = pDatabase->GetVehicle(m_nVehicle);
    if (const auto* pEmplaceType = pVehicle != nullptr
                                       ? static_cast<const CVCapEmplace*>(pVehicle->FindCapability(VCAP_EMPLACE))
                                       : nullptr;
        pEmplaceType != nullptr && pEmplaceType->m_bSpare)
    {
        const auto* pEmplace = dynamic_cast<const CUCapEmplace*>(FindCapability(VCAP_EMPLACE));
        if (pEmplace == nullptr || !pEmplace->m_bEmplaced)
            return 0;
    }

    int nLeft = pMount->m_nLeftLimit;
    int nRight = pMount->m_nRightLimit;
    BOOL bLimited = TRUE;
    const CVCapTurret* pTurret = pVehicle != nullptr ? CUnitWeaponArray::FindVehicleTurret(pVehicle) : nullptr;
    if (bTurret && (pMount->m_nRightLimit >= 0 || pMount->m_bC) && pTurret != nullptr)
    {
        nRight = pTurret->m_nRightLimit;
        if (pMount->m_nRightLimit >= 0 && !pMount->m_bC && pTurret->m_nRightLimit >= 0)
            nRight += pMount->m_nRightLimit;
        if (pMount->m_nLeftLimit >= 0 && !pMount->m_bC)
        {
            if (pTurret->m_nLeftLimit < 0)
                bLimited = FALSE;
            else
                nLeft = pMount->m_nLeftLimit + pTurret->m_nLeftLimit;
        }
        else
        {
            nLeft = pTurret->m_nLeftLimit;
        }
    }
    if (bLimited && nLeft >= 0 && nRight >= 0)
    {
        const double d = FoldAngle(static_cast<double>(fBearing) - m_fHeading);
        if (d < 0.0 ? -d > nLeft * RADIANS_PER_MIL : d > nRight * RADIANS_PER_MIL)
            return 0;
    }
    pWeapon = pType;
    return nKill;
}

float CUnit::GetHitChance(const CUnit* pTarget, CVehicle* pTargetVehicle, CVehicle* pOwnVehicle, CWeapon* pWeapon,
                          CVehicleWeapon* pMount, int nRange, float fBearing, BOOL bUnidentified,
                          CKDRDatabase* pDatabase) const
{
    if (bUnidentified)
        return -1.0f;
    const double r = std::max(nRange, 1);
    const double magnification = pWeapon->m_nMagnification;
    double h = 2000.0 / r;
    if (IsAircraft())
    {
        for (int i = 0; i < pWeapon->GetAttributes()->GetSize(); ++i)
        {
            const auto* pAda = dynamic_cast<const CWCapADA*>(pWeapon->GetAttributes()->GetAt(i));
            if (pAda == nullptr)
                continue;
            h += (GetCapabilityMask() & VCAP_ROTARY_WING) ? pAda->m_nRotaryWingBonus : pAda->m_nFixedWingBonus;
            break;
        }
    }
    h *= magnification * pTargetVehicle->GetTargetSize();
    if (IsInDefilade(*this))
        h += 25.0;
    if (m_bMOPP4 && pOwnVehicle != nullptr)
    {
        const double c = pOwnVehicle->m_nChemicalValue;
        h -= 0.005 * c * c * m_fMOPPDegradation;
    }
    const BOOL bTargetFlies = pTarget->IsAircraft();
    double s = std::min(pTarget->m_nSuppression * 0.01, 1.0);
    if (IsInDefilade(*pTarget) && !bTargetFlies)
        s = -s;
    h += 15.0 * s;
    if (pTarget->m_bSprint && !bTargetFlies)
        h += 25.0;
    if (bTargetFlies)
        h -= 35.0;
    const double stabilisation = pMount != nullptr && pMount->m_bS ? FULL_STABILISATION : 0.0;
    h -= std::fabs(std::sin(FoldAngle(static_cast<double>(fBearing) - m_fHeading))) * (2.0 - stabilisation * 0.01) *
         magnification * m_fSpeed * 15.6 / r;
    h -= std::fabs(std::sin(FoldAngle(static_cast<double>(fBearing) - pTarget->m_fHeading))) * magnification *
         pTarget->m_fSpeed * 31.3 / r;
    if (IsInDefilade(*pTarget))
        h *= 0.5;
    if (pTarget->m_bDugIn)
        h *= 0.6666667;
    if (pTarget->m_bHoldFire && !pTarget->IsFixedWingRestricted(pDatabase, TRUE))
        h -= 25.0;
    return static_cast<float>(h);
}

int CUnit::ResolveShot(int nUnit, int nArray, const CUnitRef& contact, CUnitWeapon* pRecord, int nRange,
                       CVehicle* pTargetVehicle, CUnit* pTarget, CVehicle* pOwnVehicle, CKDRDatabase* pDatabase,
                       CKDRUnits* pUnits, int nKill, float fBearing, BOOL bAreaFire, BOOL bUnidentified, BOOL& bHit)
{
    if (pRecord == nullptr || pTarget == nullptr || pTargetVehicle == nullptr || pOwnVehicle == nullptr ||
        pDatabase == nullptr || pUnits == nullptr || pTarget->m_bDestroyed)
        return 0;
    CWeapon* pWeapon = pDatabase->GetWeapon(pRecord->m_nWeapon);
    if (pWeapon == nullptr)
        return 0;
    bHit = FALSE;
    const BOOL bTurret = pRecord->m_bInTurret == 1;
    CVehicleWeapon* pMount = CUnitWeaponArray::GetMount(m_nVehicle, pRecord->m_nMount, bTurret, pDatabase);
    const float fHit =
        GetHitChance(pTarget, pTargetVehicle, pOwnVehicle, pWeapon, pMount, nRange, fBearing, bUnidentified, pDatabase);

    // The ammunition of one round, hit or not.
    const int nPerFire = pWeapon->m_nRoundsPerFire;
    const int nToReload = pWeapon->m_nRoundsToReload;
    if (nPerFire < pRecord->m_nRoundsBeforeReload || nToReload <= 0)
    {
        pRecord->m_nRounds -= nPerFire;
        pRecord->m_nRoundsBeforeReload -= nPerFire;
        pRecord->m_nReloadCountdown = 0;
    }
    else
    {
        pRecord->m_nRounds -= pRecord->m_nRoundsBeforeReload;
        pRecord->m_nRoundsBeforeReload = 0;
    }
    pRecord->m_nRounds = std::max(pRecord->m_nRounds, 0);
    pRecord->m_nRoundsBeforeReload = std::max(pRecord->m_nRoundsBeforeReload, 0);
    if (nToReload <= 0)
    {
        pRecord->m_nRoundsBeforeReload = 0;
        pRecord->m_nReloadCountdown = 0;
    }
    else if (pRecord->m_nRoundsBeforeReload == 0)
    {
        pRecord->m_nRoundsBeforeReload = nToReload;
        pRecord->m_nReloadCountdown = pWeapon->m_nTimeToReload;
    }
    pRecord->m_nFireCountdown = pWeapon->m_nTimeToFire;

    if (bTurret && pMount != nullptr && pMount->m_bC)
        m_pCapabilities->AimAt(pOwnVehicle, m_fHeading, fBearing, FALSE);

    PlayWeaponSound(*pWeapon);
    CReportService* pReports = GetReportService();
    if (pReports != nullptr)
        pReports->ReportEngagement(this, pOwnVehicle, nUnit, nArray, pTarget, pTargetVehicle, pWeapon);

    const BOOL bNetwork = IsNetworkGame();
    if (fHit < 1.0f && !bNetwork)
    {
        if (bAreaFire)
            pTarget->m_nSuppression += nKill;
        return 1;
    }
    if (!RollPercentile(fHit))
    {
        if (bAreaFire && !bNetwork)
            pTarget->m_nSuppression += nKill;
        return 1;
    }
    if (bNetwork)
    {
        bHit = TRUE;
        return 1;
    }
    if (RollPercentile(nKill))
    {
        pTarget->Destroy(contact.m_nUnit, contact.m_nArray, pUnits, pDatabase);
        if (pReports != nullptr)
            pReports->ReportKill(this, pOwnVehicle, nUnit, nArray, pTarget, pTargetVehicle, pWeapon);
    }
    else
    {
        pTarget->m_nSuppression += nKill;
    }
    return 1;
}

void CUnit::Destroy(int nUnit, int nArray, CKDRUnits* pUnits, CKDRDatabase* pDatabase)
{
    m_bDestroyed = TRUE;
    m_nShotUnit = kUnset;
    // A network game sends the destroyed-unit record here once the
    // network records are built.
    CVehicle* pVehicle = pDatabase != nullptr ? pDatabase->GetVehicle(m_nVehicle) : nullptr;
    CSoundService* pSound = GetSoundService();
    if (pVehicle != nullptr && pSound != nullptr)
        pSound->PlayVehicleSound(pVehicle->m_strDestroyedSound);
    if (pUnits != nullptr)
    {
        if (CHierarchyArray* pHierarchy = pUnits->GetPresentHierarchy(m_nSide))
            pHierarchy->SetElementDestroyed(nUnit, nArray, m_nSide, TRUE, pUnits, pDatabase);
        pUnits->NotifyElementOfUnit(nUnit, nArray, m_nSide, FALSE);
    }
    m_pCapabilities->OnDestroyed(pUnits, pDatabase, nUnit, nArray, m_nSide);
}

void CUnit::ReactToFire(CVehicle* pShooterVehicle, CVehicle* pOwnVehicle, CKDRDatabase* pDatabase, int /*nKill*/,
                        int nRange)
{
    CNode* pFirst = m_pPath != nullptr ? m_pPath->GetAt(0) : nullptr;
    if (pFirst == nullptr)
        return;
    const int nTimeToDefilade = pOwnVehicle != nullptr ? pOwnVehicle->m_nTimeToDefilade : 0;
    BOOL bReacted = FALSE;
    // Starting and stopping the smoke of a smoker comes with that
    // capability.
    if (m_bHideOnContact)
    {
        m_bSprint = FALSE;
        m_bDefilade = TRUE;
        m_nDefiladeTime = nTimeToDefilade;
        m_bHoldFire = TRUE;
    }
    if (m_bEngageOnContact && CanEngageVehicle(pShooterVehicle, pDatabase, nRange, TRUE))
    {
        m_bSprint = FALSE;
        m_bDefilade = TRUE;
        m_nDefiladeTime = nTimeToDefilade;
        m_bHoldFire = FALSE;
        bReacted = TRUE;
    }
    // A carrier told to dismount on contact lets its teams out (one
    // already doing so goes on as it is) and halts for them.
    if (IsDismountOnContact() && HasPassengers())
    {
        if (!IsDisembarking())
            UnloadPassengers(pDatabase, nullptr, FALSE);
        bReacted = TRUE;
    }
    if ((m_nSide != 0 && CanEngageVehicle(pShooterVehicle, pDatabase, nRange, FALSE)) || bReacted)
    {
        if (!IsStoppedByOrder())
        {
            m_bStopped = TRUE;
            m_fSpeed = 0.0f;
            m_pCapabilities->OnStop(pDatabase, m_nVehicle);
        }
        if (m_nSide != 0)
            pFirst->SetStartTimeValue(CTimeSpan(HALT_AFTER_FIRE_SECONDS));
    }
}

BOOL CUnit::IsFixedWingRestricted(CKDRDatabase* pDatabase, BOOL bForMarchSpeed) const
{
    const CPlayService* pPlay = GetPlayService();
    if (pDatabase == nullptr || (pPlay != nullptr && pPlay->IsDeploymentPhase()))
        return FALSE;
    const auto* pWing = dynamic_cast<const CUCapFixedWing*>(FindCapability(VCAP_FIXED_WING));
    CVehicle* pVehicle = pDatabase->GetVehicle(m_nVehicle);
    const auto* pWingType =
        pVehicle != nullptr ? dynamic_cast<const CVCapFixedWing*>(pVehicle->FindCapability(VCAP_FIXED_WING)) : nullptr;
    if (pWing == nullptr || pWingType == nullptr || pWingType->m_bVTOL)
        return FALSE;
    if (bForMarchSpeed)
        return TRUE;
    return pWing->m_fStationX > 0.0f && pWing->m_fStationY > 0.0f &&
           (m_fX != pWing->m_fStationX || m_fY != pWing->m_fStationY);
}

BOOL CUnit::CanEngageVehicle(CVehicle* pVehicle, CKDRDatabase* pDatabase, int nRange, BOOL bAnyState)
{
    if (pVehicle == nullptr || pDatabase == nullptr || pDatabase->GetWeaponArray() == nullptr)
        return FALSE;
    CVehicle* pOwnVehicle = pDatabase->GetVehicle(m_nVehicle);
    auto canKill = [&](const CUnitWeaponArray* pRecords, BOOL bTurret) {
        const CVehicleWeaponArray* pMounts = CUnitWeaponArray::GetMountList(pOwnVehicle, bTurret);
        for (int i = 0; pRecords != nullptr && pMounts != nullptr && i < pRecords->GetSize(); ++i)
        {
            const CUnitWeapon* pRecord = pRecords->GetAt(i);
            const CVehicleWeapon* pMount = pMounts->GetAt(i);
            int nWeapon = kUnset;
            const CWeapon* pWeapon = pMount != nullptr ? pMount->GetWeapon(pDatabase, &nWeapon) : nullptr;
            if (pRecord == nullptr || pWeapon == nullptr)
                continue;
            const CWeaponPercentages* pKill = pVehicle->GetKillPercentages()->GetAt(nWeapon);
            if (pKill != nullptr && pKill->m_nBack != 0 && nRange <= pWeapon->m_nRange &&
                (bAnyState || pRecord->m_nFireCountdown == 0))
                return TRUE;
        }
        return FALSE;
    };
    if (canKill(m_pWeapons, FALSE))
        return TRUE;
    const auto* pTurret = dynamic_cast<const CUCapTurret*>(FindCapability(VCAP_TURRET));
    return pTurret != nullptr && canKill(pTurret->GetWeapons(), TRUE);
}

void CUnit::BuildWeaponList(CKDRDatabase* pDatabase, CUnitWeaponArray& list)
{
    list.RemoveAllNoDelete();
    m_pWeapons->AddInEngagementOrder(m_nVehicle, &list, pDatabase, FALSE);
    m_pCapabilities->AddWeaponsToList(m_nVehicle, &list, pDatabase, 0);
}
