#include "platform/ui/View.h"

#include "platform/ui/DC.h"
#include "platform/ui/Document.h"
#include "platform/ui/Frame.h"
#include "platform/ui/WndPrivate.h"

#include <QGridLayout>
#include <QScrollBar>

CView::CView() = default;

CView::~CView()
{
    if (m_pDocument)
        m_pDocument->RemoveView(this);
}

BOOL CView::CreateView(CWnd* parent, UINT id, CDocument* document)
{
    if (!CreateEx(0, nullptr, WS_CHILD | WS_VISIBLE, CRect(), parent, id))
        return FALSE;
    if (document)
        document->AddView(this);
    return TRUE;
}

CFrameWnd* CView::GetParentFrame() const
{
    for (CWnd* w = GetParent(); w; w = w->GetParent())
        if (auto* frame = dynamic_cast<CFrameWnd*>(w))
            return frame;
    return nullptr;
}

void CView::OnDraw(CDC*) {}
void CView::OnPrepareDC(CDC*) {}

void CView::OnInitialUpdate() { OnUpdate(nullptr, 0, nullptr); }

void CView::OnUpdate(CView*, LPARAM, CObject*) { Invalidate(TRUE); }

void CView::OnPaint()
{
    CPaintDC dc(this);
    OnPrepareDC(&dc);
    OnDraw(&dc);
}

BOOL CView::OnCmdMsg(UINT id, CCmdUI* pCmdUI)
{
    if (HandleOwnCommand(id, pCmdUI))
        return TRUE;
    return m_pDocument ? m_pDocument->OnCmdMsg(id, pCmdUI) : FALSE;
}

void CView::PostNcDestroy() {}

// ---------------------------------------------------------------------------

CScrollView::CScrollView() = default;
CScrollView::~CScrollView() = default;

BOOL CScrollView::CreateView(CWnd* parent, UINT id, CDocument* document)
{
    if (m_pWidget || !parent || !parent->GetWidget())
        return FALSE;
    auto* outer = new QWidget(parent->GetWidget());
    auto* grid = new QGridLayout(outer);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    QWidget* client = CreatePlainWidget(nullptr, WS_CHILD, CRect());
    client->setParent(outer);
    m_pVBar = new QScrollBar(Qt::Vertical, outer);
    m_pHBar = new QScrollBar(Qt::Horizontal, outer);
    grid->addWidget(client, 0, 0);
    grid->addWidget(m_pVBar, 0, 1);
    grid->addWidget(m_pHBar, 1, 0);
    m_nID = id;
    m_pParentWnd = parent;
    parent->AddChild(this);
    Attach(client, true);
    m_pOuter = outer;

    auto hook = [this](QScrollBar* bar, int which)
    {
        QObject::connect(bar, &QScrollBar::actionTriggered, bar,
                         [this, bar, which](int action)
                         {
                             UINT code = SB_ENDSCROLL;
                             switch (action)
                             {
                             case QAbstractSlider::SliderSingleStepAdd: code = SB_LINEDOWN; break;
                             case QAbstractSlider::SliderSingleStepSub: code = SB_LINEUP; break;
                             case QAbstractSlider::SliderPageStepAdd: code = SB_PAGEDOWN; break;
                             case QAbstractSlider::SliderPageStepSub: code = SB_PAGEUP; break;
                             case QAbstractSlider::SliderToMinimum: code = SB_TOP; break;
                             case QAbstractSlider::SliderToMaximum: code = SB_BOTTOM; break;
                             case QAbstractSlider::SliderMove: code = SB_THUMBTRACK; break;
                             default: return;
                             }
                             const UINT pos = static_cast<UINT>(bar->sliderPosition());
                             // The handler decides where the bar goes.
                             if (code != SB_THUMBTRACK)
                                 bar->setSliderPosition(bar->value());
                             CDispatchGuard guard;
                             if (which == SB_HORZ)
                                 OnHScroll(code, pos, nullptr);
                             else
                                 OnVScroll(code, pos, nullptr);
                         });
        QObject::connect(bar, &QScrollBar::sliderReleased, bar,
                         [this, bar, which]
                         {
                             CDispatchGuard guard;
                             const UINT pos = static_cast<UINT>(bar->sliderPosition());
                             if (which == SB_HORZ)
                             {
                                 OnHScroll(SB_THUMBPOSITION, pos, nullptr);
                                 OnHScroll(SB_ENDSCROLL, 0, nullptr);
                             }
                             else
                             {
                                 OnVScroll(SB_THUMBPOSITION, pos, nullptr);
                                 OnVScroll(SB_ENDSCROLL, 0, nullptr);
                             }
                         });
    };
    hook(m_pHBar, SB_HORZ);
    hook(m_pVBar, SB_VERT);
    UpdateBars();
    {
        CDispatchGuard guard;
        if (OnCreate() == -1)
            return FALSE;
    }
    outer->show();
    if (document)
        document->AddView(this);
    return TRUE;
}

QScrollBar* CScrollView::GetScrollBarWidget(int bar) const { return bar == SB_HORZ ? m_pHBar : m_pVBar; }

void CScrollView::SetScrollSizes(int mapMode, CSize total, CSize page, CSize line)
{
    m_nMapMode = mapMode;
    m_total = CSize(std::max<LONG>(0, total.cx), std::max<LONG>(0, total.cy));
    m_pageSet = page;
    m_lineSet = line;
    UpdateBars();
    ScrollToPosition(m_pos);
}

void CScrollView::GetDeviceScrollSizes(int& mapMode, CSize& total, CSize& page, CSize& line) const
{
    mapMode = m_nMapMode;
    total = m_total;
    page = m_page;
    line = m_line;
}

void CScrollView::UpdateBars()
{
    if (!m_pHBar || !m_pVBar || !m_pWidget)
        return;
    CRect rc;
    GetClientRect(&rc);
    m_page = CSize(m_pageSet.cx > 0 ? m_pageSet.cx : std::max(1, rc.Width()),
                   m_pageSet.cy > 0 ? m_pageSet.cy : std::max(1, rc.Height()));
    m_line = CSize(m_lineSet.cx > 0 ? m_lineSet.cx : std::max<LONG>(1, m_page.cx / 10),
                   m_lineSet.cy > 0 ? m_lineSet.cy : std::max<LONG>(1, m_page.cy / 10));
    const int maxX = std::max(0, static_cast<int>(m_total.cx) - rc.Width());
    const int maxY = std::max(0, static_cast<int>(m_total.cy) - rc.Height());
    const QSignalBlocker bh(m_pHBar);
    const QSignalBlocker bv(m_pVBar);
    m_pHBar->setRange(0, maxX);
    m_pHBar->setPageStep(m_page.cx);
    m_pHBar->setSingleStep(m_line.cx);
    m_pVBar->setRange(0, maxY);
    m_pVBar->setPageStep(m_page.cy);
    m_pVBar->setSingleStep(m_line.cy);
    m_pHBar->setVisible(m_bForceH || maxX > 0);
    m_pVBar->setVisible(m_bForceV || maxY > 0);
    m_pHBar->setValue(m_pos.x);
    m_pVBar->setValue(m_pos.y);
}

void CScrollView::ScrollToPosition(CPoint position)
{
    CRect rc;
    GetClientRect(&rc);
    const int maxX = std::max(0, static_cast<int>(m_total.cx) - rc.Width());
    const int maxY = std::max(0, static_cast<int>(m_total.cy) - rc.Height());
    CPoint p(std::clamp<int>(position.x, 0, maxX), std::clamp<int>(position.y, 0, maxY));
    if (p == m_pos)
    {
        UpdateBars();
        return;
    }
    m_pos = p;
    UpdateBars();
    Invalidate(TRUE);
}

int CScrollView::GetScrollPos(int bar) const { return bar == SB_HORZ ? m_pos.x : m_pos.y; }

int CScrollView::SetScrollPos(int bar, int pos, BOOL)
{
    const int old = GetScrollPos(bar);
    ScrollToPosition(bar == SB_HORZ ? CPoint(pos, m_pos.y) : CPoint(m_pos.x, pos));
    return old;
}

void CScrollView::GetScrollRange(int bar, int* minPos, int* maxPos) const
{
    if (minPos)
        *minPos = 0;
    if (maxPos)
        *maxPos = bar == SB_HORZ ? static_cast<int>(m_total.cx) : static_cast<int>(m_total.cy);
}

int CScrollView::GetScrollLimit(int bar) const
{
    CRect rc;
    GetClientRect(&rc);
    return bar == SB_HORZ ? std::max(0, static_cast<int>(m_total.cx) - rc.Width())
                          : std::max(0, static_cast<int>(m_total.cy) - rc.Height());
}

void CScrollView::ShowScrollBar(int bar, BOOL show)
{
    if (bar == SB_HORZ || bar == SB_BOTH)
        m_bForceH = show != FALSE;
    if (bar == SB_VERT || bar == SB_BOTH)
        m_bForceV = show != FALSE;
    UpdateBars();
}

void CScrollView::OnPrepareDC(CDC* pDC)
{
    if (pDC)
        pDC->SetViewportOrg(-m_pos.x, -m_pos.y);
}

void CScrollView::ScrollBy(int bar, UINT code, UINT pos)
{
    const bool horz = bar == SB_HORZ;
    int current = horz ? m_pos.x : m_pos.y;
    const int line = horz ? m_line.cx : m_line.cy;
    const int page = horz ? m_page.cx : m_page.cy;
    switch (code)
    {
    case SB_LINEUP: current -= line; break;
    case SB_LINEDOWN: current += line; break;
    case SB_PAGEUP: current -= page; break;
    case SB_PAGEDOWN: current += page; break;
    case SB_TOP: current = 0; break;
    case SB_BOTTOM: current = GetScrollLimit(bar); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: current = static_cast<int>(pos); break;
    default: return;
    }
    ScrollToPosition(horz ? CPoint(current, m_pos.y) : CPoint(m_pos.x, current));
}

void CScrollView::OnHScroll(UINT code, UINT pos, CWnd*) { ScrollBy(SB_HORZ, code, pos); }
void CScrollView::OnVScroll(UINT code, UINT pos, CWnd*) { ScrollBy(SB_VERT, code, pos); }

void CScrollView::OnSize(UINT, int, int)
{
    UpdateBars();
    ScrollToPosition(m_pos);
}
