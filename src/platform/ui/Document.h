#pragma once
// CDocument: the data of the open file, shown by one or more views.
//
// The document template creates it and opens files through it
// (OnNewDocument / OnOpenDocument); a derived document replaces those with
// its own loading. Editing operations call SetModifiedFlag; SaveModified
// asks "Save changes to <title>?" (Yes/No/Cancel) before the document is
// replaced or closed. UpdateAllViews tells every view but the sender.
//
// The base OnOpenDocument/OnSaveDocument read and write the whole document
// through an archive with Serialize; a failure is reported in a message box
// and answers FALSE.

#include "platform/core/CString.h"
#include "platform/core/Types.h"
#include "platform/ui/CmdTarget.h"
#include "platform/ui/Wnd.h"

#include <vector>

class CView;
class CFrameWnd;
class CSingleDocTemplate;

class CDocument : public CCmdTarget
{
public:
    CDocument();
    ~CDocument() override;
    CDocument(const CDocument&) = delete;
    CDocument& operator=(const CDocument&) = delete;

    virtual BOOL OnNewDocument();
    virtual BOOL OnOpenDocument(const char* path);
    virtual BOOL OnSaveDocument(const char* path);
    virtual void OnCloseDocument();
    virtual void DeleteContents() {}
    // TRUE when the document may be replaced or closed (saved, or not wanted).
    virtual BOOL SaveModified();
    virtual BOOL CanCloseFrame(CFrameWnd* frame);
    BOOL DoFileSave();
    virtual BOOL DoSave(const char* path, BOOL replace = TRUE);

    virtual void SetModifiedFlag(BOOL modified = TRUE) { m_bModified = modified != FALSE; }
    BOOL IsModified() const { return m_bModified; }
    const CString& GetPathName() const { return m_strPathName; }
    // Sets the path and the title (the file name); adds it to the recent files.
    virtual void SetPathName(const char* path, BOOL addToMRU = TRUE);
    const CString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(const char* title);

    void UpdateAllViews(CView* sender, LPARAM hint = 0, CObject* pHint = nullptr);
    void AddView(CView* view);
    void RemoveView(CView* view);
    const std::vector<CView*>& GetViews() const { return m_views; }
    CView* GetFirstView() const { return m_views.empty() ? nullptr : m_views.front(); }
    CSingleDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }
    void SetDocTemplate(CSingleDocTemplate* docTemplate) { m_pDocTemplate = docTemplate; }

protected:
    CString m_strPathName;
    CString m_strTitle;
    bool m_bModified = false;
    std::vector<CView*> m_views;
    CSingleDocTemplate* m_pDocTemplate = nullptr;
};
