#include "media/filters/ImageFilters.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QPainter>

#include <cmath>
#include <functional>
#include <set>

using media::filters::applyImageFilters;

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

// Coloured stripes of several widths over a diagonal gradient: detail to blur,
// colour to tint, edges to find.
QImage testPicture() {
    QImage picture(kWidth, kHeight, QImage::Format_RGB888);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const int stripe = ((x / (2 + y / 120)) % 2) * 120;
            picture.setPixel(x, y, qRgb((x * 255 / kWidth + stripe) % 256, (y * 255 / kHeight + stripe / 2) % 256,
                                        (stripe + 60) % 256));
        }
    }
    return picture;
}

QImage filled(QColor colour) {
    QImage picture(kWidth, kHeight, QImage::Format_RGB888);
    picture.fill(colour);
    return picture;
}

// A ramp of greys from black on the left to white on the right.
QImage greyRamp() {
    QImage picture(kWidth, kHeight, QImage::Format_RGB888);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            picture.setPixel(x, y, qRgb(x * 255 / (kWidth - 1), x * 255 / (kWidth - 1), x * 255 / (kWidth - 1)));
    return picture;
}

QImage filtered(const QImage& picture, const QString& identifier) {
    auto result = applyImageFilters(picture, {identifier});
    EXPECT_TRUE(result.has_value()) << identifier.toStdString() << ": " << (result ? "" : result.error().message);
    return result ? *result : QImage();
}

double grey(QRgb pixel) {
    return 0.299 * qRed(pixel) + 0.587 * qGreen(pixel) + 0.114 * qBlue(pixel);
}

// Squared brightness differences between neighbours over a region: what a blur lowers.
double detailEnergy(const QImage& picture, QRect region = QRect(0, 0, kWidth, kHeight)) {
    double sum = 0;
    for (int y = region.top(); y < region.bottom(); ++y)
        for (int x = region.left(); x < region.right(); ++x) {
            const double here = grey(picture.pixel(x, y));
            sum += std::pow(here - grey(picture.pixel(x + 1, y)), 2) + std::pow(here - grey(picture.pixel(x, y + 1)), 2);
        }
    return sum;
}

double meanBrightness(const QImage& picture) {
    double sum = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            sum += grey(picture.pixel(x, y));
    return sum / (picture.width() * picture.height());
}

int channelDistance(QRgb a, QRgb b) {
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

bool sameRegion(const QImage& a, const QImage& b, QRect region, int tolerance = 1) {
    for (int y = region.top(); y <= region.bottom(); ++y)
        for (int x = region.left(); x <= region.right(); ++x)
            if (channelDistance(a.pixel(x, y), b.pixel(x, y)) > tolerance)
                return false;
    return true;
}

const QRect kCorner(0, 0, 40, 30);
const QRect kMiddle(kWidth / 2 - 20, kHeight / 2 - 20, 40, 40);

} // namespace

TEST(ImageFiltersTest, MenuHasThirtyTwoRowsOfTwentyEightFiltersFoundByEitherName) {
    const auto& menu = media::filters::filterMenu();
    ASSERT_EQ(menu.size(), 32u);
    EXPECT_EQ(menu[0].displayName, "Select Filter");
    EXPECT_TRUE(menu[0].identifier.isEmpty());
    EXPECT_EQ(menu[24].identifier, menu[18].identifier);
    EXPECT_EQ(menu[25].identifier, menu[4].identifier);
    EXPECT_EQ(menu[26].identifier, menu[7].identifier);
    std::set<QString> distinct;
    for (std::size_t row = 1; row < menu.size(); ++row) {
        EXPECT_TRUE(media::filters::isImageFilter(menu[row].identifier)) << menu[row].identifier.toStdString();
        distinct.insert(menu[row].identifier);
    }
    EXPECT_EQ(distinct.size(), 28u);
    EXPECT_EQ(media::filters::filterIdentifierFor("gaussian blur"), "CIGaussianBlur");
    EXPECT_EQ(media::filters::filterIdentifierFor("CIPixellate"), "CIPixellate");
    EXPECT_FALSE(media::filters::filterIdentifierFor("Select Filter"));
    EXPECT_FALSE(media::filters::filterIdentifierFor("CINoSuchFilter"));
}

TEST(ImageFiltersTest, ChainsSkipUnknownNamesAndRefuseAnEmptyPicture) {
    const QImage picture = testPicture();
    const auto unchanged = applyImageFilters(picture, {"", "CINoSuchFilter"});
    ASSERT_TRUE(unchanged);
    EXPECT_TRUE(sameRegion(*unchanged, picture, picture.rect(), 0));
    const auto twiceInverted = applyImageFilters(picture, {"CIColorInvert", "", "CIColorInvert"});
    ASSERT_TRUE(twiceInverted);
    EXPECT_TRUE(sameRegion(*twiceInverted, picture, picture.rect(), 0));
    EXPECT_FALSE(applyImageFilters(QImage(), {"CIColorInvert"}));
}

TEST(ImageFiltersTest, ColourFiltersMapValuesAsTheirNamesSay) {
    const QImage picture = testPicture();
    const QImage inverted = filtered(picture, "CIColorInvert");
    for (int y = 0; y < kHeight; y += 7)
        for (int x = 0; x < kWidth; x += 5) {
            const QRgb in = picture.pixel(x, y);
            ASSERT_EQ(inverted.pixel(x, y), qRgb(255 - qRed(in), 255 - qGreen(in), 255 - qBlue(in)));
        }

    const QImage sepia = filtered(greyRamp(), "CISepiaTone");
    for (int x = 20; x < kWidth; x += 13) {
        const QRgb pixel = sepia.pixel(x, 10);
        EXPECT_GE(qRed(pixel), qGreen(pixel));
        EXPECT_GT(qGreen(pixel), qBlue(pixel)) << x;
    }

    const QImage monochrome = filtered(picture, "CIColorMonochrome");
    for (int y = 0; y < kHeight; y += 11)
        for (int x = 0; x < kWidth; x += 9) {
            const QRgb pixel = monochrome.pixel(x, y);
            EXPECT_NEAR(qGreen(pixel), 0.75 * qRed(pixel), 2.0);
            EXPECT_NEAR(qBlue(pixel), 0.5 * qRed(pixel), 2.0);
        }

    const QImage posterized = filtered(picture, "CIColorPosterize");
    std::set<int> levels;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            levels.insert(qRed(posterized.pixel(x, y)));
    EXPECT_LE(levels.size(), 6u);
    EXPECT_GE(levels.size(), 4u);

    const QImage exposed = filtered(filled(QColor(100, 60, 20)), "CIExposureAdjust");
    EXPECT_NEAR(qRed(exposed.pixel(5, 5)), 100 * std::sqrt(2.0), 3);
    EXPECT_NEAR(qGreen(exposed.pixel(5, 5)), 60 * std::sqrt(2.0), 3);

    const QImage falseBlack = filtered(filled(Qt::black), "CIFalseColor");
    EXPECT_EQ(falseBlack.pixel(3, 3), qRgb(77, 0, 0));
    const QImage falseWhite = filtered(filled(Qt::white), "CIFalseColor");
    EXPECT_EQ(falseWhite.pixel(3, 3), qRgb(255, 230, 204));

    // At their defaults (identity matrix; white as white point) these leave the picture as it is.
    EXPECT_TRUE(sameRegion(filtered(picture, "CIColorMatrix"), picture, picture.rect()));
    EXPECT_TRUE(sameRegion(filtered(picture, "CIWhitePointAdjust"), picture, picture.rect()));
}

TEST(ImageFiltersTest, BlursLowerDetailAndSharpeningRaisesIt) {
    const QImage picture = testPicture();
    const double detail = detailEnergy(picture);
    EXPECT_LT(detailEnergy(filtered(picture, "CIGaussianBlur")), 0.1 * detail);
    EXPECT_GT(detailEnergy(filtered(picture, "CIUnsharpMask")), 1.2 * detail);

    const QImage bloomed = filtered(picture, "CIBloom");
    EXPECT_LT(detailEnergy(bloomed), detail);
    EXPECT_GT(meanBrightness(bloomed), meanBrightness(picture) + 10);
    const QImage gloomy = filtered(picture, "CIGloom");
    EXPECT_LT(detailEnergy(gloomy), detail);
    EXPECT_LT(meanBrightness(gloomy), meanBrightness(picture) - 10);

    // A zoom blur streaks the outside and leaves the centre sharp.
    const QImage zoomed = filtered(picture, "CIZoomBlur");
    const QRect outer(0, 0, 120, kHeight);
    EXPECT_LT(detailEnergy(zoomed, outer), 0.5 * detailEnergy(picture, outer));
    EXPECT_TRUE(sameRegion(zoomed, picture, QRect(kWidth / 2 - 1, kHeight / 2 - 1, 2, 2), 3));
}

TEST(ImageFiltersTest, EdgeFindersMarkEdgesAndLeaveFlatAreasEmpty) {
    QImage step = filled(QColor(40, 40, 40));
    QPainter(&step).fillRect(QRect(kWidth / 2, 0, kWidth / 2, kHeight), QColor(220, 200, 180));
    const QImage edges = filtered(step, "CIEdges");
    EXPECT_EQ(edges.pixel(100, 100), qRgb(0, 0, 0));
    const QRgb edge = edges.pixel(kWidth / 2, 100);
    // Each channel in proportion to its own step.
    EXPECT_GT(qRed(edge), qGreen(edge));
    EXPECT_GT(qGreen(edge), qBlue(edge));
    EXPECT_GT(qBlue(edge), 100);

    const QImage edgeWork = filtered(testPicture(), "CIEdgeWork");
    std::set<QRgb> values;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            values.insert(edgeWork.pixel(x, y));
    EXPECT_EQ(values, (std::set<QRgb>{qRgb(0, 0, 0), qRgb(255, 255, 255)}));
    EXPECT_EQ(filtered(step, "CIEdgeWork").pixel(100, 100), qRgb(255, 255, 255));
}

TEST(ImageFiltersTest, CellFiltersMakeFlatCells) {
    const QImage picture = testPicture();
    const QImage pixellated = filtered(picture, "CIPixellate");
    // Blocks of 8 laid from the centre (320, 240), so aligned at 0 here.
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            ASSERT_EQ(pixellated.pixel(x, y), pixellated.pixel(x / 8 * 8, y / 8 * 8)) << x << "," << y;

    const QImage crystals = filtered(picture, "CICrystallize");
    int sameAsRight = 0;
    std::set<QRgb> colours;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x + 1 < kWidth; ++x) {
            sameAsRight += crystals.pixel(x, y) == crystals.pixel(x + 1, y);
            colours.insert(crystals.pixel(x, y));
        }
    EXPECT_GT(sameAsRight, 0.9 * kHeight * (kWidth - 1));
    EXPECT_LT(colours.size(), 1000u); // about one colour per crystal of 20 x 20
    EXPECT_GT(colours.size(), 100u);
}

TEST(ImageFiltersTest, DistortionsMoveTheMiddleAndKeepWhatLiesOutsideTheirRadius) {
    const QImage picture = testPicture();
    for (const char* name : {"CITwirlDistortion", "CIVortexDistortion", "CIBumpDistortion"}) {
        const QImage distorted = filtered(picture, name);
        EXPECT_TRUE(sameRegion(distorted, picture, kCorner)) << name;
        EXPECT_FALSE(sameRegion(distorted, picture, kMiddle.adjusted(-60, -60, 60, 60), 10)) << name;
    }
    // The bump magnifies its middle: the stripes there come out wider.
    const QImage bumped = filtered(picture, "CIBumpDistortion");
    EXPECT_LT(detailEnergy(bumped, kMiddle), 0.7 * detailEnergy(picture, kMiddle));

    // The torus lens bends only its ring (radius 160, width 80).
    const QImage torus = filtered(picture, "CITorusLensDistortion");
    EXPECT_TRUE(sameRegion(torus, picture, kMiddle));
    EXPECT_TRUE(sameRegion(torus, picture, kCorner));
    EXPECT_FALSE(sameRegion(torus, picture, QRect(kWidth / 2 + 125, kHeight / 2 - 10, 20, 20), 10));

    // The hole and the circular wrap leave a black disc about the centre.
    for (const char* name : {"CIHoleDistortion", "CICircularWrap"}) {
        const QImage distorted = filtered(picture, name);
        EXPECT_TRUE(sameRegion(distorted, filled(Qt::black), QRect(kWidth / 2 - 100, kHeight / 2 - 100, 200, 200), 0))
            << name;
        EXPECT_GT(meanBrightness(distorted), 20) << name;
    }

    // The kaleidoscope repeats one wedge six times about the centre.
    const QImage kaleidoscope = filtered(picture, "CIKaleidoscope");
    int alike = 0;
    int tried = 0;
    for (double angle = 0.1; angle < 1.0; angle += 0.1) {
        for (int turn = 1; turn < 6; ++turn) {
            const double other = angle + turn * M_PI / 3;
            const QRgb a = kaleidoscope.pixel(kWidth / 2 + int(std::lround(150 * std::cos(angle))),
                                              kHeight / 2 + int(std::lround(150 * std::sin(angle))));
            const QRgb b = kaleidoscope.pixel(kWidth / 2 + int(std::lround(150 * std::cos(other))),
                                              kHeight / 2 + int(std::lround(150 * std::sin(other))));
            alike += channelDistance(a, b) <= 40;
            ++tried;
        }
    }
    EXPECT_GE(alike, tried * 3 / 4);
    EXPECT_FALSE(sameRegion(kaleidoscope, picture, QRect(0, kHeight / 2, kWidth / 2, 20), 10));
}

TEST(ImageFiltersTest, ScreensPrintAnEvenGreyAsARegularPattern) {
    const QImage midGrey = filled(QColor(128, 128, 128));
    auto contrast = [](const QImage& picture) {
        double low = 255, high = 0;
        for (int y = 100; y < 140; ++y)
            for (int x = 100; x < 140; ++x) {
                low = std::min(low, grey(picture.pixel(x, y)));
                high = std::max(high, grey(picture.pixel(x, y)));
            }
        return high - low;
    };
    const QImage dots = filtered(midGrey, "CIDotScreen");
    const QImage hatched = filtered(midGrey, "CIHatchedScreen");
    const QImage rings = filtered(midGrey, "CICircularScreen");
    for (const QImage* screen : {&dots, &hatched, &rings})
        EXPECT_GT(contrast(*screen), 200);
    for (int y = 100; y < 140; ++y)
        for (int x = 100; x < 140; ++x) {
            EXPECT_LE(channelDistance(dots.pixel(x, y), dots.pixel(x + 6, y)), 2);
            EXPECT_LE(channelDistance(dots.pixel(x, y), dots.pixel(x, y + 6)), 2);
            EXPECT_LE(channelDistance(hatched.pixel(x, y), hatched.pixel(x + 17, y)), 0);
        }
    for (int d = 10; d < 200; d += 7)
        EXPECT_LE(channelDistance(rings.pixel(kWidth / 2 + d, kHeight / 2), rings.pixel(kWidth / 2, kHeight / 2 + d)), 2);

    // Cyan paper prints as cyan dots on white: red is inked, green and blue barely.
    const QImage halftone = filtered(filled(QColor(0, 255, 255)), "CICMYKHalftone");
    EXPECT_GT(contrast(halftone), 150);
    double red = 0, green = 0;
    for (int y = 100; y < 160; ++y)
        for (int x = 100; x < 160; ++x) {
            red += qRed(halftone.pixel(x, y));
            green += qGreen(halftone.pixel(x, y));
        }
    EXPECT_LT(red, 0.8 * green);
}
