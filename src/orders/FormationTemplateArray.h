#pragma once
// Formation templates: named arrangements of a platoon's members
// (CFormationPlatoonTemplate, level 2) or of a company's platoons
// (CFormationCompanyTemplate, level 4) relative to the leader, and the
// mission's list of them (CFormationTemplateArray), read once from a
// "*.frm" file when the units load.
//
// Records (little-endian): a platoon template is 20 slot records of 24
// bytes (set-1 x, y factor, slot code; set-0 x, y factor, slot code), its
// name, its type mask (word, read zero-extended) and its icon name. A
// company template adds 10 position records of 36 bytes (per set: x, y,
// third and fourth value, flag word) and 20 platoon records (per set:
// position index word, platoon formation name). The "*.frm" file is the
// list's object array followed by its file name. LoadFile reads into a new
// list and keeps the old one when the file is cut short or corrupt.

#include "platform/core/CString.h"
#include "platform/core/Collections.h"

// Hierarchy levels that templates serve.
constexpr int FORMATION_LEVEL_PLATOON = 2;
constexpr int FORMATION_LEVEL_COMPANY = 4;
// Member slots of a platoon template (member i uses slot i modulo this).
constexpr int FORMATION_SLOTS = 20;
// Platoon positions of a company template.
constexpr int FORMATION_POSITIONS = 10;

class CFormationPlatoonTemplate : public CObject
{
    DECLARE_SERIAL(CFormationPlatoonTemplate)
public:
    CFormationPlatoonTemplate() = default;

    void Serialize(CArchive& ar) override;
    virtual int GetLevel() const { return FORMATION_LEVEL_PLATOON; }
    virtual void CopyFrom(const CFormationPlatoonTemplate& other);

    static int SlotOf(int nMember) { return ((nMember % FORMATION_SLOTS) + FORMATION_SLOTS) % FORMATION_SLOTS; }

    float m_afSet1X[FORMATION_SLOTS] = {};
    float m_afSet1Y[FORMATION_SLOTS] = {};
    int m_anSet1Slot[FORMATION_SLOTS] = {};
    float m_afSet0X[FORMATION_SLOTS] = {};
    float m_afSet0Y[FORMATION_SLOTS] = {};
    int m_anSet0Slot[FORMATION_SLOTS] = {};
    CString m_strName;
    DWORD m_dwTypeMask = 0;
    CString m_strIconName;
};

class CFormationCompanyTemplate : public CFormationPlatoonTemplate
{
    DECLARE_SERIAL(CFormationCompanyTemplate)
public:
    // One platoon position of one set.
    struct Position
    {
        float fX = 0.0f;
        float fY = 0.0f;
        float fThird = 0.0f;
        float fFourth = 0.0f;
        BOOL bFlag = FALSE;
    };

    CFormationCompanyTemplate() = default;

    void Serialize(CArchive& ar) override;
    int GetLevel() const override { return FORMATION_LEVEL_COMPANY; }
    void CopyFrom(const CFormationPlatoonTemplate& other) override;

    Position m_set1Positions[FORMATION_POSITIONS];
    Position m_set0Positions[FORMATION_POSITIONS];
    int m_anSet1Position[FORMATION_SLOTS] = {};
    CString m_astrSet1Formation[FORMATION_SLOTS];
    int m_anSet0Position[FORMATION_SLOTS] = {};
    CString m_astrSet0Formation[FORMATION_SLOTS];
};

class CFormationTemplateArray : public TypedObArray<CFormationPlatoonTemplate>
{
    DECLARE_SERIAL(CFormationTemplateArray)
public:
    CFormationTemplateArray() = default;

    // The templates, then the file name.
    void Serialize(CArchive& ar) override;
    // Reads a "*.frm" file from the data directory, which it makes current;
    // while it does not open a file dialog offers another, and Cancel gives
    // up. 1 when read, else 0.
    int LoadFile(const CString& fileName, const CString& strDataDir);

    // The first template of that exact name; null.
    CFormationPlatoonTemplate* FindByName(const CString& name) const;
    // Appends the names of the level's templates that pass the mask (an
    // element's category word): a shared bit, or both 0 or less.
    BOOL GetNamesForLevel(int nLevel, CStringArray& names, int nMask) const;
    // -1 for an empty or unknown name, kUnset for support by fire,
    // else the name's position in GetNamesForLevel's list.
    int GetFormationIndex(const CString& name, int nLevel, int nMask) const;
    // The list index of the first level-2 or level-4 template of that name,
    // its level in nLevel; -1 when none, kUnset for an empty name.
    int FindByNameAndLevel(const CString& name, int& nLevel) const;

    CString m_strFileName;
};
