#include "platform/ui/Button.h"

#include "platform/ui/ControlPrivate.h"
#include "platform/ui/DC.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/QtBridge.h"
#include "platform/ui/WndPrivate.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>

namespace
{
// Windows control text marks a mnemonic with '&' and writes "&&" for '&'.
QString StripMnemonics(const QString& text)
{
    QString out;
    for (int i = 0; i < text.size(); ++i)
    {
        if (text[i] == QLatin1Char('&'))
        {
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('&'))
            {
                out += QLatin1Char('&');
                ++i;
            }
            continue;
        }
        out += text[i];
    }
    return out;
}
}  // namespace

// ---------------------------------------------------------------------------
// Buttons

BOOL CButton::Create(const char* text, DWORD style, const CRect& rect, CWnd* parent, UINT id)
{
    if (m_pWidget || !parent || !parent->GetWidget())
        return FALSE;
    QWidget* pw = parent->GetWidget();
    m_dwStyle = style;
    QWidget* w = nullptr;
    const DWORD type = style & BS_TYPEMASK;
    const QString label = ToQString(text);
    switch (type)
    {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
    {
        auto* box = new QCheckBox(label, pw);
        box->setTristate(type == BS_3STATE || type == BS_AUTO3STATE);
        QObject::connect(box, &QCheckBox::clicked, box, [box] { NotifyParent(box, BN_CLICKED); });
        w = box;
        break;
    }
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
    {
        auto* radio = new QRadioButton(label, pw);
        radio->setAutoExclusive(false);
        QObject::connect(radio, &QRadioButton::clicked, radio,
                         [radio]
                         {
                             radio->setChecked(true);
                             NotifyParent(radio, BN_CLICKED);
                         });
        w = radio;
        break;
    }
    case BS_GROUPBOX:
    {
        auto* group = new QGroupBox(StripMnemonics(label), pw);
        w = group;
        break;
    }
    default:
    {
        auto* button = new QPushButton(label, pw);
        button->setAutoDefault(false);
        button->setDefault(type == BS_DEFPUSHBUTTON);
        QObject::connect(button, &QPushButton::clicked, button, [button] { NotifyParent(button, BN_CLICKED); });
        w = button;
        break;
    }
    }
    w->setGeometry(ToQRect(rect));
    AttachControl(w, parent, id);
    ShowControl(style);
    if (type == BS_GROUPBOX)
        w->lower();
    return TRUE;
}

int CButton::GetCheck() const
{
    if (auto* box = qobject_cast<QCheckBox*>(m_pWidget))
    {
        switch (box->checkState())
        {
        case Qt::Checked: return BST_CHECKED;
        case Qt::PartiallyChecked: return BST_INDETERMINATE;
        default: return BST_UNCHECKED;
        }
    }
    if (auto* button = qobject_cast<QAbstractButton*>(m_pWidget))
        return button->isChecked() ? BST_CHECKED : BST_UNCHECKED;
    return BST_UNCHECKED;
}

void CButton::SetCheck(int check)
{
    if (auto* box = qobject_cast<QCheckBox*>(m_pWidget))
    {
        box->setCheckState(check == BST_CHECKED         ? Qt::Checked
                           : check == BST_INDETERMINATE ? Qt::PartiallyChecked
                                                        : Qt::Unchecked);
        return;
    }
    if (auto* button = qobject_cast<QAbstractButton*>(m_pWidget))
    {
        if (button->isCheckable())
            button->setChecked(check == BST_CHECKED);
    }
}

UINT CButton::GetState() const
{
    UINT state = static_cast<UINT>(GetCheck());
    if (auto* button = qobject_cast<QAbstractButton*>(m_pWidget))
    {
        if (button->isDown())
            state |= 0x0004;
        if (button->hasFocus())
            state |= 0x0008;
    }
    return state;
}

void CButton::SetWindowText(const char* text)
{
    if (auto* button = qobject_cast<QAbstractButton*>(m_pWidget))
        button->setText(ToQString(text));
    else if (auto* group = qobject_cast<QGroupBox*>(m_pWidget))
        group->setTitle(StripMnemonics(ToQString(text)));
}

CString CButton::GetWindowText() const
{
    if (auto* button = qobject_cast<QAbstractButton*>(m_pWidget))
        return FromQString(button->text());
    if (auto* group = qobject_cast<QGroupBox*>(m_pWidget))
        return FromQString(group->title());
    return CString();
}

void CButton::Click()
{
    if (auto* button = qobject_cast<QAbstractButton*>(m_pWidget))
        if (button->isEnabled())
            button->click();
}

void CButton::SetGroup(QButtonGroup* group)
{
    if (auto* button = qobject_cast<QAbstractButton*>(m_pWidget))
        group->addButton(button);
}

void CButton::TakeOverFrom(CWnd& old)
{
    if (auto* o = dynamic_cast<CButton*>(&old))
        m_dwStyle = o->m_dwStyle;
}

// ---------------------------------------------------------------------------
// Statics

BOOL CStatic::Create(const char* text, DWORD style, const CRect& rect, CWnd* parent, UINT id)
{
    if (m_pWidget || !parent || !parent->GetWidget())
        return FALSE;
    auto* label = new QLabel(parent->GetWidget());
    label->setTextFormat(Qt::PlainText);
    const DWORD type = style & SS_TYPEMASK;
    Qt::Alignment align = Qt::AlignLeft;
    if (type == SS_CENTER)
        align = Qt::AlignHCenter;
    else if (type == SS_RIGHT)
        align = Qt::AlignRight;
    label->setAlignment(align | Qt::AlignTop);
    label->setWordWrap(type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT);
    if (style & SS_SUNKEN)
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setGeometry(ToQRect(rect));
    m_dwStyle = style;
    AttachControl(label, parent, id);
    label->setProperty("kdrText", ToQString(text));
    label->setText(StripMnemonics(ToMultiline(text)));
    GetBridge()->m_preFilter = [label](QObject* target, QEvent* event)
    {
        auto* self = Owner<CStatic>(label);
        if (self && target == label && event->type() == QEvent::MouseButtonRelease && (self->GetStyle() & SS_NOTIFY))
        {
            auto* me = static_cast<QMouseEvent*>(event);
            if (me->button() == Qt::LeftButton && label->rect().contains(me->position().toPoint()))
            {
                CDispatchGuard guard;
                self->OnClicked();
                return true;
            }
        }
        return false;
    };
    ShowControl(style);
    return TRUE;
}

void CStatic::SetWindowText(const char* text)
{
    if (auto* label = qobject_cast<QLabel*>(m_pWidget))
    {
        label->setProperty("kdrText", ToQString(text));
        label->setText(StripMnemonics(ToMultiline(text)));
    }
}

CString CStatic::GetWindowText() const
{
    if (!m_pWidget)
        return CString();
    QString s = m_pWidget->property("kdrText").toString();
    return FromQString(s);
}

void CStatic::SetTextColor(COLORREF color)
{
    if (!m_pWidget)
        return;
    QPalette pal = m_pWidget->palette();
    pal.setColor(QPalette::WindowText, ToQColor(color));
    m_pWidget->setPalette(pal);
}

void CStatic::SetUnderline(BOOL underline)
{
    if (!m_pWidget)
        return;
    QFont f = m_pWidget->font();
    f.setUnderline(underline != FALSE);
    m_pWidget->setFont(f);
}

void CStatic::SetHandCursor(BOOL hand)
{
    if (m_pWidget)
        m_pWidget->setCursor(hand ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void CStatic::SetFont(CFont* font)
{
    if (!m_pWidget || !font || !font->IsCreated())
        return;
    const LOGFONT& lf = font->GetLogFont();
    QFont f = m_pWidget->font();
    if (lf.lfFaceName[0])
        f.setFamily(ToQString(lf.lfFaceName));
    if (lf.lfHeight < 0)
        f.setPixelSize(-lf.lfHeight);
    f.setBold(lf.lfWeight >= 600);
    f.setItalic(lf.lfItalic != 0);
    f.setUnderline(lf.lfUnderline != 0);
    m_pWidget->setFont(f);
}

void CStatic::SetBitmap(CBitmap* bitmap)
{
    auto* label = qobject_cast<QLabel*>(m_pWidget);
    if (!label)
        return;
    if (bitmap && bitmap->GetImage())
        label->setPixmap(QPixmap::fromImage(*bitmap->GetImage()));
    else
        label->clear();
}

void CStatic::OnClicked()
{
    if (CWnd* p = GetParent())
    {
        if (auto* dlg = dynamic_cast<CDialog*>(p))
            dlg->OnCommand(m_nID, STN_CLICKED);
        else
            p->SendNotify(m_nID, STN_CLICKED);
    }
}

void CStatic::Click()
{
    if (m_pWidget && m_pWidget->isEnabled() && (m_dwStyle & SS_NOTIFY))
    {
        CDispatchGuard guard;
        OnClicked();
    }
}

void CStatic::TakeOverFrom(CWnd& old)
{
    if (auto* o = dynamic_cast<CStatic*>(&old))
        m_dwStyle = o->m_dwStyle;
}

// ---------------------------------------------------------------------------
// Buttons of a window's child controls

void CWnd::CheckDlgButton(UINT id, UINT check)
{
    if (auto* button = dynamic_cast<CButton*>(GetDlgItem(id)))
        button->SetCheck(static_cast<int>(check));
}

UINT CWnd::IsDlgButtonChecked(UINT id) const
{
    auto* button = dynamic_cast<CButton*>(GetDlgItem(id));
    return button ? static_cast<UINT>(button->GetCheck()) : BST_UNCHECKED;
}

void CWnd::CheckRadioButton(UINT firstId, UINT lastId, UINT checkId)
{
    for (UINT id = firstId; id <= lastId; ++id)
        if (auto* button = dynamic_cast<CButton*>(GetDlgItem(id)))
            button->SetCheck(id == checkId ? BST_CHECKED : BST_UNCHECKED);
}

UINT CWnd::GetCheckedRadioButton(UINT firstId, UINT lastId) const
{
    for (UINT id = firstId; id <= lastId; ++id)
        if (IsDlgButtonChecked(id) == BST_CHECKED)
            return id;
    return 0;
}
