#pragma once
// The single-document template: makes the one document, the main frame and
// its view, and opens files into the document. A file named on the command
// line or dropped on the frame comes here through CWinApp::OpenDocumentFile.
//
// The document string has seven parts separated by "\n": window title,
// document name, new-file name, filter name, filter extension, file type id,
// file type name ("Kedravin\n\nKDR\nKDR Scenarios (*.asc)\n.asc\n...").

#include "platform/core/CString.h"
#include "platform/core/Object.h"
#include "platform/core/Types.h"

#include <functional>
#include <memory>

class CDocument;
class CFrameWnd;
class CView;

class CSingleDocTemplate
{
public:
    enum DocStringIndex
    {
        windowTitle,
        docName,
        fileNewName,
        filterName,
        filterExt,
        regFileTypeId,
        regFileTypeName
    };

    CSingleDocTemplate(UINT resourceId, std::function<CDocument*()> newDocument, std::function<CFrameWnd*()> newFrame,
                       std::function<CView*()> newView);
    // The same with run-time classes that can be created by name.
    CSingleDocTemplate(UINT resourceId, CRuntimeClass* documentClass, CRuntimeClass* frameClass,
                       CRuntimeClass* viewClass);
    ~CSingleDocTemplate();
    CSingleDocTemplate(const CSingleDocTemplate&) = delete;
    CSingleDocTemplate& operator=(const CSingleDocTemplate&) = delete;

    void SetDocString(const char* docString) { m_strDocStrings = docString; }
    BOOL GetDocString(CString& text, DocStringIndex index) const;
    // "KDR Scenarios (*.asc)|*.asc|All Files (*.*)|*.*||"
    CString GetFilter() const;

    // Creates document, frame and view on first use; with a path, the
    // document is asked to save changes and then opens the file; without,
    // it starts a new document. Null on failure (or when the user cancels).
    virtual CDocument* OpenDocumentFile(const char* path, BOOL makeVisible = TRUE);
    BOOL SaveAllModified();
    void CloseAllDocuments(BOOL endSession);

    CDocument* GetDocument() const { return m_pDocument.get(); }
    CFrameWnd* GetFrame() const { return m_pFrame.get(); }
    UINT GetResourceId() const { return m_nResourceId; }

private:
    BOOL CreateFrameAndView();

    UINT m_nResourceId;
    CString m_strDocStrings;
    std::function<CDocument*()> m_newDocument;
    std::function<CFrameWnd*()> m_newFrame;
    std::function<CView*()> m_newView;
    std::unique_ptr<CDocument> m_pDocument;
    std::unique_ptr<CFrameWnd> m_pFrame;
};
