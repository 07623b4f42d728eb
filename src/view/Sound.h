#pragma once
// The game's sounds: the click on user actions ("pick.wav"), the
// notification of a network message ("notify.wav") and the named sounds of
// weapons, artillery and vehicles listed in a sound list file ("*.smg").
//
// The application owns one CSoundManager for the run and serves the
// simulation's sound service (shell/SoundService.h) with it; a sound list
// the equipment database chooses becomes a new manager that replaces it. Every call comes
// from the user-interface thread.
//
// Wave files are read whole and parsed here. A file that is missing, cut
// short, or whose chunks run past the file is not loaded; its sound stays
// silent and its name goes into the report shown after loading, as not
// found or, for a file that is there, as not readable with the reason. Where
// the system has no audio output, Init shows "DSound Create Failed." and
// fails: the manager stays silent, sound is off and every play does nothing.

#include "platform/core/CString.h"
#include "platform/core/Collections.h"
#include "platform/core/Object.h"
#include "platform/core/Types.h"
#include "platform/ui/Audio.h"
#include "shell/SoundService.h"

#include <functional>
#include <memory>
#include <vector>

class CArchive;

// One wave file held in memory with its samples in an audio buffer.
class CSoundBuffer
{
public:
    CSoundBuffer();
    virtual ~CSoundBuffer();
    CSoundBuffer(const CSoundBuffer&) = delete;
    CSoundBuffer& operator=(const CSoundBuffer&) = delete;

    // Reads and parses the file and fills a new audio buffer on the output.
    // Without an output (no audio device) the file is still read and
    // checked, and the buffer counts as loaded but plays nothing.
    BOOL Create(const CString& fileName, CAudioOutput* output);
    BOOL LoadFile();
    BOOL ParseWave();
    BOOL Fill();
    // 0 when not loaded; otherwise the audio layer's result (AUDIO_OK...).
    long Play(BOOL loop);

    BOOL IsLoaded() const { return loaded; }
    const CString& GetFileName() const { return fileName; }
    // Why a file that is there did not load; empty when it loaded or when
    // there is no such file.
    const CString& GetLoadError() const { return loadError; }
    DWORD GetDataSize() const { return dataSize; }
    const BYTE* GetData() const { return data; }
    const BYTE* GetFormat() const { return format; }
    DWORD GetFormatSize() const { return formatSize; }
    CAudioBuffer* GetAudioBuffer() const { return buffer.get(); }

    // The sample layout that the "fmt " chunk describes; FALSE for one the
    // audio output cannot play (compressed, 24-bit, a chunk too short).
    BOOL GetAudioFormat(AudioFormat& format) const;

    // For tests: the whole file as read.
    void SetImage(std::vector<BYTE> bytes) { image = std::move(bytes); }

private:
    void Reset();
    BOOL ParseChunks();

    BOOL loaded = FALSE;
    CString fileName;
    CString loadError;
    std::unique_ptr<CAudioBuffer> buffer;
    const BYTE* format = nullptr;  // into image
    DWORD formatSize = 0;
    DWORD dataSize = 0;
    const BYTE* data = nullptr;  // into image
    std::vector<BYTE> image;     // kept to refill the buffer after a loss
};

// A named sound of a sound list; only the name is stored.
class CSound : public CObject
{
    DECLARE_SERIAL(CSound)
public:
    CSound() = default;
    explicit CSound(const CString& soundName) : name(soundName) {}
    ~CSound() override;

    void Serialize(CArchive& ar) override;

    const CString& GetName() const { return name; }
    CSoundBuffer* GetBuffer() const { return buffer; }
    BOOL IsLoaded() const { return loaded; }

private:
    friend class CSoundManager;
    CString name;
    CSoundBuffer* buffer = nullptr;  // owned
    BOOL loaded = FALSE;
};

typedef TypedObArray<CSound> CSoundArray;

class CSoundManager : public CObject
{
    DECLARE_SERIAL(CSoundManager)
public:
    // List kinds of FindSound: the simulation's sound identifiers.
    enum
    {
        kindWeapon = SOUND_KIND_WEAPON,
        kindArtillery = SOUND_KIND_ARTILLERY,
        kindVehicle = SOUND_KIND_VEHICLE
    };

    CSoundManager();
    ~CSoundManager() override;
    CSoundManager(const CSoundManager&) = delete;
    CSoundManager& operator=(const CSoundManager&) = delete;

    BOOL Init();
    BOOL LoadSounds();
    BOOL OpenSoundFile(const CString& name);
    void Serialize(CArchive& ar) override;

    void PlayWeaponSound(const CString& name);
    void PlayArtillerySound(const CString& name);
    void PlayVehicleSound(const CString& name);
    void PlayPickSound();
    void PlayNotifySound();

    // Index of the first sound of that name in the list of the kind; -1 when
    // absent or for an unknown kind.
    int FindSound(int kind, const CString& name) const;

    BOOL IsSoundOn() const { return soundOn; }
    void SetSoundOn(BOOL on) { soundOn = on; }
    BOOL IsDirectSoundReady() const { return directSoundReady; }
    BOOL IsAdminReady() const { return adminReady; }
    const CString& GetFileName() const { return fileName; }
    CSoundArray* GetSounds(int kind) const;
    CSoundBuffer* GetPickBuffer() const { return pickBuffer; }
    CSoundBuffer* GetNotifyBuffer() const { return notifyBuffer; }

    // What the application lends the manager, set once at start-up: the
    // data directory made current before sound files are opened (empty:
    // the current directory stays), and the window that lists files not
    // found (the application's report window; without one the report goes
    // to standard error).
    static void SetDataDirectory(const CString& directory);
    static const CString& GetDataDirectory();
    using ReportHandler = std::function<void(const CString& report)>;
    static void SetReportHandler(ReportHandler handler);

private:
    BOOL MakeDataDirectoryCurrent();
    void ShowReport(const CString& report);
    void LoadList(CSoundArray& list, const char* linePrefix, CString& report, BOOL& anyFailed);
    static void PlayNamed(const CSoundArray& list, const CString& name);

    CString fileName;
    std::unique_ptr<CAudioOutput> directSound;  // the audio output; null without a device
    BOOL soundOn = FALSE;
    CSoundBuffer* pickBuffer = nullptr;    // owned
    CSoundBuffer* notifyBuffer = nullptr;  // owned
    CSoundArray* weaponSounds = nullptr;   // owned, with their sounds
    CSoundArray* artillerySounds = nullptr;
    CSoundArray* vehicleSounds = nullptr;
    BOOL adminReady = FALSE;
    BOOL directSoundReady = FALSE;
};
