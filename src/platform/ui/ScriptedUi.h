#pragma once
// A UI service that answers from a script instead of asking a person.
//
// A test lists, in order, the prompts it expects (message box caption and
// text, file dialog, modal dialog, popup menu) with the answer to give. Each
// prompt the program shows takes the next entry. A prompt that nobody
// scripted, or that differs from its entry, is reported to the failure
// handler with its text (a test turns that into a test failure) and gets the
// most cautious answer: Cancel, No, OK for a bare OK box, no file, no menu
// choice. Everything shown is recorded, scripted or not.
//
// Modal dialogs are real: their windows are created (offscreen in tests),
// initialised and shown. The entry's action may work the controls and press
// buttons; when the dialog is still open afterwards, the entry's answer is
// pressed as a button (IDOK runs the dialog's OK handling with its
// validation). A dialog that still does not end is a failure and is ended
// with IDCANCEL.

#include "platform/ui/UiService.h"

#include <deque>
#include <functional>
#include <vector>

class CScriptedUi : public CUiService
{
public:
    enum class Kind
    {
        MessageBox,
        FileDialog,
        Dialog,
        PopupMenu
    };

    // One prompt as it was shown.
    struct Prompt
    {
        Kind kind = Kind::MessageBox;
        CString caption;          // message box or dialog caption
        CString text;             // message box text
        UINT type = 0;            // message box type flags
        UINT dialogId = 0;        // template id of a dialog
        CFileDialogRequest file;  // file dialog request
        int answer = 0;           // answer given (id, IDOK/IDCANCEL, chosen command)
        CString path;             // file chosen (empty when cancelled)
        bool scripted = false;    // matched a script entry
    };

    using DialogAction = std::function<void(CDialog&)>;
    using MenuAction = std::function<void(CMenu&)>;
    using FailureHandler = std::function<void(const CString& message)>;

    CScriptedUi();
    ~CScriptedUi() override;

    // Script entries, taken in order.
    CScriptedUi& ExpectMessage(const CString& caption, const CString& text, int answer);
    // answerPath empty: the user cancels.
    CScriptedUi& ExpectFileDialog(BOOL bOpen, const CString& answerPath);
    // The dialog is identified by its template id (0: by caption instead).
    CScriptedUi& ExpectDialog(UINT templateId, int answer, DialogAction action = {});
    CScriptedUi& ExpectDialogCaption(const CString& caption, int answer, DialogAction action = {});
    // chosenId 0: the menu is closed without a choice. The action sees the
    // menu as shown (after the update protocol).
    CScriptedUi& ExpectPopupMenu(UINT chosenId, MenuAction action = {});

    void SetFailureHandler(FailureHandler handler) { m_onFailure = std::move(handler); }

    const std::vector<Prompt>& GetShown() const { return m_shown; }
    int GetBeepCount() const { return m_nBeeps; }
    bool IsScriptDone() const { return m_script.empty(); }
    // A readable list of the entries not yet used (empty when done).
    CString DescribeRemaining() const;
    void ClearScript() { m_script.clear(); }

    // CUiService
    int MessageBox(CWnd* owner, const CString& text, const CString& caption, UINT type) override;
    BOOL FileDialog(CWnd* owner, const CFileDialogRequest& request, CString& path) override;
    int RunModalDialog(CDialog& dialog) override;
    UINT TrackPopupMenu(CMenu& menu, CPoint screenPoint, CWnd* owner) override;
    void Beep(UINT type) override;

private:
    struct Entry
    {
        Kind kind;
        CString caption;
        CString text;
        int answer = 0;
        BOOL bOpen = TRUE;
        CString path;
        UINT dialogId = 0;
        DialogAction dialogAction;
        MenuAction menuAction;
    };

    bool TakeEntry(Kind kind, Entry& entry, const CString& what);
    void Fail(const CString& message);

    std::deque<Entry> m_script;
    std::vector<Prompt> m_shown;
    FailureHandler m_onFailure;
    int m_nBeeps = 0;
};

// Installs a service for the lifetime of the scope and restores the previous one.
class CUiServiceScope
{
public:
    explicit CUiServiceScope(CUiService* service) : m_previous(SetUiService(service)) {}
    ~CUiServiceScope() { SetUiService(m_previous); }
    CUiServiceScope(const CUiServiceScope&) = delete;
    CUiServiceScope& operator=(const CUiServiceScope&) = delete;

private:
    CUiService* m_previous;
};
