#pragma once
// The sound tests play on the sound server's real output; every other test
// plays on the silent one that test_main chooses. A sound test holds a
// ScopedSoundServer while it runs and skips, saying why, where no server is
// reachable (tests/run_tests.sh starts one with a null sink).
//
//     ScopedSoundServer server;
//     if (!server.IsReachable())
//         GTEST_SKIP() << ScopedSoundServer::kNeeded;

#include "platform/ui/Audio.h"

class ScopedSoundServer
{
public:
    static constexpr const char* kNeeded =
        "this sound test needs a sound server and none is reachable (tests/run_tests.sh starts one)";

    ScopedSoundServer() : m_before(CAudioOutput::SetDefaultKind(AudioOutputKind::SoundServer)) {}
    ~ScopedSoundServer() { CAudioOutput::SetDefaultKind(m_before); }
    ScopedSoundServer(const ScopedSoundServer&) = delete;
    ScopedSoundServer& operator=(const ScopedSoundServer&) = delete;

    // Whether the server's default output opens now.
    static bool IsReachable() { return CAudioOutput::OpenDefault() != nullptr; }

private:
    AudioOutputKind m_before;
};
