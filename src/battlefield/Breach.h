#pragma once
// Breach lanes: straight strips cut through an obstacle or a terrain feature
// by a breaching vehicle. Inside a lane the owner neither blocks nor slows a
// mover. Every obstacle and every terrain feature owns a list of them; the
// breaching units make and lengthen them, this file only stores, tests and
// draws them.
//
// A lane runs between its two ends (map metres) and is `width` metres wide.
// Its direction (mils, clockwise from north) gives the axes of the
// containment test; the length is the distance between the ends. A lane
// just started has its second end at (0, 0) and is tested as a long strip
// towards the map origin until the breacher moves that end.

#include "platform/core/Collections.h"
#include "platform/core/Geometry.h"
#include "platform/core/Object.h"
#include "platform/core/Types.h"

class CAITerrainRoute;
class CDC;
class CKDRGameMap;
struct MoverInfo;

class CBreach : public CObject
{
    DECLARE_SERIAL(CBreach)
public:
    // The lane's pens: olive rim, yellow, pale yellow centre.
    static constexpr COLORREF kRimColor = RGB(0xC4, 0xC4, 0x00);
    static constexpr COLORREF kMiddleColor = RGB(0xFF, 0xFF, 0x00);
    static constexpr COLORREF kCentreColor = RGB(0xFF, 0xFF, 0xC4);

    CBreach() = default;
    CBreach(float x1, float y1, float x2, float y2, float width, float direction, BOOL flag);

    // File order is x1, y1, x2, y2, width, direction (4-byte floats), then the
    // flag as a word (only a word of 1 sets it).
    void Serialize(CArchive& ar) override;

    // Whether the point lies in the lane, bounds included.
    BOOL Contains(float x, float y) const;
    // Draws the lane on the view, on the device context lent by the caller.
    void Draw(CDC* pDC, const CKDRGameMap* pMap) const;
    // Draws the lane into an obstacle's sprite that covers rcSprite of the
    // picture at the current zoom.
    void DrawOnSprite(const CRect& rcSprite, CDC* pDC, const CKDRGameMap* pMap) const;

    float m_fX1 = 0.0f;
    float m_fX2 = 0.0f;
    float m_fY1 = 0.0f;
    float m_fY2 = 0.0f;
    float m_fWidth = 0.0f;
    float m_fDirection = 0.0f;  // mils, clockwise from north
    BOOL m_bFlag = FALSE;

private:
    // The three lines between two points of the device context, cut to
    // the part of it that can show them.
    void DrawLines(CDC* pDC, double x1, double y1, double x2, double y2, float zoom) const;
};

// Owning list of lanes; its file form is that of an object array.
class CBreachArray : public TypedObArray<CBreach>
{
    DECLARE_SERIAL(CBreachArray)
public:
    // The farthest a lane end may lie from a mover to be offered to it.
    static constexpr float kEntryRange = 200.0f;

    // Index of the lane containing the point (the last one when several do),
    // kUnset when none.
    int FindBreachAt(float x, float y) const;
    // The nearest lane end within kEntryRange of the mover (both coordinates
    // at least 0) where neither that end nor the lane's other end is blocked
    // for the mover. 1 with the end and a new two-point route through the
    // lane (flags 3, this end then the other, whole metres) that the caller
    // owns; 0 with (-99.0, -99.0) and no route. The heading is not needed.
    int FindLaneEntry(const MoverInfo& mover, const CKDRGameMap* pMap, float* entryX, float* entryY,
                      CAITerrainRoute** ppRoute) const;
    // Draws every lane over the map on the device context lent by the caller.
    void Draw(CDC* pDC, const CKDRGameMap* pMap) const;
    // The same, borrowing the back surface's device context from the map.
    void Draw(const CKDRGameMap* pMap) const;
};

// A new route of two points for a passage: flags 3 (movers of class 0x1
// and 0x2), from (fromX, fromY) to (toX, toY) in whole metres rounded.
CAITerrainRoute* MakePassageRoute(float fromX, float fromY, float toX, float toY);
