#include "platform/ui/Wnd.h"

#include "platform/ui/Activation.h"
#include "platform/ui/DC.h"
#include "platform/ui/QtBridge.h"
#include "platform/ui/WndPrivate.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QUrl>
#include <QWheelEvent>

#include <array>
#include <unordered_map>

const CWnd wndTop;
const CWnd wndTopMost;
const CWnd wndNoTopMost;

namespace
{
int g_dispatchDepth = 0;
unsigned long g_inputSerial = 0;
std::unordered_map<const QWidget*, CWnd*>& Registry()
{
    static std::unordered_map<const QWidget*, CWnd*> map;
    return map;
}
std::array<bool, 256> g_keyDown{};

UINT KeyFromEvent(const QKeyEvent* ke)
{
    const int key = ke->key();
    if (ke->modifiers() & Qt::KeypadModifier)
    {
        if (key >= Qt::Key_0 && key <= Qt::Key_9)
            return VK_NUMPAD0 + static_cast<UINT>(key - Qt::Key_0);
        switch (key)
        {
        case Qt::Key_Plus: return VK_ADD;
        case Qt::Key_Minus: return VK_SUBTRACT;
        case Qt::Key_Asterisk: return VK_MULTIPLY;
        case Qt::Key_Slash: return VK_DIVIDE;
        case Qt::Key_Period: return VK_DECIMAL;
        default: break;
        }
    }
    return VirtualKeyFromQtKey(key);
}

// The program-wide filter: keeps the key state and offers keyboard and
// mouse-button messages to PreTranslateMessage before any widget sees them.
class CAppFilter : public QObject
{
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type())
        {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::Close:
        case QEvent::Timer:
            if (watched->isWidgetType())
                ++g_inputSerial;
            break;
        default: break;
        }
        UINT message = 0;
        WPARAM wParam = 0;
        switch (event->type())
        {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        {
            auto* ke = static_cast<QKeyEvent*>(event);
            const UINT vk = KeyFromEvent(ke);
            if (vk < g_keyDown.size())
                g_keyDown[vk] = event->type() == QEvent::KeyPress;
            message = event->type() == QEvent::KeyPress ? WM_KEYDOWN : WM_KEYUP;
            wParam = vk;
            if (vk == 0)
                return false;
            break;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        {
            auto* me = static_cast<QMouseEvent*>(event);
            const bool dbl = event->type() == QEvent::MouseButtonDblClick;
            if (me->button() == Qt::LeftButton)
                message = dbl ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN;
            else if (me->button() == Qt::RightButton)
                message = WM_RBUTTONDOWN;
            else if (me->button() == Qt::MiddleButton)
                message = WM_MBUTTONDOWN;
            else
                return false;
            wParam = MouseFlagsFromQt(me->buttons(), me->modifiers());
            // Only the innermost receiver: a press passed on to a parent
            // has already been offered.
            auto* w = qobject_cast<QWidget*>(watched);
            if (w && w->childAt(me->position().toPoint()))
                return false;
            break;
        }
        default: return false;
        }
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget)
            return false;
        MSG msg;
        msg.pWnd = CWnd::FromWidget(widget, true);
        msg.message = message;
        msg.wParam = wParam;
        msg.lParam = 1;
        msg.pt = FromQPoint(QCursor::pos());
        if (!msg.pWnd)
            return false;
        CDispatchGuard guard;
        for (QWidget* w = widget; w; w = w->parentWidget())
        {
            CWnd* wnd = CWnd::FromWidget(w);
            if (wnd && wnd->PreTranslateMessage(&msg))
            {
                event->accept();
                return true;
            }
            if (w->isWindow())
                break;
        }
        return false;
    }
};

void EnsureAppFilter()
{
    static CAppFilter* filter = nullptr;
    if (!filter && QCoreApplication::instance())
    {
        filter = new CAppFilter;
        filter->setParent(QCoreApplication::instance());
        QCoreApplication::instance()->installEventFilter(filter);
    }
}
}  // namespace

// ---------------------------------------------------------------------------

unsigned long InputEventSerial() { return g_inputSerial; }

CDispatchGuard::CDispatchGuard() { ++g_dispatchDepth; }
CDispatchGuard::~CDispatchGuard() { --g_dispatchDepth; }

UINT MouseFlagsFromQt(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    UINT flags = 0;
    if (buttons & Qt::LeftButton)
        flags |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        flags |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        flags |= MK_MBUTTON;
    if (modifiers & Qt::ShiftModifier)
        flags |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        flags |= MK_CONTROL;
    return flags;
}

UINT VirtualKeyFromQtKey(int key)
{
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return 'A' + static_cast<UINT>(key - Qt::Key_A);
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return '0' + static_cast<UINT>(key - Qt::Key_0);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return VK_F1 + static_cast<UINT>(key - Qt::Key_F1);
    switch (key)
    {
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: return VK_MENU;
    case Qt::Key_Pause: return VK_PAUSE;
    case Qt::Key_CapsLock: return VK_CAPITAL;
    case Qt::Key_NumLock: return VK_NUMLOCK;
    case Qt::Key_ScrollLock: return VK_SCROLL;
    case Qt::Key_Plus:
    case Qt::Key_Equal: return 0xBB;
    case Qt::Key_Comma: return 0xBC;
    case Qt::Key_Minus: return 0xBD;
    case Qt::Key_Period: return 0xBE;
    default: return 0;
    }
}

SHORT GetAsyncKeyState(int vk)
{
    bool down = false;
    const Qt::MouseButtons buttons = QGuiApplication::mouseButtons();
    const Qt::KeyboardModifiers mods = QGuiApplication::keyboardModifiers();
    switch (vk)
    {
    case VK_LBUTTON: down = buttons & Qt::LeftButton; break;
    case VK_RBUTTON: down = buttons & Qt::RightButton; break;
    case VK_MBUTTON: down = buttons & Qt::MiddleButton; break;
    case VK_SHIFT: down = (mods & Qt::ShiftModifier) || g_keyDown[VK_SHIFT]; break;
    case VK_CONTROL: down = (mods & Qt::ControlModifier) || g_keyDown[VK_CONTROL]; break;
    case VK_MENU: down = (mods & Qt::AltModifier) || g_keyDown[VK_MENU]; break;
    default: down = vk >= 0 && vk < 256 && g_keyDown[static_cast<size_t>(vk)]; break;
    }
    return down ? static_cast<SHORT>(0x8000) : 0;
}

SHORT GetKeyState(int vk) { return GetAsyncKeyState(vk); }

CPoint GetCursorPos() { return FromQPoint(QCursor::pos()); }

int GetSystemMetrics(int index)
{
    QScreen* screen = QGuiApplication::primaryScreen();
    const QRect full = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    switch (index)
    {
    case SM_CXSCREEN: return full.width();
    case SM_CYSCREEN: return full.height();
    case SM_CXVSCROLL:
    case SM_CYHSCROLL: return QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    case SM_CYCAPTION: return QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight);
    case SM_CYMENU: return QApplication::style()->pixelMetric(QStyle::PM_MenuBarItemSpacing) + 20;
    default: return 0;
    }
}

CRect GetWorkArea()
{
    QScreen* screen = QGuiApplication::primaryScreen();
    return FromQRect(screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768));
}

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

CWndBridge::CWndBridge(CWnd* wnd, QWidget* widget) : QObject(widget), m_pWnd(wnd), m_pWidget(widget)
{
    widget->installEventFilter(this);
}

CWndBridge::~CWndBridge()
{
    Registry().erase(m_pWidget);
    if (m_pWnd)
        m_pWnd->WidgetDestroyed();
}

void CWndBridge::AddEventSource(QWidget* source)
{
    if (source && source != m_pWidget)
        source->installEventFilter(this);
}

void CWndBridge::Call(const std::function<void(CWnd*)>& fn)
{
    if (!m_pWnd)
        return;
    CDispatchGuard guard;
    fn(m_pWnd);
}

void CWndBridge::RunDefault()
{
    if (!m_pCurrentEvent || m_bDefaultDone)
        return;
    m_bDefaultDone = true;
    m_bPassThrough = true;
    QCoreApplication::sendEvent(m_pCurrentTarget, m_pCurrentEvent);
    m_bPassThrough = false;
}

bool CWndBridge::eventFilter(QObject* watched, QEvent* event)
{
    if (m_bPassThrough || !m_pWnd)
        return false;
    if (m_preFilter && m_preFilter(watched, event))
        return true;
    if (!m_pWnd)
        return false;
    return Dispatch(watched, event);
}

bool CWndBridge::Dispatch(QObject* target, QEvent* event)
{
    const QEvent::Type type = event->type();
    switch (type)
    {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Close:
    case QEvent::Resize:
    case QEvent::Move:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::FocusIn:
    case QEvent::FocusOut: break;
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        if (!m_bAcceptDrops)
            return false;
        break;
    default: return false;
    }

    QObject* prevTarget = m_pCurrentTarget;
    QEvent* prevEvent = m_pCurrentEvent;
    const bool prevDone = m_bDefaultDone;
    m_pCurrentTarget = target;
    m_pCurrentEvent = event;
    m_bDefaultDone = false;
    bool passOn = false;  // observed only: Qt goes on with its own handling

    CDispatchGuard guard;
    CWnd* wnd = m_pWnd;
    auto clientPoint = [&](QPointF pos)
    {
        const QPoint p = pos.toPoint();
        if (target != m_pWidget)
            return CPoint(p.x(), p.y());  // a viewport: its coordinates are the client area
        const CPoint origin = wnd->ClientOrigin();
        return CPoint(p.x() - origin.x, p.y() - origin.y);
    };

    switch (type)
    {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    {
        auto* me = static_cast<QMouseEvent*>(event);
        const UINT flags = MouseFlagsFromQt(me->buttons(), me->modifiers());
        const CPoint pt = clientPoint(me->position());
        const bool down = type == QEvent::MouseButtonPress;
        const bool dbl = type == QEvent::MouseButtonDblClick;
        switch (me->button())
        {
        case Qt::LeftButton:
            if (dbl)
                wnd->OnLButtonDblClk(flags, pt);
            else if (down)
                wnd->OnLButtonDown(flags, pt);
            else
                wnd->OnLButtonUp(flags, pt);
            break;
        case Qt::RightButton:
            if (dbl)
                wnd->OnRButtonDblClk(flags, pt);
            else if (down)
                wnd->OnRButtonDown(flags, pt);
            else
                wnd->OnRButtonUp(flags, pt);
            break;
        case Qt::MiddleButton:
            if (down || dbl)
                wnd->OnMButtonDown(flags, pt);
            else
                wnd->OnMButtonUp(flags, pt);
            break;
        default: passOn = true; break;
        }
        break;
    }
    case QEvent::MouseMove:
    {
        auto* me = static_cast<QMouseEvent*>(event);
        wnd->OnMouseMove(MouseFlagsFromQt(me->buttons(), me->modifiers()), clientPoint(me->position()));
        break;
    }
    case QEvent::Wheel:
    {
        auto* we = static_cast<QWheelEvent*>(event);
        const short delta = static_cast<short>(we->angleDelta().y());
        if (!wnd->OnMouseWheel(MouseFlagsFromQt(we->buttons(), we->modifiers()), delta,
                               FromQPoint(we->globalPosition().toPoint())))
            passOn = !m_bDefaultDone;
        break;
    }
    case QEvent::KeyPress:
    {
        auto* ke = static_cast<QKeyEvent*>(event);
        const UINT vk = KeyFromEvent(ke);
        const UINT repeat = static_cast<UINT>(ke->count() > 0 ? ke->count() : 1);
        if (vk)
            wnd->OnKeyDown(vk, repeat, ke->isAutoRepeat() ? 0x4000u : 0u);
        const QString text = ke->text();
        if (m_pWnd && !text.isEmpty() && text.at(0).unicode() >= 0x20 && text.at(0).unicode() != 0x7F)
        {
            const CString ch = FromQString(text.left(1));
            wnd->OnChar(static_cast<unsigned char>(ch.GetAt(0)), repeat, 0);
        }
        else if (m_pWnd && (vk == VK_RETURN || vk == VK_ESCAPE || vk == VK_BACK || vk == VK_TAB))
        {
            wnd->OnChar(vk, repeat, 0);
        }
        if (!vk && !m_bDefaultDone)
            passOn = true;
        break;
    }
    case QEvent::KeyRelease:
    {
        auto* ke = static_cast<QKeyEvent*>(event);
        const UINT vk = KeyFromEvent(ke);
        if (vk)
            wnd->OnKeyUp(vk, 1, 0xC000);
        else
            passOn = true;
        break;
    }
    case QEvent::Close:
        if (target != m_pWidget)
        {
            passOn = true;
            break;
        }
        event->ignore();
        wnd->OnClose();
        break;
    case QEvent::Resize:
        if (target == m_pWidget)
        {
            QWidget* top = m_pWidget->window();
            UINT sizeType = SIZE_RESTORED;
            if (top == m_pWidget && m_pWidget->isMaximized())
                sizeType = SIZE_MAXIMIZED;
            else if (top == m_pWidget && m_pWidget->isMinimized())
                sizeType = SIZE_MINIMIZED;
            CRect rc;
            wnd->GetClientRect(&rc);
            wnd->OnSize(sizeType, rc.Width(), rc.Height());
        }
        passOn = true;
        break;
    case QEvent::Move:
        if (target == m_pWidget)
            wnd->OnMove(m_pWidget->x(), m_pWidget->y());
        passOn = true;
        break;
    case QEvent::Show:
    case QEvent::Hide:
        if (target == m_pWidget)
            wnd->OnShowWindow(type == QEvent::Show);
        if (target == m_pWidget && type == QEvent::Hide)
            ReactivateAfterHiding(m_pWidget);
        passOn = true;
        break;
    case QEvent::FocusIn:
        wnd->OnSetFocus(nullptr);
        passOn = true;
        break;
    case QEvent::FocusOut:
        wnd->OnKillFocus(nullptr);
        passOn = true;
        break;
    case QEvent::DragEnter:
    case QEvent::DragMove:
    {
        auto* de = static_cast<QDropEvent*>(event);
        if (de->mimeData() && de->mimeData()->hasUrls())
            de->acceptProposedAction();
        break;
    }
    case QEvent::Drop:
    {
        auto* de = static_cast<QDropEvent*>(event);
        std::vector<CString> files;
        if (de->mimeData())
        {
            for (const QUrl& url : de->mimeData()->urls())
                if (url.isLocalFile())
                    files.push_back(FromQString(url.toLocalFile()));
        }
        de->acceptProposedAction();
        if (!files.empty())
            wnd->OnDropFiles(files);
        break;
    }
    default: passOn = true; break;
    }

    m_pCurrentTarget = prevTarget;
    m_pCurrentEvent = prevEvent;
    m_bDefaultDone = prevDone;
    return !passOn;
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
        QImage next(want, QImage::Format_RGB32);
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
