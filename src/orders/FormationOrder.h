#pragma once
// Formation orders: the standing order by which a platoon keeps its vehicles
// (CUOrdPlatoonFormation) or a company its platoons (CUOrdCompanyFormation)
// in the arrangement of a formation template, with one place per member;
// and the numbered conditional start of a path leg (CUOrdConditionalStart).
//
// Here they carry their fields, copies, codes, names and records; placing a
// formation belongs to the units and hierarchy that it moves.

#include "orders/UnitOrder.h"

class CFormationPlatoonTemplate;

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

    BOOL IsSpecial() const;
    void GetOffset(float& x, float& y) const;
    // The map marker of a special formation; empty for any other name.
    static CString GetSpecialFormationIconName(const CString& name);

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
