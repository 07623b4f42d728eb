// Dialogs built in code, their controls and data exchange, run modally
// through the scripted UI service or modeless.
#include "platform/ui/App.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/PropertySheet.h"
#include "support/ScriptedUi.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTreeWidget>

namespace
{
enum : UINT
{
    IDD_SETTINGS = 7201,
    IDC_NAME = 1040,
    IDC_COUNT = 1041,
    IDC_FAST = 1042,
    IDC_SLOW = 1043,
    IDC_RED = 1044,
    IDC_BLUE = 1045,
    IDC_HIDE = 1046,
    IDC_LIST = 1026,
    IDC_COMBO = 1047,
    IDC_LINK = 1251,
    IDC_NOTE = 1069,
    IDC_SIZE = 1048,
    IDC_GROUP = 1049,
};

class SettingsDlg : public CDialog
{
public:
    SettingsDlg() : CDialog(IDD_SETTINGS)
    {
        MapNotify(IDC_LIST, LBN_DBLCLK, [this] { OnOK(); });
        MapNotify(IDC_LIST, LBN_SELCHANGE, [this] { ++selChanges; });
        MapNotify(IDC_LINK, STN_CLICKED, [this] { ++linkClicks; });
        MapCommand(IDC_HIDE, [this] { ++hideClicks; });
    }
    void BuildTemplate(CDialogTemplate& t) override
    {
        t.Caption("Settings").Size(400, 320);
        t.Static(IDC_STATIC, "&Name:", 10, 10, 60, 16);
        t.Edit(IDC_NAME, 80, 8, 200, 22);
        t.Edit(IDC_COUNT, 80, 36, 60, 22, ES_NUMBER);
        t.GroupBox(IDC_GROUP, "Speed", 10, 64, 180, 70);
        t.RadioButton(IDC_FAST, "&Fast", 20, 84, 80, 18, WS_GROUP);
        t.RadioButton(IDC_SLOW, "&Slow", 20, 104, 80, 18);
        t.RadioButton(IDC_RED, "Red", 200, 84, 80, 18, WS_GROUP);
        t.RadioButton(IDC_BLUE, "Blue", 200, 104, 80, 18);
        t.CheckBox(IDC_HIDE, "&Hide On Contact", 10, 140, 160, 18);
        t.ListBox(IDC_LIST, 10, 164, 180, 90, LBS_NOTIFY | LBS_SORT | LBS_USETABSTOPS | WS_HSCROLL);
        t.ComboBox(IDC_COMBO, 200, 164, 150, 120, CBS_DROPDOWNLIST);
        t.Static(IDC_LINK, "http://example.invalid/", 200, 200, 180, 16, SS_NOTIFY);
        t.Edit(IDC_NOTE, 200, 224, 180, 40, ES_MULTILINE | ES_READONLY);
        t.Slider(IDC_SIZE, 10, 260, 180, 24);
        t.DefPushButton(IDOK, "OK", 220, 284, 80, 26);
        t.PushButton(IDCANCEL, "Cancel", 310, 284, 80, 26);
    }
    BOOL OnInitDialog() override
    {
        auto* list = GetDlgControl<CListBox>(IDC_LIST);
        for (const char* s : {"Charlie\t3", "alpha\t1", "Bravo\t2"})
            list->AddString(s);
        auto* combo = GetDlgControl<CComboBox>(IDC_COMBO);
        combo->AddString("Wedge");
        combo->AddString("Line");
        auto* slider = GetDlgControl<CSliderCtrl>(IDC_SIZE);
        slider->SetRange(1, 20);
        return CDialog::OnInitDialog();
    }
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_NAME, name);
        DDV_MaxChars(pDX, name, 12);
        DDX_Text(pDX, IDC_COUNT, count);
        DDV_MinMaxInt(pDX, count, 1, 10);
        DDX_Radio(pDX, IDC_FAST, speed);
        DDX_Radio(pDX, IDC_RED, colour);
        DDX_Check(pDX, IDC_HIDE, hide);
        DDX_LBString(pDX, IDC_LIST, choice);
        DDX_CBIndex(pDX, IDC_COMBO, formation);
        DDX_Text(pDX, IDC_NOTE, note);
        DDX_Slider(pDX, IDC_SIZE, size);
    }
    void OnHScroll(UINT code, UINT pos, CWnd* bar) override
    {
        if (bar && bar->GetDlgCtrlID() == IDC_SIZE && code == SB_THUMBTRACK)
            lastSliderPos = static_cast<int>(pos);
    }

    CString name = "Alpha";
    int count = 4;
    int speed = 1;
    int colour = 0;
    int hide = 1;
    CString choice = "bravo";
    int formation = 1;
    CString note = "Line one\r\nLine two";
    int size = 5;
    int selChanges = 0;
    int linkClicks = 0;
    int hideClicks = 0;
    int lastSliderPos = -1;
};
}  // namespace

TEST(WinDialogTest, ModalDialogFillsItsControlsAndValidatesOnOK)
{
    ScopedScriptedUi ui;
    SetMessageBoxCaption("Kedravin");
    SettingsDlg dlg;
    ui->ExpectDialog(IDD_SETTINGS, IDOK,
                     [](CDialog& d)
                     {
                         // Filled from the members.
                         EXPECT_EQ(d.GetWindowText(), "Settings");
                         EXPECT_EQ(d.GetDlgItemText(IDC_NAME), "Alpha");
                         EXPECT_EQ(d.GetDlgItemText(IDC_COUNT), "4");
                         EXPECT_EQ(d.GetCheckedRadioButton(IDC_FAST, IDC_SLOW), static_cast<UINT>(IDC_SLOW));
                         EXPECT_EQ(d.IsDlgButtonChecked(IDC_RED), BST_CHECKED);
                         EXPECT_EQ(d.IsDlgButtonChecked(IDC_HIDE), BST_CHECKED);
                         auto* list = d.GetDlgControl<CListBox>(IDC_LIST);
                         EXPECT_EQ(list->GetText(list->GetCurSel()), "Bravo\t2");
                         EXPECT_EQ(d.GetDlgControl<CComboBox>(IDC_COMBO)->GetWindowText(), "Line");
                         EXPECT_EQ(d.GetDlgItemText(IDC_NOTE), "Line one\r\nLine two");
                         EXPECT_TRUE(d.GetDlgControl<CEdit>(IDC_NOTE)->IsReadOnly());
                         EXPECT_EQ(d.GetDlgControl<CSliderCtrl>(IDC_SIZE)->GetPos(), 5);
                         EXPECT_EQ(d.GetDlgItem(IDC_STATIC)->GetWindowText(), "&Name:");
                         EXPECT_NE(qobject_cast<QGroupBox*>(d.GetDlgItem(IDC_GROUP)->GetWidget()), nullptr);

                         // Out of range: the framework's message, and the dialog stays.
                         d.SetDlgItemText(IDC_COUNT, "11");
                         EXPECT_TRUE(d.PressButton(IDOK));
                         EXPECT_FALSE(d.IsModalEnded());
                         // Not a number at all.
                         d.SetDlgItemText(IDC_COUNT, "");
                         d.PressEnter();
                         EXPECT_FALSE(d.IsModalEnded());

                         // The two radio groups are separate.
                         d.CheckRadioButton(IDC_FAST, IDC_SLOW, IDC_FAST);
                         d.GetDlgControl<CButton>(IDC_BLUE)->Click();
                         EXPECT_EQ(d.IsDlgButtonChecked(IDC_FAST), BST_CHECKED);
                         EXPECT_EQ(d.IsDlgButtonChecked(IDC_RED), BST_UNCHECKED);

                         d.GetDlgControl<CButton>(IDC_HIDE)->Click();
                         d.SetDlgItemText(IDC_COUNT, "10");
                         d.GetDlgControl<CComboBox>(IDC_COMBO)->SelectItem(0);
                         d.GetDlgControl<CSliderCtrl>(IDC_SIZE)->MoveTo(17);
                         d.GetDlgControl<CListBox>(IDC_LIST)->ClickItem(0);
                     });
    ui->ExpectMessage("Kedravin", "Please enter an integer between 1 and 10.", IDOK)
        .ExpectMessage("Kedravin", "Please enter an integer.", IDOK);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_FALSE(dlg.IsWindow());
    EXPECT_EQ(dlg.count, 10);
    EXPECT_EQ(dlg.speed, 0);
    EXPECT_EQ(dlg.colour, 1);
    EXPECT_EQ(dlg.hide, 0);
    EXPECT_EQ(dlg.hideClicks, 1);
    EXPECT_EQ(dlg.choice, "alpha\t1");
    EXPECT_EQ(dlg.formation, 0);
    EXPECT_EQ(dlg.size, 17);
    EXPECT_EQ(dlg.lastSliderPos, 17);
    EXPECT_EQ(dlg.selChanges, 1);
}

TEST(WinDialogTest, CancelLeavesTheMembersAndEscapeCancels)
{
    ScopedScriptedUi ui;
    SettingsDlg dlg;
    ui->ExpectDialog(IDD_SETTINGS, IDCANCEL, [](CDialog& d) { d.SetDlgItemText(IDC_NAME, "Changed"); })
        .ExpectDialogCaption("Settings", IDOK, [](CDialog& d) { d.PressEscape(); });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.name, "Alpha");
    // The same object runs again with fresh controls.
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.name, "Alpha");
}

TEST(WinDialogTest, EditLengthLimitAndNumbersOnly)
{
    ScopedScriptedUi ui;
    SettingsDlg dlg;
    ui->ExpectDialog(IDD_SETTINGS, IDOK,
                     [](CDialog& d)
                     {
                         auto* name = d.GetDlgControl<CEdit>(IDC_NAME);
                         EXPECT_EQ(name->GetLimitText(), 12);  // from DDV_MaxChars
                         name->SetWindowText("");
                         name->TypeText("Abcdefghijklmnop");
                         EXPECT_EQ(name->GetWindowText(), "Abcdefghijkl");
                         auto* count = d.GetDlgControl<CEdit>(IDC_COUNT);
                         count->SetWindowText("");
                         count->TypeText("7x-");
                         EXPECT_EQ(count->GetWindowText(), "7");
                         name->SetReadOnly(TRUE);
                         name->TypeText("more");
                         EXPECT_EQ(name->GetWindowText(), "Abcdefghijkl");
                     });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.name, "Abcdefghijkl");
    EXPECT_EQ(dlg.count, 7);
}

TEST(WinDialogTest, ListBoxSortsFindsAndDoubleClicks)
{
    ScopedScriptedUi ui;
    SettingsDlg dlg;
    ui->ExpectDialog(IDD_SETTINGS, IDCANCEL,
                     [](CDialog& d)
                     {
                         auto* list = d.GetDlgControl<CListBox>(IDC_LIST);
                         ASSERT_EQ(list->GetCount(), 3);
                         EXPECT_EQ(list->GetText(0), "alpha\t1");  // sorted, case ignored
                         EXPECT_EQ(list->GetText(2), "Charlie\t3");
                         EXPECT_EQ(list->FindStringExact(-1, "ALPHA\t1"), 0);
                         EXPECT_EQ(list->FindStringExact(-1, "alpha"), LB_ERR);
                         EXPECT_EQ(list->FindString(-1, "br"), 1);
                         EXPECT_EQ(list->FindStringExact(0, "alpha\t1"), 0);  // wraps round from after the start
                         EXPECT_EQ(list->InsertString(1, "zulu"), 1);
                         EXPECT_EQ(list->DeleteString(1), 3);
                         EXPECT_EQ(list->DeleteString(9), LB_ERR);
                         EXPECT_EQ(list->GetText(9), "");
                         list->SetItemData(2, 42);
                         EXPECT_EQ(list->GetItemData(2), 42u);
                         const int stops[] = {40, 80};
                         EXPECT_TRUE(list->SetTabStops(2, stops));
                         list->SetHorizontalExtent(600);
                         EXPECT_EQ(list->GetHorizontalExtent(), 600);
                         list->DoubleClickItem(2);  // ends the dialog through OK
                         EXPECT_TRUE(d.IsModalEnded());
                     });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.choice, "Charlie\t3");
}

namespace
{
constexpr UINT IDD_BOXES = 7202;
constexpr UINT IDC_SORTED_COMBO = 1050;
constexpr UINT IDC_EDIT_COMBO = 1051;

class BoxesDlg : public CDialog
{
public:
    BoxesDlg() : CDialog(IDD_BOXES)
    {
        MapNotify(IDC_LIST, LBN_SELCHANGE, [this] { ++notifications; });
        MapNotify(IDC_SORTED_COMBO, CBN_SELCHANGE, [this] { ++notifications; });
    }
    void BuildTemplate(CDialogTemplate& t) override
    {
        t.Caption("Boxes").Size(400, 200);
        t.ListBox(IDC_LIST, 10, 10, 180, 120, LBS_NOTIFY | LBS_SORT);
        t.ComboBox(IDC_SORTED_COMBO, 200, 10, 150, 120, CBS_DROPDOWNLIST | CBS_SORT);
        t.ComboBox(IDC_EDIT_COMBO, 200, 40, 150, 120, CBS_DROPDOWN);
        t.PushButton(IDCANCEL, "Cancel", 310, 160, 80, 26);
    }
    int notifications = 0;
};

// Runs the entry operations both boxes offer on a sorted box; text reads
// entry i by the box's own getter.
template <class Box, class Text>
void CheckEntries(Box& box, Text text)
{
    EXPECT_EQ(box.AddString("Charlie"), 0);
    EXPECT_EQ(box.AddString("alpha"), 0);  // sorted in, case ignored
    EXPECT_EQ(box.AddString("Bravo"), 1);
    EXPECT_EQ(box.GetCurSel(), LB_ERR);  // adding chooses nothing
    EXPECT_EQ(box.InsertString(-1, "delta"), 3);
    EXPECT_EQ(box.InsertString(0, "Echo"), 0);  // put where asked, not sorted
    EXPECT_EQ(box.InsertString(6, "x"), LB_ERR);
    ASSERT_EQ(box.GetCount(), 5);
    EXPECT_EQ(text(0), "Echo");
    EXPECT_EQ(text(4), "delta");
    EXPECT_EQ(text(9), "");

    EXPECT_EQ(box.FindString(-1, "b"), 2);
    EXPECT_EQ(box.FindString(2, "B"), 2);  // wraps round to the start
    EXPECT_EQ(box.FindString(-1, "z"), LB_ERR);
    EXPECT_EQ(box.FindStringExact(-1, "CHARLIE"), 3);
    EXPECT_EQ(box.FindStringExact(-1, "Charl"), LB_ERR);
    EXPECT_EQ(box.SelectString(-1, "de"), 4);
    EXPECT_EQ(box.SelectString(-1, "zz"), LB_ERR);
    EXPECT_EQ(box.GetCurSel(), 4);  // a failed select keeps the choice

    EXPECT_EQ(box.SetItemData(1, 42), 0);
    EXPECT_EQ(box.GetItemData(1), 42u);
    EXPECT_EQ(box.SetItemData(5, 1), LB_ERR);
    EXPECT_EQ(box.GetItemData(5), static_cast<DWORD_PTR>(LB_ERR));

    EXPECT_EQ(box.DeleteString(0), 4);
    EXPECT_EQ(box.DeleteString(4), LB_ERR);
    EXPECT_EQ(text(0), "alpha");
    EXPECT_EQ(box.GetItemData(0), 42u);  // the data moves with its entry
    EXPECT_EQ(box.GetCurSel(), 3);
    box.SetCurSel(-1);
    EXPECT_EQ(box.GetCurSel(), LB_ERR);
    box.ResetContent();
    EXPECT_EQ(box.GetCount(), 0);
    EXPECT_EQ(box.FindString(-1, ""), LB_ERR);
}
}  // namespace

TEST(WinDialogTest, ListAndComboBoxesKeepFindAndChooseEntriesAlike)
{
    ScopedScriptedUi ui;
    BoxesDlg dlg;
    ui->ExpectDialog(IDD_BOXES, IDCANCEL,
                     [&dlg](CDialog& d)
                     {
                         {
                             SCOPED_TRACE("list box");
                             auto* list = d.GetDlgControl<CListBox>(IDC_LIST);
                             CheckEntries(*list, [list](int i) { return list->GetText(i); });
                             EXPECT_EQ(list->GetTextLen(9), LB_ERR);
                         }
                         {
                             SCOPED_TRACE("combo box");
                             auto* combo = d.GetDlgControl<CComboBox>(IDC_SORTED_COMBO);
                             CheckEntries(*combo, [combo](int i) { return combo->GetLBText(i); });
                             EXPECT_EQ(combo->GetLBTextLen(9), CB_ERR);
                         }
                         // Only the user's choices are told to the dialog.
                         EXPECT_EQ(dlg.notifications, 0);

                         // What the user typed in an empty combo box stays
                         // while entries come in.
                         auto* edit = d.GetDlgControl<CComboBox>(IDC_EDIT_COMBO);
                         edit->SetWindowText("typed");
                         EXPECT_EQ(edit->InsertString(0, "Wedge"), 0);
                         EXPECT_EQ(edit->AddString("Line"), 1);
                         EXPECT_EQ(edit->GetWindowText(), "typed");
                         EXPECT_EQ(edit->GetCurSel(), CB_ERR);
                     });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

namespace
{
constexpr UINT IDD_CHOICES = 7203;
constexpr UINT IDC_LIST_EXACT = 1052;
constexpr UINT IDC_COMBO_EXACT = 1053;

class ChoicesDlg : public CDialog
{
public:
    ChoicesDlg() : CDialog(IDD_CHOICES) {}
    void BuildTemplate(CDialogTemplate& t) override
    {
        t.Caption("Choices").Size(300, 200);
        t.ListBox(IDC_LIST, 10, 10, 120, 80);
        t.ListBox(IDC_LIST_EXACT, 140, 10, 120, 80);
        t.ComboBox(IDC_COMBO, 10, 100, 120, 120, CBS_DROPDOWN);
        t.ComboBox(IDC_COMBO_EXACT, 140, 100, 120, 120, CBS_DROPDOWN);
        t.DefPushButton(IDOK, "OK", 200, 160, 80, 26);
    }
    BOOL OnInitDialog() override
    {
        for (const char* s : {"Wedge", "Line", "Column"})
        {
            GetDlgControl<CListBox>(IDC_LIST)->AddString(s);
            GetDlgControl<CListBox>(IDC_LIST_EXACT)->AddString(s);
            GetDlgControl<CComboBox>(IDC_COMBO)->AddString(s);
            GetDlgControl<CComboBox>(IDC_COMBO_EXACT)->AddString(s);
        }
        return CDialog::OnInitDialog();
    }
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_LBIndex(pDX, IDC_LIST, listIndex);
        DDX_LBStringExact(pDX, IDC_LIST_EXACT, listExact);
        DDX_CBString(pDX, IDC_COMBO, comboText);
        DDX_CBStringExact(pDX, IDC_COMBO_EXACT, comboExact);
    }

    int listIndex = 1;
    CString listExact = "COLUMN";
    CString comboText = "co";
    CString comboExact = "Col";
};
}  // namespace

TEST(WinDialogTest, DataExchangeFillsAndReadsListAndComboBoxes)
{
    ScopedScriptedUi ui;
    ChoicesDlg dlg;
    ui->ExpectDialog(IDD_CHOICES, IDOK,
                     [](CDialog& d)
                     {
                         auto* list = d.GetDlgControl<CListBox>(IDC_LIST);
                         auto* listExact = d.GetDlgControl<CListBox>(IDC_LIST_EXACT);
                         auto* combo = d.GetDlgControl<CComboBox>(IDC_COMBO);
                         auto* comboExact = d.GetDlgControl<CComboBox>(IDC_COMBO_EXACT);
                         EXPECT_EQ(list->GetCurSel(), 1);
                         EXPECT_EQ(listExact->GetCurSel(), 2);         // the whole text, case ignored
                         EXPECT_EQ(combo->GetWindowText(), "Column");  // the first entry the text begins
                         EXPECT_EQ(comboExact->GetCurSel(), CB_ERR);   // no entry is "Col": it is typed in
                         EXPECT_EQ(comboExact->GetWindowText(), "Col");

                         list->ClickItem(2);
                         listExact->SetCurSel(-1);
                         combo->SetWindowText("Echelon");
                         comboExact->SelectItem(0);
                     });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.listIndex, 2);
    EXPECT_EQ(dlg.listExact, "");  // nothing chosen
    EXPECT_EQ(dlg.comboText, "Echelon");
    EXPECT_EQ(dlg.comboExact, "Wedge");
}

namespace
{
// A hyperlink static of the kind the About box uses.
class LinkStatic : public CStatic
{
public:
    int clicks = 0;
    void OnClicked() override
    {
        ++clicks;
        SetTextColor(RGB(128, 0, 128));
        CStatic::OnClicked();
    }
};

class LinkDlg : public CDialog
{
public:
    LinkDlg() : CDialog(IDD_SETTINGS) { BindControl(IDC_LINK, link); }
    void BuildTemplate(CDialogTemplate& t) override
    {
        t.Caption("About").Size(200, 100);
        t.Static(IDC_LINK, "http://example.invalid/", 10, 10, 180, 16, SS_NOTIFY);
        t.DefPushButton(IDOK, "OK", 60, 60, 80, 26);
    }
    BOOL OnInitDialog() override
    {
        link.SetUnderline(TRUE);
        link.SetTextColor(RGB(0, 0, 255));
        link.SetHandCursor(TRUE);
        return CDialog::OnInitDialog();
    }
    LinkStatic link;
};
}  // namespace

TEST(WinDialogTest, HyperlinkStaticTakesItsClicks)
{
    ScopedScriptedUi ui;
    LinkDlg dlg;
    ui->ExpectDialog(IDD_SETTINGS, IDOK,
                     [&](CDialog& d)
                     {
                         ASSERT_EQ(d.GetDlgItem(IDC_LINK), &dlg.link);
                         auto* label = qobject_cast<QLabel*>(dlg.link.GetWidget());
                         ASSERT_NE(label, nullptr);
                         EXPECT_TRUE(label->font().underline());
                         EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(0, 0, 255));
                         // A real click: press and release on the label.
                         const QPointF at(5, 5);
                         QMouseEvent press(QEvent::MouseButtonPress, at, label->mapToGlobal(at), Qt::LeftButton,
                                           Qt::LeftButton, Qt::NoModifier);
                         QMouseEvent release(QEvent::MouseButtonRelease, at, label->mapToGlobal(at), Qt::LeftButton,
                                             Qt::NoButton, Qt::NoModifier);
                         QCoreApplication::sendEvent(label, &press);
                         QCoreApplication::sendEvent(label, &release);
                         EXPECT_EQ(dlg.link.clicks, 1);
                         EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(128, 0, 128));
                     });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

namespace
{
bool g_deleted = false;
class ToolDlg : public CDialog
{
public:
    ToolDlg() : CDialog(IDD_SETTINGS) {}
    ~ToolDlg() override { g_deleted = true; }
    void BuildTemplate(CDialogTemplate& t) override
    {
        t.Caption("Report").Size(200, 100);
        t.Edit(IDC_NOTE, 10, 10, 180, 40, ES_MULTILINE | ES_READONLY);
        t.DefPushButton(IDOK, "OK", 60, 60, 80, 26);
    }
    void OnOK() override { DestroyWindow(); }
    void OnCancel() override { DestroyWindow(); }
    void PostNcDestroy() override { delete this; }
};
}  // namespace

TEST(WinDialogTest, ModelessWindowDeletesItselfWhenClosed)
{
    g_deleted = false;
    auto* tool = new ToolDlg;
    ASSERT_TRUE(tool->Create());
    EXPECT_TRUE(tool->IsWindowVisible());
    EXPECT_FALSE(tool->IsModal());
    tool->SetDlgItemText(IDC_NOTE, "FILES NAMED IN PIECE ARRAY NOT FOUND!\r\nx.bmp");
    EXPECT_EQ(tool->GetDlgItemText(IDC_NOTE), "FILES NAMED IN PIECE ARRAY NOT FOUND!\r\nx.bmp");
    QWidget* window = tool->GetWidget();
    // The close box.
    QCloseEvent close;
    QCoreApplication::sendEvent(window, &close);
    EXPECT_TRUE(g_deleted);
    CWnd::FlushDeferredDeletes();
}

namespace
{
// A tree control with the hierarchy window's habits: renames checked by a
// hook, items dragged onto others.
class HierarchyTree : public CTreeCtrl
{
public:
    std::vector<CString> refused{"Taken"};
    HTREEITEM dragItem = nullptr;
    HTREEITEM dropItem = nullptr;
    int beginDrags = 0;
    bool dropped = false;

    BOOL OnEndLabelEdit(HTREEITEM item, const CString* newText) override
    {
        if (!newText)
            return TRUE;
        for (const CString& r : refused)
            if (r == *newText)
                return FALSE;
        SetItemText(item, *newText);
        return TRUE;
    }
    void OnBeginDrag(HTREEITEM item, CPoint) override
    {
        ++beginDrags;
        dragItem = item;
        SetCapture();
    }
    void OnMouseMove(UINT flags, CPoint point) override
    {
        if (dragItem)
        {
            UINT hit = 0;
            HTREEITEM target = HitTest(point, &hit);
            SelectDropTarget((hit & TVHT_ONITEM) ? target : nullptr);
            dropItem = GetDropHilightItem();
            return;
        }
        CTreeCtrl::OnMouseMove(flags, point);
    }
    void OnLButtonUp(UINT flags, CPoint point) override
    {
        if (dragItem)
        {
            if (dropItem && dropItem != dragItem)
            {
                int image = 0;
                int selected = 0;
                GetItemImage(dragItem, image, selected);
                InsertItem(GetItemText(dragItem), image, selected, dropItem, TVI_SORT);
                DeleteItem(dragItem);
                dropped = true;
            }
            ReleaseCapture();
            SelectDropTarget(nullptr);
            dragItem = nullptr;
            return;
        }
        CTreeCtrl::OnLButtonUp(flags, point);
    }
};

class TreeDlg : public CDialog
{
public:
    TreeDlg() : CDialog(IDD_SETTINGS) {}
    void BuildTemplate(CDialogTemplate& t) override
    {
        t.Caption("Unit Hierarchy").Size(240, 300);
        t.TreeCtrl(1239, 0, 0, 240, 300, TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_EDITLABELS);
    }
    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, 1239, tree); }
    HierarchyTree tree;
};

void SendMouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent e(type, QPointF(at), QPointF(w->mapToGlobal(at)), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}
}  // namespace

TEST(WinDialogTest, TreeControlImagesRenamesAndDrags)
{
    TreeDlg dlg;
    ASSERT_TRUE(dlg.Create());
    HierarchyTree& tree = dlg.tree;
    ASSERT_TRUE(tree.IsWindow());
    ASSERT_EQ(dlg.GetDlgItem(1239), &tree);

    // Images: a 2-image strip, keyed magenta.
    CBitmap strip;
    strip.CreateBitmap(32, 16);
    CImageList images;
    images.Create(16, 16, ILC_COLOR16 | ILC_MASK, 2, 8);
    images.Add(&strip, RGB(255, 0, 255));
    EXPECT_EQ(tree.SetImageList(&images, TVSIL_NORMAL), nullptr);

    HTREEITEM first = tree.InsertItem("1st Platoon", 0, 0);
    HTREEITEM second = tree.InsertItem("2nd Platoon", 1, 1);
    HTREEITEM tank = tree.InsertItem("A11", 1, 1, first);
    tree.Expand(first, TVE_EXPAND);
    EXPECT_EQ(tree.GetCount(), 3u);
    EXPECT_EQ(tree.GetParentItem(tank), first);
    EXPECT_EQ(tree.GetChildItem(first), tank);
    EXPECT_EQ(tree.GetNextSiblingItem(first), second);
    EXPECT_TRUE(tree.ItemHasChildren(first));
    int image = -1;
    int selected = -1;
    tree.SetItemImage(tank, 0, 1);
    tree.GetItemImage(tank, image, selected);
    EXPECT_EQ(image, 0);
    EXPECT_EQ(selected, 1);
    auto* qtree = qobject_cast<QTreeWidget*>(tree.GetWidget());
    ASSERT_NE(qtree, nullptr);
    EXPECT_FALSE(qtree->topLevelItem(0)->icon(0).isNull());

    // Rename in place: accepted, refused, cancelled.
    ASSERT_TRUE(tree.EditLabel(tank));
    tree.SetEditText("A12");
    tree.EndEditLabelNow(FALSE);
    EXPECT_EQ(tree.GetItemText(tank), "A12");
    ASSERT_TRUE(tree.EditLabel(tank));
    tree.SetEditText("Taken");
    tree.EndEditLabelNow(FALSE);
    EXPECT_EQ(tree.GetItemText(tank), "A12");
    ASSERT_TRUE(tree.EditLabel(tank));
    tree.SetEditText("Other");
    tree.EndEditLabelNow(TRUE);
    EXPECT_EQ(tree.GetItemText(tank), "A12");
    EXPECT_FALSE(tree.IsEditingLabel());

    // Drag the tank onto the second platoon with the mouse.
    QWidget* viewport = qtree->viewport();
    CRect from;
    CRect to;
    ASSERT_TRUE(tree.GetItemRect(tank, &from, TRUE));
    ASSERT_TRUE(tree.GetItemRect(second, &to, TRUE));
    const QPoint a(from.left + 4, from.CenterPoint().y);
    const QPoint b(to.left + 4, to.CenterPoint().y);
    SendMouse(viewport, QEvent::MouseButtonPress, a, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(tree.GetSelectedItem(), tank);  // the control's own handling ran
    SendMouse(viewport, QEvent::MouseMove, a + QPoint(1, 0), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(tree.beginDrags, 0);  // not far enough yet
    SendMouse(viewport, QEvent::MouseMove, b, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(tree.beginDrags, 1);
    SendMouse(viewport, QEvent::MouseMove, b + QPoint(0, 1), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(tree.GetDropHilightItem(), second);
    SendMouse(viewport, QEvent::MouseButtonRelease, b, Qt::LeftButton, Qt::NoButton);
    EXPECT_TRUE(tree.dropped);
    EXPECT_EQ(tree.GetCount(), 3u);
    HTREEITEM moved = tree.GetChildItem(second);
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(tree.GetItemText(moved), "A12");
    EXPECT_FALSE(tree.ItemHasChildren(first));
    EXPECT_EQ(tree.GetDropHilightItem(), nullptr);
    EXPECT_EQ(tree.GetItemText(tank), "");  // a stale handle finds nothing

    // Hit tests outside any item.
    UINT flags = 0;
    EXPECT_EQ(tree.HitTest(CPoint(5, 290), &flags), nullptr);
    EXPECT_EQ(flags, TVHT_NOWHERE);
    dlg.DestroyWindow();
    CWnd::FlushDeferredDeletes();
}

namespace
{
class CountPage : public CPropertyPage
{
public:
    explicit CountPage(const char* caption) : CPropertyPage(0, caption) {}
    void BuildTemplate(CDialogTemplate& t) override
    {
        t.Size(200, 80);
        t.Edit(IDC_COUNT, 10, 10, 60, 22);
    }
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_COUNT, value);
        DDV_MinMaxInt(pDX, value, 0, 99);
    }
    BOOL OnSetActive() override
    {
        ++activations;
        return CPropertyPage::OnSetActive();
    }
    BOOL OnApply() override
    {
        ++applies;
        return CPropertyPage::OnApply();
    }
    int value = 5;
    int activations = 0;
    int applies = 0;
};
}  // namespace

TEST(WinDialogTest, PropertySheetPagesComeAndGoWhileOpen)
{
    ScopedScriptedUi ui;
    SetMessageBoxCaption("Kedravin");
    CountPage general("General");
    CountPage weapons("Weapons");
    CountPage extra("Extra");
    CPropertySheet sheet("Unit Information");
    sheet.AddPage(&general);
    sheet.AddPage(&weapons);
    ui->ExpectDialogCaption("Unit Information", IDOK,
                            [&](CDialog& d)
                            {
                                auto& carrier = dynamic_cast<CSheetDialog&>(d);
                                CPropertySheet* s = carrier.GetSheet();
                                EXPECT_EQ(s->GetPageCount(), 2);
                                EXPECT_EQ(s->GetActivePage(), &general);
                                EXPECT_TRUE(general.IsWindow());
                                EXPECT_FALSE(weapons.IsWindow());  // made when first shown
                                EXPECT_EQ(general.GetDlgItemText(IDC_COUNT), "5");

                                // A bad value keeps its page.
                                general.SetDlgItemText(IDC_COUNT, "100");
                                EXPECT_FALSE(s->SetActivePage(1));
                                EXPECT_EQ(s->GetActiveIndex(), 0);
                                general.SetDlgItemText(IDC_COUNT, "12");
                                EXPECT_TRUE(s->SetActivePage(&weapons));
                                EXPECT_TRUE(weapons.IsWindow());
                                weapons.SetDlgItemText(IDC_COUNT, "7");

                                s->AddPage(&extra);
                                EXPECT_EQ(s->GetPageCount(), 3);
                                EXPECT_TRUE(s->SetActivePage(2));
                                s->RemovePage(&weapons);
                                EXPECT_EQ(s->GetPageCount(), 2);
                                EXPECT_FALSE(weapons.IsWindow());
                                EXPECT_EQ(s->GetPage(1), &extra);
                                EXPECT_EQ(s->GetActivePage(), &extra);
                            });
    ui->ExpectMessage("Kedravin", "Please enter an integer between 0 and 99.", IDOK);
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_EQ(general.value, 12);
    EXPECT_EQ(general.applies, 1);
    EXPECT_EQ(extra.applies, 1);
    EXPECT_EQ(weapons.applies, 0);  // removed before OK
    EXPECT_EQ(weapons.value, 7);    // taken when it was left
    EXPECT_FALSE(general.IsWindow());
}

TEST(WinDialogTest, ModelessSheetHasNoButtonsAndCloses)
{
    CountPage general("General");
    CPropertySheet sheet("Hierarchy Information");
    sheet.AddPage(&general);
    ASSERT_TRUE(sheet.Create());
    EXPECT_TRUE(sheet.IsWindowVisible());
    EXPECT_TRUE(general.IsWindow());
    EXPECT_EQ(sheet.GetWidget()->findChildren<QPushButton*>().size(), 0);
    sheet.PressButton(IDCANCEL);
    EXPECT_FALSE(sheet.IsWindow());
    EXPECT_FALSE(general.IsWindow());
    // Created again, shown again.
    ASSERT_TRUE(sheet.Create());
    EXPECT_TRUE(general.IsWindow());
    sheet.DestroyWindow();
    CWnd::FlushDeferredDeletes();
}
