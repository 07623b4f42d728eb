#pragma once
// The three terrain questions the path builders ask of the game map: may a
// mover stand here, where does a corridor first meet blocking ground, and
// which way leads on from a blocked step. The builders ask them through this
// small interface so that a benchmark can record the questions a build asks
// and replay them bare; the plain form forwards to the game map unchanged.

#include "platform/core/Types.h"

class CAITerrainRegion;
class CAITerrainRoute;
class CKDRGameMap;
class CKDRObstacles;
class CObstacle;
class CTerrain;
struct MoverInfo;

class CRouteQueries
{
public:
    explicit CRouteQueries(CKDRGameMap* pMap) : m_pMap(pMap) {}
    virtual ~CRouteQueries() = default;

    CKDRGameMap* GetMap() const { return m_pMap; }

    virtual int IsPointBlocked(float x, float y, CKDRObstacles* obstacles, int moverFlags, int moverSide,
                               int abilityMask) const;
    virtual int FindSegmentBlock(CKDRObstacles* obstacles, float x1, float y1, float x2, float y2, float* blockedX,
                                 float* blockedY, float width, float extraLength, int moverFlags, int moverSide,
                                 CAITerrainRegion** region, CTerrain** feature, CObstacle** obstacle, int* marker,
                                 int abilityMask) const;
    virtual int TestMoveBlocked(const MoverInfo& mover, CObstacle* pCurrent, float* crossX, float* crossY,
                                CAITerrainRoute** ppRoute, int* pRouteCreated, int* pReverse,
                                int* pEntryIndex) const;

private:
    CKDRGameMap* m_pMap;
};
