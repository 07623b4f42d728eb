#pragma once
// CTerrainType: one kind of ground (woods, water, road ...) with what it does
// to movement and sight and how its features are drawn.
//
// Each type has two colour sets, set 1 for the colour map and set 2 for the
// contour displays; the pen and brush follow the active set. Loading a type
// makes set 1 active. Pen and brush are display objects only: they are not
// stored and are rebuilt whenever the active set changes.

#include "battlefield/TerrainCapability.h"
#include "platform/core/CString.h"
#include "platform/core/Object.h"
#include "platform/core/Types.h"

class CPen;
class CBrush;

// The fill style of a colour set: these two markers, or a hatch style
// (0 horizontal, 1 vertical, 2 forward diagonal, 3 backward diagonal,
// 4 cross, 5 diagonal cross).
constexpr int kTerrainFillSolid = -88;
constexpr int kTerrainFillHorizontal = 0;
constexpr int kTerrainFillLastHatch = 5;

// The auxiliary code of a type that has none.

struct TerrainColourSet
{
    int red = 0;
    int green = 0;
    int blue = 0;
    int fillStyle = kUnset;
    BOOL hideOutline = FALSE;
};

class CTerrainType : public CObject
{
    DECLARE_SERIAL(CTerrainType)
public:
    CTerrainType();
    CTerrainType(const CString& name, float obscuration, int auxCode, int height, float speedFactor,
                 const TerrainColourSet& set1, const TerrainColourSet& set2);
    ~CTerrainType() override;
    CTerrainType(const CTerrainType&) = delete;
    CTerrainType& operator=(const CTerrainType&) = delete;

    // File order: capabilities, auxiliary code, height (words), obscuration,
    // speed factor (floats), set 1 and set 2 (five words each), name.
    void Serialize(CArchive& ar) override;

    // Nonzero: colour set 1; zero: set 2. Rebuilds pen and brush.
    void SetColourSet(int useSet1);

    const CString& GetName() const { return m_strName; }
    COLORREF GetColour() const;  // the active set's red, green and blue
    float GetObscuration() const { return m_fObscuration; }
    int GetAuxCode() const { return m_nAuxCode; }
    int GetHeight() const { return m_nHeight; }
    float GetSpeedFactor() const { return m_fSpeedFactor; }
    const TerrainColourSet& GetColourSet(int set) const { return set == 1 ? m_set1 : m_set2; }
    const TerrainColourSet& GetActiveColourSet() const { return m_bSet1Active ? m_set1 : m_set2; }
    BOOL IsSet1Active() const { return m_bSet1Active; }
    CPen* GetPen() const { return m_pPen; }
    CBrush* GetBrush() const { return m_pBrush; }  // null for fill style -99
    const CTerrainTypeCapArray& GetCapabilities() const { return m_capabilities; }
    CTerrainTypeCapArray& GetCapabilities() { return m_capabilities; }

private:
    void DeleteDrawingObjects();

    CString m_strName;
    float m_fObscuration = 1.0f;
    int m_nAuxCode = kUnset;
    int m_nHeight = 0;
    float m_fSpeedFactor = 1.0f;
    TerrainColourSet m_set1;
    TerrainColourSet m_set2;
    BOOL m_bSet1Active = TRUE;
    CTerrainTypeCapArray m_capabilities;
    CPen* m_pPen = nullptr;
    CBrush* m_pBrush = nullptr;
};
