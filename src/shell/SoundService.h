#pragma once
// What the simulation asks of the shell's sound: whether a named sound of
// the sound list exists, playing the named sounds of weapons and vehicles,
// and taking a sound list the equipment database chose as the run's sounds.
// The sound identifiers (the kinds of named sounds) are the simulation's
// own and live here; the sound manager of the shell (view/Sound.h) uses the
// same values.
//
// The application object installs itself while it lives and serves the
// calls with its sound manager; tests, tools and benchmarks install a
// CHeadlessShell, which plays nothing. With none installed no sound is
// defined and nothing plays.

#include "platform/core/CString.h"
#include "platform/core/Types.h"

// The kinds of named sounds (lists of a sound list file).
constexpr int SOUND_KIND_WEAPON = 1;
constexpr int SOUND_KIND_ARTILLERY = 2;
constexpr int SOUND_KIND_VEHICLE = 4;

class CSoundService
{
public:
    virtual ~CSoundService() = default;

    // A sound of that name is in the list of that kind.
    virtual BOOL IsSoundDefined(int nKind, const CString& strName) const = 0;
    virtual void PlayWeaponSound(const CString& strName) = 0;
    virtual void PlayVehicleSound(const CString& strName) = 0;
    // A gun's shot or a round's splash.
    virtual void PlayArtillerySound(const CString& strName) = 0;
    // Reads a sound list file and, when it reads, makes it the run's sounds
    // and answers TRUE with the list's file name; otherwise the sounds stay
    // as they were.
    virtual BOOL LoadSoundList(const CString& strName, CString& strFileName) = 0;
};

// The installed service; null when none is.
CSoundService* GetSoundService();
// Installs a service (null: none) and answers the one it replaces.
CSoundService* SetSoundService(CSoundService* pService);
