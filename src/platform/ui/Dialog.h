#pragma once
// Dialogs and their controls.
//
// A dialog is laid out in code. Its class describes its controls in
// BuildTemplate (positions and sizes in pixels, as a resource template
// would), or a builder is registered for its template id:
//
//     void CSaveGameDlg::BuildTemplate(CDialogTemplate& t)
//     {
//         t.Caption("Save Game").Size(300, 240);
//         t.Static(IDC_STATIC, "Save Name:", 10, 10, 200, 16);
//         t.Edit(1040, 10, 30, 280, 22);
//         t.ListBox(1026, 10, 60, 280, 130, LBS_NOTIFY | LBS_SORT);
//         t.DefPushButton(IDOK, "OK", 120, 200, 80, 26);
//         t.PushButton(IDCANCEL, "Cancel", 210, 200, 80, 26);
//     }
//
// Controls are found with GetDlgItem(id) (as CWnd*) or typed with
// GetDlgControl<CListBox>(id). A member control (a CTreeCtrl subclass, say)
// takes over the control of its id with DDX_Control in DoDataExchange or
// with BindControl in the constructor (before the window exists), so its
// virtual handlers see the control's events.
//
// Data exchange: DoDataExchange lists DDX_/DDV_ calls; UpdateData(FALSE)
// fills the controls (OnInitDialog does it), UpdateData(TRUE) reads and
// validates them (OnOK does it) and shows the framework's messages, such as
// "Please enter an integer between 1 and 10.", through the UI service.
//
// Modal dialogs run through the UI service (DoModal), so tests can answer
// them. Modeless dialogs (Create) hand accelerator keys on to the main
// frame, so the map's keys keep working while they have the focus; a
// modeless dialog ends with DestroyWindow, not EndDialog.
//
// Buttons: a click on button id runs, in order, a MapNotify(id, BN_CLICKED)
// handler, a MapCommand(id) handler, or for IDOK/IDCANCEL OnOK/OnCancel.
// Enter presses the default button, Escape and the close box run OnCancel.
//
// This header is free of Qt.

#include "platform/core/CString.h"
#include "platform/core/Geometry.h"
#include "platform/core/Types.h"
#include "platform/ui/DC.h"
#include "platform/ui/UiService.h"
#include "platform/ui/Wnd.h"

#include <functional>
#include <map>
#include <memory>
#include <vector>

class CDataExchange;
class CDialog;
class CFont;

constexpr UINT IDC_STATIC = 0xFFFF;  // a control nobody addresses

// ---- Control styles ----
constexpr DWORD BS_PUSHBUTTON = 0x0000;
constexpr DWORD BS_DEFPUSHBUTTON = 0x0001;
constexpr DWORD BS_CHECKBOX = 0x0002;
constexpr DWORD BS_AUTOCHECKBOX = 0x0003;
constexpr DWORD BS_RADIOBUTTON = 0x0004;
constexpr DWORD BS_3STATE = 0x0005;
constexpr DWORD BS_AUTO3STATE = 0x0006;
constexpr DWORD BS_GROUPBOX = 0x0007;
constexpr DWORD BS_AUTORADIOBUTTON = 0x0009;
constexpr DWORD BS_TYPEMASK = 0x000F;
constexpr DWORD BS_FLAT = 0x8000;
constexpr UINT BST_UNCHECKED = 0;
constexpr UINT BST_CHECKED = 1;
constexpr UINT BST_INDETERMINATE = 2;
constexpr DWORD SS_LEFT = 0x0000;
constexpr DWORD SS_CENTER = 0x0001;
constexpr DWORD SS_RIGHT = 0x0002;
constexpr DWORD SS_ICON = 0x0003;
constexpr DWORD SS_BITMAP = 0x000E;
constexpr DWORD SS_TYPEMASK = 0x001F;
constexpr DWORD SS_NOTIFY = 0x0100;
constexpr DWORD SS_SUNKEN = 0x1000;
constexpr DWORD ES_LEFT = 0x0000;
constexpr DWORD ES_CENTER = 0x0001;
constexpr DWORD ES_RIGHT = 0x0002;
constexpr DWORD ES_MULTILINE = 0x0004;
constexpr DWORD ES_PASSWORD = 0x0020;
constexpr DWORD ES_AUTOVSCROLL = 0x0040;
constexpr DWORD ES_AUTOHSCROLL = 0x0080;
constexpr DWORD ES_READONLY = 0x0800;
constexpr DWORD ES_WANTRETURN = 0x1000;
constexpr DWORD ES_NUMBER = 0x2000;
constexpr DWORD LBS_NOTIFY = 0x0001;
constexpr DWORD LBS_SORT = 0x0002;
constexpr DWORD LBS_MULTIPLESEL = 0x0008;
constexpr DWORD LBS_USETABSTOPS = 0x0080;
constexpr DWORD LBS_EXTENDEDSEL = 0x0800;
constexpr DWORD LBS_STANDARD = LBS_NOTIFY | LBS_SORT | WS_VSCROLL | WS_BORDER;
constexpr DWORD CBS_SIMPLE = 0x0001;
constexpr DWORD CBS_DROPDOWN = 0x0002;
constexpr DWORD CBS_DROPDOWNLIST = 0x0003;
constexpr DWORD CBS_SORT = 0x0100;
constexpr DWORD TVS_HASBUTTONS = 0x0001;
constexpr DWORD TVS_HASLINES = 0x0002;
constexpr DWORD TVS_LINESATROOT = 0x0004;
constexpr DWORD TVS_EDITLABELS = 0x0008;
constexpr DWORD TVS_DISABLEDRAGDROP = 0x0010;
constexpr DWORD TVS_SHOWSELALWAYS = 0x0020;
constexpr DWORD TBS_HORZ = 0x0000;
constexpr DWORD TBS_AUTOTICKS = 0x0001;
constexpr DWORD TBS_VERT = 0x0002;
constexpr DWORD TBS_NOTICKS = 0x0010;
constexpr DWORD DS_MODALFRAME = 0x0080;
constexpr DWORD DS_CENTER = 0x0800;
constexpr DWORD DS_SETFOREGROUND = 0x0200;

// List answers.
constexpr int LB_ERR = -1;
constexpr int LB_OKAY = 0;
constexpr int CB_ERR = -1;

// ---- Templates ----
enum class CControlKind
{
    PushButton,
    DefPushButton,
    CheckBox,
    RadioButton,
    GroupBox,
    Static,
    Edit,
    ListBox,
    ComboBox,
    TreeCtrl,
    Slider,
    PageView,
    Custom  // a plain window (CWnd) the dialog draws itself
};

struct CControlTemplate
{
    CControlKind kind = CControlKind::Static;
    UINT id = IDC_STATIC;
    CString text;
    CRect rect;  // pixels in the dialog's client area
    DWORD style = 0;
};

class CDialogTemplate
{
public:
    CDialogTemplate& Caption(const char* caption);
    CDialogTemplate& Size(int width, int height);
    CDialogTemplate& Style(DWORD style);

    CDialogTemplate& PushButton(UINT id, const char* text, int x, int y, int w, int h, DWORD style = 0);
    CDialogTemplate& DefPushButton(UINT id, const char* text, int x, int y, int w, int h, DWORD style = 0);
    CDialogTemplate& CheckBox(UINT id, const char* text, int x, int y, int w, int h, DWORD style = 0);
    // A radio button with WS_GROUP (or the first after any other control)
    // starts a group; the following radio buttons belong to it.
    CDialogTemplate& RadioButton(UINT id, const char* text, int x, int y, int w, int h, DWORD style = 0);
    CDialogTemplate& GroupBox(UINT id, const char* text, int x, int y, int w, int h, DWORD style = 0);
    CDialogTemplate& Static(UINT id, const char* text, int x, int y, int w, int h, DWORD style = SS_LEFT);
    CDialogTemplate& Edit(UINT id, int x, int y, int w, int h, DWORD style = ES_AUTOHSCROLL);
    CDialogTemplate& ListBox(UINT id, int x, int y, int w, int h, DWORD style = LBS_NOTIFY);
    CDialogTemplate& ComboBox(UINT id, int x, int y, int w, int h, DWORD style = CBS_DROPDOWNLIST);
    CDialogTemplate& TreeCtrl(UINT id, int x, int y, int w, int h,
                              DWORD style = TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT);
    CDialogTemplate& Slider(UINT id, int x, int y, int w, int h, DWORD style = TBS_HORZ);
    CDialogTemplate& PageView(UINT id, int x, int y, int w, int h);
    CDialogTemplate& Custom(UINT id, int x, int y, int w, int h, DWORD style = 0);
    CDialogTemplate& Control(CControlKind kind, UINT id, const char* text, const CRect& rect, DWORD style);

    CString m_strCaption;
    CSize m_size{300, 200};
    DWORD m_dwStyle = WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    std::vector<CControlTemplate> m_controls;
};

// ---- Controls ----
class CButton : public CWnd
{
public:
    BOOL Create(const char* text, DWORD style, const CRect& rect, CWnd* parent, UINT id);
    int GetCheck() const;
    void SetCheck(int check);
    UINT GetState() const;
    DWORD GetButtonStyle() const { return m_dwStyle; }
    void SetWindowText(const char* text) override;
    CString GetWindowText() const override;
    // Clicks the button as the user would (nothing when disabled).
    void Click();
    // Radio buttons of one group (set by the dialog when it builds them).
    void SetGroup(class QButtonGroup* group);
    void TakeOverFrom(CWnd& old) override;

protected:
    DWORD m_dwStyle = 0;
};

class CStatic : public CWnd
{
public:
    BOOL Create(const char* text, DWORD style, const CRect& rect, CWnd* parent, UINT id = IDC_STATIC);
    void SetWindowText(const char* text) override;
    CString GetWindowText() const override;
    DWORD GetStyle() const { return m_dwStyle; }
    // How a link shows itself: colour, underline, hand cursor.
    void SetTextColor(COLORREF color);
    void SetUnderline(BOOL underline);
    void SetHandCursor(BOOL hand);
    void SetFont(CFont* font);
    void SetBitmap(CBitmap* bitmap);
    // A click on a static with SS_NOTIFY. The base tells the parent (STN_CLICKED).
    virtual void OnClicked();
    // Clicks the control as the user would.
    void Click();
    void TakeOverFrom(CWnd& old) override;

protected:
    DWORD m_dwStyle = 0;
};

class CEdit : public CWnd
{
public:
    BOOL Create(DWORD style, const CRect& rect, CWnd* parent, UINT id);
    void SetWindowText(const char* text) override;  // "\r\n" line breaks
    CString GetWindowText() const override;
    void LimitText(int maxChars = 0);  // 0: no limit
    void SetLimitText(int maxChars) { LimitText(maxChars); }
    int GetLimitText() const;
    BOOL SetReadOnly(BOOL readOnly = TRUE);
    BOOL IsReadOnly() const;
    void SetSel(int start, int end, BOOL noScroll = FALSE);
    void GetSel(int& start, int& end) const;
    void ReplaceSel(const char* text, BOOL canUndo = FALSE);
    int GetLineCount() const;
    void LineScroll(int lines, int chars = 0);
    DWORD GetStyle() const { return m_dwStyle; }
    // Types text at the caret as the user would (limits and number-only apply).
    void TypeText(const char* text);
    void TakeOverFrom(CWnd& old) override;

protected:
    DWORD m_dwStyle = 0;
};

class CListBox : public CWnd
{
public:
    BOOL Create(DWORD style, const CRect& rect, CWnd* parent, UINT id);
    int AddString(const char* text);                // the index it got (sorted lists sort it in)
    int InsertString(int index, const char* text);  // -1: at the end
    int DeleteString(int index);                    // count left, LB_ERR for a bad index
    void ResetContent();
    int GetCount() const;
    int GetCurSel() const;                        // LB_ERR when none
    int SetCurSel(int index);                     // -1 clears
    int GetText(int index, CString& text) const;  // length, LB_ERR for a bad index
    CString GetText(int index) const;
    int GetTextLen(int index) const;
    // First entry from after start (wrapping) beginning with / equal to the
    // text, ignoring case; LB_ERR when none. start -1 searches all.
    int FindString(int start, const char* prefix) const;
    int FindStringExact(int start, const char* text) const;
    int SelectString(int start, const char* prefix);
    int SetItemData(int index, DWORD_PTR data);
    DWORD_PTR GetItemData(int index) const;
    // Tab stops in dialog units (a quarter of the average character width).
    BOOL SetTabStops(int count, const int* stops);
    BOOL SetTabStops(int stop) { return SetTabStops(1, &stop); }
    void SetHorizontalExtent(int pixels);
    int GetHorizontalExtent() const;
    int GetTopIndex() const;
    int SetTopIndex(int index);
    int GetSelCount() const;
    int GetSel(int index) const;
    int SetSel(int index, BOOL select = TRUE);
    DWORD GetStyle() const { return m_dwStyle; }
    // As the user would: a click selecting an entry, a double click.
    void ClickItem(int index);
    void DoubleClickItem(int index);
    void TakeOverFrom(CWnd& old) override;

protected:
    DWORD m_dwStyle = 0;
};

class CComboBox : public CWnd
{
public:
    BOOL Create(DWORD style, const CRect& rect, CWnd* parent, UINT id);
    int AddString(const char* text);
    int InsertString(int index, const char* text);
    int DeleteString(int index);
    void ResetContent();
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int index);
    int GetLBText(int index, CString& text) const;
    CString GetLBText(int index) const;
    int GetLBTextLen(int index) const;
    int FindString(int start, const char* prefix) const;
    int FindStringExact(int start, const char* text) const;
    int SelectString(int start, const char* prefix);
    int SetItemData(int index, DWORD_PTR data);
    DWORD_PTR GetItemData(int index) const;
    BOOL LimitText(int maxChars);
    void SetWindowText(const char* text) override;
    CString GetWindowText() const override;
    // Chooses an entry as the user would.
    void SelectItem(int index);
    void TakeOverFrom(CWnd& old) override;

protected:
    DWORD m_dwStyle = 0;
};

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

class CSliderCtrl : public CWnd
{
public:
    BOOL Create(DWORD style, const CRect& rect, CWnd* parent, UINT id);
    void SetRange(int minPos, int maxPos, BOOL redraw = FALSE);
    void SetRangeMin(int minPos, BOOL redraw = FALSE);
    void SetRangeMax(int maxPos, BOOL redraw = FALSE);
    int GetRangeMin() const;
    int GetRangeMax() const;
    void SetPos(int pos);
    int GetPos() const;
    void SetTicFreq(int freq);
    int SetPageSize(int size);
    int SetLineSize(int size);
    // Moves the thumb as the user would (the parent hears of it).
    void MoveTo(int pos);
    void TakeOverFrom(CWnd& old) override;

protected:
    DWORD m_dwStyle = 0;
};

// ---- Data exchange ----
// Thrown by CDataExchange::Fail; UpdateData catches it.
struct CUserException
{
};

class CDataExchange
{
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate) : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}
    CWnd* PrepareCtrl(UINT id);
    CWnd* PrepareEditCtrl(UINT id);
    [[noreturn]] void Fail();  // puts the focus on the last control and ends the exchange

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    UINT m_idLastControl = 0;
    bool m_bEditLastControl = false;
};

void DDX_Text(CDataExchange* pDX, UINT id, CString& value);
void DDX_Text(CDataExchange* pDX, UINT id, int& value);
void DDX_Text(CDataExchange* pDX, UINT id, UINT& value);
void DDX_Text(CDataExchange* pDX, UINT id, float& value);
void DDX_Text(CDataExchange* pDX, UINT id, double& value);
void DDX_Check(CDataExchange* pDX, UINT id, int& value);
void DDX_Radio(CDataExchange* pDX, UINT firstId, int& value);  // index in the group, -1 none
void DDX_LBIndex(CDataExchange* pDX, UINT id, int& index);
void DDX_LBString(CDataExchange* pDX, UINT id, CString& value);
void DDX_LBStringExact(CDataExchange* pDX, UINT id, CString& value);
void DDX_CBIndex(CDataExchange* pDX, UINT id, int& index);
void DDX_CBString(CDataExchange* pDX, UINT id, CString& value);
void DDX_CBStringExact(CDataExchange* pDX, UINT id, CString& value);
void DDX_Slider(CDataExchange* pDX, UINT id, int& value);
void DDX_Control(CDataExchange* pDX, UINT id, CWnd& control);
void DDV_MaxChars(CDataExchange* pDX, const CString& value, int maxChars);
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minValue, int maxValue);
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minValue, UINT maxValue);
void DDV_MinMaxLong(CDataExchange* pDX, LONG value, LONG minValue, LONG maxValue);
void DDV_MinMaxFloat(CDataExchange* pDX, float value, float minValue, float maxValue);
void DDV_MinMaxDouble(CDataExchange* pDX, double value, double minValue, double maxValue);

// ---- Dialogs ----
class CDialog : public CWnd
{
public:
    explicit CDialog(UINT templateId = 0, CWnd* parent = nullptr);
    ~CDialog() override;

    // The layout. The base uses the builder registered for the template id.
    virtual void BuildTemplate(CDialogTemplate& t);
    static void RegisterTemplate(UINT templateId, std::function<void(CDialogTemplate&)> builder);
    UINT GetTemplateId() const { return m_nTemplateId; }

    // Binds a member control to a template id before the window exists.
    void BindControl(UINT id, CWnd& control);
    // A control by id as its class (null when absent or of another class).
    template <class T>
    T* GetDlgControl(UINT id) const
    {
        return dynamic_cast<T*>(GetDlgItem(id));
    }

    virtual int DoModal();
    // Modeless: creates and shows the window (unless the template lacks
    // WS_VISIBLE... modeless dialogs are shown at once, as the program's are).
    virtual BOOL Create(UINT templateId, CWnd* parent = nullptr);
    BOOL Create(CWnd* parent = nullptr) { return Create(m_nTemplateId, parent); }
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    void EndDialog(int result);
    virtual void DoDataExchange(CDataExchange* pDX);
    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    void GotoDlgCtrl(CWnd* control);
    void SetDefID(UINT id);
    BOOL IsModal() const { return m_bModal; }

    // Acts on a control as the user would: a button click, Enter (the
    // default button) or Escape.
    BOOL PressButton(UINT id);
    void PressEnter();
    void PressEscape();

    // A click, selection or other notification from child control id.
    virtual BOOL OnCommand(UINT id, UINT code);
    BOOL OnCmdMsg(UINT id, CCmdUI* pCmdUI) override;
    // Modeless dialogs offer keys to the main frame's accelerator table first.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void OnClose() override;

    // ---- Modal protocol (used by the UI services) ----
    BOOL BeginModal();   // creates the window and runs OnInitDialog
    void ShowModal();    // shows it, blocking input to other windows
    int RunModalLoop();  // serves events until EndDialog
    bool IsModalEnded() const { return m_bEnded; }
    int GetModalResult() const { return m_nResult; }
    void FinishModal();  // destroys the window

    // Hands keys on to the main frame (default: modeless only).
    bool m_bForwardAccelerators = false;

protected:
    // Builds the window from the template: a top-level dialog, or (with
    // container) a child window inside it, as a property page is.
    BOOL CreateDialogWindow(CWnd* parent, bool modal, class QWidget* container = nullptr);
    CWnd* CreateControl(const CControlTemplate& ct);

    UINT m_nTemplateId;
    bool m_bModal = false;
    bool m_bEnded = false;
    int m_nResult = IDCANCEL;
    UINT m_nDefId = IDOK;
    std::map<UINT, CWnd*> m_bound;
    std::vector<std::unique_ptr<CWnd>> m_ownedControls;
    std::vector<UINT> m_groupStarts;  // ids of controls that start a group, in template order
    std::vector<UINT> m_order;        // control ids in template order
    class QEventLoop* m_pLoop = nullptr;

    friend void DDX_Radio(CDataExchange*, UINT, int&);
};
