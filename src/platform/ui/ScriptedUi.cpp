#include "platform/ui/ScriptedUi.h"

#include "platform/ui/Command.h"
#include "platform/ui/Dialog.h"

namespace
{
const char* KindName(CScriptedUi::Kind kind)
{
    switch (kind)
    {
    case CScriptedUi::Kind::MessageBox: return "message box";
    case CScriptedUi::Kind::FileDialog: return "file dialog";
    case CScriptedUi::Kind::Dialog: return "dialog";
    case CScriptedUi::Kind::PopupMenu: return "popup menu";
    }
    return "prompt";
}

// The answer nobody chose: the cautious one.
int CautiousAnswer(UINT type)
{
    switch (type & MB_TYPEMASK)
    {
    case MB_OKCANCEL:
    case MB_YESNOCANCEL:
    case MB_RETRYCANCEL: return IDCANCEL;
    case MB_YESNO: return IDNO;
    default: return IDOK;
    }
}

CString Quote(const CString& text)
{
    CString out = text;
    out.Replace("\r", "\\r");
    out.Replace("\n", "\\n");
    return "\"" + out + "\"";
}
}  // namespace

CScriptedUi::CScriptedUi() = default;
CScriptedUi::~CScriptedUi() = default;

CScriptedUi& CScriptedUi::ExpectMessage(const CString& caption, const CString& text, int answer)
{
    Entry e;
    e.kind = Kind::MessageBox;
    e.caption = caption;
    e.text = text;
    e.answer = answer;
    m_script.push_back(std::move(e));
    return *this;
}

CScriptedUi& CScriptedUi::ExpectFileDialog(BOOL bOpen, const CString& answerPath)
{
    Entry e;
    e.kind = Kind::FileDialog;
    e.bOpen = bOpen;
    e.path = answerPath;
    m_script.push_back(std::move(e));
    return *this;
}

CScriptedUi& CScriptedUi::ExpectDialog(UINT templateId, int answer, DialogAction action)
{
    Entry e;
    e.kind = Kind::Dialog;
    e.dialogId = templateId;
    e.answer = answer;
    e.dialogAction = std::move(action);
    m_script.push_back(std::move(e));
    return *this;
}

CScriptedUi& CScriptedUi::ExpectDialogCaption(const CString& caption, int answer, DialogAction action)
{
    Entry e;
    e.kind = Kind::Dialog;
    e.caption = caption;
    e.answer = answer;
    e.dialogAction = std::move(action);
    m_script.push_back(std::move(e));
    return *this;
}

CScriptedUi& CScriptedUi::ExpectPopupMenu(UINT chosenId, MenuAction action)
{
    Entry e;
    e.kind = Kind::PopupMenu;
    e.answer = static_cast<int>(chosenId);
    e.menuAction = std::move(action);
    m_script.push_back(std::move(e));
    return *this;
}

CString CScriptedUi::DescribeRemaining() const
{
    CString out;
    for (const Entry& e : m_script)
    {
        if (!out.IsEmpty())
            out += "; ";
        out += KindName(e.kind);
        switch (e.kind)
        {
        case Kind::MessageBox: out += " " + Quote(e.caption) + " " + Quote(e.text); break;
        case Kind::FileDialog: out += e.bOpen ? " (open)" : " (save)"; break;
        case Kind::Dialog:
            if (e.dialogId)
            {
                CString id;
                id.Format(" %u", e.dialogId);
                out += id;
            }
            else
            {
                out += " " + Quote(e.caption);
            }
            break;
        case Kind::PopupMenu: break;
        }
    }
    return out;
}

void CScriptedUi::Fail(const CString& message)
{
    if (m_onFailure)
        m_onFailure(message);
}

bool CScriptedUi::TakeEntry(Kind kind, Entry& entry, const CString& what)
{
    if (m_script.empty())
    {
        Fail("Unscripted " + what);
        return false;
    }
    entry = std::move(m_script.front());
    m_script.pop_front();
    if (entry.kind != kind)
    {
        Fail(CString("The script expected a ") + KindName(entry.kind) + " but the program showed a " + what);
        return false;
    }
    return true;
}

int CScriptedUi::MessageBox(CWnd*, const CString& text, const CString& caption, UINT type)
{
    Prompt shown;
    shown.kind = Kind::MessageBox;
    shown.caption = caption;
    shown.text = text;
    shown.type = type;
    shown.answer = CautiousAnswer(type);
    Entry e;
    const CString what = "message box: caption " + Quote(caption) + ", text " + Quote(text);
    if (TakeEntry(Kind::MessageBox, e, what))
    {
        if (e.caption != caption || e.text != text)
        {
            Fail("Message box " + Quote(caption) + " " + Quote(text) + " where the script expected " +
                 Quote(e.caption) + " " + Quote(e.text));
        }
        else
        {
            shown.answer = e.answer;
            shown.scripted = true;
        }
    }
    m_shown.push_back(shown);
    return shown.answer;
}

BOOL CScriptedUi::FileDialog(CWnd*, const CFileDialogRequest& request, CString& path)
{
    Prompt shown;
    shown.kind = Kind::FileDialog;
    shown.file = request;
    shown.caption = request.title;
    shown.answer = IDCANCEL;
    Entry e;
    CString what = CString(request.bOpen ? "file open" : "file save") + " dialog with filter " + Quote(request.filter);
    if (TakeEntry(Kind::FileDialog, e, what))
    {
        if ((e.bOpen != FALSE) != (request.bOpen != FALSE))
        {
            Fail(CString("A file ") + (request.bOpen ? "open" : "save") + " dialog where the script expected a " +
                 (e.bOpen ? "file open" : "file save") + " dialog");
        }
        else
        {
            shown.scripted = true;
            if (!e.path.IsEmpty())
            {
                shown.answer = IDOK;
                shown.path = e.path;
            }
        }
    }
    m_shown.push_back(shown);
    if (shown.answer != IDOK)
        return FALSE;
    path = shown.path;
    return TRUE;
}

int CScriptedUi::RunModalDialog(CDialog& dialog)
{
    Prompt shown;
    shown.kind = Kind::Dialog;
    shown.dialogId = dialog.GetTemplateId();
    const size_t index = m_shown.size();
    m_shown.push_back(shown);
    if (!dialog.BeginModal())
    {
        Fail("A dialog could not be created");
        return -1;
    }
    m_shown[index].caption = dialog.GetWindowText();
    CString idText;
    idText.Format("%u", dialog.GetTemplateId());
    Entry e;
    bool ok = false;
    if (dialog.IsModalEnded())
    {
        // The dialog ended while it initialised: nothing for the user to answer.
        m_shown[index].answer = dialog.GetModalResult();
        m_shown[index].scripted = true;
        const int result = dialog.GetModalResult();
        dialog.FinishModal();
        return result;
    }
    if (TakeEntry(Kind::Dialog, e, "dialog " + idText + " " + Quote(dialog.GetWindowText())))
    {
        if (e.dialogId ? e.dialogId != dialog.GetTemplateId() : e.caption != dialog.GetWindowText())
        {
            Fail("Dialog " + idText + " " + Quote(dialog.GetWindowText()) + " is not the one the script expected");
        }
        else
        {
            ok = true;
        }
    }
    if (ok)
    {
        dialog.ShowModal();
        if (e.dialogAction)
            e.dialogAction(dialog);
        if (!dialog.IsModalEnded())
            dialog.PressButton(static_cast<UINT>(e.answer));
        if (!dialog.IsModalEnded())
        {
            CString id;
            id.Format("%d", e.answer);
            Fail("Dialog " + idText + " " + Quote(dialog.GetWindowText()) + " did not close when button " + id +
                 " was pressed");
            dialog.EndDialog(IDCANCEL);
        }
        m_shown[index].scripted = true;
    }
    else
    {
        dialog.EndDialog(IDCANCEL);
    }
    const int result = dialog.GetModalResult();
    m_shown[index].answer = result;
    dialog.FinishModal();
    return result;
}

UINT CScriptedUi::TrackPopupMenu(CMenu& menu, CPoint, CWnd*)
{
    Prompt shown;
    shown.kind = Kind::PopupMenu;
    Entry e;
    if (TakeEntry(Kind::PopupMenu, e, "popup menu"))
    {
        if (e.menuAction)
            e.menuAction(menu);
        const UINT id = static_cast<UINT>(e.answer);
        if (id != 0)
        {
            const CMenu::Item* item = menu.FindItem(id);
            CString idText;
            idText.Format("%u", id);
            if (!item)
                Fail("The popup menu has no item " + idText + " for the script to choose");
            else if (item->state & (MF_GRAYED | MF_DISABLED))
                Fail("The script chose item " + idText + " (" + Quote(item->text) +
                     ") of a popup menu, but it is disabled");
            else
                shown.answer = e.answer;
        }
        shown.scripted = true;
    }
    m_shown.push_back(shown);
    return static_cast<UINT>(shown.answer);
}

void CScriptedUi::Beep(UINT) { ++m_nBeeps; }
