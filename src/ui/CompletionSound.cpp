#include "ui/CompletionSound.h"

#include <QAudioSink>
#include <QBuffer>
#include <QFile>
#include <QMediaDevices>
#include <QtEndian>

#include <cmath>
#include <cstring>

namespace ui {

namespace {

std::uint32_t bigEndian32(const char* data) {
    return qFromBigEndian<quint32>(data);
}

// The 80-bit extended float of an AIFF sample rate.
double extendedFloat(const char* data) {
    const int exponent = (qFromBigEndian<quint16>(data) & 0x7fff) - 16383;
    const quint64 mantissa = qFromBigEndian<quint64>(data + 2);
    return std::ldexp(static_cast<double>(mantissa), exponent - 63);
}

} // namespace

std::optional<PcmSound> readAiffSound(const QByteArray& bytes) {
    if (bytes.size() < 12 || !bytes.startsWith("FORM") || bytes.mid(8, 4) != "AIFF")
        return std::nullopt;
    int channels = 0;
    int bits = 0;
    double rate = 0;
    QByteArray samples;
    // Chunks: a four-letter name, a 32-bit size, the data, padded to even.
    for (qsizetype at = 12; at + 8 <= bytes.size();) {
        const QByteArray name = bytes.mid(at, 4);
        const qint64 size = bigEndian32(bytes.constData() + at + 4);
        const qsizetype body = at + 8;
        if (size > bytes.size() - body)
            return std::nullopt;
        if (name == "COMM" && size >= 18) {
            channels = qFromBigEndian<qint16>(bytes.constData() + body);
            bits = qFromBigEndian<qint16>(bytes.constData() + body + 6);
            rate = extendedFloat(bytes.constData() + body + 8);
        } else if (name == "SSND" && size >= 8) {
            const qint64 offset = bigEndian32(bytes.constData() + body);
            if (offset > size - 8)
                return std::nullopt;
            samples = bytes.mid(body + 8 + offset, size - 8 - offset);
        }
        at = body + size + (size & 1);
    }
    if (channels < 1 || channels > 8 || bits != 16 || !(rate >= 1000 && rate <= 384000) || samples.isEmpty())
        return std::nullopt;
    samples.truncate(samples.size() / (2 * channels) * (2 * channels));
    for (qsizetype i = 0; i + 1 < samples.size(); i += 2) {
        const qint16 value = qFromBigEndian<qint16>(samples.constData() + i);
        std::memcpy(samples.data() + i, &value, 2);
    }
    PcmSound sound;
    sound.format.setSampleRate(static_cast<int>(std::lround(rate)));
    sound.format.setChannelCount(channels);
    sound.format.setSampleFormat(QAudioFormat::Int16);
    sound.samples = std::move(samples);
    return sound;
}

CompletionSound::CompletionSound(QObject* parent) : QObject(parent) {
    QFile file(QStringLiteral(":/sounds/harp.aif"));
    if (file.open(QIODevice::ReadOnly))
        m_sound = readAiffSound(file.readAll());
}

CompletionSound::~CompletionSound() {
    if (m_sink)
        m_sink->stop();
}

void CompletionSound::play() {
    if (!m_sound)
        return;
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull() || !device.isFormatSupported(m_sound->format))
        return;
    if (m_sink)
        m_sink->stop();
    m_buffer = std::make_unique<QBuffer>();
    m_buffer->setData(m_sound->samples);
    m_buffer->open(QIODevice::ReadOnly);
    m_sink = std::make_unique<QAudioSink>(device, m_sound->format);
    m_sink->start(m_buffer.get());
}

} // namespace ui
