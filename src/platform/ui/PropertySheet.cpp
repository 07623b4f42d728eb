#include "platform/ui/PropertySheet.h"

#include "platform/ui/App.h"
#include "platform/ui/Frame.h"
#include "platform/ui/QtBridge.h"
#include "platform/ui/WndPrivate.h"

#include <QDialog>
#include <QTabBar>
#include <QTabWidget>

namespace
{
constexpr int kMargin = 6;
constexpr int kTabBar = 28;
constexpr int kButtonW = 80;
constexpr int kButtonH = 26;

// The top-level window of a modeless sheet: Escape and the close box ask
// the sheet to close.
class CSheetWindow : public QDialog
{
public:
    explicit CSheetWindow(QWidget* parent) : QDialog(parent) {}
    void reject() override
    {
        if (auto* sheet = dynamic_cast<CPropertySheet*>(CWnd::FromWidget(this)))
        {
            CDispatchGuard guard;
            sheet->OnClose();
        }
    }
    void accept() override {}
    void done(int) override {}
};

CSize PageSize(CPropertyPage* page, CString* caption)
{
    CDialogTemplate t;
    page->BuildTemplate(t);
    if (caption)
        *caption = t.m_strCaption;
    return t.m_size;
}
}  // namespace

// ---------------------------------------------------------------------------

CPropertyPage::CPropertyPage(UINT templateId, const char* caption) : CDialog(templateId), m_strCaption(caption) {}

CPropertyPage::~CPropertyPage()
{
    if (m_pSheet)
        m_pSheet->RemovePage(this);
}

BOOL CPropertyPage::CreatePage(CPropertySheet* sheet, QWidget* tab)
{
    m_pSheet = sheet;
    if (!CreateDialogWindow(sheet, false, tab))
        return FALSE;
    m_bForwardAccelerators = false;
    CDispatchGuard guard;
    OnInitDialog();
    m_pWidget->show();
    return TRUE;
}

BOOL CPropertyPage::OnSetActive() { return TRUE; }

BOOL CPropertyPage::OnKillActive() { return UpdateData(TRUE); }

BOOL CPropertyPage::OnApply()
{
    OnOK();
    m_bChanged = false;
    return TRUE;
}

void CPropertyPage::OnOK() {}
void CPropertyPage::OnCancel() {}

void CPropertyPage::SetModified(BOOL changed) { m_bChanged = changed != FALSE; }

void CPropertyPage::CancelToClose()
{
    if (m_pSheet && m_pSheet->m_pModal)
    {
        if (CWnd* ok = m_pSheet->m_pModal->GetDlgItem(IDOK))
            ok->EnableWindow(FALSE);
        m_pSheet->m_pModal->SetDlgItemText(IDCANCEL, "Close");
    }
}

BOOL CPropertyPage::PreTranslateMessage(MSG*) { return FALSE; }

// ---------------------------------------------------------------------------

CSheetDialog::CSheetDialog(CPropertySheet* sheet) : CDialog(0, sheet ? sheet->m_pParent : nullptr), m_pSheet(sheet) {}

void CSheetDialog::BuildTemplate(CDialogTemplate& t)
{
    int w = 200;
    int h = 100;
    for (int i = 0; i < m_pSheet->GetPageCount(); ++i)
    {
        const CSize s = PageSize(m_pSheet->GetPage(i), nullptr);
        w = std::max<int>(w, s.cx);
        h = std::max<int>(h, s.cy);
    }
    const int width = w + 2 * kMargin + 4;
    const int height = h + kTabBar + 4;
    t.Caption(m_pSheet->m_strCaption).Size(width + 2 * kMargin, height + 2 * kMargin + kButtonH + kMargin);
    const int y = kMargin + height + kMargin;
    int x = width + kMargin - kButtonW;
    if (!(m_pSheet->m_dwFlags & PSH_NOAPPLYNOW))
    {
        t.PushButton(ID_APPLY_NOW, "&Apply", x, y, kButtonW, kButtonH, WS_DISABLED);
        x -= kButtonW + kMargin;
    }
    t.PushButton(IDCANCEL, "Cancel", x, y, kButtonW, kButtonH);
    x -= kButtonW + kMargin;
    t.DefPushButton(IDOK, "OK", x, y, kButtonW, kButtonH);
}

BOOL CSheetDialog::OnInitDialog()
{
    m_pSheet->BuildWindow(this, true);
    m_pSheet->OnInitDialog();
    return TRUE;
}

void CSheetDialog::OnOK()
{
    if (m_pSheet->ApplyAll())
        EndDialog(IDOK);
}

void CSheetDialog::OnCancel()
{
    for (CPropertyPage* page : m_pSheet->m_pages)
        if (page->GetWidget())
            page->OnCancel();
    EndDialog(IDCANCEL);
}

BOOL CSheetDialog::OnCommand(UINT id, UINT code)
{
    if (id == ID_APPLY_NOW && code == BN_CLICKED)
    {
        if (m_pSheet->ApplyAll())
            if (CWnd* apply = GetDlgItem(ID_APPLY_NOW))
                apply->EnableWindow(FALSE);
        return TRUE;
    }
    return CDialog::OnCommand(id, code);
}

// ---------------------------------------------------------------------------

CPropertySheet::CPropertySheet(const char* caption, CWnd* parent, UINT selectPage)
    : m_strCaption(caption), m_pParent(parent), m_nStartPage(static_cast<int>(selectPage))
{
    m_pParentWnd = parent;
}

CPropertySheet::~CPropertySheet()
{
    for (CPropertyPage* page : m_pages)
        page->SetSheet(nullptr);
}

QTabWidget* CPropertySheet::Tabs() const
{
    if (auto* tabs = qobject_cast<QTabWidget*>(m_pWidget))
        return tabs;
    return m_pWidget ? m_pWidget->findChild<QTabWidget*>() : nullptr;
}

void CPropertySheet::AddPage(CPropertyPage* page)
{
    if (!page || GetPageIndex(page) >= 0)
        return;
    m_pages.push_back(page);
    page->SetSheet(this);
    if (QTabWidget* tabs = Tabs())
    {
        auto* container = new QWidget;
        CString caption = page->GetPageCaption();
        if (caption.IsEmpty())
            PageSize(page, &caption);
        const QSignalBlocker block(tabs);
        tabs->addTab(container, ToQString(caption));
        m_tabs.push_back(container);
        if (m_nActive < 0)
            SetActivePage(0);
    }
}

void CPropertySheet::RemovePage(CPropertyPage* page) { RemovePage(GetPageIndex(page)); }

void CPropertySheet::RemovePage(int index)
{
    if (index < 0 || index >= GetPageCount())
        return;
    CPropertyPage* page = m_pages[static_cast<size_t>(index)];
    m_pages.erase(m_pages.begin() + index);
    page->SetSheet(nullptr);
    if (QTabWidget* tabs = Tabs())
    {
        if (page->GetWidget())
            page->DestroyWindow();
        QWidget* container = m_tabs[static_cast<size_t>(index)];
        m_tabs.erase(m_tabs.begin() + index);
        {
            const QSignalBlocker block(tabs);
            tabs->removeTab(index);
        }
        if (CWnd::DispatchDepth() > 0)
            container->deleteLater();
        else
            delete container;
        if (m_nActive == index)
        {
            m_nActive = -1;
            if (GetPageCount() > 0)
                SetActivePage(std::min(index, GetPageCount() - 1));
        }
        else if (m_nActive > index)
        {
            --m_nActive;
        }
    }
}

CPropertyPage* CPropertySheet::GetPage(int index) const
{
    if (index < 0 || index >= GetPageCount())
        return nullptr;
    return m_pages[static_cast<size_t>(index)];
}

int CPropertySheet::GetPageIndex(CPropertyPage* page) const
{
    for (size_t i = 0; i < m_pages.size(); ++i)
        if (m_pages[i] == page)
            return static_cast<int>(i);
    return -1;
}

CPropertyPage* CPropertySheet::GetActivePage() const
{
    return m_nActive >= 0 ? GetPage(m_nActive)
                          : (m_pages.empty() ? nullptr : GetPage(std::min(m_nStartPage, GetPageCount() - 1)));
}

int CPropertySheet::GetActiveIndex() const { return m_nActive >= 0 ? m_nActive : m_nStartPage; }

BOOL CPropertySheet::SetActivePage(int index)
{
    if (index < 0 || index >= GetPageCount())
        return FALSE;
    QTabWidget* tabs = Tabs();
    if (!tabs)
    {
        m_nStartPage = index;
        return TRUE;
    }
    if (index == m_nActive)
        return TRUE;
    CDispatchGuard guard;
    if (CPropertyPage* old = GetPage(m_nActive))
    {
        if (old->GetWidget() && !old->OnKillActive())
            return FALSE;
    }
    CPropertyPage* page = GetPage(index);
    if (!page->GetWidget())
        page->CreatePage(this, m_tabs[static_cast<size_t>(index)]);
    else
        page->UpdateData(FALSE);
    m_nActive = index;
    {
        const QSignalBlocker block(tabs);
        tabs->setCurrentIndex(index);
    }
    page->OnSetActive();
    return TRUE;
}

BOOL CPropertySheet::SetActivePage(CPropertyPage* page) { return SetActivePage(GetPageIndex(page)); }

void CPropertySheet::OnTabChanged(int index)
{
    const int previous = m_nActive;
    if (!SetActivePage(index))
    {
        const QSignalBlocker block(Tabs());
        Tabs()->setCurrentIndex(previous);
    }
}

void CPropertySheet::SetTitle(const char* title)
{
    m_strCaption = title;
    if (m_pWidget)
        m_pWidget->window()->setWindowTitle(ToQString(title));
}

BOOL CPropertySheet::BuildWindow(CWnd* parent, bool modal)
{
    if (m_pWidget)
        return FALSE;
    m_bModal = modal;
    int w = 200;
    int h = 100;
    for (CPropertyPage* page : m_pages)
    {
        const CSize s = PageSize(page, nullptr);
        w = std::max<int>(w, s.cx);
        h = std::max<int>(h, s.cy);
    }
    QWidget* host = nullptr;
    if (modal)
    {
        host = parent->GetWidget();
    }
    else
    {
        CWnd* owner = parent ? parent : AfxGetMainWnd();
        QWidget* ownerWidget = owner && owner->GetWidget() ? owner->GetWidget()->window() : nullptr;
        auto* window = new CSheetWindow(ownerWidget);
        window->setWindowTitle(ToQString(m_strCaption));
        window->setFixedSize(w + 4 * kMargin + 4, h + kTabBar + 4 + 2 * kMargin);
        host = window;
        m_bForwardAccelerators = true;
    }
    auto* tabs = new QTabWidget(host);
    tabs->setGeometry(kMargin, kMargin, w + 2 * kMargin + 4, h + kTabBar + 4);
    m_pParentWnd = parent;
    // A modal sheet is its tab widget inside the carrying dialog; a modeless
    // one is its own window.
    if (modal)
        Attach(tabs, false);
    else
        Attach(host, true);
    m_tabs.clear();
    for (CPropertyPage* page : m_pages)
    {
        auto* container = new QWidget;
        CString caption = page->GetPageCaption();
        if (caption.IsEmpty())
            PageSize(page, &caption);
        tabs->addTab(container, ToQString(caption));
        m_tabs.push_back(container);
    }
    QObject::connect(tabs, &QTabWidget::currentChanged, tabs,
                     [this](int index)
                     {
                         CDispatchGuard guard;
                         OnTabChanged(index);
                     });
    m_nActive = -1;
    if (!m_pages.empty())
        SetActivePage(std::clamp(m_nStartPage, 0, GetPageCount() - 1));
    tabs->show();
    return TRUE;
}

int CPropertySheet::DoModal()
{
    m_pModal = std::make_unique<CSheetDialog>(this);
    const int result = m_pModal->DoModal();
    // The window is gone: forget the tab widget it held.
    Detach();
    for (CPropertyPage* page : m_pages)
        if (page->GetWidget())
            page->Detach();
    m_tabs.clear();
    m_nActive = -1;
    m_pModal.reset();
    return result;
}

BOOL CPropertySheet::Create(CWnd* parent, DWORD, DWORD)
{
    if (m_pWidget)
        return FALSE;
    if (!BuildWindow(parent, false))
        return FALSE;
    {
        CDispatchGuard guard;
        OnInitDialog();
    }
    GetOuterWidget()->show();
    return TRUE;
}

BOOL CPropertySheet::OnInitDialog() { return TRUE; }

void CPropertySheet::EndDialog(int result)
{
    if (m_pModal)
        m_pModal->EndDialog(result);
    else if (m_pWidget)
        GetOuterWidget()->hide();
}

BOOL CPropertySheet::ApplyAll()
{
    CDispatchGuard guard;
    if (CPropertyPage* active = GetPage(m_nActive))
        if (active->GetWidget() && !active->OnKillActive())
            return FALSE;
    for (CPropertyPage* page : m_pages)
        if (page->GetWidget() && !page->OnApply())
            return FALSE;
    return TRUE;
}

BOOL CPropertySheet::PressButton(UINT id)
{
    if (m_pModal)
        return m_pModal->PressButton(id);
    if (id == static_cast<UINT>(IDCANCEL))
    {
        CDispatchGuard guard;
        OnClose();
        return TRUE;
    }
    if (id == static_cast<UINT>(IDOK) || id == ID_APPLY_NOW)
        return ApplyAll();
    return FALSE;
}

BOOL CPropertySheet::PreTranslateMessage(MSG* pMsg)
{
    if (m_bForwardAccelerators && AfxTranslateMainAccelerator(pMsg))
        return TRUE;
    return FALSE;
}

void CPropertySheet::OnClose()
{
    if (m_pModal)
    {
        m_pModal->OnCancel();
        return;
    }
    DestroyWindow();
}
