#include "platform/ui/Frame.h"

#include "platform/ui/App.h"
#include "platform/ui/DocTemplate.h"
#include "platform/ui/Document.h"
#include "platform/ui/QtBridge.h"
#include "platform/ui/View.h"
#include "platform/ui/WndPrivate.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

CFrameWnd::CFrameWnd() = default;

CFrameWnd::~CFrameWnd()
{
    std::vector<CControlBar*> bars = m_bars;
    for (CControlBar* bar : bars)
        RemoveControlBar(bar);
    if (CWinApp* app = AfxGetApp())
        if (app->m_pMainWnd == this)
            app->m_pMainWnd = nullptr;
    m_pActiveView = nullptr;
    m_pOwnedView.reset();
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT&) { return TRUE; }

BOOL CFrameWnd::LoadFrame(UINT resourceId, DWORD style, CWnd* parent, CCreateContext* context)
{
    if (m_pWidget)
        return FALSE;
    CREATESTRUCT cs;
    cs.style = style;
    if (context && context->m_pTemplate)
    {
        CString title;
        context->m_pTemplate->GetDocString(title, CSingleDocTemplate::windowTitle);
        cs.lpszName = title;
    }
    if (cs.lpszName.IsEmpty() && AfxGetApp())
        cs.lpszName = AfxGetApp()->GetAppName();
    if (!PreCreateWindow(cs))
        return FALSE;
    m_dwStyle = cs.style;
    m_strTitle = cs.lpszName;
    m_nID = resourceId;
    m_pParentWnd = parent;

    auto* main = new QMainWindow(parent ? parent->GetWidget() : nullptr);
    // A border without the title bar (WS_CAPTION holds WS_BORDER too). The
    // window manager draws the title bar here, and the system menu and the
    // window's buttons live in it: a window with a system menu keeps one,
    // showing only the buttons its style names.
    const bool bSystemMenu = (cs.style & WS_SYSMENU) != 0;
    if ((cs.style & WS_CAPTION) == WS_BORDER && !bSystemMenu)
    {
        main->setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    }
    else if (bSystemMenu && (cs.style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) != (WS_MINIMIZEBOX | WS_MAXIMIZEBOX))
    {
        Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (cs.style & WS_MINIMIZEBOX)
            flags |= Qt::WindowMinimizeButtonHint;
        if (cs.style & WS_MAXIMIZEBOX)
            flags |= Qt::WindowMaximizeButtonHint;
        main->setWindowFlags(flags);
    }
    if (cs.cx > 0 && cs.cy > 0)
        main->setGeometry(cs.x, cs.y, cs.cx, cs.cy);
    else
        main->resize(800, 600);
    Attach(main, true);
    main->setWindowTitle(ToQString(m_strTitle));

    m_pLoadedMenu = std::make_unique<CMenu>();
    if (m_pLoadedMenu->LoadMenu(resourceId))
        SetMenu(m_pLoadedMenu.get());
    LoadAccelTable(resourceId);

    {
        CDispatchGuard guard;
        if (OnCreate() == -1)
        {
            DestroyWindow();
            return FALSE;
        }
    }
    if (context && !OnCreateClient(context))
    {
        DestroyWindow();
        return FALSE;
    }
    if (CWinApp* app = AfxGetApp())
        if (!app->m_pMainWnd)
            app->m_pMainWnd = this;
    return TRUE;
}

BOOL CFrameWnd::OnCreateClient(CCreateContext* context)
{
    if (!context || !context->m_newView)
        return TRUE;
    std::unique_ptr<CView> view(context->m_newView());
    if (!view)
        return FALSE;
    if (!view->CreateView(this, AFX_IDW_PANE_FIRST, context->m_pCurrentDoc))
        return FALSE;
    if (auto* main = qobject_cast<QMainWindow*>(m_pWidget))
        main->setCentralWidget(view->GetOuterWidget());
    m_pOwnedView = std::move(view);
    SetActiveView(m_pOwnedView.get());
    return TRUE;
}

void CFrameWnd::SetActiveView(CView* view) { m_pActiveView = view; }

CDocument* CFrameWnd::GetActiveDocument() const { return m_pActiveView ? m_pActiveView->GetDocument() : nullptr; }

void CFrameWnd::InitialUpdateFrame(CDocument* document, BOOL makeVisible)
{
    (void)document;
    if (m_pActiveView)
        m_pActiveView->OnInitialUpdate();
    UpdateFrameTitle();
    if (makeVisible && m_pWidget && !m_pWidget->isVisible())
        ShowWindow(SW_SHOW);
}

void CFrameWnd::SetMenu(CMenu* menu)
{
    m_pMenu = menu;
    DrawMenuBar();
}

void CFrameWnd::DrawMenuBar()
{
    auto* main = qobject_cast<QMainWindow*>(m_pWidget);
    if (!main)
        return;
    QMenuBar* bar = main->menuBar();
    bar->clear();
    if (!m_pMenu)
    {
        bar->hide();
        return;
    }
    bar->show();
    for (int i = 0; i < static_cast<int>(m_pMenu->GetMenuItemCount()); ++i)
    {
        const CMenu::Item* item = m_pMenu->GetItem(i);
        if (!item || item->separator)
            continue;
        if (item->popup)
        {
            QMenu* menu = bar->addMenu(ToQString(item->text));
            menu->setProperty("kdrPosition", i);
            QObject::connect(menu, &QMenu::aboutToShow, menu, [this, i] { UpdateMenuPopup(i); });
            // Filled once now so that the bar knows its items before first use.
            m_pMenu->GetSubMenu(i)->FillQMenu(menu, [this](UINT id) { PostCommand(id); });
        }
        else
        {
            QAction* action = bar->addAction(ToQString(item->text));
            const UINT id = item->id;
            QObject::connect(action, &QAction::triggered, bar, [this, id] { PostCommand(id); });
        }
    }
}

QMenu* CFrameWnd::GetQMenu(int position) const
{
    auto* main = qobject_cast<QMainWindow*>(m_pWidget);
    if (!main)
        return nullptr;
    for (QAction* action : main->menuBar()->actions())
    {
        QMenu* menu = action->menu();
        if (menu && menu->property("kdrPosition").toInt() == position)
            return menu;
    }
    return nullptr;
}

void CFrameWnd::UpdateMenuPopup(int position)
{
    if (!m_pMenu)
        return;
    CMenu* sub = m_pMenu->GetSubMenu(position);
    QMenu* menu = GetQMenu(position);
    if (!sub || !menu)
        return;
    CDispatchGuard guard;
    sub->UpdateCommandStates(this, TRUE);
    menu->clear();
    sub->FillQMenu(menu, [this](UINT id) { PostCommand(id); });
}

BOOL CFrameWnd::LoadAccelTable(UINT resourceId) { return m_accel.Load(resourceId); }

BOOL CFrameWnd::TranslateAccelerator(MSG* pMsg)
{
    if (!pMsg || (pMsg->message != WM_KEYDOWN && pMsg->message != WM_SYSKEYDOWN))
        return FALSE;
    const bool shift = GetKeyState(VK_SHIFT) & 0x8000;
    const bool control = GetKeyState(VK_CONTROL) & 0x8000;
    const bool alt = GetKeyState(VK_MENU) & 0x8000;
    const UINT id = m_accel.Translate(static_cast<UINT>(pMsg->wParam), shift, control, alt);
    if (!id)
        return FALSE;
    PostCommand(id);
    return TRUE;
}

BOOL AfxTranslateMainAccelerator(MSG* pMsg)
{
    auto* frame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
    return frame && frame->TranslateAccelerator(pMsg);
}

void CFrameWnd::AddControlBar(CControlBar* bar)
{
    for (CControlBar* b : m_bars)
        if (b == bar)
            return;
    m_bars.push_back(bar);
}

void CFrameWnd::RemoveControlBar(CControlBar* bar)
{
    for (auto it = m_bars.begin(); it != m_bars.end(); ++it)
    {
        if (*it == bar)
        {
            m_bars.erase(it);
            return;
        }
    }
}

CControlBar* CFrameWnd::GetControlBar(UINT id) const
{
    for (CControlBar* bar : m_bars)
        if (bar->GetDlgCtrlID() == id)
            return bar;
    return nullptr;
}

void CFrameWnd::SetMessageText(const char* text)
{
    for (CControlBar* bar : m_bars)
    {
        if (auto* status = dynamic_cast<CStatusBar*>(bar))
        {
            status->SetPaneText(0, text);
            return;
        }
    }
}

void CFrameWnd::OnIdleUpdateCmdUI()
{
    CDispatchGuard guard;
    std::vector<CControlBar*> bars = m_bars;
    for (CControlBar* bar : bars)
        bar->OnUpdateCmdUI(this, TRUE);
}

void CFrameWnd::UpdateFrameTitle()
{
    CString title = m_strTitle;
    if (m_dwStyle & FWS_ADDTOTITLE)
    {
        CDocument* doc = GetActiveDocument();
        if (doc && !doc->GetTitle().IsEmpty())
            title = doc->GetTitle() + " - " + m_strTitle;
    }
    if (m_pWidget)
        m_pWidget->setWindowTitle(ToQString(title));
}

void CFrameWnd::SetWindowText(const char* text)
{
    if (m_pWidget)
        m_pWidget->setWindowTitle(ToQString(text));
}

BOOL CFrameWnd::OnCmdMsg(UINT id, CCmdUI* pCmdUI)
{
    if (m_pActiveView && m_pActiveView->OnCmdMsg(id, pCmdUI))
        return TRUE;
    if (HandleOwnCommand(id, pCmdUI))
        return TRUE;
    if (CWinApp* app = AfxGetApp())
        if (app->OnCmdMsg(id, pCmdUI))
            return TRUE;
    return FALSE;
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg) { return TranslateAccelerator(pMsg); }

void CFrameWnd::OnClose()
{
    CDocument* doc = GetActiveDocument();
    if (doc && !doc->CanCloseFrame(this))
        return;
    DestroyWindow();
}

void CFrameWnd::OnDestroy()
{
    if (CWinApp* app = AfxGetApp())
    {
        if (app->m_pMainWnd == this)
            app->PostQuitMessage(0);
    }
}

void CFrameWnd::OnDropFiles(const std::vector<CString>& files)
{
    if (files.empty())
        return;
    if (CWinApp* app = AfxGetApp())
        app->OpenDocumentFile(files.front());
}

CPoint CFrameWnd::ClientOrigin() const
{
    auto* main = qobject_cast<QMainWindow*>(m_pWidget);
    if (main && main->menuWidget() && main->menuWidget()->isVisible())
        return CPoint(0, main->menuWidget()->height());
    return CPoint(0, 0);
}
