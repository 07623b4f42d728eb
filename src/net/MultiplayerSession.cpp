#include "net/MultiplayerSession.h"

#include "net/Message.h"

CString UrlEncode(const CString& text)
{
    static const char HEX[] = "0123456789ABCDEF";
    CString out;
    for (int i = 0; i < text.GetLength(); ++i)
    {
        const unsigned char c = static_cast<unsigned char>(text.GetAt(i));
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
            c == '.' || c == '~')
        {
            out += static_cast<char>(c);
        }
        else if (c == ' ')
        {
            out += '+';
        }
        else
        {
            out += '%';
            out += HEX[c >> 4];
            out += HEX[c & 0xF];
        }
    }
    return out;
}

CMultiplayerSession::CMultiplayerSession()
    : m_bEnemySide(FALSE),
      m_bStarted(FALSE),
      m_bOtherAskedFirst(FALSE),
      m_bAllAnswered(FALSE),
      m_bAnswerAgreed(FALSE),
      m_bGameOver(FALSE),
      m_bConnectionBroken(FALSE),
      m_nArenaPosted(0),
      m_bInternetSession(FALSE),
      m_bSurrendered(FALSE),
      m_bSurrenderWait(FALSE),
      m_bSurrenderReply(FALSE),
      m_bEnded(FALSE),
      m_pLink(nullptr),
      m_nState(STATE_GIVEN_UP)
{
}

CMultiplayerSession::~CMultiplayerSession() = default;

int CMultiplayerSession::RunSetup(const CString&)
{
    m_nState = STATE_GIVEN_UP;
    return 1;
}

void CMultiplayerSession::BeginWaitForPlayers() {}
void CMultiplayerSession::ClearRequestFlags() {}
BOOL CMultiplayerSession::IsOpponentConnected() const { return FALSE; }
void CMultiplayerSession::DeleteArenaPost() {}
BOOL CMultiplayerSession::ProcessMessages() { return TRUE; }
void CMultiplayerSession::LeaveGame() {}
BOOL CMultiplayerSession::HasOpponentSurrendered() const { return FALSE; }
BOOL CMultiplayerSession::ListTeamMates() { return FALSE; }
void CMultiplayerSession::RequestSurrender() {}
BOOL CMultiplayerSession::IsChatWindowShown() const { return FALSE; }
void CMultiplayerSession::ShowChatWindow(BOOL) {}

int CMultiplayerSession::SendGameMessage(const void* pPayload, int nLength, DWORD dwType, DWORD dwFlags,
                                         const CString& strText)
{
    return m_pLink ? m_pLink->SendLinkMessage(pPayload, nLength, dwType, dwFlags, strText) : 0;
}

void CMultiplayerSession::ClearGameFields()
{
    m_bSurrendered = FALSE;
    m_bSurrenderWait = FALSE;
    m_bSurrenderReply = FALSE;
    m_bEnded = FALSE;
}
