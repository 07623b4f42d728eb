#pragma once
// Obstacles and chemical areas, the objects of one side's obstacle array
// (ObstacleArray.h). An obstacle is a rectangle on the map that stops
// ground movers: a mine field, a tank ditch, a road crater or wire. A
// chemical area is a circle of contamination left by a chemical munition.
//
// Which class an object has is fixed when it is made: the own side (0)
// holds plain objects (CObstacle, CChem), the other sides enemy objects
// (CEnemyObstacle, CEnemyChem), which also keep the contacts where own
// units met them. An enemy obstacle stops a mover of another side than its
// array's only within kContactReach of a contact: a side is stopped only
// by the parts of an enemy obstacle it has met.
//
// Geometry. The centre is (x, y) in map metres; the attitude is the long
// axis in mils measured like a bearing. A point lies in the rectangle when
// its part along the axis is at most length / 2 and its part across at
// most width / 2, and it is free again inside a breach lane (Breach.h). A
// chemical area holds the points closer to its centre than its radius (the
// width field), whether it is still active or not.
//
// Time. `time` is the road crater's time to fire, in game seconds since the
// mission's start, and the chemical area's expiry; Step sets a crater
// fired once that time is reached (and gives it time 0) and ends a
// chemical area the same way (time 0: inactive, not found by the chemical
// search and not drawn).
//
// Drawing. Each object draws itself into a sprite of its own: a rotated
// rectangle with its kind's symbols and lanes, a crater or chemical piece
// of the map's symbols, and the contact markers of an enemy object. The
// sprite is built at the map's zoom (DrawOnMapSurface) and never reaches
// beyond the map picture at that zoom: only the part of an obstacle that
// lies on the map is drawn, so a huge obstacle costs no more than the map.
// Update lays it on the display's back surface when it meets the visible
// part of the map, building it again first when its surface was lost or
// the zoom changed. Without a display nothing is drawn and the blocking
// tests do without the sprite. Sprites are display state, never saved.
//
// File record (also the saved game's): x, y (floats), attitude, width,
// length, density, type (16-bit words, read back signed), time (a time
// span), fired (word; any non-zero value sets it), the lanes; the enemy
// classes follow with their contacts. A negative width or length refuses
// the file.

#include "battlefield/Breach.h"
#include "battlefield/Contact.h"
#include "platform/core/Geometry.h"
#include "platform/core/Object.h"
#include "platform/core/Time.h"
#include "platform/core/Types.h"

#include <memory>

class CAITerrainRoute;
class CDC;
class CFrameSurface;
class CKDRGameMap;
class CPieceArray;
class CSprite;
struct MoverInfo;

class CObstacle : public CObject
{
    DECLARE_SERIAL(CObstacle)
public:
    // Obstacle type codes, single bits so that a mover's abilities test
    // against them as a mask.
    static constexpr int kMineField = 1;
    static constexpr int kTankDitch = 2;
    static constexpr int kRoadCrater = 4;
    static constexpr int kWire = 8;
    static constexpr int kChemArea = 16;

    // The classes' own bits (GetType).
    static constexpr int kClassObstacle = 1;
    static constexpr int kClassEnemyObstacle = 2;
    static constexpr int kClassChem = 4;
    static constexpr int kClassEnemyChem = 8;

    static constexpr int kDefaultAttitude = 1600;
    // How near a contact must lie to a point for an enemy obstacle to stop
    // a mover of another side there.
    static constexpr float kContactReach = 40.0f;
    // HitTest: inside the obstacle but in none of its lanes, or on its picture.
    static constexpr int kHitNoLane = 999;
    static constexpr int kMaxDensity = 100;

    CObstacle();
    ~CObstacle() override;
    CObstacle(const CObstacle&) = delete;
    CObstacle& operator=(const CObstacle&) = delete;

    void Serialize(CArchive& ar) override;

    // Attitude 1600, no lanes, time 0, not fired (an enemy object also
    // forgets its contacts).
    virtual void Reset();
    // The centre; with useContacts an enemy obstacle answers the mean of its
    // contacts instead, (-99.0, -99.0) when it has none.
    virtual void GetPosition(float& x, float& y, BOOL useContacts) const;
    // Whether the obstacle stops a mover at the point. otherSide: the mover
    // belongs to another side than the obstacle's array. A plain obstacle
    // stops it in its rectangle but for its lanes, and beyond the rectangle
    // wherever its picture shows (its outline, a crater's piece); the
    // picture never closes a lane.
    virtual BOOL IsBlockingAt(float x, float y, const CKDRGameMap* pMap, BOOL otherSide) const;
    // For a point in the rectangle the lane holding it, kHitNoLane in none;
    // outside, kHitNoLane on a pixel of the obstacle's picture (unless
    // ignoreSprite), else kUnset.
    virtual int HitTest(float x, float y, const CKDRGameMap* pMap, BOOL ignoreSprite) const;
    // The old name of HitTest, which draws nothing.
    int Draw(float x, float y, const CKDRGameMap* pMap, BOOL ignoreSprite) const
    {
        return HitTest(x, y, pMap, ignoreSprite);
    }
    // Lays the sprite on the back surface when it meets the visible map.
    virtual void Update(CKDRGameMap* pMap);
    // Builds the sprite again at the map's zoom; highlight draws the
    // selection outline (and the crater in blue).
    virtual void DrawOnMapSurface(CKDRGameMap* pMap, BOOL highlight);
    // Moves the centre, clamped to the map's extent (0 to its width and
    // height in metres); the lanes go (and an enemy object's contacts).
    virtual void SetPosition(float x, float y, const CKDRGameMap* pMap);
    // Puts a centre off the map on its edge (one that is no number on 0);
    // the lanes and contacts stay.
    void ClampToMap(const CKDRGameMap* pMap);
    // One step with the game time since the mission's start; TRUE when the
    // step changed what the map shows of the obstacle.
    virtual BOOL Step(CTimeSpan tsNow);
    virtual int GetType() const { return kClassObstacle; }
    virtual BOOL IsEnemy() const { return FALSE; }
    virtual CContactArray* GetContacts() { return nullptr; }
    const CContactArray* GetContacts() const { return const_cast<CObstacle*>(this)->GetContacts(); }
    virtual int GetAttitude() const { return m_nAttitude; }
    virtual int GetLength() const { return m_nLength; }
    virtual int GetObstacleType() const { return m_nType; }
    // An enemy chemical area takes a contact and draws itself again;
    // nothing for any other object.
    virtual void AddContact(float x, float y, CKDRGameMap* pMap);

    BOOL IsChemArea() const { return (GetType() & (kClassChem | kClassEnemyChem)) != 0; }

    // The passage of a mover past the obstacle: through a lane when one is
    // in reach, else beside it, on whichever side is nearer and free. 1
    // with the entry and a new two-point route the caller owns; 0 with
    // (-99.0, -99.0) and no route. useContacts: the mover's side knows the
    // obstacle only by its contacts.
    int FindCrossing(const MoverInfo& mover, BOOL useContacts, const CKDRGameMap* pMap, float* entryX, float* entryY,
                     CAITerrainRoute** ppRoute) const;

    // A new object of the plain or the enemy family with this one's
    // position, attitude, size, density, type and time; no lanes, no
    // contacts, not drawn.
    CObstacle* CopyAs(BOOL toEnemy) const;
    // A scatterable-mine strike on the obstacle: it becomes a mine field of
    // the new size (a crater also takes the attitude), its density grows by
    // the new one up to 100 after halving for a breached obstacle of
    // another kind; time 0, no lanes; drawn again.
    void Strengthen(int nAttitude, int nWidth, int nLength, int nDensity, CKDRGameMap* pMap);

    // Whether the point lies in the rotated rectangle.
    BOOL ContainsInRectangle(float x, float y) const;
    // The sprite's place in the map picture at the zoom it was built for;
    // empty without a sprite.
    const CRect& GetSpriteRect() const { return m_rcSprite; }
    const CSprite* GetSprite() const { return m_pSprite.get(); }

    float m_fX = 0.0f;
    float m_fY = 0.0f;
    int m_nAttitude = kDefaultAttitude;  // mils
    int m_nWidth = 0;                    // metres; a chemical area's radius
    int m_nLength = 0;                   // metres
    int m_nDensity = 0;
    int m_nType = kMineField;
    CTimeSpan m_tsTime;
    CBreachArray m_lanes;
    BOOL m_bFired = FALSE;
    BOOL m_bHighlight = FALSE;

protected:
    // The own part of the record, shared by every class.
    void SerializeRecord(CArchive& ar);
    // Whether a pixel of the sprite covers the map point.
    BOOL IsOnSprite(float x, float y, const CKDRGameMap* pMap) const;
    // Drops the sprite.
    void FreeSprite();
    // Builds the rectangle's sprite; the enemy objects draw their contacts
    // in it too.
    void BuildShapeSprite(CKDRGameMap* pMap);
    // Points the sprite at the crater piece that fits the state.
    void BuildCraterSprite(CKDRGameMap* pMap);
    // A blank sprite for the picture rectangle, magenta all over, or null
    // when the map has no display or the rectangle misses the map.
    CSprite* NewSpriteFor(CKDRGameMap* pMap, CRect rcPicture);
    // Draws the contact markers of an enemy object into its sprite.
    void DrawContactMarkers(CKDRGameMap* pMap);
    void DrawMineFieldSymbol(CDC* pDC, const CKDRGameMap* pMap, BOOL red) const;
    void DrawWireSymbol(CDC* pDC, const CKDRGameMap* pMap, BOOL red) const;
    void DrawTankDitchSymbol(CDC* pDC, const CKDRGameMap* pMap, BOOL red) const;
    // The centre in the map picture at the current zoom.
    void GetZoomedCentre(const CKDRGameMap* pMap, double* zx, double* zy) const;
    // Whether the sprite is missing, lost or built for another zoom.
    BOOL IsSpriteStale(const CKDRGameMap* pMap) const;
    // Lays the sprite on the back surface when it meets the visible map.
    void BlitSprite(CKDRGameMap* pMap) const;

    std::unique_ptr<CSprite> m_pSprite;
    CRect m_rcSprite;  // in the map picture at m_fSpriteZoom
    float m_fSpriteZoom = 0.0f;
};

class CEnemyObstacle : public CObstacle
{
    DECLARE_SERIAL(CEnemyObstacle)
public:
    CEnemyObstacle() = default;

    // The plain record, then the contacts.
    void Serialize(CArchive& ar) override;
    void Reset() override;
    void GetPosition(float& x, float& y, BOOL useContacts) const override;
    BOOL IsBlockingAt(float x, float y, const CKDRGameMap* pMap, BOOL otherSide) const override;
    void SetPosition(float x, float y, const CKDRGameMap* pMap) override;
    int GetType() const override { return kClassEnemyObstacle; }
    BOOL IsEnemy() const override { return TRUE; }
    CContactArray* GetContacts() override { return &m_contacts; }

    CContactArray m_contacts;
};

class CChem : public CObstacle
{
    DECLARE_SERIAL(CChem)
public:
    // A chemical area's density runs to 1000.
    static constexpr int kMaxChemDensity = 1000;

    CChem();

    BOOL IsBlockingAt(float x, float y, const CKDRGameMap* pMap, BOOL otherSide) const override;
    void Update(CKDRGameMap* pMap) override;
    void DrawOnMapSurface(CKDRGameMap* pMap, BOOL highlight) override;
    BOOL Step(CTimeSpan tsNow) override;
    int GetType() const override { return kClassChem; }
    int GetAttitude() const override { return kUnset; }
    int GetLength() const override { return kUnset; }
    int GetObstacleType() const override { return kChemArea; }

    BOOL IsActive() const { return m_tsTime.GetTotalSeconds() != 0; }
    // Whether the point is closer to the centre than the radius.
    BOOL ContainsInCircle(float x, float y) const;
    // The density as the percentage a unit's exposure uses: density x 0.01,
    // rounded.
    int GetDensityPercent() const;
    // Another chemical impact on the area: the density grows up to 1000,
    // a later expiry replaces the old one, the radius stays; drawn again.
    void Strengthen(int nDensity, CTimeSpan tsExpiry, CKDRGameMap* pMap);
    // Whether a crew inside the area notices it within nSeconds game
    // seconds: one percentile roll a second against the detection value
    // (0 never, 1 at once); a step of more than a minute rolls sixty times.
    BOOL DetectionRoll(int nSeconds, float fNBCDetect) const;
    // A unit stands in the area at the point. The area keeps no record of
    // its visitors yet: nothing happens.
    void OnUnitInside(float x, float y);
};

class CEnemyChem : public CChem
{
    DECLARE_SERIAL(CEnemyChem)
public:
    CEnemyChem() = default;

    void Serialize(CArchive& ar) override;
    void Reset() override;
    BOOL IsBlockingAt(float x, float y, const CKDRGameMap* pMap, BOOL otherSide) const override;
    void SetPosition(float x, float y, const CKDRGameMap* pMap) override;
    int GetType() const override { return kClassEnemyChem; }
    BOOL IsEnemy() const override { return TRUE; }
    CContactArray* GetContacts() override { return &m_contacts; }
    void AddContact(float x, float y, CKDRGameMap* pMap) override;

    CContactArray m_contacts;
};

// The sheet and frame of a symbol of the map's catalogue: a member of a
// list, else a single piece of that name. Null when there is none. The
// sheet is keyed with the sprites' magenta.
CFrameSurface* FindSymbolSheet(const CPieceArray* pCatalogue, const char* pszName, int* pFrame);
