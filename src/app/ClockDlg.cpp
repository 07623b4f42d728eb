#include "app/ClockDlg.h"

#include "app/GameClock.h"
#include "platform/ui/App.h"
#include "platform/ui/DC.h"
#include "platform/ui/Frame.h"
#include "platform/ui/View.h"

namespace
{
constexpr int CLOCK_WIDTH = 240;
constexpr int CLOCK_HEIGHT = 92;
constexpr int MARGIN = 8;
constexpr int LINE_HEIGHT = 20;
constexpr int VALUE_COLUMN = 110;
// The light text the window shows until the light conditions first set
// one; from then on their text stands, the empty one of daylight too.
const char* const LIGHT_AT_START = "NIGHT";
}  // namespace

CClockDlg::CClockDlg() : m_strLight(LIGHT_AT_START), m_fRate(1.0f), m_bCreated(FALSE), m_tsElapsed(0) {}

CClockDlg::~CClockDlg() { DestroyClockWindow(); }

void CClockDlg::SetLightText(const CString& strLight) { m_strLight = strLight; }

void CClockDlg::ShowTimes(const CString& strGameTime)
{
    m_strGameTime = strGameTime;
    CGameClock::CompressionText(m_fRate, m_strCompression);
    m_strElapsed = CGameClock::ElapsedText(m_tsElapsed);
    if (m_bCreated)
        UpdateControls();
}

void CClockDlg::UpdateControls()
{
    if (IsWindow())
        Invalidate(FALSE);
}

void CClockDlg::CreateClockWindow()
{
    if (m_bCreated)
        return;
    CWnd* pOwner = AfxGetMainWnd();
    if (!CreateEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "Clock", WS_POPUP | WS_CAPTION | WS_SYSMENU,
                  CRect(0, 0, CLOCK_WIDTH, CLOCK_HEIGHT), pOwner, 0))
        return;
    m_bCreated = TRUE;
    CGameClock::CompressionText(m_fRate, m_strCompression);
    PlaceAtViewCorner();
    ShowWindow(SW_SHOWNA);
}

void CClockDlg::DestroyClockWindow()
{
    if (IsWindow())
        DestroyWindow();
    m_bCreated = FALSE;
}

void CClockDlg::OnDestroy() { m_bCreated = FALSE; }

void CClockDlg::PlaceAtViewCorner()
{
    auto* pFrame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
    CView* pView = pFrame != nullptr ? pFrame->GetActiveView() : nullptr;
    if (pView == nullptr || !pView->IsWindow())
        return;
    CRect rcView;
    pView->GetClientRect(&rcView);
    pView->ClientToScreen(&rcView);
    CRect rcSelf;
    GetWindowRect(&rcSelf);
    SetWindowPos(&wndTopMost, rcView.right - rcSelf.Width(), rcView.bottom - rcSelf.Height(), 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE);
}

void CClockDlg::OnPaint()
{
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    dc.FillSolidRect(&rc, RGB(212, 208, 200));
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(RGB(0, 0, 0));
    dc.TextOut(MARGIN, MARGIN, "GAME TIME:");
    dc.TextOut(VALUE_COLUMN, MARGIN, m_strGameTime);
    dc.TextOut(MARGIN, MARGIN + LINE_HEIGHT, "TIME ELAPSED:");
    dc.TextOut(VALUE_COLUMN, MARGIN + LINE_HEIGHT, m_strElapsed);
    dc.TextOut(MARGIN, MARGIN + 2 * LINE_HEIGHT, m_strCompression);
    dc.TextOut(VALUE_COLUMN, MARGIN + 2 * LINE_HEIGHT, m_strLight);
}
