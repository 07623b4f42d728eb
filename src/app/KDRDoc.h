#pragma once
// CKDRDoc: the single document. It holds one mission at a time: the eight
// optional components a scenario names (see CKDRScenario), and the state
// that belongs to no component: smoke and illumination clouds, rounds in
// flight, the stored task-organisation groups, the force variants drawn for
// the mission and the force counts kept for the results.
//
// Opening a scenario reads the "*.asc" file (a short or malformed file is
// reported and leaves the document empty), then loads each present
// component from its own files in a fixed order: game map, database,
// units, obstacles, dug positions, operations order, light conditions,
// missions. A step runs only when every earlier one succeeded; the units
// need the game map and the database, the obstacles and dug positions the
// game map, and a missing prerequisite counts as a failed load. On a fresh
// open the side fix-ups follow and the game clock is set to the scenario's
// start time with no game second elapsed: the deployment phase.
//
// Closing, reopening or a new document deletes every component and every
// run-time array (DeleteContents).

#include "app/KDRScenario.h"
#include "platform/Document.h"

class CFireMissionArray;
class CKDRApp;
class CKDRView;
class CMessageBoxDlg;
class CSmokeArray;
class CTaskOrgArrayArray;

class CKDRDoc : public CDocument, public CKDRScenario
{
public:
    CKDRDoc();
    ~CKDRDoc() override;

    // ---- Framework steps ----
    BOOL OnNewDocument() override;
    void DeleteContents() override;
    // The scenario file, both ways.
    void Serialize(CArchive& ar) override;
    BOOL OnOpenDocument(const char* path) override;
    // Asks "Save Game?" before a modified single-player mission is left.
    BOOL SaveModified() override;

    // ---- Mission operations ----
    // Recounts the force totals and per-type counts (keepOpposing 1 keeps
    // the opposing side's counts, as taken when the mission began).
    void CountForces(int keepOpposing);
    // Merges the randomly drawn force variant of mission side 1 or 2.
    void MergeForceVariant(int nSide);
    // Replace one side's stored task-organisation groups by copies of the
    // other's; nothing without a units component.
    void CopyTaskOrgGroupsFromUnits();
    void CopyTaskOrgGroupsToUnits();

    // Reads only the missions slot of a scenario from a loading archive and
    // hands it over (null when the scenario has none). Archive exceptions
    // pass to the caller.
    static CKDRMissions* ReadScenarioMissions(CArchive& ar);
    // The main mission's name and description of a scenario file in the
    // data directory, without opening the scenario; FALSE on any failure.
    static BOOL ReadMissionInfo(const CString& strPath, CString& strName, CString& strText);

    // The main mission's name; without one the operations order's name;
    // else empty. The document's title.
    CString GetMissionTitle() const;

    // Opens a saved game ("*.asg"); 1 on success. Saved games cannot be
    // opened yet: the answer is 0.
    BOOL OpenSavedGame(const char* path);

    // Opens the modeless message box at a map point; 0 without a map.
    int ShowMessageBoxDlg(const CString& strTitle, const CString& strText, float fX, float fY);

    // ---- Run-time state ----
    CSmokeArray* GetSmoke() const { return m_pSmoke; }
    CFireMissionArray* GetFireMissions() const { return m_bFireMissions ? m_pFireMissions : nullptr; }
    CTaskOrgArrayArray* GetTaskOrgGroups() const { return m_pTaskOrgGroups; }

    CSmokeArray* m_pSmoke;
    CString m_strVariantUnits1;
    CString m_strVariantUnits2;
    CString m_strVariantHoles1;
    CString m_strVariantHoles2;
    CString m_strVariantObstacles1;
    CString m_strVariantObstacles2;
    int m_nOwnTotalA;
    int m_nOwnTotalB;
    int m_nThirdTotalA;
    int m_nThirdTotalB;
    int m_nOpposingTotalA;
    int m_nOpposingTotalB;
    CTimeSpan m_tsElapsed;        // copied from the clock when a game is saved
    int* m_pOwnCounts;            // two integers per vehicle type, the first half used
    int* m_pOpposingCounts;
    int* m_pThirdCounts;
    int m_bOwnCounts;
    int m_bOpposingCounts;
    int m_bThirdCounts;
    int m_nVehicleTypeCount;      // length of the count blocks
    int m_bOpenedFromSavedGame;
    int m_bFireMissions;
    CFireMissionArray* m_pFireMissions;   // rounds in flight
    CTaskOrgArrayArray* m_pTaskOrgGroups; // the ten stored selections
    CMessageBoxDlg* m_pMessageBox;
    // 1 except while a saved game re-reads its scenario: tells the open
    // whether to create the run-time arrays and run the side fix-ups.
    int m_bFreshOpen;

protected:
    // Loads the present components in their fixed order; FALSE at the first
    // failure, which skips the rest.
    BOOL LoadComponents(CKDRApp* pApp, CKDRView* pView);
    // One step of LoadComponents, prerequisites already checked.
    virtual BOOL LoadComponent(int nComponent, CKDRApp* pApp, CKDRView* pView);

private:
    void CreateRunTimeArrays();
    void DeleteRunTimeArrays();
    void FreeCountBlocks();
    void ApplySideFixUps(CKDRApp* pApp);
};
