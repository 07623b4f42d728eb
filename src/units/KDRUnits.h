#pragma once
// CKDRUnits: the units component of a mission, one per document. It owns
// every unit array of every kind (0 the player's own units, one array; 1
// the opposing side and 2 the neutral side, a list of arrays each, one per
// unit file), each side's hierarchy, the formation templates and standing
// orders read with the units, the stored task-organisation lists, the six
// contact lists and the global unit index map. Every other component
// reaches a unit through it by its address: unit index, array index
// (ignored for kind 0) and kind.
//
// Scenario part (Serialize): the kind 2 and kind 1 file-name lists, the
// task-organisation lists, then the own unit file, the formation file, the
// standing-orders file, the name and the three hierarchy files as archive
// strings. The unit files themselves are read by LoadUnitFiles.
//
// Saved-game part (SerializeState): the scenario part; six 16-bit presence
// words (own array, kind 1, kind 2, hierarchies of sides 0, 1, 2); the own
// array, every kind 1 array, every kind 2 array; the present hierarchies.
// The number of arrays of a kind is not stored: it is the length of that
// kind's file-name list. A writer therefore first brings each list to its
// array count, and a reader reads a kind's arrays only when its presence
// word is set, so every saved state reads back. A part cut short or corrupt
// raises the archive exception with nothing half made left behind: each
// presence flag still matches what exists.
//
// Invariants: a presence flag is set exactly when its object exists; the
// lists of kinds 1 and 2 exist only while their flag is set.
//
// Operations that belong to the orders and the network records keep their
// least form (nothing done, 0, null or an empty text) until those parts
// are built. Mounting and dismounting live in KDRUnitsMount.cpp.
//
// The passes of detection and fire (KDRUnitsPasses.cpp) work on whatever
// arrays are present. Every side looks at the others into six contact
// lists, one per pair of observing and target kind:
//   0 own -> kind 1, 1 own -> kind 2 (always; the view draws from them),
//   2 kind 1 -> own, 3 kind 1 -> kind 2, 4 kind 2 -> kind 1 (single play
//   only; the indirect fire of those kinds reads them), 5 never filled.
// The lists live as long as the component and are emptied in place each
// pass, so the view's pointers to lists 0 and 1 stay good and a pass
// allocates nothing once the lists have grown to the battle's size.

#include "platform/core/CString.h"
#include "platform/core/Collections.h"
#include "platform/core/Object.h"
#include "platform/core/Time.h"
#include "platform/core/Types.h"

#include <functional>

class CArchive;
class CFireMission;
class CFireMissionArray;
class CFireMissionLogWindow;
class CFormationTemplateArray;
class CGlobalMap;
class CHierarchyArray;
class CHierarchyElement;
class CHierarchyPlatoon;
class CKDRDatabase;
class CKDRGameMap;
class CKDRHoles;
class CKDRObstacles;
class CNodeArray;
class CSmokeArray;
class CTaskOrgArray;
class CTaskOrgArrayArray;
class CRect;
class CUnit;
class CUnitArray;
class CUnitOrderArray;
class CUnitRefArray;
class CUOrdAIOrder;
class CUOrdMount;
class CWnd;

// The kinds of units, also the hierarchy's side numbers.
constexpr int UNIT_KIND_OWN = 0;
constexpr int UNIT_KIND_OPPOSING = 1;
constexpr int UNIT_KIND_NEUTRAL = 2;
constexpr int UNIT_KIND_COUNT = 3;
// The contact lists: what the own side sees of kind 1 and of kind 2 come
// first; six in all, one per observing and target kind.
constexpr int CONTACT_LIST_COUNT = 6;
constexpr int CONTACTS_OWN_OF_OPPOSING = 0;
constexpr int CONTACTS_OWN_OF_NEUTRAL = 1;
// The bit of a move step's event mask that asks for the fire-mission log
// to be filled again; the mounting bits are the carrier capabilities'
// (UCAP_EVENT_... in UCapKinds.h).
constexpr DWORD MOVE_EVENT_FIRE_MISSION_LOG = 0x80;

class CKDRUnits : public CObject
{
    DECLARE_SERIAL(CKDRUnits)
public:
    CKDRUnits();
    ~CKDRUnits() override;
    CKDRUnits(const CKDRUnits&) = delete;
    CKDRUnits& operator=(const CKDRUnits&) = delete;

    void Serialize(CArchive& ar) override;

    // Per-tick passes, called once per pass of the game loop. Movement and
    // detection serve one waiting window message after each unit and each
    // observer (the play service's ServeWaitingMessage).
    virtual int MoveAll(CKDRGameMap* pMap, CKDRDatabase* pDatabase, CKDRObstacles* pObstacles, CKDRHoles* pHoles,
                        int nUnit, int nArray, int nKind, CFireMissionArray* pFireMissions);
    virtual void PrepareUnits(DWORD dwTick, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    // The movement pass over one array (nArrayIndex its place in the
    // kind's list, 0 for kind 0): every unit's move step in index order,
    // each unit looked up again by index (a message served by the step
    // before may have changed the array), nSelectedUnit marked (kUnset:
    // none). bChanged is set when a unit moved, turned or arrived.
    void MoveUnitArray(int nArrayIndex, int nKind, CUnitArray* pArray, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                       CKDRObstacles* pObstacles, CKDRHoles* pHoles, int nSelectedUnit, BOOL& bChanged);
    // Empties the six contact lists and hands out lists 0 and 1.
    virtual void ResetContactLists(CUnitRefArray*& pFirst, CUnitRefArray*& pSecond);
    // Every side looks at the others (the own side always; kinds 1 and 2
    // only outside a network game), each observer's contacts emptied first.
    virtual void DetectAll(CKDRGameMap* pMap, CKDRDatabase* pDatabase, CSmokeArray* pSmoke, float fLightFactor);
    // Every unit engages once, the sides taking turns one unit at a time:
    // own, kind 2, kind 1 (the document's DirectFire step calls it).
    virtual void DirectFirePass(CKDRGameMap* pMap, CKDRDatabase* pDatabase, CKDRObstacles* pObstacles,
                                CKDRHoles* pHoles);
    // Kinds 2 and 1 choose indirect-fire targets from their contact lists;
    // the own side fires on the player's orders only.
    virtual void ProcessIndirectFire(CKDRDatabase* pDatabase);
    // One unit's indirect-fire target choice from its kind's lists.
    void ProcessUnitIndirectFire(int nKind, CUnit* pUnit, CKDRDatabase* pDatabase);
    // The work a unit's move step asks for in its event mask, in this
    // order: a boarding over, the next team out, the boarding team in (or,
    // when it cannot get in, freed), a computer side's team whose mount
    // time came starting its carrier's unload, a boarding team freed, the
    // fire-mission log; nothing for a unit that is gone
    // (KDRUnitsMount.cpp).
    void HandleMoveEvents(DWORD dwMask, int nUnit, int nArray, int nKind, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    // Whether anything the map shows of the units changed since the last
    // call (a unit moved or turned, fired, was hit, destroyed, seen or lost
    // from sight, a round was fired), and clears it; the game loop redraws
    // the map only after passes that changed it. Least form: nothing
    // changes.
    virtual BOOL TakeMapChanged();

    // Queries.
    // The unit at the address; null for an absent kind, a kind other than
    // 0, 1 and 2, or an index out of range (negative included).
    virtual CUnit* GetUnit(int nUnit, int nArray, int nKind) const;
    virtual CNodeArray* GetUnitPath(int nUnit, int nArray, int nKind) const;
    // The array of a kind: kind 0 gives the own array (nArray becomes -99,
    // no list); kinds 1 and 2 the array at nArray of their list. pList and
    // ppFlag (either may be null) receive the kind's list and presence
    // flag. Null when the kind is absent, the index outside the list or the
    // kind not 0, 1 or 2.
    CUnitArray* GetArrayOfKind(int nKind, int& nArray, TypedObArray<CUnitArray>** ppList = nullptr,
                               BOOL** ppFlag = nullptr) const;
    // The side's hierarchy (null for another side) and the address of its
    // presence flag (null for another side); callers test the flag.
    CHierarchyArray* GetHierarchyArray(int nSide, BOOL*& pPresent);
    // The side's hierarchy when present, else null.
    CHierarchyArray* GetPresentHierarchy(int nSide) const;
    // The number of arrays of kind 1 or 2 (0 while absent; 1 for kind 0
    // when present).
    int GetArrayCount(int nKind) const;
    // Whether the own array holds units of which more than half have a
    // loaded map piece: the own units can be drawn as pictures.
    BOOL OwnUnitsHavePieces(CKDRDatabase* pDatabase) const;
    // At least one unit in that kind (-1: in any kind).
    BOOL HasUnitsOfKind(int nKind) const;
    virtual int IsOrderItemChecked(int nItem, int& nValue) const;
    // The platoon or company of that name in the hierarchy of side 0, 1 or
    // 2, asked in that order; null when none.
    CHierarchyPlatoon* FindElementByName(const CString& strName) const;
    // The map marker of a formation: that of a special formation, empty
    // for a template's (KDRUnitsFormation.cpp).
    CString GetFormationGraphic(const CString& strFormation) const;
    // The element holding the unit in the hierarchy of its kind; null when
    // that hierarchy is absent or holds no element of the unit.
    virtual CHierarchyElement* FindUnitElement(int nUnit, int nArray, int nKind) const;
    // A unit's element was detached or its unit destroyed. Least form: 0.
    int NotifyElementOfUnit(int nUnit, int nArray, int nKind, BOOL bNewlyDetached);
    // Whether a unit of the selection can do one of the actions the option
    // bits ask. Least form: FALSE.
    BOOL CanSelectionDoAction(DWORD dwOptions, const CTaskOrgArray* pSelection, CKDRDatabase* pDatabase) const;

    // ---- The element selected in the shown hierarchy window
    // (KDRUnitsOrders.cpp) ----
    // The tree hierarchy: while a hierarchy window is shown, the hierarchy
    // of its side when that hierarchy has its window object; else null, and
    // every operation below finds no target and answers 0, FALSE or an
    // empty text.
    CHierarchyArray* GetTreeHierarchy() const;
    // nState: whether the selected item holds the toggle; TRUE when asked.
    BOOL IsSOPSetForPlatoon(int nItem, int& nState) const;
    // With the formation templates: nItem whether the selected item stands
    // in formation nIndex (negative: a special formation); TRUE when asked.
    BOOL GetPlatoonFormation(int nIndex, int& nItem) const;
    virtual BOOL DetachElement(CKDRDatabase* pDatabase, CKDRGameMap* pMap, CKDRObstacles* pObstacles,
                               CKDRHoles* pHoles);
    virtual BOOL RecallDetached(CKDRDatabase* pDatabase, CKDRGameMap* pMap, CKDRObstacles* pObstacles,
                                CKDRHoles* pHoles);
    virtual BOOL CanDetachElement() const;
    virtual BOOL CanRecallDetached() const;

    // ---- Orders of elements and selections (KDRUnitsOrders.cpp) ----
    // The road of an order: one unit toggle bit (Do Not Emplace also in the
    // order encoding) given to a platoon or company, or through a battalion
    // to each of its platoon and company children found by name. Each
    // target's standing orders take the toggle (nApplyState 0 flips it,
    // otherwise nOn says on or off), Stop also halts or releases the
    // target's first path node and hands the path on again, Dismount and
    // Suppress add or remove their orders (Suppress needs fX and fY above
    // 0, fZ the least radius); then the units the element holds, which
    // pList receives, take the bit. 0 without a list or element; else the
    // units' answer.
    virtual int ApplyOrderBitToElement(DWORD dwBit, CTaskOrgArray* pList, CHierarchyPlatoon* pElement,
                                       CKDRDatabase* pDatabase, CKDRGameMap* pMap, CKDRObstacles* pObstacles,
                                       CKDRHoles* pHoles, int nApplyState, int nOn, float fX, float fY, float fZ);
    // 1 when every unit of a list that names units has the toggle, else 0.
    virtual int AllUnitsHaveToggle(const CTaskOrgArray* pList, int nToggle) const;
    // Sets or clears one toggle bit on every unit of the list: explicitly
    // by nValue, else cleared when all have it and set when not. The fire
    // controls are only cleared here (explicit, value 0); March Speed takes
    // the slowest speed of the list and changes nothing when none is found;
    // Dismount lets the carriers' teams out; Suppress sets (fA, fB, fC) as
    // the area. 0 for an empty list, without the vehicles, or when a unit
    // refuses; else 1.
    int ToggleOrderForSelection(const CTaskOrgArray* pList, DWORD dwBit, CKDRDatabase* pDatabase, CKDRGameMap* pMap,
                                BOOL bExplicit, int nValue, float fA, float fB, float fC);
    // The slowest vehicle speed of the list's live, uncarried units;
    // 10000.0 when none gives one.
    float GetSlowestSpeed(const CTaskOrgArray* pList, CKDRDatabase* pDatabase) const;
    // The OR of the kind codes (CVehicle::kKind...) of the live units' types.
    int GetUnitListVehicleValue(const CTaskOrgArray* pList, CKDRDatabase* pDatabase) const;
    // The unit's own answer when the address names one; else whether the
    // named element is a ground force; 1 when neither exists.
    int IsGroundVehicleOrElement(const CString& strName, int nUnit, int nArray, int nKind) const;
    // The unit's detached element goes home: the first platoon or company
    // of the battalion that takes it back by its name, else it re-attaches
    // where it stands. 0 for a bad address or without the map.
    int RejoinUnit(int nUnit, int nArray, int nKind, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    // A unit given its own route: when its platoon, or failing that its
    // company, moves in formation or under an AI order, its element is
    // detached (1); otherwise nothing changes (0).
    int UpdateElementOrders(int nUnit, int nArray, int nKind, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    // The named element plans a copy of the path (PlanPath's answer); 0
    // without the element or the path.
    int ReplanElementPath(const CString& strName, const CNodeArray* pPath, CKDRGameMap* pMap,
                          CKDRDatabase* pDatabase);
    // The named element's fire-support figures (GetWeaponSummary) with the
    // range in metres; -99, -99.0 and no roles without the element.
    int LookupAIOrderUnit(const CString& strName, CKDRDatabase* pDatabase, int& nRange, int& nValueA, int& nValueB,
                          float& fArea, DWORD& dwRoles);
    // The first AI order of the list with exactly that name; null.
    static CUOrdAIOrder* FindAIOrderByName(const CUnitOrderArray* pOrders, const CString& strName);
    // Launching an AI order for an element (its editing sheet) and
    // assigning one belong to the AI-order editing: least form, 0.
    int BeginAIOrderEdit(const CUOrdAIOrder* pOrder, CHierarchyPlatoon* pElement, float fX, float fY);
    int AssignAIOrder(const CUOrdAIOrder* pOrder, CHierarchyPlatoon* pElement, float fX, float fY);

    // ---- Formations built from units (KDRUnitsFormation.cpp) ----
    // The element's available live, uncarried vehicles, split into the
    // template's two sets (dismount teams in the second), each led by the
    // leader and then by role category and protection, higher first.
    // CreatePlatoonFromUnits sets the platoon's formation order and places
    // it; CreateCompanyFromUnits the company's, each platoon in its own
    // formation; PlaceFormationFromTemplate only places. A special name
    // takes the special placement. 0 when the template does not allow the
    // element's level or nobody could be placed.
    int CreatePlatoonFromUnits(const CString& strTemplate, CHierarchyPlatoon* pElement, CKDRGameMap* pMap,
                               CKDRDatabase* pDatabase, float fX, float fY);
    int CreateCompanyFromUnits(const CString& strTemplate, CHierarchyPlatoon* pElement, CKDRGameMap* pMap,
                               CKDRDatabase* pDatabase, float fX, float fY);
    int PlaceFormationFromTemplate(const CString& strTemplate, CHierarchyPlatoon* pElement, CKDRGameMap* pMap,
                                   CKDRDatabase* pDatabase);

    // Windows.
    // Shows the side's hierarchy window, or hides it when shown; the other
    // sides' windows are hidden first, so at most one shows. 0 without an
    // owner or without the side's hierarchy and its window, else 1.
    BOOL FillHierarchyTree(int nSide, CWnd* pOwner);
    // Opens the fire-mission log on the side when it is closed and the
    // side has units, closes it when it shows that side, else switches it
    // to the side.
    void ShowFireMissionLog(int nSide, CKDRGameMap* pMap, CFireMissionArray* pRoundsInFlight);
    // Refills the log for the side it shows, while it is open. Without a
    // list of rounds the open mission's, through the play service.
    void RefreshFireMissionLog(CKDRGameMap* pMap = nullptr, CFireMissionArray* pRoundsInFlight = nullptr);
    // The side's rounds in flight, then the queued missions of every array
    // of the side, into the log window.
    void FillFireMissionLog(int nSide, CKDRGameMap* pMap, CFireMissionArray* pRoundsInFlight);
    // The log window object (made on first use); null only before then.
    CFireMissionLogWindow* GetFireMissionLog() const { return m_pFireMissionLog; }

    // Loading and set-up.
    // After the scenario part was read: the own array, the kind 1 and kind
    // 2 arrays, the formation templates, the standing orders and the three
    // hierarchies, from the data directory, in that order. The first step
    // that fails deletes what it made and answers 0; what earlier steps
    // loaded stays. A unit file that does not open and whose file dialog is
    // cancelled fails its step.
    int LoadUnitFiles(const CString& strDataDir);
    // When a scenario or saved game opens: every array rebuilds the units
    // whose vehicle no longer fits the database and takes its pictures;
    // every present hierarchy picks its leaders. When units were rebuilt one
    // report window lists them, per kind under its heading.
    void CheckUnitsAgainstDatabase(CKDRDatabase* pDatabase, CKDRGameMap* pMap);
    // The report CheckUnitsAgainstDatabase shows; empty when no unit was
    // rebuilt.
    CString BuildRebuildReport(CKDRDatabase* pDatabase);
    // Every array takes the text as its name: the database's name.
    void SetArrayNames(CKDRDatabase* pDatabase);
    void UpdateAllHeadings(CKDRDatabase* pDatabase);
    // A new global map of every unit: the own array (group 0, kind 0), then
    // each kind 1 array i (group i), then each kind 2 array i; first and
    // current triples equal.
    void RebuildGlobalMap();
    CGlobalMap* GetGlobalMap() const { return m_pGlobalMap; }
    void AfterOpenUnits(CKDRDatabase* pDatabase, CKDRGameMap* pMap);
    void FixUpAfterOpen(CKDRDatabase* pDatabase, CKDRGameMap* pMap);

    // ---- Mounting and dismounting (KDRUnitsMount.cpp) ----
    // The carrier lets its teams out (with bOneOnly only the last to
    // board) and each released team stands on the ring around it, its
    // element no longer marked mounted. 0 without the carrier, when it
    // refuses, or when a released team cannot be found or placed (the
    // others are placed all the same; one that cannot be placed is freed
    // where it stands).
    int DismountUnits(int nCarrierUnit, int nCarrierArray, int nKind, CKDRDatabase* pDatabase, CKDRGameMap* pMap,
                      BOOL bOneOnly);
    // Pairs teams with carriers and boards them: the given team (or, for
    // a negative index, each team of the team selection, most valuable
    // first) into the given carrier (or, with bUseSelections, the carriers
    // of the carrier selection in turn, best protected first). A carrier
    // takes a team within 60 m, both halted at stop nodes, after the
    // deployment phase; in it, anywhere. bImmediate boards at once (the
    // end of a timed boarding). 0 when what was asked for is missing;
    // otherwise 1, also when nobody could board.
    int MountUnits(int nTeamUnit, int nTeamArray, CTaskOrgArray* pTeamSelection, int nCarrierUnit, int nCarrierArray,
                   int nKind, CTaskOrgArray* pCarrierSelection, BOOL bUseSelections, CKDRDatabase* pDatabase,
                   CKDRGameMap* pMap, CObject* pContext2, CObject* pContext3, BOOL bImmediate);
    // The selection forms of the Actions menu: each carrier of the
    // selection lets its teams out (one already doing so stops its cycle
    // instead); the teams board the carriers. Nonzero when anything
    // changed.
    int DismountUnits(CTaskOrgArray* pSelection, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    int MountUnits(CTaskOrgArray* pCarried, CTaskOrgArray* pCarrier, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    // After the deployment phase: the teams become the force of a mount
    // order planned over the carriers, and a copy of it replaces the mount
    // orders of each carrier's platoon or company (the battalion's for a
    // carrier directly under it). Nonzero when an order was given.
    int IssueMountOrder(CHierarchyArray* pCarried, CHierarchyArray* pCarrier, CUOrdMount* pOrder, CKDRGameMap* pMap,
                        CKDRDatabase* pDatabase);

    // ---- Counts (KDRUnitsCounts.cpp) ----
    // Every count takes the live units that ride in no carrier, over all
    // the arrays of one kind (0 own, 1 opposing, 2 neutral). A position is
    // taken rounded half up to whole metres.
    //
    // The arrays of a kind in list order: kind 0 has one (array index 0).
    // Null past the last array, for an absent kind or any other kind.
    virtual CUnitArray* GetUnitArray(int nArray, int nKind) const;
    int CountLiveUnits(int nKind) const;
    // Inside the ellipse inscribed in the rectangle (corners in any order);
    // a rectangle without width or height holds nobody.
    int CountUnitsInRegion(int nKind, const CRect& ellipseBounds) const;
    // Inside the box, corners in any order; the right and bottom edges lie
    // outside.
    int CountUnitsInBox(int nKind, int nLeft, int nTop, int nRight, int nBottom) const;
    // Counts a kind's live units by vehicle type into a new zeroed block of
    // two integers per vehicle type, the first half used (the caller
    // deletes it with delete[]); both totals are set to the live count. 0,
    // and no block, without the database's vehicles or for an absent kind.
    int CountUnits(int nKind, CKDRDatabase* pDatabase, int& nAlive, int& nTotal, int*& pBlock);
    // The unit-count tables of the results page from the data directory's
    // "counts.htm" (its body only): "*enemy*", "*friendly*" and "*neutral*"
    // take the rows of kinds 1, 0 and 2. A row per vehicle type whose start
    // count is not 0: the type's name linked to its page of figures,
    // the start count, the live count. The start counts are the ones the
    // document took when the mission opened, one number per vehicle type.
    // The document keeps them under its own side names: its "own-side"
    // block is counted with kind 1 and is passed first, so each table
    // pairs one kind's start and live counts. A kind without start counts
    // or units gets no rows. Empty without the database's vehicles or the
    // template.
    CString WriteCountsPage(CKDRDatabase* pDatabase, const int* pStartCounts1, const int* pStartCounts0,
                            const int* pStartCounts2);
    int MergeUnitFile(const CString& strFile);
    // The units part of a saved game (see the header).
    void SerializeState(CArchive& ar);
    void ValidateTaskOrgs(CTaskOrgArrayArray* pGroups);
    virtual void ValidateTaskOrg(CTaskOrgArray* pList);

    // ---- Fire effects (KDRUnitsArtillery.cpp) ----
    // A blast: every unit of the own, opposing and neutral arrays in turn
    // takes its share; a round of sides 1 and 2 is reported as an enemy
    // impact.
    void ApplyArtilleryImpact(CFireMission* pRound, CKDRDatabase* pDatabase, int nPass1, int nPass2, int nPass3,
                              CTimeSpan tsGameTime);
    // A guided round: the firing side's contacts within the munition's foot
    // print (metres) of the aim point, in order, are offered to its
    // observers; the first target one of them holds identified within its
    // laser's reach (the moving range for a halted target, else the range,
    // metres) takes the hit and the impact moves onto it. Undesignated, an
    // enemy round is reported where it was aimed. Nothing for a munition
    // without a foot print.
    void ApplyFireMissionToUnits(CFireMission* pRound, CKDRDatabase* pDatabase, int nPass1, int nPass2, int nPass3,
                                 CTimeSpan tsGameTime);
    // A new list (the caller's) of the side's live, uncarried units whose
    // abilities meet the capability mask and whose vehicle's kind code meets
    // the kind mask (a mask of 0 or less takes all); its side set when
    // nSide is 0 or more.
    CTaskOrgArray* CollectUnitsOfKind(CKDRDatabase* pDatabase, int nSide, int nKindMask, int nCapabilityMask);
    // Keeps the live, uncarried candidates whose vehicle has a guided-round
    // value, each once before the first whose threat is below its value.
    void OrderPGMTargets(CUnitRefArray* pCandidates, CKDRDatabase* pDatabase);
    // 1 when a designated candidate took the round.
    int FindDesignatedTarget(CFireMission* pRound, CUnitRefArray* pCandidates, CKDRDatabase* pDatabase,
                             CTimeSpan tsGameTime);

    // ---- Operations the document forwards to ----
    // Least form: nothing is drawn, every look-up finds nothing (-99, null
    // or an empty text) and every order or network operation answers 0.
    void DrawFieldsOfFire(CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    void DrawCarriedUnits(CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    void DrawSelectionOverlays(CTaskOrgArray* pSelection, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    void DrawAIOrderGraphics(CKDRGameMap* pMap, CKDRDatabase* pDatabase);

    int HitTestUnitValue(int nX, int nY, CKDRGameMap* pMap, CKDRDatabase* pDatabase);

    // Menu states.
    BOOL HasUnitSelection() const;
    BOOL IsFireMissionLogOpen() const;
    BOOL IsHierarchyTreeOpen() const;
    int GetSelectionActions() const;
    CString GetSelectedInfo() const;
    CString GetSelectedSOP() const;
    CString GetMissionNames() const;
    CString GetCompanyFormationNames() const;
    BOOL IsSOPSetForCompany(int nItem) const;

    // Orders of the selection or of an element; nonzero on success.
    virtual int SetSelectionTACSOP(int nItem, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    int SetSelectionMission(int nMission, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    int SetCompanyFormation(int nFormation, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    int SetPlatoonFormation(int nFormation, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    int ApplyOrderToPlatoon(int nOrder, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    int ApplyOrderToCompany(int nOrder, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    int IssueElementOrder(CHierarchyPlatoon* pElement, int nOrder, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                          CKDRObstacles* pObstacles, CKDRHoles* pHoles);
    int IssueElementOrderB(CHierarchyPlatoon* pElement, int nOrder, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                           CKDRObstacles* pObstacles, CKDRHoles* pHoles);
    int ApplyOrderToElement(CTaskOrgArray* pList, DWORD dwOrder, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                            CKDRObstacles* pObstacles, CKDRHoles* pHoles, float fX, float fY, float fZ);
    // Deployment drags: one unit to the point (brought onto the map; a
    // carrier whose passenger is gone forgets it), FALSE when it refuses;
    // every live, uncarried unit of a selection by the difference of two
    // points, and the paths of the platoons and companies it names.
    virtual BOOL DragUnit(int nUnit, int nArray, int nKind, float fX, float fY, CKDRGameMap* pMap,
                          CKDRDatabase* pDatabase);
    int MoveSelectionBy(CTaskOrgArray* pSelection, float fFromX, float fFromY, float fToX, float fToY,
                        CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    // A path for a selection: with bToPlatoons or bToCompanies the
    // platoons and companies it names take it (through their own
    // ReceivePath); with bPerUnit each of its units takes it as its route
    // and, when it does, leaves a formation or AI order of its element.
    // Nonzero when anything took it.
    int PasteUnits(const CNodeArray* pPath, CTaskOrgArray* pSelection, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                   BOOL bPerUnit, BOOL bToPlatoons, BOOL bToCompanies, BOOL bInLine);
    // Only while a hierarchy window is shown: the order goes to the
    // platoon or company of the element selected in it; whether anything
    // was applied.
    int ApplyOrderToSelection(CTaskOrgArray* pSelection, DWORD dwOrder, float fX, float fY, CKDRGameMap* pMap,
                              CKDRDatabase* pDatabase, CKDRObstacles* pObstacles, CKDRHoles* pHoles);
    int SetUnitPathFromClick(int nUnit, int nArray, int nKind, float fX, float fY, CKDRGameMap* pMap,
                             CKDRDatabase* pDatabase, CKDRObstacles* pObstacles, CKDRHoles* pHoles);
    // The unit's array routes it to its path's goal; then its element's
    // orders are brought up to date (UpdateElementOrders).
    int AssignUnitRoute(int nUnit, int nArray, int nKind, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    int DeployMinesAtPoint(CTaskOrgArray* pSelection, float fX, float fY, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    // Every carrier of the selection that can upload gives to each unit of
    // its side standing on the point within 60 m of it; the number of
    // uploads that moved rounds.
    int UploadAtPoint(CTaskOrgArray* pSelection, float fX, float fY, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    int AssignFireMissionAtPoint(CTaskOrgArray* pSelection, float fX, float fY, CKDRGameMap* pMap,
                                 CKDRDatabase* pDatabase);
    // A unit laid mines: obstacle nObstacle of side nSide now exists.
    int OnMinesLaid(int nUnit, int nArray, int nObstacle, int nSide);
    int PassUnits(CTaskOrgArray* pSelection, int nPlayer, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    // The hierarchy tree window of the own side was closed.
    void ClearHierarchyTreeShown();

    // Network records and the AI-order editor.
    int SendUnitsUpdate();
    int CaptureUnitsUpdate(const BYTE* pData, int nLength, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    int ReceiveShotsFired(const BYTE* pData, int nLength, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    int ReceiveUnitDestroyed(const BYTE* pData, int nLength, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    int ApplyAIOrderSheet();
    int ApplyAIOrder();
    int ResetAIOrderEdit();
    int OnMessageBoxClosed();

    // ---- The map: drawing (KDRUnitsDraw.cpp) ----
    // Points are the view's screen points; map pictures come from the
    // game map, pieces from the database and the application's catalogue.
    // Kind 1 units are drawn only as contact list 0 holds them and kind 2
    // units only as list 1 does; then, with bDrawOwn, the own units; then,
    // after the deployment phase while the clock runs, every shot line.
    // nOrder is the order whose icon own units show (the view's interaction
    // mode), nFlags the drawing flags (0x1 hull arrows, 0x2 turret arrows).
    // TRUE when any array was drawn.
    BOOL DrawUnits(CKDRGameMap* pMap, CKDRDatabase* pDatabase, int nOrder, int nFlags, BOOL bDrawOwn);
    // Each reference's unit, labelled with the name of its element in the
    // hierarchy of its kind, drawn unidentified when the reference is.
    void DrawContacts(const CUnitRefArray* pList, CKDRGameMap* pMap, CKDRDatabase* pDatabase, int nOrder, int nFlags);
    // The own array, the kind 2 arrays, the kind 1 arrays; nothing without
    // a game map ready to draw.
    void DrawShotLines(CKDRGameMap* pMap);
    // The destroyed-unit markers of the own array, the kind 1 arrays and
    // the kind 2 arrays.
    void DrawDestroyedUnits(CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    // For the own side (nSide 0 or -1) with an own array: with bUnits the
    // own units able to do a function of dwFunctions get its marker; else,
    // with platoons or companies wanted, the own hierarchy marks its
    // platoons and companies.
    void DrawFunctionUnits(DWORD dwFunctions, int nSide, BOOL bUnits, BOOL bPlatoons, BOOL bCompanies,
                           CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    // A change of the view settings for every array, own first, then kind
    // 1, then kind 2: the symbol style (framed symbols) or plain pictures,
    // and the icon scale.
    void RebuildUnitSymbols(BOOL bSymbolStyle, CKDRDatabase* pDatabase);
    void SetUnitSpriteValue(float fScale);
    // With bDrawMarks the marks of the selection's units; else, with
    // platoons or companies wanted, the labels of its named elements.
    void DrawUnitLabels(const CTaskOrgArray* pSelection, BOOL bDrawMarks, BOOL bPlatoons, BOOL bCompanies,
                        CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    // The labels of the list's named elements, found in its side's hierarchy.
    void DrawNamedElementLabels(const CTaskOrgArray* pList, BOOL bPlatoons, BOOL bCompanies, CKDRGameMap* pMap,
                                CKDRDatabase* pDatabase);
    // The own hierarchy's platoon and company symbols: nStyle 0 the
    // echelon style, otherwise the alternative style; dwToggle the order
    // whose icon they show, dwFlags the drawing flags; fScale the symbols'
    // scale.
    void DrawHierarchySymbols(int nStyle, float fScale, BOOL bPlatoons, BOOL bCompanies, DWORD dwToggle,
                              DWORD dwFlags, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    // With bUnits the own units' paths; then, with platoons or companies
    // wanted, the own hierarchy's element paths.
    void DrawPaths(BOOL bUnits, BOOL bPlatoons, BOOL bCompanies, CKDRGameMap* pMap);

    // ---- The map: hit tests, selections and hover texts (KDRUnitsPick.cpp) ----
    // Every answer is a unit index, kUnset when none; nArray and nKind
    // receive the rest of the address of what was found.
    // nKind in: -1 any, else only that kind. The kind 2 arrays first, then
    // kind 1, then (bIncludeOwn) the own array; a unit of kind 1 or 2
    // counts only when its contact list holds it, identified unless
    // bIncludeUnidentified.
    int HitTestContact(int x, int y, int& nArray, int& nKind, BOOL bIncludeOwn, BOOL bIncludeUnidentified);
    // The topmost unit, live or destroyed, in kind 2, kind 1, then the own
    // array, answered only when it is destroyed.
    int HitTestDestroyed(int x, int y, int& nArray, int& nKind);
    // With bEnable, an own array and nKind -1 or 0: the topmost own unit
    // that accepts the action.
    int HitTestOwnUnit(int x, int y, DWORD dwAction, int& nArray, int& nKind, BOOL bEnable, CKDRDatabase* pDatabase);
    // A new list (the caller's) of the live, uncarried units under the
    // point: own ones (id 0); else identified ones of contact list 1 (id
    // 2); else of contact list 0 (id 1); else empty.
    CTaskOrgArray* GetUnitsAtPoint(int x, int y);
    // The identified, live, uncarried units of a kind under the point that
    // the contact list holds; a new list of id nKind.
    CTaskOrgArray* CollectContactsAtPoint(int x, int y, int nList, int nKind);
    // A new list (id 0) of the own units inside the rectangle of map
    // metres (bUnits) and of the own hierarchy's elements found in it
    // (platoons or companies wanted); empty without an own array.
    CTaskOrgArray* SelectInRect(float x1, float y1, float x2, float y2, BOOL bUnits, BOOL bPlatoons, BOOL bCompanies);
    // The data tip of a wreck under the point: "Destroyed " and its vehicle
    // type's name, coloured by kind; otherwise empty and crColour as given.
    CString GetHoverUnitText(int x, int y, CKDRDatabase* pDatabase, COLORREF& crColour);
    // The data tip of the map: a hierarchy symbol's label when platoons or
    // companies are wanted and one is hit; else the unit under the point
    // (own units included): its name and type, a contact's type name, or
    // an unidentified contact's identification text.
    CString GetHoverText(int x, int y, CKDRDatabase* pDatabase, BOOL bIncludeUnidentified, BOOL bPlatoons,
                         BOOL bCompanies, COLORREF& crColour);
    // Sides 0, 1, 2 in turn (only nSide when it is 0, 1 or 2): the first
    // hierarchy whose symbols are hit sets nSide and gives the container.
    CHierarchyPlatoon* HitTestElements(int x, int y, int& nSide, BOOL bPlatoons, BOOL bCompanies);
    // The first non-empty list of containers under the point of sides 0,
    // 1, 2; else a new empty one. The caller owns it.
    CHierarchyArray* GetElementsAtPoint(int x, int y, BOOL bPlatoons, BOOL bCompanies);

    // ---- Fields, in declaration order ----
    CString m_strName;  // stored and saved with the file names
    CStringList* m_pNeutralFileNames;   // owned; kind 2 unit files, in array order
    CStringList* m_pOpposingFileNames;  // owned; kind 1 unit files
    CString m_strUnitFile;              // kind 0 unit file; empty: no own array
    CString m_strFormationFile;         // "*.frm"
    CString m_strSOPFile;               // "*.sop"
    CTaskOrgArrayArray* m_pTaskOrgLists;  // owned; the stored task-organisation lists
    CString m_strHierarchyFile[UNIT_KIND_COUNT];  // "*.hra" of sides 0, 1, 2
    CGlobalMap* m_pGlobalMap;                     // owned
    BOOL m_bHierarchy[UNIT_KIND_COUNT];
    CHierarchyArray* m_pHierarchy[UNIT_KIND_COUNT];  // owned while its flag is set
    BOOL m_bOwnUnits;
    BOOL m_bNeutralUnits;
    BOOL m_bOpposingUnits;
    BOOL m_bFormations;
    BOOL m_bSOP;
    CUnitArray* m_pOwnUnits;                      // owned; kind 0
    TypedObArray<CUnitArray>* m_pNeutralArrays;   // owned; kind 2
    TypedObArray<CUnitArray>* m_pOpposingArrays;  // owned; kind 1
    CFormationTemplateArray* m_pFormations;       // owned
    CUnitOrderArray* m_pSOP;                      // owned; the standing orders of the SOP file
    CUnitRefArray* m_pContacts[CONTACT_LIST_COUNT];  // owned; rebuilt every tick
    int m_nTreeSide;    // side whose hierarchy window was last shown
    BOOL m_bTreeShown;  // a hierarchy window is shown
    CFireMissionLogWindow* m_pFireMissionLog = nullptr;  // owned; made on first use

private:
    // SerializeState's halves.
    void StoreState(CArchive& ar);
    void LoadState(CArchive& ar);
    // Deletes every array of a kind's list and the list; clears its flag.
    void DeleteArrayList(int nKind);
    // Every array in the order own, kind 1, kind 2, with its kind and index.
    void ForEachArray(const std::function<void(CUnitArray*, int, int)>& fn) const;
};
