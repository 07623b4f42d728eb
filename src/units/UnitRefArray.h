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

    int GetSize() const { return static_cast<int>(m_refs.size()); }
    BOOL IsEmpty() const { return m_refs.empty(); }
    // Null outside the list.
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
    // Held by value: a pass that empties and refills a list keeps its
    // storage and makes no heap object per contact.
    std::vector<CUnitRef> m_refs;
};
