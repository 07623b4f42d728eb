#pragma once
// Audio output on the sound server's default sink (PulseAudio, or a server
// that speaks its protocol).
//
// The sound manager keeps one CAudioBuffer per wave file: the samples stay in
// memory and each buffer plays on a stream of its own (a new one every time
// it starts), so that the sound server mixes sounds that overlap. A buffer
// that is asked to play while it still plays goes on playing and is not
// restarted.
//
// The output owns its connection to the server: one main-loop thread and one
// context, which its buffers share, so the connection goes only after the
// output and every buffer made on it are gone. Every stream is made, fed and
// closed under the main loop's lock, and the connection is closed and its
// thread joined when the last owner goes, before the program's exit: nothing
// of the server's client library is left running for the exit-time teardown
// of other libraries.
//
// The calls come from the user-interface thread; the samples are fed from the
// main-loop thread, so no event loop needs to turn while a sound plays.
//
// A stream that failed (the server went away, the sink vanished) makes Play
// report AUDIO_BUFFERLOST; Restore makes the buffer playable again and the
// caller fills it again, as it would after any loss of its samples.
//
// Test programs that do not test sound choose the silent output: it opens
// without a sound server, takes buffers and "plays" each for its length,
// hearing nothing, so those tests behave alike with and without a server.

#include <cstddef>
#include <memory>

class CAudioOutput;

// Results of CAudioBuffer::Play and Lock.
constexpr long AUDIO_OK = 0;
constexpr long AUDIO_FAILED = 1;
constexpr long AUDIO_BUFFERLOST = 2;

// The sample layout of one sound, as a wave file's format chunk gives it.
struct AudioFormat
{
    enum Sample
    {
        UInt8,
        Int16,
        Int32,
        Float32
    };
    Sample sample = Int16;
    int channels = 0;
    int sampleRate = 0;

    int BytesPerSample() const;
    int BytesPerFrame() const { return BytesPerSample() * channels; }
    // Channels 1 to 8, a rate from 1 Hz to 384 kHz.
    bool IsValid() const;
};

class CAudioBuffer
{
public:
    ~CAudioBuffer();
    CAudioBuffer(const CAudioBuffer&) = delete;
    CAudioBuffer& operator=(const CAudioBuffer&) = delete;

    const AudioFormat& Format() const { return m_format; }
    std::size_t Size() const;

    // Copies bytes into the buffer at offset; what does not fit is cut off.
    // AUDIO_BUFFERLOST when the buffer was lost and has not been restored.
    long Write(std::size_t offset, const void* bytes, std::size_t count);

    // Starts playing from the first sample, or goes on when it already plays.
    long Play(bool loop);
    void Stop();
    bool IsPlaying() const;

    bool IsLost() const;
    // Playable again on the same output; the samples must be written again.
    bool Restore();
    // The stream is dropped and the samples lost as when the device fails;
    // for tests of the restore path.
    void MarkLost();

private:
    friend class CAudioOutput;
    CAudioBuffer(CAudioOutput& output, const AudioFormat& format, std::size_t bytes);
    struct Impl;
    std::unique_ptr<Impl> m;
    AudioFormat m_format;
};

// Where CAudioOutput::OpenDefault opens its output.
enum class AudioOutputKind
{
    SoundServer,  // the server's default sink; none without a server
    Silent        // always there, plays nothing
};

class CAudioOutput
{
public:
    ~CAudioOutput();
    CAudioOutput(const CAudioOutput&) = delete;
    CAudioOutput& operator=(const CAudioOutput&) = delete;

    // The default output of the kind chosen, or null when there is none.
    static std::unique_ptr<CAudioOutput> OpenDefault();
    // The kind OpenDefault opens from now on; the sound server unless a
    // program chose otherwise. Answers the kind chosen before.
    static AudioOutputKind SetDefaultKind(AudioOutputKind kind);
    static AudioOutputKind GetDefaultKind();

    // A silent buffer of that many bytes, or null for an invalid format or
    // an empty buffer.
    std::unique_ptr<CAudioBuffer> CreateBuffer(const AudioFormat& format, std::size_t bytes);

    // The device's description, for messages, and the server's name of it
    // ("silent" for the silent output).
    const char* DeviceName() const;
    const char* DeviceId() const;
    bool IsSilent() const;

private:
    CAudioOutput();
    struct Impl;
    std::unique_ptr<Impl> m;
    friend class CAudioBuffer;
};
