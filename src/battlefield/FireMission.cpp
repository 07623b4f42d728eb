#include "battlefield/FireMission.h"

IMPLEMENT_SERIAL(CFireMission, CObject, 1)

int CFireMission::GetFASCAMParameters(CKDRDatabase*, float& fWidth, float& fLength, int& nDensity, int& bLimited,
                                      int& nDuration) const
{
    fWidth = 0.0f;
    fLength = 0.0f;
    nDensity = 0;
    bLimited = 0;
    nDuration = 0;
    return 0;
}

int CFireMission::GetChemParameters(CKDRDatabase*, float& fRadius, int& nDensity, int& nDuration) const
{
    fRadius = 0.0f;
    nDensity = 0;
    nDuration = 0;
    return 0;
}
