#include "platform/ui/App.h"

#include "platform/ui/Activation.h"
#include "platform/ui/DocTemplate.h"
#include "platform/ui/Document.h"
#include "platform/ui/Frame.h"
#include "platform/ui/Profile.h"
#include "platform/ui/QtBridge.h"
#include "platform/ui/UiService.h"
#include "platform/ui/WndPrivate.h"

#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>

namespace
{
CWinApp* g_pApp = nullptr;
int g_modalDepth = 0;
int g_pumpDepth = 0;          // PumpMessage/PumpWaitingMessage calls under way
int g_modalDepthAtPump = 0;   // modal depth when the innermost pump began
int g_foreignLoopDepth = 0;   // CForeignLoopScope objects alive
bool g_wakeDeferred = false;  // a wake-up came while one was

const QEvent::Type kWakeEvent = static_cast<QEvent::Type>(QEvent::User + 0x4B44);
}  // namespace

// Receives the wake-up posted with every queued message. Inside the pump it
// only ends the wait (the pump serves the message); inside a library's own
// loop (CForeignLoopScope) it is kept for later; inside any other loop (a
// modal dialog, a menu) it serves one message itself.
class CPumpWaker : public QObject
{
public:
    explicit CPumpWaker(CWinApp* app) : m_pApp(app) {}

protected:
    bool event(QEvent* event) override
    {
        if (event->type() != kWakeEvent)
            return QObject::event(event);
        if (g_foreignLoopDepth > 0)
        {
            g_wakeDeferred = true;
            return true;
        }
        const bool servedByPump = g_pumpDepth > 0 && g_modalDepth <= g_modalDepthAtPump;
        if (!servedByPump && !m_pApp->m_queue.empty())
        {
            m_pApp->ServeOne();
            if (!m_pApp->m_queue.empty())
                QCoreApplication::postEvent(this, new QEvent(kWakeEvent));
        }
        return true;
    }

private:
    CWinApp* m_pApp;
};

CModalLoopScope::CModalLoopScope() { ++g_modalDepth; }
CModalLoopScope::~CModalLoopScope()
{
    --g_modalDepth;
    ReactivateAfterModalLoop();
}
int CModalLoopScope::Depth() { return g_modalDepth; }

CForeignLoopScope::CForeignLoopScope() { ++g_foreignLoopDepth; }
CForeignLoopScope::~CForeignLoopScope()
{
    if (--g_foreignLoopDepth > 0 || !g_wakeDeferred)
        return;
    g_wakeDeferred = false;
    if (g_pApp != nullptr && !g_pApp->m_queue.empty())
        g_pApp->Wake();
}

// ---------------------------------------------------------------------------

void CCommandLineInfo::ParseParam(const char* param, BOOL bFlag, BOOL)
{
    if (bFlag || !param || !*param)
        return;
    if (m_strFileName.IsEmpty())
    {
        m_strFileName = param;
        m_nShellCommand = FileOpen;
    }
}

CWinApp::CWinApp(const char* appName) : m_strAppName(appName ? appName : "")
{
    g_pApp = this;
    m_pWaker = new CPumpWaker(this);
    // Counts what the pumps serve (ServedEvents.h) from the first message on.
    EnsureAppFilter();
    if (QCoreApplication::instance())
    {
        if (auto* gui = qobject_cast<QApplication*>(QCoreApplication::instance()))
            gui->setQuitOnLastWindowClosed(false);
    }
    if (!m_strAppName.IsEmpty())
        SetMessageBoxCaption(m_strAppName);
}

CWinApp::~CWinApp()
{
    m_pDocTemplate.reset();
    m_pRecentFileList.reset();
    m_pProfile.reset();
    delete m_pWaker;
    m_pWaker = nullptr;
    if (g_pApp == this)
        g_pApp = nullptr;
}

CWinApp* AfxGetApp() { return g_pApp; }

CWnd* AfxGetMainWnd() { return g_pApp ? g_pApp->m_pMainWnd : nullptr; }

int AfxWinMain(int argc, char** argv)
{
    CWinApp* app = AfxGetApp();
    if (!app || !QCoreApplication::instance())
        return -1;
    app->SetCommandLine(argc, argv);
    if (!app->InitInstance())
        return app->ExitInstance();
    return app->Run();
}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::ExitInstance()
{
    if (m_pRecentFileList)
        m_pRecentFileList->WriteList();
    if (m_pProfile)
        m_pProfile->Sync();
    return m_nExitCode;
}

int CWinApp::Run()
{
    if (!m_pMainWnd)
        PostQuitMessage(0);
    for (;;)
    {
        LONG idleCount = 0;
        while (!IsMessageWaiting() && OnIdle(idleCount++))
        {
        }
        if (!PumpMessage())
            return ExitInstance();
    }
}

BOOL CWinApp::OnIdle(LONG count)
{
    if (count <= 0)
    {
        if (auto* frame = dynamic_cast<CFrameWnd*>(m_pMainWnd))
            frame->OnIdleUpdateCmdUI();
        return TRUE;
    }
    CWnd::FlushDeferredDeletes();
    return FALSE;
}

BOOL CWinApp::IsMessageWaiting() const { return m_bQuit || !m_queue.empty(); }

void CWinApp::Wake()
{
    if (m_pWaker)
        QCoreApplication::postEvent(m_pWaker, new QEvent(kWakeEvent));
}

void CWinApp::PostQuitMessage(int exitCode)
{
    m_bQuit = true;
    m_nExitCode = exitCode;
    Wake();
}

void CWinApp::PostCommand(CCmdTarget* target, UINT id)
{
    m_queue.push_back({target, id, {}});
    Wake();
}

void CWinApp::PostWork(CCmdTarget* owner, std::function<void()> work)
{
    m_queue.push_back({owner, 0, std::move(work)});
    Wake();
}

void CWinApp::CancelPosted(CCmdTarget* target)
{
    for (auto& posted : m_queue)
    {
        if (posted.target == target)
        {
            posted.target = nullptr;
            posted.work = nullptr;
            posted.id = 0;
        }
    }
}

void CWinApp::ServeOne()
{
    if (m_queue.empty())
        return;
    Posted posted = std::move(m_queue.front());
    m_queue.erase(m_queue.begin());
    NotePostedServed();
    CDispatchGuard guard;
    if (posted.work)
        posted.work();
    else if (posted.target && posted.id)
        posted.target->OnCmdMsg(posted.id, nullptr);
}

BOOL CWinApp::PumpMessage()
{
    if (m_bQuit)
        return FALSE;
    if (!m_queue.empty())
    {
        ServeOne();
        return !m_bQuit;
    }
    const int savedModal = g_modalDepthAtPump;
    g_modalDepthAtPump = g_modalDepth;
    ++g_pumpDepth;
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    --g_pumpDepth;
    g_modalDepthAtPump = savedModal;
    if (!m_queue.empty() && !m_bQuit)
        ServeOne();
    return !m_bQuit;
}

void CWinApp::WaitForEvents(DWORD dwMilliseconds)
{
    if (m_bQuit || !m_queue.empty())
        return;
    // The timer's expiry is an event too: it ends the wait.
    QTimer timer;
    timer.setSingleShot(true);
    timer.start(static_cast<int>(dwMilliseconds));
    const int savedModal = g_modalDepthAtPump;
    g_modalDepthAtPump = g_modalDepth;
    ++g_pumpDepth;
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    --g_pumpDepth;
    g_modalDepthAtPump = savedModal;
}

BOOL CWinApp::PumpWaitingMessage()
{
    if (m_bQuit)
        return FALSE;
    if (!m_queue.empty())
    {
        ServeOne();
        return TRUE;
    }
    const unsigned long before = InputEventSerial();
    const int savedModal = g_modalDepthAtPump;
    g_modalDepthAtPump = g_modalDepth;
    ++g_pumpDepth;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    --g_pumpDepth;
    g_modalDepthAtPump = savedModal;
    if (!m_queue.empty() && !m_bQuit)
    {
        ServeOne();
        return TRUE;
    }
    return InputEventSerial() != before ? TRUE : FALSE;
}

// ---------------------------------------------------------------------------

void CWinApp::AddDocTemplate(CSingleDocTemplate* docTemplate) { m_pDocTemplate.reset(docTemplate); }

CDocument* CWinApp::OpenDocumentFile(const char* path)
{
    if (!m_pDocTemplate)
        return nullptr;
    return m_pDocTemplate->OpenDocumentFile(path, TRUE);
}

void CWinApp::OnFileNew()
{
    if (m_pDocTemplate)
        m_pDocTemplate->OpenDocumentFile(nullptr, TRUE);
}

void CWinApp::OnFileOpen()
{
    CString filter = m_pDocTemplate ? m_pDocTemplate->GetFilter() : CString("All Files (*.*)|*.*||");
    CString ext;
    if (m_pDocTemplate)
        m_pDocTemplate->GetDocString(ext, CSingleDocTemplate::filterExt);
    if (ext.GetLength() > 0 && ext[0] == '.')
        ext = ext.Mid(1);
    CFileDialog dialog(TRUE, ext, nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, filter, m_pMainWnd);
    if (dialog.DoModal() != IDOK)
        return;
    OpenDocumentFile(dialog.GetPathName());
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd)
        m_pMainWnd->OnClose();
    else
        PostQuitMessage(0);
}

BOOL CWinApp::SaveAllModified() { return m_pDocTemplate ? m_pDocTemplate->SaveAllModified() : TRUE; }

void CWinApp::CloseAllDocuments(BOOL endSession)
{
    if (m_pDocTemplate)
        m_pDocTemplate->CloseAllDocuments(endSession);
}

// ---------------------------------------------------------------------------

void CWinApp::SetCommandLine(int argc, char** argv)
{
    m_args.clear();
    for (int i = 0; i < argc; ++i)
        m_args.emplace_back(argv[i] ? argv[i] : "");
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info)
{
    const int count = static_cast<int>(m_args.size());
    for (int i = 1; i < count; ++i)
    {
        const CString& arg = m_args[static_cast<size_t>(i)];
        const bool flag =
            arg.GetLength() > 1 && (arg[0] == '-' || arg[0] == '/') && !(arg[0] == '/' && arg.Find('/', 1) >= 0);
        info.ParseParam(flag ? arg.Mid(1).GetString() : arg.GetString(), flag, i == count - 1);
    }
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& info)
{
    switch (info.m_nShellCommand)
    {
    case CCommandLineInfo::FileNew:
        if (!m_pDocTemplate)
            return TRUE;
        return m_pDocTemplate->OpenDocumentFile(nullptr, TRUE) != nullptr;
    case CCommandLineInfo::FileOpen: return OpenDocumentFile(info.m_strFileName) != nullptr;
    default: return TRUE;
    }
}

// ---------------------------------------------------------------------------

void CWinApp::SetRegistryKey(const char* key)
{
    m_strRegistryKey = key;
    m_pRecentFileList.reset();
    m_pProfile.reset();
}

CProfile& CWinApp::GetProfile()
{
    if (!m_pProfile)
        m_pProfile = std::make_unique<CProfile>(m_strRegistryKey, m_strAppName);
    return *m_pProfile;
}

void CWinApp::LoadStdProfileSettings(UINT maxMRU)
{
    m_pRecentFileList =
        std::make_unique<CRecentFileList>(&GetProfile(), ID_FILE_MRU_FILE1, static_cast<int>(maxMRU == 0 ? 4 : maxMRU));
    m_pRecentFileList->ReadList();
    MapUpdateRange(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE1 + maxMRU - 1,
                   [this](CCmdUI* ui)
                   {
                       if (m_pRecentFileList)
                           m_pRecentFileList->UpdateMenu(ui);
                   });
    MapCommandRange(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE1 + maxMRU - 1,
                    [this](UINT id)
                    {
                        if (!m_pRecentFileList)
                            return;
                        const CString path = (*m_pRecentFileList)[static_cast<int>(id - ID_FILE_MRU_FILE1)];
                        if (!path.IsEmpty() && !OpenDocumentFile(path))
                            m_pRecentFileList->Remove(static_cast<int>(id - ID_FILE_MRU_FILE1));
                    });
}

CString CWinApp::GetProfileString(const char* section, const char* entry, const char* defaultValue)
{
    return GetProfile().GetString(section, entry, defaultValue);
}

BOOL CWinApp::WriteProfileString(const char* section, const char* entry, const char* value)
{
    return GetProfile().WriteString(section, entry, value);
}

UINT CWinApp::GetProfileInt(const char* section, const char* entry, int defaultValue)
{
    return static_cast<UINT>(GetProfile().GetInt(section, entry, defaultValue));
}

BOOL CWinApp::WriteProfileInt(const char* section, const char* entry, int value)
{
    return GetProfile().WriteInt(section, entry, value);
}

void CWinApp::AddToRecentFileList(const char* path)
{
    if (m_pRecentFileList)
        m_pRecentFileList->Add(path);
}

// ---------------------------------------------------------------------------

void CWnd::PostCommand(UINT id)
{
    if (CWinApp* app = AfxGetApp())
        app->PostCommand(this, id);
}
