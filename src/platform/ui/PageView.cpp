#include "platform/ui/PageView.h"

#include "platform/core/File.h"
#include "platform/ui/QtBridge.h"
#include "platform/ui/WndPrivate.h"

#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>

namespace
{
QTextBrowser* BrowserOf(QWidget* w) { return qobject_cast<QTextBrowser*>(w); }
}  // namespace

CString PathFromFileAddress(const char* address)
{
    CString a(address);
    a.Trim();
    if (a.IsEmpty())
        return CString();
    if (a.Left(5).CompareNoCase("file:") == 0)
    {
        a = a.Mid(5);
        a.Replace('\\', '/');
        // "file:///path", "file://host/path" and "file:\\path" all come here.
        if (a.Left(3) == "///")
            a = a.Mid(2);
        else if (a.Left(2) == "//" && a.GetLength() > 2 && a[2] != '/')
            a = a.Mid(1);
        while (a.Left(2) == "//")
            a = a.Mid(1);
        a = FromQString(QUrl::fromPercentEncoding(ToQString(a).toUtf8()));
    }
    else if (a.Find("://") > 0)
    {
        return CString();
    }
    // A drive letter of the system the addresses were written on has no
    // meaning here; the path after it is kept.
    if (a.GetLength() >= 2 && a[1] == ':')
        a = a.Mid(2);
    else if (a.GetLength() >= 3 && a[0] == '/' && a[2] == ':')
        a = a.Mid(3);
    return ResolvePath(a);
}

CPageView::CPageView() = default;
CPageView::~CPageView() = default;

BOOL CPageView::Create(const CRect& rect, CWnd* parent, UINT id)
{
    if (m_pWidget)
        return FALSE;
    auto* browser = new QTextBrowser(parent ? parent->GetWidget() : nullptr);
    browser->setOpenExternalLinks(true);
    browser->setOpenLinks(true);
    if (!rect.IsRectNull())
        browser->setGeometry(ToQRect(rect));
    m_nID = id;
    m_pParentWnd = parent;
    if (parent)
        parent->AddChild(this);
    Attach(browser, parent == nullptr);
    // The view bound to the browser now (a member may have taken it over).
    auto self = [browser] { return dynamic_cast<CPageView*>(CWnd::FromWidget(browser)); };
    QObject::connect(browser, &QTextBrowser::backwardAvailable, browser,
                     [self](bool available)
                     {
                         CPageView* view = self();
                         if (view && view->m_onCommandStateChange)
                         {
                             CDispatchGuard guard;
                             view->m_onCommandStateChange(CSC_NAVIGATEBACK, available);
                         }
                     });
    QObject::connect(browser, &QTextBrowser::forwardAvailable, browser,
                     [self](bool available)
                     {
                         CPageView* view = self();
                         if (view && view->m_onCommandStateChange)
                         {
                             CDispatchGuard guard;
                             view->m_onCommandStateChange(CSC_NAVIGATEFORWARD, available);
                         }
                     });
    // The title is announced once the history has moved, so a listener
    // that asks for the location name gets the new page's.
    QObject::connect(browser, &QTextBrowser::historyChanged, browser,
                     [self]
                     {
                         CPageView* view = self();
                         if (view && view->m_onTitleChange)
                         {
                             CDispatchGuard guard;
                             view->m_onTitleChange(view->GetTitle());
                         }
                     });
    browser->show();
    return TRUE;
}

BOOL CPageView::Navigate(const char* address)
{
    QTextBrowser* browser = BrowserOf(m_pWidget);
    if (!browser)
        return FALSE;
    const CString path = PathFromFileAddress(address);
    if (path.IsEmpty() || !FileExists(path))
    {
        browser->setHtml(QStringLiteral("<p>The page %1 cannot be shown.</p>").arg(ToQString(address).toHtmlEscaped()));
        return FALSE;
    }
    browser->setSource(QUrl::fromLocalFile(ToQString(path)), QTextDocument::HtmlResource);
    return TRUE;
}

void CPageView::GoBack()
{
    if (QTextBrowser* browser = BrowserOf(m_pWidget))
        browser->backward();
}

void CPageView::GoForward()
{
    if (QTextBrowser* browser = BrowserOf(m_pWidget))
        browser->forward();
}

BOOL CPageView::CanGoBack() const
{
    QTextBrowser* browser = BrowserOf(m_pWidget);
    return browser && browser->isBackwardAvailable();
}

BOOL CPageView::CanGoForward() const
{
    QTextBrowser* browser = BrowserOf(m_pWidget);
    return browser && browser->isForwardAvailable();
}

void CPageView::Refresh()
{
    if (QTextBrowser* browser = BrowserOf(m_pWidget))
        browser->reload();
}

CString CPageView::GetLocationName() const
{
    QTextBrowser* browser = BrowserOf(m_pWidget);
    if (!browser || browser->source().isEmpty())
        return CString();
    return FromQString(QFileInfo(browser->source().toLocalFile()).fileName());
}

CString CPageView::GetLocationURL() const
{
    QTextBrowser* browser = BrowserOf(m_pWidget);
    return browser ? FromQString(browser->source().toString()) : CString();
}

CString CPageView::GetTitle() const
{
    QTextBrowser* browser = BrowserOf(m_pWidget);
    if (!browser)
        return CString();
    const QString title = browser->documentTitle();
    return title.isEmpty() ? GetLocationName() : FromQString(title);
}

CString CPageView::GetPlainText() const
{
    QTextBrowser* browser = BrowserOf(m_pWidget);
    return browser ? FromQString(browser->toPlainText()) : CString();
}
