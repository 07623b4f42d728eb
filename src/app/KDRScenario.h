#pragma once
// CKDRScenario: the mission components that a scenario file ("*.asc")
// names, with their presence flags and the mission's start time, and the
// one routine that reads and writes the file.
//
// The file is one archive: eight presence words (game map, equipment
// database, units, obstacles, dug positions, operations order, light
// conditions, missions), the start time as 32-bit calendar seconds, then
// the part of every present component in that order, each written and read
// by the component's own Serialize. The parts carry no length or tag, so a
// component that reads more or less than it wrote spoils every later part.
//
// The document derives from this class (the components are the document's
// own fields); the mission list and the demo-mission writer use it alone to
// read or write a scenario without a document.
//
// Ownership: every non-null component is owned and deleted here. A set
// presence flag always goes with a non-null component.

#include "platform/core/Core.h"

class CKDRGameMap;
class CKDRDatabase;
class CKDRUnits;
class CKDRObstacles;
class CKDRHoles;
class CKDROpord;
class CKDREnvironment;
class CKDRMissions;

// The eight components in file and load order.
enum KDRComponent
{
    KDR_GAME_MAP = 0,
    KDR_DATABASE,
    KDR_UNITS,
    KDR_OBSTACLES,
    KDR_HOLES,
    KDR_OPORD,
    KDR_ENVIRONMENT,
    KDR_MISSIONS,
    KDR_COMPONENT_COUNT
};

class CKDRScenario
{
public:
    CKDRScenario();
    virtual ~CKDRScenario();
    CKDRScenario(const CKDRScenario&) = delete;
    CKDRScenario& operator=(const CKDRScenario&) = delete;

    // Storing writes a word 1 or 0 per component, the start time and the
    // present components' parts. Loading reads the words and the start
    // time, creates an empty component for every non-zero word (any
    // non-zero value counts as present) and lets each read its part; the
    // flags of components whose word is 0 are left as they were, so it is
    // meant for a scenario without components. A short or malformed file
    // raises CArchiveException; the components created until then stay
    // owned here and go with DeleteComponents.
    void SerializeScenario(CArchive& ar);

    // Clears every presence flag and deletes every component.
    void DeleteComponents();

    // Presence of one component (its flag set and its pointer non-null).
    BOOL IsPresent(int nComponent) const;
    // The component as a plain object, null when absent.
    CObject* GetComponent(int nComponent) const;

    // The components when present, else null.
    CKDRGameMap* GetGameMap() const { return m_bGameMap ? m_pGameMap : nullptr; }
    CKDRDatabase* GetDatabase() const { return m_bDatabase ? m_pDatabase : nullptr; }
    CKDRUnits* GetUnits() const { return m_bUnits ? m_pUnits : nullptr; }
    CKDRObstacles* GetObstacles() const { return m_bObstacles ? m_pObstacles : nullptr; }
    CKDRHoles* GetHoles() const { return m_bHoles ? m_pHoles : nullptr; }
    CKDROpord* GetOpord() const { return m_bOpord ? m_pOpord : nullptr; }
    CKDREnvironment* GetEnvironment() const { return m_bEnvironment ? m_pEnvironment : nullptr; }
    CKDRMissions* GetMissions() const { return m_bMissions ? m_pMissions : nullptr; }
    CTime GetMissionStartTime() const { return m_tMissionStart; }

    // Installs a component (taking it) and sets its flag; a component
    // already there is deleted. Used by writers that build a scenario.
    void SetGameMap(CKDRGameMap* p);
    void SetDatabase(CKDRDatabase* p);
    void SetUnits(CKDRUnits* p);
    void SetObstacles(CKDRObstacles* p);
    void SetHoles(CKDRHoles* p);
    void SetOpord(CKDROpord* p);
    void SetEnvironment(CKDREnvironment* p);
    void SetMissions(CKDRMissions* p);

    // Hands the missions component over to the caller (null when absent)
    // and clears its flag.
    CKDRMissions* DetachMissions();

    CKDRGameMap* m_pGameMap;
    CKDRDatabase* m_pDatabase;
    CKDRUnits* m_pUnits;
    CKDRObstacles* m_pObstacles;
    CKDRHoles* m_pHoles;
    CKDROpord* m_pOpord;
    CKDREnvironment* m_pEnvironment;
    CKDRMissions* m_pMissions;
    CTime m_tMissionStart;  // 0 while no mission is open
    int m_bGameMap;
    int m_bDatabase;
    int m_bUnits;
    int m_bObstacles;
    int m_bHoles;
    int m_bOpord;
    int m_bEnvironment;
    int m_bMissions;

private:
    int& PresenceFlag(int nComponent);
    void CreateComponent(int nComponent);
};
