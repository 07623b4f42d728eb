#pragma once
// CStaticLink: a static control that acts as a hyperlink. A text link shows
// underlined, blue until it has been followed and purple afterwards; a click
// opens its address with the shell (the control's own text when no address
// was given) and beeps when the shell cannot open it.

#include "platform/ui/Dialog.h"

class CStaticLink : public CStatic
{
public:
    static constexpr COLORREF kUnvisitedColor = RGB(0, 0, 255);
    static constexpr COLORREF kVisitedColor = RGB(128, 0, 128);

    CStaticLink() = default;

    // Shows the link's look; only text statics (left, centred or right
    // aligned) take it. Called once the control's window exists.
    void ApplyLinkLook();
    void OnClicked() override;

    CString m_strLink;
    BOOL m_bVisited = FALSE;
};
