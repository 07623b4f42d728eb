#pragma once
// CKDRHoles: the document's dug-position component. One array of dug
// positions per side (0 the local player's own, 1 the opposing, 2 neutral),
// each named in the scenario by the file it is loaded from when the mission
// opens.
//
// The position arrays are not held here yet: the loads keep the names and
// load nothing, so every side stays absent. The scenario part is complete:
// the file pattern, then the file names of side 2, side 1 and side 0.

#include "platform/Core.h"

class CKDRGameMap;
class CKDRUnits;

class CKDRHoles : public CObject
{
    DECLARE_SERIAL(CKDRHoles)
public:
    CKDRHoles();
    ~CKDRHoles() override;

    void Serialize(CArchive& ar) override;

    // Loads the named arrays of sides 1, 0 and 2; 0 on the first failure.
    BOOL LoadByName(CKDRGameMap* pMap);
    // Loads one side's array from a file; 1 on success.
    BOOL LoadHoleArray(int nSide, const CString& strName, CKDRGameMap* pMap);
    // Turns the sides round for the side the local player plays, once after
    // a scenario is opened.
    void FixUpAfterLoad(CKDRGameMap* pMap);
    // Puts the units standing on dug positions into them.
    void AssignOccupants(CKDRUnits* pUnits, CKDRGameMap* pMap);

    CString m_strFilter;      // "*.hol"
    CString m_strSide2Name;
    CString m_strSide1Name;
    CString m_strSide0Name;
};
