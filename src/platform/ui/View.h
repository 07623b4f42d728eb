#pragma once
// CView: a window inside the frame that shows its document. OnDraw paints it
// (on the view's back image); OnUpdate hears of document changes; commands
// the view does not handle go on to its document.
//
// CScrollView adds the two scroll bars: SetScrollSizes gives the total,
// page and line sizes, ScrollToPosition moves, and OnHScroll / OnVScroll
// receive the bars' codes (SB_LINEUP ... SB_THUMBTRACK). The base handlers
// scroll by the line and page sizes; OnDraw is then given a DC whose origin
// is moved by the scroll position. A view that keeps its own scroll
// position overrides the handlers and calls ScrollToPosition itself.

#include "platform/core/CString.h"
#include "platform/core/Geometry.h"
#include "platform/core/Types.h"
#include "platform/ui/Wnd.h"

#include <memory>

class CDocument;
class CFrameWnd;

constexpr int MM_TEXT = 1;

class CView : public CWnd
{
public:
    CView();
    ~CView() override;

    // Creates the view's window inside the frame (called by the frame).
    virtual BOOL CreateView(CWnd* parent, UINT id, CDocument* document);
    CDocument* GetDocument() const { return m_pDocument; }
    void SetDocument(CDocument* document) { m_pDocument = document; }
    CFrameWnd* GetParentFrame() const;

    virtual void OnDraw(CDC* pDC);
    virtual void OnPrepareDC(CDC* pDC);
    virtual void OnInitialUpdate();
    virtual void OnUpdate(CView* sender, LPARAM hint, CObject* pHint);
    void OnPaint() override;
    BOOL OnCmdMsg(UINT id, CCmdUI* pCmdUI) override;
    void PostNcDestroy() override;

protected:
    CDocument* m_pDocument = nullptr;
};

class CScrollView : public CView
{
public:
    CScrollView();
    ~CScrollView() override;

    BOOL CreateView(CWnd* parent, UINT id, CDocument* document) override;

    // A zero page or line size takes a tenth (line) or the client size (page).
    void SetScrollSizes(int mapMode, CSize total, CSize page = CSize(0, 0), CSize line = CSize(0, 0));
    void GetDeviceScrollSizes(int& mapMode, CSize& total, CSize& page, CSize& line) const;
    CSize GetTotalSize() const { return m_total; }
    CPoint GetScrollPosition() const { return m_pos; }
    CPoint GetDeviceScrollPosition() const { return m_pos; }
    void ScrollToPosition(CPoint position);  // clamped to the scroll range
    int GetScrollPos(int bar) const;
    int SetScrollPos(int bar, int pos, BOOL redraw = TRUE);
    void GetScrollRange(int bar, int* minPos, int* maxPos) const;
    int GetScrollLimit(int bar) const;
    // Keeps a bar shown (TRUE) even while everything fits.
    void ShowScrollBar(int bar, BOOL show = TRUE);
    void EnableScrollBarCtrl(int bar, BOOL enable = TRUE) { ShowScrollBar(bar, enable); }

    void OnPrepareDC(CDC* pDC) override;
    void OnHScroll(UINT code, UINT pos, CWnd* pScrollBar) override;
    void OnVScroll(UINT code, UINT pos, CWnd* pScrollBar) override;
    void OnSize(UINT type, int cx, int cy) override;

    // The bars themselves, for the platform layer and tests.
    class QScrollBar* GetScrollBarWidget(int bar) const;

private:
    void UpdateBars();
    void ScrollBy(int bar, UINT code, UINT pos);

    int m_nMapMode = MM_TEXT;
    CSize m_total;
    CSize m_page;
    CSize m_line;
    CSize m_pageSet;
    CSize m_lineSet;
    CPoint m_pos;
    bool m_bForceH = false;
    bool m_bForceV = false;
    class QScrollBar* m_pHBar = nullptr;
    class QScrollBar* m_pVBar = nullptr;
};
