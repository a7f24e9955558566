#include "SyncMarks.h"

#include "RunProgram.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cmath>
#include <cstring>
#include <stdexcept>

namespace oracle {

namespace {

constexpr int kPictureSide = 8;         // pictures are read shrunk to 8x8 grey
constexpr double kWhite = 180;          // a mean brightness above this is the white picture
constexpr double kSoundOn = 0.1;        // the tone's peaks are 0.25
constexpr double kSilenceBefore = 0.02; // seconds of silence before a beep

std::vector<double> numbersOf(const QByteArray& text) {
    std::vector<double> numbers;
    for (const QByteArray& line : text.split('\n')) {
        const QByteArray field = line.split(',').front().trimmed(); // side data may follow
        if (!field.isEmpty() && field != "N/A")
            numbers.push_back(field.toDouble());
    }
    return numbers;
}

void findFlashes(SyncMarks& marks, const QByteArray& pictures) {
    const qsizetype size = kPictureSide * kPictureSide;
    if (pictures.size() != size * static_cast<qsizetype>(marks.frames.size()))
        throw std::runtime_error("the pictures decoded do not match their timestamps");
    for (std::size_t i = 0; i < marks.frames.size(); ++i) {
        double sum = 0;
        for (qsizetype k = 0; k < size; ++k)
            sum += static_cast<std::uint8_t>(pictures[static_cast<qsizetype>(i) * size + k]);
        if (sum / static_cast<double>(size) > kWhite)
            marks.flashes.push_back(marks.frames[i]);
    }
}

void findBeeps(SyncMarks& marks, const QByteArray& sound, int rate) {
    std::vector<float> samples(static_cast<std::size_t>(sound.size()) / sizeof(float));
    std::memcpy(samples.data(), sound.data(), samples.size() * sizeof(float));
    const auto quietNeeded = static_cast<std::size_t>(kSilenceBefore * rate);
    std::size_t quiet = quietNeeded; // the start counts as silence
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (std::fabs(samples[i]) < kSoundOn / 5) {
            ++quiet;
            continue;
        }
        if (std::fabs(samples[i]) > kSoundOn && quiet >= quietNeeded)
            marks.beeps.push_back(marks.soundStart + static_cast<double>(i) / rate);
        if (std::fabs(samples[i]) > kSoundOn)
            quiet = 0;
    }
    marks.soundEnd = marks.soundStart + static_cast<double>(samples.size()) / rate;
}

SyncMarks readWithFfmpeg(const std::filesystem::path& file, int videoStream, int soundStream) {
    const QString path = QString::fromStdString(file.string());
    const QStringList input{"-enable_drefs", "1", "-use_absolute_path", "1", "-i", path};
    const auto probe = [&](const QString& stream, const QString& entries) {
        return runProgram("ffprobe", QStringList{"-v", "error", "-select_streams", stream, "-show_entries",
                                                 entries, "-of", "csv=p=0"} +
                                         input)
            .out;
    };
    const QString video = QString("v:%1").arg(videoStream), sound = QString("a:%1").arg(soundStream);
    SyncMarks marks;
    marks.frames = numbersOf(probe(video, "frame=best_effort_timestamp_time"));
    const ProgramOutput pictures = runProgram(
        "ffmpeg", QStringList{"-nostdin", "-v", "warning"} + input +
                      QStringList{"-map", "0:" + video, "-fps_mode", "passthrough", "-enc_time_base", "-1",
                                  "-vf", "scale=8:8,format=gray", "-f", "rawvideo", "-"});
    findFlashes(marks, pictures.out);
    const std::vector<double> soundTimes = numbersOf(probe(sound, "frame=best_effort_timestamp_time"));
    marks.soundStart = soundTimes.empty() ? 0 : soundTimes.front();
    const int rate = static_cast<int>(numbersOf(probe(sound, "stream=sample_rate")).at(0));
    const ProgramOutput samples = runProgram(
        "ffmpeg", QStringList{"-nostdin", "-v", "warning"} + input +
                      QStringList{"-map", "0:" + sound, "-ac", "1", "-c:a", "pcm_f32le", "-f", "f32le", "-"});
    findBeeps(marks, samples.out, rate);
    // Following the data references of a referring movie is what we ask for: not a warning.
    for (const QByteArray& line : (pictures.err + samples.err).split('\n'))
        if (!line.isEmpty() && !line.contains("Using absolute path on user request") &&
            !line.contains("Last message repeated"))
            marks.warnings += line.toStdString() + "\n";
    return marks;
}

// The stream times of the buffers that reached identity `name`, from
// gst-launch's -v messages: their timestamps less the segment's start.
std::vector<double> gstTimes(const QString& messages, const QString& name) {
    static const QRegularExpression segment("start=\\(guint64\\)(\\d+).*time=\\(guint64\\)(\\d+)");
    static const QRegularExpression pts("pts: (\\d+):(\\d+):([\\d.]+)"); // 0:00:01.080000000
    std::vector<double> times;
    double offset = 0;
    for (const QString& line : messages.split('\n')) {
        if (!line.contains(name + ": last-message"))
            continue;
        if (line.contains("type: segment")) {
            const auto found = segment.match(line);
            if (found.hasMatch())
                offset = (found.captured(2).toDouble() - found.captured(1).toDouble()) / 1e9;
        } else if (line.contains("last-message = chain")) {
            const auto found = pts.match(line);
            if (found.hasMatch())
                times.push_back(found.captured(1).toDouble() * 3600 + found.captured(2).toDouble() * 60 +
                                found.captured(3).toDouble() + offset);
        }
    }
    return times;
}

// One of the file's kinds decoded to `output`, and the stream times of its
// buffers. Pictures and sound are read by separate runs: gst-launch reports
// one identity's buffers reliably only when no other thread reports too.
std::vector<double> gstDecode(const std::filesystem::path& file, const QString& kind, const QString& convert,
                              const QString& output) {
    const QString uri = "file://" + QString::fromStdString(std::filesystem::absolute(file).string());
    const QString pipeline =
        QString("uridecodebin uri=%1 caps=%2/x-raw ! %3 ! identity name=marks silent=false ! "
                "filesink location=%4")
            .arg(uri, kind, convert, output);
    const ProgramOutput result =
        runProgram("gst-launch-1.0", QStringList{"-v"} + pipeline.split(' ', Qt::SkipEmptyParts), 3);
    return gstTimes(QString::fromUtf8(result.out), "marks");
}

SyncMarks readWithGstreamer(const std::filesystem::path& file) {
    QTemporaryDir folder;
    const QString pictures = folder.filePath("pictures"), sound = folder.filePath("sound");
    constexpr int kRate = 48000;
    SyncMarks marks;
    marks.frames = gstDecode(
        file, "video", "videoconvert ! videoscale ! video/x-raw,format=GRAY8,width=8,height=8", pictures);
    const std::vector<double> soundTimes = gstDecode(
        file, "audio",
        QString(
            "audioconvert ! audioresample ! audio/x-raw,format=F32LE,channels=1,rate=%1,layout=interleaved")
            .arg(kRate),
        sound);
    marks.soundStart = soundTimes.empty() ? 0 : soundTimes.front();
    const auto readAll = [](const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    findFlashes(marks, readAll(pictures));
    findBeeps(marks, readAll(sound), kRate);
    return marks;
}

} // namespace

bool gstreamerAvailable() {
    return installed("gst-launch-1.0");
}

SyncMarks readSyncMarks(Reader reader, const std::filesystem::path& file, int videoStream, int soundStream) {
    return reader == Reader::FFmpeg ? readWithFfmpeg(file, videoStream, soundStream)
                                    : readWithGstreamer(file);
}

} // namespace oracle
