#pragma once
// CHole: one dug position, a prepared fighting position with a facing. A
// vehicle position (kind 2) takes a vehicle, a dismount position (kind 1) a
// dismounted team; the first unit standing stopped on it occupies it and
// turns to its facing (CHoleArray::AssignOccupants). Positions belong to
// one side's array (HoleArray.h).
//
// Geometry: x and y in map metres, facing in radians clockwise from north.
// A position is always on the map: SetPosition and the array's load clamp
// it to 0 .. the map's width and height.
//
// Record (the "*.fho" file's and the saved game's): x, y (floats), kind (a
// 16-bit word, read back signed), facing (float), then three 32-bit values
// that are kept, copied and written back as read. The capability list,
// occupation and markers are not saved. A record whose position or facing
// is no finite number refuses the file.
//
// Markers: two sprites from the application's symbol catalogue, a base
// marker whose frame follows the facing and a kind marker. They are display
// state only; a position without them is still occupied and found, it just
// is not drawn.

#include "platform/core/Collections.h"
#include "platform/core/Object.h"
#include "platform/core/Types.h"
#include "platform/core/Unset.h"

class CKDRGameMap;
class CSprite;

// A position's capability: nothing reads one yet, but every position has a
// list of them so that its record can grow.
class CHoleCapability : public CObject
{
    DECLARE_SERIAL(CHoleCapability)
public:
    CHoleCapability() = default;
    void Serialize(CArchive& ar) override;

    virtual int GetType() const { return 0; }
    virtual int GetValue() const { return 0; }
    virtual CString GetName() const { return CString(); }
};

class CHoleCapArray : public TypedObArray<CHoleCapability>
{
    DECLARE_SERIAL(CHoleCapArray)
public:
    CHoleCapArray() = default;

    CStringList m_names;  // not saved
};

class CHole : public CObject
{
    DECLARE_SERIAL(CHole)
public:
    static constexpr int kDismount = 1;
    static constexpr int kVehicle = 2;

    CHole();
    // Every field but the markers; a capability list of its own.
    CHole(const CHole& other);
    CHole& operator=(const CHole&) = delete;
    ~CHole() override;

    void Serialize(CArchive& ar) override;

    // Moves the position, clamped to the map.
    void SetPosition(float x, float y, const CKDRGameMap* pMap);
    // Only the clamp; nothing without an elevation map but the lower edge.
    void ClampToMap(const CKDRGameMap* pMap);
    // Makes both markers again in the colour of the side (blue when
    // highlighted); a marker the catalogue lacks stays unready.
    void PrepareMarker(int nSide, const CKDRGameMap* pMap, BOOL bHighlighted);
    // Both markers on the back surface at the position, when ready and in
    // the display.
    void Draw(CKDRGameMap* pMap, int nSide);
    // Whether either marker covers the view point.
    BOOL MarkerContains(int nViewX, int nViewY) const;
    // The Hole Properties dialog for this position; on OK it takes the new
    // facing. TRUE on OK.
    BOOL Edit();
    // The base marker's frame for the facing on a sheet of nFrames frames.
    static int FrameForFacing(double dFacing, int nFrames);
    void DeleteMarkers();

    float m_fX = 0.0f;
    float m_fY = 0.0f;
    int m_nKind = kDismount;
    float m_fFacing = 0.0f;
    DWORD m_adwKept[3] = {};  // kept as read; not interpreted
    CHoleCapArray* m_pCapabilities;
    BOOL m_bOccupied = FALSE;
    CSprite* m_pBaseMarker = nullptr;
    CSprite* m_pKindMarker = nullptr;
    BOOL m_bBaseMarkerReady = FALSE;
    BOOL m_bKindMarkerReady = FALSE;
    int m_nOccupant = kUnset;       // unit index in its unit array
    int m_nOccupantArray = kUnset;  // that array's index within its side (0 for the own array)
};
