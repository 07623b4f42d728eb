#include "platform/ui/DocTemplate.h"

#include "platform/ui/App.h"
#include "platform/ui/Document.h"
#include "platform/ui/Frame.h"
#include "platform/ui/View.h"

namespace
{
template <class T>
std::function<T*()> FactoryOf(CRuntimeClass* runtimeClass)
{
    return [runtimeClass]() -> T*
    {
        if (!runtimeClass)
            return nullptr;
        CObject* object = runtimeClass->CreateObject();
        T* typed = dynamic_cast<T*>(object);
        if (!typed)
            delete object;
        return typed;
    };
}
}  // namespace

CSingleDocTemplate::CSingleDocTemplate(UINT resourceId, std::function<CDocument*()> newDocument,
                                       std::function<CFrameWnd*()> newFrame, std::function<CView*()> newView)
    : m_nResourceId(resourceId),
      m_newDocument(std::move(newDocument)),
      m_newFrame(std::move(newFrame)),
      m_newView(std::move(newView))
{
}

CSingleDocTemplate::CSingleDocTemplate(UINT resourceId, CRuntimeClass* documentClass, CRuntimeClass* frameClass,
                                       CRuntimeClass* viewClass)
    : CSingleDocTemplate(resourceId, FactoryOf<CDocument>(documentClass), FactoryOf<CFrameWnd>(frameClass),
                         FactoryOf<CView>(viewClass))
{
}

CSingleDocTemplate::~CSingleDocTemplate()
{
    // The frame (and its view) go before the document they show.
    if (m_pFrame)
    {
        if (CWinApp* app = AfxGetApp())
            if (app->m_pMainWnd == m_pFrame.get())
                app->m_pMainWnd = nullptr;
        m_pFrame.reset();
    }
    m_pDocument.reset();
}

BOOL CSingleDocTemplate::GetDocString(CString& text, DocStringIndex index) const
{
    text.Empty();
    int part = 0;
    int start = 0;
    const int length = m_strDocStrings.GetLength();
    for (int i = 0; i <= length; ++i)
    {
        if (i == length || m_strDocStrings[i] == '\n')
        {
            if (part == index)
            {
                text = m_strDocStrings.Mid(start, i - start);
                return !text.IsEmpty();
            }
            ++part;
            start = i + 1;
        }
    }
    return FALSE;
}

CString CSingleDocTemplate::GetFilter() const
{
    CString name;
    CString ext;
    GetDocString(name, filterName);
    GetDocString(ext, filterExt);
    CString filter;
    if (!name.IsEmpty() && !ext.IsEmpty())
        filter = name + "|*" + ext + "|";
    return filter + "All Files (*.*)|*.*||";
}

BOOL CSingleDocTemplate::CreateFrameAndView()
{
    if (m_pFrame)
        return TRUE;
    std::unique_ptr<CFrameWnd> frame(m_newFrame ? m_newFrame() : nullptr);
    if (!frame)
        return FALSE;
    CCreateContext context;
    context.m_pCurrentDoc = m_pDocument.get();
    context.m_newView = m_newView;
    context.m_pTemplate = this;
    if (!frame->LoadFrame(m_nResourceId, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context))
        return FALSE;
    m_pFrame = std::move(frame);
    return TRUE;
}

CDocument* CSingleDocTemplate::OpenDocumentFile(const char* path, BOOL makeVisible)
{
    bool created = false;
    if (!m_pDocument)
    {
        m_pDocument.reset(m_newDocument ? m_newDocument() : nullptr);
        if (!m_pDocument)
            return nullptr;
        m_pDocument->SetDocTemplate(this);
        created = true;
    }
    else if (!m_pDocument->SaveModified())
    {
        return nullptr;
    }
    if (!CreateFrameAndView())
    {
        if (created)
            m_pDocument.reset();
        return nullptr;
    }
    CDocument* doc = m_pDocument.get();
    if (!path || !*path)
    {
        if (!doc->OnNewDocument())
            return nullptr;
        CString title;
        GetDocString(title, fileNewName);
        doc->SetTitle(title.IsEmpty() ? CString("Untitled") : title);
    }
    else
    {
        if (!doc->OnOpenDocument(path))
        {
            // A half-read document would be worse than an empty one.
            doc->OnNewDocument();
            return nullptr;
        }
        doc->SetPathName(path, TRUE);
    }
    m_pFrame->InitialUpdateFrame(doc, makeVisible);
    return doc;
}

BOOL CSingleDocTemplate::SaveAllModified() { return m_pDocument ? m_pDocument->SaveModified() : TRUE; }

void CSingleDocTemplate::CloseAllDocuments(BOOL)
{
    if (m_pDocument)
        m_pDocument->OnCloseDocument();
}
