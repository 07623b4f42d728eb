#include "platform/ui/Audio.h"

#include "platform/ui/App.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMediaDevices>

#include <algorithm>
#include <cstring>

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

QAudioFormat ToQt(const AudioFormat& f)
{
    QAudioFormat q;
    q.setChannelCount(f.channels);
    q.setSampleRate(f.sampleRate);
    switch (f.sample)
    {
    case AudioFormat::UInt8: q.setSampleFormat(QAudioFormat::UInt8); break;
    case AudioFormat::Int16: q.setSampleFormat(QAudioFormat::Int16); break;
    case AudioFormat::Int32: q.setSampleFormat(QAudioFormat::Int32); break;
    case AudioFormat::Float32: q.setSampleFormat(QAudioFormat::Float); break;
    }
    return q;
}

// Reads the samples over and over, for looping sounds.
class LoopSource : public QIODevice
{
public:
    explicit LoopSource(const QByteArray& samples) : m_samples(samples) {}
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return m_samples.isEmpty() ? 0 : (1 << 30); }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        if (m_samples.isEmpty())
            return 0;
        qint64 done = 0;
        while (done < maxSize)
        {
            const qint64 n = std::min<qint64>(maxSize - done, m_samples.size() - m_pos);
            std::memcpy(data + done, m_samples.constData() + m_pos, static_cast<size_t>(n));
            done += n;
            m_pos = (m_pos + n) % m_samples.size();
        }
        return done;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    const QByteArray& m_samples;
    qint64 m_pos = 0;
};

// How long past its end a sound may still count as playing: the server may
// take a second or more to start a stream.
constexpr qint64 kOverdueMs = 3000;

bool IsBroken(QAudio::Error e) { return e == QAudio::OpenError || e == QAudio::IOError || e == QAudio::FatalError; }

}  // namespace

struct CAudioOutput::Impl
{
    QAudioDevice device;
    QByteArray name;
};

struct CAudioBuffer::Impl
{
    QAudioDevice device;
    QAudioFormat format;
    QByteArray samples;
    std::unique_ptr<QIODevice> source;
    std::unique_ptr<QAudioSink> sink;
    QElapsedTimer started;
    qint64 durationMs = 0;
    bool looping = false;
    bool lost = false;

    void DropSink()
    {
        const CForeignLoopScope foreignLoop;
        if (sink)
            sink->stop();
        sink.reset();
        source.reset();
    }
};

CAudioOutput::CAudioOutput() : m(std::make_unique<Impl>()) {}
CAudioOutput::~CAudioOutput() = default;

std::unique_ptr<CAudioOutput> CAudioOutput::OpenDefault()
{
    // The multimedia backend needs the application object for its events.
    if (!QCoreApplication::instance())
        return nullptr;
    QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return nullptr;
    std::unique_ptr<CAudioOutput> out(new CAudioOutput());
    out->m->device = device;
    out->m->name = device.description().toUtf8();
    return out;
}

const char* CAudioOutput::DeviceName() const { return m->name.constData(); }

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
    m->device = output.m->device;
    m->format = ToQt(format);
    m->samples = QByteArray(static_cast<qsizetype>(bytes), '\0');
    const qint64 bytesPerSecond = qint64(format.BytesPerFrame()) * format.sampleRate;
    m->durationMs = qint64(bytes) * 1000 / bytesPerSecond;
}

CAudioBuffer::~CAudioBuffer() { m->DropSink(); }

std::size_t CAudioBuffer::Size() const { return static_cast<std::size_t>(m->samples.size()); }

long CAudioBuffer::Write(std::size_t offset, const void* bytes, std::size_t count)
{
    if (m->lost)
        return AUDIO_BUFFERLOST;
    const std::size_t size = Size();
    if (offset >= size)
        return AUDIO_OK;
    count = std::min(count, size - offset);
    std::memcpy(m->samples.data() + offset, bytes, count);
    return AUDIO_OK;
}

bool CAudioBuffer::IsPlaying() const
{
    if (!m->sink || m->lost)
        return false;
    switch (m->sink->state())
    {
    case QAudio::ActiveState:
        // A sound that should long be over is not waited for: a sink the
        // server never finishes must not keep the sound from playing again.
        return m->looping || !m->started.isValid() || m->started.elapsed() < m->durationMs + kOverdueMs;
    case QAudio::IdleState:
        // The sink turns idle once the server holds the last samples, not
        // when they have been heard.
        return !m->looping && m->started.isValid() && m->started.elapsed() < m->durationMs;
    default: return false;
    }
}

long CAudioBuffer::Play(bool loop)
{
    if (m->lost)
        return AUDIO_BUFFERLOST;
    if (m->sink && IsBroken(m->sink->error()))
    {
        MarkLost();
        return AUDIO_BUFFERLOST;
    }
    if (IsPlaying())
        return AUDIO_OK;
    // Every playing gets a sink of its own: a sink stopped and started
    // again may stay active without ever playing (after a few plays on the
    // PulseAudio backend), which would silence the sound for good.
    const CForeignLoopScope foreignLoop;
    m->DropSink();
    m->sink = std::make_unique<QAudioSink>(m->device, m->format);

    m->looping = loop;
    if (loop)
    {
        m->source = std::make_unique<LoopSource>(m->samples);
    }
    else
    {
        auto buffer = std::make_unique<QBuffer>(&m->samples);
        m->source = std::move(buffer);
    }
    m->source->open(QIODevice::ReadOnly);
    m->sink->start(m->source.get());
    if (IsBroken(m->sink->error()))
    {
        MarkLost();
        return AUDIO_BUFFERLOST;
    }
    m->started.start();
    return AUDIO_OK;
}

void CAudioBuffer::Stop()
{
    const CForeignLoopScope foreignLoop;
    if (m->sink)
        m->sink->stop();
}

bool CAudioBuffer::IsLost() const { return m->lost; }

bool CAudioBuffer::Restore()
{
    m->DropSink();
    m->lost = false;
    return true;
}

void CAudioBuffer::MarkLost()
{
    m->DropSink();
    m->samples.fill('\0');
    m->lost = true;
}
