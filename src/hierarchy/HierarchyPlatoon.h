#pragma once
// CHierarchyPlatoon: a named group of hierarchy elements that moves and
// fights as one, and the base of the company and battalion levels. It holds
// the platoon's standing orders, the AI orders it was given and its path;
// every platoon-level command of the map's and the tree's context menus
// acts on it. Its side word is the third argument of every unit look-up for
// its elements.
//
// The three container levels share one table of virtual operations, in the
// order below (slots 1 to 94; the company adds 95 to 101). The company and
// the battalion override an operation by doing the platoon's work on their
// own elements and orders first and then repeating the request on each
// sub-unit (counts add, flags OR, finders stop at the first hit).
//
// Names used elsewhere for the same operations: GetMapPopupMenu and
// GetTreePopupMenu are GetMapMenuId and GetTreeMenuId, FillMapPopup and
// FillTreePopup are FillMapMenu and FillTreeMenu, CollectUnits is
// FillUnitList, PlanMountElement is CHierarchyArray::InsertUnitsInOrder,
// GetFireSupportFigures is GetWeaponSummary, CountForDivision is
// CHierarchyCompany::OrderPlatoons; the "formation-and-mission flag" is
// m_bActive.
//
// Operations whose work belongs to parts not built yet (the status tally,
// starting an AI order, the AI-order editing) do the rest of their work and
// answer their nothing value (0, null, -99, empty) for that part until it
// exists; each says so where it is declared. The orders, formations and
// paths live in HierarchyPlatoonPaths.cpp.
//
// Record (shared unchanged by the company and the battalion):
//   1. the children as a class-tagged object array, then the group id
//      (word); a platoon holds elements, a company also platoons, the
//      battalion also companies: any other class, a deeper nesting
//      included, raises the archive's class error before it is made;
//   2. the path, the standing orders, the AI orders given (each in place);
//   3. six strings: symbol type, text 2, text 5, text 3, text 4, name;
//   4. eight words: weight, category, capacity, role flags, active, side,
//      word 7, marked. Words are sign-extended; a zero word leaves active
//      and marked as they were, a nonzero one sets them to 1.
// A record that turns out bad leaves the container as it was and raises the
// archive exception.
//
// Vehicle values: value A of a vehicle type is its target value, value B
// its threat value.

#include "hierarchy/HierarchyElement.h"
#include "hierarchy/HierarchyLevels.h"
#include "hierarchy/TaskOrg.h"
#include "platform/core/Collections.h"
#include "platform/core/Geometry.h"
#include "platform/ui/TreeCtrl.h"

class CConditionCallBackUnit;
class CHierarchyArray;
class CKDRDatabase;
class CKDRGameMap;
class CKDRHoles;
class CKDRObstacles;
class CKDRUnits;
class CMenu;
class CNode;
class CNodeArray;
class CPieceArray;
class CSprite;
class CUnit;
class CUnitOrderArray;
class CUnitRefArray;
class CUOrdAIOrder;

// The resource ids of the platoon's and the company's menus.
constexpr int PLATOON_MAP_MENU = 281;
constexpr int PLATOON_TREE_MENU = 279;
constexpr int COMPANY_MAP_MENU = 282;
constexpr int COMPANY_TREE_MENU = 280;

// A scaled rating is the rating times this.
constexpr float HIERARCHY_RATE_SCALE = 0.000290023f;

// The watched-unit records a call-back condition keeps.
using CCallBackUnitArray = TypedObArray<CConditionCallBackUnit>;

// Told once per element by VisitElements.
class CElementVisitor
{
public:
    virtual ~CElementVisitor() = default;
    virtual void VisitElement(int nCode, int nUnit, int nArray, int nSide) = 0;
};

class CHierarchyPlatoon : public CTaskOrgArray
{
    DECLARE_SERIAL(CHierarchyPlatoon)
public:
    // Empty, with empty standing orders, AI orders given and path.
    CHierarchyPlatoon();
    // Name, weight, side, role flags, category, word 7 and marked; a full
    // copy (bStructureOnly clear) also texts 2 to 5, symbol type, capacity,
    // active, group id and deep copies of both order sets and the path; a
    // structure-only copy gets empty ones. Then a copy of every element.
    CHierarchyPlatoon(const CHierarchyPlatoon& source, BOOL bStructureOnly);
    CHierarchyPlatoon(const CHierarchyPlatoon&) = delete;
    CHierarchyPlatoon& operator=(const CHierarchyPlatoon&) = delete;
    ~CHierarchyPlatoon() override;

    void Serialize(CArchive& ar) override;

    // ---- Children (any kind, told apart by run-time class name) ----
    CObject* GetChild(int i) const { return CObArray::GetAt(i); }
    // Appends the child (the container takes it); its index.
    int Add(CObject* pChild);
    // Gives a platoon or company this container's side word, then appends it.
    int AddWithSide(CHierarchyPlatoon* pChild);
    // Children are not entries: reach them through GetChild or GetElement.
    CTaskOrg* GetAt(int) const = delete;

    // ---- The table of virtual operations, slots 1 to 94 ----
    // 1. The element child with both words, else kUnset.
    int FindTaskOrg(int nUnit, int nArray) const override;
    // 2. The first named entry child with that name, else kUnset.
    int FindHierarchyTaskOrg(const CString& strName) const override;
    // 3. A unit of nSide left its array: every element of that side with a
    //    unit index at or above it moves down by one (on sides other than 0
    //    only with the same array index or kUnset).
    virtual void RenumberAfterRemoval(int nUnit, int nArray, int nSide);
    // 4. The container holding the element of that name, with the element's
    //    index; null when none.
    virtual CHierarchyPlatoon* FindPlatoonOfElement(const CString& strName, int& nIndex);
    // 5. Appends the container's name and how many of its elements the list
    //    names; removes the named entries of the container from the list.
    virtual int CollectTaskOrgNames(CStringArray& names, CDWordArray& counts, int nPosition, int& nInsert,
                                    int& nRemoved, CTaskOrgArray* pList);
    // 6. The side word, also handed to the path (its start-time flag).
    virtual void SetSide(int nSide);
    // 7. New empty order sets and a one-node path at 0, 0; every element's
    //    mounted flag cleared.
    virtual void ResetOrders();
    // 8. The visitor hears each element's unit index, array index and side.
    virtual void VisitElements(int nCode, CElementVisitor& visitor) const;
    // 9. The current AI order marked restarted. Starting it again belongs to
    //    the AI orders: 0 until then.
    virtual int RestartAIOrder(CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase, CKDRObstacles* pObstacles,
                               CKDRHoles* pHoles);
    // 10. Records an AI order in the AI orders given unless present.
    virtual void RecordAIOrderGiven(const CUOrdAIOrder* pOrder);
    // 11, 12. An AI order of the standing-orders file (by name, else the
    //     alternative; by menu index) whose level mask holds this level is
    //     launched by the units component at the leader's position; 1 when
    //     it was.
    virtual int IssueAIOrderByName(const CString& strName, const CString& strAlternative, CKDRUnits* pUnits,
                                   CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    virtual int IssueAIOrderByIndex(int nIndex, CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    // 13. 8 when the live air and dismount vehicles are all the live ones, else 9.
    virtual int GetMobilityCode(CKDRUnits* pUnits, CKDRDatabase* pDatabase) const;
    // 14. Runs the suppress order's step; removes it when it is finished.
    virtual int UpdateToggleOrder(CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                                  CKDRObstacles* pObstacles, CKDRHoles* pHoles);
    // 15. Units suppressing the area centred on x, y take the radius, and so
    //     does the first suppress order centred there.
    virtual int SetSuppressRadius(float fX, float fY, float fRadius, CKDRUnits* pUnits);
    // 16. OR of the role flags of the available elements' live, uncarried units.
    virtual DWORD GetRoleFlags(CKDRUnits* pUnits, CKDRDatabase* pDatabase) const;
    // 17. For a list of this side: removes the named entries of this name and
    //     the plain entry of every element.
    virtual void RemoveFromTaskOrg(CTaskOrgArray* pList) const;
    // 18, 19. The status tally and its count test: 0 until the tally exists.
    virtual int TestInArea(DWORD dwStatus, BOOL bStopAtFirstMet, BOOL bStopWhenShort, CKDRUnits* pUnits,
                           CKDRObstacles* pObstacles, CKDRDatabase* pDatabase, CKDRGameMap* pMap, int& nCounted,
                           float fRadius, float fX, float fY, const CRect& area, BOOL bElliptic);
    virtual int TestCount(DWORD dwStatus, CKDRUnits* pUnits, CKDRObstacles* pObstacles, CKDRDatabase* pDatabase,
                          CKDRGameMap* pMap, int nNumber, int nPercent, float fRadius, float fX, float fY);
    // 20. Detaches (or re-attaches) the element of every live, uncarried
    //     dismount team.
    virtual int DetachDismounts(BOOL bDetach, CHierarchyArray* pHierarchy, CKDRUnits* pUnits, CKDRDatabase* pDatabase,
                                BOOL bMarkStates);
    // 21. 1 when every attached, not destroyed element's unit is alive and
    //     passes the test, else 0.
    virtual int AllElementsSatisfy(BOOL (CUnit::*pfnTest)() const, CKDRUnits* pUnits) const;
    // 22. Per pass: without a live vehicle the AI orders go and the formation
    //     is cleared; then the standing orders take their step.
    virtual int UpdateOrders(CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase, CKDRObstacles* pObstacles,
                             CKDRHoles* pHoles);
    // 23, 24. Structure-only copies of the available elements whose live,
    //     uncarried units are dismount teams (carriers) appended to the
    //     list; their number.
    virtual int CollectDismountElements(CTaskOrgArray* pList, CKDRUnits* pUnits) const;
    virtual int CollectCarrierElements(CTaskOrgArray* pList, CKDRUnits* pUnits) const;
    // 25. Available elements whose live, uncarried unit can breach the
    //     obstacle type. Whether a unit can breach belongs to its
    //     breaching: none counts until then.
    virtual int CountBreachers(CKDRUnits* pUnits, CKDRDatabase* pDatabase, int nObstacleType) const;
    // 26. A new list (the caller's) of the live, uncarried contacts of the
    //     available elements' units whose role flags meet the mask (0 or
    //     less: any) and that stand in the area (empty: anywhere).
    virtual CUnitRefArray* CollectContacts(CKDRUnits* pUnits, CKDRDatabase* pDatabase, int nRoleMask,
                                           const CRect& area) const;
    // 27. Every element moves to the target's end.
    virtual void MoveAllElementsTo(CTaskOrgArray& target);
    // 28. Deletes every element whose unit's role flags share no bit with
    //     the mask (negative role flags stay).
    virtual void RemoveElementsWithoutRole(int nRoleMask, CKDRUnits* pUnits, CKDRDatabase* pDatabase);
    // 29. Average weapon range, average vehicle values, weapon value and
    //     role flags of the available live units (see the definition).
    virtual int GetWeaponSummary(CKDRUnits* pUnits, CKDRDatabase* pDatabase, int& nRange, int& nValueA, int& nValueB,
                                 float& fWeaponValue, DWORD& dwRoles) const;
    // 30. The units component places the units by the template; 0 for an
    //     empty name. 31. The OR of the units' vehicle kind codes.
    virtual int PlaceByFormationTemplate(const CString& strName, CKDRUnits* pUnits, CKDRGameMap* pMap,
                                         CKDRDatabase* pDatabase);
    virtual int GetUnitListValue(int nFlags, CKDRUnits* pUnits, CKDRDatabase* pDatabase);
    // 32. Every element's SumWeaponValue into the sum and count; the sum.
    virtual float SumWeaponValue(int nRoleMask, int nMinPenetration, CKDRUnits* pUnits, CKDRDatabase* pDatabase,
                                 float& fSum, int& nCount) const;
    // 33. Attached elements whose unit exists, is alive (or, with
    //     bIncludeDead, destroyed too) and has a vehicle type whose role flags
    //     meet the mask (0 or less: any).
    virtual int CountLiveVehicles(DWORD dwMask, CKDRUnits* pUnits, CKDRDatabase* pDatabase,
                                  BOOL bIncludeDead = FALSE) const;
    // 34. The sum of the available units' default suppression radii.
    virtual float SumDefaultSuppressRadius(CKDRUnits* pUnits, CKDRDatabase* pDatabase, float fX, float fY) const;
    // 35. Weight times the largest live count of the attack, anti-tank,
    //     dismount, rotary wing and troop carrier roles.
    virtual int GetRoleStrength(CKDRUnits* pUnits, CKDRDatabase* pDatabase) const;
    // 36. Sum over live, attached elements of value A x value B (0 counts
    //     as 1) x weight (0 counts as 1).
    virtual int RateValue(CKDRUnits* pUnits, CKDRDatabase* pDatabase) const;
    // 37. Records the AI order given; unless the same order runs already,
    //     the current AI orders go and it becomes current (starting it is
    //     its own per-pass step). 1 when it is current.
    virtual int SetAIOrder(const CUOrdAIOrder* pOrder, CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                           CKDRObstacles* pObstacles, CKDRHoles* pHoles);
    // 38. Removes the AI orders from the standing orders.
    virtual void RemoveAIOrders();
    // 39.
    virtual BOOL HasAIOrderNamed(const CString& strName) const;
    // 40, 41. Assigns an AI order by name (menu index) through the units
    //     component; an empty name (negative index) removes the AI orders.
    virtual int AssignAIOrderByName(const CString& strName, CKDRUnits* pUnits, CKDRGameMap* pMap,
                                    CKDRDatabase* pDatabase);
    virtual int AssignAIOrderByIndex(int nIndex, CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    // 42 to 54. The map symbols (HierarchySymbols.cpp): a platoon or
    //     company is drawn at its leader's position as a type picture in an
    //     echelon frame (side and level), with the icon of one toggle order,
    //     a hull arrow and its function picture; a symbol is hit where its
    //     type picture is not transparent. Nothing is drawn or hit without a
    //     live, uncarried leader. Searches run from the last drawn to the
    //     first, so the symbol on top wins. 50, the unit list, is here.
    // Appends structure-only copies of the hit containers to pHits; how
    // many were appended.
    virtual int CollectHitSymbols(int nX, int nY, BOOL bPlatoons, BOOL bCompanies, CHierarchyArray* pHits,
                                  CKDRUnits* pUnits);
    virtual void DrawTaskOrgMarker(CKDRGameMap* pMap, CKDRUnits* pUnits, BOOL bPlatoons, BOOL bCompanies);
    virtual CHierarchyPlatoon* HitTestSymbol(int nX, int nY, BOOL bPlatoons, BOOL bCompanies, int nSide,
                                             CKDRUnits* pUnits);
    // nStyle 0 the echelon style, otherwise the alternative one (drawn at
    // twice the scale); dwToggle the toggle order whose icon to show;
    // dwFlags bit 0x1 the hull arrow.
    virtual void DrawSymbol(CKDRGameMap* pMap, CKDRUnits* pUnits, CKDRDatabase* pDatabase, int nStyle, float fScale,
                            BOOL bPlatoons, BOOL bCompanies, DWORD dwToggle, DWORD dwFlags);
    // The echelon style: the type picture (the symbol type) from the given
    // pieces, the frame of side and level from the application's
    // catalogue; 0 when the type picture is missing.
    virtual int LoadSymbolSprites(CPieceArray* pPieces, int nSide, DWORD dwToggle);
    // The alternative style: type picture text 2, frame text 5, both from
    // the given pieces.
    virtual int LoadAltSymbolSprites(CPieceArray* pPieces);
    virtual int LoadToggleIcon(DWORD dwToggle);
    virtual void SetSymbolStopped(BOOL bStopped);
    // 50. The list takes this side; with bWithName a named entry of this
    //     container unless one is present; then every available element's
    //     unit. 0 for a null list, else 1.
    virtual int FillUnitList(CTaskOrgArray* pList, BOOL bWithName) const;
    // Puts every present sprite at the leader's position (plus the
    // formation offset) at the scale; 0 when there is no such position.
    virtual int PlaceSymbol(CKDRGameMap* pMap, CKDRUnits* pUnits, float fScale);
    virtual void RefreshUnitLists(CKDRUnits* pUnits);
    virtual void DeleteSymbolSprites();
    // The type picture's screen rectangle; FALSE without one.
    virtual BOOL GetSymbolRect(CRect& rect) const;
    // 55. Child i when it is an element (at platoon level every child is).
    virtual CHierarchyElement* GetElement(int i) const;
    // 56. The element of that name, taken out of the array (not deleted)
    //     with bRemove; null when none.
    virtual CHierarchyElement* FindElementByName(const CString& strName, BOOL bRemove);
    // 57. The container's item, then its elements' items under it; the item.
    virtual HTREEITEM InsertTreeItems(CTreeCtrl* pTree, const CStringArray& names, HTREEITEM hParent);
    // 58. The container's and its elements' picture names, each once.
    virtual void CollectSymbolNames(CStringArray& names) const;
    // 59. Average position of the available live, uncarried units (those of
    //     a vehicle role category first); 0 and 0, 0 when none.
    virtual int GetAveragePosition(float& fX, float& fY, int& nCount, CKDRDatabase* pDatabase, CKDRUnits* pUnits) const;
    // 60. Clears the formation (March Speed off), gives each unit back its
    //     own formation state, puts node 0 at the average position and,
    //     unless bKeepPath, hands the path on again.
    virtual int ResetFormation(CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase, BOOL bKeepPath);
    // 61. Index of the element of that name, else kUnset.
    virtual int IndexOfElementByName(const CString& strName) const;
    // 62. Heading of the path's first leg, else the live leader's unit's, else 0.
    virtual float GetHeading(CKDRUnits* pUnits);
    // 63. The function picture of the current orders at this level, kept
    //     as a sprite; 1 when one was made.
    virtual int LoadSymbolSprite(CKDRUnits* pUnits);
    // 64, 65. Fills the map (tree) context menu's formation and mission
    //     lists (the tree's also its SOP list): an inactive platoon offers
    //     only "&None"; at most 20 names each. 0 when a submenu is missing.
    virtual int FillMapMenu(CMenu* pMenu, CKDRUnits* pUnits);
    virtual int FillTreeMenu(CMenu* pMenu, CKDRUnits* pUnits);
    // 66. Re-attaches every detached element, which takes the platoon's
    //     route, and puts node 0 of the path at the platoon's position.
    virtual int RecallDetached(CHierarchyArray* pHierarchy, CKDRUnits* pUnits, CKDRGameMap* pMap,
                               CKDRDatabase* pDatabase, int nLevel);
    // 67.
    virtual BOOL HasFormationNamed(const CString& strName) const;
    // 68, 69. Sets a formation by template name (empty: none, the path
    //     handed on again) or by menu index (-99 support by fire, -88
    //     position area); 0 without standing orders or for an index past
    //     the names.
    virtual int SetFormationByName(const CString& strName, CKDRUnits* pUnits, CKDRGameMap* pMap,
                                   CKDRDatabase* pDatabase);
    virtual int SetFormationByIndex(int nIndex, CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    // 70. Re-attaches every detached element and re-applies the formation.
    virtual int RecallAllDetached(CHierarchyArray* pHierarchy, CKDRUnits* pUnits, CKDRGameMap* pMap,
                                  CKDRDatabase* pDatabase, int nLevel);
    // 71. The same for the one element of that name; 1 when it re-attached.
    virtual int RecallDetachedByName(const CString& strName, CHierarchyArray* pHierarchy, CKDRUnits* pUnits,
                                     CKDRGameMap* pMap, CKDRDatabase* pDatabase, int nLevel);
    // 72. Whether any element answers IsDetachedAlive.
    virtual BOOL HasDetachedAliveElement() const;
    // 73. Per pass, without a formation: a formation order met on the lead
    //     vehicle's first node is taken up and the lead path handed on;
    //     otherwise node 0 follows the platoon's position.
    virtual int ApplyNodeFormations(CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                                    CKDRObstacles* pObstacles, CKDRHoles* pHoles);
    // 74. Draws the path with the ground-force flag and the level code.
    virtual void DrawPath(CKDRGameMap* pMap, BOOL bSelected);
    // 75. Releases the stop of every available unit halted at a stop node;
    //     1 when one was released.
    virtual int ClearStops(CKDRUnits* pUnits);
    // 76. Fires the conditional starts whose conditions the event meets;
    //     1 when any fired.
    virtual int CheckConditionalStarts(DWORD dwEvent, DWORD id1, DWORD id2, DWORD id3, DWORD id4, DWORD id5, DWORD id6,
                                       CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    // 77. One watched-unit record per qualifying live unit not yet watched.
    virtual int AttachCallBackUnits(CCallBackUnitArray* pRecords, int nFirstWord, CKDRUnits* pUnits,
                                    CKDRDatabase* pDatabase) const;
    // 78. Moves the whole path to start at the platoon's position (taken
    //     into the map); a pure translation restarts the AI order, any other
    //     change hands the path on. A platoon without a position keeps its
    //     path (0).
    virtual int ShiftPath(CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase, float fX2, float fY2,
                          BOOL bSkip);
    // 79. With the platoon's position known the path becomes a copy of the
    //     given one placed there (from the start point with bFromStart) and
    //     is handed on; 0 without a position.
    virtual int ReceivePath(const CNodeArray* pPath, CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                            float fX, float fY, BOOL bFromStart);
    // 80. The path becomes a copy of the given one placed at x, y; nothing
    //     runs. 0 without a path of the platoon's own.
    virtual int CopyPath(float fX, float fY, const CNodeArray* pPath, CKDRUnits* pUnits, CKDRGameMap* pMap,
                         BOOL bFromStart);
    // 81. The leader's unit's position plus the formation's offset;
    //     kUnsetFloat in both and FALSE without a live leader.
    virtual BOOL GetPosition(float& fX, float& fY, CKDRUnits* pUnits);
    // 82. Hands the path to the units (see HierarchyPlatoonPaths.cpp);
    //     bNoReformation keeps the formation and the march speed as they
    //     are. 0 without units, map or database.
    virtual int ExecutePath(CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase, float fX, float fY,
                            BOOL bNoReformation);
    // 83. The path becomes a deep copy of a path with nodes (0 for one
    //     without) and is handed on.
    virtual int PlanPath(const CNodeArray* pPath, CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                         float fX, float fY);
    // 84. A node's toggle orders reach the whole platoon (and leave the
    //     node), then its first fitting formation order is set.
    virtual int ApplyNodeOrders(CNode* pNode, CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    // 85. A new list of this side, filled with the units when asked and the
    //     formation position lies in the rectangle (corners in either
    //     order, edges included).
    virtual CTaskOrgArray* SelectInRectangle(float fX1, float fY1, float fX2, float fY2, BOOL bWanted,
                                             CKDRUnits* pUnits);
    // 86. The name, two tabs and "(Platoon)"; empty without database or units.
    virtual CString GetLabel(CKDRDatabase* pDatabase, CKDRUnits* pUnits) const;
    // 87. One label per element.
    virtual void GetElementLabels(CStringArray& labels, CKDRDatabase* pDatabase, CKDRUnits* pUnits) const;
    // 88, 89. The function markers "Function Unit Yellow" and "Function
    //     Circle Blue" at the leader's position. Whether a unit can do the
    //     asked actions belongs to the units component: until then the
    //     unit marker is never drawn.
    virtual void DrawUnitSymbol(DWORD dwOptions, BOOL bPlatoons, BOOL bCompanies, CKDRGameMap* pMap,
                                CKDRDatabase* pDatabase, CKDRUnits* pUnits);
    virtual void DrawCircleSymbol(BOOL bPlatoons, BOOL bCompanies, CKDRUnits* pUnits, CKDRDatabase* pDatabase,
                                  CKDRGameMap* pMap, DWORD dwOptions);
    // 90. For a unit with an indirect-fire capability: whether an attached,
    //     live element's unit is a fire-direction centre for its fire angle
    //     (a centre of neither the low nor the high angle serves both).
    virtual BOOL HasFireDirectionFor(int nUnit, int nArray, CKDRUnits* pUnits, CKDRDatabase* pDatabase,
                                     BOOL bFlag) const;
    // 91 to 94.
    virtual int GetLevel() const { return HIERARCHY_PLATOON; }
    virtual int GetType() const { return TASKORG_KIND_UNIT; }
    virtual int GetMapMenuId() const { return PLATOON_MAP_MENU; }
    virtual int GetTreeMenuId() const { return PLATOON_TREE_MENU; }

    // ---- Container operations (each level has its own) ----
    // With standing orders: adds or removes the toggle order of the bit;
    // 0 without standing orders, else 1.
    virtual int ToggleStandingOrder(DWORD dwToggle, int* pState, BOOL bForce);
    // The element, platoon or company whose item is hOld takes hNew; 1 when found.
    virtual int SetTreeItemHandle(HTREEITEM hOld, HTREEITEM hNew);
    // The leader among the direct elements that qualify for this level;
    // nothing without a hierarchy.
    virtual void PickLeader(CHierarchyArray* pHierarchy);
    // Clears active and every leader mark and state word below.
    virtual void ClearLeaders(CHierarchyArray* pHierarchy);
    // Whether an element (for a company, also a platoon) of that name exists below.
    virtual BOOL NameExists(const CString& strName) const;

    // ---- Non-virtual operations ----
    BOOL HasPath() const;
    BOOL HasAvailableElement() const;
    // The first element with the leader flag that is neither destroyed nor
    // detached (one met on the way loses the flag); at platoon and company
    // level it must also qualify for the level, else it loses the flag and
    // the answer is null. Null at battalion level.
    CHierarchyElement* GetLeaderElement();
    // The leader's position plus the formation's offset; FALSE without one.
    BOOL GetLeaderPosition(float& fX, float& fY, CKDRUnits* pUnits);
    // The first available leader (or, with bAny, any available element)
    // with a live, uncarried unit: its position plus the formation's
    // reference offset; kUnsetFloat in both and FALSE when none.
    BOOL GetFormationPosition(float& fX, float& fY, CKDRUnits* pUnits, BOOL bAny) const;
    // The average value B of the available live units' vehicle types, and
    // their average nonzero role category into nCategory (both rounded).
    int GetAverageVehicleValues(int& nCategory, CKDRUnits* pUnits, CKDRDatabase* pDatabase) const;
    // RateValue (0 counts as 1.0) times HIERARCHY_RATE_SCALE.
    float GetScaledRate(CKDRUnits* pUnits, CKDRDatabase* pDatabase) const;
    // 0 when the role flags hold dismount, fixed wing or rotary wing.
    BOOL IsGroundForce() const;
    // The leader's unit, else the first available element's live, uncarried unit.
    CUnit* GetLeadUnit(CKDRUnits* pUnits);
    // With the position known and not negative: node 0 of the path moves
    // there (an empty path gets one node there).
    void ResetPath(CKDRUnits* pUnits);
    // Re-applies the current formation by its template name.
    void ReapplyFormation(CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase, float fX, float fY);
    // Every plain unit of the platoon halts; every named group's first node
    // takes a stop.
    int StopUnits(CKDRUnits* pUnits, CKDRDatabase* pDatabase);
    // A returning element's unit takes the platoon's toggles and, without a
    // formation, the platoon's path (March Speed again when it was set).
    void GiveRouteToElement(CHierarchyElement* pElement, CKDRUnits* pUnits, CKDRGameMap* pMap,
                            CKDRDatabase* pDatabase);
    // A path of one node at the container's position (none without one):
    // with bPlan and a map and database it is planned (PlanPath, whose
    // answer this is), otherwise it becomes the container's path (1).
    int BuildPath(CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase, BOOL bPlan);
    // Whether the standing orders hold an order of the toggle bit's code.
    BOOL HasOrderOfType(DWORD dwToggle) const;
    // ---- Formation services (HierarchyFormation.cpp) ----
    // For a number of 0 or more and standing orders: a conditional start of
    // that number (formation flag: a formation order is held) unless one of
    // that number is there. 1 when added.
    int AddConditionalStart(int nNumber, CKDRUnits* pUnits);
    // The radius, width and depth of the element's own formation (its
    // formation order's places built for its members); 0 and zeros
    // without a formation order or places.
    BOOL GetFormationPlace(CKDRUnits* pUnits, float& fRadius, float& fWidth, float& fDepth);
    // Deletes every child without looking at its kind.
    void DeleteAllChildren();

    // The picture index of the container's own tree item.
    int GetTreeImage(const CStringArray& names) const;
    // The picture word of this level: " platoon" or " company".
    virtual const char* GetSymbolSuffix() const { return SYMBOL_SUFFIX_PLATOON; }
    // The echelon frame's piece for a side (0 own, 1 enemy, 2 neutral) and
    // a level (1 vehicle, 2 platoon, 4 company), friendly and enemy
    // exchanged while the application shows the sides swapped; enemy
    // frames are one echelon up. Empty for any other side or level.
    static CString GetSymbolName(int nSide, int nLevel);
    // The leader's unit when it exists, is alive and rides in no carrier.
    CUnit* GetLiveLeaderUnit(CKDRUnits* pUnits);

    CString m_strSymbolType;  // tree picture: this word and the level's suffix
    CString m_strText2;
    CString m_strText3;
    CString m_strText4;
    CString m_strName;
    CUnitOrderArray* m_pOrders;    // owned; null in groups built from a task organisation
    CUnitOrderArray* m_pAIOrders;  // owned; the AI orders given
    CNodeArray* m_pPath;           // owned; node 0 stays at the container's position
    int m_nCapacity;               // most children a drop takes; kUnset: no limit
    int m_nWeight;                 // multiplier of the ratings; 0 counts as 1
    int m_nCategory;
    DWORD m_dwRoleFlags;
    int m_nWord7;
    BOOL m_bMarked;
    int m_nWork1;
    int m_nWork2;
    CSprite* m_apSprites[4];  // owned when present: the map symbol's pictures
    BOOL m_abSprites[4];
    CString m_strSymbolName;  // piece of the function sprite
    // The symbol style whose sprites are loaded, and the toggle bit whose
    // icon is (not stored).
    BOOL m_bEchelonStyleLoaded = FALSE;
    BOOL m_bAltStyleLoaded = FALSE;
    DWORD m_dwToggleIcon = 0;
    CString m_strText5;
    BOOL m_bActive;  // takes formations and missions; a leader was picked
    HTREEITEM m_hTreeItem;

protected:
    // A copy of the container's own fields only; the derived level copies
    // the children by kind.
    struct FieldsOnly
    {
    };
    CHierarchyPlatoon(const CHierarchyPlatoon& source, BOOL bStructureOnly, FieldsOnly);
    // The class test of this level's children in a record.
    virtual CArchive::ClassTest GetChildTest() const;
    // Exchanges every stored field and the children with the other's.
    void SwapRecord(CHierarchyPlatoon& other);
    // The symbol's sprite slots: the echelon frame, the type picture, the
    // toggle icon, the function picture.
    static constexpr int FRAME_SPRITE = 0;
    static constexpr int TYPE_SPRITE = 1;
    static constexpr int TOGGLE_SPRITE = 2;
    static constexpr int FUNCTION_SPRITE = 3;
    // Draws the leader's hull arrow from the symbol's position.
    void DrawSymbolHullArrow(CKDRGameMap* pMap, CKDRUnits* pUnits);
};
