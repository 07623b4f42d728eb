#pragma once
// CFireMission: an indirect-fire mission, and in its second role a round in
// flight. Least form: a round with its impact point, attitude, side and the
// unit it came from, whose munition values are never found, so scatterable
// mines and chemical areas are never placed from it.

#include "platform/core/Object.h"

class CKDRDatabase;

class CFireMission : public CObject
{
    DECLARE_SERIAL(CFireMission)
public:
    CFireMission() = default;

    // The scatterable-mine values of the round's munition: width, length,
    // density, limited-duration flag, duration; 0 when there are none.
    int GetFASCAMParameters(CKDRDatabase* pDatabase, float& fWidth, float& fLength, int& nDensity, int& bLimited,
                            int& nDuration) const;
    // The chemical values: radius, density, duration; 0 when there are none.
    int GetChemParameters(CKDRDatabase* pDatabase, float& fRadius, int& nDensity, int& nDuration) const;

    float m_fImpactX = 0.0f;
    float m_fImpactY = 0.0f;
    float m_fAttitude = 0.0f;
    int m_nSide = 0;
    int m_nUnit = -99;  // the firing unit, -99: none
    int m_nArray = -99;
};
