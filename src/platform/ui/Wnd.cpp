#include "platform/ui/Wnd.h"

#include "platform/ui/DC.h"
#include "platform/ui/QtBridge.h"
#include "platform/ui/WndPrivate.h"

#include <QApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include <unordered_map>

const CWnd wndTop;
const CWnd wndTopMost;
const CWnd wndNoTopMost;

namespace
{
int g_dispatchDepth = 0;
}  // namespace

std::unordered_map<const QWidget*, CWnd*>& Registry()
{
    static std::unordered_map<const QWidget*, CWnd*> map;
    return map;
}

// ---------------------------------------------------------------------------

CDispatchGuard::CDispatchGuard() { ++g_dispatchDepth; }
CDispatchGuard::~CDispatchGuard() { --g_dispatchDepth; }

namespace
{
// The window holding the mouse. Kept here as well as in Qt: some platforms
// (the offscreen one of the tests) cannot grab the mouse.
QPointer<QWidget> g_capture;

bool CanGrabMouse()
{
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}
}  // namespace

void ReleaseCapture()
{
    if (QWidget* w = QWidget::mouseGrabber())
        w->releaseMouse();
    g_capture = nullptr;
}

// ---------------------------------------------------------------------------

CPlainWidget::CPlainWidget(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

QImage* CPlainWidget::EnsureImage()
{
    const QSize want(std::max(1, width()), std::max(1, height()));
    if (m_image.size() != want)
    {
        QImage next = NewPixelImage(want.width(), want.height(), QImage::Format_RGB32);
        next.fill(Qt::white);
        if (!m_image.isNull())
        {
            QPainter p(&next);
            p.drawImage(0, 0, m_image);
        }
        m_image = std::move(next);
    }
    return &m_image;
}

void CPlainWidget::RequestFullPaint(bool erase)
{
    m_bFullPaintPending = true;
    if (erase)
        m_bErasePending = true;
    update();
}

void CPlainWidget::RequestPresent()
{
    // A full paint asked for earlier stays asked for: only the paint clears it.
    m_bPresentPending = true;
    update();
}

void CPlainWidget::paintEvent(QPaintEvent*)
{
    EnsureImage();
    // Only a paint asked for by nothing but a present shows the image as it
    // is; any other (a full paint asked for, or the window system's own)
    // draws it again.
    const bool blitOnly = m_bPresentPending && !m_bFullPaintPending;
    m_bPresentPending = false;
    m_bFullPaintPending = false;
    if (!blitOnly)
    {
        if (CWnd* wnd = CWnd::FromWidget(this))
        {
            CDispatchGuard guard;
            wnd->OnPaint();
        }
    }
    QPainter p(this);
    p.drawImage(0, 0, *EnsureImage());
}

// ---------------------------------------------------------------------------

CWnd::CWnd() { EnsureAppFilter(); }

CWnd::~CWnd()
{
    for (CWnd* child : m_children)
        child->m_pChildOf = nullptr;
    m_children.clear();
    if (m_pChildOf)
        m_pChildOf->RemoveChild(this);
    ReleaseWidget(m_bOwnsWidget);
}

int CWnd::DispatchDepth() { return g_dispatchDepth; }

void CWnd::FlushDeferredDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

CWnd* CWnd::FromWidget(const QWidget* widget, bool searchParents)
{
    for (const QWidget* w = widget; w; w = w->parentWidget())
    {
        auto it = Registry().find(w);
        if (it != Registry().end())
            return it->second;
        if (!searchParents)
            break;
    }
    return nullptr;
}

void CWnd::Attach(QWidget* widget, bool owns)
{
    EnsureAppFilter();
    if (m_pWidget)
        ReleaseWidget(m_bOwnsWidget);
    if (!widget)
        return;
    auto it = Registry().find(widget);
    if (it != Registry().end() && it->second != this)
    {
        // Take the widget over from its present window (a template control
        // becoming a dialog's member control).
        CWnd* old = it->second;
        CWndBridge* bridge = old->m_pBridge;
        const bool oldOwns = old->m_bOwnsWidget;
        m_nID = old->m_nID;
        old->m_pBridge = nullptr;
        old->m_pWidget = nullptr;
        old->m_bOwnsWidget = false;
        if (old->m_pChildOf)
        {
            CWnd* parent = old->m_pChildOf;
            parent->RemoveChild(old);
            parent->AddChild(this);
        }
        m_pBridge = bridge;
        bridge->SetWnd(this);
        m_pWidget = widget;
        m_bOwnsWidget = owns || oldOwns;
        Registry()[widget] = this;
        TakeOverFrom(*old);
        return;
    }
    m_pWidget = widget;
    m_bOwnsWidget = owns;
    m_pBridge = new CWndBridge(this, widget);
    Registry()[widget] = this;
    if (!m_pChildOf && widget->parentWidget())
    {
        if (CWnd* parent = FromWidget(widget->parentWidget(), true))
            parent->AddChild(this);
    }
}

QWidget* CWnd::Detach()
{
    QWidget* w = m_pWidget;
    ReleaseWidget(false);
    return w;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    if (!parent)
        return FALSE;
    CWnd* item = parent->GetDlgItem(id);
    if (!item || !item->m_pWidget)
        return FALSE;
    if (item == this)
        return TRUE;
    Attach(item->m_pWidget, false);
    return TRUE;
}

void CWnd::ReleaseWidget(bool destroy)
{
    for (auto& [id, timer] : m_timers)
        delete timer;
    m_timers.clear();
    QWidget* w = m_pWidget;
    QWidget* outer = m_pOuter;
    if (!w)
        return;
    Registry().erase(w);
    if (m_pBridge)
    {
        m_pBridge->SetWnd(nullptr);
        m_pBridge = nullptr;
    }
    m_pWidget = nullptr;
    m_pOuter = nullptr;
    m_bOwnsWidget = false;
    if (!destroy)
    {
        // The bridge stays with the widget, inert; nothing else to undo.
        return;
    }
    QWidget* victim = outer ? outer : w;
    // Windows inside this one let go of their widgets now, even when the
    // widgets themselves are deleted only later.
    DetachDescendants(victim);
    victim->hide();
    if (g_dispatchDepth > 0 || QWidget::mouseGrabber() == victim)
        victim->deleteLater();
    else
        delete victim;
}

void CWnd::DetachDescendants(QWidget* root)
{
    std::vector<CWnd*> children = m_children;
    for (CWnd* child : children)
    {
        QWidget* cw = child->GetOuterWidget();
        if (cw && root->isAncestorOf(cw))
        {
            child->DetachDescendants(cw);
            child->ReleaseWidget(false);
        }
    }
}

void CWnd::WidgetDestroyed()
{
    Registry().erase(m_pWidget);
    m_pBridge = nullptr;
    m_pWidget = nullptr;
    m_pOuter = nullptr;
    m_bOwnsWidget = false;
    for (auto& [id, timer] : m_timers)
        delete timer;
    m_timers.clear();
}

QWidget* CWnd::CreatePlainWidget(CWnd* parent, DWORD style, const CRect& rect)
{
    QWidget* parentWidget = parent ? parent->GetWidget() : nullptr;
    auto* w = new CPlainWidget((style & WS_CHILD) ? parentWidget : nullptr);
    if (!(style & WS_CHILD) && parentWidget)
    {
        // An owned top-level window: stays above its owner.
        w->setParent(parentWidget, Qt::Tool);
    }
    if (!rect.IsRectNull())
        w->setGeometry(ToQRect(rect));
    if (style & WS_DISABLED)
        w->setEnabled(false);
    return w;
}

BOOL CWnd::CreateEx(DWORD, const char* windowName, DWORD style, const CRect& rect, CWnd* parent, UINT id)
{
    if (m_pWidget)
        return FALSE;
    QWidget* w = CreatePlainWidget(parent, style, rect);
    m_nID = id;
    m_pParentWnd = parent;
    if (parent && (style & WS_CHILD))
        parent->AddChild(this);
    Attach(w, true);
    if (windowName)
        w->setWindowTitle(ToQString(windowName));
    {
        CDispatchGuard guard;
        if (OnCreate() == -1)
        {
            DestroyWindow();
            return FALSE;
        }
    }
    if (style & WS_VISIBLE)
        w->show();
    return TRUE;
}

void CWnd::NotifyDestroy()
{
    OnDestroy();
    // Child windows die with this one; they hear of it after their parent.
    std::vector<CWnd*> children = m_children;
    for (CWnd* child : children)
        if (child->m_pWidget && m_pWidget && m_pWidget->isAncestorOf(child->m_pWidget))
            child->NotifyDestroy();
}

BOOL CWnd::DestroyWindow()
{
    if (!m_pWidget)
        return FALSE;
    {
        CDispatchGuard guard;
        NotifyDestroy();
    }
    ReleaseWidget(true);
    PostNcDestroy();
    return TRUE;
}

CWnd* CWnd::GetParent() const
{
    if (m_pWidget && m_pWidget->parentWidget())
    {
        if (CWnd* p = FromWidget(m_pWidget->parentWidget(), true))
            return p;
    }
    return m_pParentWnd;
}

CWnd* CWnd::GetTopLevelParent() const
{
    if (!m_pWidget)
        return nullptr;
    return FromWidget(m_pWidget->window(), false);
}

CWnd* CWnd::GetDlgItem(UINT id) const
{
    for (CWnd* child : m_children)
        if (child->m_nID == id && child->m_pWidget)
            return child;
    // Controls of pages and group containers are searched too.
    for (CWnd* child : m_children)
        if (CWnd* found = child->GetDlgItem(id))
            if (found->m_pWidget)
                return found;
    return nullptr;
}

void CWnd::AddChild(CWnd* child)
{
    if (!child || child->m_pChildOf == this)
        return;
    if (child->m_pChildOf)
        child->m_pChildOf->RemoveChild(child);
    child->m_pChildOf = this;
    m_children.push_back(child);
}

void CWnd::RemoveChild(CWnd* child)
{
    for (auto it = m_children.begin(); it != m_children.end(); ++it)
    {
        if (*it == child)
        {
            m_children.erase(it);
            child->m_pChildOf = nullptr;
            return;
        }
    }
}

void CWnd::SetWindowText(const char* text)
{
    if (m_pWidget)
        m_pWidget->setWindowTitle(ToQString(text));
}

CString CWnd::GetWindowText() const { return m_pWidget ? FromQString(m_pWidget->windowTitle()) : CString(); }

void CWnd::SetDlgItemText(UINT id, const char* text)
{
    if (CWnd* item = GetDlgItem(id))
        item->SetWindowText(text);
}

CString CWnd::GetDlgItemText(UINT id) const
{
    CWnd* item = GetDlgItem(id);
    return item ? item->GetWindowText() : CString();
}

int CWnd::GetDlgItemText(UINT id, CString& text) const
{
    text = GetDlgItemText(id);
    return text.GetLength();
}

void CWnd::SetDlgItemInt(UINT id, UINT value, BOOL bSigned)
{
    CString s;
    if (bSigned)
        s.Format("%d", static_cast<int>(value));
    else
        s.Format("%u", value);
    SetDlgItemText(id, s);
}

UINT CWnd::GetDlgItemInt(UINT id, BOOL* translated, BOOL bSigned) const
{
    CString s = GetDlgItemText(id);
    s.Trim();
    bool ok = false;
    const QString q = ToQString(s);
    UINT value = bSigned ? static_cast<UINT>(q.toInt(&ok)) : q.toUInt(&ok);
    if (translated)
        *translated = ok ? TRUE : FALSE;
    return ok ? value : 0;
}

BOOL CWnd::ShowWindow(int cmdShow)
{
    QWidget* w = GetOuterWidget();
    if (!w)
        return FALSE;
    const BOOL wasVisible = w->isVisible();
    CDispatchGuard guard;
    switch (cmdShow)
    {
    case SW_HIDE: w->hide(); break;
    case SW_SHOWMAXIMIZED:
        // Without a window manager (a bare X server) the maximised state is
        // never applied, so the window is also given the screen's work area.
        if (w->isWindow() && w->screen())
            w->setGeometry(w->screen()->availableGeometry());
        w->showMaximized();
        break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE: w->showMinimized(); break;
    case SW_RESTORE:
    case SW_SHOWNORMAL: w->showNormal(); break;
    case SW_SHOWNA:
    case SW_SHOWNOACTIVATE:
        w->setAttribute(Qt::WA_ShowWithoutActivating);
        w->show();
        break;
    default: w->show(); break;
    }
    return wasVisible;
}

BOOL CWnd::IsWindowVisible() const
{
    QWidget* w = GetOuterWidget();
    return w && w->isVisible();
}

BOOL CWnd::EnableWindow(BOOL bEnable)
{
    if (!m_pWidget)
        return FALSE;
    const BOOL wasDisabled = !m_pWidget->isEnabled();
    GetOuterWidget()->setEnabled(bEnable != FALSE);
    return wasDisabled;
}

BOOL CWnd::IsWindowEnabled() const { return m_pWidget && m_pWidget->isEnabled(); }
BOOL CWnd::IsIconic() const { return m_pWidget && m_pWidget->window()->isMinimized(); }
BOOL CWnd::IsZoomed() const { return m_pWidget && m_pWidget->window()->isMaximized(); }

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL)
{
    if (QWidget* w = GetOuterWidget())
        w->setGeometry(x, y, std::max(0, width), std::max(0, height));
}

void CWnd::MoveWindow(const CRect& rect, BOOL repaint)
{
    MoveWindow(rect.left, rect.top, rect.Width(), rect.Height(), repaint);
}

BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags)
{
    QWidget* w = GetOuterWidget();
    if (!w)
        return FALSE;
    if (!(flags & SWP_NOMOVE))
        w->move(x, y);
    if (!(flags & SWP_NOSIZE))
        w->resize(std::max(0, cx), std::max(0, cy));
    if (!(flags & SWP_NOZORDER) && insertAfter && w->isWindow())
    {
        if (insertAfter == &wndTopMost || insertAfter == &wndNoTopMost)
        {
            const bool visible = w->isVisible();
            w->setWindowFlag(Qt::WindowStaysOnTopHint, insertAfter == &wndTopMost);
            if (visible)
                w->show();
        }
        w->raise();
    }
    if (flags & SWP_SHOWWINDOW)
        w->show();
    if (flags & SWP_HIDEWINDOW)
        w->hide();
    return TRUE;
}

void CWnd::CenterWindow(CWnd* alternateOwner)
{
    QWidget* w = GetOuterWidget();
    if (!w)
        return;
    QRect area;
    QWidget* owner = alternateOwner ? alternateOwner->GetOuterWidget() : nullptr;
    if (!owner && m_pParentWnd)
        owner = m_pParentWnd->GetOuterWidget();
    if (w->isWindow())
    {
        if (owner && owner->isVisible())
            area = QRect(owner->mapToGlobal(QPoint(0, 0)), owner->size());
        else if (QScreen* screen = w->screen())
            area = screen->availableGeometry();
        QRect frame = w->frameGeometry();
        frame.moveCenter(area.center());
        w->move(frame.topLeft());
    }
    else if (w->parentWidget())
    {
        QRect g = w->geometry();
        g.moveCenter(w->parentWidget()->rect().center());
        w->move(g.topLeft());
    }
}

void CWnd::BringWindowToTop()
{
    if (QWidget* w = GetOuterWidget())
    {
        w->raise();
        if (w->isWindow())
            w->activateWindow();
    }
}

void CWnd::GetClientRect(CRect* rect) const
{
    if (!rect)
        return;
    if (!m_pWidget)
    {
        rect->SetRectEmpty();
        return;
    }
    const CPoint origin = ClientOrigin();
    rect->SetRect(0, 0, std::max(0, m_pWidget->width() - origin.x), std::max(0, m_pWidget->height() - origin.y));
}

void CWnd::GetWindowRect(CRect* rect) const
{
    if (!rect)
        return;
    QWidget* w = GetOuterWidget();
    if (!w)
    {
        rect->SetRectEmpty();
        return;
    }
    const QPoint tl = w->isWindow() ? w->frameGeometry().topLeft() : w->mapToGlobal(QPoint(0, 0));
    const QSize size = w->isWindow() ? w->frameGeometry().size() : w->size();
    rect->SetRect(tl.x(), tl.y(), tl.x() + size.width(), tl.y() + size.height());
}

void CWnd::ClientToScreen(CPoint* point) const
{
    if (!point || !m_pWidget)
        return;
    const CPoint origin = ClientOrigin();
    const QPoint g = m_pWidget->mapToGlobal(QPoint(point->x + origin.x, point->y + origin.y));
    point->x = g.x();
    point->y = g.y();
}

void CWnd::ClientToScreen(CRect* rect) const
{
    if (!rect)
        return;
    CPoint tl = rect->TopLeft();
    CPoint br = rect->BottomRight();
    ClientToScreen(&tl);
    ClientToScreen(&br);
    rect->SetRect(tl.x, tl.y, br.x, br.y);
}

void CWnd::ScreenToClient(CPoint* point) const
{
    if (!point || !m_pWidget)
        return;
    const CPoint origin = ClientOrigin();
    const QPoint l = m_pWidget->mapFromGlobal(QPoint(point->x, point->y));
    point->x = l.x() - origin.x;
    point->y = l.y() - origin.y;
}

void CWnd::ScreenToClient(CRect* rect) const
{
    if (!rect)
        return;
    CPoint tl = rect->TopLeft();
    CPoint br = rect->BottomRight();
    ScreenToClient(&tl);
    ScreenToClient(&br);
    rect->SetRect(tl.x, tl.y, br.x, br.y);
}

CWnd* CWnd::ChildWindowFromPoint(CPoint clientPoint) const
{
    if (!m_pWidget)
        return nullptr;
    const CPoint origin = ClientOrigin();
    QWidget* child = m_pWidget->childAt(clientPoint.x + origin.x, clientPoint.y + origin.y);
    if (!child)
        return const_cast<CWnd*>(this);
    CWnd* found = FromWidget(child, true);
    return found ? found : const_cast<CWnd*>(this);
}

void CWnd::Invalidate(BOOL erase)
{
    if (auto* plain = dynamic_cast<CPlainWidget*>(m_pWidget))
        plain->RequestFullPaint(erase != FALSE);
    else if (m_pWidget)
        m_pWidget->update();
}

void CWnd::InvalidateRect(const CRect*, BOOL erase)
{
    // The whole back image is drawn again: the program's windows draw
    // everything in one pass anyway.
    Invalidate(erase);
}

void CWnd::UpdateWindow()
{
    if (m_pWidget && m_pWidget->isVisible())
        m_pWidget->repaint();
}

void CWnd::RedrawWindow()
{
    Invalidate(TRUE);
    UpdateWindow();
}

QImage* CWnd::GetBackImage()
{
    if (auto* plain = dynamic_cast<CPlainWidget*>(m_pWidget))
        return plain->EnsureImage();
    return nullptr;
}

void CWnd::PresentBackImage()
{
    if (auto* plain = dynamic_cast<CPlainWidget*>(m_pWidget))
        plain->RequestPresent();
}

CWnd* CWnd::SetFocus()
{
    CWnd* old = GetFocus();
    if (m_pWidget)
        m_pWidget->setFocus(Qt::OtherFocusReason);
    return old;
}

CWnd* CWnd::GetFocus() { return FromWidget(QApplication::focusWidget(), true); }

CWnd* CWnd::SetCapture()
{
    CWnd* old = GetCapture();
    if (!m_pWidget)
        return old;
    g_capture = m_pWidget;
    if (m_pWidget->isVisible() && CanGrabMouse())
        m_pWidget->grabMouse();
    return old;
}

CWnd* CWnd::GetCapture()
{
    if (QWidget* grabber = QWidget::mouseGrabber())
        return FromWidget(grabber, true);
    return g_capture ? FromWidget(g_capture, true) : nullptr;
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapseMs)
{
    if (!m_pWidget)
        return 0;
    QTimer*& timer = m_timers[id];
    if (!timer)
    {
        timer = new QTimer;
        QObject::connect(timer, &QTimer::timeout, m_pBridge,
                         [this, id]
                         {
                             CDispatchGuard guard;
                             OnTimer(id);
                         });
    }
    timer->start(static_cast<int>(elapseMs));
    return id;
}

BOOL CWnd::KillTimer(UINT_PTR id)
{
    auto it = m_timers.find(id);
    if (it == m_timers.end())
        return FALSE;
    delete it->second;
    m_timers.erase(it);
    return TRUE;
}

void CWnd::DragAcceptFiles(BOOL accept)
{
    if (!m_pWidget || !m_pBridge)
        return;
    m_pWidget->setAcceptDrops(accept != FALSE);
    m_pBridge->SetDropAccepted(accept != FALSE);
}

CWnd* CWnd::GetActiveWindow() { return FromWidget(QApplication::activeWindow(), false); }

BOOL CWnd::IsChild(const CWnd* other) const
{
    return other && m_pWidget && other->m_pWidget && m_pWidget != other->m_pWidget &&
           m_pWidget->isAncestorOf(other->m_pWidget);
}

int CWnd::MessageBox(const char* text, const char* caption, UINT type)
{
    CDispatchGuard guard;
    return GetUiService().MessageBox(this, CString(text), caption ? CString(caption) : GetMessageBoxCaption(), type);
}

BOOL CWnd::SendNotify(UINT controlId, UINT code)
{
    CDispatchGuard guard;
    return HandleNotify(controlId, code);
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

void CWnd::OnClose() { DestroyWindow(); }

void CWnd::OnPaint() { CPaintDC dc(this); }

BOOL CWnd::OnEraseBkgnd(CDC* pDC)
{
    if (!pDC)
        return FALSE;
    CRect rc;
    GetClientRect(&rc);
    pDC->FillSolidRect(&rc, RGB(255, 255, 255));
    return TRUE;
}

void CWnd::OnSize(UINT, int, int) {}
void CWnd::OnMove(int, int) {}
void CWnd::OnShowWindow(BOOL) {}
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnRButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnMButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnMButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
BOOL CWnd::OnMouseWheel(UINT, short, CPoint)
{
    Default();
    return FALSE;
}
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnSetFocus(CWnd*) {}
void CWnd::OnKillFocus(CWnd*) {}
void CWnd::OnTimer(UINT_PTR) {}
void CWnd::OnHScroll(UINT, UINT, CWnd*) {}
void CWnd::OnVScroll(UINT, UINT, CWnd*) {}
void CWnd::OnDropFiles(const std::vector<CString>&) {}

void CWnd::Default()
{
    if (m_pBridge)
        m_pBridge->RunDefault();
}
