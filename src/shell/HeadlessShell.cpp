#include "shell/HeadlessShell.h"

#include "database/PieceArray.h"
#include "platform/ui/App.h"
#include "platform/ui/Display.h"

CHeadlessShell::CHeadlessShell() : m_previousServices(InstallServiceSet({this, this, this, this})) {}

CHeadlessShell::~CHeadlessShell()
{
    ReleaseSurfaceDC();
    RestoreServiceSet({this, this, this, this}, m_previousServices);
    delete m_pSymbolCatalogue;
}

void CHeadlessShell::AdvanceClock(CTimeSpan& tsElapsed, int& nGameMs, int& nRemainder, DWORD& dwStamp,
                                  int& nWholeSeconds)
{
    m_clock.AdvanceIfRunning(tsElapsed, nGameMs, nRemainder, dwStamp, nWholeSeconds);
}

BOOL CHeadlessShell::ServeWaitingMessage()
{
    if (CWinApp* pApp = AfxGetApp())
        pApp->PumpWaitingMessage();
    return TRUE;
}

void CHeadlessShell::ShowSpotReportInView(const CSpotReport*) {}

void CHeadlessShell::OnToolWindowClosed(int) {}

BOOL CHeadlessShell::ShowMessageBoxDlg(const CString& strTitle, const CString& strText, int, int)
{
    m_shownMessages.push_back(strTitle + "\n" + strText);
    return TRUE;
}

void CHeadlessShell::ShowReport(const CString& strReport) { m_shownReports.push_back(strReport); }

void CHeadlessShell::ShowMissionResults(const CString&, const CString&) { ++m_nResultsShown; }

CDC* CHeadlessShell::GetSurfaceDC()
{
    if (m_pDisplay == nullptr)
        return nullptr;
    m_pSurfaceDC = m_pDisplay->GetSurfaceDC();
    return m_pSurfaceDC;
}

BOOL CHeadlessShell::ReleaseSurfaceDC()
{
    if (m_pSurfaceDC == nullptr || m_pDisplay == nullptr)
        return FALSE;
    m_pDisplay->ReleaseSurfaceDC();
    m_pSurfaceDC = nullptr;
    return TRUE;
}

BOOL CHeadlessShell::IsSoundDefined(int, const CString&) const { return FALSE; }

void CHeadlessShell::PlayWeaponSound(const CString&) {}

void CHeadlessShell::PlayVehicleSound(const CString&) {}

void CHeadlessShell::PlayArtillerySound(const CString&) {}

int CHeadlessShell::LeaveSplashEffect(int nMunition, CFireMission*)
{
    m_splashEffects.push_back(nMunition);
    return 0;
}

BOOL CHeadlessShell::LoadSoundList(const CString& strName, CString& strFileName)
{
    strFileName = strName;
    return TRUE;
}
