#pragma once
// CKDRMissions: the document's missions component. It names up to three
// mission files ("*.msn") and holds the missions loaded from them: slot 0
// is the main mission, whose events end the game, whose force variants are
// drawn when a scenario opens and whose name and description the mission
// list shows; slots 1 and 2 are the second and third.
//
// The scenario part is four strings: the component's own file name, the
// main mission's file, the third slot's, the second slot's. An empty file
// name means no mission in that slot. Loading the missions is a separate
// step of the document's open (LoadMissionFiles).

#include "platform/core/Core.h"

class CMission;
class CKDRUnits;
class CKDRDatabase;

class CKDRMissions : public CObject
{
    DECLARE_SERIAL(CKDRMissions)
public:
    static constexpr int kSlotCount = 3;

    CKDRMissions();
    ~CKDRMissions() override;
    CKDRMissions(const CKDRMissions&) = delete;
    CKDRMissions& operator=(const CKDRMissions&) = delete;

    void Serialize(CArchive& ar) override;

    // Loads the missions of slots 0, 1 and 2 whose file names are not
    // empty, from the data directory; 0 at the first that fails. Each
    // slot's name becomes the name the mission was really loaded from.
    BOOL LoadMissionFiles(const CString& strDataDir);
    // Loads a mission file of the data directory into slot 0, 1 or 2,
    // replacing the slot's mission; the mission's direction goes to the
    // application's direction entry of the same index. 0 (and the slot
    // unchanged) when the file cannot be loaded or the slot is not one of
    // the three.
    BOOL LoadMission(int nSlot, const CString& strFile, const CString& strDataDir);

    // The main mission's random force variant of side 1 or 2: four file
    // names, the first three emptied first and all left empty when the
    // main mission is absent or draws none.
    void GetForceVariant(int nSide, CString& strUnits, CString& strHoles, CString& strObstacles, CString& strHierarchy);

    // The main mission's end test, with the document's six saved-game
    // words: 0 while it goes on or without a main mission; bWon tells the
    // outcome once it has ended.
    virtual int TestMissionEnd(CKDRUnits* pUnits, const int anTotals[6], CTimeSpan tsElapsed, int& bWon);
    // Has the main mission write and show its results page.
    virtual void ShowResults(CKDRUnits* pUnits, CKDRDatabase* pDatabase, const int anTotals[6], const int* apCounts[3],
                             CTime tStart, CTimeSpan tsElapsed);

    // The main mission's name, empty without one.
    CString GetMainMissionName() const;
    // The mission of a slot, null when the slot holds none.
    CMission* GetMission(int nSlot) const;

    CString m_strFileName;
    CString m_strSlot2File;
    CString m_strSlot1File;
    CString m_strSlot0File;
    int m_bSlot0 = 0;
    int m_bSlot2 = 0;
    int m_bSlot1 = 0;
    CMission* m_pSlot0 = nullptr;
    CMission* m_pSlot2 = nullptr;
    CMission* m_pSlot1 = nullptr;

private:
    void GetSlot(int nSlot, int*& pFlag, CMission**& ppMission, CString*& pFile);
};
