#pragma once
// The fifteen kinds of AI order data item with their fields, defaults,
// copies and records. -99.0 marks an unset point or value. A record holding
// a unit group writes it through CHierarchyArray::Serialize.
//
// The breach lane's record has no count for its lane records (the breacher
// names are not stored), so a reader could not know how many follow: lanes
// are never written, and an item that held lanes is written as not yet
// calculated, so that it works its lanes out again once read.

#include "ai/UOrdAIOrderData.h"
#include "platform/core/Time.h"

#include <vector>

class CHierarchyArray;
class CNodeArray;

class CUOrdAIOrderDataObjective : public CUOrdAIOrderData
{
    DECLARE_SERIAL(CUOrdAIOrderDataObjective)
public:
    void Serialize(CArchive& ar) override;
    DWORD GetType() const override { return AIDATA_OBJECTIVE; }
    CString GetTypeName() const override { return "Objective"; }

    CString m_strObjectiveText;
    int m_nLeft = 0, m_nTop = 0, m_nRight = 0, m_nBottom = 0;  // map metres, normalised
    int m_nAreaWidth = 0;
    int m_nAreaHeight = 0;
};

class CUOrdAIOrderDataModeOfTravel : public CUOrdAIOrderData
{
    DECLARE_SERIAL(CUOrdAIOrderDataModeOfTravel)
public:
    void Serialize(CArchive& ar) override;
    DWORD GetType() const override { return AIDATA_MODE_OF_TRAVEL; }
    CString GetTypeName() const override { return "Mode Of Travel"; }

    int m_nTravelMode = 0;
    DWORD m_dwTravelKinds = 0;
    BOOL m_bMoveDismounted = FALSE;
};

class CUOrdAIOrderDataFormation : public CUOrdAIOrderData
{
    DECLARE_SERIAL(CUOrdAIOrderDataFormation)
public:
    void Serialize(CArchive& ar) override;
    DWORD GetType() const override { return AIDATA_FORMATION; }
    CString GetTypeName() const override { return "Formation"; }

    CString m_strPlatoonFormation;
    CString m_strCompanyFormation;
};

class CUOrdAIOrderDataORP : public CUOrdAIOrderDataFormation
{
    DECLARE_SERIAL(CUOrdAIOrderDataORP)
public:
    void Serialize(CArchive& ar) override;
    DWORD GetType() const override { return AIDATA_ORP; }
    CString GetTypeName() const override { return "ORP"; }

    float m_fPointX = 0.0f;
    float m_fPointY = 0.0f;
    int m_nFirstWord = 0;  // stored and copied; read by no operation
    float m_fStandoff = kUnsetFloat;
    float m_fObjectiveX = kUnsetFloat;
    float m_fObjectiveY = kUnsetFloat;
    int m_nOrpParam = kUnset;
};

class CUOrdAIOrderDataRoute : public CUOrdAIOrderData
{
    DECLARE_SERIAL(CUOrdAIOrderDataRoute)
public:
    CUOrdAIOrderDataRoute();
    // A deep copy of the path; the formation names start empty.
    CUOrdAIOrderDataRoute(const CUOrdAIOrderDataRoute& other);
    CUOrdAIOrderDataRoute& operator=(const CUOrdAIOrderDataRoute&) = delete;
    ~CUOrdAIOrderDataRoute() override;

    void Serialize(CArchive& ar) override;
    DWORD GetType() const override { return AIDATA_ROUTE; }
    CString GetTypeName() const override { return "Route"; }

    CNodeArray* m_pPath;  // owned, never null
    float m_fEndX = kUnsetFloat;
    float m_fEndY = kUnsetFloat;
    float m_fFaceX = kUnsetFloat;
    float m_fFaceY = kUnsetFloat;
    CStringArray m_astrFormationNames;
    CString m_strFormationName;
    int m_nTravelKinds = 0;
    BOOL m_bUseCurrentPath = FALSE;
    BOOL m_bEndFromORP = FALSE;  // not stored
};

class CUOrdAIOrderDataTime : public CUOrdAIOrderData
{
    DECLARE_SERIAL(CUOrdAIOrderDataTime)
public:
    void Serialize(CArchive& ar) override;
    DWORD GetType() const override { return AIDATA_TIME; }
    CString GetTypeName() const override { return "Time"; }

    CTimeSpan m_tsTime;
};

class CUOrdAIOrderDataDivideForce : public CUOrdAIOrderData
{
    DECLARE_SERIAL(CUOrdAIOrderDataDivideForce)
public:
    CUOrdAIOrderDataDivideForce();
    CUOrdAIOrderDataDivideForce(const CUOrdAIOrderDataDivideForce& other);
    CUOrdAIOrderDataDivideForce& operator=(const CUOrdAIOrderDataDivideForce&) = delete;
    ~CUOrdAIOrderDataDivideForce() override;

    // The four groups, the four "not wanted" flags, the division mode.
    void Serialize(CArchive& ar) override;
    DWORD GetType() const override { return AIDATA_DIVIDE_FORCE; }
    CString GetTypeName() const override { return "Divide Force"; }

    int m_nDivisionMode = 0;
    BOOL m_abNoGroup[4] = {FALSE, FALSE, FALSE, FALSE};
    CHierarchyArray* m_apGroups[4];  // owned, never null
};

class CUOrdAIOrderDataForcePercentage : public CUOrdAIOrderData
{
    DECLARE_SERIAL(CUOrdAIOrderDataForcePercentage)
public:
    CUOrdAIOrderDataForcePercentage() = default;
    CUOrdAIOrderDataForcePercentage(const CUOrdAIOrderDataForcePercentage& other);
    CUOrdAIOrderDataForcePercentage& operator=(const CUOrdAIOrderDataForcePercentage&) = delete;
    ~CUOrdAIOrderDataForcePercentage() override;

    void Serialize(CArchive& ar) override;
    DWORD GetType() const override { return AIDATA_FORCE_PERCENTAGE; }
    CString GetTypeName() const override { return "Force Percentage"; }

    int m_nPercentage = 0;
    DWORD m_dwForceMask = 0;
    DWORD m_dwUnitTypes = 0;
    CString m_strForceName;
    int m_nVehicleCount = 0;
    int m_nPercentCount = 0;
    CHierarchyArray* m_pGroup = nullptr;
    BOOL m_bHasGroup = FALSE;
};

class CUOrdAIOrderDataNumberOfVehicles : public CUOrdAIOrderDataForcePercentage
{
    DECLARE_SERIAL(CUOrdAIOrderDataNumberOfVehicles)
public:
    CUOrdAIOrderDataNumberOfVehicles() = default;
    CUOrdAIOrderDataNumberOfVehicles(const CUOrdAIOrderDataNumberOfVehicles& other) = default;

    void Serialize(CArchive& ar) override;
    DWORD GetType() const override { return AIDATA_NUMBER_OF_VEHICLES; }
    CString GetTypeName() const override { return "Number Of Vehicles"; }

    int m_nVehicleNumber = 0;
};

class CUOrdAIOrderDataSpecifiedForce : public CUOrdAIOrderData
{
    DECLARE_SERIAL(CUOrdAIOrderDataSpecifiedForce)
public:
    CUOrdAIOrderDataSpecifiedForce() = default;
    CUOrdAIOrderDataSpecifiedForce(const CUOrdAIOrderDataSpecifiedForce& other);
    CUOrdAIOrderDataSpecifiedForce& operator=(const CUOrdAIOrderDataSpecifiedForce&) = delete;
    ~CUOrdAIOrderDataSpecifiedForce() override;

    void Serialize(CArchive& ar) override;
    DWORD GetType() const override { return AIDATA_SPECIFIED_FORCE; }
    CString GetTypeName() const override { return "Specified Force"; }

    DWORD m_dwForceMask = 0;
    DWORD m_dwUnitTypes = 0;
    CString m_strUnitName;
    CHierarchyArray* m_pGroup = nullptr;
    BOOL m_bHasGroup = FALSE;
};

class CUOrdAIOrderDataCommonWeaponRange : public CUOrdAIOrderData
{
    DECLARE_SERIAL(CUOrdAIOrderDataCommonWeaponRange)
public:
    CUOrdAIOrderDataCommonWeaponRange() = default;
    CUOrdAIOrderDataCommonWeaponRange(const CUOrdAIOrderDataCommonWeaponRange& other);
    CUOrdAIOrderDataCommonWeaponRange& operator=(const CUOrdAIOrderDataCommonWeaponRange&) = delete;
    ~CUOrdAIOrderDataCommonWeaponRange() override;

    void Serialize(CArchive& ar) override;
    DWORD GetType() const override { return AIDATA_COMMON_WEAPON_RANGE; }
    CString GetTypeName() const override { return "Common Weapon Range"; }

    int m_nSide = 0;
    int m_nWeaponKind = 0;
    float m_fRangeFactor = 0.0f;
    int m_nForceMask = 0;
    int m_nUnitTypes = 0;
    CString m_strForceName;
    float m_fCommonRange = 0.0f;
    CHierarchyArray* m_pGroup = nullptr;
    BOOL m_bHasGroup = FALSE;
};

class CUOrdAIOrderDataSBFLocation : public CUOrdAIOrderData
{
    DECLARE_SERIAL(CUOrdAIOrderDataSBFLocation)
public:
    // One unit's firing position and engagement area.
    struct UnitPosition
    {
        float fFireX = kUnsetFloat;
        float fFireY = kUnsetFloat;
        float fFireFacing = kUnsetFloat;
        float fPosX = 0.0f;
        float fPosY = 0.0f;
        float fPosZ = 0.0f;
    };

    CUOrdAIOrderDataSBFLocation() = default;
    // Copies everything but the placement stage, which starts at 0.
    CUOrdAIOrderDataSBFLocation(const CUOrdAIOrderDataSBFLocation& other);
    CUOrdAIOrderDataSBFLocation& operator=(const CUOrdAIOrderDataSBFLocation&) = delete;

    void Serialize(CArchive& ar) override;
    DWORD GetType() const override { return AIDATA_SBF_LOCATION; }
    CString GetTypeName() const override { return "SBF Location"; }

    CStringArray m_astrUnitNames;
    CStringArray m_astrSecondNames;
    std::vector<UnitPosition> m_positions;  // one per unit name
    float m_afPlacedPoint[3] = {0.0f, 0.0f, 0.0f};
    float m_afPlacedArea[3] = {0.0f, 0.0f, 0.0f};
    CString m_strSbfText;
    int m_nSbfValue = 0;
    float m_fSbfStartX = kUnsetFloat;
    float m_fSbfStartY = kUnsetFloat;
    int m_nSbfTravelMode = 0;
    float m_fSbfTargetX = kUnsetFloat;
    float m_fSbfTargetY = kUnsetFloat;
    BOOL m_bPlacedStage = FALSE;  // not stored
};

class CUOrdAIOrderDataIFPositionArea : public CUOrdAIOrderDataSBFLocation
{
    DECLARE_SERIAL(CUOrdAIOrderDataIFPositionArea)
public:
    CUOrdAIOrderDataIFPositionArea() = default;
    CUOrdAIOrderDataIFPositionArea(const CUOrdAIOrderDataIFPositionArea& other) = default;

    void Serialize(CArchive& ar) override;
    DWORD GetType() const override { return AIDATA_IF_POSITION_AREA; }
    CString GetTypeName() const override { return "IF Position Area"; }

    CString m_strPlatoonFormation;
    CString m_strCompanyFormation;
    float m_fFireCentreX = kUnsetFloat;
    float m_fFireCentreY = kUnsetFloat;
};

class CUOrdAIOrderDataObstacleLine : public CUOrdAIOrderData
{
    DECLARE_SERIAL(CUOrdAIOrderDataObstacleLine)
public:
    void Serialize(CArchive& ar) override;
    DWORD GetType() const override { return AIDATA_OBSTACLE_LINE; }
    CString GetTypeName() const override { return "Obstacle Line"; }

    int m_nX1 = 0, m_nY1 = 0, m_nX2 = 0, m_nY2 = 0;
    float m_fObjectiveY = 0.0f;
    float m_fObjectiveX = 0.0f;
    float m_fOrpY = 0.0f;
    float m_fOrpX = 0.0f;
    float m_fLineRange = 200.0f;
    int m_nRangeValue = 0;
    DWORD m_dwObstacleTypes = 0;  // 1 mine, 2 tank ditch, 4 road crater, 8 wire
};

class CUOrdAIOrderDataBreachLane : public CUOrdAIOrderData
{
    DECLARE_SERIAL(CUOrdAIOrderDataBreachLane)
public:
    // One breacher's lane: its two end points (negative: no lane) and flags.
    struct Lane
    {
        float fX1 = 0.0f;
        float fY1 = 0.0f;
        float fX2 = 0.0f;
        float fY2 = 0.0f;
        BOOL bFlagA = FALSE;
        BOOL bFlagB = FALSE;
    };

    CUOrdAIOrderDataBreachLane() = default;
    CUOrdAIOrderDataBreachLane(const CUOrdAIOrderDataBreachLane& other) = default;

    void Serialize(CArchive& ar) override;
    DWORD GetType() const override { return AIDATA_BREACH_LANE; }
    CString GetTypeName() const override { return "Breach Location"; }

    float m_afBreachPoint[3] = {0.0f, 0.0f, 0.0f};
    CStringArray m_astrBreacherNames;
    std::vector<Lane> m_lanes;  // one per breacher name
    float m_fStartX = kUnsetFloat;
    float m_fStartY = kUnsetFloat;
    float m_fBreachTargetX = kUnsetFloat;
    float m_fBreachTargetY = kUnsetFloat;
    float m_fLaneAngle = kUnsetFloat;
    int m_nLaneTravelMode = 0;
    float m_fLaneHeading = kUnsetFloat;
};
