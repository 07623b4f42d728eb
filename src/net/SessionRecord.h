#pragma once
// The records of our session protocol, between each player and the host's
// relay over TCP. A record is a 32-bit little-endian size, then that many
// bytes: a kind byte and the body. Texts are a 16-bit size and the bytes,
// ids 32-bit, all little-endian.
//
//   player -> relay                        relay -> player
//   Hello   app id, password, name         Welcome  player id, roster
//   Query   app id                         Refuse   reason byte
//   CreateGroup  name                      Info     session name, players,
//   JoinGroup    group id                           most players, password flag
//   Send    target kind, target id, bytes  Roster   roster
//   DestroyPlayer  player id (a ghost)     Data     sender id, bytes
//   Bye
//
// A roster lists the players (id, name, ghost flag) and the groups (id,
// name, member ids). The reader never trusts a size: a record above
// kMaxRecord, a text above kMaxText or a count beyond the bytes left makes
// the stream bad.

#include "platform/core/CString.h"
#include "platform/core/Types.h"

#include <vector>

namespace SessionRecord
{
enum Kind : BYTE
{
    Hello = 1,
    Query = 2,
    Info = 3,
    Welcome = 4,
    Refuse = 5,
    Roster = 6,
    CreateGroup = 7,
    JoinGroup = 8,
    Send = 9,
    Data = 10,
    DestroyPlayer = 11,
    Bye = 12
};

// Why the relay refused a player.
enum Refusal : BYTE
{
    NoSession = 1,  // another application
    BadPassword = 2,
    SessionFull = 3,
    NameTaken = 4
};

// Whom a Send is for.
enum Target : BYTE
{
    ToAll = 0,
    ToGroup = 1,
    ToPlayer = 2
};

constexpr int kMaxRecord = 65536;
constexpr int kMaxText = 255;
constexpr int kAppIdSize = 16;
}  // namespace SessionRecord

// The players and groups of a session.
struct CSessionRoster
{
    struct Player
    {
        DWORD id = 0;
        CString name;
        BOOL ghost = FALSE;
    };
    struct Group
    {
        DWORD id = 0;
        CString name;
        std::vector<DWORD> members;
    };
    std::vector<Player> players;
    std::vector<Group> groups;

    const Player* FindPlayer(DWORD id) const;
    const Player* FindLivePlayer(const CString& name) const;
    const Group* FindGroup(const CString& name) const;
    const Group* FindGroup(DWORD id) const;
    int CountLive() const;
};

class CRecordWriter
{
public:
    // Starts a record of the kind (the previous one is dropped).
    CRecordWriter& Begin(BYTE kind);
    CRecordWriter& U8(BYTE value);
    CRecordWriter& U32(DWORD value);
    CRecordWriter& Text(const CString& text);  // cut at kMaxText
    CRecordWriter& Bytes(const void* data, int size);
    CRecordWriter& Roster(const CSessionRoster& roster);
    // The finished record.
    const std::vector<BYTE>& Finish();

private:
    std::vector<BYTE> m_bytes;
};

// Reads the fields of one record body; any read beyond the body, or a bad
// count, sets the failure that Ok() then answers.
class CRecordParser
{
public:
    CRecordParser(const BYTE* body, int size) : m_p(body), m_nLeft(size) {}
    BYTE U8();
    DWORD U32();
    CString Text();
    void Bytes(void* destination, int size);
    // The rest of the body.
    const BYTE* Rest(int& size);
    BOOL Roster(CSessionRoster& roster);
    BOOL Ok() const { return m_bOk; }
    BOOL AtEnd() const { return m_bOk && m_nLeft == 0; }

private:
    BOOL Take(int size);
    const BYTE* m_p;
    int m_nLeft;
    BOOL m_bOk = TRUE;
};

// Cuts records out of a byte stream that arrives in pieces of any size.
class CRecordStream
{
public:
    void Feed(const BYTE* data, int size);
    // 1 and the next record's kind and body (valid until the next call),
    // 0 when none is whole yet, -1 when the stream is bad.
    int Next(BYTE& kind, const BYTE*& body, int& size);
    void Clear();

private:
    std::vector<BYTE> m_bytes;
    size_t m_nRead = 0;
};
