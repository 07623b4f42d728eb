// Input from Qt into the windows: the program-wide key state and message
// filter, and the bridge that turns a widget's events into its window's
// handlers.

#include "platform/ui/Activation.h"
#include "platform/ui/DC.h"
#include "platform/ui/QtBridge.h"
#include "platform/ui/ServedEvents.h"
#include "platform/ui/Wnd.h"
#include "platform/ui/WndPrivate.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QScreen>
#include <QStyle>
#include <QUrl>
#include <QWheelEvent>

#include <array>

namespace
{
unsigned long g_inputSerial = 0;
unsigned long g_servedEvents = 0;
unsigned long g_windowSystemQueries = 0;
std::array<bool, 256> g_keyDown{};
// The cursor as the last mouse event gave it, in screen coordinates.
QPoint g_lastCursor;
bool g_bLastCursorKnown = false;

void NoteCursor(const QEvent* event)
{
    switch (event->type())
    {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Enter:
    case QEvent::Wheel:
        g_lastCursor = static_cast<const QSinglePointEvent*>(event)->globalPosition().toPoint();
        g_bLastCursorKnown = true;
        break;
    default: break;
    }
}

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
        ++g_servedEvents;
        if (watched->isWidgetType())
            NoteCursor(event);
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
        // The event carries the cursor; asking the window system again
        // would cost a round trip per key and button.
        CPoint ptCursor(0, 0);
        GetLastCursorPos(&ptCursor);
        msg.pt = ptCursor;
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
}  // namespace

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

// ---------------------------------------------------------------------------

unsigned long InputEventSerial() { return g_inputSerial; }

void NotePostedServed() { ++g_servedEvents; }

unsigned long ServedEventCount() { return g_servedEvents; }

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

CPoint GetCursorPos()
{
    ++g_windowSystemQueries;
    return FromQPoint(QCursor::pos());
}

BOOL GetLastCursorPos(CPoint* pPoint)
{
    if (!g_bLastCursorKnown || pPoint == nullptr)
        return FALSE;
    *pPoint = FromQPoint(g_lastCursor);
    return TRUE;
}

unsigned long WindowSystemQueryCount() { return g_windowSystemQueries; }

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
