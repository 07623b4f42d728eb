#include "platform/ui/Command.h"

#include "platform/ui/CommandPrivate.h"

#include <map>
#include <vector>

namespace
{
std::map<UINT, CString>& StringTable()
{
    static std::map<UINT, CString> table;
    return table;
}
std::map<UINT, std::vector<ACCEL>>& AccelResources()
{
    static std::map<UINT, std::vector<ACCEL>> table;
    return table;
}
}  // namespace

void RegisterResourceString(UINT id, const char* text) { StringTable()[id] = text; }

CString LoadResourceString(UINT id)
{
    auto it = StringTable().find(id);
    return it == StringTable().end() ? CString() : it->second;
}

BOOL AfxLoadString(UINT id, CString& text)
{
    auto it = StringTable().find(id);
    if (it == StringTable().end())
        return FALSE;
    text = it->second;
    return TRUE;
}

// The tooltip part of a command's string ("prompt\ntooltip").
CString TooltipOf(UINT id)
{
    const CString s = LoadResourceString(id);
    const int nl = s.Find('\n');
    return nl >= 0 ? s.Mid(nl + 1) : CString();
}

CString PromptOf(UINT id)
{
    const CString s = LoadResourceString(id);
    const int nl = s.Find('\n');
    return nl >= 0 ? s.Left(nl) : s;
}

// ---------------------------------------------------------------------------

void CAcceleratorTable::RegisterResource(UINT resourceId, std::vector<ACCEL> entries)
{
    AccelResources()[resourceId] = std::move(entries);
}

BOOL CAcceleratorTable::Load(UINT resourceId)
{
    auto it = AccelResources().find(resourceId);
    if (it == AccelResources().end())
        return FALSE;
    m_entries = it->second;
    return TRUE;
}

UINT CAcceleratorTable::Translate(UINT vk, bool shift, bool control, bool alt) const
{
    for (const ACCEL& a : m_entries)
    {
        if (a.key != vk)
            continue;
        if (((a.fVirt & FSHIFT) != 0) != shift || ((a.fVirt & FCONTROL) != 0) != control ||
            ((a.fVirt & FALT) != 0) != alt)
            continue;
        return a.cmd;
    }
    return 0;
}
