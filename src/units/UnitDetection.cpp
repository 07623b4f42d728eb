// One observer's look at one target. The cheap effective-distance test
// comes before the sight line, which walks the elevation samples and is the
// cost of the whole sweep, so the sweep hands in the pair's remembered
// answer (SightCache.h); nothing here allocates once the observer's
// contact list has grown.

#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "battlefield/SmokeArray.h"
#include "database/KDRDatabase.h"
#include "database/Vehicle.h"
#include "platform/core/Rounding.h"
#include "shell/ReportService.h"
#include "units/UCapKinds.h"
#include "units/SightCache.h"
#include "units/Unit.h"
#include "units/UnitCapability.h"
#include "units/UnitRefArray.h"

namespace
{
// The view range is stored in tens of metres.
constexpr float METRES_PER_VIEW_UNIT = 10.0f;
// The sight line takes heights and gives its distance in tenths of a
// metre; contacts keep their range in tens of metres.
constexpr float TENTHS_PER_METRE = 10.0f;
constexpr float TENS_OF_METRES_PER_TENTH = 0.01f;
// A target 2.2 m tall has the size factor 1.
constexpr double SIZE_PER_METRE = 0.45454544;
constexpr double SIZE_WEIGHT = 0.8333333;
constexpr float FULL_DAYLIGHT = 1.0f;

// The aircraft's altitude word handed to the sight line, kElevationLookUp
// for a unit on the ground.
int AltitudeOf(const CUnit& unit)
{
    if (const auto* pFixed = dynamic_cast<CUCapFixedWing*>(unit.FindCapability(VCAP_FIXED_WING)))
        return pFixed->m_nHeight;
    if (const auto* pRotary = dynamic_cast<CUCapRotaryWing*>(unit.FindCapability(VCAP_ROTARY_WING)))
        return pRotary->m_nHeight;
    return kElevationLookUp;
}

// The parts of a look that depend on one of the two units only.
struct SRangeTerms
{
    double sizeDivisor;  // SizeDivisor of the target
    BOOL bTargetInDefilade;
    BOOL bTargetDugIn;
    BOOL bTargetStoppedByOrder;
    BOOL bTargetHasFired;
    BOOL bObserverStoppedByOrder;
    BOOL bObserverSprints;
    BOOL bObserverInMOPP4;
    double c;  // the observer vehicle's chemical value
    float fMOPPDegradation;
};

// What a target's size divides its effective distance by.
double SizeDivisor(float fTotalHeight, BOOL bDismount)
{
    double size = fTotalHeight * SIZE_PER_METRE;
    if (bDismount)
        size *= size;
    return (size - 1.0) * SIZE_WEIGHT + 1.0;
}

// A target in defilade counts once it has settled there; an aircraft never.
BOOL IsInDefilade(const CUnit& target, BOOL bAircraft)
{
    return target.m_bDefilade && target.m_nDefiladeTime == 0 && !bAircraft;
}

inline int EffectiveRange(const SRangeTerms& t, float fDistance, float fLight)
{
    const double d = fDistance;
    double e = d;
    if (fLight < FULL_DAYLIGHT)
        e = d + 0.15 / fLight * d;
    if (t.bTargetInDefilade)
        e += 0.25 * d;
    if (t.bTargetDugIn)
        e += 0.125 * d;
    if (!t.bObserverStoppedByOrder)
        e += 0.125 * d;
    if (t.bObserverSprints)
        e += 0.125 * d;
    const double c = t.c;
    if (t.bObserverInMOPP4 && c != 0.0)
        e += d * c * c * t.fMOPPDegradation * 0.0001;
    e /= t.sizeDivisor;
    if (!t.bTargetStoppedByOrder)
        e -= 0.25 * d;
    if (t.bTargetHasFired)
        e -= 0.25 * d;
    return TruncToInt(e + 0.5);
}
}  // namespace

BOOL CUnit::IsAircraft() const { return (GetCapabilityMask() & (VCAP_FIXED_WING | VCAP_ROTARY_WING)) != 0; }

int CUnit::GetEffectiveDetectionRange(const CUnit* pTarget, CVehicle* pTargetVehicle, CVehicle* pObserverVehicle,
                                      float fDistance, float fLight) const
{
    if (pTarget == nullptr || pTargetVehicle == nullptr || pObserverVehicle == nullptr)
        return 0;
    const BOOL bTargetAircraft = pTarget->IsAircraft();
    const SRangeTerms terms{SizeDivisor(pTargetVehicle->GetTotalHeight(), (pTarget->GetCapabilityMask() & VCAP_DISMOUNT) != 0),
                            IsInDefilade(*pTarget, bTargetAircraft),
                            pTarget->m_bDugIn,
                            pTarget->IsStoppedByOrder(),
                            pTarget->m_nShotUnit != kUnset,
                            IsStoppedByOrder(),
                            m_bSprint,
                            m_bMOPP4,
                            static_cast<double>(pObserverVehicle->m_nChemicalValue),
                            m_fMOPPDegradation};
    return EffectiveRange(terms, fDistance, fLight);
}

void CUnit::TakeSightView(SSightView& view, CKDRDatabase* pDatabase, const CSmokeArray* pSmoke) const
{
    view = SSightView{};
    view.fX = m_fX;
    view.fY = m_fY;
    if (pSmoke != nullptr)
        pSmoke->FindIllumAt(m_fX, m_fY, view.fIllumLight);
    view.nVehicle = m_nVehicle;
    view.pVehicle = pDatabase != nullptr ? pDatabase->GetVehicle(m_nVehicle) : nullptr;
    view.bLooks = !m_bDestroyed && !IsCarried() && view.pVehicle != nullptr;
    if (!view.bLooks)
        return;
    view.fTotalHeight = view.pVehicle->GetTotalHeight();
    view.fNightSight = static_cast<float>(view.pVehicle->GetMaxSightPercent(false)) * 0.01f;
    view.nThermalSight = view.pVehicle->GetMaxSightPercent(true);
    view.fViewRange = static_cast<float>(view.pVehicle->m_nViewRange) * METRES_PER_VIEW_UNIT;
    const DWORD dwMask = GetCapabilityMask();
    view.bAircraft = (dwMask & (VCAP_FIXED_WING | VCAP_ROTARY_WING)) != 0;
    view.fSizeDivisor = SizeDivisor(view.fTotalHeight, (dwMask & VCAP_DISMOUNT) != 0);
    view.bStoppedByOrder = IsStoppedByOrder();
    view.bInDefilade = IsInDefilade(*this, view.bAircraft);
    view.bDugIn = m_bDugIn;
    view.bHasFired = m_nShotUnit != kUnset;
}

void CUnit::DetectPair(CUnit* pTarget, CKDRGameMap* pMap, CKDRDatabase* pDatabase, CSmokeArray* pSmoke,
                       float fLightFactor, int nTargetUnit, int nTargetArray, int nTargetKind)
{
    if (pTarget == nullptr || pDatabase == nullptr)
        return;
    SSightView self;
    SSightView target;
    TakeSightView(self, pDatabase);
    pTarget->TakeSightView(target, pDatabase, pSmoke);
    CSmokeSight sight;
    sight.Take(pSmoke, m_fX, m_fY);
    DetectPair(self, pTarget, target, pMap, &sight, fLightFactor, nTargetUnit, nTargetArray, nTargetKind);
}

void CUnit::DetectPair(const SSightView& self, CUnit* pTarget, const SSightView& target, CKDRGameMap* pMap,
                       const CSmokeSight* pSmokeSight, float fLightFactor, int nTargetUnit, int nTargetArray,
                       int nTargetKind, SSightEntry* pSight)
{
    if (!self.bLooks || pTarget == nullptr || pMap == nullptr)
        return;
    CVehicle* pVehicle = self.pVehicle;
    const float fHeight = self.fTotalHeight * TENTHS_PER_METRE;
    const float fNightSight = self.fNightSight;

    float fLight = fLightFactor;
    if (target.fIllumLight > fLight)
        fLight = target.fIllumLight;
    if (fLight < FULL_DAYLIGHT && fNightSight > fLight)
        fLight = fNightSight;

    if (!target.bLooks)
        return;
    CVehicle* pTargetVehicle = target.pVehicle;
    const CElevationMap* pElevation = pMap->GetElevationMap();
    if (pElevation == nullptr)
        return;
    const float fTargetHeight = target.fTotalHeight * TENTHS_PER_METRE;
    const float fDistance = CKDRGameMap::Distance(m_fX, m_fY, target.fX, target.fY);

    const float fViewRange = self.fViewRange;
    const SRangeTerms terms{target.fSizeDivisor,   target.bInDefilade, target.bDugIn,
                            target.bStoppedByOrder, target.bHasFired,   self.bStoppedByOrder,
                            m_bSprint,              m_bMOPP4,           static_cast<double>(pVehicle->m_nChemicalValue),
                            m_fMOPPDegradation};
    const int nEffective = EffectiveRange(terms, fDistance, fLight);
    if (2.0f * fViewRange < static_cast<float>(nEffective))
        return;

    float fBearing = 0.0f;
    float fSlantRange = 0.0f;
    float fVisibility = 1.0f;
    const bool bGround = !self.bAircraft && !target.bAircraft;
    const int bVisible = SightLineOf(*pElevation, pSight, m_fX, m_fY, bGround ? kElevationLookUp : AltitudeOf(*this),
                                     target.fX, target.fY, bGround ? kElevationLookUp : AltitudeOf(*pTarget), fHeight,
                                     fTargetHeight, &fBearing, &fSlantRange, &fVisibility);
    if (!bVisible)
        return;

    const float fRange = fSlantRange * TENS_OF_METRES_PER_TENTH;
    // A visibility factor of 0 hides the target completely.
    const float fSeen = fVisibility > 0.0f ? static_cast<float>(nEffective) / fVisibility : 2.0f * fViewRange + 1.0f;
    if (!(fSeen <= 2.0f * fViewRange))
        return;
    const BOOL bUnidentified = fSeen > fViewRange;
    const float fObscuration = pSmokeSight != nullptr ? pSmokeSight->GetObscuration(fBearing) : 0.0f;
    if (static_cast<float>(self.nThermalSight) < fObscuration)
        return;

    CUnitRef ref;
    ref.m_nUnit = nTargetUnit;
    ref.m_nArray = nTargetArray;
    ref.m_nSide = nTargetKind;
    ref.m_nVehicle = target.nVehicle;
    ref.m_nTargetValue = bUnidentified ? 0 : pTargetVehicle->m_nTargetValue;
    ref.m_nThreatValue = bUnidentified ? 0 : pTargetVehicle->m_nThreatValue;
    ref.m_fBearing = fBearing;
    ref.m_nRange = RoundHalfUp(fRange);
    ref.m_bUnidentified = bUnidentified;
    m_pContacts->InsertSorted(ref);

    if (m_nSide == 0)
    {
        if (CReportService* pReports = GetReportService())
            pReports->ReportDetection(bUnidentified, this, pTarget, pTargetVehicle);
    }
}
