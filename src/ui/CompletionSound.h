#pragma once

#include <QAudioFormat>
#include <QByteArray>
#include <QObject>

#include <memory>
#include <optional>

class QAudioSink;
class QBuffer;

namespace ui {

// The samples of an uncompressed AIFF sound (16-bit, any rate and channel
// count), as Qt's audio output takes them; none for anything else.
struct PcmSound final {
    QAudioFormat format;
    QByteArray samples; // native byte order
};
[[nodiscard]] std::optional<PcmSound> readAiffSound(const QByteArray& bytes);

// Plays the application's completion sound (resources/harp.aif) once per
// call; silent when the sound or an audio output is missing.
class CompletionSound final : public QObject {
    Q_OBJECT
public:
    explicit CompletionSound(QObject* parent = nullptr);
    ~CompletionSound() override;
    bool isLoaded() const { return m_sound.has_value(); }
    void play();

private:
    std::optional<PcmSound> m_sound;
    std::unique_ptr<QBuffer> m_buffer;
    std::unique_ptr<QAudioSink> m_sink;
};

} // namespace ui
