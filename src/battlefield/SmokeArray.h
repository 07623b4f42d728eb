#pragma once
// Smoke and illumination clouds: round clouds on the map that live a number
// of game seconds and drift with the wind. Smoke (CSmoke, kind 1) screens
// lines of sight; illumination (CIllum, kind 2) lights the ground beneath
// it at night. The document holds one CSmokeArray for the mission; splashes
// of smoke and illumination rounds add to it, the game loop steps it once a
// pass, the view draws it and detection asks it what a line of sight
// crosses and how bright a target's ground is.
//
// Units: metres for the centre and the radius (the munition capability's
// radius as stored), game seconds for the time left, percent for the
// strength (obscuration for smoke, brightness for illumination). A cloud's
// picture is the catalogue's "Smoke Grey" or "Illum Yellow" piece cut to
// the disc, at most kMaxPictureSide pixels a side and stretched beyond.
//
// Stored form of a cloud: x, y, radius (floats), time left, strength
// (words, sign-extended); the array's class tags tell the two kinds apart.
// A centre or radius that is not a finite number raises the archive error.

#include "platform/core/Core.h"

#include <vector>

class CFireMission;
class CFrameSurface;
class CKDRDatabase;
class CKDRGameMap;
class CSprite;

constexpr int CLOUD_KIND_SMOKE = 1;
constexpr int CLOUD_KIND_ILLUM = 2;

class CSmoke : public CObject
{
    DECLARE_SERIAL(CSmoke)
public:
    // Largest side of a cloud's picture in pixels; a larger cloud is drawn
    // stretched, so a huge radius costs no more memory than this.
    static constexpr int kMaxPictureSide = 2048;

    CSmoke() = default;
    CSmoke(float fX, float fY, float fRadius, int nTimeLeft, int nStrength);
    ~CSmoke() override;
    CSmoke(const CSmoke&) = delete;
    CSmoke& operator=(const CSmoke&) = delete;

    virtual int GetKind() const { return CLOUD_KIND_SMOKE; }
    void Serialize(CArchive& ar) override;

    // Builds the cloud's picture at the map's zoom; without the piece the
    // cloud keeps no picture and is not drawn.
    void PrepareDrawing(CKDRGameMap* pMap);
    void Draw(CKDRGameMap* pMap);
    // Whether a picture is ready (for tests and the draw).
    BOOL HasPicture() const { return m_pSprite != nullptr && m_pSurface != nullptr; }
    const CSprite* GetSprite() const { return m_pSprite; }

    float m_fX = 0.0f;
    float m_fY = 0.0f;
    float m_fRadius = 0.0f;
    int m_nTimeLeft = 0;  // game seconds
    int m_nStrength = 0;  // percent

private:
    void FreeDrawing();
    const char* GetPictureName() const;

    CFrameSurface* m_pSurface = nullptr;  // owned, not saved
    CSprite* m_pSprite = nullptr;         // owned, not saved
    int m_nDrawnSide = 0;                 // the side the picture stands for, in view pixels
};

class CIllum : public CSmoke
{
    DECLARE_SERIAL(CIllum)
public:
    CIllum() = default;
    CIllum(float fX, float fY, float fRadius, int nTimeLeft, int nStrength)
        : CSmoke(fX, fY, fRadius, nTimeLeft, nStrength)
    {
    }
    int GetKind() const override { return CLOUD_KIND_ILLUM; }
};

// How one observer sees the smoke: each cloud's bearing and half-width,
// which depend only on where the observer stands, worked out once per
// observer and then asked for every target. Keeps its storage from one
// observer to the next, so a detection sweep allocates nothing once it has
// seen the most clouds.
class CSmokeSight
{
public:
    void Take(const class CSmokeArray* pSmoke, float fX, float fY);
    // The summed strength of the smoke across the bearing (radians,
    // clockwise from north); the same as CSmokeArray::GetObscurationOnBearing
    // from the point taken.
    float GetObscuration(float fBearing) const;
    BOOL IsEmpty() const { return m_bearings.empty(); }
    int GetCloudCount() const { return static_cast<int>(m_bearings.size()); }

private:
    // Side by side, in the array's order, so that a target's test runs down
    // three short rows without a branch. A cloud the observer stands in has
    // an endless half-width: every bearing crosses it.
    std::vector<double> m_bearings;   // radians, clockwise from north
    std::vector<float> m_halfWidths;  // radians
    std::vector<int> m_strengths;
    // Whether the strengths add up in any order to what a float sum in the
    // array's order gives: every partial sum a whole number a float holds.
    bool m_bWholeSums = true;
};

class CSmokeArray : public TypedObArray<CSmoke>
{
    DECLARE_SERIAL(CSmokeArray)
public:
    CSmokeArray() = default;

    // One step of every cloud with the wind (direction in radians toward
    // which it blows, clockwise from north; speed: a cloud drifts speed x
    // 0.1 m per game second); once per pass of the game loop. TRUE when a
    // cloud drifted, aged or went: the map then shows something new.
    virtual BOOL Step(float fWindDirection, float fWindSpeed);
    // Nonzero when a cloud was added.
    int AddSmoke(float fX, float fY, float fRadius, int nTimeLeft, int nStrength, CKDRGameMap* pMap);
    int AddIllum(float fX, float fY, float fRadius, int nTimeLeft, int nStrength, CKDRGameMap* pMap);
    int AddSmokeFromImpact(CFireMission* pRound, CKDRDatabase* pDatabase, CKDRGameMap* pMap);
    int AddIllumFromImpact(CFireMission* pRound, CKDRDatabase* pDatabase, CKDRGameMap* pMap);
    void DrawAll(CKDRGameMap* pMap);
    // The first illumination cloud over the point (on its edge counts): its
    // index and, through fLight, its light (1.0 daylight, the strength
    // percent x 0.01); kUnset, and fLight kUnsetFloat, when none covers it.
    int FindIllumAt(float fX, float fY, float& fLight) const;
    // The summed obscuration (percent) of the smoke clouds that a line of
    // sight from the point along the bearing (radians) crosses. A cloud
    // counts whatever its distance, beyond the target too; an observer
    // inside a cloud is screened on every bearing. The range is not used.
    float GetObscurationOnBearing(float fX, float fY, float fBearing, float fRange) const;
    void PrepareAll(CKDRGameMap* pMap);

    DWORD m_dwStamp = 0;   // millisecond counter at the last step
    int m_nRemainder = 0;  // game milliseconds short of a whole second
};
