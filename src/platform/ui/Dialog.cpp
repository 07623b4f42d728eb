#include "platform/ui/Dialog.h"

#include "platform/ui/App.h"
#include "platform/ui/ControlPrivate.h"
#include "platform/ui/Frame.h"
#include "platform/ui/PageView.h"
#include "platform/ui/QtBridge.h"
#include "platform/ui/WndPrivate.h"

#include <QButtonGroup>
#include <QDialog>
#include <QEventLoop>
#include <QKeyEvent>
#include <QPushButton>
#include <QWidget>

namespace
{
std::map<UINT, std::function<void(CDialogTemplate&)>>& TemplateBuilders()
{
    static std::map<UINT, std::function<void(CDialogTemplate&)>> map;
    return map;
}

// The dialog's widget: Enter and Escape become the dialog's commands. The
// dialog is looked up each time: the window may outlive its object by a
// turn of the event loop.
class CDialogWidget : public QDialog
{
public:
    explicit CDialogWidget(QWidget* parent) : QDialog(parent) {}

    void accept() override { Send(IDOK); }
    void reject() override { Send(IDCANCEL); }
    void done(int) override {}

private:
    void Send(UINT id)
    {
        if (auto* dialog = dynamic_cast<CDialog*>(CWnd::FromWidget(this)))
        {
            CDispatchGuard guard;
            dialog->OnCommand(id, BN_CLICKED);
        }
    }
};
}  // namespace

void NotifyParent(QObject* w, UINT code)
{
    CWnd* self = Owner<CWnd>(w);
    CWnd* parent = self ? self->GetParent() : nullptr;
    if (!parent)
        return;
    CDispatchGuard guard;
    if (auto* dlg = dynamic_cast<CDialog*>(parent))
        dlg->OnCommand(self->GetDlgCtrlID(), code);
    else
        parent->SendNotify(self->GetDlgCtrlID(), code);
}

void CWnd::AttachControl(QWidget* widget, CWnd* parent, UINT id)
{
    m_nID = id;
    m_pParentWnd = parent;
    parent->AddChild(this);
    Attach(widget, false);
}

void CWnd::ShowControl(DWORD style)
{
    if (style & WS_DISABLED)
        m_pWidget->setEnabled(false);
    m_pWidget->show();
}

// ---------------------------------------------------------------------------
// Dialogs

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nTemplateId(templateId) { m_pParentWnd = parent; }

CDialog::~CDialog()
{
    if (m_pLoop)
        m_pLoop->quit();
    // The window (and the controls' widgets with it) goes in the base
    // destructor; the control objects only let go of their widgets.
}

void CDialog::RegisterTemplate(UINT templateId, std::function<void(CDialogTemplate&)> builder)
{
    TemplateBuilders()[templateId] = std::move(builder);
}

void CDialog::BuildTemplate(CDialogTemplate& t)
{
    auto it = TemplateBuilders().find(m_nTemplateId);
    if (it != TemplateBuilders().end())
        it->second(t);
}

void CDialog::BindControl(UINT id, CWnd& control) { m_bound[id] = &control; }

CWnd* CDialog::CreateControl(const CControlTemplate& ct)
{
    auto pick = [&](auto* typed) -> decltype(typed)
    {
        using T = std::remove_pointer_t<decltype(typed)>;
        auto it = m_bound.find(ct.id);
        if (it != m_bound.end() && ct.id != IDC_STATIC)
        {
            if (auto* bound = dynamic_cast<T*>(it->second))
                if (!bound->GetWidget())
                    return bound;
        }
        auto owned = std::make_unique<T>();
        T* raw = owned.get();
        m_ownedControls.push_back(std::move(owned));
        return raw;
    };
    const DWORD visible = ct.style & ~WS_VISIBLE;
    switch (ct.kind)
    {
    case CControlKind::PushButton:
    case CControlKind::DefPushButton:
    case CControlKind::CheckBox:
    case CControlKind::RadioButton:
    case CControlKind::GroupBox:
    {
        CButton* button = pick(static_cast<CButton*>(nullptr));
        button->Create(ct.text, visible, ct.rect, this, ct.id);
        return button;
    }
    case CControlKind::Static:
    {
        CStatic* label = pick(static_cast<CStatic*>(nullptr));
        label->Create(ct.text, visible, ct.rect, this, ct.id);
        return label;
    }
    case CControlKind::Edit:
    {
        CEdit* edit = pick(static_cast<CEdit*>(nullptr));
        edit->Create(visible, ct.rect, this, ct.id);
        return edit;
    }
    case CControlKind::ListBox:
    {
        CListBox* list = pick(static_cast<CListBox*>(nullptr));
        list->Create(visible, ct.rect, this, ct.id);
        return list;
    }
    case CControlKind::ComboBox:
    {
        CComboBox* combo = pick(static_cast<CComboBox*>(nullptr));
        combo->Create(visible, ct.rect, this, ct.id);
        return combo;
    }
    case CControlKind::TreeCtrl:
    {
        CTreeCtrl* tree = pick(static_cast<CTreeCtrl*>(nullptr));
        tree->Create(visible, ct.rect, this, ct.id);
        return tree;
    }
    case CControlKind::Slider:
    {
        CSliderCtrl* slider = pick(static_cast<CSliderCtrl*>(nullptr));
        slider->Create(visible, ct.rect, this, ct.id);
        return slider;
    }
    case CControlKind::PageView:
    {
        CPageView* page = pick(static_cast<CPageView*>(nullptr));
        page->Create(ct.rect, this, ct.id);
        return page;
    }
    case CControlKind::Custom:
    {
        CWnd* wnd = pick(static_cast<CWnd*>(nullptr));
        wnd->CreateEx(0, nullptr, WS_CHILD | WS_VISIBLE | visible, ct.rect, this, ct.id);
        return wnd;
    }
    }
    return nullptr;
}

BOOL CDialog::CreateDialogWindow(CWnd* parent, bool modal, QWidget* container)
{
    if (m_pWidget)
        return FALSE;
    if (parent)
        m_pParentWnd = parent;
    CWnd* owner = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
    QWidget* ownerWidget = owner ? owner->GetWidget() : nullptr;
    if (ownerWidget)
        ownerWidget = ownerWidget->window();
    // Controls made for an earlier window of this dialog go.
    m_ownedControls.clear();
    CDialogTemplate t;
    BuildTemplate(t);
    QWidget* w = nullptr;
    if (container)
    {
        w = new QWidget(container);
        w->resize(t.m_size.cx, t.m_size.cy);
    }
    else
    {
        w = new CDialogWidget(ownerWidget);
        if (t.m_dwStyle & WS_THICKFRAME)
            w->resize(t.m_size.cx, t.m_size.cy);
        else
            w->setFixedSize(t.m_size.cx, t.m_size.cy);
    }
    w->setWindowTitle(ToQString(t.m_strCaption));
    m_bModal = modal;
    m_bEnded = false;
    m_nResult = IDCANCEL;
    m_bForwardAccelerators = m_bForwardAccelerators || !modal;
    Attach(w, true);
    m_order.clear();
    m_groupStarts.clear();
    QButtonGroup* group = nullptr;
    for (const CControlTemplate& ct : t.m_controls)
    {
        m_order.push_back(ct.id);
        const bool radio = ct.kind == CControlKind::RadioButton;
        if ((ct.style & WS_GROUP) || (radio && !group) || !radio)
            m_groupStarts.push_back(ct.id);
        if (!radio || (ct.style & WS_GROUP))
            group = nullptr;
        CWnd* ctl = CreateControl(ct);
        if (radio && ctl)
        {
            if (!group)
            {
                group = new QButtonGroup(w);
                group->setExclusive(true);
            }
            static_cast<CButton*>(ctl)->SetGroup(group);
        }
        if (ct.kind == CControlKind::DefPushButton)
            m_nDefId = ct.id;
    }
    return TRUE;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent)
{
    if (templateId)
        m_nTemplateId = templateId;
    if (!CreateDialogWindow(parent, false))
        return FALSE;
    BOOL ok = TRUE;
    {
        CDispatchGuard guard;
        ok = OnInitDialog();
    }
    (void)ok;
    if (m_pWidget && !m_bEnded)
        m_pWidget->show();
    return m_pWidget != nullptr;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

BOOL CDialog::UpdateData(BOOL saveAndValidate)
{
    CDataExchange dx(this, saveAndValidate);
    try
    {
        DoDataExchange(&dx);
    }
    catch (const CUserException&)
    {
        return FALSE;
    }
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::EndDialog(int result)
{
    m_nResult = result;
    m_bEnded = true;
    if (m_pLoop)
        m_pLoop->quit();
    if (!m_bModal && m_pWidget)
        m_pWidget->hide();
}

void CDialog::GotoDlgCtrl(CWnd* control)
{
    if (control)
        control->SetFocus();
}

void CDialog::SetDefID(UINT id)
{
    m_nDefId = id;
    for (CWnd* child : GetChildren())
        if (auto* button = qobject_cast<QPushButton*>(child->GetWidget()))
            button->setDefault(child->GetDlgCtrlID() == id);
}

int CDialog::DoModal() { return GetUiService().RunModalDialog(*this); }

BOOL CDialog::BeginModal()
{
    if (!CreateDialogWindow(nullptr, true))
        return FALSE;
    CDispatchGuard guard;
    OnInitDialog();
    return TRUE;
}

void CDialog::ShowModal()
{
    if (!m_pWidget)
        return;
    m_pWidget->setWindowModality(Qt::ApplicationModal);
    m_pWidget->show();
}

int CDialog::RunModalLoop()
{
    if (!m_pWidget || m_bEnded)
        return m_nResult;
    CModalLoopScope scope;
    QEventLoop loop;
    m_pLoop = &loop;
    loop.exec(QEventLoop::DialogExec);
    m_pLoop = nullptr;
    return m_nResult;
}

void CDialog::FinishModal()
{
    if (m_pWidget)
        DestroyWindow();
}

BOOL CDialog::OnCommand(UINT id, UINT code)
{
    if (HandleNotify(id, code))
        return TRUE;
    if (code != BN_CLICKED)
        return FALSE;
    if (HandleOwnCommand(id, nullptr))
        return TRUE;
    if (id == static_cast<UINT>(IDOK))
    {
        OnOK();
        return TRUE;
    }
    if (id == static_cast<UINT>(IDCANCEL))
    {
        OnCancel();
        return TRUE;
    }
    return FALSE;
}

BOOL CDialog::OnCmdMsg(UINT id, CCmdUI* pCmdUI)
{
    if (!pCmdUI)
        return OnCommand(id, BN_CLICKED);
    return HandleOwnCommand(id, pCmdUI);
}

BOOL CDialog::PressButton(UINT id)
{
    CWnd* ctl = GetDlgItem(id);
    if (auto* button = dynamic_cast<CButton*>(ctl))
    {
        if (!button->IsWindowEnabled())
            return FALSE;
        button->Click();
        return TRUE;
    }
    if (ctl && !ctl->IsWindowEnabled())
        return FALSE;
    CDispatchGuard guard;
    return OnCommand(id, BN_CLICKED);
}

void CDialog::PressEnter()
{
    CDispatchGuard guard;
    if (CWnd* def = GetDlgItem(m_nDefId))
    {
        if (!def->IsWindowEnabled())
            return;
    }
    OnCommand(m_nDefId, BN_CLICKED);
}

void CDialog::PressEscape()
{
    CDispatchGuard guard;
    OnCommand(IDCANCEL, BN_CLICKED);
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    if (m_bForwardAccelerators && AfxTranslateMainAccelerator(pMsg))
        return TRUE;
    return FALSE;
}

void CDialog::OnClose() { OnCommand(IDCANCEL, BN_CLICKED); }
