#pragma once
// A mission ("*.msn"): its names, description, direction, force variants,
// events and the end-of-mission test. Least form: a mission without events
// or variants that never ends. Loading reads the file's names, texts and
// lists (the events only as an empty list).

#include "platform/core/CString.h"
#include "platform/core/Collections.h"
#include "platform/core/Object.h"
#include "platform/core/Time.h"

#include <utility>
#include <vector>

class CArchive;
class CEventArray;
class CKDRDatabase;
class CKDRUnits;

class CMission : public CObject
{
    DECLARE_SERIAL(CMission)
public:
    CMission();
    ~CMission() override;
    CMission(const CMission&) = delete;
    CMission& operator=(const CMission&) = delete;

    // Reads the file from the data directory, which it makes current; while
    // the file does not open a file dialog offers another. Nonzero on success.
    int LoadFile(const CString& strFile, const CString& strDataDir);
    // Picks one of the side's force variants (or none) and gives its four
    // file names; all empty when none.
    void PickRandomVariant(int nSide, CString& strUnitFile, CString& strHoleFile, CString& strObstacleFile,
                           CString& strHierarchyFile);
    // The end-of-mission test; 0 while the mission goes on.
    int EvaluateEvents(CKDRUnits* pUnits, CTimeSpan tsElapsed, int& bWon);
    // Writes "results.htm" and shows the results dialog.
    void WriteResultsPage(CKDRUnits* pUnits, CKDRDatabase* pDatabase, const int anTotals[6], const int* apCounts[3],
                          CTimeSpan tsElapsed, CTime tStart);

    // The "*.msn" file: eight file-name lists (unit, dug-position,
    // obstacle and hierarchy files of sides 1 and 2), the events, five
    // texts, three flag words, the direction word and three pair lists.
    void Serialize(CArchive& ar) override;

    CString m_strFileName;
    CString m_strName;
    CString m_strDescription;
    int m_nDirection;  // mils

    // Kept as read, so that a mission written back is the one read.
    CString m_strVictoryText;
    CString m_strLossText;
    CStringList m_astrVariantFiles[8];
    CEventArray* m_pEvents;
    BOOL m_abFlags[3];
    std::vector<std::pair<int, int>> m_aPairs[3];
};
