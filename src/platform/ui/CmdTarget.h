#pragma once
// Command targets and the command update protocol.
//
// A command is a numeric id. Objects that handle commands (application,
// document, view, frame, dialogs) derive from CCmdTarget and register their
// handlers, usually in their constructor:
//
//     MapCommand(ID_TIME_START, [this] { OnTimeStart(); });
//     MapUpdate(ID_TIME_START, [this](CCmdUI* ui) { ui->Enable(CanStart()); ui->SetCheck(IsRunning()); });
//     MapCommandRange(ID_UNIT1, ID_UNIT8, [this](UINT id) { OnUnitPick(id); });
//     MapNotify(IDC_LIST, LBN_DBLCLK, [this] { OnOK(); });
//
// Routing (OnCmdMsg) asks a chain of targets in turn: the frame asks its
// active view, the view asks its document, then the frame itself, then the
// application. A menu item or toolbar button whose id no target on the route
// handles is shown disabled.

#include "platform/core/CString.h"
#include "platform/core/Object.h"
#include "platform/core/Types.h"

#include <functional>
#include <vector>

// Control notification codes delivered with MapNotify.
constexpr UINT BN_CLICKED = 0;
constexpr UINT BN_DOUBLECLICKED = 5;
constexpr UINT STN_CLICKED = 0;
constexpr UINT STN_DBLCLK = 1;
constexpr UINT LBN_SELCHANGE = 1;
constexpr UINT LBN_DBLCLK = 2;
constexpr UINT CBN_SELCHANGE = 1;
constexpr UINT CBN_DBLCLK = 2;
constexpr UINT CBN_EDITCHANGE = 5;
constexpr UINT EN_SETFOCUS = 0x100;
constexpr UINT EN_KILLFOCUS = 0x200;
constexpr UINT EN_CHANGE = 0x300;
constexpr UINT TVN_SELCHANGED = 0xFE6E;  // tree selection moved
constexpr UINT TBN_POSCHANGED = 0xFE6F;  // slider position changed (any way)

// The state a command's update handler sets for one menu item, toolbar
// button or status pane. Only what the handler touches is applied.
class CCmdUI
{
public:
    explicit CCmdUI(UINT id = 0) : m_nID(id) {}
    virtual ~CCmdUI() = default;

    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1);  // 0 unchecked, 1 checked, 2 indeterminate
    virtual void SetRadio(BOOL bOn = TRUE);
    virtual void SetText(const char* text);

    UINT m_nID;
    // Set while the route is only asked whether a command handler exists.
    bool m_bProbe = false;
    // What the handler asked for (read by the caller that applies it).
    bool m_bEnableSet = false;
    bool m_bEnabled = true;
    bool m_bCheckSet = false;
    int m_nCheck = 0;
    bool m_bRadio = false;
    bool m_bTextSet = false;
    CString m_strText;

    // Runs the update protocol for m_nID on a route: the update handler when
    // one exists; else enabled when a command handler exists, disabled when
    // none does and disableIfNoHandler is set.
    void DoUpdate(class CCmdTarget* target, BOOL disableIfNoHandler);
};

class CCmdTarget : public CObject
{
public:
    CCmdTarget() = default;
    ~CCmdTarget() override;  // drops commands still queued for it

    using CommandFn = std::function<void()>;
    using CommandRangeFn = std::function<void(UINT)>;
    using UpdateFn = std::function<void(CCmdUI*)>;

    void MapCommand(UINT id, CommandFn fn);
    void MapCommandRange(UINT first, UINT last, CommandRangeFn fn);
    void MapUpdate(UINT id, UpdateFn fn);
    void MapUpdateRange(UINT first, UINT last, UpdateFn fn);
    // A control notification (BN_CLICKED, LBN_DBLCLK, ...) from child control id.
    void MapNotify(UINT controlId, UINT code, CommandFn fn);

    // Command routing. With pCmdUI null: runs the command; TRUE when some
    // target handled it. With pCmdUI set: runs the first update handler on
    // the route; TRUE when one ran. With a probe (m_bProbe): TRUE when a
    // command handler exists on the route. A routing override asks its
    // chain in order and stops at the first TRUE.
    virtual BOOL OnCmdMsg(UINT id, CCmdUI* pCmdUI);

    // This target's own table only (no routing).
    BOOL HandleOwnCommand(UINT id, CCmdUI* pCmdUI);
    // TRUE when a notification handler ran.
    BOOL HandleNotify(UINT controlId, UINT code);

    // Runs a command through the route. TRUE when handled.
    BOOL ExecuteCommand(UINT id) { return OnCmdMsg(id, nullptr); }

private:
    struct Handler
    {
        UINT first;
        UINT last;
        CommandRangeFn command;
        UpdateFn update;
    };
    struct Notify
    {
        UINT controlId;
        UINT code;
        CommandFn fn;
    };
    std::vector<Handler> m_handlers;  // searched from the newest registration
    std::vector<Notify> m_notifies;
};
