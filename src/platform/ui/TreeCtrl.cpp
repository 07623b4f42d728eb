#include "platform/ui/TreeCtrl.h"

#include "platform/ui/ControlPrivate.h"
#include "platform/ui/DC.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/QtBridge.h"
#include "platform/ui/WndPrivate.h"

#include <QAbstractItemDelegate>
#include <QApplication>
#include <QHeaderView>
#include <QIcon>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QTreeWidget>

#include <algorithm>
#include <cstdint>
#include <unordered_set>

namespace
{
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
    QObject::connect(tree, &QTreeWidget::itemSelectionChanged, tree, [tree] { NotifyParent(tree, TVN_SELCHANGED); });
    AttachControl(tree, parent, id);
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
    ShowControl(style);
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
