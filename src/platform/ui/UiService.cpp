#include "platform/ui/UiService.h"

#include "platform/core/CodePage.h"
#include "platform/core/File.h"
#include "platform/ui/App.h"
#include "platform/ui/Command.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/QtBridge.h"
#include "platform/ui/WndPrivate.h"

#include <QApplication>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>

namespace
{
// The service that shows real widgets.
class CQtUiService : public CUiService
{
public:
    int MessageBox(CWnd* owner, const CString& text, const CString& caption, UINT type) override
    {
        QWidget* parent = owner && owner->GetWidget() ? owner->GetWidget()->window() : nullptr;
        QMessageBox box(parent);
        box.setWindowTitle(ToQString(caption));
        QString body = (type & MB_TEXT_UTF8) ? QString::fromStdString(text.str()) : ToQString(text);
        body.remove(QLatin1Char('\r'));
        box.setText(body);
        switch (type & MB_ICONMASK)
        {
        case MB_ICONSTOP: box.setIcon(QMessageBox::Critical); break;
        case MB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
        case MB_ICONEXCLAMATION: box.setIcon(QMessageBox::Warning); break;
        case MB_ICONINFORMATION: box.setIcon(QMessageBox::Information); break;
        default: box.setIcon(QMessageBox::NoIcon); break;
        }
        std::vector<std::pair<QPushButton*, int>> buttons;
        auto add = [&](const char* label, QMessageBox::ButtonRole role, int answer)
        { buttons.emplace_back(box.addButton(QString::fromLatin1(label), role), answer); };
        int escape = IDCANCEL;
        switch (type & MB_TYPEMASK)
        {
        case MB_OKCANCEL:
            add("OK", QMessageBox::AcceptRole, IDOK);
            add("Cancel", QMessageBox::RejectRole, IDCANCEL);
            break;
        case MB_YESNOCANCEL:
            add("&Yes", QMessageBox::YesRole, IDYES);
            add("&No", QMessageBox::NoRole, IDNO);
            add("Cancel", QMessageBox::RejectRole, IDCANCEL);
            break;
        case MB_YESNO:
            add("&Yes", QMessageBox::YesRole, IDYES);
            add("&No", QMessageBox::NoRole, IDNO);
            escape = IDNO;
            break;
        case MB_RETRYCANCEL:
            add("&Retry", QMessageBox::AcceptRole, IDRETRY);
            add("Cancel", QMessageBox::RejectRole, IDCANCEL);
            break;
        default:
            add("OK", QMessageBox::AcceptRole, IDOK);
            escape = IDOK;
            break;
        }
        const size_t def = (type & MB_DEFBUTTON3) ? 2 : (type & MB_DEFBUTTON2) ? 1 : 0;
        if (def < buttons.size())
            box.setDefaultButton(buttons[def].first);
        for (auto& [button, answer] : buttons)
            if (answer == escape)
                box.setEscapeButton(button);
        if (type & (MB_SYSTEMMODAL | MB_TOPMOST))
            box.setWindowFlag(Qt::WindowStaysOnTopHint);
        {
            CModalLoopScope scope;
            box.exec();
        }
        for (auto& [button, answer] : buttons)
            if (box.clickedButton() == button)
                return answer;
        return escape;
    }

    BOOL FileDialog(CWnd* owner, const CFileDialogRequest& request, CString& path) override
    {
        QWidget* parent = owner && owner->GetWidget() ? owner->GetWidget()->window() : nullptr;
        QFileDialog dialog(parent);
        dialog.setWindowTitle(request.title.IsEmpty()
                                  ? (request.bOpen ? QStringLiteral("Open") : QStringLiteral("Save As"))
                                  : ToQString(request.title));
        dialog.setAcceptMode(request.bOpen ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
        dialog.setFileMode(request.bOpen && (request.flags & OFN_FILEMUSTEXIST) ? QFileDialog::ExistingFile
                                                                                : QFileDialog::AnyFile);
        if (!(request.flags & OFN_OVERWRITEPROMPT))
            dialog.setOption(QFileDialog::DontConfirmOverwrite);
        dialog.setDirectory(QString::fromStdString(
            ResolveSystemPath(request.initialDir.IsEmpty() ? "." : request.initialDir.GetString())));
        QStringList filters;
        for (const CFileFilterEntry& e : ParseFileFilter(request.filter))
        {
            QString name = ToQString(e.name);
            // Qt reads the patterns from the last brackets of the name.
            if (name.endsWith(QLatin1Char(')')) && name.lastIndexOf(QLatin1Char('(')) > 0)
                name = name.left(name.lastIndexOf(QLatin1Char('('))).trimmed();
            QString patterns = ToQString(e.patterns);
            patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
            filters << QStringLiteral("%1 (%2)").arg(name, patterns);
        }
        if (!filters.isEmpty())
            dialog.setNameFilters(filters);
        if (!request.defaultExt.IsEmpty())
            dialog.setDefaultSuffix(ToQString(request.defaultExt));
        if (!request.fileName.IsEmpty())
            dialog.selectFile(ToQString(request.fileName));
        for (;;)
        {
            int result = 0;
            {
                CModalLoopScope scope;
                result = dialog.exec();
            }
            if (result != QDialog::Accepted || dialog.selectedFiles().isEmpty())
                return FALSE;
            // The program names files in its code page; a path it cannot
            // hold would be opened or written as another one, with '?'.
            const std::string chosen = dialog.selectedFiles().front().toStdString();
            std::string character;
            if (Utf8ToCodePage(chosen, path, &character))
                return TRUE;
            MessageBox(owner,
                       CString(chosen + "\nThe character '" + character + "' cannot be used in a file name."),
                       GetMessageBoxCaption(), MB_OK | MB_ICONSTOP | MB_TEXT_UTF8);
        }
    }

    int RunModalDialog(CDialog& dialog) override
    {
        if (!dialog.BeginModal())
            return -1;
        if (!dialog.IsModalEnded())
        {
            dialog.ShowModal();
            dialog.RunModalLoop();
        }
        const int result = dialog.GetModalResult();
        dialog.FinishModal();
        return result;
    }

    UINT TrackPopupMenu(CMenu& menu, CPoint screenPoint, CWnd* owner) override
    {
        QWidget* parent = owner && owner->GetWidget() ? owner->GetWidget()->window() : nullptr;
        QMenu qmenu(parent);
        menu.FillQMenu(&qmenu, {});
        QAction* chosen = nullptr;
        {
            CModalLoopScope scope;
            chosen = qmenu.exec(QPoint(screenPoint.x, screenPoint.y));
        }
        return chosen ? chosen->data().toUInt() : 0;
    }

    void Beep(UINT) override { QApplication::beep(); }
};

CQtUiService& QtService()
{
    static CQtUiService service;
    return service;
}

CUiService* g_pService = nullptr;

CString& Caption()
{
    static CString caption("Kedravin");
    return caption;
}
}  // namespace

CUiService& GetUiService() { return g_pService ? *g_pService : QtService(); }

CUiService* SetUiService(CUiService* service)
{
    CUiService* previous = g_pService;
    g_pService = service;
    return previous;
}

void SetMessageBoxCaption(const CString& caption) { Caption() = caption; }
const CString& GetMessageBoxCaption() { return Caption(); }

int AfxMessageBox(const char* text, UINT type, UINT)
{
    CDispatchGuard guard;
    return GetUiService().MessageBox(AfxGetMainWnd(), CString(text), Caption(), type);
}

void MessageBeep(UINT type) { GetUiService().Beep(type); }

std::vector<CFileFilterEntry> ParseFileFilter(const CString& filter)
{
    std::vector<CFileFilterEntry> entries;
    std::vector<CString> parts;
    CString current;
    for (int i = 0; i < filter.GetLength(); ++i)
    {
        if (filter[i] == '|')
        {
            parts.push_back(current);
            current.Empty();
        }
        else
        {
            current += filter[i];
        }
    }
    if (!current.IsEmpty())
        parts.push_back(current);
    for (size_t i = 0; i + 1 < parts.size(); i += 2)
    {
        if (parts[i].IsEmpty() && parts[i + 1].IsEmpty())
            break;
        entries.push_back({parts[i], parts[i + 1]});
    }
    return entries;
}

// ---------------------------------------------------------------------------

CFileDialog::CFileDialog(BOOL bOpenFileDialog, const char* defaultExt, const char* fileName, DWORD flags,
                         const char* filter, CWnd* parent)
    : m_pParent(parent)
{
    m_request.bOpen = bOpenFileDialog;
    m_request.defaultExt = defaultExt;
    if (m_request.defaultExt.GetLength() > 0 && m_request.defaultExt[0] == '.')
        m_request.defaultExt = m_request.defaultExt.Mid(1);
    m_request.fileName = fileName;
    m_request.flags = flags;
    m_request.filter = filter;
}

int CFileDialog::DoModal()
{
    CString chosen;
    BOOL ok = FALSE;
    {
        CDispatchGuard guard;
        ok = GetUiService().FileDialog(m_pParent, m_request, chosen);
    }
    if (!ok || chosen.IsEmpty())
        return IDCANCEL;
    // A name typed without an extension takes the default one.
    CString dir;
    CString base;
    CString ext;
    SplitPath(chosen, &dir, &base, &ext);
    if (ext.IsEmpty() && !m_request.defaultExt.IsEmpty())
        chosen += "." + m_request.defaultExt;
    m_path = chosen;
    return IDOK;
}

void CFileDialog::SetMissingFile(const char* name)
{
    CString base;
    CString ext;
    SplitPath(CString(name), nullptr, &base, &ext);
    if (!(base + ext).IsEmpty())
        m_request.title = "Find " + base + ext;
}

CString CFileDialog::GetFileName() const
{
    CString base;
    CString ext;
    SplitPath(m_path, nullptr, &base, &ext);
    return base + ext;
}

CString CFileDialog::GetFileExt() const
{
    CString ext;
    SplitPath(m_path, nullptr, nullptr, &ext);
    return ext.GetLength() > 0 && ext[0] == '.' ? ext.Mid(1) : ext;
}

CString CFileDialog::GetFileTitle() const
{
    CString base;
    SplitPath(m_path, nullptr, &base, nullptr);
    return base;
}
