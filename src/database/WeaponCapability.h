#pragma once
// The optional attributes of a weapon type: a discrete time of flight, a
// minimum range and air defence. Each is a small serialisable object that
// stores its own words and writes its section of the weapon's page from a
// template of the data directory; the weapon's page lists them with links
// to those sections. CWeaponCapArray is a weapon's owning list of them.
//
// Stored forms (signed 16-bit words, read back sign-extended):
//   time of flight  speed, the four further values, the seek flag as 0/1
//   minimum range   minimum range
//   ADA             rotary-wing bonus, fixed-wing bonus
// A page section is empty without a loaded weapon list or a readable
// template; nothing on a page is ever an error.

#include "platform/core/CString.h"
#include "platform/core/Collections.h"
#include "platform/core/Object.h"
#include "platform/core/Types.h"

class CHTMLPage;
class CKDRDatabase;
class CPieceArray;

// Type codes of the weapon attributes.
constexpr int WCAP_TIME_OF_FLIGHT = 0x1;
constexpr int WCAP_MIN_RANGE = 0x2;
constexpr int WCAP_ADA = 0x4;

class CWeaponCapability : public CObject
{
    DECLARE_SERIAL(CWeaponCapability)
public:
    CWeaponCapability() = default;

    // The attribute's line in the weapon page's attribute list.
    virtual CString WriteHTMLLink(CKDRDatabase* pDatabase);
    // The attribute's section of the weapon page.
    virtual CString WriteHTMLPage(CKDRDatabase* pDatabase);
    // No attribute names a graphic: always 0.
    virtual BOOL CheckGraphics(CString& report, CPieceArray* pPieces);
    virtual int GetType() const { return 0; }
    virtual CString GetName() const { return CString(); }

protected:
    // The template's body with the attribute's tags replaced; empty when
    // the database has no weapon list or the template cannot be read.
    CString WriteSection(CKDRDatabase* pDatabase, const char* templateName);
    // Replaces the kind's tags in a loaded section.
    virtual void FillSection(CHTMLPage& page) { (void)page; }
};

class CWCapTimeOfFlight : public CWeaponCapability
{
    DECLARE_SERIAL(CWCapTimeOfFlight)
public:
    CWCapTimeOfFlight() = default;
    void Serialize(CArchive& ar) override;

    CString WriteHTMLLink(CKDRDatabase* pDatabase) override;
    CString WriteHTMLPage(CKDRDatabase* pDatabase) override;
    int GetType() const override { return WCAP_TIME_OF_FLIGHT; }
    CString GetName() const override { return "Discreet Time Of Flight"; }

    int m_nSpeed = 1;
    BOOL m_bSeek = FALSE;
    // Stored and kept; nothing reads them.
    int m_anFurther[4] = {1, 0, 0, 0};

protected:
    void FillSection(CHTMLPage& page) override;
};

class CWCapMinRange : public CWeaponCapability
{
    DECLARE_SERIAL(CWCapMinRange)
public:
    CWCapMinRange() = default;
    void Serialize(CArchive& ar) override;

    CString WriteHTMLLink(CKDRDatabase* pDatabase) override;
    CString WriteHTMLPage(CKDRDatabase* pDatabase) override;
    int GetType() const override { return WCAP_MIN_RANGE; }
    CString GetName() const override { return "Minimum Range"; }

    int m_nMinRange = 0;

protected:
    void FillSection(CHTMLPage& page) override;
};

class CWCapADA : public CWeaponCapability
{
    DECLARE_SERIAL(CWCapADA)
public:
    CWCapADA() = default;
    void Serialize(CArchive& ar) override;

    CString WriteHTMLLink(CKDRDatabase* pDatabase) override;
    CString WriteHTMLPage(CKDRDatabase* pDatabase) override;
    int GetType() const override { return WCAP_ADA; }
    CString GetName() const override { return "ADA"; }

    int m_nRotaryWingBonus = 0;
    int m_nFixedWingBonus = 0;

protected:
    void FillSection(CHTMLPage& page) override;
};

class CWeaponCapArray : public TypedObArray<CWeaponCapability>
{
    DECLARE_SERIAL(CWeaponCapArray)
public:
    // Fills the list of the three kind names.
    CWeaponCapArray();

    // The attributes' link lines; the None paragraph when there are none.
    CString WriteHTMLLinks(CKDRDatabase* pDatabase);
    // The attributes' page sections, in order; empty when there are none.
    CString WriteHTMLPages(CKDRDatabase* pDatabase);
    // Every attribute is asked; TRUE when any answered TRUE.
    BOOL CheckGraphics(CString& report, CPieceArray* pPieces);

    // "Discreet Time Of Flight", "Minimum Range", "ADA"; not stored.
    CStringArray m_typeNames;
};
