#include "net/SessionRecord.h"

#include <algorithm>
#include <cstring>

using namespace SessionRecord;

const CSessionRoster::Player* CSessionRoster::FindPlayer(DWORD id) const
{
    for (const Player& p : players)
        if (p.id == id)
            return &p;
    return nullptr;
}

const CSessionRoster::Player* CSessionRoster::FindLivePlayer(const CString& name) const
{
    for (const Player& p : players)
        if (!p.ghost && p.name == name)
            return &p;
    return nullptr;
}

const CSessionRoster::Group* CSessionRoster::FindGroup(const CString& name) const
{
    for (const Group& g : groups)
        if (g.name == name)
            return &g;
    return nullptr;
}

const CSessionRoster::Group* CSessionRoster::FindGroup(DWORD id) const
{
    for (const Group& g : groups)
        if (g.id == id)
            return &g;
    return nullptr;
}

int CSessionRoster::CountLive() const
{
    return static_cast<int>(std::count_if(players.begin(), players.end(), [](const Player& p) { return !p.ghost; }));
}

CRecordWriter& CRecordWriter::Begin(BYTE kind)
{
    m_bytes.clear();
    m_bytes.resize(4);
    m_bytes.push_back(kind);
    return *this;
}

CRecordWriter& CRecordWriter::U8(BYTE value)
{
    m_bytes.push_back(value);
    return *this;
}

CRecordWriter& CRecordWriter::U32(DWORD value)
{
    for (int i = 0; i < 4; ++i)
        m_bytes.push_back(static_cast<BYTE>(value >> (8 * i)));
    return *this;
}

CRecordWriter& CRecordWriter::Text(const CString& text)
{
    const int size = std::min(text.GetLength(), kMaxText);
    m_bytes.push_back(static_cast<BYTE>(size & 0xFF));
    m_bytes.push_back(static_cast<BYTE>(size >> 8));
    return Bytes(text.GetString(), size);
}

CRecordWriter& CRecordWriter::Bytes(const void* data, int size)
{
    if (size > 0)
        m_bytes.insert(m_bytes.end(), static_cast<const BYTE*>(data), static_cast<const BYTE*>(data) + size);
    return *this;
}

CRecordWriter& CRecordWriter::Roster(const CSessionRoster& roster)
{
    U32(static_cast<DWORD>(roster.players.size()));
    for (const CSessionRoster::Player& p : roster.players)
        U32(p.id).Text(p.name).U8(p.ghost ? 1 : 0);
    U32(static_cast<DWORD>(roster.groups.size()));
    for (const CSessionRoster::Group& g : roster.groups)
    {
        U32(g.id).Text(g.name).U32(static_cast<DWORD>(g.members.size()));
        for (DWORD member : g.members)
            U32(member);
    }
    return *this;
}

const std::vector<BYTE>& CRecordWriter::Finish()
{
    const DWORD size = static_cast<DWORD>(m_bytes.size() - 4);
    for (int i = 0; i < 4; ++i)
        m_bytes[static_cast<size_t>(i)] = static_cast<BYTE>(size >> (8 * i));
    return m_bytes;
}

BOOL CRecordParser::Take(int size)
{
    if (!m_bOk || size < 0 || size > m_nLeft)
    {
        m_bOk = FALSE;
        return FALSE;
    }
    return TRUE;
}

BYTE CRecordParser::U8()
{
    if (!Take(1))
        return 0;
    const BYTE value = *m_p;
    ++m_p;
    --m_nLeft;
    return value;
}

DWORD CRecordParser::U32()
{
    if (!Take(4))
        return 0;
    const DWORD value = static_cast<DWORD>(m_p[0]) | (static_cast<DWORD>(m_p[1]) << 8) |
                        (static_cast<DWORD>(m_p[2]) << 16) | (static_cast<DWORD>(m_p[3]) << 24);
    m_p += 4;
    m_nLeft -= 4;
    return value;
}

CString CRecordParser::Text()
{
    const int low = U8();
    const int size = low | (U8() << 8);
    if (size > kMaxText || !Take(size))
    {
        m_bOk = FALSE;
        return CString();
    }
    CString text(reinterpret_cast<const char*>(m_p), size);
    m_p += size;
    m_nLeft -= size;
    return text;
}

void CRecordParser::Bytes(void* destination, int size)
{
    if (!Take(size))
        return;
    std::memcpy(destination, m_p, static_cast<size_t>(size));
    m_p += size;
    m_nLeft -= size;
}

const BYTE* CRecordParser::Rest(int& size)
{
    size = m_bOk ? m_nLeft : 0;
    const BYTE* rest = m_p;
    m_p += size;
    m_nLeft -= size;
    return rest;
}

BOOL CRecordParser::Roster(CSessionRoster& roster)
{
    roster = CSessionRoster();
    // A player takes at least 7 bytes, a group 10, a member 4.
    const DWORD players = U32();
    if (!m_bOk || players > static_cast<DWORD>(m_nLeft / 7))
        return m_bOk = FALSE;
    for (DWORD i = 0; i < players && m_bOk; ++i)
    {
        CSessionRoster::Player p;
        p.id = U32();
        p.name = Text();
        p.ghost = U8() != 0;
        roster.players.push_back(p);
    }
    const DWORD groups = U32();
    if (!m_bOk || groups > static_cast<DWORD>(m_nLeft / 10))
        return m_bOk = FALSE;
    for (DWORD i = 0; i < groups && m_bOk; ++i)
    {
        CSessionRoster::Group g;
        g.id = U32();
        g.name = Text();
        const DWORD members = U32();
        if (!m_bOk || members > static_cast<DWORD>(m_nLeft / 4))
            return m_bOk = FALSE;
        for (DWORD m = 0; m < members; ++m)
            g.members.push_back(U32());
        roster.groups.push_back(std::move(g));
    }
    return m_bOk;
}

void CRecordStream::Feed(const BYTE* data, int size)
{
    if (m_nRead > 0 && m_nRead >= m_bytes.size() / 2)
    {
        m_bytes.erase(m_bytes.begin(), m_bytes.begin() + static_cast<std::ptrdiff_t>(m_nRead));
        m_nRead = 0;
    }
    if (size > 0)
        m_bytes.insert(m_bytes.end(), data, data + size);
}

int CRecordStream::Next(BYTE& kind, const BYTE*& body, int& size)
{
    const size_t held = m_bytes.size() - m_nRead;
    if (held < 4)
        return 0;
    const BYTE* p = m_bytes.data() + m_nRead;
    const DWORD length = static_cast<DWORD>(p[0]) | (static_cast<DWORD>(p[1]) << 8) |
                         (static_cast<DWORD>(p[2]) << 16) | (static_cast<DWORD>(p[3]) << 24);
    if (length < 1 || length > static_cast<DWORD>(kMaxRecord))
        return -1;
    if (held < 4 + static_cast<size_t>(length))
        return 0;
    kind = p[4];
    body = p + 5;
    size = static_cast<int>(length) - 1;
    m_nRead += 4 + length;
    return 1;
}

void CRecordStream::Clear()
{
    m_bytes.clear();
    m_nRead = 0;
}
