// Draws the application's still picture, a sun in a blue sky, and writes it as
// a TIFF file (deflate-compressed RGB, 640x480). Sound files turned into
// movies show this picture for their whole length. Run it to remake
// resources/Sun.tiff:
//   cmake --build <build> --target joinclip-make-sun
//   <build>/resources/sun/joinclip-make-sun resources/Sun.tiff
// Qt draws; FFmpeg's TIFF encoder writes (Qt ships no TIFF writer by default).

#include <QColor>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPolygonF>
#include <QRadialGradient>
#include <QtMath>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/opt.h>
}

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kRays = 12;

QImage drawSun() {
    QImage image(kWidth, kHeight, QImage::Format_RGB888);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, kHeight);
    sky.setColorAt(0, QColor(70, 140, 220));
    sky.setColorAt(1, QColor(170, 210, 245));
    painter.fillRect(image.rect(), sky);

    const QPointF centre(kWidth / 2.0, kHeight / 2.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 200, 40));
    for (int i = 0; i < kRays; ++i) {
        const double angle = 2 * M_PI * i / kRays;
        const double half = M_PI / kRays / 2;
        QPolygonF ray;
        ray << centre + QPointF(std::cos(angle - half), std::sin(angle - half)) * 120
            << centre + QPointF(std::cos(angle), std::sin(angle)) * 215
            << centre + QPointF(std::cos(angle + half), std::sin(angle + half)) * 120;
        painter.drawPolygon(ray);
    }

    QRadialGradient disc(centre, 120, centre - QPointF(30, 30));
    disc.setColorAt(0, QColor(255, 250, 190));
    disc.setColorAt(1, QColor(255, 170, 20));
    painter.setBrush(disc);
    painter.drawEllipse(centre, 120, 120);
    return image;
}

bool writeTiff(const QImage& image, const char* fileName) {
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_TIFF);
    std::unique_ptr<AVCodecContext, void (*)(AVCodecContext*)> context(
        codec ? avcodec_alloc_context3(codec) : nullptr, [](AVCodecContext* c) { avcodec_free_context(&c); });
    std::unique_ptr<AVFrame, void (*)(AVFrame*)> frame(av_frame_alloc(),
                                                       [](AVFrame* f) { av_frame_free(&f); });
    std::unique_ptr<AVPacket, void (*)(AVPacket*)> packet(av_packet_alloc(),
                                                          [](AVPacket* p) { av_packet_free(&p); });
    if (!context || !frame || !packet)
        return false;
    context->width = image.width();
    context->height = image.height();
    context->pix_fmt = AV_PIX_FMT_RGB24;
    context->time_base = AVRational{1, 1};
    av_opt_set(context->priv_data, "compression_algo", "deflate", 0);
    if (avcodec_open2(context.get(), codec, nullptr) < 0)
        return false;

    frame->width = image.width();
    frame->height = image.height();
    frame->format = AV_PIX_FMT_RGB24;
    if (av_frame_get_buffer(frame.get(), 0) < 0)
        return false;
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(frame->data[0] + y * frame->linesize[0], image.constScanLine(y),
                    static_cast<std::size_t>(image.width()) * 3);
    if (avcodec_send_frame(context.get(), frame.get()) < 0 ||
        avcodec_send_frame(context.get(), nullptr) < 0 ||
        avcodec_receive_packet(context.get(), packet.get()) < 0)
        return false;

    std::FILE* file = std::fopen(fileName, "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(packet->data, 1, static_cast<std::size_t>(packet->size), file) ==
                         static_cast<std::size_t>(packet->size);
    return std::fclose(file) == 0 && written;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s Sun.tiff\n", argv[0]);
        return 2;
    }
    if (!writeTiff(drawSun(), argv[1])) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
