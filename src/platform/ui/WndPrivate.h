#pragma once
// Internals shared by the graphical half of the platform layer: the object
// that carries a widget's events to its CWnd, and the plain widget with a
// back image that every program-made window uses.

#include "platform/ui/Wnd.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <unordered_map>

// The window each bound widget belongs to.
std::unordered_map<const QWidget*, CWnd*>& Registry();

// Installs the program-wide filter that keeps the key state and offers keys
// and mouse presses to PreTranslateMessage, once there is an application.
void EnsureAppFilter();

// Counts handler calls under way (see CWnd::DispatchDepth).
class CDispatchGuard
{
public:
    CDispatchGuard();
    ~CDispatchGuard();
    CDispatchGuard(const CDispatchGuard&) = delete;
    CDispatchGuard& operator=(const CDispatchGuard&) = delete;
};

// One per bound widget, as the widget's child. Filters the widget's events
// (and those of extra widgets such as a scroll area's viewport) into the
// CWnd's handlers. Lives as long as the widget.
class CWndBridge : public QObject
{
public:
    CWndBridge(CWnd* wnd, QWidget* widget);
    ~CWndBridge() override;

    CWnd* Wnd() const { return m_pWnd; }
    void SetWnd(CWnd* wnd) { m_pWnd = wnd; }
    QWidget* Widget() const { return m_pWidget; }
    // Also route events of this widget (a viewport) to the window.
    void AddEventSource(QWidget* source);
    // Calls fn with the window when one is bound, inside a dispatch guard.
    void Call(const std::function<void(CWnd*)>& fn);
    void RunDefault();
    bool IsDropAccepted() const { return m_bAcceptDrops; }
    void SetDropAccepted(bool accept) { m_bAcceptDrops = accept; }

    // Hook for control classes: called with every event of the widget or
    // an event source before the generic handling; answers true to swallow.
    std::function<bool(QObject*, QEvent*)> m_preFilter;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Dispatch(QObject* target, QEvent* event);

    CWnd* m_pWnd;
    QWidget* m_pWidget;
    QObject* m_pCurrentTarget = nullptr;
    QEvent* m_pCurrentEvent = nullptr;
    bool m_bDefaultDone = false;
    bool m_bPassThrough = false;
    bool m_bAcceptDrops = false;
};

// The widget of a plain window: paints its back image; OnPaint fills it.
class CPlainWidget : public QWidget
{
public:
    explicit CPlainWidget(QWidget* parent);

    QImage* EnsureImage();
    void RequestFullPaint(bool erase);
    void RequestPresent();
    bool TakeErase()
    {
        const bool e = m_bErasePending;
        m_bErasePending = false;
        return e;
    }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_image;
    bool m_bFullPaintPending = false;
    bool m_bPresentPending = false;
    bool m_bErasePending = true;
};

// Grows with every input event delivered to a widget (keys, mouse, close,
// timers): tells the message pump whether anything was served.
unsigned long InputEventSerial();
// Counts a posted command or work item served (ServedEvents.h).
void NotePostedServed();

// Mouse key flags from the current Qt state.
UINT MouseFlagsFromQt(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
