#include "platform/ui/Document.h"

#include "platform/core/Archive.h"
#include "platform/core/File.h"
#include "platform/ui/App.h"
#include "platform/ui/DocTemplate.h"
#include "platform/ui/Frame.h"
#include "platform/ui/UiService.h"
#include "platform/ui/View.h"

CDocument::CDocument() = default;

CDocument::~CDocument()
{
    for (CView* view : m_views)
        view->SetDocument(nullptr);
}

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnOpenDocument(const char* path)
{
    CFile file;
    CFileException error;
    if (!file.Open(path, CFile::modeRead | CFile::typeBinary, &error))
    {
        AfxMessageBox(CString("Cannot open the file ") + path + ".\r\n" + error.GetErrorText(),
                      MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    DeleteContents();
    SetModifiedFlag(TRUE);
    try
    {
        CArchive ar(&file, CArchive::load);
        Serialize(ar);
        ar.Close();
    }
    catch (const CException& e)
    {
        DeleteContents();
        AfxMessageBox(CString("The file ") + path + " could not be read.\r\n" + e.GetErrorText(),
                      MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnSaveDocument(const char* path)
{
    CFile file;
    CFileException error;
    if (!file.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary, &error))
    {
        AfxMessageBox(CString("Cannot save the file ") + path + ".\r\n" + error.GetErrorText(),
                      MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    try
    {
        CArchive ar(&file, CArchive::store);
        Serialize(ar);
        ar.Close();
        file.Close();
    }
    catch (const CException& e)
    {
        file.Abort();
        AfxMessageBox(CString("The file ") + path + " could not be written.\r\n" + e.GetErrorText(),
                      MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::OnCloseDocument()
{
    DeleteContents();
    SetModifiedFlag(FALSE);
}

BOOL CDocument::SaveModified()
{
    if (!IsModified())
        return TRUE;
    CString name = m_strTitle.IsEmpty() ? CString("Untitled") : m_strTitle;
    const int answer = AfxMessageBox(CString("Save changes to ") + name + "?", MB_YESNOCANCEL | MB_ICONEXCLAMATION);
    if (answer == IDCANCEL)
        return FALSE;
    if (answer == IDYES)
        return DoFileSave();
    return TRUE;
}

BOOL CDocument::CanCloseFrame(CFrameWnd*) { return SaveModified(); }

BOOL CDocument::DoFileSave()
{
    if (m_strPathName.IsEmpty())
        return DoSave(nullptr, TRUE);
    return DoSave(m_strPathName, TRUE);
}

BOOL CDocument::DoSave(const char* path, BOOL replace)
{
    CString target(path);
    if (target.IsEmpty())
    {
        CString filter("All Files (*.*)|*.*||");
        CString ext;
        if (m_pDocTemplate)
        {
            filter = m_pDocTemplate->GetFilter();
            m_pDocTemplate->GetDocString(ext, CSingleDocTemplate::filterExt);
            if (ext.GetLength() > 0 && ext[0] == '.')
                ext = ext.Mid(1);
        }
        CFileDialog dialog(FALSE, ext, m_strTitle, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, filter, AfxGetMainWnd());
        if (dialog.DoModal() != IDOK)
            return FALSE;
        target = dialog.GetPathName();
    }
    if (!OnSaveDocument(target))
        return FALSE;
    if (replace)
        SetPathName(target);
    return TRUE;
}

void CDocument::SetPathName(const char* path, BOOL addToMRU)
{
    m_strPathName = path;
    CString base;
    CString ext;
    SplitPath(path, nullptr, &base, &ext);
    SetTitle(base + ext);
    if (addToMRU)
        if (CWinApp* app = AfxGetApp())
            app->AddToRecentFileList(path);
}

void CDocument::SetTitle(const char* title)
{
    m_strTitle = title;
    for (CView* view : m_views)
        if (CFrameWnd* frame = view->GetParentFrame())
            frame->UpdateFrameTitle();
}

void CDocument::UpdateAllViews(CView* sender, LPARAM hint, CObject* pHint)
{
    std::vector<CView*> views = m_views;
    for (CView* view : views)
        if (view != sender)
            view->OnUpdate(sender, hint, pHint);
}

void CDocument::AddView(CView* view)
{
    if (!view)
        return;
    for (CView* v : m_views)
        if (v == view)
            return;
    m_views.push_back(view);
    view->SetDocument(this);
}

void CDocument::RemoveView(CView* view)
{
    for (auto it = m_views.begin(); it != m_views.end(); ++it)
    {
        if (*it == view)
        {
            m_views.erase(it);
            view->SetDocument(nullptr);
            return;
        }
    }
}
