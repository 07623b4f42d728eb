#pragma once
// Contact lists. A CUnitRef names one detected unit by its address (unit
// index, array index, kind) with what the observer knows of it: its vehicle
// type, target and threat values (0 while unidentified), the bearing from
// the observer in radians and the range in tens of metres. A CUnitRefArray
// owns its references; every unit keeps one as its own contacts and the
// units component six more, one per pair of observing and target kinds,
// rebuilt every tick. Neither is stored in any file.
//
// A list filled by InsertSorted holds each unit once, ordered by target
// value (highest first) and, within one value, by range (nearest first),
// so fire choices take the most valuable, nearest contact first. A new
// reference goes before an entry of the same value and the same range.
//
// Two references name the same unit when unit index and kind agree and
// either their array indexes agree, one of them is negative (not known), or
// the new reference is of kind 0 (the own side has one array).

#include "platform/core/Types.h"

#include <cstddef>
#include <vector>

class CKDRDatabase;
class CKDRUnits;

class CUnitRef
{
public:
    CUnitRef() = default;
    CUnitRef(const CUnitRef&) = default;
    CUnitRef& operator=(const CUnitRef&) = default;
    virtual ~CUnitRef() = default;

    int m_nUnit = -99;
    int m_nArray = -99;  // any value for kind 0
    int m_nSide = -99;   // the kind: 0, 1 or 2
    int m_nVehicle = -99;
    int m_nTargetValue = 0;  // the sort key; 0 while unidentified
    int m_nThreatValue = 0;
    float m_fBearing = 0.0f;  // radians, as the line of sight gives it
    int m_nRange = 0;         // tens of metres
    BOOL m_bUnidentified = FALSE;
};

class CUnitRefArray
{
public:
    CUnitRefArray() = default;
    ~CUnitRefArray();
    CUnitRefArray(const CUnitRefArray&) = delete;
    CUnitRefArray& operator=(const CUnitRefArray&) = delete;

    int GetSize() const { return m_nRefill > 0 ? m_nRefilled : static_cast<int>(m_order.size()); }
    BOOL IsEmpty() const { return GetSize() == 0; }
    // Null outside the list. Entries change only through InsertSorted: the
    // list's lookup and order follow their ids, value and range.
    CUnitRef* GetAt(int index) const;
    // Appends a copy; its index.
    int Add(const CUnitRef& ref);
    void RemoveAll();

    // The list becomes copies of the other's references, in order.
    void CopyFrom(const CUnitRefArray& other);

    // Adds a copy in its sorted place and answers 1; for a unit already in
    // the list answers 0 after the entry takes the smaller range and, when
    // the new reference is identified, becomes identified, in its place.
    int InsertSorted(const CUnitRef& ref);
    // InsertSorted of each of the other's references in order; how many
    // were added. A null list adds nothing.
    int Merge(const CUnitRefArray* pOther);

    // The first entry whose three ids all agree; *pUnidentified receives
    // its unidentified flag.
    BOOL Find(int nUnit, int nArray, int nSide, BOOL* pUnidentified = nullptr) const;
    CUnitRef* Get(int nUnit, int nArray, int nSide) const;

    // The average position of the listed units that stand inside the
    // ellipse inscribed in the rectangle (map metres, corners in any
    // order; each unit position rounded half up to whole metres for the
    // test). A reference counts when its vehicle type exists and, with a
    // role mask of 1 or more, shares a role bit with it; with
    // bUnidentifiedOnly only unidentified references count. Answers 1 with
    // the average in fX, fY and the number in nCount; 0 when nothing
    // qualified (or the sums are not above 0), with x, y and count as
    // summed. 0 and nothing written without database, units or area.
    BOOL CentroidInEllipse(int nLeft, int nTop, int nRight, int nBottom, int nRoleMask, CKDRDatabase* pDatabase,
                           CKDRUnits* pUnits, float& fX, float& fY, int& nCount, BOOL bUnidentifiedOnly) const;
    // Appends to pOut copies of the identified references whose units
    // exist, are alive, ride in no carrier and stand within fRange metres
    // of (fX, fY), in list order. 0 when not enabled, without units or
    // output, or for a negative point or range.
    BOOL CollectInRange(CUnitRefArray* pOut, float fX, float fY, float fRange, CKDRUnits* pUnits, BOOL bEnable) const;
    // Appends to pOut copies of the identified references whose units
    // exist, are alive and ride in no carrier and whose vehicle type exists
    // and shares a role bit with the mask (a mask below 1 takes every role),
    // in list order. The flag does not change the result: unidentified
    // references are never collected.
    BOOL CollectByRole(CUnitRefArray* pOut, BOOL bEnable, CKDRUnits* pUnits, int nRoleMask, BOOL bFlag,
                       CKDRDatabase* pDatabase) const;

private:
    // One cell of the lookup table: the slot of the entry with that unit,
    // array and kind and how many entries share it; valid only when its
    // stamp is the list's.
    struct SLookupCell
    {
        unsigned int nStamp = 0;
        int nSlot = -1;
        int nCount = 0;
    };

    // A place in the list: the slot of its entry and, while the list is
    // in order, the entry's sort key, so halving reads one array.
    struct SPlace
    {
        int nSlot;
        int nTargetValue;
        int nRange;
    };

    // Ends a refill cut short: the list becomes the references met so far.
    void Settle();
    void SettleConst() const { const_cast<CUnitRefArray*>(this)->Settle(); }
    void StampOn();

    CUnitRef& At(std::size_t index) { return m_slots[static_cast<std::size_t>(m_order[index].nSlot)]; }
    const CUnitRef& At(std::size_t index) const { return m_slots[static_cast<std::size_t>(m_order[index].nSlot)]; }
    // The entry InsertSorted merges the reference into; null when none.
    CUnitRef* FindSameUnit(const CUnitRef& ref);
    // Where InsertSorted puts a reference the list does not hold.
    std::size_t InsertPosition(const CUnitRef& ref) const;
    void Append(const CUnitRef& ref, std::size_t position);
    // Counts a new entry into the groups and the loose arrays.
    void Count(const CUnitRef& ref);
    // The cell of a reference's ids; null when the ids are outside the
    // table's reach (those references are found by walking the list).
    SLookupCell* Cell(const CUnitRef& ref);
    // Puts the entries added since the last lookup into the table.
    void CatchUpLookup();
    void Index(int nSlot);

    // The highest unit index listed under one kind and array.
    struct SGroup
    {
        int nSide;
        int nArray;
        int nTopUnit;
    };
    SGroup* FindGroup(const CUnitRef& ref);

    // Entries are held by value in the order they came and listed through
    // m_order, so an insertion moves small places, not references, and a
    // pass that empties and refills a list keeps its storage (and the
    // slots' objects, overwritten in turn) and makes no heap object per
    // contact. Slots from m_nSlots on are left over from before.
    std::vector<CUnitRef> m_slots;
    int m_nSlots = 0;
    std::vector<SPlace> m_order;
    // Finds a listed unit without walking the list: cells by kind, array
    // (always 0 for kind 0, whose one array matches any) and unit. Emptying
    // the list only moves the stamp on.
    // The table is filled only when a lookup needs it: a list that meets
    // each unit once, in rising unit order, as a detection sweep fills an
    // observer's, never builds it, since no unit above the highest listed
    // one of its kind and array can be listed.
    std::vector<SLookupCell> m_lookup;
    std::vector<SGroup> m_groups;
    int m_nIndexed = 0;  // slots below this are in the table
    int m_nLookupArrays = 0;
    int m_nLookupUnits = 0;
    unsigned int m_nStamp = 1;
    // Entries of kind 1 or 2 with no known array match any array of their
    // unit; while there are any, a lookup walks the list.
    int m_nLooseArrays = 0;
    // While true the list is in its sorted order throughout and a new
    // reference's place is found by halving. Merging a nearer sighting
    // into an entry in its place may break that order; the list then
    // finds places by walking it, as the rules have it.
    bool m_bOrdered = true;

    // A list emptied and filled again with the same references in the same
    // order, as a stationary unit's contacts are tick after tick, comes out
    // as it was: while every reference added since the last emptying was
    // new (m_bAllNew), emptying keeps the entries, and the refill only
    // checks each reference against the slot it went to last time. The
    // first one that differs, or any other use of the list, cuts the old
    // entries back to those met again (their order within the list does not
    // depend on the ones added after them) and the list goes on as usual.
    bool m_bAllNew = true;
    int m_nRefill = 0;    // while above 0: the slots of the last fill
    int m_nRefilled = 0;  // how many of them were met again
};
