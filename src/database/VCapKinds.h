#pragma once
// The capability kinds that are plain data for the units: a dismounted
// team, a troop compartment, emplacing, breaching, engineering, a laser
// observer, a fire direction centre, a smoke generator, fixed and rotary
// wing flight and mine laying. The turret (VCapTurret.h) and the kinds that
// name munitions (VCapIndirectFire.h) live apart.
//
// Stored forms, in order ("word": signed 16-bit read back sign-extended;
// "flag": a 0/1 word, any non-zero word reads as set):
//   Dismount            nothing
//   Personnel Carrier   time to mount, to dismount, number of dismounts,
//                       time to open, to close (words); open graphic
//   Emplace             time to emplace, to displace (words); spare flag;
//                       emplace graphic
//   Breacher            breach speed (float); breach width, obstacle types,
//                       disable odds (words)
//   Engineer            breach length, breach width, obstacle types, time
//                       to breach, number of breaches (words); breach sound,
//                       breaching graphic, no-breaches graphic
//   Observer            range, moving range (words); laser spot graphic;
//                       spares 1 and 2, percent IR, percent night vision
//                       (words); coaxial (flag)
//   FDC                 gun types (a string list); fire angle, maximum
//                       guns (words)
//   Smoker              radius (float); time to live, percent IR, time to
//                       release, number of smoke (words); burst release
//   Fixed Wing          altitude, sprint altitude (words); VTOL (flag);
//                       names 1 and 2
//   Rotary Wing         altitude, sprint altitude, defilade altitude
//                       (words); defilade pop-up, land when stopped (flags);
//                       name
//   Mine Layer          time to deploy (word); use minimum range (flag);
//                       maximum range, length, width, density (words);
//                       spare flag; spare value, number of mines (words)
// Distances marked "x 10" below are shown on the pages times ten.

#include "database/VehicleCapability.h"

// Obstacle type bits a breacher or engineer can breach.
constexpr int OBSTACLE_MINES = 0x1;
constexpr int OBSTACLE_TANK_DITCH = 0x2;
constexpr int OBSTACLE_ROAD_CRATER = 0x4;
constexpr int OBSTACLE_WIRE = 0x8;

// One line per obstacle type of the mask, in the order mines, wire, tank
// ditches, road craters; empty for 0.
CString MakeObstacleList(int obstacleTypes);

class CVCapDismount : public CVehicleCapability
{
    DECLARE_SERIAL(CVCapDismount)
public:
    CVCapDismount() = default;
    CString WriteHTMLLink(CKDRDatabase* pDatabase) override;
    int GetType() override { return VCAP_DISMOUNT; }
    CString GetName() override { return "Dismount"; }
};

class CVCapPersonnelCarrier : public CVehicleCapability
{
    DECLARE_SERIAL(CVCapPersonnelCarrier)
public:
    CVCapPersonnelCarrier() = default;
    void Serialize(CArchive& ar) override;
    CString WriteHTMLLink(CKDRDatabase* pDatabase) override;
    // Empty without a loaded weapon list.
    CString WriteHTMLPage(CKDRDatabase* pDatabase) override;
    int GetType() override { return VCAP_PERSONNEL_CARRIER; }
    BOOL CheckGraphics(CString& report, CPieceArray* pPieces) override;
    CString GetName() override { return "Personnel Carrier"; }

    int m_nTimeToMount = 0;
    int m_nTimeToDismount = 0;
    int m_nNumberOfDismounts = 0;
    int m_nTimeToOpen = 0;
    int m_nTimeToClose = 0;
    CString m_strOpenGraphic;
};

class CVCapEmplace : public CVehicleCapability
{
    DECLARE_SERIAL(CVCapEmplace)
public:
    CVCapEmplace() = default;
    void Serialize(CArchive& ar) override;
    CString WriteHTMLLink(CKDRDatabase* pDatabase) override;
    CString WriteHTMLPage(CKDRDatabase* pDatabase) override;
    int GetType() override { return VCAP_EMPLACE; }
    BOOL CheckGraphics(CString& report, CPieceArray* pPieces) override;
    CString GetName() override { return "Emplace"; }

    int m_nTimeToEmplace = 0;
    int m_nTimeToDisplace = 0;
    BOOL m_bSpare = FALSE;  // set: the vehicle's direct-fire weapons fire only while emplaced
    CString m_strGraphic;
};

class CVCapBreacher : public CVehicleCapability
{
    DECLARE_SERIAL(CVCapBreacher)
public:
    CVCapBreacher() = default;
    void Serialize(CArchive& ar) override;
    CString WriteHTMLLink(CKDRDatabase* pDatabase) override;
    CString WriteHTMLPage(CKDRDatabase* pDatabase) override;
    int GetType() override { return VCAP_BREACHER; }
    CString GetName() override { return "Breacher"; }

    float m_fBreachSpeed = 0.0f;
    int m_nBreachWidth = 0;  // x 10
    int m_nObstacleTypes = OBSTACLE_MINES;
    int m_nDisableOdds = 0;
};

class CVCapEngineer : public CVehicleCapability
{
    DECLARE_SERIAL(CVCapEngineer)
public:
    CVCapEngineer() = default;
    void Serialize(CArchive& ar) override;
    CString WriteHTMLLink(CKDRDatabase* pDatabase) override;
    CString WriteHTMLPage(CKDRDatabase* pDatabase) override;
    int GetType() override { return VCAP_ENGINEER; }
    BOOL CheckGraphics(CString& report, CPieceArray* pPieces) override;
    CString GetName() override { return "Engineer"; }
    BOOL CheckSounds(CString& report) override;

    int m_nBreachLength = 0;  // x 10
    int m_nBreachWidth = 0;   // x 10
    int m_nObstacleTypes = OBSTACLE_MINES;
    int m_nTimeToBreach = 0;
    int m_nNumberOfBreaches = 0;
    CString m_strBreachSound;  // a vehicle sound
    CString m_strBreachingGraphic;
    CString m_strNoBreachesGraphic;
};

class CVCapObserver : public CVehicleCapability
{
    DECLARE_SERIAL(CVCapObserver)
public:
    CVCapObserver() = default;
    void Serialize(CArchive& ar) override;
    CString WriteHTMLLink(CKDRDatabase* pDatabase) override;
    CString WriteHTMLPage(CKDRDatabase* pDatabase) override;
    CString GetUnidentifiedName() override { return "Unidentified laser observer vehicle"; }
    int GetType() override { return VCAP_OBSERVER; }
    // Percent IR when asked for infrared, else percent night vision.
    int GetSightPercent(BOOL bInfrared) override { return bInfrared ? m_nPercentIR : m_nPercentNightVision; }
    BOOL CheckGraphics(CString& report, CPieceArray* pPieces) override;
    CString GetName() override { return "Observer"; }

    int m_nRange = 0;        // x 10
    int m_nMovingRange = 0;  // x 10
    CString m_strLaserSpotGraphic;
    int m_nSpare1 = 0;  // stored and kept; nothing here reads them
    int m_nSpare2 = 0;
    int m_nPercentIR = 0;
    int m_nPercentNightVision = 0;
    BOOL m_bCoaxial = FALSE;
};

class CVCapFDC : public CVehicleCapability
{
    DECLARE_SERIAL(CVCapFDC)
public:
    // Fire angles: low, high; any other value is both.
    static constexpr int kLowAngle = 0;
    static constexpr int kHighAngle = 1;

    CVCapFDC() = default;
    void Serialize(CArchive& ar) override;
    CString WriteHTMLLink(CKDRDatabase* pDatabase) override;
    CString WriteHTMLPage(CKDRDatabase* pDatabase) override;
    int GetType() override { return VCAP_FDC; }
    CString GetName() override { return "Fire Direction Center"; }

    CStringList m_gunTypes;  // the vehicle types whose fire it directs
    int m_nFireAngle = -1;
    int m_nMaxNumberOfGuns = 0;  // 0 or less: no maximum
};

class CVCapSmoker : public CVehicleCapability
{
    DECLARE_SERIAL(CVCapSmoker)
public:
    CVCapSmoker() = default;
    void Serialize(CArchive& ar) override;
    CString WriteHTMLLink(CKDRDatabase* pDatabase) override;
    CString WriteHTMLPage(CKDRDatabase* pDatabase) override;
    int GetType() override { return VCAP_SMOKER; }
    CString GetName() override { return "Smoker"; }

    float m_fRadius = 0.0f;  // x 10
    int m_nTimeToLive = 0;
    int m_nPercentIR = 0;
    int m_nTimeToRelease = 0;
    int m_nNumberOfSmoke = 0;
    BOOL m_bBurstRelease = FALSE;
};

class CVCapFixedWing : public CVehicleCapability
{
    DECLARE_SERIAL(CVCapFixedWing)
public:
    CVCapFixedWing() = default;
    void Serialize(CArchive& ar) override;
    CString WriteHTMLLink(CKDRDatabase* pDatabase) override;
    CString WriteHTMLPage(CKDRDatabase* pDatabase) override;
    int GetType() override { return VCAP_FIXED_WING; }
    CString GetName() override { return "Fixed Wing"; }

    int m_nAltitude = 0;
    int m_nSprintAltitude = 0;
    BOOL m_bVTOL = FALSE;
    CString m_strName1;  // stored and kept; nothing here reads them
    CString m_strName2;
};

class CVCapRotaryWing : public CVehicleCapability
{
    DECLARE_SERIAL(CVCapRotaryWing)
public:
    CVCapRotaryWing() = default;
    void Serialize(CArchive& ar) override;
    CString WriteHTMLLink(CKDRDatabase* pDatabase) override;
    CString WriteHTMLPage(CKDRDatabase* pDatabase) override;
    int GetType() override { return VCAP_ROTARY_WING; }
    CString GetName() override { return "Rotary Wing"; }

    int m_nAltitude = 0;
    int m_nSprintAltitude = 0;
    int m_nDefiladeAltitude = 0;
    BOOL m_bDefiladePopup = FALSE;
    BOOL m_bLandWhenStopped = FALSE;
    CString m_strName;  // stored and kept; nothing here reads it
};

class CVCapMineLayer : public CVehicleCapability
{
    DECLARE_SERIAL(CVCapMineLayer)
public:
    CVCapMineLayer() = default;
    void Serialize(CArchive& ar) override;
    CString WriteHTMLLink(CKDRDatabase* pDatabase) override;
    CString WriteHTMLPage(CKDRDatabase* pDatabase) override;
    int GetType() override { return VCAP_MINE_LAYER; }
    CString GetName() override { return "Mine Layer"; }

    int m_nTimeToDeploy = 0;
    BOOL m_bUseMinRange = FALSE;
    int m_nMaxRange = 0;  // x 10
    int m_nLength = 0;    // x 10
    int m_nWidth = 0;     // x 10
    int m_nDensity = 0;
    BOOL m_bSpare = FALSE;  // stored and kept; nothing here reads them
    int m_nSpare = 0;
    int m_nNumberOfMines = 0;
};
