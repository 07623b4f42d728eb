#include "platform/ui/ListBox.h"

#include "platform/ui/ControlPrivate.h"
#include "platform/ui/QtBridge.h"
#include "platform/ui/WndPrivate.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>
#include <cmath>
#include <functional>

namespace
{
bool StartsWithNoCase(const CString& text, const char* prefix)
{
    const CString p(prefix);
    return text.Left(p.GetLength()).CompareNoCase(p) == 0;
}

// The first of count entries that matches, searching from after start and
// wrapping round; -1 when none does.
int FindFrom(int count, int start, const std::function<bool(int)>& matches)
{
    if (count <= 0)
        return -1;
    int first = (start < 0 || start >= count) ? 0 : start + 1;
    for (int n = 0; n < count; ++n)
    {
        const int i = (first + n) % count;
        if (matches(i))
            return i;
    }
    return -1;
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
}  // namespace

// ---------------------------------------------------------------------------
// Entries of list and combo boxes

int CListBoxBase::AddString(const char* text)
{
    const int count = GetCount();
    if (count < 0)
        return LB_ERR;
    int index = count;
    if (m_dwStyle & m_dwSortStyle)
    {
        const CString t(text);
        index = 0;
        while (index < count && GetItemText(index).CompareNoCase(t) <= 0)
            ++index;
    }
    const QSignalBlocker block(m_pWidget);
    InsertItem(index, text);
    return index;
}

int CListBoxBase::InsertString(int index, const char* text)
{
    const int count = GetCount();
    if (count < 0 || index > count)
        return LB_ERR;
    if (index < 0)
        index = count;
    const QSignalBlocker block(m_pWidget);
    InsertItem(index, text);
    return index;
}

int CListBoxBase::DeleteString(int index)
{
    QAbstractItemModel* items = Items();
    if (!items || index < 0 || index >= items->rowCount())
        return LB_ERR;
    const QSignalBlocker block(m_pWidget);
    items->removeRow(index);
    return items->rowCount();
}

void CListBoxBase::ResetContent()
{
    if (!Items())
        return;
    const QSignalBlocker block(m_pWidget);
    RemoveAllItems();
}

int CListBoxBase::GetCount() const
{
    QAbstractItemModel* items = Items();
    return items ? items->rowCount() : LB_ERR;
}

int CListBoxBase::GetItemText(int index, CString& text) const
{
    QAbstractItemModel* items = Items();
    if (!items || index < 0 || index >= items->rowCount())
    {
        text.Empty();
        return LB_ERR;
    }
    text = FromQString(items->index(index, 0).data().toString());
    return text.GetLength();
}

CString CListBoxBase::GetItemText(int index) const
{
    CString text;
    GetItemText(index, text);
    return text;
}

int CListBoxBase::GetItemTextLen(int index) const
{
    CString text;
    return GetItemText(index, text);
}

int CListBoxBase::FindString(int start, const char* prefix) const
{
    const CString p(prefix);
    return FindFrom(GetCount(), start, [this, &p](int i) { return StartsWithNoCase(GetItemText(i), p); });
}

int CListBoxBase::FindStringExact(int start, const char* text) const
{
    const CString want(text);
    return FindFrom(GetCount(), start, [this, &want](int i) { return GetItemText(i).CompareNoCase(want) == 0; });
}

int CListBoxBase::SelectString(int start, const char* prefix)
{
    const int index = FindString(start, prefix);
    if (index >= 0)
        SetCurSel(index);
    return index;
}

int CListBoxBase::SetItemData(int index, DWORD_PTR data)
{
    QAbstractItemModel* items = Items();
    if (!items || index < 0 || index >= items->rowCount())
        return LB_ERR;
    items->setData(items->index(index, 0), QVariant::fromValue<qulonglong>(data), Qt::UserRole);
    return LB_OKAY;
}

DWORD_PTR CListBoxBase::GetItemData(int index) const
{
    QAbstractItemModel* items = Items();
    if (!items || index < 0 || index >= items->rowCount())
        return static_cast<DWORD_PTR>(LB_ERR);
    return static_cast<DWORD_PTR>(items->index(index, 0).data(Qt::UserRole).toULongLong());
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
    auto notify = [list](UINT code)
    {
        auto* self = Owner<CListBox>(list);
        if (self && (self->GetStyle() & LBS_NOTIFY))
            NotifyParent(list, code);
    };
    QObject::connect(list, &QListWidget::itemSelectionChanged, list, [notify] { notify(LBN_SELCHANGE); });
    QObject::connect(list, &QListWidget::itemDoubleClicked, list, [notify] { notify(LBN_DBLCLK); });
    AttachControl(list, parent, id);
    GetBridge()->AddEventSource(list->viewport());
    ShowControl(style);
    return TRUE;
}

QAbstractItemModel* CListBox::Items() const
{
    QListWidget* list = ListOf(m_pWidget);
    return list ? list->model() : nullptr;
}

void CListBox::InsertItem(int index, const char* text) { ListOf(m_pWidget)->insertItem(index, ToQString(text)); }

void CListBox::RemoveAllItems() { ListOf(m_pWidget)->clear(); }

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

void CListBox::TakeOverFrom(CWnd& old)
{
    if (auto* o = dynamic_cast<CListBox*>(&old))
        m_dwStyle = o->m_dwStyle;
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
    auto notify = [combo](UINT code) { NotifyParent(combo, code); };
    QObject::connect(combo, &QComboBox::activated, combo, [notify] { notify(CBN_SELCHANGE); });
    if (combo->isEditable())
        QObject::connect(combo->lineEdit(), &QLineEdit::textEdited, combo, [notify] { notify(CBN_EDITCHANGE); });
    AttachControl(combo, parent, id);
    ShowControl(style);
    return TRUE;
}

QAbstractItemModel* CComboBox::Items() const
{
    QComboBox* combo = ComboOf(m_pWidget);
    return combo ? combo->model() : nullptr;
}

void CComboBox::InsertItem(int index, const char* text)
{
    QComboBox* combo = ComboOf(m_pWidget);
    const bool editable = combo->isEditable();
    const QString current = editable ? combo->currentText() : QString();
    const int sel = combo->currentIndex();
    combo->insertItem(index, ToQString(text));
    // Windows lists keep no selection until one is made.
    if (sel < 0)
        combo->setCurrentIndex(-1);
    if (editable)
        combo->setEditText(current);
}

void CComboBox::RemoveAllItems() { ComboOf(m_pWidget)->clear(); }

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
    const bool valid = index >= 0 && index < combo->count();
    const QSignalBlocker block(combo);
    combo->setCurrentIndex(valid ? index : -1);
    return valid ? index : CB_ERR;
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

void CComboBox::TakeOverFrom(CWnd& old)
{
    if (auto* o = dynamic_cast<CComboBox*>(&old))
        m_dwStyle = o->m_dwStyle;
}
