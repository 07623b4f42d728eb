#pragma once
// CFireMission: an indirect-fire mission, and in its second role a round in
// flight. A mission waits in a battery's queue (its CUCapIndirectFire's
// CFireMissionArray) until Step has laid and fired all its volleys; each
// volley becomes a round in the document's list of rounds in flight, which
// lands at its impact time, splashes once by its munition's type bits and
// shows three frames of its impact picture before it goes.
//
// The same fields serve both roles (the sheaf of a mission is the side of
// a round, its volleys the round's splash counter). Positions are map
// metres, the attitude mils, times whole calendar seconds.
//
// Stored form: target x, y (floats), munition type, munition index (words),
// fire time, impact time (32-bit times), volleys, sheaf, attitude, option,
// method (words, sign-extended), label (string). A position that is not a
// finite number raises the archive error. The sprite is not stored.

#include "platform/core/CString.h"
#include "platform/core/Object.h"
#include "platform/core/Time.h"

#include <vector>

class CKDRDatabase;
class CKDRGameMap;
class CKDRUnits;
class CSprite;
class CStringList;
class CUCapIndirectFire;
class CUnit;
class CVCapIndirectFire;

// Methods of control.
constexpr int FIRE_WHEN_READY = 0;
constexpr int FIRE_AMC = 1;
constexpr int FIRE_TOT = 2;
constexpr int FIRE_IMMEDIATE = 4;

// Step's result flags.
constexpr int FIRE_STEP_DONE = 0;       // the mission is over: remove it
constexpr int FIRE_STEP_BUSY = 1;       // a phase of the laying runs
constexpr int FIRE_STEP_WAITING = 2;    // waiting for its time or for the unit
constexpr int FIRE_STEP_LAID = 5;       // a volley was laid
constexpr int FIRE_STEP_AZIMUTH = 8;    // the first volley: the azimuth was set
constexpr int FIRE_STEP_QUEUE_EMPTY = 0x10;

// Sprite kinds for PrepareSprite.
constexpr int FIRE_SPRITE_MARKER = 0;
constexpr int FIRE_SPRITE_MARKER_GREY = 1;
constexpr int FIRE_SPRITE_IMPACT = 0x10;

// One position record of the fire-mission log: a map point and the unit
// it names (-1, -1 for a round, which names only its point).
struct SFireLogRecord
{
    int nX = 0;
    int nY = 0;
    int nUnit = -1;
    int nArray = -1;
};

class CFireMission : public CObject
{
    DECLARE_SERIAL(CFireMission)
public:
    CFireMission() = default;
    // A queued mission, from the fire-order settings.
    CFireMission(float fX, float fY, int nMunitionType, int nMunitionIndex, CTime tFire, CTime tImpact,
                 int nVolleys, int nSheaf, int nAttitude, int nMethod, int nOption, const CString& strLabel);
    ~CFireMission() override;
    CFireMission(const CFireMission&) = delete;
    CFireMission& operator=(const CFireMission&) = delete;

    // A round in flight from a volley: aim point plus the spread (0 to 5 m
    // east, 0 or 5 m north, from the seeded generator), splash counter 0.
    static CFireMission* NewInFlight(float fAimX, float fAimY, int nAttitude, int nMunitionIndex,
                                     int nMunitionType, CTime tImpact, int nSide);

    void Serialize(CArchive& ar) override;

    // One step of a queued mission for its battery; see the flags above.
    int Step(CTime tNow, float fHeading, float fUnitX, float fUnitY, CUCapIndirectFire* pUnitCap,
             CVCapIndirectFire* pVehicleCap, CKDRDatabase* pDatabase, BOOL bReady, float& fAzimuth, int nSide,
             CUnit* pUnit, int nPass1, int nPass2, int nPass3);
    // One step of a round in flight; 0 asks the caller to remove it.
    // bSplashed is set on the step of the splash and on the last step.
    int AdvanceInFlight(int nPass1, int nPass2, int nPass3, CKDRDatabase* pDatabase, CKDRUnits* pUnits,
                        CTime tNow, BOOL& bSplashed, CTimeSpan tsElapsed = CTimeSpan(0));

    // Kind: FIRE_SPRITE_MARKER, FIRE_SPRITE_MARKER_GREY or FIRE_SPRITE_IMPACT
    // (the frame of the splash counter); 1 when a sprite stands ready.
    int PrepareSprite(CKDRDatabase* pDatabase, CKDRGameMap* pMap, int nKind);
    void DrawMarker(float fUnitX, float fUnitY, CKDRGameMap* pMap, CKDRDatabase* pDatabase, BOOL bHighlighted);
    void DrawImpact(CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    // Appends this round's log line and position record when it is of the side.
    void FormatLogLine(int nSide, CKDRGameMap* pMap, CStringList& lines, std::vector<SFireLogRecord>& records) const;
    // "HE      " ... "PGM     " (eight characters), empty for any other type.
    static CString GetMunitionName(int nMunitionType);
    // A game time as the log shows it: "%D, %H:%M:%S", D the whole days
    // since 1 January 1970.
    static CString FormatTime(CTime t);
    // The scatterable-mine values of the round's munition: width, length,
    // density, limited-duration flag, duration; 0 when there are none.
    int GetFASCAMParameters(CKDRDatabase* pDatabase, float& fWidth, float& fLength, int& nDensity, int& bLimited,
                            int& nDuration) const;
    // The chemical values: radius, density, duration; 0 when there are none.
    int GetChemParameters(CKDRDatabase* pDatabase, float& fRadius, int& nDensity, int& nDuration) const;

    // The distance (metres) and azimuth (whole mils, 0..6400) from a point
    // to the target.
    void GetRangeAndAzimuth(float fFromX, float fFromY, double& dDistance, int& nAzimuth) const;
    // Whole seconds of flight over the distance for a munition's range and
    // the gun's time of flight at full range.
    static int TimeOfFlight(double dDistance, int nRange, int nGunTimeOfFlight);

    int GetSide() const { return m_nSheaf; }
    int GetSplashCounter() const { return m_nVolleys; }
    const CSprite* GetSprite() const { return m_bSpriteReady ? m_pSprite : nullptr; }

    float m_fX = 0.0f;  // aim point; for a round the impact point
    float m_fY = 0.0f;
    int m_nMunitionType = 0;
    int m_nMunitionIndex = 0;
    CTime m_tFireTime;    // TOT: when laying must begin; 0 not yet known
    CTime m_tImpactTime;  // TOT asked for; once laid, the expected impact
    int m_nVolleys = 0;   // volleys left; for a round the splash counter
    int m_nSheaf = 0;     // 0 Converged, 1 Linear, 2 Open; for a round its side
    int m_nAttitude = 0;  // mils
    int m_nOption = 0;    // carried along, read by nothing here
    int m_nMethod = FIRE_WHEN_READY;
    CString m_strLabel;

    // The unit that fired a round, when known (not stored): mines it lays
    // are told to it.
    int m_nUnit = -99;
    int m_nArray = -99;

private:
    void FreeSprite();

    CSprite* m_pSprite = nullptr;  // owned, not saved
    BOOL m_bSpriteReady = FALSE;
};

