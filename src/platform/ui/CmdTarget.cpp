#include "platform/ui/CmdTarget.h"

#include "platform/ui/App.h"

CCmdTarget::~CCmdTarget()
{
    if (CWinApp* app = AfxGetApp())
        app->CancelPosted(this);
}

void CCmdUI::Enable(BOOL bOn)
{
    m_bEnableSet = true;
    m_bEnabled = bOn != FALSE;
}

void CCmdUI::SetCheck(int nCheck)
{
    m_bCheckSet = true;
    m_nCheck = nCheck;
    m_bRadio = false;
}

void CCmdUI::SetRadio(BOOL bOn)
{
    m_bCheckSet = true;
    m_nCheck = bOn ? 1 : 0;
    m_bRadio = true;
}

void CCmdUI::SetText(const char* text)
{
    m_bTextSet = true;
    m_strText = text;
}

void CCmdUI::DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler)
{
    if (target)
        target->OnCmdMsg(m_nID, this);
    if (m_bEnableSet || !disableIfNoHandler)
        return;
    // Nobody decided: usable exactly when some target handles the command.
    CCmdUI probe(m_nID);
    probe.m_bProbe = true;
    Enable(target && target->OnCmdMsg(m_nID, &probe));
}

void CCmdTarget::MapCommand(UINT id, CommandFn fn)
{
    m_handlers.push_back({id, id, [f = std::move(fn)](UINT) { f(); }, {}});
}

void CCmdTarget::MapCommandRange(UINT first, UINT last, CommandRangeFn fn)
{
    m_handlers.push_back({first, last, std::move(fn), {}});
}

void CCmdTarget::MapUpdate(UINT id, UpdateFn fn) { m_handlers.push_back({id, id, {}, std::move(fn)}); }

void CCmdTarget::MapUpdateRange(UINT first, UINT last, UpdateFn fn)
{
    m_handlers.push_back({first, last, {}, std::move(fn)});
}

void CCmdTarget::MapNotify(UINT controlId, UINT code, CommandFn fn)
{
    m_notifies.push_back({controlId, code, std::move(fn)});
}

BOOL CCmdTarget::HandleOwnCommand(UINT id, CCmdUI* pCmdUI)
{
    // Handlers are copied before they run: one may register or replace
    // handlers while it runs.
    if (pCmdUI && pCmdUI->m_bProbe)
    {
        for (auto it = m_handlers.rbegin(); it != m_handlers.rend(); ++it)
            if (id >= it->first && id <= it->last && it->command)
                return TRUE;
        return FALSE;
    }
    if (pCmdUI)
    {
        for (auto it = m_handlers.rbegin(); it != m_handlers.rend(); ++it)
        {
            if (id >= it->first && id <= it->last && it->update)
            {
                UpdateFn fn = it->update;
                fn(pCmdUI);
                return TRUE;
            }
        }
        return FALSE;
    }
    for (auto it = m_handlers.rbegin(); it != m_handlers.rend(); ++it)
    {
        if (id >= it->first && id <= it->last && it->command)
        {
            CommandRangeFn fn = it->command;
            fn(id);
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CCmdTarget::OnCmdMsg(UINT id, CCmdUI* pCmdUI) { return HandleOwnCommand(id, pCmdUI); }

BOOL CCmdTarget::HandleNotify(UINT controlId, UINT code)
{
    for (auto it = m_notifies.rbegin(); it != m_notifies.rend(); ++it)
    {
        if (it->controlId == controlId && it->code == code)
        {
            CommandFn fn = it->fn;
            fn();
            return TRUE;
        }
    }
    return FALSE;
}
