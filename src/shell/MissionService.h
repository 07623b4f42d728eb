#pragma once
// What the units' capabilities ask of the open mission beyond their own
// unit: the mission's obstacles (a breach in progress looks its obstacle up
// by side and index), a smoke cloud laid at a point and sent to the other
// player, and an obstacle placed by a unit and sent to the other player.
//
// The document installs itself while it lives; tests and benchmarks that
// want capabilities to reach obstacles or clouds install a small one over
// their own components. With none installed no obstacle is found, and
// nothing is laid or placed (every answer 0 or null).

class CKDRObstacles;

class CMissionService
{
public:
    virtual ~CMissionService() = default;

    // The mission's obstacle component; null without one.
    virtual CKDRObstacles* GetMissionObstacles() = 0;
    // A smoke cloud at the point (radius in metres, life in game seconds,
    // strength the share of thermal sights it blinds); nonzero when laid.
    virtual int AddSmokeAndSend(float fX, float fY, float fRadius, int nDuration, int nStrength) = 0;
    // An obstacle placed by the unit at (nUnit, nArray) of its side: width
    // and length in metres, attitude in mils; nonzero when placed.
    virtual int PlaceObstacleAndSend(float fWidth, float fLength, int nDensity, float fX, float fY, float fAttitude,
                                     int nSide, int nUnit, int nArray) = 0;
};

// The installed service; null when none is.
CMissionService* GetMissionService();
// Installs a service (null: none) and answers the one it replaces.
CMissionService* SetMissionService(CMissionService* pService);
