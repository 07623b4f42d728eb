#pragma once
// Breach lanes: straight strips cut through an obstacle or a terrain feature
// by a breaching vehicle. Inside a lane the owner neither blocks nor slows a
// mover.
//
// Only what the terrain needs is here so far: the lane record and its owning
// list with their file form (every terrain feature carries a list inside the
// elevation file), and the lane look-up that the terrain's speed factor and
// blocking tests ask. Until lanes are cut during play, no point lies in a
// lane.

#include "platform/core/Collections.h"
#include "platform/core/Object.h"
#include "platform/core/Types.h"

class CDC;
class CKDRGameMap;

class CBreach : public CObject
{
    DECLARE_SERIAL(CBreach)
public:
    CBreach() = default;
    CBreach(float x1, float y1, float x2, float y2, float width, float direction, BOOL flag);

    // File order is x1, y1, x2, y2, width, direction (4-byte floats), then the
    // flag as a word (only a word of 1 sets it).
    void Serialize(CArchive& ar) override;

    float m_fX1 = 0.0f;
    float m_fX2 = 0.0f;
    float m_fY1 = 0.0f;
    float m_fY2 = 0.0f;
    float m_fWidth = 0.0f;
    float m_fDirection = 0.0f;  // mils, clockwise from north
    BOOL m_bFlag = FALSE;
};

// Owning list of lanes; its file form is that of an object array.
class CBreachArray : public TypedObArray<CBreach>
{
    DECLARE_SERIAL(CBreachArray)
public:
    // Index of the lane containing the point (the last one when several do),
    // kUnset when none.
    int FindBreachAt(float x, float y) const;
    // Draws every lane over the map on the device context lent by the caller.
    void Draw(CDC* pDC, const CKDRGameMap* pMap) const;
};
