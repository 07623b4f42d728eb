#pragma once
// CFrameWnd: the main window: menu bar, toolbar and status bar around the
// active view.
//
// LoadFrame builds the window from the resource id (the registered menu and
// accelerator table of that id), calls PreCreateWindow to let the style be
// changed, OnCreate (where toolbars and status bars are made), and creates
// the view of the creation context.
//
// Commands: a command reaching the frame goes to the active view (which
// hands what it does not handle to its document), then the frame, then the
// application. Menus are rebuilt from the frame's CMenu each time one opens,
// after the update protocol has run for every item. Keys are offered to the
// accelerator table in PreTranslateMessage, from the frame's own windows
// and from modeless dialogs that hand keys on (AfxTranslateMainAccelerator).
//
// Closing: OnClose asks the document (SaveModified) and then destroys the
// window; destroying the application's main window posts the quit message.

#include "platform/core/CString.h"
#include "platform/core/Types.h"
#include "platform/ui/Command.h"
#include "platform/ui/Wnd.h"

#include <functional>
#include <memory>
#include <vector>

class CView;
class CDocument;
class CSingleDocTemplate;
class CControlBar;

constexpr DWORD FWS_ADDTOTITLE = 0x00008000;

struct CREATESTRUCT
{
    DWORD style = 0;
    DWORD dwExStyle = 0;
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    CString lpszName;
};

// What the frame needs to create its view.
struct CCreateContext
{
    CDocument* m_pCurrentDoc = nullptr;
    std::function<CView*()> m_newView;
    CSingleDocTemplate* m_pTemplate = nullptr;
};

class CFrameWnd : public CWnd
{
public:
    CFrameWnd();
    ~CFrameWnd() override;

    virtual BOOL LoadFrame(UINT resourceId, DWORD style = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, CWnd* parent = nullptr,
                           CCreateContext* context = nullptr);
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual BOOL OnCreateClient(CCreateContext* context);
    DWORD GetStyle() const { return m_dwStyle; }

    CView* GetActiveView() const { return m_pActiveView; }
    void SetActiveView(CView* view);
    CDocument* GetActiveDocument() const;
    void InitialUpdateFrame(CDocument* document, BOOL makeVisible);

    // Menu bar.
    void SetMenu(CMenu* menu);  // not owned; null removes the bar
    CMenu* GetMenu() const { return m_pMenu; }
    void DrawMenuBar();  // shows changes of the top-level items
    // Runs the update protocol for a top-level menu as when it opens.
    void UpdateMenuPopup(int position);
    // The Qt menu of a top-level item (null when none), for tests.
    class QMenu* GetQMenu(int position) const;

    // Accelerators.
    BOOL LoadAccelTable(UINT resourceId);
    CAcceleratorTable& GetAccelTable() { return m_accel; }
    // Posts the command of an accelerator key message; TRUE when it was one.
    BOOL TranslateAccelerator(MSG* pMsg);

    // Control bars and the status line.
    void AddControlBar(CControlBar* bar);
    void RemoveControlBar(CControlBar* bar);
    CControlBar* GetControlBar(UINT id) const;
    const std::vector<CControlBar*>& GetControlBars() const { return m_bars; }
    void SetMessageText(const char* text);
    void OnIdleUpdateCmdUI();
    void RecalcLayout() {}

    void UpdateFrameTitle();
    BOOL OnCmdMsg(UINT id, CCmdUI* pCmdUI) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void OnClose() override;
    void OnDestroy() override;
    void OnDropFiles(const std::vector<CString>& files) override;
    void SetWindowText(const char* text) override;

protected:
    CPoint ClientOrigin() const override;

    CView* m_pActiveView = nullptr;
    std::unique_ptr<CView> m_pOwnedView;
    CMenu* m_pMenu = nullptr;
    std::unique_ptr<CMenu> m_pLoadedMenu;
    CAcceleratorTable m_accel;
    std::vector<CControlBar*> m_bars;
    DWORD m_dwStyle = 0;
    CString m_strTitle;
};

// Offers a key message to the main frame's accelerator table (modeless
// windows call it from PreTranslateMessage). TRUE when it was an accelerator.
BOOL AfxTranslateMainAccelerator(MSG* pMsg);
