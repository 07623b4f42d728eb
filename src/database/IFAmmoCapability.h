#pragma once
// The special effects of an indirect-fire munition: a smoke screen, a
// scatterable minefield (FASCAM), illumination, a chemical agent and
// precision guidance. They are plain data: when a round lands the fire
// missions look up the capability of the type they need (FindByType) and
// take its stored values, unscaled; a munition without it has no such
// effect. Each also writes its section of the munition's page.
//
// Stored forms ("word": signed 16-bit read back sign-extended; "flag": a
// 0/1 word, any non-zero word reads as set):
//   Smoke, Illum  radius (float, metres); duration, percent IR (words)
//   FASCAM        density, duration, length, width (words); limited
//                 duration (flag)
//   Chem          radius, density, duration (words)
//   PGM           foot print, laser time, maximum angle (words)
// CIFAmmoCapArray stores itself as a plain object array of them.

#include "platform/core/CString.h"
#include "platform/core/Collections.h"
#include "platform/core/Object.h"
#include "platform/core/Types.h"

class CHTMLPage;
class CKDRDatabase;

// Ammunition capability type codes.
constexpr int IFCAP_SMOKE = 0x1;
constexpr int IFCAP_FASCAM = 0x2;
constexpr int IFCAP_ILLUM = 0x4;
constexpr int IFCAP_CHEM = 0x8;
constexpr int IFCAP_PGM = 0x10;

class CIFAmmoCapability : public CObject
{
    DECLARE_SERIAL(CIFAmmoCapability)
public:
    CIFAmmoCapability() = default;

    virtual int GetType() { return 0; }
    // The capability's line in the munition page's capability list.
    virtual CString WriteHTMLLink(CKDRDatabase* pDatabase);
    // Its section of the munition's page; empty without its template.
    virtual CString WriteHTMLPage(CKDRDatabase* pDatabase);
    virtual CString GetName() { return CString(); }

protected:
    // The template from the data directory cut to its body; FALSE when it
    // cannot be read.
    static BOOL LoadSection(CHTMLPage& page, const char* templateName, const CKDRDatabase* pDatabase);
};

class CIFCapSmoke : public CIFAmmoCapability
{
    DECLARE_SERIAL(CIFCapSmoke)
public:
    CIFCapSmoke() = default;
    void Serialize(CArchive& ar) override;
    int GetType() override { return IFCAP_SMOKE; }
    CString WriteHTMLLink(CKDRDatabase* pDatabase) override;
    CString WriteHTMLPage(CKDRDatabase* pDatabase) override;
    CString GetName() override { return "Smoke"; }

    float m_fRadius = 0.0f;  // metres; the page shows it x 10
    int m_nDuration = 0;
    int m_nPercentIR = 0;

protected:
    CString WriteCloudSection(const char* templateName, const CKDRDatabase* pDatabase);
};

class CIFCapIllum : public CIFCapSmoke
{
    DECLARE_SERIAL(CIFCapIllum)
public:
    CIFCapIllum() = default;
    int GetType() override { return IFCAP_ILLUM; }
    CString WriteHTMLLink(CKDRDatabase* pDatabase) override;
    CString WriteHTMLPage(CKDRDatabase* pDatabase) override;
    CString GetName() override { return "Illum"; }
};

class CIFCapFASCAM : public CIFAmmoCapability
{
    DECLARE_SERIAL(CIFCapFASCAM)
public:
    CIFCapFASCAM() = default;
    void Serialize(CArchive& ar) override;
    int GetType() override { return IFCAP_FASCAM; }
    CString WriteHTMLLink(CKDRDatabase* pDatabase) override;
    CString WriteHTMLPage(CKDRDatabase* pDatabase) override;
    CString GetName() override { return "FASCAM"; }

    int m_nLength = 0;  // x 10 on the page
    int m_nWidth = 0;   // x 10 on the page
    int m_nDensity = 0;
    BOOL m_bLimitedDuration = FALSE;
    int m_nDuration = 0;  // seconds
};

class CIFCapChem : public CIFAmmoCapability
{
    DECLARE_SERIAL(CIFCapChem)
public:
    CIFCapChem() = default;
    void Serialize(CArchive& ar) override;
    int GetType() override { return IFCAP_CHEM; }
    CString WriteHTMLLink(CKDRDatabase* pDatabase) override;
    CString WriteHTMLPage(CKDRDatabase* pDatabase) override;
    CString GetName() override { return "Chem"; }

    int m_nRadius = 0;    // x 10 on the page
    int m_nDensity = 0;   // shown x 0.1
    int m_nDuration = 0;  // seconds; shown in whole minutes
};

class CIFCapPGM : public CIFAmmoCapability
{
    DECLARE_SERIAL(CIFCapPGM)
public:
    CIFCapPGM() = default;
    void Serialize(CArchive& ar) override;
    int GetType() override { return IFCAP_PGM; }
    CString WriteHTMLLink(CKDRDatabase* pDatabase) override;
    CString WriteHTMLPage(CKDRDatabase* pDatabase) override;
    CString GetName() override { return "Precision Guided Munition"; }

    int m_nFootPrint = 0;  // x 10 on the page
    int m_nLaserTime = 0;
    int m_nMaxAngle = 0;  // negative: none
};

class CIFAmmoCapArray : public TypedObArray<CIFAmmoCapability>
{
    DECLARE_SERIAL(CIFAmmoCapArray)
public:
    // Fills the list of the five kind names.
    CIFAmmoCapArray();

    // The first capability whose GetType is the type; null when none.
    CIFAmmoCapability* FindByType(int type) const;
    // The link lines; the None paragraph when there are none.
    CString WriteHTMLLinks(CKDRDatabase* pDatabase);
    // The page sections; empty when there are none.
    CString WriteHTMLPages(CKDRDatabase* pDatabase);

    // "Smoke", "FASCAM", "Illum", "Chem", "Precision Guided Munition"; not stored.
    CStringArray m_typeNames;
};
