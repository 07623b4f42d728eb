#pragma once
// CWnd: a window of the program, bound to one Qt widget.
//
// A CWnd either creates its own widget (Create/CreateEx: a plain window
// whose painting, mouse, keyboard, size and timer events arrive at the
// virtual On... handlers below) or is bound to a Qt control (the control
// classes of platform/ui/Dialog.h). Coordinates are in pixels; a window's
// client area is its widget's rectangle (a scroll view's excludes its bars).
//
// Painting: every window the program creates keeps a back image of its
// client area. OnPaint draws into it through a CPaintDC and the image is
// then put on screen; a CClientDC draws into the same image at any other
// time and the image is shown at the next turn of the event loop, without
// calling OnPaint again.
//
// Destruction: DestroyWindow removes the widget (at once, or at the next
// turn of the event loop when called from inside one of the window's own
// handlers), calls OnDestroy before and PostNcDestroy after; a self-deleting
// modeless window deletes itself in PostNcDestroy.
//
// Keyboard and mouse-button messages are first offered to PreTranslateMessage
// of the target window and its parents (innermost first); a TRUE answer
// swallows the message. That is how modeless dialogs hand the map's
// accelerator keys on to the main frame.
//
// This header is free of Qt (the widget is only forward-declared).

#include "platform/core/CString.h"
#include "platform/core/Geometry.h"
#include "platform/core/Types.h"
#include "platform/ui/CmdTarget.h"
#include "platform/ui/UiService.h"

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

class QWidget;
class QEvent;
class CDC;
class CWndBridge;

typedef std::uintptr_t WPARAM;
typedef std::intptr_t LPARAM;
typedef std::intptr_t LRESULT;
typedef std::uintptr_t UINT_PTR;
typedef std::uintptr_t DWORD_PTR;
typedef struct HWND__* HWND;  // opaque: the widget of a window

// Messages offered to PreTranslateMessage.
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_CHAR = 0x0102;
constexpr UINT WM_SYSKEYDOWN = 0x0104;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_RBUTTONUP = 0x0205;
constexpr UINT WM_MBUTTONDOWN = 0x0207;
constexpr UINT WM_CANCELMODE = 0x001F;

struct MSG
{
    CWnd* pWnd = nullptr;  // the window the message is for
    UINT message = 0;
    WPARAM wParam = 0;  // virtual key, or mouse key flags
    LPARAM lParam = 0;  // repeat count for keys
    CPoint pt;          // cursor position in screen coordinates
};

// Mouse key flags of the mouse handlers.
constexpr UINT MK_LBUTTON = 0x0001;
constexpr UINT MK_RBUTTON = 0x0002;
constexpr UINT MK_SHIFT = 0x0004;
constexpr UINT MK_CONTROL = 0x0008;
constexpr UINT MK_MBUTTON = 0x0010;

// Virtual keys.
constexpr UINT VK_LBUTTON = 0x01;
constexpr UINT VK_RBUTTON = 0x02;
constexpr UINT VK_MBUTTON = 0x04;
constexpr UINT VK_BACK = 0x08;
constexpr UINT VK_TAB = 0x09;
constexpr UINT VK_RETURN = 0x0D;
constexpr UINT VK_SHIFT = 0x10;
constexpr UINT VK_CONTROL = 0x11;
constexpr UINT VK_MENU = 0x12;
constexpr UINT VK_PAUSE = 0x13;
constexpr UINT VK_CAPITAL = 0x14;
constexpr UINT VK_ESCAPE = 0x1B;
constexpr UINT VK_SPACE = 0x20;
constexpr UINT VK_PRIOR = 0x21;
constexpr UINT VK_NEXT = 0x22;
constexpr UINT VK_END = 0x23;
constexpr UINT VK_HOME = 0x24;
constexpr UINT VK_LEFT = 0x25;
constexpr UINT VK_UP = 0x26;
constexpr UINT VK_RIGHT = 0x27;
constexpr UINT VK_DOWN = 0x28;
constexpr UINT VK_INSERT = 0x2D;
constexpr UINT VK_DELETE = 0x2E;
constexpr UINT VK_NUMPAD0 = 0x60;
constexpr UINT VK_MULTIPLY = 0x6A;
constexpr UINT VK_ADD = 0x6B;
constexpr UINT VK_SUBTRACT = 0x6D;
constexpr UINT VK_DECIMAL = 0x6E;
constexpr UINT VK_DIVIDE = 0x6F;
constexpr UINT VK_F1 = 0x70;
constexpr UINT VK_F12 = 0x7B;
constexpr UINT VK_NUMLOCK = 0x90;
constexpr UINT VK_SCROLL = 0x91;
// Letters and digits are their upper-case ASCII codes ('A', '0').

// ShowWindow commands.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_NORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_SHOWMAXIMIZED = 3;
constexpr int SW_MAXIMIZE = 3;
constexpr int SW_SHOWNOACTIVATE = 4;
constexpr int SW_SHOW = 5;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_SHOWNA = 8;
constexpr int SW_RESTORE = 9;

// SetWindowPos flags and the top-most marker.
constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SWP_NOACTIVATE = 0x0010;
constexpr UINT SWP_SHOWWINDOW = 0x0040;
constexpr UINT SWP_HIDEWINDOW = 0x0080;
extern const CWnd wndTop;
extern const CWnd wndTopMost;
extern const CWnd wndNoTopMost;

// OnSize types.
constexpr UINT SIZE_RESTORED = 0;
constexpr UINT SIZE_MINIMIZED = 1;
constexpr UINT SIZE_MAXIMIZED = 2;

// Scroll bars and scroll codes (also slider codes).
constexpr int SB_HORZ = 0;
constexpr int SB_VERT = 1;
constexpr int SB_BOTH = 3;
constexpr UINT SB_LINEUP = 0;
constexpr UINT SB_LINELEFT = 0;
constexpr UINT SB_LINEDOWN = 1;
constexpr UINT SB_LINERIGHT = 1;
constexpr UINT SB_PAGEUP = 2;
constexpr UINT SB_PAGELEFT = 2;
constexpr UINT SB_PAGEDOWN = 3;
constexpr UINT SB_PAGERIGHT = 3;
constexpr UINT SB_THUMBPOSITION = 4;
constexpr UINT SB_THUMBTRACK = 5;
constexpr UINT SB_TOP = 6;
constexpr UINT SB_LEFT = 6;
constexpr UINT SB_BOTTOM = 7;
constexpr UINT SB_RIGHT = 7;
constexpr UINT SB_ENDSCROLL = 8;

// Window styles the program passes (the rest are accepted and ignored).
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_VSCROLL = 0x00200000;
constexpr DWORD WS_HSCROLL = 0x00100000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_THICKFRAME = 0x00040000;
constexpr DWORD WS_GROUP = 0x00020000;
constexpr DWORD WS_TABSTOP = 0x00010000;
constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;
constexpr DWORD WS_MAXIMIZE = 0x01000000;
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_OVERLAPPEDWINDOW = 0x00CF0000;
constexpr DWORD WS_EX_TOPMOST = 0x00000008;
constexpr DWORD WS_EX_TOOLWINDOW = 0x00000080;

class CWnd : public CCmdTarget
{
public:
    CWnd();
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // ---- Creation and binding ----
    // Creates a plain window: a child of parent when WS_CHILD is in style,
    // else a top-level window owned by parent. TRUE on success.
    virtual BOOL CreateEx(DWORD exStyle, const char* windowName, DWORD style, const CRect& rect, CWnd* parent, UINT id);
    BOOL Create(const char* windowName, DWORD style, const CRect& rect, CWnd* parent, UINT id)
    {
        return CreateEx(0, windowName, style, rect, parent, id);
    }
    virtual BOOL DestroyWindow();

    QWidget* GetWidget() const { return m_pWidget; }
    // The widget that is placed, shown and hidden: a scroll view's frame
    // with its bars, or the window's own widget.
    QWidget* GetOuterWidget() const { return m_pOuter ? m_pOuter : m_pWidget; }
    HWND GetSafeHwnd() const { return reinterpret_cast<HWND>(m_pWidget); }
    BOOL IsWindow() const { return m_pWidget != nullptr; }
    // The window bound to a widget (or to its nearest bound ancestor when
    // searchParents is set); null when none.
    static CWnd* FromWidget(const QWidget* widget, bool searchParents = false);

    // Binds this object to an existing widget (taking ownership when owns
    // is set); a widget bound to another CWnd is taken over from it.
    void Attach(QWidget* widget, bool owns);
    QWidget* Detach();
    // Takes over the child control with this id from parent (as a member
    // control of a dialog takes over the control built from its template).
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    // Takes a control's own state from the window whose widget this one
    // takes over (Attach calls it); the base has none.
    virtual void TakeOverFrom(CWnd& old) { (void)old; }

    // ---- Identity and family ----
    UINT GetDlgCtrlID() const { return m_nID; }
    void SetDlgCtrlID(UINT id) { m_nID = id; }
    CWnd* GetParent() const;
    CWnd* GetTopLevelParent() const;
    CWnd* GetDlgItem(UINT id) const;
    const std::vector<CWnd*>& GetChildren() const { return m_children; }

    // ---- Text ----
    virtual void SetWindowText(const char* text);
    virtual CString GetWindowText() const;
    void GetWindowText(CString& text) const { text = GetWindowText(); }
    int GetWindowTextLength() const { return GetWindowText().GetLength(); }
    void SetDlgItemText(UINT id, const char* text);
    CString GetDlgItemText(UINT id) const;
    int GetDlgItemText(UINT id, CString& text) const;
    void SetDlgItemInt(UINT id, UINT value, BOOL bSigned = TRUE);
    UINT GetDlgItemInt(UINT id, BOOL* translated = nullptr, BOOL bSigned = TRUE) const;

    // ---- Buttons of child controls ----
    void CheckDlgButton(UINT id, UINT check);
    UINT IsDlgButtonChecked(UINT id) const;
    void CheckRadioButton(UINT firstId, UINT lastId, UINT checkId);
    UINT GetCheckedRadioButton(UINT firstId, UINT lastId) const;

    // ---- State and placement ----
    BOOL ShowWindow(int cmdShow);  // answers whether it was visible before
    BOOL IsWindowVisible() const;
    BOOL EnableWindow(BOOL bEnable = TRUE);  // answers whether it was disabled before
    BOOL IsWindowEnabled() const;
    BOOL IsIconic() const;
    BOOL IsZoomed() const;
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
    void MoveWindow(const CRect& rect, BOOL repaint = TRUE);
    BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);
    void CenterWindow(CWnd* alternateOwner = nullptr);
    void BringWindowToTop();
    void GetClientRect(CRect* rect) const;
    void GetWindowRect(CRect* rect) const;  // screen coordinates
    void ClientToScreen(CPoint* point) const;
    void ClientToScreen(CRect* rect) const;
    void ScreenToClient(CPoint* point) const;
    void ScreenToClient(CRect* rect) const;
    CWnd* ChildWindowFromPoint(CPoint clientPoint) const;

    // ---- Painting ----
    void Invalidate(BOOL erase = TRUE);
    void InvalidateRect(const CRect* rect, BOOL erase = TRUE);
    void UpdateWindow();  // paints now what is invalid
    void RedrawWindow();

    // ---- Focus, capture, timers ----
    CWnd* SetFocus();
    static CWnd* GetFocus();
    CWnd* SetCapture();
    static CWnd* GetCapture();
    UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs);
    BOOL KillTimer(UINT_PTR id);
    void DragAcceptFiles(BOOL accept = TRUE);
    static CWnd* GetActiveWindow();
    BOOL IsChild(const CWnd* other) const;

    // ---- Messages ----
    // A message box owned by this window; a null caption shows the
    // application's name.
    int MessageBox(const char* text, const char* caption = nullptr, UINT type = MB_OK);
    // Runs a command through this window's route now / after the current handler.
    BOOL SendCommand(UINT id) { return ExecuteCommand(id); }
    void PostCommand(UINT id);
    // A control notification to this window (as its child controlId sends it).
    BOOL SendNotify(UINT controlId, UINT code);
    virtual BOOL PreTranslateMessage(MSG* pMsg);

    // ---- Handlers ----
    virtual int OnCreate() { return 0; }
    virtual void OnDestroy() {}
    virtual void PostNcDestroy() {}
    virtual void OnClose();               // default: DestroyWindow
    virtual void OnPaint();               // default: erase, nothing drawn
    virtual BOOL OnEraseBkgnd(CDC* pDC);  // default: fills with the window colour
    virtual void OnSize(UINT type, int cx, int cy);
    virtual void OnMove(int x, int y);
    virtual void OnShowWindow(BOOL bShow);
    virtual void OnLButtonDown(UINT flags, CPoint point);
    virtual void OnLButtonUp(UINT flags, CPoint point);
    virtual void OnLButtonDblClk(UINT flags, CPoint point);
    virtual void OnRButtonDown(UINT flags, CPoint point);
    virtual void OnRButtonUp(UINT flags, CPoint point);
    virtual void OnRButtonDblClk(UINT flags, CPoint point);
    virtual void OnMButtonDown(UINT flags, CPoint point);
    virtual void OnMButtonUp(UINT flags, CPoint point);
    virtual void OnMouseMove(UINT flags, CPoint point);
    virtual BOOL OnMouseWheel(UINT flags, short delta, CPoint screenPoint);
    virtual void OnKeyDown(UINT vk, UINT repeat, UINT flags);
    virtual void OnKeyUp(UINT vk, UINT repeat, UINT flags);
    virtual void OnChar(UINT ch, UINT repeat, UINT flags);
    virtual void OnSetFocus(CWnd* pOldWnd);
    virtual void OnKillFocus(CWnd* pNewWnd);
    virtual void OnTimer(UINT_PTR id);
    virtual void OnHScroll(UINT code, UINT pos, CWnd* pScrollBar);
    virtual void OnVScroll(UINT code, UINT pos, CWnd* pScrollBar);
    virtual void OnDropFiles(const std::vector<CString>& files);
    // Runs the widget's own handling of the event being handled now (for
    // Qt controls: what the control does by itself). Handlers of a control
    // call it where the framework's default handling belongs; a handler that
    // does not call it swallows the event.
    void Default();

    // ---- For the platform layer ----
    // Creates the plain widget without a CWnd handler chain set-up.
    QWidget* CreatePlainWidget(CWnd* parent, DWORD style, const CRect& rect);
    // The back image of the client area (null for Qt controls).
    class QImage* GetBackImage();
    // Puts the back image on screen at the next paint without OnPaint.
    void PresentBackImage();
    // Adds a child to this window's list (done by Attach with a parent).
    void AddChild(CWnd* child);
    void RemoveChild(CWnd* child);
    // The bridge that carries this window's widget events (null when none).
    CWndBridge* GetBridge() const { return m_pBridge; }
    // Depth of handler calls under way: destruction inside a handler waits
    // for the event loop.
    static int DispatchDepth();
    // Deletes widgets whose destruction was deferred (tests call it at the end).
    static void FlushDeferredDeletes();

protected:
    // The top-left of the client area inside the widget (a frame's client
    // area lies below its menu bar).
    virtual CPoint ClientOrigin() const { return CPoint(0, 0); }
    // For a control's Create: binds the control's widget as child id of
    // parent, then shows it (disabled when style has WS_DISABLED).
    void AttachControl(QWidget* widget, CWnd* parent, UINT id);
    void ShowControl(DWORD style);

    QWidget* m_pWidget = nullptr;
    QWidget* m_pOuter = nullptr;  // owned with m_pWidget when set
    bool m_bOwnsWidget = false;
    UINT m_nID = 0;
    CWnd* m_pParentWnd = nullptr;  // owner or parent as given at creation

private:
    friend class CWndBridge;
    void ReleaseWidget(bool destroy);
    void WidgetDestroyed();
    void NotifyDestroy();
    void DetachDescendants(QWidget* root);

    CWndBridge* m_pBridge = nullptr;
    std::vector<CWnd*> m_children;
    CWnd* m_pChildOf = nullptr;  // the window whose child list holds this
    std::map<UINT_PTR, class QTimer*> m_timers;
};

// Screen measures.
constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CXVSCROLL = 2;
constexpr int SM_CYHSCROLL = 3;
constexpr int SM_CYCAPTION = 4;
constexpr int SM_CYMENU = 15;
int GetSystemMetrics(int index);
// The desktop's work area (the screen less its panels), screen coordinates.
CRect GetWorkArea();

// Mouse capture and key state.
void ReleaseCapture();
SHORT GetAsyncKeyState(int vk);  // high bit set while the key is down
SHORT GetKeyState(int vk);
// Asks the window system where the cursor is now: a round trip to the
// display server, so nothing that runs per unit or per pass may call it.
CPoint GetCursorPos();
// Where the last mouse event that reached one of the program's windows
// left the cursor (screen coordinates), without asking the window system;
// FALSE, with *pPoint untouched, before the first such event.
BOOL GetLastCursorPos(CPoint* pPoint);
// How many times the program has asked the window system something that
// waits for its answer (GetCursorPos). Only tests and benchmarks read it.
unsigned long WindowSystemQueryCount();

// A window's virtual key for a Qt key code (0 when none).
UINT VirtualKeyFromQtKey(int qtKey);
