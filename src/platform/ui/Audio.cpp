#include "platform/ui/Audio.h"

#include <pulse/pulseaudio.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

int AudioFormat::BytesPerSample() const
{
    switch (sample)
    {
    case UInt8: return 1;
    case Int16: return 2;
    case Int32: return 4;
    case Float32: return 4;
    }
    return 0;
}

bool AudioFormat::IsValid() const
{
    return channels >= 1 && channels <= 8 && sampleRate >= 1 && sampleRate <= 384000 && BytesPerSample() > 0;
}

namespace
{

using Clock = std::chrono::steady_clock;

AudioOutputKind g_defaultKind = AudioOutputKind::SoundServer;

constexpr const char* kClientName = "Kedravin";
constexpr const char* kStreamName = "Kedravin sound";
constexpr const char* kSilentId = "silent";
constexpr const char* kSilentName = "Silent output";

// How long past its end a sound may still count as playing: the server may
// take a second or more to start a stream.
constexpr std::int64_t kOverdueMs = 3000;
// How much the server holds ahead of what is heard: short enough that a
// click starts at once.
constexpr pa_usec_t kTargetLatencyUs = 100000;

pa_sample_format_t ToPulse(AudioFormat::Sample sample)
{
    switch (sample)
    {
    case AudioFormat::UInt8: return PA_SAMPLE_U8;
    case AudioFormat::Int16: return PA_SAMPLE_S16LE;
    case AudioFormat::Int32: return PA_SAMPLE_S32LE;
    case AudioFormat::Float32: return PA_SAMPLE_FLOAT32LE;
    }
    return PA_SAMPLE_INVALID;
}

// Holds the main loop's lock for a scope; the lock is recursive.
class LoopLock
{
public:
    explicit LoopLock(pa_threaded_mainloop* loop) : m_loop(loop) { pa_threaded_mainloop_lock(m_loop); }
    ~LoopLock() { pa_threaded_mainloop_unlock(m_loop); }
    LoopLock(const LoopLock&) = delete;
    LoopLock& operator=(const LoopLock&) = delete;

private:
    pa_threaded_mainloop* m_loop;
};

// A question to the server answered on the main-loop thread.
struct Query
{
    pa_threaded_mainloop* loop = nullptr;
    std::string answer;
    bool found = false;
    bool done = false;
};

void OnContextState(pa_context*, void* loop) { pa_threaded_mainloop_signal(static_cast<pa_threaded_mainloop*>(loop), 0); }

void OnServerInfo(pa_context*, const pa_server_info* info, void* userdata)
{
    auto* query = static_cast<Query*>(userdata);
    if (info != nullptr && info->default_sink_name != nullptr)
    {
        query->answer = info->default_sink_name;
        query->found = !query->answer.empty();
    }
    query->done = true;
    pa_threaded_mainloop_signal(query->loop, 0);
}

void OnSinkInfo(pa_context*, const pa_sink_info* info, int last, void* userdata)
{
    auto* query = static_cast<Query*>(userdata);
    if (last == 0 && info != nullptr)
    {
        query->answer = info->description != nullptr ? info->description : info->name;
        query->found = true;
        return;
    }
    query->done = true;
    pa_threaded_mainloop_signal(query->loop, 0);
}

}  // namespace

// The connection to the sound server. The output and its buffers share it,
// so it is closed when the last of them goes: the context is disconnected
// under the main loop's lock, and only then the loop stopped and its thread
// joined.
struct AudioConnection
{
    pa_threaded_mainloop* loop = nullptr;
    pa_context* context = nullptr;

    AudioConnection() = default;
    AudioConnection(const AudioConnection&) = delete;
    AudioConnection& operator=(const AudioConnection&) = delete;

    ~AudioConnection()
    {
        if (loop == nullptr)
            return;
        if (context != nullptr)
        {
            LoopLock lock(loop);
            pa_context_set_state_callback(context, nullptr, nullptr);
            pa_context_disconnect(context);
            pa_context_unref(context);
            context = nullptr;
        }
        pa_threaded_mainloop_stop(loop);
        pa_threaded_mainloop_free(loop);
    }

    // Under the lock.
    bool IsReady() const { return context != nullptr && pa_context_get_state(context) == PA_CONTEXT_READY; }

    // Under the lock: waits until the operation ends or the connection fails.
    void Wait(pa_operation* operation, const Query& query)
    {
        if (operation == nullptr)
            return;
        while (!query.done && pa_operation_get_state(operation) == PA_OPERATION_RUNNING &&
               PA_CONTEXT_IS_GOOD(pa_context_get_state(context)))
            pa_threaded_mainloop_wait(loop);
        pa_operation_unref(operation);
    }
};

namespace
{

// Connects to the server and finds the sink that streams play on (the one
// PULSE_SINK names, or the server's default); null when there is no server
// or no such sink.
std::shared_ptr<AudioConnection> Connect(std::string& sinkId, std::string& sinkName)
{
    auto connection = std::make_shared<AudioConnection>();
    connection->loop = pa_threaded_mainloop_new();
    if (connection->loop == nullptr)
        return nullptr;
    if (pa_threaded_mainloop_start(connection->loop) < 0)
    {
        pa_threaded_mainloop_free(connection->loop);
        connection->loop = nullptr;
        return nullptr;
    }
    // The lock goes before the connection when a step fails.
    LoopLock lock(connection->loop);
    connection->context = pa_context_new(pa_threaded_mainloop_get_api(connection->loop), kClientName);
    if (connection->context == nullptr)
        return nullptr;
    pa_context_set_state_callback(connection->context, OnContextState, connection->loop);
    if (pa_context_connect(connection->context, nullptr, PA_CONTEXT_NOFLAGS, nullptr) < 0)
        return nullptr;
    for (;;)
    {
        const pa_context_state_t state = pa_context_get_state(connection->context);
        if (state == PA_CONTEXT_READY)
            break;
        if (!PA_CONTEXT_IS_GOOD(state))
            return nullptr;
        pa_threaded_mainloop_wait(connection->loop);
    }

    const char* chosen = std::getenv("PULSE_SINK");
    if (chosen != nullptr && *chosen != '\0')
    {
        sinkId = chosen;
    }
    else
    {
        Query server;
        server.loop = connection->loop;
        connection->Wait(pa_context_get_server_info(connection->context, OnServerInfo, &server), server);
        if (!server.found)
            return nullptr;
        sinkId = server.answer;
    }
    Query sink;
    sink.loop = connection->loop;
    connection->Wait(pa_context_get_sink_info_by_name(connection->context, sinkId.c_str(), OnSinkInfo, &sink), sink);
    if (!sink.found)
        return nullptr;
    sinkName = sink.answer;
    return connection;
}

}  // namespace

struct CAudioOutput::Impl
{
    std::shared_ptr<AudioConnection> connection;  // null for the silent output
    std::string id;
    std::string name;
};

// One playing of a buffer: a stream of its own, fed from the samples on the
// main-loop thread. Every field is read and written under the loop's lock.
struct AudioPlaying
{
    pa_threaded_mainloop* loop = nullptr;
    pa_stream* stream = nullptr;
    pa_operation* drain = nullptr;
    const std::vector<std::uint8_t>* samples = nullptr;
    std::size_t position = 0;
    bool looping = false;
    bool written = false;  // every sample handed to the server
    bool drained = false;  // and heard
    bool failed = false;

    static void OnDrained(pa_stream*, int success, void* userdata)
    {
        auto* playing = static_cast<AudioPlaying*>(userdata);
        playing->drained = success != 0;
        pa_threaded_mainloop_signal(playing->loop, 0);
    }

    static void OnState(pa_stream* stream, void* userdata)
    {
        auto* playing = static_cast<AudioPlaying*>(userdata);
        const pa_stream_state_t state = pa_stream_get_state(stream);
        if (state == PA_STREAM_FAILED || state == PA_STREAM_TERMINATED)
            playing->failed = true;
        pa_threaded_mainloop_signal(playing->loop, 0);
    }

    static void OnWritable(pa_stream* stream, std::size_t bytes, void* userdata)
    {
        auto* playing = static_cast<AudioPlaying*>(userdata);
        const std::vector<std::uint8_t>& samples = *playing->samples;
        while (bytes > 0 && !playing->written && !samples.empty())
        {
            const std::size_t count = std::min(bytes, samples.size() - playing->position);
            // Without a free callback the server's library copies the bytes.
            if (pa_stream_write(stream, samples.data() + playing->position, count, nullptr, 0, PA_SEEK_RELATIVE) < 0)
            {
                playing->failed = true;
                return;
            }
            bytes -= count;
            playing->position += count;
            if (playing->position < samples.size())
                continue;
            if (playing->looping)
            {
                playing->position = 0;
                continue;
            }
            playing->written = true;
            playing->drain = pa_stream_drain(stream, OnDrained, playing);
        }
    }
};

struct CAudioBuffer::Impl
{
    std::shared_ptr<AudioConnection> connection;  // null on the silent output
    pa_sample_spec spec{};
    std::vector<std::uint8_t> samples;
    std::unique_ptr<AudioPlaying> playing;
    Clock::time_point started;
    bool startedValid = false;
    bool silentPlaying = false;
    bool looping = false;
    std::int64_t durationMs = 0;
    bool lost = false;

    std::int64_t ElapsedMs() const
    {
        return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started).count();
    }

    // Closes the stream under the lock; its callbacks and its drain are
    // cancelled first, so none of them runs after the playing is gone.
    void DropStream()
    {
        silentPlaying = false;
        if (!playing)
            return;
        {
            LoopLock lock(connection->loop);
            if (playing->drain != nullptr)
            {
                pa_operation_cancel(playing->drain);
                pa_operation_unref(playing->drain);
                playing->drain = nullptr;
            }
            if (playing->stream != nullptr)
            {
                pa_stream_set_write_callback(playing->stream, nullptr, nullptr);
                pa_stream_set_state_callback(playing->stream, nullptr, nullptr);
                if (PA_STREAM_IS_GOOD(pa_stream_get_state(playing->stream)))
                    pa_stream_disconnect(playing->stream);
                pa_stream_unref(playing->stream);
                playing->stream = nullptr;
            }
        }
        playing.reset();
    }

    bool Failed() const
    {
        if (!playing)
            return false;
        LoopLock lock(connection->loop);
        return playing->failed;
    }
};

CAudioOutput::CAudioOutput() : m(std::make_unique<Impl>()) {}
CAudioOutput::~CAudioOutput() = default;

AudioOutputKind CAudioOutput::SetDefaultKind(AudioOutputKind kind)
{
    const AudioOutputKind before = g_defaultKind;
    g_defaultKind = kind;
    return before;
}

AudioOutputKind CAudioOutput::GetDefaultKind() { return g_defaultKind; }

std::unique_ptr<CAudioOutput> CAudioOutput::OpenDefault()
{
    std::unique_ptr<CAudioOutput> out(new CAudioOutput());
    if (g_defaultKind == AudioOutputKind::Silent)
    {
        out->m->id = kSilentId;
        out->m->name = kSilentName;
        return out;
    }
    out->m->connection = Connect(out->m->id, out->m->name);
    if (!out->m->connection)
        return nullptr;
    return out;
}

const char* CAudioOutput::DeviceName() const { return m->name.c_str(); }

const char* CAudioOutput::DeviceId() const { return m->id.c_str(); }

bool CAudioOutput::IsSilent() const { return !m->connection; }

std::unique_ptr<CAudioBuffer> CAudioOutput::CreateBuffer(const AudioFormat& format, std::size_t bytes)
{
    if (!format.IsValid() || bytes == 0 || bytes > (std::size_t(1) << 30))
        return nullptr;
    std::unique_ptr<CAudioBuffer> buffer(new CAudioBuffer(*this, format, bytes));
    return buffer;
}

CAudioBuffer::CAudioBuffer(CAudioOutput& output, const AudioFormat& format, std::size_t bytes)
    : m(std::make_unique<Impl>()), m_format(format)
{
    m->connection = output.m->connection;
    m->spec.format = ToPulse(format.sample);
    m->spec.channels = static_cast<std::uint8_t>(format.channels);
    m->spec.rate = static_cast<std::uint32_t>(format.sampleRate);
    m->samples.assign(bytes, 0);
    const std::int64_t bytesPerSecond = std::int64_t(format.BytesPerFrame()) * format.sampleRate;
    m->durationMs = std::int64_t(bytes) * 1000 / bytesPerSecond;
}

CAudioBuffer::~CAudioBuffer() { m->DropStream(); }

std::size_t CAudioBuffer::Size() const { return m->samples.size(); }

long CAudioBuffer::Write(std::size_t offset, const void* bytes, std::size_t count)
{
    if (m->lost)
        return AUDIO_BUFFERLOST;
    const std::size_t size = Size();
    if (offset >= size)
        return AUDIO_OK;
    count = std::min(count, size - offset);
    // A playing stream reads the samples on the main-loop thread.
    if (m->playing)
    {
        LoopLock lock(m->connection->loop);
        std::memcpy(m->samples.data() + offset, bytes, count);
    }
    else
    {
        std::memcpy(m->samples.data() + offset, bytes, count);
    }
    return AUDIO_OK;
}

bool CAudioBuffer::IsPlaying() const
{
    if (m->lost || !m->startedValid)
        return false;
    if (!m->connection)
        return m->silentPlaying && (m->looping || m->ElapsedMs() < m->durationMs);
    if (!m->playing)
        return false;
    LoopLock lock(m->connection->loop);
    if (m->playing->failed || m->playing->drained)
        return false;
    // A sound that should long be over is not waited for: a stream the
    // server never finishes must not keep the sound from playing again.
    return m->looping || m->ElapsedMs() < m->durationMs + kOverdueMs;
}

long CAudioBuffer::Play(bool loop)
{
    if (m->lost)
        return AUDIO_BUFFERLOST;
    if (m->Failed())
    {
        MarkLost();
        return AUDIO_BUFFERLOST;
    }
    if (IsPlaying())
        return AUDIO_OK;
    // Every playing gets a stream of its own, so that a sound that ended
    // or was stopped starts cleanly from its first sample.
    m->DropStream();
    m->looping = loop;
    if (!m->connection)
    {
        m->silentPlaying = true;
        m->started = Clock::now();
        m->startedValid = true;
        return AUDIO_OK;
    }

    bool failed = false;
    {
        LoopLock lock(m->connection->loop);
        pa_stream* stream =
            m->connection->IsReady() ? pa_stream_new(m->connection->context, kStreamName, &m->spec, nullptr) : nullptr;
        if (stream == nullptr)
        {
            failed = true;
        }
        else
        {
            m->playing = std::make_unique<AudioPlaying>();
            m->playing->loop = m->connection->loop;
            m->playing->stream = stream;
            m->playing->samples = &m->samples;
            m->playing->looping = loop;
            pa_stream_set_state_callback(stream, AudioPlaying::OnState, m->playing.get());
            pa_stream_set_write_callback(stream, AudioPlaying::OnWritable, m->playing.get());
            pa_buffer_attr attr;
            attr.maxlength = static_cast<std::uint32_t>(-1);
            attr.tlength = static_cast<std::uint32_t>(pa_usec_to_bytes(kTargetLatencyUs, &m->spec));
            attr.prebuf = static_cast<std::uint32_t>(-1);
            attr.minreq = static_cast<std::uint32_t>(-1);
            attr.fragsize = static_cast<std::uint32_t>(-1);
            // No sink named: the server's library takes PULSE_SINK or the
            // default, the sink the output was opened on.
            failed = pa_stream_connect_playback(stream, nullptr, &attr, PA_STREAM_ADJUST_LATENCY, nullptr, nullptr) < 0;
        }
    }
    if (failed)
    {
        MarkLost();
        return AUDIO_BUFFERLOST;
    }
    m->started = Clock::now();
    m->startedValid = true;
    return AUDIO_OK;
}

void CAudioBuffer::Stop() { m->DropStream(); }

bool CAudioBuffer::IsLost() const { return m->lost; }

bool CAudioBuffer::Restore()
{
    m->DropStream();
    m->lost = false;
    return true;
}

void CAudioBuffer::MarkLost()
{
    m->DropStream();
    std::fill(m->samples.begin(), m->samples.end(), std::uint8_t(0));
    m->lost = true;
}
