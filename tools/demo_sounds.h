#pragma once
// The two administrative sounds of the demo data directory: "pick.wav", a
// short click played when a unit or command is picked, and "notify.wav", a
// two-note chime for messages. Both are 16-bit mono PCM at 22050 Hz, written
// as plain RIFF/WAVE files through the platform's file class.

#include "platform/core/Core.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace demo_sounds
{
constexpr int kRate = 22050;

// Little-endian bytes of a canonical PCM wave file holding the samples.
inline std::vector<BYTE> WaveBytes(const std::vector<int16_t>& samples)
{
    std::vector<BYTE> out;
    auto put32 = [&](uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<BYTE>(v >> (8 * i)));
    };
    auto put16 = [&](uint16_t v)
    {
        out.push_back(static_cast<BYTE>(v));
        out.push_back(static_cast<BYTE>(v >> 8));
    };
    auto tag = [&](const char* t) { out.insert(out.end(), t, t + 4); };
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    tag("RIFF");
    put32(36 + dataBytes);
    tag("WAVE");
    tag("fmt ");
    put32(16);
    put16(1);  // PCM
    put16(1);  // mono
    put32(kRate);
    put32(kRate * 2);  // bytes a second
    put16(2);          // bytes a frame
    put16(16);         // bits a sample
    tag("data");
    put32(dataBytes);
    for (int16_t s : samples)
        put16(static_cast<uint16_t>(s));
    return out;
}

// A sine tone of the given length with a short fade at both ends, so that
// it starts and stops without a crack.
inline void AppendTone(std::vector<int16_t>& samples, double hz, double seconds, double level)
{
    const int count = static_cast<int>(seconds * kRate);
    const int fade = std::max(1, std::min(count / 4, kRate / 200));
    for (int i = 0; i < count; ++i)
    {
        const double edge = std::min({1.0, static_cast<double>(i) / fade, static_cast<double>(count - 1 - i) / fade});
        const double v = std::sin(2.0 * M_PI * hz * i / kRate) * level * edge;
        samples.push_back(static_cast<int16_t>(std::lround(v * 32767.0)));
    }
}

inline BOOL WriteWave(const CString& path, const std::vector<int16_t>& samples, CString& errorText)
{
    const std::vector<BYTE> bytes = WaveBytes(samples);
    CFile file;
    CFileException error;
    if (!file.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary, &error))
    {
        errorText = error.GetErrorText();
        return FALSE;
    }
    file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
    file.Close();
    return TRUE;
}

inline BOOL WriteDemoSounds(const CString& dataDir, CString& errorText)
{
    std::vector<int16_t> pick;
    AppendTone(pick, 1800.0, 0.03, 0.5);
    std::vector<int16_t> notify;
    AppendTone(notify, 880.0, 0.12, 0.4);
    AppendTone(notify, 1320.0, 0.18, 0.4);
    return WriteWave(JoinPath(dataDir, "pick.wav"), pick, errorText) &&
           WriteWave(JoinPath(dataDir, "notify.wav"), notify, errorText);
}
}  // namespace demo_sounds
