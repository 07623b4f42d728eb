#pragma once
// Commands: the framework's command ids, menus (built from a description,
// changed at run time, tracked as popups), accelerator tables, toolbars,
// status bars and the string table that gives each command its status-bar
// prompt and tooltip.
//
// The update protocol (CCmdUI, platform/ui/CmdTarget.h) runs for every command
// item of a menu just before it opens, for every toolbar button and status
// pane at idle time (CWinApp::OnIdle), so a handler that enables, checks or
// renames its id decides how each of them looks.
//
// Menu, toolbar and accelerator commands reach their target as posted
// messages: they run from the message pump after the menu has closed or the
// key has been handled.
//
// This header is free of Qt.

#include "platform/core/CString.h"
#include "platform/core/Geometry.h"
#include "platform/core/Types.h"
#include "platform/ui/CmdTarget.h"
#include "platform/ui/Wnd.h"

#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

class QMenu;
class CBitmap;
class CFrameWnd;

// ---- Framework command ids ----
constexpr UINT ID_SEPARATOR = 0;
constexpr UINT ID_FILE_NEW = 0xE100;
constexpr UINT ID_FILE_OPEN = 0xE101;
constexpr UINT ID_FILE_CLOSE = 0xE102;
constexpr UINT ID_FILE_SAVE = 0xE103;
constexpr UINT ID_FILE_SAVE_AS = 0xE104;
constexpr UINT ID_FILE_MRU_FILE1 = 0xE110;
constexpr UINT ID_FILE_MRU_FILE2 = 0xE111;
constexpr UINT ID_FILE_MRU_FILE3 = 0xE112;
constexpr UINT ID_FILE_MRU_FILE4 = 0xE113;
constexpr UINT ID_EDIT_COPY = 0xE122;
constexpr UINT ID_EDIT_CUT = 0xE123;
constexpr UINT ID_EDIT_PASTE = 0xE125;
constexpr UINT ID_APP_ABOUT = 0xE140;
constexpr UINT ID_APP_EXIT = 0xE141;
constexpr UINT ID_HELP_INDEX = 0xE142;
constexpr UINT ID_HELP_FINDER = 0xE143;
constexpr UINT ID_HELP_USING = 0xE144;
constexpr UINT ID_CONTEXT_HELP = 0xE145;
constexpr UINT ID_HELP = 0xE146;
constexpr UINT ID_INDICATOR_CAPS = 0xE701;
constexpr UINT ID_INDICATOR_NUM = 0xE702;
constexpr UINT ID_INDICATOR_SCRL = 0xE703;
constexpr UINT ID_VIEW_TOOLBAR = 0xE800;
constexpr UINT ID_VIEW_STATUS_BAR = 0xE801;
constexpr UINT AFX_IDW_TOOLBAR = 0xE800;
constexpr UINT AFX_IDW_STATUS_BAR = 0xE801;
constexpr UINT AFX_IDW_PANE_FIRST = 0xE900;

// ---- String table ----
// A command's string is "status-bar prompt\ntooltip".
void RegisterResourceString(UINT id, const char* text);
CString LoadResourceString(UINT id);  // empty when none
BOOL AfxLoadString(UINT id, CString& text);

// ---- Menus ----
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_ENABLED = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_DISABLED = 0x0002;
constexpr UINT MF_UNCHECKED = 0x0000;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_POPUP = 0x0010;
constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_BYPOSITION = 0x0400;
constexpr UINT MF_SEPARATOR = 0x0800;
constexpr UINT TPM_LEFTALIGN = 0x0000;
constexpr UINT TPM_LEFTBUTTON = 0x0000;
constexpr UINT TPM_RIGHTBUTTON = 0x0002;
constexpr UINT TPM_CENTERALIGN = 0x0004;
constexpr UINT TPM_RIGHTALIGN = 0x0008;
constexpr UINT TPM_NONOTIFY = 0x0080;
constexpr UINT TPM_RETURNCMD = 0x0100;
constexpr UINT kMenuPopupId = 0xFFFFFFFF;  // GetMenuItemID of a submenu

// One line of a menu description: a command, a separator or a submenu.
struct CMenuItemDesc
{
    CString text;  // "&Start\tG": after the tab, the key shown
    UINT id = 0;
    bool separator = false;
    bool popup = false;
    std::vector<CMenuItemDesc> items;  // a submenu's lines
};
inline CMenuItemDesc MenuItem(const char* text, UINT id)
{
    CMenuItemDesc d;
    d.text = text;
    d.id = id;
    return d;
}
inline CMenuItemDesc MenuSeparator()
{
    CMenuItemDesc d;
    d.separator = true;
    return d;
}
inline CMenuItemDesc MenuPopup(const char* text, std::vector<CMenuItemDesc> items)
{
    CMenuItemDesc d;
    d.text = text;
    d.popup = true;
    d.items = std::move(items);
    return d;
}
using CMenuDesc = std::vector<CMenuItemDesc>;

// A menu: a list of items, each a command, a separator or a submenu (owned).
// Items are addressed by position (MF_BYPOSITION) or by command id
// (MF_BYCOMMAND, searching submenus too).
class CMenu
{
public:
    struct Item
    {
        UINT id = 0;
        CString text;
        UINT state = 0;  // MF_GRAYED, MF_CHECKED
        bool separator = false;
        bool radio = false;
        std::unique_ptr<CMenu> popup;
    };

    CMenu();
    ~CMenu();
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    BOOL CreateMenu();
    BOOL CreatePopupMenu();
    BOOL DestroyMenu();
    BOOL IsCreated() const { return m_bCreated; }
    // Loads a registered menu resource or a description (replacing the items).
    BOOL LoadMenu(UINT resourceId);
    BOOL LoadMenu(const CMenuDesc& desc);
    static void RegisterMenuResource(UINT resourceId, CMenuDesc desc);
    static BOOL IsMenuResourceRegistered(UINT resourceId);

    UINT GetMenuItemCount() const { return static_cast<UINT>(m_items.size()); }
    UINT GetMenuItemID(int position) const;  // kMenuPopupId for a submenu, 0 for a separator
    CMenu* GetSubMenu(int position) const;
    int GetMenuString(UINT item, CString& text, UINT flags) const;
    CString GetMenuString(UINT item, UINT flags) const;
    UINT GetMenuState(UINT item, UINT flags) const;  // 0xFFFFFFFF when there is no such item

    BOOL AppendMenu(UINT flags, UINT id = 0, const char* text = nullptr);
    CMenu* AppendPopup(const char* text);
    // Inserts before the item at position (MF_BYPOSITION; -1 or past the end
    // appends) or before the item with that id (MF_BYCOMMAND).
    BOOL InsertMenu(UINT position, UINT flags, UINT id = 0, const char* text = nullptr);
    CMenu* InsertPopup(UINT position, UINT flags, const char* text);
    BOOL ModifyMenu(UINT position, UINT flags, UINT id, const char* text);
    BOOL RemoveMenu(UINT position, UINT flags);
    BOOL DeleteMenu(UINT position, UINT flags) { return RemoveMenu(position, flags); }
    UINT EnableMenuItem(UINT item, UINT enable);  // answers the previous state, 0xFFFFFFFF when absent
    UINT CheckMenuItem(UINT item, UINT check);
    BOOL CheckMenuRadioItem(UINT first, UINT last, UINT item, UINT flags);

    // Runs the update protocol for every command item (submenus too) on the
    // route of target; items that nobody handles are disabled.
    void UpdateCommandStates(CCmdTarget* target, BOOL disableIfNoHandler = TRUE);
    // Shows the menu as a popup at a screen point through the UI service.
    // The items are first updated through the owner's route. With
    // TPM_RETURNCMD answers the chosen id (0: none); otherwise posts the
    // chosen command to the owner and answers whether one was chosen.
    UINT TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, const CRect* rect = nullptr);

    const Item* GetItem(int position) const;
    // The item with this command id anywhere in the menu, or null.
    Item* FindItem(UINT id, CMenu** owner = nullptr, int* position = nullptr);
    // Fills a Qt menu with the items; triggering an item calls chosen(id).
    void FillQMenu(QMenu* menu, const std::function<void(UINT)>& chosen) const;

private:
    Item* Locate(UINT item, UINT flags, CMenu** owner, int* position);
    const Item* Locate(UINT item, UINT flags) const;
    void Append(const CMenuItemDesc& desc);

    bool m_bCreated = false;
    std::vector<Item> m_items;
};

// ---- Accelerators ----
constexpr BYTE FVIRTKEY = 0x01;
constexpr BYTE FSHIFT = 0x04;
constexpr BYTE FCONTROL = 0x08;
constexpr BYTE FALT = 0x10;

struct ACCEL
{
    BYTE fVirt = FVIRTKEY;  // FVIRTKEY with FSHIFT, FCONTROL, FALT
    WORD key = 0;           // virtual key ('G', VK_ESCAPE, ...)
    WORD cmd = 0;           // command id
};

class CAcceleratorTable
{
public:
    static void RegisterResource(UINT resourceId, std::vector<ACCEL> entries);
    BOOL Load(UINT resourceId);
    void Set(std::vector<ACCEL> entries) { m_entries = std::move(entries); }
    const std::vector<ACCEL>& Entries() const { return m_entries; }
    BOOL IsEmpty() const { return m_entries.empty(); }
    // The command for a key with the modifier state of the message, 0 when none.
    UINT Translate(UINT vk, bool shift, bool control, bool alt) const;

private:
    std::vector<ACCEL> m_entries;
};

// ---- Control bars ----
constexpr DWORD CBRS_ALIGN_TOP = 0x1000;
constexpr DWORD CBRS_ALIGN_BOTTOM = 0x4000;
constexpr DWORD CBRS_TOP = CBRS_ALIGN_TOP;
constexpr DWORD CBRS_BOTTOM = CBRS_ALIGN_BOTTOM;
constexpr DWORD CBRS_TOOLTIPS = 0x0010;
constexpr DWORD CBRS_FLYBY = 0x0020;
constexpr DWORD CBRS_SIZE_DYNAMIC = 0x0040;
constexpr DWORD CBRS_GRIPPER = 0x00400000;
constexpr DWORD TBSTYLE_FLAT = 0x0800;
constexpr DWORD TBSTYLE_TOOLTIPS = 0x0100;
constexpr UINT SBPS_NORMAL = 0x0000;
constexpr UINT SBPS_NOBORDERS = 0x0100;
constexpr UINT SBPS_STRETCH = 0x0800;

// Base of toolbars and status bars: they register with their frame, which
// updates them at idle time.
class CControlBar : public CWnd
{
public:
    CControlBar() = default;
    ~CControlBar() override;

    void SetBarStyle(DWORD style) { m_dwStyle = style; }
    DWORD GetBarStyle() const { return m_dwStyle; }
    virtual void OnUpdateCmdUI(CCmdTarget* target, BOOL disableIfNoHandler) = 0;
    CFrameWnd* GetOwnerFrame() const { return m_pFrame; }

protected:
    BOOL AttachToFrame(CWnd* parent);

    DWORD m_dwStyle = 0;
    CFrameWnd* m_pFrame = nullptr;
};

// A row of buttons, each a command id with an image from a bitmap strip
// and a tooltip from the string table. The button set can be swapped.
class CToolBar : public CControlBar
{
public:
    CToolBar();
    ~CToolBar() override;

    BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT id = AFX_IDW_TOOLBAR);
    BOOL CreateEx(CWnd* parent, DWORD ctrlStyle = TBSTYLE_FLAT, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP,
                  const CRect& borders = CRect(0, 0, 0, 0), UINT id = AFX_IDW_TOOLBAR);
    // The button images: a strip cut into images of the set size (16 x 15
    // by default). FALSE (buttons kept) when the bitmap cannot be loaded.
    BOOL LoadBitmap(UINT resourceId);
    BOOL LoadBitmap(CBitmap* bitmap);
    void SetSizes(CSize button, CSize image);
    // ID_SEPARATOR makes a separator; the others take the images in order.
    BOOL SetButtons(const UINT* ids, int count);

    int GetCount() const;
    UINT GetItemID(int index) const;
    int CommandToIndex(UINT id) const;
    BOOL IsButtonEnabled(UINT id) const;
    BOOL IsButtonChecked(UINT id) const;
    CString GetButtonTooltip(UINT id) const;
    CString GetButtonText(UINT id) const;
    // Clicks a button as the user would (a disabled one does nothing).
    BOOL PressButton(UINT id);
    // The cursor enters a button, as the user's would: with fly-by help
    // the frame's message pane shows the command's prompt. LeaveBar moves
    // it off the bar again, which brings back the idle message.
    BOOL HoverButton(UINT id);
    void LeaveBar();
    // The tooltip the button's window shows.
    CString GetButtonShownTooltip(UINT id) const;

    void OnUpdateCmdUI(CCmdTarget* target, BOOL disableIfNoHandler) override;

private:
    void Rebuild();
    void WatchFlyByEnd();

    struct Impl;
    std::unique_ptr<Impl> m_p;
};

// A row of panes under the frame: pane 0 shows messages and prompts, the
// others show indicators or texts their update handlers set.
class CStatusBar : public CControlBar
{
public:
    CStatusBar();
    ~CStatusBar() override;

    BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT id = AFX_IDW_STATUS_BAR);
    BOOL SetIndicators(const UINT* ids, int count);
    BOOL SetPaneText(int index, const char* text, BOOL update = TRUE);
    CString GetPaneText(int index) const;
    void SetPaneInfo(int index, UINT id, UINT style, int width);
    int CommandToIndex(UINT id) const;
    UINT GetItemID(int index) const;
    int GetCount() const;

    void OnUpdateCmdUI(CCmdTarget* target, BOOL disableIfNoHandler) override;

private:
    struct Impl;
    std::unique_ptr<Impl> m_p;
};
