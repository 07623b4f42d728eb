#pragma once
// The sounds of the demo data directory: the two administrative ones,
// "pick.wav", a short click played when a unit or command is picked, and
// "notify.wav", a two-note chime for messages; one shot sound per weapon,
// named after the weapon; and one wreck sound per vehicle type, named after
// the type, and the engineer's breach. All are 16-bit mono PCM at 22050 Hz, written as plain RIFF/WAVE
// files through the platform's file class, and listed (weapons and wrecks)
// in the sound list "Demo.smg", written in the sound manager's own form.

#include "platform/core/Core.h"
#include "view/Sound.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace demo_sounds
{
constexpr int kRate = 22050;
const char* const kSoundList = "Demo.smg";

// The file of a weapon's shot and of a vehicle type's wreck.
inline CString WeaponSoundName(const CString& weapon) { return weapon + ".wav"; }
inline CString WreckSoundName(const CString& vehicle) { return vehicle + " wreck.wav"; }
// The engineer's breach going off: a vehicle sound of its own.
const char* const kBreachSound = "breach.wav";

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

// A burst of noise that falls away over its length, darker with a lower
// brightness (0..1); the noise comes from a fixed sequence, so the files are
// the same on every run.
inline void AppendBurst(std::vector<int16_t>& samples, double seconds, double level, double brightness,
                        uint32_t& noise)
{
    const int count = static_cast<int>(seconds * kRate);
    double smooth = 0.0;
    for (int i = 0; i < count; ++i)
    {
        noise = noise * 1664525u + 1013904223u;
        const double white = static_cast<double>(noise >> 8) / static_cast<double>(1u << 24) * 2.0 - 1.0;
        smooth += (white - smooth) * brightness;
        const double fall = std::exp(-5.0 * i / count);
        samples.push_back(static_cast<int16_t>(std::lround(smooth * level * fall * 32767.0)));
    }
}

// A shot: one sharp bang for a gun or missile, a short rattle of rounds for
// an automatic weapon (more rounds per fire than one).
inline std::vector<int16_t> ShotSamples(int roundsPerFire, int penetration)
{
    std::vector<int16_t> samples;
    uint32_t noise = 12345u + static_cast<uint32_t>(penetration);
    const double brightness = 0.15 + 0.05 * (10 - std::min(penetration, 10));
    const int bursts = roundsPerFire > 1 ? std::min(roundsPerFire, 6) : 1;
    const double length = bursts > 1 ? 0.07 : 0.2 + 0.04 * penetration;
    for (int b = 0; b < bursts; ++b)
        AppendBurst(samples, length, 0.8, brightness, noise);
    return samples;
}

// A wreck: a low, long rumble with a crack at its start.
inline std::vector<int16_t> WreckSamples(uint32_t seed)
{
    std::vector<int16_t> samples;
    uint32_t noise = seed;
    AppendBurst(samples, 0.08, 0.9, 0.6, noise);
    AppendBurst(samples, 1.2, 0.9, 0.04, noise);
    return samples;
}

// The shot and wreck sounds of the named weapons (with their rounds per
// fire and penetration) and vehicle types, and the sound list naming them.
struct WeaponSound
{
    CString name;
    int roundsPerFire;
    int penetration;
};

inline BOOL WriteCombatSounds(const CString& dataDir, const std::vector<WeaponSound>& weapons,
                              const std::vector<CString>& vehicles, CString& errorText)
{
    CSoundArray weaponList;
    CSoundArray wreckList;
    CSoundArray artilleryList;
    for (const WeaponSound& w : weapons)
    {
        if (!WriteWave(JoinPath(dataDir, WeaponSoundName(w.name)), ShotSamples(w.roundsPerFire, w.penetration),
                       errorText))
            return FALSE;
        weaponList.Add(new CSound(WeaponSoundName(w.name)));
    }
    for (size_t i = 0; i < vehicles.size(); ++i)
    {
        if (!WriteWave(JoinPath(dataDir, WreckSoundName(vehicles[i])), WreckSamples(777u + static_cast<uint32_t>(i)),
                       errorText))
            return FALSE;
        wreckList.Add(new CSound(WreckSoundName(vehicles[i])));
    }
    // A sharp double crack and a rumble of earth.
    std::vector<int16_t> breach;
    uint32_t noise = 4242u;
    AppendBurst(breach, 0.06, 0.95, 0.8, noise);
    AppendBurst(breach, 0.06, 0.9, 0.7, noise);
    AppendBurst(breach, 0.9, 0.7, 0.05, noise);
    if (!WriteWave(JoinPath(dataDir, kBreachSound), breach, errorText))
        return FALSE;
    wreckList.Add(new CSound(kBreachSound));
    CFile file;
    CFileException error;
    if (!file.Open(JoinPath(dataDir, kSoundList), CFile::modeCreate | CFile::modeWrite | CFile::typeBinary, &error))
    {
        errorText = error.GetErrorText();
        return FALSE;
    }
    CArchive ar(&file, CArchive::store);
    // The sound manager's form: vehicle, artillery and weapon lists, then
    // the list's own name.
    wreckList.Serialize(ar);
    artilleryList.Serialize(ar);
    weaponList.Serialize(ar);
    ar << CString(kSoundList);
    ar.Close();
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
