// One observer's look at one target. The cheap effective-distance test
// comes before the sight line, which walks the elevation samples and is the
// cost of the whole sweep; nothing here allocates once the observer's
// contact list has grown.

#include "app/KDRApp.h"
#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "battlefield/SmokeArray.h"
#include "database/KDRDatabase.h"
#include "database/Vehicle.h"
#include "platform/core/Rounding.h"
#include "units/UCapKinds.h"
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
}  // namespace

BOOL CUnit::IsAircraft() const { return (GetCapabilityMask() & (VCAP_FIXED_WING | VCAP_ROTARY_WING)) != 0; }

int CUnit::GetEffectiveDetectionRange(const CUnit* pTarget, CVehicle* pTargetVehicle, CVehicle* pObserverVehicle,
                                      float fDistance, float fLight) const
{
    if (pTarget == nullptr || pTargetVehicle == nullptr || pObserverVehicle == nullptr)
        return 0;
    const double d = fDistance;
    double size = pTargetVehicle->GetTotalHeight() * SIZE_PER_METRE;
    if (pTarget->GetCapabilityMask() & VCAP_DISMOUNT)
        size *= size;

    double e = d;
    if (fLight < FULL_DAYLIGHT)
        e = d + 0.15 / fLight * d;
    if (pTarget->m_bDefilade && pTarget->m_nDefiladeTime == 0 && !pTarget->IsAircraft())
        e += 0.25 * d;
    if (pTarget->m_bDugIn)
        e += 0.125 * d;
    if (!IsStoppedByOrder())
        e += 0.125 * d;
    if (m_bSprint)
        e += 0.125 * d;
    const double c = pObserverVehicle->m_nChemicalValue;
    if (m_bMOPP4 && c != 0.0)
        e += d * c * c * m_fMOPPDegradation * 0.0001;
    e /= (size - 1.0) * SIZE_WEIGHT + 1.0;
    if (!pTarget->IsStoppedByOrder())
        e -= 0.25 * d;
    if (pTarget->m_nShotUnit != kUnset)
        e -= 0.25 * d;
    return TruncToInt(e + 0.5);
}

void CUnit::DetectPair(CUnit* pTarget, CKDRGameMap* pMap, CKDRDatabase* pDatabase, CSmokeArray* pSmoke,
                       float fLightFactor, int nTargetUnit, int nTargetArray, int nTargetKind)
{
    if (m_bDestroyed || IsCarried() || pTarget == nullptr || pMap == nullptr || pDatabase == nullptr)
        return;
    CVehicle* pVehicle = pDatabase->GetVehicle(m_nVehicle);
    if (pVehicle == nullptr)
        return;
    const float fHeight = pVehicle->GetTotalHeight() * TENTHS_PER_METRE;
    const float fNightSight = static_cast<float>(pVehicle->GetMaxSightPercent(false)) * 0.01f;

    float fLight = fLightFactor;
    float fIllum = 0.0f;
    if (pSmoke != nullptr && pSmoke->FindIllumAt(pTarget->m_fX, pTarget->m_fY, fIllum) != kUnset && fIllum > fLight)
        fLight = fIllum;
    if (fLight < FULL_DAYLIGHT && fNightSight > fLight)
        fLight = fNightSight;

    if (pTarget->m_bDestroyed || pTarget->IsCarried())
        return;
    CVehicle* pTargetVehicle = pDatabase->GetVehicle(pTarget->m_nVehicle);
    const CElevationMap* pElevation = pMap->GetElevationMap();
    if (pTargetVehicle == nullptr || pElevation == nullptr)
        return;
    const float fTargetHeight = pTargetVehicle->GetTotalHeight() * TENTHS_PER_METRE;
    const float fDistance = CKDRGameMap::Distance(m_fX, m_fY, pTarget->m_fX, pTarget->m_fY);

    const float fViewRange = static_cast<float>(pVehicle->m_nViewRange) * METRES_PER_VIEW_UNIT;
    const int nEffective = GetEffectiveDetectionRange(pTarget, pTargetVehicle, pVehicle, fDistance, fLight);
    if (2.0f * fViewRange < static_cast<float>(nEffective))
        return;

    float fBearing = 0.0f;
    float fSlantRange = 0.0f;
    float fVisibility = 1.0f;
    int bVisible = 0;
    if (!IsAircraft() && !pTarget->IsAircraft())
        bVisible = pElevation->HasLineOfSight(m_fX, m_fY, pTarget->m_fX, pTarget->m_fY, fHeight, fTargetHeight,
                                              &fBearing, &fSlantRange, &fVisibility);
    else
        bVisible = pElevation->HasLineOfSightEx(m_fX, m_fY, AltitudeOf(*this), pTarget->m_fX, pTarget->m_fY,
                                                AltitudeOf(*pTarget), fHeight, fTargetHeight, &fBearing,
                                                &fSlantRange, &fVisibility);
    if (!bVisible)
        return;

    const float fRange = fSlantRange * TENS_OF_METRES_PER_TENTH;
    // A visibility factor of 0 hides the target completely.
    const float fSeen = fVisibility > 0.0f ? static_cast<float>(nEffective) / fVisibility : 2.0f * fViewRange + 1.0f;
    if (!(fSeen <= 2.0f * fViewRange))
        return;
    const BOOL bUnidentified = fSeen > fViewRange;
    const float fObscuration =
        pSmoke != nullptr ? pSmoke->GetObscurationOnBearing(m_fX, m_fY, fBearing, fRange) : 0.0f;
    if (static_cast<float>(pVehicle->GetMaxSightPercent(true)) < fObscuration)
        return;

    CUnitRef ref;
    ref.m_nUnit = nTargetUnit;
    ref.m_nArray = nTargetArray;
    ref.m_nSide = nTargetKind;
    ref.m_nVehicle = pTarget->m_nVehicle;
    ref.m_nTargetValue = bUnidentified ? 0 : pTargetVehicle->m_nTargetValue;
    ref.m_nThreatValue = bUnidentified ? 0 : pTargetVehicle->m_nThreatValue;
    ref.m_fBearing = fBearing;
    ref.m_nRange = RoundHalfUp(fRange);
    ref.m_bUnidentified = bUnidentified;
    m_pContacts->InsertSorted(ref);

    if (m_nSide == 0)
    {
        if (CKDRApp* pApp = GetKDRApp())
            pApp->ReportDetection(bUnidentified, this, pTarget, pTargetVehicle);
    }
}
