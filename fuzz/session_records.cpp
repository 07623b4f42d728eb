// The session protocol's record readers at both ends over any bytes: the
// host's relay, fed by two peers that take turns (a control byte says who
// sends how much), and a player's session layer taking the relay's records.

#include "FuzzSupport.h"
#include "net/PlaySession.h"
#include "net/SessionRelay.h"
#include "platform/net/NetLog.h"

#include <algorithm>
#include <cstring>
#include <set>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Setup();
    static const bool quiet = [] {
        SetNetLogSink([](const CString&) {});
        return true;
    }();
    (void)quiet;

    CSessionSettings settings;
    std::memcpy(settings.appId, kSessionAppId, sizeof settings.appId);
    settings.name = "KDR";
    settings.maxPlayers = 3;
    std::set<int> dropped;
    size_t sent = 0;
    CSessionRelay relay(
        settings, [&](int, const std::vector<BYTE>& record) { sent += record.size(); },
        [&](int peer) { dropped.insert(peer); });
    relay.OnConnected(1);
    relay.OnConnected(2);
    size_t at = 0;
    while (at < size)
    {
        const uint8_t control = data[at++];
        const int peer = 1 + (control & 1);
        const size_t chunk = std::min<size_t>(size - at, 1 + (control >> 1) * 13);
        if (control == 0xFF)
            relay.OnClosed(peer);
        else if (!dropped.count(peer))
            relay.OnBytes(peer, data + at, static_cast<int>(chunk));
        at += chunk;
    }

    // The same bytes as the relay's side of a player's connection.
    CPlaySession session;
    for (size_t from = 0; from < size; from += 61)
        session.OnRelayBytes(data + from, static_cast<int>(std::min<size_t>(61, size - from)));
    int count = 0;
    session.CountPlayers(&count);
    CStringArray names;
    session.ListGamePlayers(names);
    return 0;
}
