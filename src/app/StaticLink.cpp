#include "app/StaticLink.h"

#include "platform/ui/Shell.h"
#include "platform/ui/UiService.h"

namespace
{
// A shell result above this is success.
constexpr HINSTANCE SHELL_FAILURE_LIMIT = 32;
}  // namespace

void CStaticLink::ApplyLinkLook()
{
    const DWORD type = GetStyle() & SS_TYPEMASK;
    if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT)
        return;
    SetUnderline(TRUE);
    SetTextColor(m_bVisited ? kVisitedColor : kUnvisitedColor);
}

void CStaticLink::OnClicked()
{
    if (m_strLink.IsEmpty())
        m_strLink = GetWindowText();
    const HINSTANCE result = ShellExecute(nullptr, "open", m_strLink, nullptr, nullptr, SW_SHOWNORMAL);
    if (result <= SHELL_FAILURE_LIMIT)
    {
        MessageBeep(0);
        return;
    }
    m_bVisited = TRUE;
    ApplyLinkLook();
}
