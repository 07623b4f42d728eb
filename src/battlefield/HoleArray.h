#pragma once
// CHoleArray: the dug positions of one side (Hole.h), owned, in file
// order; the dug-position component (KDRHoles.h) keeps one per side and
// forwards its jobs here. An index is a position in the array; kUnset
// means none. An index outside the array is passed over.
//
// File form ("*.fho"): the object array (a count, then each CHole with its
// class tag) and the array's name. Load reads it from the data directory,
// takes the name the file opened under, clamps every position to the map
// and prepares the markers. A malformed file raises the archive exception;
// the caller discards the array then.
//
// Occupation: the units of a unit array that stand stopped within 8 m (on
// both axes) of a position of their kind take it and its facing; see
// AssignOccupants.

#include "battlefield/Hole.h"
#include "platform/core/CString.h"
#include "platform/core/Collections.h"

class CKDRGameMap;
class CKDRUnits;
class CTaskOrgArray;
class CUnitArray;

class CHoleArray : public TypedObArray<CHole>
{
    DECLARE_SERIAL(CHoleArray)
public:
    CHoleArray();
    // The name and a copy of every position.
    CHoleArray(const CHoleArray& other);
    CHoleArray& operator=(const CHoleArray&) = delete;

    // The positions, then the name.
    void Serialize(CArchive& ar) override;

    // Reads the named file from the data directory, which it makes current;
    // while the file does not open a file dialog offers another ("*.hoa"),
    // and Cancel fails the load (FALSE). The markers are made for nSide.
    BOOL Load(CString name, CKDRGameMap* pMap, const CString& strDataDir, int nSide);

    // The last position near the map point: within 13 m divided by the
    // map's zoom on both axes, or under one of its markers; kUnset none.
    int FindHoleAtViewPoint(float x, float y, const CKDRGameMap* pMap) const;
    // A new selection list (index, 0) of the positions inside the
    // rectangle of the two corners, bounds included.
    CTaskOrgArray* SelectHolesInRect(float x1, float y1, float x2, float y2) const;
    // Moves every selected position by the offset between the two points,
    // clamped to the map.
    void MoveSelected(const CTaskOrgArray* pList, float fromX, float fromY, float toX, float toY,
                      const CKDRGameMap* pMap);
    // Every position empty (the occupant array is left as it was).
    void ClearOccupants();
    // The units of the array leave the positions they held, then each
    // position takes the first unit that qualifies, with nArrayIndex as
    // its occupant array.
    void AssignOccupants(CUnitArray* pUnits, CKDRGameMap* pMap, int nArrayIndex);
    // The nearest position of the kind (dismount or vehicle) within the
    // distance whose facing lies within 60 degrees of the heading; ties go
    // to the later one. kUnset when none or not enabled.
    int FindNearestHole(float x, float y, float heading, float maxDistance, BOOL bDismount, BOOL bEnabled) const;

    // Side 0 draws every position; sides 1 and 2 only those whose occupant
    // the player has in that side's contact list.
    void DrawHoles(CKDRUnits* pUnits, CKDRGameMap* pMap, int nSide);
    void DrawSelected(const CTaskOrgArray* pList, CKDRGameMap* pMap, int nSide, BOOL bHighlight);
    void PrepareMarkers(int nSide, const CKDRGameMap* pMap);
    // The Hole Properties dialog for a selection; on OK every selected
    // position takes the facing. TRUE on OK.
    BOOL EditSelected(const CTaskOrgArray* pList);

    CString m_strName;
};
