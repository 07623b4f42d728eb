#pragma once
// The layout of a dialog as its class describes it in code (see Dialog.h),
// and the styles and answers of the controls a layout names.
//
// This header is free of Qt.

#include "platform/core/CString.h"
#include "platform/core/Geometry.h"
#include "platform/core/Types.h"
#include "platform/ui/Wnd.h"

#include <vector>

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
