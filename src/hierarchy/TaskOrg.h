#pragma once
// Task organisation: an entry names one unit (unit index and array index;
// the side is the side word of the list that holds it) or, as a named entry,
// a whole platoon or company by its name. A list of entries without
// duplicates is the system's general way of passing a set of units around:
// selections, the units an order or a record acts on, the ten keyboard
// groups. The hierarchy levels above the single vehicle build on the list,
// and the single-vehicle level is an entry.
//
// Every lookup answers kUnset (-99) when nothing matches; callers test for
// it before they index. AddUnique refuses a duplicate with kUnset and leaves
// the refused entry to the caller, who deletes it.
//
// Archive forms (16-bit words written from the low half and sign-extended
// when read):
//   CTaskOrg: unit index, array index (words). The marker is not stored: an
//     entry read back has the standard marker.
//   CHierarchyTaskOrg: the two words, then the name.
//   CTaskOrgArray: the object array (class-tagged entries), then the group
//     id (word). The side is not stored by the list.
//   CTaskOrgArrayArray: the object array of the lists whose side is 0 (only
//     the player's own groups are kept in files); the lists of the other
//     sides are skipped, not dropped, so storing changes nothing in memory.
// A list that turns out bad while loading leaves the old contents in place
// and raises the archive exception.
//
// The selection marker is the catalogue picture "TaskOrg Marker Green" (or
// "NATO TaskOrg Marker Green"); without the picture the entry draws nothing.

#include "platform/core/CString.h"
#include "platform/core/Collections.h"
#include "platform/core/Object.h"

#include <algorithm>

class CKDRGameMap;
class CSprite;

// Group id of a list that is not one of the ten keyboard groups.
constexpr int TASKORG_NO_GROUP = 11;

// Entry kinds answered by CTaskOrg::GetType.
constexpr int TASKORG_KIND_UNIT = 0;
constexpr int TASKORG_KIND_NAMED = 1;

class CTaskOrg : public CObject
{
    DECLARE_SERIAL(CTaskOrg)
public:
    CTaskOrg();
    CTaskOrg(int nUnit, int nArray);
    CTaskOrg(const CTaskOrg& other);  // the two words; a marker of its own
    CTaskOrg& operator=(const CTaskOrg&) = delete;
    ~CTaskOrg() override;

    // TASKORG_KIND_UNIT; a named entry answers TASKORG_KIND_NAMED.
    virtual int GetType() const { return TASKORG_KIND_UNIT; }
    // Draws the marker centred on a map point (metres) when any of it falls
    // in the view's visible area; a scale of 0 or less draws at 1.0. A
    // change of style reloads the marker first.
    virtual void Draw(float fX, float fY, CKDRGameMap* pMap, BOOL bNato, float fScale);
    // (Re)creates the marker in the standard or the NATO style.
    void LoadMarker(BOOL bNato);
    BOOL IsMarkerLoaded() const { return m_bMarkerLoaded; }
    BOOL IsNatoMarker() const { return m_bNatoMarker; }

    void Serialize(CArchive& ar) override;

    int m_nUnit;
    int m_nArray;

private:
    CSprite* m_pMarker;  // owned
    BOOL m_bMarkerLoaded;
    BOOL m_bNatoMarker;
};

class CHierarchyTaskOrg : public CTaskOrg
{
    DECLARE_SERIAL(CHierarchyTaskOrg)
public:
    CHierarchyTaskOrg();
    int GetType() const override { return TASKORG_KIND_NAMED; }
    void Serialize(CArchive& ar) override;

    // The platoon or company the entry stands for; its words are carried
    // along but never looked up.
    CString m_strName;
};

class CTaskOrgArray : public TypedObArray<CTaskOrg>
{
    DECLARE_SERIAL(CTaskOrgArray)
public:
    CTaskOrgArray();
    // Fresh entries for the other's, in order, through AddUnique: a source
    // that held duplicates gives a copy without them.
    CTaskOrgArray(const CTaskOrgArray& other);
    ~CTaskOrgArray() override;

    // The first plain entry with both words, else kUnset.
    virtual int FindTaskOrg(int nUnit, int nArray) const;
    // The first named entry with exactly that name, else kUnset.
    virtual int FindHierarchyTaskOrg(const CString& strName) const;
    // Appends the entry (taking it) unless the list's own finders already
    // know it; answers its index, or kUnset when refused (the caller keeps
    // and deletes it).
    int AddUnique(CTaskOrg* pEntry);
    // Copies of the source's entries, each added with AddUnique.
    void AppendCopies(const CTaskOrgArray& source);

    void Serialize(CArchive& ar) override;

    int m_nId;    // 0..9 for a keyboard group, TASKORG_NO_GROUP otherwise
    int m_nSide;  // side of every unit in the list
};

// A new list naming, as (index, 0), every item of an array whose map point
// lies in the rectangle, edges included, corners given either way.
// pointOf(i, x, y) gives item i's point; FALSE for an item that is not there.
template <class FPointOf>
CTaskOrgArray* SelectIndicesInRect(int nCount, float x1, float y1, float x2, float y2, FPointOf pointOf)
{
    auto* pList = new CTaskOrgArray;
    const float left = std::min(x1, x2);
    const float right = std::max(x1, x2);
    const float bottom = std::min(y1, y2);
    const float top = std::max(y1, y2);
    for (int i = 0; i < nCount; ++i)
    {
        float x = 0.0f;
        float y = 0.0f;
        if (pointOf(i, x, y) && x >= left && x <= right && y >= bottom && y <= top)
            pList->Add(new CTaskOrg(i, 0));
    }
    return pList;
}

class CTaskOrgArrayArray : public TypedObArray<CTaskOrgArray>
{
    DECLARE_SERIAL(CTaskOrgArrayArray)
public:
    // Deletes the list held with the same group id, if any, and appends the
    // given one (taking it); its new index, kUnset for a null list.
    int SetList(CTaskOrgArray* pList);
    // The first list with that group id, else kUnset.
    int FindById(int nId) const;

    void Serialize(CArchive& ar) override;
};
