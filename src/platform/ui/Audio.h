#pragma once
// Audio output on the default device of Qt Multimedia.
//
// The sound manager keeps one CAudioBuffer per wave file: the samples stay in
// memory and each buffer plays on a sink of its own (a new one every time it
// starts), so that the sound server mixes sounds that overlap. A buffer that
// is asked to play while it still plays goes on playing and is not restarted.
//
// Everything here runs on the user-interface thread and needs the Qt event
// loop to turn: the sinks are fed from it. Starting, stopping and dropping a
// sink may turn that loop inside the call (the PulseAudio backend waits for
// its server), so those calls serve none of the program's posted messages
// (CForeignLoopScope): a sound played in a game pass never runs a command.
//
// A sink that failed (the server went away, the device vanished) makes Play
// report AUDIO_BUFFERLOST; Restore builds a new sink and the caller fills the
// buffer again, as it would after any loss of its samples.

#include <cstddef>
#include <memory>

class QAudioSink;
class QIODevice;
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
    // A new sink on the same device; the samples must be written again.
    bool Restore();
    // The sink is dropped as when the device fails; for tests of the
    // restore path.
    void MarkLost();

private:
    friend class CAudioOutput;
    CAudioBuffer(CAudioOutput& output, const AudioFormat& format, std::size_t bytes);
    struct Impl;
    std::unique_ptr<Impl> m;
    AudioFormat m_format;
};

class CAudioOutput
{
public:
    ~CAudioOutput();
    CAudioOutput(const CAudioOutput&) = delete;
    CAudioOutput& operator=(const CAudioOutput&) = delete;

    // The system's default output, or null when there is none.
    static std::unique_ptr<CAudioOutput> OpenDefault();

    // A silent buffer of that many bytes, or null for an invalid format or
    // an empty buffer.
    std::unique_ptr<CAudioBuffer> CreateBuffer(const AudioFormat& format, std::size_t bytes);

    // The device's description, for messages.
    const char* DeviceName() const;

private:
    CAudioOutput();
    struct Impl;
    std::unique_ptr<Impl> m;
    friend class CAudioBuffer;
};
