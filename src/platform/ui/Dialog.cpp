#include "platform/ui/Dialog.h"

#include "platform/ui/App.h"
#include "platform/ui/Frame.h"
#include "platform/ui/PageView.h"
#include "platform/ui/QtBridge.h"
#include "platform/ui/WndPrivate.h"

#include <QAbstractItemDelegate>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QEventLoop>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QSlider>
#include <QStyledItemDelegate>
#include <QTreeWidget>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <unordered_set>

namespace
{
std::map<UINT, std::function<void(CDialogTemplate&)>>& TemplateBuilders()
{
    static std::map<UINT, std::function<void(CDialogTemplate&)>> map;
    return map;
}

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

QString ToMultiline(const CString& text)
{
    QString s = ToQString(text);
    s.remove(QLatin1Char('\r'));
    return s;
}

CString FromMultiline(const QString& text)
{
    QString s = text;
    s.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return FromQString(s);
}

bool StartsWithNoCase(const CString& text, const char* prefix)
{
    const CString p(prefix);
    return text.Left(p.GetLength()).CompareNoCase(p) == 0;
}

// The list and combo boxes search and select by their item texts alike;
// they differ only in the name of the text getter. The search starts after
// start and wraps round.
template <class Box>
int FindFrom(const Box& box, CString (Box::*text)(int) const, int start,
             const std::function<bool(const CString&)>& match)
{
    const int count = box.GetCount();
    if (count <= 0)
        return -1;
    int first = (start < 0 || start >= count) ? 0 : start + 1;
    for (int n = 0; n < count; ++n)
    {
        const int i = (first + n) % count;
        if (match((box.*text)(i)))
            return i;
    }
    return -1;
}

template <class Box>
int FindPrefixIn(const Box& box, CString (Box::*text)(int) const, int start, const char* prefix)
{
    const CString p(prefix);
    return FindFrom(box, text, start, [&p](const CString& t) { return StartsWithNoCase(t, p); });
}

template <class Box>
int FindExactIn(const Box& box, CString (Box::*text)(int) const, int start, const char* wanted)
{
    const CString want(wanted);
    return FindFrom(box, text, start, [&want](const CString& t) { return t.CompareNoCase(want) == 0; });
}

template <class Box>
int SelectPrefixIn(Box& box, int start, const char* prefix)
{
    const int index = box.FindString(start, prefix);
    if (index >= 0)
        box.SetCurSel(index);
    return index;
}

// Pixels of one horizontal dialog unit in a widget's font.
double DialogUnit(const QWidget* w) { return w->fontMetrics().averageCharWidth() / 4.0; }

// Draws list texts with the list's tab stops and reports the horizontal extent.
class CListDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    std::vector<int> stops;  // pixels
    int extent = 0;

    int NextStop(int x, const QFontMetrics& fm) const
    {
        for (int s : stops)
            if (s > x)
                return s;
        const int every = stops.empty() ? fm.averageCharWidth() * 8
                                        : (stops.size() == 1 ? stops.front() : stops.back() - stops[stops.size() - 2]);
        if (every <= 0)
            return x + fm.averageCharWidth();
        const int last = stops.empty() ? 0 : stops.back();
        return x < last ? last : last + ((x - last) / every + 1) * every;
    }

    int TextWidth(const QString& text, const QFontMetrics& fm) const
    {
        int x = 0;
        const QStringList parts = text.split(QLatin1Char('\t'));
        for (int i = 0; i < parts.size(); ++i)
        {
            if (i > 0)
                x = NextStop(x, fm);
            x += fm.horizontalAdvance(parts[i]);
        }
        return x;
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QString text = opt.text;
        opt.text.clear();
        const QWidget* widget = opt.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
        const QFontMetrics fm(opt.font);
        painter->save();
        painter->setPen(
            opt.palette.color((opt.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text));
        int x = opt.rect.left() + 2;
        const int base = opt.rect.left() + 2;
        const int y = opt.rect.top() + (opt.rect.height() - fm.height()) / 2 + fm.ascent();
        const QStringList parts = text.split(QLatin1Char('\t'));
        for (int i = 0; i < parts.size(); ++i)
        {
            if (i > 0)
                x = base + NextStop(x - base, fm);
            painter->drawText(x, y, parts[i]);
            x += fm.horizontalAdvance(parts[i]);
        }
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize s = QStyledItemDelegate::sizeHint(option, index);
        const QFontMetrics fm(option.font);
        const int w = std::max(extent, TextWidth(index.data().toString(), fm) + 4);
        s.setWidth(w);
        return s;
    }
};

// The control a widget is bound to now: a member control may have taken
// the widget over after the connection was made, so handlers look it up.
template <class T>
T* Owner(QObject* w)
{
    return dynamic_cast<T*>(CWnd::FromWidget(qobject_cast<QWidget*>(w)));
}

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

QTreeWidgetItem* ItemOf(HTREEITEM h) { return reinterpret_cast<QTreeWidgetItem*>(h); }
HTREEITEM HandleOf(QTreeWidgetItem* item) { return reinterpret_cast<HTREEITEM>(item); }

constexpr int kImageRole = Qt::UserRole + 1;
constexpr int kSelImageRole = Qt::UserRole + 2;
constexpr int kDataRole = Qt::UserRole + 3;
}  // namespace

const HTREEITEM TVI_ROOT = reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x10000));
const HTREEITEM TVI_FIRST = reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x0FFFF));
const HTREEITEM TVI_LAST = reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x0FFFE));
const HTREEITEM TVI_SORT = reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x0FFFD));

// ---------------------------------------------------------------------------
// Templates

CDialogTemplate& CDialogTemplate::Caption(const char* caption)
{
    m_strCaption = caption;
    return *this;
}

CDialogTemplate& CDialogTemplate::Size(int width, int height)
{
    m_size = CSize(width, height);
    return *this;
}

CDialogTemplate& CDialogTemplate::Style(DWORD style)
{
    m_dwStyle = style;
    return *this;
}

CDialogTemplate& CDialogTemplate::Control(CControlKind kind, UINT id, const char* text, const CRect& rect, DWORD style)
{
    CControlTemplate ct;
    ct.kind = kind;
    ct.id = id;
    ct.text = text;
    ct.rect = rect;
    ct.style = style;
    m_controls.push_back(ct);
    return *this;
}

CDialogTemplate& CDialogTemplate::PushButton(UINT id, const char* text, int x, int y, int w, int h, DWORD style)
{
    return Control(CControlKind::PushButton, id, text, CRect(x, y, x + w, y + h), style | BS_PUSHBUTTON);
}

CDialogTemplate& CDialogTemplate::DefPushButton(UINT id, const char* text, int x, int y, int w, int h, DWORD style)
{
    return Control(CControlKind::DefPushButton, id, text, CRect(x, y, x + w, y + h), style | BS_DEFPUSHBUTTON);
}

CDialogTemplate& CDialogTemplate::CheckBox(UINT id, const char* text, int x, int y, int w, int h, DWORD style)
{
    return Control(CControlKind::CheckBox, id, text, CRect(x, y, x + w, y + h), style | BS_AUTOCHECKBOX);
}

CDialogTemplate& CDialogTemplate::RadioButton(UINT id, const char* text, int x, int y, int w, int h, DWORD style)
{
    return Control(CControlKind::RadioButton, id, text, CRect(x, y, x + w, y + h), style | BS_AUTORADIOBUTTON);
}

CDialogTemplate& CDialogTemplate::GroupBox(UINT id, const char* text, int x, int y, int w, int h, DWORD style)
{
    return Control(CControlKind::GroupBox, id, text, CRect(x, y, x + w, y + h), style | BS_GROUPBOX);
}

CDialogTemplate& CDialogTemplate::Static(UINT id, const char* text, int x, int y, int w, int h, DWORD style)
{
    return Control(CControlKind::Static, id, text, CRect(x, y, x + w, y + h), style);
}

CDialogTemplate& CDialogTemplate::Edit(UINT id, int x, int y, int w, int h, DWORD style)
{
    return Control(CControlKind::Edit, id, "", CRect(x, y, x + w, y + h), style);
}

CDialogTemplate& CDialogTemplate::ListBox(UINT id, int x, int y, int w, int h, DWORD style)
{
    return Control(CControlKind::ListBox, id, "", CRect(x, y, x + w, y + h), style);
}

CDialogTemplate& CDialogTemplate::ComboBox(UINT id, int x, int y, int w, int h, DWORD style)
{
    return Control(CControlKind::ComboBox, id, "", CRect(x, y, x + w, y + h), style);
}

CDialogTemplate& CDialogTemplate::TreeCtrl(UINT id, int x, int y, int w, int h, DWORD style)
{
    return Control(CControlKind::TreeCtrl, id, "", CRect(x, y, x + w, y + h), style);
}

CDialogTemplate& CDialogTemplate::Slider(UINT id, int x, int y, int w, int h, DWORD style)
{
    return Control(CControlKind::Slider, id, "", CRect(x, y, x + w, y + h), style);
}

CDialogTemplate& CDialogTemplate::PageView(UINT id, int x, int y, int w, int h)
{
    return Control(CControlKind::PageView, id, "", CRect(x, y, x + w, y + h), 0);
}

CDialogTemplate& CDialogTemplate::Custom(UINT id, int x, int y, int w, int h, DWORD style)
{
    return Control(CControlKind::Custom, id, "", CRect(x, y, x + w, y + h), style);
}

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
    m_nID = id;
    m_pParentWnd = parent;
    parent->AddChild(this);
    Attach(w, false);
    if (style & WS_DISABLED)
        w->setEnabled(false);
    w->show();
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
    m_nID = id;
    m_pParentWnd = parent;
    parent->AddChild(this);
    Attach(label, false);
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
    if (style & WS_DISABLED)
        label->setEnabled(false);
    label->show();
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

// ---------------------------------------------------------------------------
// Edits

BOOL CEdit::Create(DWORD style, const CRect& rect, CWnd* parent, UINT id)
{
    if (m_pWidget || !parent || !parent->GetWidget())
        return FALSE;
    QWidget* pw = parent->GetWidget();
    m_dwStyle = style;
    m_nID = id;
    m_pParentWnd = parent;
    QWidget* w = nullptr;
    if (style & ES_MULTILINE)
    {
        auto* edit = new QPlainTextEdit(pw);
        edit->setReadOnly(style & ES_READONLY);
        edit->setLineWrapMode((style & WS_HSCROLL) || (style & ES_AUTOHSCROLL) ? QPlainTextEdit::NoWrap
                                                                               : QPlainTextEdit::WidgetWidth);
        edit->setTabChangesFocus(true);
        QObject::connect(edit, &QPlainTextEdit::textChanged, edit,
                         [edit]
                         {
                             const int limit = edit->property("kdrLimit").toInt();
                             if (limit > 0 && edit->toPlainText().size() > limit)
                             {
                                 const QSignalBlocker block(edit);
                                 QTextCursor cursor = edit->textCursor();
                                 edit->setPlainText(edit->toPlainText().left(limit));
                                 cursor.setPosition(limit);
                                 edit->setTextCursor(cursor);
                             }
                             if (!edit->property("kdrSilent").toBool())
                                 NotifyParent(edit, EN_CHANGE);
                         });
        w = edit;
    }
    else
    {
        auto* edit = new QLineEdit(pw);
        edit->setReadOnly(style & ES_READONLY);
        if (style & ES_PASSWORD)
            edit->setEchoMode(QLineEdit::Password);
        if (style & ES_NUMBER)
            edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
        if (style & ES_CENTER)
            edit->setAlignment(Qt::AlignHCenter);
        else if (style & ES_RIGHT)
            edit->setAlignment(Qt::AlignRight);
        QObject::connect(edit, &QLineEdit::textChanged, edit,
                         [edit]
                         {
                             if (!edit->property("kdrSilent").toBool())
                                 NotifyParent(edit, EN_CHANGE);
                         });
        QObject::connect(edit, &QLineEdit::editingFinished, edit, [edit] { NotifyParent(edit, EN_KILLFOCUS); });
        w = edit;
    }
    w->setGeometry(ToQRect(rect));
    parent->AddChild(this);
    Attach(w, false);
    if (style & WS_DISABLED)
        w->setEnabled(false);
    w->show();
    return TRUE;
}

void CEdit::SetWindowText(const char* text)
{
    if (auto* edit = qobject_cast<QLineEdit*>(m_pWidget))
    {
        edit->setText(ToMultiline(text));
    }
    else if (auto* edit2 = qobject_cast<QPlainTextEdit*>(m_pWidget))
    {
        edit2->setPlainText(ToMultiline(text));
    }
}

CString CEdit::GetWindowText() const
{
    if (auto* edit = qobject_cast<QLineEdit*>(m_pWidget))
        return FromQString(edit->text());
    if (auto* edit2 = qobject_cast<QPlainTextEdit*>(m_pWidget))
        return FromMultiline(edit2->toPlainText());
    return CString();
}

void CEdit::LimitText(int maxChars)
{
    if (auto* edit = qobject_cast<QLineEdit*>(m_pWidget))
        edit->setMaxLength(maxChars > 0 ? maxChars : 32767);
    else if (m_pWidget)
        m_pWidget->setProperty("kdrLimit", maxChars > 0 ? maxChars : 0);
}

int CEdit::GetLimitText() const
{
    if (auto* edit = qobject_cast<QLineEdit*>(m_pWidget))
        return edit->maxLength();
    if (m_pWidget)
    {
        const int limit = m_pWidget->property("kdrLimit").toInt();
        return limit > 0 ? limit : 32767;
    }
    return 0;
}

BOOL CEdit::SetReadOnly(BOOL readOnly)
{
    if (auto* edit = qobject_cast<QLineEdit*>(m_pWidget))
        edit->setReadOnly(readOnly != FALSE);
    else if (auto* edit2 = qobject_cast<QPlainTextEdit*>(m_pWidget))
        edit2->setReadOnly(readOnly != FALSE);
    else
        return FALSE;
    if (readOnly)
        m_dwStyle |= ES_READONLY;
    else
        m_dwStyle &= ~ES_READONLY;
    return TRUE;
}

BOOL CEdit::IsReadOnly() const
{
    if (auto* edit = qobject_cast<QLineEdit*>(m_pWidget))
        return edit->isReadOnly();
    if (auto* edit2 = qobject_cast<QPlainTextEdit*>(m_pWidget))
        return edit2->isReadOnly();
    return FALSE;
}

void CEdit::SetSel(int start, int end, BOOL)
{
    if (auto* edit = qobject_cast<QLineEdit*>(m_pWidget))
    {
        const int len = static_cast<int>(edit->text().size());
        if (start == -1)
        {
            edit->deselect();
            return;
        }
        if (end < 0 || end > len)
            end = len;
        start = std::clamp(start, 0, len);
        edit->setSelection(start, end - start);
    }
    else if (auto* edit2 = qobject_cast<QPlainTextEdit*>(m_pWidget))
    {
        QTextCursor c = edit2->textCursor();
        const int len = static_cast<int>(edit2->toPlainText().size());
        if (end < 0 || end > len)
            end = len;
        c.setPosition(std::clamp(start, 0, len));
        c.setPosition(end, QTextCursor::KeepAnchor);
        edit2->setTextCursor(c);
    }
}

void CEdit::GetSel(int& start, int& end) const
{
    start = end = 0;
    if (auto* edit = qobject_cast<QLineEdit*>(m_pWidget))
    {
        if (edit->hasSelectedText())
        {
            start = edit->selectionStart();
            end = start + static_cast<int>(edit->selectedText().size());
        }
        else
        {
            start = end = edit->cursorPosition();
        }
    }
    else if (auto* edit2 = qobject_cast<QPlainTextEdit*>(m_pWidget))
    {
        const QTextCursor c = edit2->textCursor();
        start = c.selectionStart();
        end = c.selectionEnd();
    }
}

void CEdit::ReplaceSel(const char* text, BOOL)
{
    if (auto* edit = qobject_cast<QLineEdit*>(m_pWidget))
        edit->insert(ToMultiline(text));
    else if (auto* edit2 = qobject_cast<QPlainTextEdit*>(m_pWidget))
        edit2->insertPlainText(ToMultiline(text));
}

int CEdit::GetLineCount() const
{
    if (auto* edit2 = qobject_cast<QPlainTextEdit*>(m_pWidget))
        return edit2->document()->blockCount();
    return 1;
}

void CEdit::LineScroll(int lines, int)
{
    if (auto* edit2 = qobject_cast<QPlainTextEdit*>(m_pWidget))
    {
        QScrollBar* bar = edit2->verticalScrollBar();
        bar->setValue(bar->value() + lines);
    }
}

void CEdit::TypeText(const char* text)
{
    if (auto* edit = qobject_cast<QLineEdit*>(m_pWidget))
    {
        // Typed characters pass the length limit and the validator as keys would.
        for (QChar ch : ToMultiline(text))
        {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
            QCoreApplication::sendEvent(edit, &press);
        }
    }
    else if (auto* edit2 = qobject_cast<QPlainTextEdit*>(m_pWidget))
    {
        edit2->insertPlainText(ToMultiline(text));
    }
}

// ---------------------------------------------------------------------------
// List boxes

namespace
{
QListWidget* ListOf(QWidget* w) { return qobject_cast<QListWidget*>(w); }
CListDelegate* DelegateOf(QListWidget* list)
{
    return list ? dynamic_cast<CListDelegate*>(list->itemDelegate()) : nullptr;
}
}  // namespace

BOOL CListBox::Create(DWORD style, const CRect& rect, CWnd* parent, UINT id)
{
    if (m_pWidget || !parent || !parent->GetWidget())
        return FALSE;
    auto* list = new QListWidget(parent->GetWidget());
    list->setItemDelegate(new CListDelegate(list));
    list->setUniformItemSizes(true);
    if (style & LBS_EXTENDEDSEL)
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    else if (style & LBS_MULTIPLESEL)
        list->setSelectionMode(QAbstractItemView::MultiSelection);
    else
        list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setHorizontalScrollBarPolicy((style & WS_HSCROLL) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    list->setGeometry(ToQRect(rect));
    m_dwStyle = style;
    m_nID = id;
    m_pParentWnd = parent;
    auto notify = [list](UINT code)
    {
        auto* self = Owner<CListBox>(list);
        if (self && (self->GetStyle() & LBS_NOTIFY))
            NotifyParent(list, code);
    };
    QObject::connect(list, &QListWidget::itemSelectionChanged, list, [notify] { notify(LBN_SELCHANGE); });
    QObject::connect(list, &QListWidget::itemDoubleClicked, list, [notify] { notify(LBN_DBLCLK); });
    parent->AddChild(this);
    Attach(list, false);
    GetBridge()->AddEventSource(list->viewport());
    if (style & WS_DISABLED)
        list->setEnabled(false);
    list->show();
    return TRUE;
}

int CListBox::AddString(const char* text)
{
    QListWidget* list = ListOf(m_pWidget);
    if (!list)
        return LB_ERR;
    const QSignalBlocker block(list);
    int index = list->count();
    if (m_dwStyle & LBS_SORT)
    {
        const CString t(text);
        index = 0;
        while (index < list->count() && FromQString(list->item(index)->text()).CompareNoCase(t) <= 0)
            ++index;
    }
    list->insertItem(index, ToQString(text));
    return index;
}

int CListBox::InsertString(int index, const char* text)
{
    QListWidget* list = ListOf(m_pWidget);
    if (!list || index > list->count())
        return LB_ERR;
    const QSignalBlocker block(list);
    if (index < 0)
        index = list->count();
    list->insertItem(index, ToQString(text));
    return index;
}

int CListBox::DeleteString(int index)
{
    QListWidget* list = ListOf(m_pWidget);
    if (!list || index < 0 || index >= list->count())
        return LB_ERR;
    const QSignalBlocker block(list);
    delete list->takeItem(index);
    return list->count();
}

void CListBox::ResetContent()
{
    if (QListWidget* list = ListOf(m_pWidget))
    {
        const QSignalBlocker block(list);
        list->clear();
    }
}

int CListBox::GetCount() const
{
    QListWidget* list = ListOf(m_pWidget);
    return list ? list->count() : LB_ERR;
}

int CListBox::GetCurSel() const
{
    QListWidget* list = ListOf(m_pWidget);
    if (!list)
        return LB_ERR;
    if (list->selectionMode() == QAbstractItemView::SingleSelection)
    {
        const QList<QListWidgetItem*> selected = list->selectedItems();
        return selected.isEmpty() ? LB_ERR : list->row(selected.front());
    }
    return list->currentRow() >= 0 ? list->currentRow() : LB_ERR;
}

int CListBox::SetCurSel(int index)
{
    QListWidget* list = ListOf(m_pWidget);
    if (!list)
        return LB_ERR;
    const QSignalBlocker block(list);
    if (index < 0 || index >= list->count())
    {
        list->clearSelection();
        list->setCurrentRow(-1);
        return index == -1 ? LB_OKAY : LB_ERR;
    }
    list->setCurrentRow(index);
    list->item(index)->setSelected(true);
    list->scrollToItem(list->item(index));
    return index;
}

int CListBox::GetText(int index, CString& text) const
{
    QListWidget* list = ListOf(m_pWidget);
    if (!list || index < 0 || index >= list->count())
    {
        text.Empty();
        return LB_ERR;
    }
    text = FromQString(list->item(index)->text());
    return text.GetLength();
}

CString CListBox::GetText(int index) const
{
    CString text;
    GetText(index, text);
    return text;
}

int CListBox::GetTextLen(int index) const
{
    CString text;
    return GetText(index, text);
}

int CListBox::FindString(int start, const char* prefix) const
{
    return FindPrefixIn(*this, &CListBox::GetText, start, prefix);
}

int CListBox::FindStringExact(int start, const char* text) const
{
    return FindExactIn(*this, &CListBox::GetText, start, text);
}

int CListBox::SelectString(int start, const char* prefix) { return SelectPrefixIn(*this, start, prefix); }

int CListBox::SetItemData(int index, DWORD_PTR data)
{
    QListWidget* list = ListOf(m_pWidget);
    if (!list || index < 0 || index >= list->count())
        return LB_ERR;
    list->item(index)->setData(Qt::UserRole, QVariant::fromValue<qulonglong>(data));
    return LB_OKAY;
}

DWORD_PTR CListBox::GetItemData(int index) const
{
    QListWidget* list = ListOf(m_pWidget);
    if (!list || index < 0 || index >= list->count())
        return static_cast<DWORD_PTR>(LB_ERR);
    return static_cast<DWORD_PTR>(list->item(index)->data(Qt::UserRole).toULongLong());
}

BOOL CListBox::SetTabStops(int count, const int* stops)
{
    QListWidget* list = ListOf(m_pWidget);
    CListDelegate* d = DelegateOf(list);
    if (!d || count < 0 || (count > 0 && !stops))
        return FALSE;
    const double unit = DialogUnit(list);
    d->stops.clear();
    for (int i = 0; i < count; ++i)
        d->stops.push_back(static_cast<int>(std::lround(stops[i] * unit)));
    list->doItemsLayout();
    list->viewport()->update();
    return TRUE;
}

void CListBox::SetHorizontalExtent(int pixels)
{
    QListWidget* list = ListOf(m_pWidget);
    CListDelegate* d = DelegateOf(list);
    if (!d)
        return;
    d->extent = std::max(0, pixels);
    list->setUniformItemSizes(false);
    list->doItemsLayout();
    list->setUniformItemSizes(true);
    list->viewport()->update();
}

int CListBox::GetHorizontalExtent() const
{
    CListDelegate* d = DelegateOf(ListOf(m_pWidget));
    return d ? d->extent : 0;
}

int CListBox::GetTopIndex() const
{
    QListWidget* list = ListOf(m_pWidget);
    if (!list)
        return LB_ERR;
    QListWidgetItem* item = list->itemAt(2, 2);
    return item ? list->row(item) : 0;
}

int CListBox::SetTopIndex(int index)
{
    QListWidget* list = ListOf(m_pWidget);
    if (!list || index < 0 || index >= list->count())
        return LB_ERR;
    list->scrollToItem(list->item(index), QAbstractItemView::PositionAtTop);
    return LB_OKAY;
}

int CListBox::GetSelCount() const
{
    QListWidget* list = ListOf(m_pWidget);
    return list ? static_cast<int>(list->selectedItems().size()) : LB_ERR;
}

int CListBox::GetSel(int index) const
{
    QListWidget* list = ListOf(m_pWidget);
    if (!list || index < 0 || index >= list->count())
        return LB_ERR;
    return list->item(index)->isSelected() ? 1 : 0;
}

int CListBox::SetSel(int index, BOOL select)
{
    QListWidget* list = ListOf(m_pWidget);
    if (!list)
        return LB_ERR;
    const QSignalBlocker block(list);
    if (index == -1)
    {
        for (int i = 0; i < list->count(); ++i)
            list->item(i)->setSelected(select != FALSE);
        return LB_OKAY;
    }
    if (index < 0 || index >= list->count())
        return LB_ERR;
    list->item(index)->setSelected(select != FALSE);
    return LB_OKAY;
}

void CListBox::ClickItem(int index)
{
    QListWidget* list = ListOf(m_pWidget);
    if (!list || !list->isEnabled() || index < 0 || index >= list->count())
        return;
    list->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
}

void CListBox::DoubleClickItem(int index)
{
    QListWidget* list = ListOf(m_pWidget);
    if (!list || !list->isEnabled() || index < 0 || index >= list->count())
        return;
    ClickItem(index);
    emit list->itemDoubleClicked(list->item(index));
}

// ---------------------------------------------------------------------------
// Combo boxes

namespace
{
QComboBox* ComboOf(QWidget* w) { return qobject_cast<QComboBox*>(w); }
}  // namespace

BOOL CComboBox::Create(DWORD style, const CRect& rect, CWnd* parent, UINT id)
{
    if (m_pWidget || !parent || !parent->GetWidget())
        return FALSE;
    auto* combo = new QComboBox(parent->GetWidget());
    const DWORD type = style & 0x3;
    combo->setEditable(type == CBS_DROPDOWN || type == CBS_SIMPLE);
    if (combo->isEditable())
        combo->setInsertPolicy(QComboBox::NoInsert);
    // A combo's template height includes its drop-down list.
    QRect g = ToQRect(rect);
    g.setHeight(std::min(g.height(), combo->sizeHint().height()));
    combo->setGeometry(g);
    m_dwStyle = style;
    m_nID = id;
    m_pParentWnd = parent;
    auto notify = [combo](UINT code) { NotifyParent(combo, code); };
    QObject::connect(combo, &QComboBox::activated, combo, [notify] { notify(CBN_SELCHANGE); });
    if (combo->isEditable())
        QObject::connect(combo->lineEdit(), &QLineEdit::textEdited, combo, [notify] { notify(CBN_EDITCHANGE); });
    parent->AddChild(this);
    Attach(combo, false);
    if (style & WS_DISABLED)
        combo->setEnabled(false);
    combo->show();
    return TRUE;
}

int CComboBox::AddString(const char* text)
{
    QComboBox* combo = ComboOf(m_pWidget);
    if (!combo)
        return CB_ERR;
    const QSignalBlocker block(combo);
    int index = combo->count();
    if (m_dwStyle & CBS_SORT)
    {
        const CString t(text);
        index = 0;
        while (index < combo->count() && FromQString(combo->itemText(index)).CompareNoCase(t) <= 0)
            ++index;
    }
    const bool editable = combo->isEditable();
    const QString current = editable ? combo->currentText() : QString();
    const int sel = combo->currentIndex();
    combo->insertItem(index, ToQString(text));
    // Windows lists keep no selection until one is made.
    if (sel < 0)
        combo->setCurrentIndex(-1);
    if (editable)
        combo->setEditText(current);
    return index;
}

int CComboBox::InsertString(int index, const char* text)
{
    QComboBox* combo = ComboOf(m_pWidget);
    if (!combo || index > combo->count())
        return CB_ERR;
    const QSignalBlocker block(combo);
    if (index < 0)
        index = combo->count();
    const int sel = combo->currentIndex();
    combo->insertItem(index, ToQString(text));
    if (sel < 0)
        combo->setCurrentIndex(-1);
    return index;
}

int CComboBox::DeleteString(int index)
{
    QComboBox* combo = ComboOf(m_pWidget);
    if (!combo || index < 0 || index >= combo->count())
        return CB_ERR;
    const QSignalBlocker block(combo);
    combo->removeItem(index);
    return combo->count();
}

void CComboBox::ResetContent()
{
    if (QComboBox* combo = ComboOf(m_pWidget))
    {
        const QSignalBlocker block(combo);
        combo->clear();
    }
}

int CComboBox::GetCount() const
{
    QComboBox* combo = ComboOf(m_pWidget);
    return combo ? combo->count() : CB_ERR;
}

int CComboBox::GetCurSel() const
{
    QComboBox* combo = ComboOf(m_pWidget);
    return combo && combo->currentIndex() >= 0 ? combo->currentIndex() : CB_ERR;
}

int CComboBox::SetCurSel(int index)
{
    QComboBox* combo = ComboOf(m_pWidget);
    if (!combo)
        return CB_ERR;
    const QSignalBlocker block(combo);
    if (index < 0 || index >= combo->count())
    {
        combo->setCurrentIndex(-1);
        return CB_ERR;
    }
    combo->setCurrentIndex(index);
    return index;
}

int CComboBox::GetLBText(int index, CString& text) const
{
    QComboBox* combo = ComboOf(m_pWidget);
    if (!combo || index < 0 || index >= combo->count())
    {
        text.Empty();
        return CB_ERR;
    }
    text = FromQString(combo->itemText(index));
    return text.GetLength();
}

CString CComboBox::GetLBText(int index) const
{
    CString text;
    GetLBText(index, text);
    return text;
}

int CComboBox::GetLBTextLen(int index) const
{
    CString text;
    return GetLBText(index, text);
}

int CComboBox::FindString(int start, const char* prefix) const
{
    return FindPrefixIn(*this, &CComboBox::GetLBText, start, prefix);
}

int CComboBox::FindStringExact(int start, const char* text) const
{
    return FindExactIn(*this, &CComboBox::GetLBText, start, text);
}

int CComboBox::SelectString(int start, const char* prefix) { return SelectPrefixIn(*this, start, prefix); }

int CComboBox::SetItemData(int index, DWORD_PTR data)
{
    QComboBox* combo = ComboOf(m_pWidget);
    if (!combo || index < 0 || index >= combo->count())
        return CB_ERR;
    combo->setItemData(index, QVariant::fromValue<qulonglong>(data));
    return 0;
}

DWORD_PTR CComboBox::GetItemData(int index) const
{
    QComboBox* combo = ComboOf(m_pWidget);
    if (!combo || index < 0 || index >= combo->count())
        return static_cast<DWORD_PTR>(CB_ERR);
    return static_cast<DWORD_PTR>(combo->itemData(index).toULongLong());
}

BOOL CComboBox::LimitText(int maxChars)
{
    QComboBox* combo = ComboOf(m_pWidget);
    if (!combo || !combo->isEditable())
        return FALSE;
    combo->lineEdit()->setMaxLength(maxChars > 0 ? maxChars : 32767);
    return TRUE;
}

void CComboBox::SetWindowText(const char* text)
{
    QComboBox* combo = ComboOf(m_pWidget);
    if (!combo)
        return;
    const QSignalBlocker block(combo);
    if (combo->isEditable())
    {
        combo->setEditText(ToQString(text));
    }
    else
    {
        const int index = combo->findText(ToQString(text));
        combo->setCurrentIndex(index);
    }
}

CString CComboBox::GetWindowText() const
{
    QComboBox* combo = ComboOf(m_pWidget);
    return combo ? FromQString(combo->currentText()) : CString();
}

void CComboBox::SelectItem(int index)
{
    QComboBox* combo = ComboOf(m_pWidget);
    if (!combo || !combo->isEnabled() || index < 0 || index >= combo->count())
        return;
    {
        const QSignalBlocker block(combo);
        combo->setCurrentIndex(index);
    }
    emit combo->activated(index);
}

// ---------------------------------------------------------------------------
// Tree controls

// The tree's widget: label editing goes through the control's hooks, and a
// press-and-move does not select along the way (dragging is the control's).
class CTreeWidget : public QTreeWidget
{
public:
    CTreeWidget(CTreeCtrl* ctrl, QWidget* parent) : QTreeWidget(parent), m_pCtrl(ctrl) {}

    void Forget() { m_pCtrl = nullptr; }
    void SetCtrl(CTreeCtrl* ctrl) { m_pCtrl = ctrl; }
    QTreeWidgetItem* EditItem() const { return m_editItem; }
    QWidget* Editor() const { return m_editItem ? indexWidget(indexFromItem(m_editItem)) : nullptr; }

    void Finish(bool cancel)
    {
        QWidget* editor = Editor();
        if (!editor)
            return;
        if (!cancel)
            commitData(editor);
        closeEditor(editor, cancel ? QAbstractItemDelegate::RevertModelCache : QAbstractItemDelegate::NoHint);
    }

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override
    {
        if (m_editItem)
            return false;
        QTreeWidgetItem* item = itemFromIndex(index);
        if (!item || !m_pCtrl)
            return false;
        if (trigger != AllEditTriggers && !(editTriggers() & trigger))
            return false;
        if (trigger == AllEditTriggers && !(m_pCtrl->m_dwStyle & TVS_EDITLABELS))
            return false;
        {
            CDispatchGuard guard;
            if (!m_pCtrl->OnBeginLabelEdit(HandleOf(item)))
                return false;
        }
        m_editItem = item;
        m_committed = false;
        item->setFlags(item->flags() | Qt::ItemIsEditable);
        const bool started = QTreeWidget::edit(index, AllEditTriggers, event);
        item->setFlags(item->flags() & ~Qt::ItemIsEditable);
        if (!started)
            m_editItem = nullptr;
        return started;
    }

    void commitData(QWidget* editor) override
    {
        if (auto* line = qobject_cast<QLineEdit*>(editor))
        {
            m_pendingText = line->text();
            m_committed = true;
        }
    }

    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override
    {
        QTreeWidgetItem* item = m_editItem;
        const bool committed = m_committed && hint != QAbstractItemDelegate::RevertModelCache;
        const QString text = m_pendingText;
        m_editItem = nullptr;
        m_committed = false;
        QTreeWidget::closeEditor(editor, QAbstractItemDelegate::NoHint);
        if (!item || !m_pCtrl)
            return;
        CDispatchGuard guard;
        const CString newText = FromQString(text);
        if (m_pCtrl->OnEndLabelEdit(HandleOf(item), committed ? &newText : nullptr) && committed)
            item->setText(0, text);
    }

    void mouseMoveEvent(QMouseEvent* event) override
    {
        if (event->buttons() & Qt::LeftButton)
            return;
        QTreeWidget::mouseMoveEvent(event);
    }

private:
    CTreeCtrl* m_pCtrl;
    QTreeWidgetItem* m_editItem = nullptr;
    QString m_pendingText;
    bool m_committed = false;
};

struct CTreeCtrl::Impl
{
    CTreeWidget* tree = nullptr;
    CImageList* imageList = nullptr;
    std::unordered_set<QTreeWidgetItem*> live;
    QTreeWidgetItem* dropTarget = nullptr;
    QTreeWidgetItem* pressItem = nullptr;
    QPoint pressPos;
    bool dragStarted = false;

    bool Valid(HTREEITEM h) const { return h && live.count(ItemOf(h)) != 0; }
    void Forget(QTreeWidgetItem* item)
    {
        for (int i = 0; i < item->childCount(); ++i)
            Forget(item->child(i));
        live.erase(item);
        if (dropTarget == item)
            dropTarget = nullptr;
        if (pressItem == item)
            pressItem = nullptr;
    }
    void ApplyIcon(QTreeWidgetItem* item) const
    {
        if (!imageList)
        {
            item->setIcon(0, QIcon());
            return;
        }
        const QImage* normal = imageList->GetImage(item->data(0, kImageRole).toInt());
        const QImage* selected = imageList->GetImage(item->data(0, kSelImageRole).toInt());
        QIcon icon;
        if (normal)
            icon.addPixmap(QPixmap::fromImage(*normal), QIcon::Normal);
        if (selected)
            icon.addPixmap(QPixmap::fromImage(*selected), QIcon::Selected);
        item->setIcon(0, icon);
    }
};

CTreeCtrl::CTreeCtrl() : m_p(std::make_unique<Impl>()) {}

CTreeCtrl::~CTreeCtrl()
{
    if (m_p->tree && m_pWidget == m_p->tree)
        m_p->tree->Forget();
}

BOOL CTreeCtrl::Create(DWORD style, const CRect& rect, CWnd* parent, UINT id)
{
    if (m_pWidget || !parent || !parent->GetWidget())
        return FALSE;
    auto* tree = new CTreeWidget(this, parent->GetWidget());
    tree->setHeaderHidden(true);
    tree->setColumnCount(1);
    tree->setRootIsDecorated((style & TVS_LINESATROOT) != 0);
    tree->setSelectionMode(QAbstractItemView::SingleSelection);
    tree->setDragEnabled(false);
    tree->setEditTriggers((style & TVS_EDITLABELS)
                              ? (QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed)
                              : QAbstractItemView::NoEditTriggers);
    tree->setGeometry(ToQRect(rect));
    m_p->tree = tree;
    m_dwStyle = style;
    m_nID = id;
    m_pParentWnd = parent;
    QObject::connect(tree, &QTreeWidget::itemSelectionChanged, tree, [tree] { NotifyParent(tree, TVN_SELCHANGED); });
    parent->AddChild(this);
    Attach(tree, false);
    GetBridge()->AddEventSource(tree->viewport());
    GetBridge()->m_preFilter = [tree](QObject* target, QEvent* event)
    {
        const QEvent::Type type = event->type();
        if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease)
            return false;
        CTreeCtrl* self = Owner<CTreeCtrl>(tree);
        if (!self)
            return false;
        self->WatchMouse(target == tree, static_cast<QMouseEvent*>(event));
        return false;
    };
    if (style & WS_DISABLED)
        tree->setEnabled(false);
    tree->show();
    return TRUE;
}

void CTreeCtrl::WatchMouse(bool onWidget, QMouseEvent* me)
{
    if (!m_p->tree)
        return;
    QPoint pos = me->position().toPoint();
    if (onWidget)
        pos -= m_p->tree->viewport()->pos();
    const QEvent::Type type = me->type();
    if (type == QEvent::MouseButtonPress && me->button() == Qt::LeftButton)
    {
        m_p->pressItem = m_p->tree->itemAt(pos);
        m_p->pressPos = pos;
        m_p->dragStarted = false;
    }
    else if (type == QEvent::MouseMove && (me->buttons() & Qt::LeftButton) && m_p->pressItem && !m_p->dragStarted &&
             !(m_dwStyle & TVS_DISABLEDRAGDROP) &&
             (pos - m_p->pressPos).manhattanLength() >= QApplication::startDragDistance())
    {
        m_p->dragStarted = true;
        CDispatchGuard guard;
        OnBeginDrag(HandleOf(m_p->pressItem), CPoint(pos.x(), pos.y()));
    }
}

void CTreeCtrl::TakeOverFrom(CWnd& old)
{
    auto* tree = dynamic_cast<CTreeCtrl*>(&old);
    if (!tree)
        return;
    std::swap(m_p, tree->m_p);
    m_dwStyle = tree->m_dwStyle;
    if (m_p->tree)
        m_p->tree->SetCtrl(this);
}

void CButton::TakeOverFrom(CWnd& old)
{
    if (auto* o = dynamic_cast<CButton*>(&old))
        m_dwStyle = o->m_dwStyle;
}

void CStatic::TakeOverFrom(CWnd& old)
{
    if (auto* o = dynamic_cast<CStatic*>(&old))
        m_dwStyle = o->m_dwStyle;
}

void CEdit::TakeOverFrom(CWnd& old)
{
    if (auto* o = dynamic_cast<CEdit*>(&old))
        m_dwStyle = o->m_dwStyle;
}

void CListBox::TakeOverFrom(CWnd& old)
{
    if (auto* o = dynamic_cast<CListBox*>(&old))
        m_dwStyle = o->m_dwStyle;
}

void CComboBox::TakeOverFrom(CWnd& old)
{
    if (auto* o = dynamic_cast<CComboBox*>(&old))
        m_dwStyle = o->m_dwStyle;
}

void CSliderCtrl::TakeOverFrom(CWnd& old)
{
    if (auto* o = dynamic_cast<CSliderCtrl*>(&old))
        m_dwStyle = o->m_dwStyle;
}

CPoint CTreeCtrl::ClientOrigin() const
{
    if (m_p->tree && m_pWidget == m_p->tree)
    {
        const QPoint p = m_p->tree->viewport()->pos();
        return CPoint(p.x(), p.y());
    }
    return CPoint(0, 0);
}

HTREEITEM CTreeCtrl::InsertItem(const char* text, int image, int selectedImage, HTREEITEM parent, HTREEITEM after)
{
    QTreeWidget* tree = m_p->tree;
    if (!tree || !m_pWidget)
        return nullptr;
    QTreeWidgetItem* parentItem = nullptr;
    if (parent && parent != TVI_ROOT)
    {
        if (!m_p->Valid(parent))
            return nullptr;
        parentItem = ItemOf(parent);
    }
    auto* item = new QTreeWidgetItem;
    item->setText(0, ToQString(text));
    item->setData(0, kImageRole, image);
    item->setData(0, kSelImageRole, selectedImage);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    const int count = parentItem ? parentItem->childCount() : tree->topLevelItemCount();
    auto childAt = [&](int i) { return parentItem ? parentItem->child(i) : tree->topLevelItem(i); };
    int index = count;
    if (after == TVI_FIRST)
    {
        index = 0;
    }
    else if (after == TVI_SORT)
    {
        const CString t(text);
        index = 0;
        while (index < count && FromQString(childAt(index)->text(0)).CompareNoCase(t) <= 0)
            ++index;
    }
    else if (after && after != TVI_LAST)
    {
        for (int i = 0; i < count; ++i)
            if (childAt(i) == ItemOf(after))
                index = i + 1;
    }
    const QSignalBlocker block(tree);
    if (parentItem)
        parentItem->insertChild(index, item);
    else
        tree->insertTopLevelItem(index, item);
    m_p->live.insert(item);
    m_p->ApplyIcon(item);
    return HandleOf(item);
}

BOOL CTreeCtrl::DeleteItem(HTREEITEM h)
{
    if (h == TVI_ROOT)
        return DeleteAllItems();
    if (!m_p->Valid(h))
        return FALSE;
    QTreeWidgetItem* item = ItemOf(h);
    if (m_p->tree->EditItem() == item)
        m_p->tree->Finish(true);
    m_p->Forget(item);
    delete item;
    return TRUE;
}

BOOL CTreeCtrl::DeleteAllItems()
{
    if (!m_p->tree)
        return FALSE;
    if (m_p->tree->EditItem())
        m_p->tree->Finish(true);
    m_p->live.clear();
    m_p->dropTarget = nullptr;
    m_p->pressItem = nullptr;
    m_p->tree->clear();
    return TRUE;
}

CString CTreeCtrl::GetItemText(HTREEITEM h) const
{
    return m_p->Valid(h) ? FromQString(ItemOf(h)->text(0)) : CString();
}

BOOL CTreeCtrl::SetItemText(HTREEITEM h, const char* text)
{
    if (!m_p->Valid(h))
        return FALSE;
    ItemOf(h)->setText(0, ToQString(text));
    return TRUE;
}

BOOL CTreeCtrl::GetItemImage(HTREEITEM h, int& image, int& selectedImage) const
{
    if (!m_p->Valid(h))
        return FALSE;
    image = ItemOf(h)->data(0, kImageRole).toInt();
    selectedImage = ItemOf(h)->data(0, kSelImageRole).toInt();
    return TRUE;
}

BOOL CTreeCtrl::SetItemImage(HTREEITEM h, int image, int selectedImage)
{
    if (!m_p->Valid(h))
        return FALSE;
    ItemOf(h)->setData(0, kImageRole, image);
    ItemOf(h)->setData(0, kSelImageRole, selectedImage);
    m_p->ApplyIcon(ItemOf(h));
    return TRUE;
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM h) const
{
    return m_p->Valid(h) ? static_cast<DWORD_PTR>(ItemOf(h)->data(0, kDataRole).toULongLong()) : 0;
}

BOOL CTreeCtrl::SetItemData(HTREEITEM h, DWORD_PTR data)
{
    if (!m_p->Valid(h))
        return FALSE;
    ItemOf(h)->setData(0, kDataRole, QVariant::fromValue<qulonglong>(data));
    return TRUE;
}

HTREEITEM CTreeCtrl::GetParentItem(HTREEITEM h) const
{
    return m_p->Valid(h) ? HandleOf(ItemOf(h)->parent()) : nullptr;
}

HTREEITEM CTreeCtrl::GetChildItem(HTREEITEM h) const
{
    if (h == TVI_ROOT || !h)
        return GetRootItem();
    if (!m_p->Valid(h) || ItemOf(h)->childCount() == 0)
        return nullptr;
    return HandleOf(ItemOf(h)->child(0));
}

HTREEITEM CTreeCtrl::GetNextSiblingItem(HTREEITEM h) const
{
    if (!m_p->Valid(h))
        return nullptr;
    QTreeWidgetItem* item = ItemOf(h);
    QTreeWidgetItem* parent = item->parent();
    const int index = parent ? parent->indexOfChild(item) : m_p->tree->indexOfTopLevelItem(item);
    const int count = parent ? parent->childCount() : m_p->tree->topLevelItemCount();
    if (index < 0 || index + 1 >= count)
        return nullptr;
    return HandleOf(parent ? parent->child(index + 1) : m_p->tree->topLevelItem(index + 1));
}

HTREEITEM CTreeCtrl::GetPrevSiblingItem(HTREEITEM h) const
{
    if (!m_p->Valid(h))
        return nullptr;
    QTreeWidgetItem* item = ItemOf(h);
    QTreeWidgetItem* parent = item->parent();
    const int index = parent ? parent->indexOfChild(item) : m_p->tree->indexOfTopLevelItem(item);
    if (index <= 0)
        return nullptr;
    return HandleOf(parent ? parent->child(index - 1) : m_p->tree->topLevelItem(index - 1));
}

HTREEITEM CTreeCtrl::GetRootItem() const
{
    if (!m_p->tree || m_p->tree->topLevelItemCount() == 0)
        return nullptr;
    return HandleOf(m_p->tree->topLevelItem(0));
}

HTREEITEM CTreeCtrl::GetNextItem(HTREEITEM h, UINT code) const
{
    switch (code)
    {
    case TVGN_ROOT: return GetRootItem();
    case TVGN_NEXT: return GetNextSiblingItem(h);
    case TVGN_PREVIOUS: return GetPrevSiblingItem(h);
    case TVGN_PARENT: return GetParentItem(h);
    case TVGN_CHILD: return GetChildItem(h);
    case TVGN_DROPHILITE: return GetDropHilightItem();
    case TVGN_CARET: return GetSelectedItem();
    default: return nullptr;
    }
}

BOOL CTreeCtrl::ItemHasChildren(HTREEITEM h) const { return m_p->Valid(h) && ItemOf(h)->childCount() > 0; }

UINT CTreeCtrl::GetCount() const { return static_cast<UINT>(m_p->live.size()); }

HTREEITEM CTreeCtrl::GetSelectedItem() const
{
    if (!m_p->tree)
        return nullptr;
    QTreeWidgetItem* item = m_p->tree->currentItem();
    if (item && !item->isSelected())
    {
        const QList<QTreeWidgetItem*> selected = m_p->tree->selectedItems();
        item = selected.isEmpty() ? nullptr : selected.front();
    }
    return HandleOf(item);
}

BOOL CTreeCtrl::SelectItem(HTREEITEM h)
{
    if (!m_p->tree)
        return FALSE;
    if (!h)
    {
        m_p->tree->clearSelection();
        m_p->tree->setCurrentItem(nullptr);
        return TRUE;
    }
    if (!m_p->Valid(h))
        return FALSE;
    m_p->tree->setCurrentItem(ItemOf(h));
    ItemOf(h)->setSelected(true);
    return TRUE;
}

BOOL CTreeCtrl::SelectDropTarget(HTREEITEM h)
{
    if (!m_p->tree)
        return FALSE;
    if (m_p->dropTarget && m_p->live.count(m_p->dropTarget))
        m_p->dropTarget->setData(0, Qt::BackgroundRole, QVariant());
    m_p->dropTarget = nullptr;
    if (!h)
        return TRUE;
    if (!m_p->Valid(h))
        return FALSE;
    m_p->dropTarget = ItemOf(h);
    m_p->dropTarget->setData(0, Qt::BackgroundRole, m_p->tree->palette().color(QPalette::Highlight).lighter(140));
    return TRUE;
}

HTREEITEM CTreeCtrl::GetDropHilightItem() const { return HandleOf(m_p->dropTarget); }

BOOL CTreeCtrl::Expand(HTREEITEM h, UINT code)
{
    if (!m_p->Valid(h))
        return FALSE;
    QTreeWidgetItem* item = ItemOf(h);
    if (code == TVE_EXPAND)
        item->setExpanded(true);
    else if (code == TVE_COLLAPSE)
        item->setExpanded(false);
    else if (code == TVE_TOGGLE)
        item->setExpanded(!item->isExpanded());
    return TRUE;
}

BOOL CTreeCtrl::EnsureVisible(HTREEITEM h)
{
    if (!m_p->Valid(h))
        return FALSE;
    m_p->tree->scrollToItem(ItemOf(h));
    return TRUE;
}

BOOL CTreeCtrl::SortChildren(HTREEITEM h)
{
    if (h == TVI_ROOT || !h)
    {
        m_p->tree->sortItems(0, Qt::AscendingOrder);
        return TRUE;
    }
    if (!m_p->Valid(h))
        return FALSE;
    ItemOf(h)->sortChildren(0, Qt::AscendingOrder);
    return TRUE;
}

HTREEITEM CTreeCtrl::HitTest(CPoint point, UINT* flags) const
{
    if (flags)
        *flags = TVHT_NOWHERE;
    if (!m_p->tree)
        return nullptr;
    const QPoint p(point.x, point.y);
    QTreeWidgetItem* item = m_p->tree->itemAt(p);
    if (!item)
        return nullptr;
    if (flags)
    {
        const QRect r = m_p->tree->visualItemRect(item);
        const int icon = item->icon(0).isNull() ? 0 : m_p->tree->iconSize().width() + 4;
        const int text = m_p->tree->fontMetrics().horizontalAdvance(item->text(0)) + 8;
        if (p.x() < r.left())
            *flags = TVHT_ONITEMINDENT;
        else if (p.x() < r.left() + icon)
            *flags = TVHT_ONITEMICON;
        else if (p.x() < r.left() + icon + text)
            *flags = TVHT_ONITEMLABEL;
        else
            *flags = TVHT_ONITEMRIGHT;
    }
    return HandleOf(item);
}

BOOL CTreeCtrl::GetItemRect(HTREEITEM h, CRect* rect, BOOL textOnly) const
{
    if (!rect || !m_p->Valid(h))
        return FALSE;
    QRect r = m_p->tree->visualItemRect(ItemOf(h));
    if (textOnly)
    {
        const int icon = ItemOf(h)->icon(0).isNull() ? 0 : m_p->tree->iconSize().width() + 4;
        r.setLeft(r.left() + icon);
        r.setWidth(m_p->tree->fontMetrics().horizontalAdvance(ItemOf(h)->text(0)) + 8);
    }
    *rect = FromQRect(r);
    return TRUE;
}

CImageList* CTreeCtrl::SetImageList(CImageList* imageList, int)
{
    CImageList* old = m_p->imageList;
    m_p->imageList = imageList;
    if (m_p->tree)
    {
        if (imageList && imageList->IsCreated())
        {
            const CSize size = imageList->GetImageSize();
            m_p->tree->setIconSize(QSize(size.cx, size.cy));
        }
        for (QTreeWidgetItem* item : m_p->live)
            m_p->ApplyIcon(item);
    }
    return old;
}

CImageList* CTreeCtrl::GetImageList(int) const { return m_p->imageList; }

CImageList* CTreeCtrl::CreateDragImage(HTREEITEM h)
{
    if (!m_p->Valid(h))
        return nullptr;
    QTreeWidgetItem* item = ItemOf(h);
    const QFontMetrics fm = m_p->tree->fontMetrics();
    const QSize iconSize = item->icon(0).isNull() ? QSize(0, 0) : m_p->tree->iconSize();
    const int w = iconSize.width() + 4 + fm.horizontalAdvance(item->text(0)) + 4;
    const int hgt = std::max(iconSize.height(), fm.height()) + 2;
    QImage image(w, hgt, QImage::Format_RGB32);
    const QColor key(255, 0, 255);
    image.fill(key);
    {
        QPainter p(&image);
        if (!item->icon(0).isNull())
            p.drawPixmap(0, (hgt - iconSize.height()) / 2, item->icon(0).pixmap(iconSize));
        p.setPen(Qt::black);
        p.drawText(iconSize.width() + 4, (hgt - fm.height()) / 2 + fm.ascent(), item->text(0));
    }
    CBitmap bitmap;
    bitmap.SetImage(image);
    auto* list = new CImageList;
    list->Create(w, hgt, ILC_COLOR32 | ILC_MASK, 1, 1);
    list->Add(&bitmap, RGB(255, 0, 255));
    return list;
}

BOOL CTreeCtrl::EditLabel(HTREEITEM h)
{
    if (!m_p->Valid(h) || !(m_dwStyle & TVS_EDITLABELS))
        return FALSE;
    m_p->tree->setCurrentItem(ItemOf(h));
    m_p->tree->editItem(ItemOf(h), 0);
    return m_p->tree->EditItem() == ItemOf(h);
}

BOOL CTreeCtrl::IsEditingLabel() const { return m_p->tree && m_p->tree->EditItem() != nullptr; }

void CTreeCtrl::SetEditText(const char* text)
{
    if (!m_p->tree)
        return;
    if (auto* line = qobject_cast<QLineEdit*>(m_p->tree->Editor()))
        line->setText(ToQString(text));
}

BOOL CTreeCtrl::EndEditLabelNow(BOOL cancel)
{
    if (!IsEditingLabel())
        return FALSE;
    m_p->tree->Finish(cancel != FALSE);
    return TRUE;
}

BOOL CTreeCtrl::OnBeginLabelEdit(HTREEITEM) { return TRUE; }
BOOL CTreeCtrl::OnEndLabelEdit(HTREEITEM, const CString* newText) { return newText != nullptr; }

void CTreeCtrl::OnBeginDrag(HTREEITEM, CPoint)
{
    if (CWnd* p = GetParent())
    {
        if (auto* dlg = dynamic_cast<CDialog*>(p))
            dlg->OnCommand(m_nID, TVN_BEGINDRAG);
        else
            p->SendNotify(m_nID, TVN_BEGINDRAG);
    }
}

void CTreeCtrl::OnDestroy() {}

HTREEITEM CTreeCtrl::GetPressedItem() const { return HandleOf(m_p->pressItem); }

// ---------------------------------------------------------------------------
// Sliders

BOOL CSliderCtrl::Create(DWORD style, const CRect& rect, CWnd* parent, UINT id)
{
    if (m_pWidget || !parent || !parent->GetWidget())
        return FALSE;
    auto* slider = new QSlider((style & TBS_VERT) ? Qt::Vertical : Qt::Horizontal, parent->GetWidget());
    slider->setRange(0, 100);
    slider->setTickPosition((style & TBS_NOTICKS) ? QSlider::NoTicks : QSlider::TicksBelow);
    slider->setGeometry(ToQRect(rect));
    m_dwStyle = style;
    m_nID = id;
    m_pParentWnd = parent;
    auto tell = [slider](UINT code)
    {
        CSliderCtrl* self = Owner<CSliderCtrl>(slider);
        CWnd* p = self ? self->GetParent() : nullptr;
        if (!p)
            return;
        CDispatchGuard guard;
        const UINT pos = static_cast<UINT>(slider->value());
        if (slider->orientation() == Qt::Vertical)
            p->OnVScroll(code, pos, self);
        else
            p->OnHScroll(code, pos, self);
        if (code != SB_ENDSCROLL)
            p->SendNotify(self->GetDlgCtrlID(), TBN_POSCHANGED);
    };
    QObject::connect(slider, &QSlider::valueChanged, slider, [tell] { tell(SB_THUMBTRACK); });
    QObject::connect(slider, &QSlider::sliderReleased, slider, [tell] { tell(SB_ENDSCROLL); });
    parent->AddChild(this);
    Attach(slider, false);
    if (style & WS_DISABLED)
        slider->setEnabled(false);
    slider->show();
    return TRUE;
}

void CSliderCtrl::SetRange(int minPos, int maxPos, BOOL)
{
    if (auto* s = qobject_cast<QSlider*>(m_pWidget))
    {
        const QSignalBlocker block(s);
        s->setRange(minPos, maxPos);
    }
}

void CSliderCtrl::SetRangeMin(int minPos, BOOL redraw) { SetRange(minPos, GetRangeMax(), redraw); }
void CSliderCtrl::SetRangeMax(int maxPos, BOOL redraw) { SetRange(GetRangeMin(), maxPos, redraw); }

int CSliderCtrl::GetRangeMin() const
{
    auto* s = qobject_cast<QSlider*>(m_pWidget);
    return s ? s->minimum() : 0;
}

int CSliderCtrl::GetRangeMax() const
{
    auto* s = qobject_cast<QSlider*>(m_pWidget);
    return s ? s->maximum() : 0;
}

void CSliderCtrl::SetPos(int pos)
{
    if (auto* s = qobject_cast<QSlider*>(m_pWidget))
    {
        const QSignalBlocker block(s);
        s->setValue(pos);
    }
}

int CSliderCtrl::GetPos() const
{
    auto* s = qobject_cast<QSlider*>(m_pWidget);
    return s ? s->value() : 0;
}

void CSliderCtrl::SetTicFreq(int freq)
{
    if (auto* s = qobject_cast<QSlider*>(m_pWidget))
        s->setTickInterval(freq);
}

int CSliderCtrl::SetPageSize(int size)
{
    auto* s = qobject_cast<QSlider*>(m_pWidget);
    if (!s)
        return 0;
    const int old = s->pageStep();
    s->setPageStep(size);
    return old;
}

int CSliderCtrl::SetLineSize(int size)
{
    auto* s = qobject_cast<QSlider*>(m_pWidget);
    if (!s)
        return 0;
    const int old = s->singleStep();
    s->setSingleStep(size);
    return old;
}

void CSliderCtrl::MoveTo(int pos)
{
    if (auto* s = qobject_cast<QSlider*>(m_pWidget))
        if (s->isEnabled())
            s->setValue(pos);
}

// ---------------------------------------------------------------------------
// Data exchange

CWnd* CDataExchange::PrepareCtrl(UINT id)
{
    m_idLastControl = id;
    m_bEditLastControl = false;
    return m_pDlgWnd ? m_pDlgWnd->GetDlgItem(id) : nullptr;
}

CWnd* CDataExchange::PrepareEditCtrl(UINT id)
{
    CWnd* ctl = PrepareCtrl(id);
    m_bEditLastControl = true;
    return ctl;
}

void CDataExchange::Fail()
{
    if (m_pDlgWnd && m_bSaveAndValidate)
    {
        if (CWnd* ctl = m_pDlgWnd->GetDlgItem(m_idLastControl))
        {
            ctl->SetFocus();
            if (m_bEditLastControl)
                if (auto* edit = dynamic_cast<CEdit*>(ctl))
                    edit->SetSel(0, -1);
        }
    }
    throw CUserException();
}

namespace
{
void Complain(CDataExchange* pDX, const CString& text)
{
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
    pDX->Fail();
}

}  // namespace

void DDX_Text(CDataExchange* pDX, UINT id, CString& value)
{
    CWnd* ctl = pDX->PrepareEditCtrl(id);
    if (!ctl)
        return;
    if (pDX->m_bSaveAndValidate)
        value = ctl->GetWindowText();
    else
        ctl->SetWindowText(value);
}

namespace
{
template <class T>
bool ParseInteger(const CString& text, T& out, bool isSigned)
{
    CString s = text;
    s.Trim();
    if (s.IsEmpty())
        return false;
    errno = 0;
    char* end = nullptr;
    if (isSigned)
    {
        const long long v = std::strtoll(s.GetString(), &end, 10);
        if (errno || *end || v < static_cast<long long>(std::numeric_limits<T>::min()) ||
            v > static_cast<long long>(std::numeric_limits<T>::max()))
            return false;
        out = static_cast<T>(v);
    }
    else
    {
        if (s[0] == '-')
            return false;
        const unsigned long long v = std::strtoull(s.GetString(), &end, 10);
        if (errno || *end || v > static_cast<unsigned long long>(std::numeric_limits<T>::max()))
            return false;
        out = static_cast<T>(v);
    }
    return true;
}

template <class T>
void IntegerText(CDataExchange* pDX, UINT id, T& value, bool isSigned)
{
    CWnd* ctl = pDX->PrepareEditCtrl(id);
    if (!ctl)
        return;
    if (pDX->m_bSaveAndValidate)
    {
        T parsed{};
        if (!ParseInteger(ctl->GetWindowText(), parsed, isSigned))
            Complain(pDX, isSigned ? "Please enter an integer." : "Please enter a positive integer.");
        value = parsed;
    }
    else
    {
        CString s;
        if (isSigned)
            s.Format("%lld", static_cast<long long>(value));
        else
            s.Format("%llu", static_cast<unsigned long long>(value));
        ctl->SetWindowText(s);
    }
}

template <class T>
void FloatText(CDataExchange* pDX, UINT id, T& value, int digits)
{
    CWnd* ctl = pDX->PrepareEditCtrl(id);
    if (!ctl)
        return;
    if (pDX->m_bSaveAndValidate)
    {
        CString s = ctl->GetWindowText();
        s.Trim();
        char* end = nullptr;
        errno = 0;
        const double v = std::strtod(s.GetString(), &end);
        if (s.IsEmpty() || errno || *end || !std::isfinite(v))
            Complain(pDX, "Please enter a number.");
        value = static_cast<T>(v);
    }
    else
    {
        CString s;
        s.Format("%.*g", digits, static_cast<double>(value));
        ctl->SetWindowText(s);
    }
}
}  // namespace

void DDX_Text(CDataExchange* pDX, UINT id, int& value) { IntegerText(pDX, id, value, true); }
void DDX_Text(CDataExchange* pDX, UINT id, UINT& value) { IntegerText(pDX, id, value, false); }
void DDX_Text(CDataExchange* pDX, UINT id, float& value) { FloatText(pDX, id, value, 6); }
void DDX_Text(CDataExchange* pDX, UINT id, double& value) { FloatText(pDX, id, value, 15); }

void DDX_Check(CDataExchange* pDX, UINT id, int& value)
{
    auto* button = dynamic_cast<CButton*>(pDX->PrepareCtrl(id));
    if (!button)
        return;
    if (pDX->m_bSaveAndValidate)
        value = button->GetCheck();
    else
        button->SetCheck(value);
}

void DDX_Radio(CDataExchange* pDX, UINT firstId, int& value)
{
    auto* dlg = dynamic_cast<CDialog*>(pDX->m_pDlgWnd);
    if (!dlg)
        return;
    pDX->PrepareCtrl(firstId);
    // The group: firstId and the radio buttons after it up to the next
    // control that starts a group.
    std::vector<CButton*> group;
    bool inGroup = false;
    for (UINT id : dlg->m_order)
    {
        const bool starts =
            std::find(dlg->m_groupStarts.begin(), dlg->m_groupStarts.end(), id) != dlg->m_groupStarts.end();
        if (!inGroup)
        {
            if (id == firstId)
                inGroup = true;
            else
                continue;
        }
        else if (starts)
        {
            break;
        }
        auto* button = dynamic_cast<CButton*>(dlg->GetDlgItem(id));
        if (!button || !qobject_cast<QRadioButton*>(button->GetWidget()))
            break;
        group.push_back(button);
    }
    if (pDX->m_bSaveAndValidate)
    {
        value = -1;
        for (size_t i = 0; i < group.size(); ++i)
            if (group[i]->GetCheck() == BST_CHECKED)
                value = static_cast<int>(i);
    }
    else
    {
        for (size_t i = 0; i < group.size(); ++i)
            group[i]->SetCheck(static_cast<int>(i) == value ? BST_CHECKED : BST_UNCHECKED);
    }
}

void DDX_LBIndex(CDataExchange* pDX, UINT id, int& index)
{
    auto* list = dynamic_cast<CListBox*>(pDX->PrepareCtrl(id));
    if (!list)
        return;
    if (pDX->m_bSaveAndValidate)
        index = list->GetCurSel();
    else
        list->SetCurSel(index);
}

void DDX_LBString(CDataExchange* pDX, UINT id, CString& value)
{
    auto* list = dynamic_cast<CListBox*>(pDX->PrepareCtrl(id));
    if (!list)
        return;
    if (pDX->m_bSaveAndValidate)
    {
        const int sel = list->GetCurSel();
        value = sel >= 0 ? list->GetText(sel) : CString();
    }
    else if (list->SelectString(-1, value) < 0)
    {
        list->SetCurSel(-1);
    }
}

void DDX_LBStringExact(CDataExchange* pDX, UINT id, CString& value)
{
    auto* list = dynamic_cast<CListBox*>(pDX->PrepareCtrl(id));
    if (!list)
        return;
    if (pDX->m_bSaveAndValidate)
    {
        const int sel = list->GetCurSel();
        value = sel >= 0 ? list->GetText(sel) : CString();
    }
    else
    {
        list->SetCurSel(list->FindStringExact(-1, value));
    }
}

void DDX_CBIndex(CDataExchange* pDX, UINT id, int& index)
{
    auto* combo = dynamic_cast<CComboBox*>(pDX->PrepareCtrl(id));
    if (!combo)
        return;
    if (pDX->m_bSaveAndValidate)
        index = combo->GetCurSel();
    else
        combo->SetCurSel(index);
}

void DDX_CBString(CDataExchange* pDX, UINT id, CString& value)
{
    auto* combo = dynamic_cast<CComboBox*>(pDX->PrepareCtrl(id));
    if (!combo)
        return;
    if (pDX->m_bSaveAndValidate)
    {
        value = combo->GetWindowText();
    }
    else if (combo->SelectString(-1, value) < 0)
    {
        combo->SetWindowText(value);
    }
}

void DDX_CBStringExact(CDataExchange* pDX, UINT id, CString& value)
{
    auto* combo = dynamic_cast<CComboBox*>(pDX->PrepareCtrl(id));
    if (!combo)
        return;
    if (pDX->m_bSaveAndValidate)
    {
        value = combo->GetWindowText();
    }
    else
    {
        const int index = combo->FindStringExact(-1, value);
        if (index >= 0)
            combo->SetCurSel(index);
        else
            combo->SetWindowText(value);
    }
}

void DDX_Slider(CDataExchange* pDX, UINT id, int& value)
{
    auto* slider = dynamic_cast<CSliderCtrl*>(pDX->PrepareCtrl(id));
    if (!slider)
        return;
    if (pDX->m_bSaveAndValidate)
        value = slider->GetPos();
    else
        slider->SetPos(value);
}

void DDX_Control(CDataExchange* pDX, UINT id, CWnd& control)
{
    if (control.GetWidget())
        return;
    control.SubclassDlgItem(id, pDX->m_pDlgWnd);
}

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int maxChars)
{
    if (pDX->m_bSaveAndValidate)
    {
        if (value.GetLength() > maxChars)
        {
            CString text;
            text.Format("Enter no more than %d characters.", maxChars);
            Complain(pDX, text);
        }
    }
    else if (auto* edit = dynamic_cast<CEdit*>(pDX->m_pDlgWnd->GetDlgItem(pDX->m_idLastControl)))
    {
        edit->LimitText(maxChars);
    }
    else if (auto* combo = dynamic_cast<CComboBox*>(pDX->m_pDlgWnd->GetDlgItem(pDX->m_idLastControl)))
    {
        combo->LimitText(maxChars);
    }
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minValue, int maxValue)
{
    if (pDX->m_bSaveAndValidate && (value < minValue || value > maxValue))
    {
        CString text;
        text.Format("Please enter an integer between %d and %d.", minValue, maxValue);
        Complain(pDX, text);
    }
}

void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minValue, UINT maxValue)
{
    if (pDX->m_bSaveAndValidate && (value < minValue || value > maxValue))
    {
        CString text;
        text.Format("Please enter an integer between %u and %u.", minValue, maxValue);
        Complain(pDX, text);
    }
}

void DDV_MinMaxLong(CDataExchange* pDX, LONG value, LONG minValue, LONG maxValue)
{
    DDV_MinMaxInt(pDX, static_cast<int>(value), static_cast<int>(minValue), static_cast<int>(maxValue));
}

void DDV_MinMaxFloat(CDataExchange* pDX, float value, float minValue, float maxValue)
{
    if (pDX->m_bSaveAndValidate && (value < minValue || value > maxValue))
    {
        CString text;
        text.Format("Please enter a number between %g and %g.", static_cast<double>(minValue),
                    static_cast<double>(maxValue));
        Complain(pDX, text);
    }
}

void DDV_MinMaxDouble(CDataExchange* pDX, double value, double minValue, double maxValue)
{
    if (pDX->m_bSaveAndValidate && (value < minValue || value > maxValue))
    {
        CString text;
        text.Format("Please enter a number between %g and %g.", minValue, maxValue);
        Complain(pDX, text);
    }
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
