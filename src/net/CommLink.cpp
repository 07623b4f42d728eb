#include "net/CommLink.h"

#include "net/NetShell.h"
#include "platform/ui/UiService.h"

#include <new>

CCommLink::CCommLink()
{
    m_pInBuffer.reset(new (std::nothrow) BYTE[kBufferSize]());
    if (!m_pInBuffer)
        NetShowMessage("inBuffer malloc error", nullptr, MB_OK);
}

CCommLink::~CCommLink() = default;

int CCommLink::Open(int) { return 1; }
int CCommLink::Close() { return 1; }
int CCommLink::StartJoin(int) { return 1; }
int CCommLink::StartHost(int) { return 1; }
int CCommLink::Hangup() { return 1; }
CString CCommLink::GetLocalAddress() { return CString(); }
int CCommLink::Send(const void*, int, DWORD, const CString&) { return 0; }
BOOL CCommLink::DataAvailable() { return FALSE; }
int CCommLink::Read(BYTE*, int) { return 0; }

int CCommLink::Poll()
{
    if (!m_bConnected)
        return 0;
    m_bReady = TRUE;
    return 1;
}

int CCommLink::SetMode(int) { return 0; }

void CCommLink::SetAddress(const CString& strPlayerName, const CString& strPassword)
{
    m_strPlayerName = strPlayerName;
    m_strPassword = strPassword;
}

void CCommLink::SetAddress(const CString& strPlayerName, const CString& strPassword, const CString& strHostAddress)
{
    SetAddress(strPlayerName, strPassword);
    m_strHostAddress = strHostAddress;
}
