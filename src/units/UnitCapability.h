#pragma once
// The runtime state of a unit's capabilities, one per capability of its
// vehicle type and in the same order, answering the same type code. Least
// form: the capabilities keep their type codes and do nothing else; the
// units subsystem replaces them.

#include "platform/core/Collections.h"
#include "platform/core/Object.h"
#include "platform/core/Time.h"

class CBreach;
class CFireMission;
class CFireMissionArray;
class CKDRDatabase;
class CObstacle;
class CVCapIndirectFire;
class CVehicleCapability;
class CVehicleType;

class CUnitCapability : public CObject
{
    DECLARE_SERIAL(CUnitCapability)
public:
    CUnitCapability();
    explicit CUnitCapability(DWORD dwType);
    ~CUnitCapability() override;

    // The capability type code (0x1 Turret ... 0x4000 Mine Layer).
    DWORD GetType() const { return m_dwType; }

protected:
    DWORD m_dwType;
};

class CUnitCapArray : public TypedObArray<CUnitCapability>
{
    DECLARE_SERIAL(CUnitCapArray)
public:
    // One runtime capability per vehicle capability, in array order.
    BOOL BuildFromVehicle(CVehicleType* pVehicle);
    // TRUE when the two lists have the same type codes in the same order.
    BOOL CheckAlignment(CVehicleType* pVehicle);
};

// Breaching ability of a unit (breacher vehicle or engineers).
class CUCapBreacher : public CUnitCapability
{
    DECLARE_SERIAL(CUCapBreacher)
public:
    CUCapBreacher();
    // Starts a breach lane in the obstacle when its type is covered; nonzero when started.
    int StartBreach(CObstacle* pObstacle, float fX, float fY, float fHeading, BOOL bAddContact);
};

class CUCapEngineer : public CUnitCapability
{
    DECLARE_SERIAL(CUCapEngineer)
public:
    CUCapEngineer();
    int StartBreach(CObstacle* pObstacle, float fX, float fY, float fHeading, BOOL bAddContact);
};

// A unit's indirect-fire capability (ability bit 0x8): its mission queue,
// its ammunition and its laying state.
class CUCapIndirectFire : public CUnitCapability
{
    DECLARE_SERIAL(CUCapIndirectFire)
public:
    CUCapIndirectFire();
    ~CUCapIndirectFire() override;

    // Position in the ammunition list of the munition with that type bit, or -1.
    int FindAmmo(DWORD dwMunitionType, CKDRDatabase* pDatabase) const;
    // Rounds left at a position of the ammunition list; 0 for an invalid position.
    int GetRoundsLeft(int nPosition) const;
    // Takes one round of the munition and plays the firing sound; nothing when absent.
    void TakeRound(int nMunitionIndex, CVCapIndirectFire* pVehicleCap);
    // Clears every phase flag, timer, the ready flag and the counter; answers 0.
    int ResetLayingState();

    CFireMissionArray* m_pMissions;  // the mission queue, owned (none in the least form)
    BOOL m_bTraverse;
    int m_nTraverseTimer;
    BOOL m_bCompute;
    int m_nComputeTimer;
    BOOL m_bShot;
    int m_nShotTimer;
    BOOL m_bReadyToFire;
    int m_nReadySteps;
    double m_dLaidAzimuth;
};
