#pragma once
// The map view: the one view of the main window, a scroll view over the
// mission's map on whose window the display is created.
//
// Least form: a view that draws no map (its client area stays black),
// loads no view properties and allows every command. The services that the
// application shell, the document and the game loop call exist with their
// arguments; the map view's own issue replaces them.

#include "platform/CString.h"
#include "platform/Types.h"
#include "platform/View.h"

class CDC;
class CKDRDoc;
class CNodeArray;
class CTaskOrgArray;

class CKDRView : public CScrollView
{
public:
    CKDRView();
    ~CKDRView() override;

    CKDRDoc* GetDocument() const;

    void OnDraw(CDC* pDC) override;
    BOOL OnEraseBkgnd(CDC* pDC) override;
    void OnInitialUpdate() override;

    // False while an interaction or mode forbids the command.
    virtual BOOL IsCommandAllowed(UINT nCommand);
    virtual void CancelInteraction();
    virtual void SetScrollClamped(int x, int y);
    virtual void RedrawMap(BOOL bErase);

    // Per-zoom-level view properties.
    void InitViewProperties();
    void ApplyViewProperties();
    void StoreViewProperties(BOOL bSave);
    void ApplyStoredZoom();

    void SetHierarchyTreeShown(BOOL bShown);
    void StoreFMLogShown();
    void SetSpotReportLogShown(BOOL bShown);
    void RefreshOverviewMap();
    void CloseOverviewMap();
    void UpdateOverviewMap();
    // A titled modeless message at a map point (-99, -99: no particular point).
    void ShowMessageAtPoint(const CString& strTitle, const CString& strText, float fX, float fY);
    void HandleKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) override;

    // Game-loop state.
    DWORD m_dwLoopTick;
    int m_nLoopRemainder;
    int m_nEndTestCountdown;
    BOOL m_bMissionOver;
    BOOL m_bLoading;   // set by the document while a mission opens; drawing suppressed
    // Pending drags and the dragged selection.
    BOOL m_bDragUnits;
    BOOL m_bDragObstacles;
    BOOL m_bDragHoles;
    CTaskOrgArray* m_pDragSelection;
    // Selected path state.
    int m_nSelUnit;     // -99: none
    int m_nSelArray;
    int m_nSelKind;
    CNodeArray* m_pShownPath;
    BOOL m_bPathShown;
    CString m_strElementPath;
    BOOL m_bNodeMark1;
    int m_nNodeMark1;   // -99: none
    BOOL m_bNodeMark2;
    int m_nNodeMark2;
    // The contact display's two values from the units' contact lists.
    void* m_pContacts1;
    void* m_pContacts2;
};
