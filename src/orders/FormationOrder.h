#pragma once
// Formation orders: the standing order by which a platoon keeps its vehicles
// (CUOrdPlatoonFormation) or a company its platoons (CUOrdCompanyFormation)
// in the arrangement of a formation template, with one place per member;
// and the numbered conditional start of a path leg (CUOrdConditionalStart).
//
// Placing a formation (FormationPlace.cpp, FormationCompany.cpp) builds
// the places from the template, turns them to the element's heading, moves
// the reference point to the anchor and gives every member a drivable path
// to its own slot. The special formations take dug positions and help-map
// support-by-fire positions instead (FormationSpecial.cpp); the positions
// they use are marked in the placement's own record, never in the map.

#include "orders/UnitOrder.h"

#include <vector>

class CFormationPlatoonTemplate;
class CFormationTemplateArray;
class CNodeArray;
class CUnit;

// One member a formation places: its unit and the name and leader word of
// its hierarchy entry (an element of a platoon, a platoon of a company).
struct FormationMember
{
    CUnit* pUnit = nullptr;
    CString strName;
    BOOL bLeader = FALSE;
};
using FormationMembers = std::vector<FormationMember>;

// The mission's components a placement works with; bDeployment says the
// game is in its deployment phase (units are put at their slots at once).
struct FormationContext
{
    CKDRUnits* pUnits = nullptr;
    CKDRGameMap* pMap = nullptr;
    CKDRDatabase* pDatabase = nullptr;
    CKDRObstacles* pObstacles = nullptr;
    CKDRHoles* pHoles = nullptr;
    BOOL bDeployment = FALSE;
};

// One member's slot of a formation, offsets in metres in the formation's frame.
class CUOrdPlatoonFormationPlace : public CObject
{
    DECLARE_SERIAL(CUOrdPlatoonFormationPlace)
public:
    CUOrdPlatoonFormationPlace() = default;
    CUOrdPlatoonFormationPlace(const CUOrdPlatoonFormationPlace& other) = default;

    // Set flag (word), x, y, slot code, member name, leader flag (word).
    void Serialize(CArchive& ar) override;
    virtual BOOL IsCompanyPlace() const { return FALSE; }
    virtual BOOL IsNear(float x, float y, float fUnused, float fLength, float fHeading) const;

    BOOL m_bLeader = FALSE;
    BOOL m_bSet1 = FALSE;
    float m_fX = 0.0f;
    float m_fY = 0.0f;
    int m_nSlotCode = 0;
    CString m_strMember;
};

class CUOrdCompanyFormationPlace : public CUOrdPlatoonFormationPlace
{
    DECLARE_SERIAL(CUOrdCompanyFormationPlace)
public:
    CUOrdCompanyFormationPlace() = default;
    CUOrdCompanyFormationPlace(const CUOrdCompanyFormationPlace& other) = default;

    // The place's record, then the platoon formation, radius, x and y extent.
    void Serialize(CArchive& ar) override;
    BOOL IsCompanyPlace() const override { return TRUE; }
    BOOL IsNear(float x, float y, float fUnused, float fLength, float fHeading) const override;

    CString m_strPlatoonFormation;
    float m_fRadius = 0.0f;
    float m_fExtentX = 0.0f;
    float m_fExtentY = 0.0f;
    int m_nPosition = 0;  // not stored
};

class CUOrdPlatoonFormation : public CUnitOrder
{
    DECLARE_SERIAL(CUOrdPlatoonFormation)
public:
    CUOrdPlatoonFormation();
    explicit CUOrdPlatoonFormation(const CString& templateName);
    explicit CUOrdPlatoonFormation(const CFormationPlatoonTemplate* pTemplate);
    CUOrdPlatoonFormation(const CUOrdPlatoonFormation& other);
    CUOrdPlatoonFormation& operator=(const CUOrdPlatoonFormation&) = delete;

    // Conditions, places, template name, reference offset x, then y.
    void Serialize(CArchive& ar) override;
    CString GetDescription(int, int) override { return m_strTemplate; }
    DWORD GetOrderType() const override { return UORD_PLATOON_FORMATION; }
    CString GetOrderName() const override { return "Platoon Formation"; }

    // An AI phase's step: the acting platoon (or each platoon of a group)
    // sets the formation by the order's name; a name the platoon is not
    // offered is cleared first.
    int Execute(CUOrdAIOrderDataArray* pData, CHierarchyPlatoon* pElement, CHierarchyPlatoon* pOwner,
                CKDRUnits* pUnits, CKDRObstacles* pObstacles, CKDRHoles* pHoles, CKDRDatabase* pDatabase,
                CKDRGameMap* pMap) override;
    // A Formation item gives the template name (its platoon formation).
    int AddData(CUOrdAIOrderData* pItem, CUOrdAIOrderDataArray* pData, CHierarchyPlatoon* pElement,
                CKDRUnits* pUnits, CKDRDatabase* pDatabase, CKDRGameMap* pMap) override;

    // ---- Placing (in this order after the base's operations) ----
    // Over the set-0 places (none: the set-1 places): the largest distance
    // from the reference point, the largest |x| and the largest y (|y|
    // unless bSigned). 0 and zeros when no place counts.
    virtual BOOL GetExtents(float& fRadius, float& fWidth, float& fDepth, BOOL bSigned) const;
    // BuildPlaces with the mean y taken off every place; the signed extents.
    virtual BOOL BuildCentred(const FormationMembers& set0, const FormationMembers& set1, CHierarchyPlatoon* pElement,
                              CKDRUnits* pUnits, float& fRadius, float& fWidth, float& fDepth);
    // The places from the template, member i of a set in slot i modulo 20;
    // an empty set 0 places set 1 as set 0. The leader's path is copied to
    // *ppLeaderPath (the caller's) when asked. 0 when an input is missing.
    virtual BOOL BuildPlaces(const FormationMembers& set0, const FormationMembers& set1, CNodeArray** ppLeaderPath,
                             CHierarchyPlatoon* pElement, CKDRUnits* pUnits);
    // Places the formation round the anchor (given above 0, else the
    // leader's unit plus the offset, or the element's own position) facing
    // the heading (-99.0: the element's, else north), and gives every member
    // a drivable path to its slot. 1 when the members were given paths.
    virtual BOOL Place(const FormationMembers& set0, const FormationMembers& set1, float fOffsetX, float fOffsetY,
                       CHierarchyPlatoon* pElement, const FormationContext& context, BOOL bUsePosition,
                       float fAnchorX, float fAnchorY, float fHeading);
    // max(0, largest y) - min(0, smallest y), set 1 left out when asked.
    virtual float GetDepth(BOOL bExcludeSet1, CKDRUnits* pUnits = nullptr) const;
    // How far ahead of the anchor the reference point goes.
    virtual float GetLeadDistance(CHierarchyPlatoon* pElement, CKDRUnits* pUnits = nullptr) const;
    CUOrdPlatoonFormationPlace* GetLeaderPlace() const;
    // The placement used when a company is made from units, and by the two
    // special formations: dug positions, help-map positions, then a circle.
    BOOL ApplyToPlatoon(CHierarchyPlatoon* pElement, const FormationContext& context, float fAnchorX, float fAnchorY,
                        float fHeading);

    // The element's available members with their units: vehicles in set 0,
    // dismount teams in set 1.
    static void CollectMembers(CHierarchyPlatoon* pElement, CKDRUnits* pUnits, FormationMembers& set0,
                               FormationMembers& set1);
    // The metres a template factor stands for in the element.
    static float GetInterval(const CHierarchyPlatoon* pElement);

    BOOL IsSpecial() const;
    void GetOffset(float& x, float& y) const;
    // The map marker of a special formation; empty for any other name.
    static CString GetSpecialFormationIconName(const CString& name);

    // Turns the place by the heading about the mean y, gives the member's
    // unit its path to anchor + the turned offset and makes it drivable.
    void PlaceMember(CUOrdPlatoonFormationPlace* pPlace, const FormationMembers& set0, const FormationMembers& set1,
                     float fAnchorX, float fAnchorY, double dHeading, float fMeanY, CHierarchyPlatoon* pElement,
                     const FormationContext& context);
protected:
    // The mean y offset of the set-0 places (company: weighted).
    virtual float GetMeanY(CKDRUnits* pUnits) const;
    // The path's conditional starts or its single node's stop, then March
    // Speed on and Sprint off.
    void FinishPlacement(CHierarchyPlatoon* pElement, const FormationContext& context);
    // The special placement's assignment and moves.
    BOOL PlaceSpecial(const FormationMembers& set0, const FormationMembers& set1, CHierarchyPlatoon* pElement,
                      const FormationContext& context, float fAnchorX, float fAnchorY, double dHeading);

public:
    float m_fReferenceY = 0.0f;
    float m_fReferenceX = 0.0f;
    CString m_strTemplate;
    TypedObArray<CUOrdPlatoonFormationPlace> m_places;  // company places in a company formation; owned
};

class CUOrdCompanyFormation : public CUOrdPlatoonFormation
{
    DECLARE_SERIAL(CUOrdCompanyFormation)
public:
    CUOrdCompanyFormation() = default;
    explicit CUOrdCompanyFormation(const CString& templateName) : CUOrdPlatoonFormation(templateName) {}
    explicit CUOrdCompanyFormation(const CFormationPlatoonTemplate* pTemplate) : CUOrdPlatoonFormation(pTemplate) {}
    CUOrdCompanyFormation(const CUOrdCompanyFormation& other) = default;

    DWORD GetOrderType() const override { return UORD_COMPANY_FORMATION; }
    CString GetOrderName() const override { return "Company Formation"; }

    int Execute(CUOrdAIOrderDataArray* pData, CHierarchyPlatoon* pElement, CHierarchyPlatoon* pOwner,
                CKDRUnits* pUnits, CKDRObstacles* pObstacles, CKDRHoles* pHoles, CKDRDatabase* pDatabase,
                CKDRGameMap* pMap) override;
    // A Formation item gives its company formation.
    int AddData(CUOrdAIOrderData* pItem, CUOrdAIOrderDataArray* pData, CHierarchyPlatoon* pElement,
                CKDRUnits* pUnits, CKDRDatabase* pDatabase, CKDRGameMap* pMap) override;
    // A company place counts with its platoon formation's extents.
    BOOL GetExtents(float& fRadius, float& fWidth, float& fDepth, BOOL bSigned) const override;
    float GetDepth(BOOL bExcludeSet1, CKDRUnits* pUnits = nullptr) const override;

    // One company place per platoon of the company (set 0, then set 1),
    // from the company template: platoons sharing a template position are
    // stacked outward along its angle. perPlatoon receives each platoon's
    // members in place order. 0 without a template or platoons.
    BOOL BuildCompanyPlaces(CHierarchyPlatoon* pCompany, CKDRUnits* pUnits, std::vector<FormationMembers>& perPlatoon);
    // Places the company's platoons at their places, each platoon in its own
    // formation inside its place. 1 when placed.
    BOOL PlaceCompany(CHierarchyPlatoon* pCompany, const FormationContext& context, float fOffsetX, float fOffsetY,
                      float fAnchorX, float fAnchorY, float fHeading);

protected:
    float GetMeanY(CKDRUnits* pUnits) const override;
};

// The numbered start of a path leg that formation placement adds.
class CUOrdConditionalStart : public CUnitOrder
{
    DECLARE_SERIAL(CUOrdConditionalStart)
public:
    // Conditional-start numbers count below this; it means none.
    static constexpr int NO_NUMBER = 99999;

    CUOrdConditionalStart() = default;
    // With one call-back condition watching the element's units.
    CUOrdConditionalStart(int nNumber, BOOL bFormation, CHierarchyPlatoon* pElement, CKDRUnits* pUnits);
    CUOrdConditionalStart(const CUOrdConditionalStart& other) = default;

    // Conditions, formation flag (word), number (word).
    void Serialize(CArchive& ar) override;
    DWORD GetOrderType() const override { return UORD_CONDITIONAL_START; }
    CString GetOrderName() const override { return "ConditionalStart"; }

    BOOL m_bFormation = FALSE;
    int m_nNumber = 0;
};
