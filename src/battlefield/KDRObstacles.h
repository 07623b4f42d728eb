#pragma once
// CKDRObstacles: the document's obstacle component. One obstacle array per
// side (0 friendly, 1 enemy, 2 neutral), each named in the scenario by the
// file it is loaded from when the mission opens.
//
// The obstacle arrays are not held here yet: the loads keep the names and
// load nothing, so every side stays absent. The scenario part is complete:
// the file pattern, then the file names of side 2, side 1 and side 0.

#include "platform/Core.h"

class CKDRGameMap;

class CKDRObstacles : public CObject
{
    DECLARE_SERIAL(CKDRObstacles)
public:
    CKDRObstacles();
    ~CKDRObstacles() override;

    void Serialize(CArchive& ar) override;

    // Loads the named arrays of sides 1, 0 and 2; 0 on the first failure.
    BOOL LoadByName(CKDRGameMap* pMap);
    // Loads one side's array from a file; 1 on success.
    BOOL LoadObstacleArray(int nSide, const CString& strName, CKDRGameMap* pMap);
    // Turns the sides round for the side the local player plays, once after
    // a scenario is opened.
    void FixUpAfterLoad(CKDRGameMap* pMap);

    CString m_strFilter;      // "*.obs"
    CString m_strSide2Name;
    CString m_strSide1Name;
    CString m_strSide0Name;
};
