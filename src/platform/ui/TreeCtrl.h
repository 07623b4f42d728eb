#pragma once
// The tree control of a dialog: items with pictures from an image list,
// label editing and dragging.
//
// This header is free of Qt.

#include "platform/core/CString.h"
#include "platform/core/Geometry.h"
#include "platform/core/Types.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/Wnd.h"

#include <memory>

class CImageList;

// Tree items.
typedef struct TreeItemHandle__* HTREEITEM;
extern const HTREEITEM TVI_ROOT;
extern const HTREEITEM TVI_FIRST;
extern const HTREEITEM TVI_LAST;
extern const HTREEITEM TVI_SORT;
constexpr UINT TVGN_ROOT = 0x0;
constexpr UINT TVGN_NEXT = 0x1;
constexpr UINT TVGN_PREVIOUS = 0x2;
constexpr UINT TVGN_PARENT = 0x3;
constexpr UINT TVGN_CHILD = 0x4;
constexpr UINT TVGN_DROPHILITE = 0x8;
constexpr UINT TVGN_CARET = 0x9;
constexpr UINT TVE_COLLAPSE = 0x1;
constexpr UINT TVE_EXPAND = 0x2;
constexpr UINT TVE_TOGGLE = 0x3;
constexpr UINT TVHT_NOWHERE = 0x0001;
constexpr UINT TVHT_ONITEMICON = 0x0002;
constexpr UINT TVHT_ONITEMLABEL = 0x0004;
constexpr UINT TVHT_ONITEMINDENT = 0x0008;
constexpr UINT TVHT_ONITEMBUTTON = 0x0010;
constexpr UINT TVHT_ONITEMRIGHT = 0x0020;
constexpr UINT TVHT_ONITEMSTATEICON = 0x0040;
constexpr UINT TVHT_ONITEM = TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMSTATEICON;
constexpr int TVSIL_NORMAL = 0;
constexpr UINT TVN_BEGINDRAG = 0xFE70;  // notified to the parent when OnBeginDrag is not overridden

class CTreeCtrl : public CWnd
{
public:
    CTreeCtrl();
    ~CTreeCtrl() override;

    BOOL Create(DWORD style, const CRect& rect, CWnd* parent, UINT id);

    HTREEITEM InsertItem(const char* text, int image, int selectedImage, HTREEITEM parent = TVI_ROOT,
                         HTREEITEM after = TVI_LAST);
    HTREEITEM InsertItem(const char* text, HTREEITEM parent = TVI_ROOT, HTREEITEM after = TVI_LAST)
    {
        return InsertItem(text, 0, 0, parent, after);
    }
    BOOL DeleteItem(HTREEITEM item);
    BOOL DeleteAllItems();
    CString GetItemText(HTREEITEM item) const;
    BOOL SetItemText(HTREEITEM item, const char* text);
    BOOL GetItemImage(HTREEITEM item, int& image, int& selectedImage) const;
    BOOL SetItemImage(HTREEITEM item, int image, int selectedImage);
    DWORD_PTR GetItemData(HTREEITEM item) const;
    BOOL SetItemData(HTREEITEM item, DWORD_PTR data);
    HTREEITEM GetParentItem(HTREEITEM item) const;
    HTREEITEM GetChildItem(HTREEITEM item) const;
    HTREEITEM GetNextSiblingItem(HTREEITEM item) const;
    HTREEITEM GetPrevSiblingItem(HTREEITEM item) const;
    HTREEITEM GetRootItem() const;
    HTREEITEM GetNextItem(HTREEITEM item, UINT code) const;
    BOOL ItemHasChildren(HTREEITEM item) const;
    UINT GetCount() const;
    HTREEITEM GetSelectedItem() const;
    BOOL SelectItem(HTREEITEM item);
    BOOL SelectDropTarget(HTREEITEM item);
    HTREEITEM GetDropHilightItem() const;
    BOOL Expand(HTREEITEM item, UINT code);
    BOOL EnsureVisible(HTREEITEM item);
    BOOL SortChildren(HTREEITEM item);
    HTREEITEM HitTest(CPoint point, UINT* flags = nullptr) const;
    BOOL GetItemRect(HTREEITEM item, CRect* rect, BOOL textOnly) const;
    CImageList* SetImageList(CImageList* imageList, int kind = TVSIL_NORMAL);  // answers the old one
    CImageList* GetImageList(int kind = TVSIL_NORMAL) const;
    // A drag image of the item (its picture and text); the caller deletes it.
    CImageList* CreateDragImage(HTREEITEM item);
    // Label editing: starts editing (when OnBeginLabelEdit allows it);
    // EndEditLabelNow ends it, keeping the typed text unless cancelled.
    BOOL EditLabel(HTREEITEM item);
    BOOL IsEditingLabel() const;
    void SetEditText(const char* text);  // types into the open label editor
    BOOL EndEditLabelNow(BOOL cancel);

    // Label editing and dragging hooks. OnBeginLabelEdit answers whether
    // editing may start. OnEndLabelEdit gets the new text (null when the
    // edit was cancelled) and answers whether the label takes it.
    virtual BOOL OnBeginLabelEdit(HTREEITEM item);
    virtual BOOL OnEndLabelEdit(HTREEITEM item, const CString* newText);
    // The left button was pressed on an item and the pointer moved far
    // enough to start a drag. The base tells the parent (TVN_BEGINDRAG).
    virtual void OnBeginDrag(HTREEITEM item, CPoint point);
    void OnDestroy() override;

    // The item being dragged or pressed (set just before OnBeginDrag).
    HTREEITEM GetPressedItem() const;
    void TakeOverFrom(CWnd& old) override;
    // Follows presses and moves to start drags (for the platform layer).
    void WatchMouse(bool onWidget, class QMouseEvent* event);

protected:
    CPoint ClientOrigin() const override;

private:
    friend class CTreeWidget;
    struct Impl;
    std::unique_ptr<Impl> m_p;
    DWORD m_dwStyle = 0;
};
