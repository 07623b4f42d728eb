#pragma once
// The multiplayer session: set-up flow, the link to the other programs, the
// start handshake, game messages and the lobby. One per multiplayer game,
// owned by the application.
//
// Least form: a session that never connects. Its set-up flow gives up at
// once (state 0), it has no link, so nothing is sent and no message
// arrives, no opponent is ever connected and there is no chat window.

#include "platform/core/CString.h"
#include "platform/core/Collections.h"
#include "platform/core/Types.h"

class CMessage;

// The arena's URL encoding of a query text.
CString UrlEncode(const CString& text);

class CMultiplayerSession
{
public:
    // Set-up states.
    static constexpr int STATE_GIVEN_UP = 0;
    static constexpr int STATE_SINGLE_ENEMY_SIDE = 8;

    CMultiplayerSession();
    virtual ~CMultiplayerSession();
    CMultiplayerSession(const CMultiplayerSession&) = delete;
    CMultiplayerSession& operator=(const CMultiplayerSession&) = delete;

    // One round of the set-up flow on the data directory: 0 to go on,
    // non-zero when finished. GetState tells the outcome.
    int RunSetup(const CString& strDataDir);
    int GetState() const { return m_nState; }

    virtual void BeginWaitForPlayers();
    virtual void ClearRequestFlags();
    virtual BOOL IsOpponentConnected() const;
    virtual void DeleteArenaPost();
    // FALSE when the link failed.
    virtual BOOL ProcessMessages();
    virtual void LeaveGame();
    BOOL HasOpponentSurrendered() const;
    BOOL ListTeamMates();
    // Asks the own side's players to agree to a surrender; their answer
    // clears the wait flag, an agreement sets the reply flag.
    virtual void RequestSurrender();
    // The chat window: least form, there is none, so it is never shown.
    virtual BOOL IsChatWindowShown() const;
    virtual void ShowChatWindow(BOOL bShow);
    // Frames and sends one game message; 0 when there is no link.
    virtual int SendGameMessage(const void* pPayload, int nLength, DWORD dwType, DWORD dwFlags, const CString& strText);
    // Clears the per-game fields (a new document).
    void ClearGameFields();

    CString m_strScreenName;
    CString m_strScenarioFile;
    BOOL m_bEnemySide;
    BOOL m_bStarted;
    BOOL m_bOtherAskedFirst;
    BOOL m_bAllAnswered;
    BOOL m_bAnswerAgreed;
    BOOL m_bGameOver;
    BOOL m_bConnectionBroken;
    int m_nArenaPosted;
    BOOL m_bInternetSession;
    CStringArray m_astrTeamMates;
    BOOL m_bSurrendered;
    BOOL m_bSurrenderWait;
    BOOL m_bSurrenderReply;
    BOOL m_bEnded;
    CMessage* m_pLink;  // the message link; none in the least form

protected:
    int m_nState;
};
