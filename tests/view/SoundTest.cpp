// The wave parser, the sound list file, the report of missing files and
// real playback heard on the test sound server's null sink.
#include "view/Sound.h"
#include "platform/core/Archive.h"
#include "platform/core/File.h"
#include "platform/ui/ScriptedUi.h"
#include "support/ChildRun.h"
#include "support/SoundServer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace
{

using Bytes = std::vector<BYTE>;

void Put32(Bytes& b, DWORD v)
{
    for (int i = 0; i < 4; ++i)
        b.push_back(BYTE(v >> (8 * i)));
}

void Put16(Bytes& b, WORD v)
{
    b.push_back(BYTE(v));
    b.push_back(BYTE(v >> 8));
}

void PutId(Bytes& b, const char* id) { b.insert(b.end(), id, id + 4); }

Bytes Chunk(const char* id, const Bytes& body, bool pad = true)
{
    Bytes c;
    PutId(c, id);
    Put32(c, DWORD(body.size()));
    c.insert(c.end(), body.begin(), body.end());
    if (pad && (body.size() & 1))
        c.push_back(0);
    return c;
}

// A "fmt " body: PCM, channels, rate, bits; cut to size bytes.
Bytes FmtBody(WORD channels, DWORD rate, WORD bits, size_t size = 16, WORD tag = 1)
{
    Bytes b;
    Put16(b, tag);
    Put16(b, channels);
    Put32(b, rate);
    Put32(b, rate * channels * bits / 8);
    Put16(b, WORD(channels * bits / 8));
    Put16(b, bits);
    b.resize(size, 0);
    return b;
}

// RIFF file of the chunks; riffSizeDelta corrupts the RIFF size.
Bytes Riff(const std::vector<Bytes>& chunks, long riffSizeDelta = 0)
{
    Bytes body;
    PutId(body, "WAVE");
    for (const Bytes& c : chunks)
        body.insert(body.end(), c.begin(), c.end());
    Bytes f;
    PutId(f, "RIFF");
    Put32(f, DWORD(long(body.size()) + riffSizeDelta));
    f.insert(f.end(), body.begin(), body.end());
    return f;
}

Bytes Samples(size_t n, BYTE first = 1)
{
    Bytes s(n);
    for (size_t i = 0; i < n; ++i)
        s[i] = BYTE(first + i);
    return s;
}

void WriteFile(const QString& path, const Bytes& bytes)
{
    std::ofstream out(path.toStdString(), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// A small valid wave: 16-bit mono, 8 samples.
Bytes SmallWave() { return Riff({Chunk("fmt ", FmtBody(1, 22050, 16)), Chunk("data", Samples(16))}); }

struct ParseCase
{
    const char* what;
    Bytes file;
    bool ok;
    DWORD dataSize;
    BYTE firstSample;
};

TEST(WaveParser, AcceptsAndRefusesByTheChunkLayout)
{
    const Bytes fmt = Chunk("fmt ", FmtBody(1, 22050, 16));
    const Bytes data = Chunk("data", Samples(6, 10));
    const Bytes oddList = Chunk("LIST", Samples(3, 200));  // odd size: one pad byte follows
    Bytes overrun = Chunk("data", Samples(6, 10));
    overrun[4] = 7;  // claims one byte more than the file holds

    const std::vector<ParseCase> cases = {
        {"fmt then data", Riff({fmt, data}), true, 6, 10},
        {"data before fmt", Riff({data, fmt}), true, 6, 10},
        {"odd chunk before data is padded", Riff({fmt, oddList, data}), true, 6, 10},
        {"fmt of 14 bytes is enough to parse", Riff({Chunk("fmt ", FmtBody(1, 8000, 8, 14)), data}), true, 6, 10},
        {"an empty data chunk after fmt is taken", Riff({fmt, Chunk("data", {}), data}), true, 0, 0},
        {"an empty data chunk gives way to a later one", Riff({Chunk("data", {}), data, fmt}), true, 6, 10},
        {"the first fmt chunk counts", Riff({fmt, Chunk("fmt ", FmtBody(2, 8000, 8, 12)), data}), true, 6, 10},
        {"fmt of 12 bytes", Riff({Chunk("fmt ", FmtBody(1, 22050, 16, 12)), data}), false, 0, 0},
        {"no data chunk", Riff({fmt}), false, 0, 0},
        {"no fmt chunk", Riff({data}), false, 0, 0},
        {"not RIFF",
         [&]
         {
             Bytes b = Riff({fmt, data});
             b[0] = 'X';
             return b;
         }(),
         false, 0, 0},
        {"not WAVE",
         [&]
         {
             Bytes b = Riff({fmt, data});
             b[8] = 'X';
             return b;
         }(),
         false, 0, 0},
        {"RIFF size beyond the file", Riff({fmt, data}, +2), false, 0, 0},
        {"RIFF size ends before the data", Riff({fmt, data}, -10), false, 0, 0},
        {"chunk runs past the end", Riff({fmt, Bytes(overrun.begin(), overrun.end() - 1)}), false, 0, 0},
        {"chunk size near 4 GiB",
         [&]
         {
             Bytes c = data;
             c[4] = c[5] = c[6] = c[7] = 0xFF;
             return Riff({fmt, c});
         }(),
         false, 0, 0},
        {"cut inside a chunk header",
         [&]
         {
             Bytes b = Riff({fmt});
             b.push_back('d');
             b.push_back('a');
             b[4] += 2;
             return b;
         }(),
         false, 0, 0},
        {"only the RIFF head", Bytes{'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'}, false, 0, 0},
        {"shorter than the head", Bytes{'R', 'I', 'F', 'F'}, false, 0, 0},
    };
    for (const ParseCase& c : cases)
    {
        SCOPED_TRACE(c.what);
        CSoundBuffer buffer;
        buffer.SetImage(c.file);
        EXPECT_EQ(buffer.ParseWave() != FALSE, c.ok);
        if (!c.ok)
        {
            EXPECT_EQ(buffer.GetData(), nullptr);
            continue;
        }
        ASSERT_NE(buffer.GetFormat(), nullptr);
        EXPECT_EQ(buffer.GetDataSize(), c.dataSize);
        if (c.dataSize)
        {
            EXPECT_EQ(buffer.GetData()[0], c.firstSample);
            EXPECT_EQ(buffer.GetData()[c.dataSize - 1], BYTE(c.firstSample + c.dataSize - 1));
        }
    }
}

TEST(WaveParser, FormatsTheOutputCanPlay)
{
    struct Case
    {
        Bytes fmt;
        bool ok;
        AudioFormat::Sample sample;
    } cases[] = {
        {FmtBody(1, 22050, 16), true, AudioFormat::Int16},
        {FmtBody(2, 44100, 8), true, AudioFormat::UInt8},
        {FmtBody(2, 48000, 32, 18, 3), true, AudioFormat::Float32},
        {FmtBody(1, 22050, 24), false, AudioFormat::Int16},        // 24-bit
        {FmtBody(1, 22050, 16, 14), false, AudioFormat::Int16},    // no bits field
        {FmtBody(1, 22050, 4, 16, 2), false, AudioFormat::Int16},  // ADPCM
        {FmtBody(0, 22050, 16), false, AudioFormat::Int16},        // no channels
    };
    for (const Case& c : cases)
    {
        CSoundBuffer buffer;
        buffer.SetImage(Riff({Chunk("fmt ", c.fmt), Chunk("data", Samples(8))}));
        ASSERT_TRUE(buffer.ParseWave());
        AudioFormat format;
        EXPECT_EQ(buffer.GetAudioFormat(format) != FALSE, c.ok);
        if (c.ok)
        {
            EXPECT_EQ(format.sample, c.sample);
        }
    }
}

// ---------------------------------------------------------------------------
// Sound lists

class SoundListTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_savedDir = GetCurrentDir();
        CSoundManager::SetDataDirectory(m_dir.path().toUtf8().constData());
        CSoundManager::SetReportHandler([this](const CString& text) { m_reports.push_back(text); });
        m_previousUi = SetUiService(&m_ui);
        m_ui.SetFailureHandler([](const CString& message) { ADD_FAILURE() << message.GetString(); });
    }

    void TearDown() override
    {
        EXPECT_TRUE(m_ui.IsScriptDone()) << m_ui.DescribeRemaining().GetString();
        SetUiService(m_previousUi);
        CSoundManager::SetReportHandler(nullptr);
        CSoundManager::SetDataDirectory("");
        SetCurrentDir(m_savedDir);
    }

    QString Path(const char* name) const { return m_dir.filePath(name); }

    void WriteAdminSounds()
    {
        WriteFile(Path("pick.wav"), SmallWave());
        WriteFile(Path("notify.wav"), SmallWave());
    }

    QTemporaryDir m_dir;
    CString m_savedDir;
    std::vector<CString> m_reports;
    CScriptedUi m_ui;
    CUiService* m_previousUi = nullptr;
};

// The sound list of the file layout, built by hand: vehicle sounds
// "tank.wav"; no artillery sounds; weapon sounds "gun.wav" and "missing.wav";
// the list's own name.
Bytes HandBuiltSoundList()
{
    Bytes b;
    auto str = [&](const char* s)
    {
        b.push_back(BYTE(std::strlen(s)));
        b.insert(b.end(), s, s + std::strlen(s));
    };
    Put16(b, 1);       // vehicle sounds: count
    Put16(b, 0xFFFF);  // new class
    Put16(b, 1);       // schema
    Put16(b, 6);
    b.insert(b.end(), {'C', 'S', 'o', 'u', 'n', 'd'});
    str("tank.wav");
    Put16(b, 0);       // artillery sounds: none
    Put16(b, 2);       // weapon sounds
    Put16(b, 0x8001);  // the class already read (index 1)
    str("gun.wav");
    Put16(b, 0x8001);
    str("missing.wav");
    str("sounds.smg");
    return b;
}

TEST_F(SoundListTest, ReadsTheListAndReportsTheMissingWave)
{
    WriteAdminSounds();
    WriteFile(Path("tank.wav"), SmallWave());
    WriteFile(Path("gun.wav"), SmallWave());
    WriteFile(Path("list.smg"), HandBuiltSoundList());

    CSoundManager manager;
    EXPECT_TRUE(m_reports.empty()) << "both administrative sounds are there";
    ASSERT_TRUE(manager.OpenSoundFile("list.smg"));

    EXPECT_EQ(manager.GetFileName(), CString("list.smg"));
    EXPECT_EQ(manager.FindSound(CSoundManager::kindVehicle, "tank.wav"), 0);
    EXPECT_EQ(manager.FindSound(CSoundManager::kindWeapon, "gun.wav"), 0);
    EXPECT_EQ(manager.FindSound(CSoundManager::kindWeapon, "missing.wav"), 1);
    EXPECT_EQ(manager.FindSound(CSoundManager::kindWeapon, "GUN.WAV"), -1) << "names compare exactly";
    EXPECT_EQ(manager.FindSound(CSoundManager::kindArtillery, "gun.wav"), -1) << "empty list";
    EXPECT_EQ(manager.FindSound(3, "gun.wav"), -1) << "no such kind";

    EXPECT_TRUE(manager.GetSounds(CSoundManager::kindVehicle)->GetAt(0)->IsLoaded());
    EXPECT_TRUE(manager.GetSounds(CSoundManager::kindWeapon)->GetAt(0)->IsLoaded());
    EXPECT_FALSE(manager.GetSounds(CSoundManager::kindWeapon)->GetAt(1)->IsLoaded());

    ASSERT_EQ(m_reports.size(), 1u);
    EXPECT_EQ(m_reports[0], CString("FILES NAMED IN SOUND ARRAY NOT FOUND!\r\n\r\n"
                                    "The weapon sound 'missing.wav' was not found.\r\n"));
}

TEST_F(SoundListTest, WritesTheListAsItReadsIt)
{
    WriteAdminSounds();
    WriteFile(Path("list.smg"), HandBuiltSoundList());
    CSoundManager manager;
    ASSERT_TRUE(manager.OpenSoundFile("list.smg"));
    m_reports.clear();

    // Written back, the list is the same bytes but for its name: the
    // manager keeps the name of the file it was read from.
    CMemFile out;
    {
        CArchive ar(&out, CArchive::store);
        manager.Serialize(ar);
        ar.Close();
    }
    Bytes expected = HandBuiltSoundList();
    expected.resize(expected.size() - (1 + std::strlen("sounds.smg")));
    expected.push_back(BYTE(std::strlen("list.smg")));
    for (const char* p = "list.smg"; *p; ++p)
        expected.push_back(BYTE(*p));
    EXPECT_EQ(out.GetData(), expected);
}

TEST_F(SoundListTest, OnlyTheFirstOfTwoEqualNamesPlays)
{
    // Half a second of silence: long enough to be still playing when asked.
    const Bytes longWave = Riff({Chunk("fmt ", FmtBody(1, 22050, 16)), Chunk("data", Bytes(22050, 0))});
    WriteFile(Path("pick.wav"), longWave);
    WriteFile(Path("notify.wav"), SmallWave());
    WriteFile(Path("gun.wav"), longWave);
    {
        CSoundManager writer;
        writer.GetSounds(CSoundManager::kindWeapon)->Add(new CSound("gun.wav"));
        writer.GetSounds(CSoundManager::kindWeapon)->Add(new CSound("gun.wav"));
        CFile file(Path("twice.smg").toUtf8().constData(), CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store);
        writer.Serialize(ar);
        ar.Close();
    }
    ScopedSoundServer server;
    if (!server.IsReachable())
        GTEST_SKIP() << ScopedSoundServer::kNeeded;
    CSoundManager manager;
    ASSERT_TRUE(manager.IsDirectSoundReady());
    ASSERT_TRUE(manager.OpenSoundFile("twice.smg"));
    CSoundArray* weapons = manager.GetSounds(CSoundManager::kindWeapon);
    ASSERT_EQ(weapons->GetSize(), 2);
    ASSERT_TRUE(weapons->GetAt(0)->IsLoaded());
    ASSERT_TRUE(weapons->GetAt(1)->IsLoaded());
    manager.PlayWeaponSound("gun.wav");
    EXPECT_TRUE(weapons->GetAt(0)->GetBuffer()->GetAudioBuffer()->IsPlaying());
    EXPECT_FALSE(weapons->GetAt(1)->GetBuffer()->GetAudioBuffer()->IsPlaying());
    // Names that are not in the list, or in another list, play nothing.
    manager.PlayArtillerySound("gun.wav");
    manager.PlayWeaponSound("GUN.WAV");
    manager.PlayWeaponSound("");
    EXPECT_FALSE(weapons->GetAt(1)->GetBuffer()->GetAudioBuffer()->IsPlaying());
    EXPECT_FALSE(manager.GetPickBuffer()->GetAudioBuffer()->IsPlaying());
    manager.PlayPickSound();
    EXPECT_TRUE(manager.GetPickBuffer()->GetAudioBuffer()->IsPlaying());
}

TEST_F(SoundListTest, ReportsMissingAdministrativeSounds)
{
    // "pick.wav" is there but malformed, "notify.wav" is not there: only the
    // second is called missing.
    Bytes bad = SmallWave();
    bad[4] += 8;  // RIFF size beyond the file
    WriteFile(Path("pick.wav"), bad);
    CSoundManager manager;
    ASSERT_EQ(m_reports.size(), 1u);
    EXPECT_EQ(m_reports[0], CString("FILES NAMED IN SOUND ARRAY NOT FOUND!\r\n\r\n"
                                    "The administrative sound 'pick.wav' could not be read: "
                                    "it is not a whole wave file.\r\n"
                                    "The administrative sound 'notify.wav' was not found.\r\n"));
    EXPECT_TRUE(manager.IsAdminReady());
    EXPECT_FALSE(manager.GetPickBuffer()->IsLoaded());
    EXPECT_FALSE(manager.GetNotifyBuffer()->IsLoaded());
    manager.PlayPickSound();  // an unloaded buffer plays nothing
}

TEST_F(SoundListTest, OffersTheFileDialogUntilAFileOpens)
{
    WriteAdminSounds();
    WriteFile(Path("other.smg"), HandBuiltSoundList());
    WriteFile(Path("gun.wav"), SmallWave());
    WriteFile(Path("tank.wav"), SmallWave());
    CSoundManager manager;

    m_ui.ExpectFileDialog(FALSE, "");
    EXPECT_FALSE(manager.OpenSoundFile("absent.smg"));
    EXPECT_EQ(manager.GetFileName(), CString("*.smg"));
    ASSERT_FALSE(m_ui.GetShown().empty());
    EXPECT_EQ(m_ui.GetShown().back().file.defaultExt, CString("smg"));
    EXPECT_EQ(m_ui.GetShown().back().file.fileName, CString("*.smg"));

    m_ui.ExpectFileDialog(FALSE, Path("nowhere.smg").toUtf8().constData());
    m_ui.ExpectFileDialog(FALSE, Path("other.smg").toUtf8().constData());
    EXPECT_TRUE(manager.OpenSoundFile("absent.smg"));
    EXPECT_EQ(manager.FindSound(CSoundManager::kindWeapon, "gun.wav"), 0);
}

TEST_F(SoundListTest, ACorruptListIsRefusedWithAMessage)
{
    WriteAdminSounds();
    Bytes cut = HandBuiltSoundList();
    cut.resize(cut.size() - 5);
    WriteFile(Path("cut.smg"), cut);
    CSoundManager manager;
    m_ui.SetFailureHandler([](const CString&) {});  // the message is checked below
    EXPECT_FALSE(manager.OpenSoundFile("cut.smg"));
    ASSERT_EQ(m_ui.GetShown().size(), 1u);
    EXPECT_EQ(m_ui.GetShown()[0].kind, CScriptedUi::Kind::MessageBox);
    EXPECT_EQ(m_ui.GetShown()[0].text.Find("The sound list 'cut.smg' could not be read.\r\n"), 0);
    EXPECT_GE(m_ui.GetShown()[0].text.Find("end of the file"), 0);
    EXPECT_EQ(manager.GetSounds(CSoundManager::kindVehicle)->GetSize(), 0);
    EXPECT_EQ(manager.GetSounds(CSoundManager::kindWeapon)->GetSize(), 0);
}

// One sound in two lists (23 bytes) would be deleted by both: the list is
// refused with the archive error and the lists read before stay.
TEST_F(SoundListTest, ASoundInTwoListsIsRefusedAndTheListBeforeStays)
{
    WriteAdminSounds();
    WriteFile(Path("list.smg"), HandBuiltSoundList());
    Bytes shared;
    Put16(shared, 1);  // vehicle sounds
    Put16(shared, 0xFFFF);
    Put16(shared, 1);
    Put16(shared, 6);
    shared.insert(shared.end(), {'C', 'S', 'o', 'u', 'n', 'd', 1, 'a'});
    Put16(shared, 1);  // artillery sounds: the vehicle sound again (object 2)
    Put16(shared, 2);
    Put16(shared, 0);  // weapon sounds
    shared.push_back(0);
    WriteFile(Path("shared.smg"), shared);

    CSoundManager manager;
    ASSERT_TRUE(manager.OpenSoundFile("list.smg"));
    m_ui.SetFailureHandler([](const CString&) {});  // the message is checked below
    EXPECT_FALSE(manager.OpenSoundFile("shared.smg"));
    ASSERT_EQ(m_ui.GetShown().size(), 1u);
    EXPECT_EQ(m_ui.GetShown()[0].text.Find("The sound list 'shared.smg' could not be read.\r\n"), 0);
    EXPECT_GE(m_ui.GetShown()[0].text.Find("could not be read: it holds one object in two places."), 0);
    EXPECT_EQ(manager.GetFileName(), CString("list.smg"));
    EXPECT_EQ(manager.FindSound(CSoundManager::kindVehicle, "tank.wav"), 0);
    EXPECT_EQ(manager.FindSound(CSoundManager::kindWeapon, "missing.wav"), 1);
    EXPECT_EQ(manager.FindSound(CSoundManager::kindArtillery, "a"), -1);
}

TEST_F(SoundListTest, AMissingDataDirectoryFailsWithTheMessage)
{
    CSoundManager::SetDataDirectory(Path("no-such-dir").toUtf8().constData());
    m_ui.ExpectMessage(GetMessageBoxCaption(), "DSound Create Failed.", IDOK);
    CSoundManager manager;
    EXPECT_FALSE(manager.IsAdminReady());
    EXPECT_FALSE(manager.IsSoundOn());
    manager.PlayPickSound();
    manager.PlayWeaponSound("gun.wav");
}

// Without an audio output (the sound server out of reach) the manager tells
// the player through the UI service, stays silent and its Init fails. The
// sound server is hidden from a child process only, so that the rest of the
// program keeps its output.
TEST_F(SoundListTest, WithoutAnAudioDeviceInitSaysSoAndFails)
{
    if (!IsTestChild())
    {
        const CChildRun run = RunCurrentTestInChild({{"PULSE_SERVER", "unix:/nonexistent/kdr-no-sound-server"}});
        ASSERT_TRUE(run.finished) << run.output;
        if (run.skipped)
            GTEST_SKIP() << run.output;
        EXPECT_TRUE(run.Passed()) << run.output;
        return;
    }
    ScopedSoundServer server;
    if (server.IsReachable())
        GTEST_SKIP() << "an audio output is there without the sound server";
    WriteAdminSounds();

    m_ui.ExpectMessage(GetMessageBoxCaption(), "DSound Create Failed.", IDOK);
    CSoundManager manager;
    EXPECT_EQ(m_ui.GetShown().size(), 1u) << "the constructor's Init says it once";
    EXPECT_FALSE(manager.IsSoundOn());
    EXPECT_FALSE(manager.IsDirectSoundReady());
    EXPECT_FALSE(manager.IsAdminReady());
    EXPECT_TRUE(m_reports.empty()) << "the sounds are not looked for";

    m_ui.ExpectMessage(GetMessageBoxCaption(), "DSound Create Failed.", IDOK);
    EXPECT_FALSE(manager.Init());
    manager.PlayPickSound();
    manager.PlayNotifySound();
    manager.PlayWeaponSound("gun.wav");
    EXPECT_EQ(m_ui.GetShown().size(), 2u);
}

// ---------------------------------------------------------------------------
// Playback heard on the null sink

bool HasProgram(const char* name) { return !QStandardPaths::findExecutable(name).isEmpty(); }

bool PulseSinkReachable(QString& why)
{
    if (!HasProgram("pactl") || !HasProgram("parec"))
    {
        why = "pactl/parec are not installed";
        return false;
    }
    QProcess pactl;
    pactl.start("pactl", {"list", "short", "sinks"});
    if (!pactl.waitForFinished(5000) || pactl.exitCode() != 0)
    {
        why = "no PulseAudio server is reachable (tests/run_tests.sh starts one)";
        return false;
    }
    if (!pactl.readAllStandardOutput().contains("kdr_null"))
    {
        why = "the PulseAudio server has no kdr_null sink (tests/run_tests.sh makes one)";
        return false;
    }
    return true;
}

void SpinEventLoop(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
    {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
}

constexpr double kRate = 22050;
constexpr double kToneHz = 1000;
constexpr size_t kWindow = 1103;  // 50 ms

// One 50 ms stretch of what was heard: its loudness and how much of its
// power lies in the test tone's frequency (near 1 for the pure tone, near
// 0 for silence or other sounds).
struct Window
{
    double rms = 0;
    double toneShare = 0;
};

Window Analyse(const std::vector<double>& s, size_t start)
{
    double energy = 0, re = 0, im = 0;
    for (size_t i = 0; i < kWindow; ++i)
    {
        const double v = s[start + i];
        energy += v * v;
        const double phase = 2 * M_PI * kToneHz * double(i) / kRate;
        re += v * std::cos(phase);
        im += v * std::sin(phase);
    }
    Window w;
    w.rms = std::sqrt(energy / double(kWindow));
    // A sine of amplitude a has mean power a^2/2 and |X(f)| = a N / 2.
    const double tonePower = 2.0 * (re * re + im * im) / (double(kWindow) * double(kWindow));
    w.toneShare = energy > 0 ? tonePower / (energy / double(kWindow)) : 0;
    return w;
}

// A stretch of loud windows: one playing of a sound.
struct Burst
{
    size_t windows = 0;
    double rms = 0;  // the mean of its windows
    double toneShare = 0;
    bool ended = false;  // a quiet window follows
};

// The monitor of the null sink, recorded by parec as 16-bit mono at 22050
// Hz. The sound server may take a second or more to start a stream, so a
// test waits for what it expects rather than for a fixed time.
class MonitorRecording
{
public:
    ~MonitorRecording()
    {
        m_parec.kill();
        m_parec.waitForFinished(2000);
    }

    bool Start()
    {
        m_parec.start(
            "parec", {"-d", "kdr_null.monitor", "--format=s16le", "--rate=22050", "--channels=1", "--latency-msec=20"});
        return m_parec.waitForStarted(5000);
    }

    std::vector<Burst> Bursts(double loud = 0.1)
    {
        Read();
        std::vector<Burst> bursts;
        bool inBurst = false;
        for (size_t start = 0; start + kWindow <= m_samples.size(); start += kWindow)
        {
            const Window w = Analyse(m_samples, start);
            if (w.rms > loud)
            {
                if (!inBurst)
                    bursts.emplace_back();
                inBurst = true;
                Burst& b = bursts.back();
                b.rms += w.rms;
                b.toneShare += w.toneShare;
                ++b.windows;
            }
            else if (inBurst)
            {
                bursts.back().ended = true;
                inBurst = false;
            }
        }
        for (Burst& b : bursts)
        {
            b.rms /= double(b.windows);
            b.toneShare /= double(b.windows);
        }
        return bursts;
    }

    // Waits until `count` bursts have been heard and have ended.
    std::vector<Burst> WaitForBursts(size_t count, int timeoutMs)
    {
        QElapsedTimer timer;
        timer.start();
        std::vector<Burst> bursts;
        while (timer.elapsed() < timeoutMs)
        {
            SpinEventLoop(50);
            bursts = Bursts();
            if (bursts.size() >= count && bursts[count - 1].ended)
                break;
        }
        return bursts;
    }

    // Waits until the monitor delivers samples: parec connects to the
    // server some time after it starts, and what plays before is not heard.
    bool WaitUntilRecording(int timeoutMs)
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < timeoutMs)
        {
            Read();
            if (!m_samples.empty())
                return true;
            SpinEventLoop(20);
        }
        return false;
    }

    double PeakRms()
    {
        Read();
        double peak = 0;
        for (size_t start = 0; start + kWindow <= m_samples.size(); start += kWindow)
            peak = std::max(peak, Analyse(m_samples, start).rms);
        return peak;
    }

private:
    void Read()
    {
        m_raw += m_parec.readAllStandardOutput();
        const size_t n = size_t(m_raw.size() / 2);
        for (size_t i = m_samples.size(); i < n; ++i)
        {
            int16_t v;
            std::memcpy(&v, m_raw.constData() + 2 * i, 2);
            m_samples.push_back(v / 32768.0);
        }
    }

    QProcess m_parec;
    QByteArray m_raw;
    std::vector<double> m_samples;
};

// A 1000 Hz tone of that many seconds at half volume, made by sox.
bool MakeTone(const QString& path, const char* seconds)
{
    QProcess sox;
    sox.start("sox",
              {"-n", "-r", "22050", "-c", "1", "-b", "16", path, "synth", seconds, "sine", "1000", "vol", "0.5"});
    const bool made = sox.waitForFinished(10000) && sox.exitCode() == 0;
    EXPECT_TRUE(made) << sox.readAllStandardError().toStdString();
    return made;
}

TEST_F(SoundListTest, AWaveMadeBySoxIsHeardOnTheNullSink)
{
    QString why;
    if (!PulseSinkReachable(why))
        GTEST_SKIP() << "sound output not tested: " << why.toStdString();
    if (!HasProgram("sox"))
        GTEST_SKIP() << "sound output not tested: sox is not installed";

    ASSERT_TRUE(MakeTone(Path("tone.wav"), "0.6"));
    WriteAdminSounds();

    // A list with the tone as a weapon sound, written through the manager.
    {
        CSoundManager writer;
        writer.GetSounds(CSoundManager::kindWeapon)->Add(new CSound("tone.wav"));
        CFile file(Path("tone.smg").toUtf8().constData(), CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store);
        writer.Serialize(ar);
        ar.Close();
    }

    ScopedSoundServer server;
    {
        const std::unique_ptr<CAudioOutput> output = CAudioOutput::OpenDefault();
        ASSERT_NE(output, nullptr) << "PulseAudio runs but its output did not open";
        EXPECT_FALSE(output->IsSilent());
        EXPECT_EQ(std::string(output->DeviceId()), "kdr_null");
    }
    CSoundManager manager;
    ASSERT_TRUE(manager.IsDirectSoundReady());
    ASSERT_TRUE(manager.OpenSoundFile("tone.smg"));
    ASSERT_TRUE(m_reports.empty());
    CSound* tone = manager.GetSounds(CSoundManager::kindWeapon)->GetAt(0);
    ASSERT_TRUE(tone->IsLoaded());
    CAudioBuffer* audio = tone->GetBuffer()->GetAudioBuffer();
    ASSERT_NE(audio, nullptr);

    // With sound off nothing is played. The null sink is shared with the
    // other tests running at the same time, whose sounds can reach the
    // recording: the quiet try is made up to three times, each asking for
    // the tone again, so a tone played with sound off is heard every time.
    {
        manager.SetSoundOn(FALSE);
        double peak = 1.0;
        for (int attempt = 0; attempt < 3 && peak >= 0.02; ++attempt)
        {
            MonitorRecording silent;
            ASSERT_TRUE(silent.Start());
            manager.PlayWeaponSound("tone.wav");
            EXPECT_FALSE(audio->IsPlaying());
            SpinEventLoop(2500);
            peak = silent.PeakRms();
        }
        EXPECT_LT(peak, 0.02);
        manager.SetSoundOn(TRUE);
    }

    MonitorRecording recording;
    ASSERT_TRUE(recording.Start());
    manager.PlayWeaponSound("tone.wav");
    EXPECT_TRUE(audio->IsPlaying());
    // Played again while it plays, the sound goes on and does not restart.
    SpinEventLoop(300);
    manager.PlayWeaponSound("tone.wav");
    std::vector<Burst> bursts = recording.WaitForBursts(1, 8000);
    ASSERT_GE(bursts.size(), 1u) << "the tone was not heard";
    EXPECT_GT(bursts[0].rms, 0.25) << "the tone has an rms of 0.35";
    EXPECT_GT(bursts[0].toneShare, 0.8) << "what was heard is not a 1000 Hz tone";
    EXPECT_GE(bursts[0].windows, 6u) << "0.6 s of tone, of which the server may drop the start";
    EXPECT_LE(bursts[0].windows, 14u) << "a restart would have made it 0.9 s";

    // A lost buffer loses its samples; playing restores and refills it, and
    // the same tone is heard again.
    audio->MarkLost();
    manager.PlayWeaponSound("tone.wav");
    bursts = recording.WaitForBursts(2, 8000);
    ASSERT_GE(bursts.size(), 2u) << "the restored tone was not heard";
    EXPECT_GT(bursts[1].rms, 0.25);
    EXPECT_GT(bursts[1].toneShare, 0.8);
}

// A sound server of one test's own, with a null sink of the name the
// tests record from: a test that plays many sounds runs in a child process
// connected to it, so it neither hears nor disturbs what other tests play
// on the shared server at the same time.
class CPrivateSoundServer
{
public:
    ~CPrivateSoundServer()
    {
        if (m_bStarted)
        {
            QProcess kill;
            kill.setProcessEnvironment(Environment());
            kill.start("pulseaudio", {"--kill"});
            kill.waitForFinished(10000);
        }
    }

    bool Start(QString& why)
    {
        if (!HasProgram("pulseaudio") || !HasProgram("pactl"))
        {
            why = "pulseaudio/pactl are not installed";
            return false;
        }
        if (!m_dir.isValid())
        {
            why = "no temporary folder";
            return false;
        }
        QProcess server;
        server.setProcessEnvironment(Environment());
        server.start("pulseaudio",
                     {"--daemonize=yes", "--exit-idle-time=-1", "--system=false", "-n",
                      "--load=module-null-sink sink_name=kdr_null", "--load=module-native-protocol-unix"});
        m_bStarted = server.waitForFinished(15000) && server.exitCode() == 0;
        if (!m_bStarted)
        {
            why = "a sound server of the test's own did not start";
            return false;
        }
        QProcess pactl;
        pactl.setProcessEnvironment(Environment());
        pactl.start("pactl", {"set-default-sink", "kdr_null"});
        pactl.waitForFinished(5000);
        return true;
    }

    std::vector<std::pair<QString, QString>> Variables() const
    {
        return {{"XDG_RUNTIME_DIR", m_dir.path()},
                {"PULSE_RUNTIME_PATH", m_dir.path() + "/pulse"},
                {"PULSE_SINK", "kdr_null"}};
    }

private:
    QProcessEnvironment Environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const auto& [name, value] : Variables())
            env.insert(name, value);
        return env;
    }

    QTemporaryDir m_dir;
    bool m_bStarted = false;
};

// The click of the start and stop commands, played as a player clicks:
// every click is heard, not only the first few. The clicks lie far enough
// apart that the sound server's uneven start of each stream cannot run two
// of them together.
TEST_F(SoundListTest, AClickPlayedTwentyTimesIsHeardTwentyTimes)
{
    if (!IsTestChild())
    {
        CPrivateSoundServer server;
        QString why;
        if (!server.Start(why))
            GTEST_SKIP() << "sound output not tested: " << why.toStdString();
        const CChildRun run = RunCurrentTestInChild(server.Variables(), 120000);
        ASSERT_TRUE(run.finished) << run.output;
        if (run.skipped)
            GTEST_SKIP() << run.output;
        EXPECT_TRUE(run.Passed()) << run.output;
        return;
    }
    QString why;
    if (!PulseSinkReachable(why))
        GTEST_SKIP() << "sound output not tested: " << why.toStdString();
    if (!HasProgram("sox"))
        GTEST_SKIP() << "sound output not tested: sox is not installed";
    ASSERT_TRUE(MakeTone(Path("pick.wav"), "0.1"));
    WriteFile(Path("notify.wav"), SmallWave());

    ScopedSoundServer server;
    CSoundManager manager;
    ASSERT_TRUE(manager.IsDirectSoundReady());
    ASSERT_TRUE(manager.GetPickBuffer()->IsLoaded());
    MonitorRecording recording;
    ASSERT_TRUE(recording.Start());
    ASSERT_TRUE(recording.WaitUntilRecording(8000));
    constexpr size_t kClicks = 20;
    for (size_t i = 0; i < kClicks; ++i)
    {
        manager.PlayPickSound();
        SpinEventLoop(500);
    }
    recording.WaitForBursts(kClicks, 8000);
    size_t heard = 0;
    std::string seen;
    for (const Burst& burst : recording.Bursts())
    {
        if (burst.toneShare > 0.4)
            ++heard;
        seen += " " + std::to_string(burst.windows) + "x" + std::to_string(burst.toneShare).substr(0, 4);
    }
    EXPECT_EQ(heard, kClicks) << "bursts heard (windows x share of the click's pitch):" << seen;
}

}  // namespace
