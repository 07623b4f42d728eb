#include "view/Sound.h"

#include "platform/core/Archive.h"
#include "platform/core/File.h"
#include "platform/ui/UiService.h"

#include <cstdio>
#include <cstring>

namespace
{

constexpr const char* kPickSound = "pick.wav";
constexpr const char* kNotifySound = "notify.wav";
constexpr const char* kCreateFailed = "DSound Create Failed.";
constexpr const char* kReportHeading = "FILES NAMED IN SOUND ARRAY NOT FOUND!\r\n\r\n";

// Wave format tags the output can play.
constexpr WORD kFormatPcm = 1;
constexpr WORD kFormatFloat = 3;
constexpr WORD kFormatExtensible = 0xFFFE;

// A lost buffer is restored and refilled; a device that keeps failing must
// not hold the user-interface thread.
constexpr int kRestoreAttempts = 3;

CString g_dataDirectory;
CSoundManager::ReportHandler g_reportHandler;

DWORD ReadLe32(const BYTE* p) { return DWORD(p[0]) | (DWORD(p[1]) << 8) | (DWORD(p[2]) << 16) | (DWORD(p[3]) << 24); }

WORD ReadLe16(const BYTE* p) { return WORD(p[0] | (p[1] << 8)); }

// The end of a report line after the quoted file name: missing, or there
// but not readable, with the reason.
CString ReportEnding(const CSoundBuffer& buffer)
{
    const CString& reason = buffer.GetLoadError();
    if (reason.IsEmpty())
        return CString("' was not found.\r\n");
    return CString("' could not be read: ") + reason + ".\r\n";
}

}  // namespace

// ---------------------------------------------------------------------------
// CSoundBuffer

CSoundBuffer::CSoundBuffer() = default;

CSoundBuffer::~CSoundBuffer() = default;

void CSoundBuffer::Reset()
{
    image.clear();
    image.shrink_to_fit();
    format = nullptr;
    formatSize = 0;
    data = nullptr;
    dataSize = 0;
    buffer.reset();
    loaded = FALSE;
}

BOOL CSoundBuffer::Create(const CString& name, CAudioOutput* output)
{
    if (loaded)
        Reset();
    fileName = name;
    loadError.Empty();
    if (!LoadFile())
        return FALSE;
    AudioFormat audioFormat;
    if (!GetAudioFormat(audioFormat))
    {
        loadError = "its samples are in a form that cannot be played";
        return FALSE;
    }
    if (output)
    {
        // Only whole sample frames go to the output.
        const DWORD bytes = dataSize - dataSize % DWORD(audioFormat.BytesPerFrame());
        buffer = output->CreateBuffer(audioFormat, bytes);
        if (!buffer)
        {
            loadError = "it holds no whole sample";
            return FALSE;
        }
        if (!Fill())
        {
            buffer.reset();
            loadError = "the sound output refused its samples";
            return FALSE;
        }
    }
    loaded = TRUE;
    return TRUE;
}

BOOL CSoundBuffer::LoadFile()
{
    CFile file;
    CFileException error;
    if (!file.Open(fileName, CFile::modeRead | CFile::shareDenyNone, &error))
    {
        // A missing file is reported as not found; any other failure says why.
        if (error.m_cause != CFileException::fileNotFound && error.m_cause != CFileException::badPath)
            loadError = error.GetReason();
        return FALSE;
    }
    try
    {
        const DWORD length = file.SeekToEnd();
        file.SeekToBegin();
        image.assign(length, 0);
        const UINT got = length ? file.Read(image.data(), length) : 0;
        file.Close();
        if (got != length)
        {
            loadError = "it ended before all its bytes were read";
            return FALSE;
        }
    }
    catch (const CFileException& e)
    {
        file.Abort();
        loadError = e.GetReason();
        return FALSE;
    }
    if (!ParseWave())
    {
        loadError = "it is not a whole wave file";
        return FALSE;
    }
    return TRUE;
}

BOOL CSoundBuffer::ParseWave()
{
    const BOOL ok = ParseChunks();
    if (!ok)
    {
        format = nullptr;
        formatSize = 0;
        data = nullptr;
        dataSize = 0;
    }
    return ok;
}

BOOL CSoundBuffer::ParseChunks()
{
    format = nullptr;
    formatSize = 0;
    data = nullptr;
    dataSize = 0;

    const size_t size = image.size();
    if (size < 12)
        return FALSE;
    const BYTE* bytes = image.data();
    if (std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0)
        return FALSE;
    // The chunks end where the RIFF size says; a size beyond the file means
    // the file was cut short.
    const DWORD riffSize = ReadLe32(bytes + 4);
    if (riffSize > size - 8)
        return FALSE;
    const size_t end = 8 + size_t(riffSize);
    size_t pos = 12;
    if (pos >= end)
        return FALSE;

    while (pos < end)
    {
        if (end - pos < 8)
            return FALSE;
        const BYTE* id = bytes + pos;
        const DWORD chunkSize = ReadLe32(bytes + pos + 4);
        const size_t body = pos + 8;
        if (chunkSize > end - body)
            return FALSE;
        if (std::memcmp(id, "fmt ", 4) == 0 && !format)
        {
            if (chunkSize < 14)
                return FALSE;
            format = bytes + body;
            formatSize = chunkSize;
        }
        else if (std::memcmp(id, "data", 4) == 0 && !(data && dataSize != 0))
        {
            data = bytes + body;
            dataSize = chunkSize;
        }
        if (format && data)
            return TRUE;
        // Chunks start on even offsets.
        pos = body + chunkSize + (chunkSize & 1);
    }
    return FALSE;
}

BOOL CSoundBuffer::GetAudioFormat(AudioFormat& out) const
{
    // The fields after the 14-byte head (bits per sample) are needed to play.
    if (!format || formatSize < 16)
        return FALSE;
    WORD tag = ReadLe16(format);
    const WORD channels = ReadLe16(format + 2);
    const DWORD rate = ReadLe32(format + 4);
    const WORD blockAlign = ReadLe16(format + 12);
    const WORD bits = ReadLe16(format + 14);
    if (tag == kFormatExtensible)
    {
        // The sub-format's first two bytes are the plain format tag.
        if (formatSize < 40)
            return FALSE;
        tag = ReadLe16(format + 24);
    }
    AudioFormat f;
    if (tag == kFormatPcm && bits == 8)
        f.sample = AudioFormat::UInt8;
    else if (tag == kFormatPcm && bits == 16)
        f.sample = AudioFormat::Int16;
    else if (tag == kFormatPcm && bits == 32)
        f.sample = AudioFormat::Int32;
    else if (tag == kFormatFloat && bits == 32)
        f.sample = AudioFormat::Float32;
    else
        return FALSE;
    f.channels = channels;
    f.sampleRate = rate > 384000 ? 0 : int(rate);
    if (!f.IsValid() || blockAlign != f.BytesPerFrame())
        return FALSE;
    out = f;
    return TRUE;
}

BOOL CSoundBuffer::Fill()
{
    if (!buffer || !data)
        return FALSE;
    for (int attempt = 0; attempt < kRestoreAttempts; ++attempt)
    {
        const long result = buffer->Write(0, data, dataSize);
        if (result == AUDIO_OK)
            return TRUE;
        if (result != AUDIO_BUFFERLOST || !buffer->Restore())
            return FALSE;
    }
    return FALSE;
}

long CSoundBuffer::Play(BOOL loop)
{
    if (!loaded)
        return 0;
    if (!buffer)
        return 0;  // no audio output: silent
    long result = buffer->Play(loop != FALSE);
    for (int attempt = 0; result == AUDIO_BUFFERLOST && attempt < kRestoreAttempts; ++attempt)
    {
        if (!Fill())
            return 0;
        result = buffer->Play(loop != FALSE);
    }
    return result;
}

// ---------------------------------------------------------------------------
// CSound

IMPLEMENT_SERIAL(CSound, CObject, 1)

CSound::~CSound() { delete buffer; }

void CSound::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        ar << name;
    else
        ar >> name;
}

// ---------------------------------------------------------------------------
// CSoundManager

IMPLEMENT_SERIAL(CSoundManager, CObject, 1)

void CSoundManager::SetDataDirectory(const CString& directory) { g_dataDirectory = directory; }

const CString& CSoundManager::GetDataDirectory() { return g_dataDirectory; }

void CSoundManager::SetReportHandler(ReportHandler handler) { g_reportHandler = std::move(handler); }

CSoundManager::CSoundManager()
    : fileName("*.smg"), weaponSounds(new CSoundArray), artillerySounds(new CSoundArray), vehicleSounds(new CSoundArray)
{
    Init();
}

CSoundManager::~CSoundManager()
{
    // The arrays delete their sounds, and each sound its buffer.
    delete weaponSounds;
    delete artillerySounds;
    delete vehicleSounds;
    delete pickBuffer;
    delete notifyBuffer;
    directSound.reset();
    directSoundReady = FALSE;
}

BOOL CSoundManager::MakeDataDirectoryCurrent()
{
    if (g_dataDirectory.IsEmpty())
        return TRUE;
    return SetCurrentDir(g_dataDirectory);
}

void CSoundManager::ShowReport(const CString& report)
{
    if (g_reportHandler)
        g_reportHandler(report);
    else
        std::fprintf(stderr, "%s", report.GetString());
}

BOOL CSoundManager::Init()
{
    CString report;
    if (!MakeDataDirectoryCurrent())
    {
        AfxMessageBox(kCreateFailed);
        return FALSE;
    }
    report = kReportHeading;

    directSound = CAudioOutput::OpenDefault();
    if (!directSound)
    {
        // No output device: the manager stays silent, and the player is told.
        soundOn = FALSE;
        adminReady = FALSE;
        directSoundReady = FALSE;
        AfxMessageBox(kCreateFailed);
        return FALSE;
    }
    soundOn = TRUE;
    adminReady = FALSE;
    directSoundReady = TRUE;

    BOOL anyFailed = FALSE;
    delete pickBuffer;
    pickBuffer = new CSoundBuffer;
    if (!pickBuffer->Create(kPickSound, directSound.get()))
    {
        report += CString("The administrative sound 'pick.wav") + ReportEnding(*pickBuffer);
        anyFailed = TRUE;
    }
    delete notifyBuffer;
    notifyBuffer = new CSoundBuffer;
    if (!notifyBuffer->Create(kNotifySound, directSound.get()))
    {
        report += CString("The administrative sound 'notify.wav") + ReportEnding(*notifyBuffer);
        anyFailed = TRUE;
    }
    if (anyFailed)
        ShowReport(report);
    adminReady = TRUE;
    return TRUE;
}

void CSoundManager::LoadList(CSoundArray& list, const char* linePrefix, CString& report, BOOL& anyFailed)
{
    for (int i = 0; i < list.GetSize(); ++i)
    {
        CSound* sound = list.GetAt(i);
        if (!sound)
            continue;
        delete sound->buffer;
        sound->buffer = new CSoundBuffer;
        sound->loaded = FALSE;
        if (sound->buffer->Create(sound->name, directSound.get()))
        {
            sound->loaded = TRUE;
        }
        else
        {
            report += linePrefix;
            report += sound->name;
            report += ReportEnding(*sound->buffer);
            anyFailed = TRUE;
        }
    }
}

BOOL CSoundManager::LoadSounds()
{
    CString report;
    if (!MakeDataDirectoryCurrent())
    {
        AfxMessageBox(kCreateFailed);
        return FALSE;
    }
    report = kReportHeading;
    if (!directSoundReady && !Init())
        return FALSE;

    BOOL anyFailed = FALSE;
    LoadList(*weaponSounds, "The weapon sound '", report, anyFailed);
    LoadList(*artillerySounds, "The artillery sound '", report, anyFailed);
    LoadList(*vehicleSounds, "The vehicle sound '", report, anyFailed);
    if (anyFailed)
        ShowReport(report);
    return TRUE;
}

BOOL CSoundManager::OpenSoundFile(const CString& name)
{
    if (!MakeDataDirectoryCurrent())
    {
        AfxMessageBox(kCreateFailed);
        return FALSE;
    }
    CString path = name;
    CFile file;
    while (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite))
    {
        // Any cancel ends the search: a user who picked a file that would
        // not open must be able to leave the dialog.
        CFileDialog dialog(FALSE, "smg", "*.smg", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
        if (dialog.DoModal() != IDOK)
            return FALSE;
        path = dialog.GetPathName();
    }

    try
    {
        CArchive ar(&file, CArchive::load, 4096);
        Serialize(ar);
        ar.Close();
        file.Close();
    }
    catch (const CException& e)
    {
        file.Abort();
        // The lists read before stay (Serialize reads aside).
        CString text;
        text.Format("The sound list '%s' could not be read.\r\n%s", path.GetString(), e.GetErrorText().GetString());
        AfxMessageBox(text, MB_OK | MB_ICONSTOP);
        return FALSE;
    }
    fileName = path;
    LoadSounds();
    return TRUE;
}

void CSoundManager::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        vehicleSounds->Serialize(ar);
        artillerySounds->Serialize(ar);
        weaponSounds->Serialize(ar);
        ar << fileName;
        return;
    }
    // Read aside, so that a list that does not read whole leaves the lists
    // before it as they were.
    CSoundArray vehicles;
    CSoundArray artillery;
    CSoundArray weapons;
    CString name;
    vehicles.Serialize(ar);
    artillery.Serialize(ar);
    weapons.Serialize(ar);
    ar >> name;
    // The old sounds go with the locals.
    vehicleSounds->Swap(vehicles);
    artillerySounds->Swap(artillery);
    weaponSounds->Swap(weapons);
    fileName = name;
}

void CSoundManager::PlayNamed(const CSoundArray& list, const CString& name)
{
    for (int i = 0; i < list.GetSize(); ++i)
    {
        CSound* sound = list.GetAt(i);
        if (sound && sound->name == name)
        {
            if (sound->loaded && sound->buffer)
                sound->buffer->Play(FALSE);
            return;
        }
    }
}

void CSoundManager::PlayWeaponSound(const CString& name)
{
    if (name.IsEmpty() || !soundOn || !directSoundReady || !adminReady)
        return;
    PlayNamed(*weaponSounds, name);
}

void CSoundManager::PlayArtillerySound(const CString& name)
{
    if (name.IsEmpty() || !soundOn || !directSoundReady || !adminReady)
        return;
    PlayNamed(*artillerySounds, name);
}

void CSoundManager::PlayVehicleSound(const CString& name)
{
    if (name.IsEmpty() || !soundOn || !directSoundReady || !adminReady)
        return;
    PlayNamed(*vehicleSounds, name);
}

void CSoundManager::PlayPickSound()
{
    if (soundOn && pickBuffer)
        pickBuffer->Play(FALSE);
}

void CSoundManager::PlayNotifySound()
{
    if (soundOn && notifyBuffer)
        notifyBuffer->Play(FALSE);
}

CSoundArray* CSoundManager::GetSounds(int kind) const
{
    switch (kind)
    {
    case kindWeapon: return weaponSounds;
    case kindArtillery: return artillerySounds;
    case kindVehicle: return vehicleSounds;
    default: return nullptr;
    }
}

int CSoundManager::FindSound(int kind, const CString& name) const
{
    const CSoundArray* list = GetSounds(kind);
    if (!list)
        return -1;
    for (int i = 0; i < list->GetSize(); ++i)
    {
        const CSound* sound = list->GetAt(i);
        if (sound && sound->name == name)
            return i;
    }
    return -1;
}
