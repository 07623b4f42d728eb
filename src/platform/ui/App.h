#pragma once
// The application object: start-up (InitInstance), the message loop (Run,
// which an application may replace), the idle handler, the message pump
// that long loops use to stay responsive, the document template, the
// command line and the profile.
//
// One CWinApp-derived object exists per process; AfxGetApp answers it. The
// QApplication must exist before it runs (main creates both):
//
//     QApplication qt(argc, argv);
//     CMyApp app;
//     return AfxWinMain(argc, argv);   // InitInstance, then Run or ExitInstance
//
// Messages. Posted commands (menu, toolbar and accelerator commands,
// PostCommand, PostQuitMessage) wait in the application's queue. PumpMessage
// serves exactly one of them when one waits; otherwise it lets Qt deliver
// the window-system events that are waiting (waiting for one first).
// PumpWaitingMessage does the same without waiting. A long loop calls it
// between its steps so that menus, dialogs and a Stop command keep working;
// a command posted while a nested modal loop runs (a dialog, a menu) is
// served by that loop.

#include "platform/core/CString.h"
#include "platform/core/Types.h"
#include "platform/ui/CmdTarget.h"
#include "platform/ui/Wnd.h"

#include <functional>
#include <memory>
#include <vector>

class CDocument;
class CFrameWnd;
class CSingleDocTemplate;
class CRecentFileList;
class CProfile;

class CCommandLineInfo
{
public:
    enum ShellCommand
    {
        FileNew,
        FileOpen,
        FileNothing
    };

    virtual ~CCommandLineInfo() = default;
    // Called for each argument after the program name; a flag is one that
    // began with '-' or '/', given without it.
    virtual void ParseParam(const char* param, BOOL bFlag, BOOL bLast);

    ShellCommand m_nShellCommand = FileNew;
    CString m_strFileName;
};

class CWinApp : public CCmdTarget
{
public:
    explicit CWinApp(const char* appName = nullptr);
    ~CWinApp() override;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance();
    // The message loop: idles while nothing waits, then serves one message;
    // returns ExitInstance()'s code after the quit message.
    virtual int Run();
    // Idle work with a count that starts at 0 and grows while nothing
    // waits. The base updates the main frame's toolbar and status bar at
    // count 0 and asks for no more after count 0. TRUE: more idle time wanted.
    virtual BOOL OnIdle(LONG count);
    virtual int ExitInstance();

    // ---- Message pump ----
    BOOL PumpMessage();             // FALSE once the quit message has come
    BOOL PumpWaitingMessage();      // TRUE when something was served
    BOOL IsMessageWaiting() const;  // a posted message or the quit message waits
    // Sleeps until a window-system event or a posted message comes, at most
    // that long, and delivers the events that came (a posted message waits
    // for the next pump). A loop that polls something no event announces
    // (a link, a flag) calls it between two rounds instead of spinning.
    void WaitForEvents(DWORD dwMilliseconds);
    void PostQuitMessage(int exitCode);
    BOOL IsQuitPosted() const { return m_bQuit; }
    void ResetQuit() { m_bQuit = false; }
    int GetExitCode() const { return m_nExitCode; }
    // Queues a command for target's route, or any work; served one per pump.
    void PostCommand(CCmdTarget* target, UINT id);
    void PostWork(CCmdTarget* owner, std::function<void()> work);
    // Drops queued messages for a target that is going away.
    void CancelPosted(CCmdTarget* target);
    size_t GetPostedCount() const { return m_queue.size(); }

    // ---- Document template ----
    void AddDocTemplate(CSingleDocTemplate* docTemplate);  // owned
    CSingleDocTemplate* GetDocTemplate() const { return m_pDocTemplate.get(); }
    virtual CDocument* OpenDocumentFile(const char* path);
    void OnFileNew();
    void OnFileOpen();
    void OnAppExit();
    BOOL SaveAllModified();
    void CloseAllDocuments(BOOL endSession);

    // ---- Command line ----
    void SetCommandLine(int argc, char** argv);
    void ParseCommandLine(CCommandLineInfo& info);
    BOOL ProcessShellCommand(CCommandLineInfo& info);
    const std::vector<CString>& GetArguments() const { return m_args; }
    // Shell registration and control set-up have no counterpart here.
    void EnableShellOpen() {}
    void RegisterShellFileTypes(BOOL = FALSE) {}
    void Enable3dControls() {}
    void Enable3dControlsStatic() {}

    // ---- Profile ----
    // The key under which the profile is kept (its organisation name).
    void SetRegistryKey(const char* key);
    // Reads the recent-file list (maxMRU entries).
    void LoadStdProfileSettings(UINT maxMRU = 4);
    CString GetProfileString(const char* section, const char* entry, const char* defaultValue = nullptr);
    BOOL WriteProfileString(const char* section, const char* entry, const char* value);
    UINT GetProfileInt(const char* section, const char* entry, int defaultValue);
    BOOL WriteProfileInt(const char* section, const char* entry, int value);
    virtual void AddToRecentFileList(const char* path);
    CRecentFileList* GetRecentFileList() const { return m_pRecentFileList.get(); }
    CProfile& GetProfile();

    const CString& GetAppName() const { return m_strAppName; }

    CWnd* m_pMainWnd = nullptr;
    CString m_strAppName;
    CString m_strRegistryKey;

protected:
    friend class CPumpWaker;
    friend class CForeignLoopScope;
    void ServeOne();

    std::vector<CString> m_args;
    std::unique_ptr<CSingleDocTemplate> m_pDocTemplate;
    std::unique_ptr<CRecentFileList> m_pRecentFileList;
    std::unique_ptr<CProfile> m_pProfile;

private:
    struct Posted
    {
        CCmdTarget* target;
        UINT id;
        std::function<void()> work;
    };
    void Wake();

    std::vector<Posted> m_queue;
    bool m_bQuit = false;
    int m_nExitCode = 0;
    class CPumpWaker* m_pWaker = nullptr;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
// Runs the application object: InitInstance, then Run (or ExitInstance when
// InitInstance failed). Needs a QApplication.
int AfxWinMain(int argc, char** argv);
// Counts nested modal loops (dialogs, menus, message boxes); a command
// posted while one runs is served by it.
class CModalLoopScope
{
public:
    CModalLoopScope();
    ~CModalLoopScope();
    CModalLoopScope(const CModalLoopScope&) = delete;
    CModalLoopScope& operator=(const CModalLoopScope&) = delete;
    static int Depth();
};
// Held around a call into a library that may turn Qt's event loop inside
// itself (the audio sink's start, stop and teardown on the PulseAudio
// backend wait so for the sound server). No posted message is served in
// that loop: it would run the program's commands in the middle of whatever
// called the library (a game pass's fire step, say), as many as fit in the
// time the server happens to take, so a seeded battle would not repeat and
// a command could change the units under a pass that walks them. The
// messages wait for the program's own pump; a wake-up that came meanwhile
// is posted again when the outermost scope ends.
class CForeignLoopScope
{
public:
    CForeignLoopScope();
    ~CForeignLoopScope();
    CForeignLoopScope(const CForeignLoopScope&) = delete;
    CForeignLoopScope& operator=(const CForeignLoopScope&) = delete;
};
