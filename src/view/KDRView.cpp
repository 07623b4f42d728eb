#include "view/KDRView.h"

#include "app/KDRDoc.h"
#include "platform/DC.h"

CKDRView::CKDRView()
    : m_dwLoopTick(0),
      m_nLoopRemainder(0),
      m_nEndTestCountdown(0),
      m_bMissionOver(FALSE),
      m_bLoading(FALSE),
      m_bDragUnits(FALSE),
      m_bDragObstacles(FALSE),
      m_bDragHoles(FALSE),
      m_pDragSelection(nullptr),
      m_nSelUnit(-99),
      m_nSelArray(-99),
      m_nSelKind(-99),
      m_pShownPath(nullptr),
      m_bPathShown(FALSE),
      m_bNodeMark1(FALSE),
      m_nNodeMark1(-99),
      m_bNodeMark2(FALSE),
      m_nNodeMark2(-99),
      m_pContacts1(nullptr),
      m_pContacts2(nullptr)
{
}

CKDRView::~CKDRView() = default;

CKDRDoc* CKDRView::GetDocument() const
{
    return dynamic_cast<CKDRDoc*>(CScrollView::GetDocument());
}

void CKDRView::OnDraw(CDC* pDC)
{
    CRect rect;
    GetClientRect(&rect);
    pDC->FillSolidRect(&rect, RGB(0, 0, 0));
}

BOOL CKDRView::OnEraseBkgnd(CDC* pDC)
{
    CRect rect;
    GetClientRect(&rect);
    pDC->FillSolidRect(&rect, RGB(0, 0, 0));
    return TRUE;
}

void CKDRView::OnInitialUpdate()
{
    CScrollView::OnInitialUpdate();
    SetScrollSizes(MM_TEXT, CSize(2500, 2500), CSize(625, 312), CSize(25, 25));
}

BOOL CKDRView::IsCommandAllowed(UINT) { return TRUE; }
void CKDRView::CancelInteraction() {}

void CKDRView::SetScrollClamped(int x, int y)
{
    ScrollToPosition(CPoint(x < 0 ? 0 : x, y < 0 ? 0 : y));
}

void CKDRView::RedrawMap(BOOL bErase)
{
    if (IsWindow())
        InvalidateRect(nullptr, bErase);
}

void CKDRView::InitViewProperties() {}
void CKDRView::ApplyViewProperties() {}
void CKDRView::StoreViewProperties(BOOL) {}
void CKDRView::ApplyStoredZoom() {}
void CKDRView::SetHierarchyTreeShown(BOOL) {}
void CKDRView::StoreFMLogShown() {}
void CKDRView::SetSpotReportLogShown(BOOL) {}
void CKDRView::RefreshOverviewMap() {}
void CKDRView::CloseOverviewMap() {}
void CKDRView::UpdateOverviewMap() {}
void CKDRView::ShowMessageAtPoint(const CString&, const CString&, float, float) {}
void CKDRView::HandleKeyDown(UINT, UINT, UINT) {}

void CKDRView::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    CScrollView::OnChar(nChar, nRepCnt, nFlags);
}
