#include "app/GameClock.h"

#include "app/ClockDlg.h"

CGameClock::CGameClock() : m_pClockDlg(new CClockDlg) {}

CGameClock::~CGameClock() { delete m_pClockDlg; }

void CGameClock::SetRate(float fRate)
{
    m_pClockDlg->m_fRate = fRate;
    CGameTime::SetRate(fRate);
}

void CGameClock::Reset()
{
    CGameTime::Reset();
    m_pClockDlg->m_tsElapsed = CTimeSpan(0);
    if (m_pClockDlg->IsCreated())
        m_pClockDlg->UpdateControls();
}

void CGameClock::Refresh()
{
    m_pClockDlg->m_tsElapsed = m_tsElapsed;
    CGameTime::Refresh();
    m_pClockDlg->ShowTimes(FormatDateTime(m_tCurrent));
}

void CGameClock::ShowLightText(const CString& strLight) { m_pClockDlg->SetLightText(strLight); }

void CGameClock::ShowClockWindow()
{
    if (!m_pClockDlg->IsCreated())
        ToggleClockWindow();
}

BOOL CGameClock::HideClockWindow()
{
    if (!m_pClockDlg->IsCreated())
        return FALSE;
    m_pClockDlg->DestroyClockWindow();
    return TRUE;
}

BOOL CGameClock::ToggleClockWindow()
{
    if (m_pClockDlg->IsCreated())
    {
        m_pClockDlg->DestroyClockWindow();
        return FALSE;
    }
    Refresh();
    m_pClockDlg->CreateClockWindow();
    return TRUE;
}

BOOL CGameClock::IsClockWindowShown() const { return m_pClockDlg->IsCreated(); }

BOOL CGameClock::CompressionText(float fRate, CString& text)
{
    if (fRate == 1.0f)
        text = "";
    else if (fRate == 2.0f)
        text = "2X";
    else if (fRate == 4.0f)
        text = "4X";
    else if (fRate == 8.0f)
        text = "8X";
    else
        return FALSE;
    return TRUE;
}

CString CGameClock::ElapsedText(const CTimeSpan& tsElapsed) { return tsElapsed.Format("Day %D, %H:%M:%S"); }
