#pragma once
// The one door through which the program asks the user anything: message
// boxes, file open/save dialogs, modal dialog results, popup menus and beeps.
//
// Nothing else in the program shows a prompt of its own; it calls this
// service (directly, or through AfxMessageBox, CWnd::MessageBox,
// CFileDialog::DoModal, CDialog::DoModal or CMenu::TrackPopupMenu). The
// process holds one current service: the Qt one, which shows real widgets,
// unless a test installs a scripted one (platform/ui/ScriptedUi.h) that answers
// from a script and records what was asked.
//
// This header is free of Qt so that simulation and file code may use it.

#include "platform/core/CString.h"
#include "platform/core/Geometry.h"
#include "platform/core/Types.h"

#include <vector>

class CWnd;
class CDialog;
class CMenu;

// Button sets (low nibble of the type).
constexpr UINT MB_OK = 0x0;
constexpr UINT MB_OKCANCEL = 0x1;
constexpr UINT MB_YESNOCANCEL = 0x3;
constexpr UINT MB_YESNO = 0x4;
constexpr UINT MB_RETRYCANCEL = 0x5;
constexpr UINT MB_TYPEMASK = 0xF;
// Icons.
constexpr UINT MB_ICONSTOP = 0x10;
constexpr UINT MB_ICONHAND = MB_ICONSTOP;
constexpr UINT MB_ICONERROR = MB_ICONSTOP;
constexpr UINT MB_ICONQUESTION = 0x20;
constexpr UINT MB_ICONEXCLAMATION = 0x30;
constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr UINT MB_ICONINFORMATION = 0x40;
constexpr UINT MB_ICONASTERISK = MB_ICONINFORMATION;
constexpr UINT MB_ICONMASK = 0xF0;
// Default button and modality; the modality flags only raise the box.
constexpr UINT MB_DEFBUTTON1 = 0x000;
constexpr UINT MB_DEFBUTTON2 = 0x100;
constexpr UINT MB_DEFBUTTON3 = 0x200;
constexpr UINT MB_APPLMODAL = 0x0000;
constexpr UINT MB_SYSTEMMODAL = 0x1000;
constexpr UINT MB_TASKMODAL = 0x2000;
constexpr UINT MB_SETFOREGROUND = 0x10000;
constexpr UINT MB_TOPMOST = 0x40000;
// The text (not the caption) is UTF-8, not the code page: for the one
// message that must show a character the code page lacks, the character a
// name was refused for.
constexpr UINT MB_TEXT_UTF8 = 0x1000000;

// Answers of message boxes and ends of modal dialogs.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// File dialog option flags (those the program passes; the rest are ignored).
constexpr DWORD OFN_READONLY = 0x1;
constexpr DWORD OFN_OVERWRITEPROMPT = 0x2;
constexpr DWORD OFN_HIDEREADONLY = 0x4;
constexpr DWORD OFN_NOCHANGEDIR = 0x8;
constexpr DWORD OFN_PATHMUSTEXIST = 0x800;
constexpr DWORD OFN_FILEMUSTEXIST = 0x1000;

// Beep kinds for MessageBeep.
constexpr UINT MB_BEEP_DEFAULT = 0xFFFFFFFF;

// What a file dialog is asked to show.
struct CFileDialogRequest
{
    BOOL bOpen = TRUE;   // open or save
    CString defaultExt;  // without the dot; appended to a name typed without extension
    CString fileName;    // the name offered at first
    CString filter;      // "Friendly Obstacle Array (*.fob)|*.fob|All Files (*.*)|*.*||"
    CString title;       // empty: "Open" or "Save As"
    CString initialDir;  // empty: the program's current directory
    DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
};

class CUiService
{
public:
    virtual ~CUiService() = default;

    // Shows a message box; answers IDOK, IDCANCEL, IDYES or IDNO.
    virtual int MessageBox(CWnd* owner, const CString& text, const CString& caption, UINT type) = 0;
    // TRUE and the chosen path, or FALSE when the user cancelled.
    virtual BOOL FileDialog(CWnd* owner, const CFileDialogRequest& request, CString& path) = 0;
    // Runs a dialog modally (its window is created, initialised, shown and
    // served until it ends) and answers the code it ended with.
    virtual int RunModalDialog(CDialog& dialog) = 0;
    // Shows a popup menu at a screen point; answers the chosen command id,
    // 0 when the menu was closed without a choice. The menu's items have
    // already been enabled and checked by the update protocol.
    virtual UINT TrackPopupMenu(CMenu& menu, CPoint screenPoint, CWnd* owner) = 0;
    virtual void Beep(UINT type) = 0;
};

// The current service. Never null: the Qt service when none is installed.
CUiService& GetUiService();
// Installs a service (null restores the Qt one) and answers the previous one.
CUiService* SetUiService(CUiService* service);

// The caption of AfxMessageBox (the application object sets its name here).
void SetMessageBoxCaption(const CString& caption);
const CString& GetMessageBoxCaption();

// A message box owned by the main window, with the application's name as caption.
int AfxMessageBox(const char* text, UINT type = MB_OK, UINT helpId = 0);
void MessageBeep(UINT type = MB_BEEP_DEFAULT);

// The open/save dialog. DoModal passes through the UI service.
class CFileDialog
{
public:
    CFileDialog(BOOL bOpenFileDialog, const char* defaultExt = nullptr, const char* fileName = nullptr,
                DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const char* filter = nullptr,
                CWnd* parent = nullptr);

    int DoModal();  // IDOK or IDCANCEL
    // The dialog asks for a file that could not be opened: its caption
    // names it ("Find Friendly.unt"), so the player knows what to look
    // for. An empty name leaves the caption as it was.
    void SetMissingFile(const char* name);

    CString GetPathName() const { return m_path; }  // full path as chosen
    CString GetFileName() const;                    // name with extension, without directory
    CString GetFileExt() const;                     // extension without the dot
    CString GetFileTitle() const;                   // name without directory and extension

    CFileDialogRequest m_request;  // callers may set title and initialDir before DoModal

private:
    CWnd* m_pParent;
    CString m_path;
};

// Splits a filter string "Name|*.a;*.b|Other|*.c||" into (name, patterns) pairs.
struct CFileFilterEntry
{
    CString name;
    CString patterns;  // ";"-separated
};
std::vector<CFileFilterEntry> ParseFileFilter(const CString& filter);
