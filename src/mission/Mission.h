#pragma once
// A mission ("*.msn"): its names, description, debriefing texts, direction,
// force variants, victory and loss events, and the end-of-mission test and
// results page built on them. A new mission holds an empty victory event
// and an empty loss event: it is won at the first test until a file gives
// it conditions.
//
// A file that cannot be read raises the archive exception; the caller
// loads into a fresh mission, so the mission it had stays whole.

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
    // the file does not open a file dialog offers another, and Cancel gives
    // up (0). Nonzero on success.
    int LoadFile(const CString& strFile, const CString& strDataDir);
    // One of the side's force variants, drawn with Rand: with n variants
    // listed for side 1 or 2, none in n + 1 draws and each variant in one.
    // Entry i of the side's unit, dug-position, obstacle and hierarchy lists
    // form variant i; a shorter list gives an empty name. All four names
    // are empty when no variant is drawn.
    void PickRandomVariant(int nSide, CString& strUnitFile, CString& strHoleFile, CString& strObstacleFile,
                           CString& strHierarchyFile);
    // The end-of-mission test: 1 once the events decide, with bVictory 1
    // won or 0 lost; 0 while the mission goes on or without events.
    int EvaluateEvents(int& bVictory, CKDRUnits* pUnits, const int anDocValues[6], CTimeSpan tsElapsed);
    // Writes "results.htm" into the saved-game directory from the data
    // directory's template, shows it in the results window and deletes it
    // when the window closes. The three count blocks are the start counts
    // of the counts tables (CKDRUnits::WriteCountsPage, in its order).
    // Nothing without the template.
    void WriteResultsPage(CKDRUnits* pUnits, CKDRDatabase* pDatabase, const int anDocValues[6], const int* apCounts[3],
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
    CEventArray* m_pEvents;  // owned; null only when a caller took it away
    BOOL m_abFlags[3];
    std::vector<std::pair<int, int>> m_aPairs[3];
};
