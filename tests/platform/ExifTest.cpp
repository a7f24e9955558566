#include "platform/Exif.h"

#include "MediaFixtures.h"
#include "TestFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

constexpr std::int64_t kStandardExifSeconds = 3330439402; // 2009-07-14 18:03:22 from 1904

std::optional<std::int64_t> seconds(const char* text) {
    return platform::exifDateSeconds(text);
}

TEST(ExifDateSecondsTest, CountsSecondsFrom1904ReadingPiecesAsAtoiDoesCarryingOrClampingFieldsOutOfRange) {
    const std::pair<const char*, std::int64_t> dates[] = {
        {"2009:07:14 18:03:22", kStandardExifSeconds},
        {"1904:01:01 00:00:00", 0},
        {"2040:01:01 00:00:00", 4291833600}, // past 32 bits
        {"1903:12:31 23:59:59", -1},
        {"1900:03:01 00:00:00", -121046400},   // 1900 is no leap year
        {"0001:01:01 00:00:00", -60052752000}, // proleptic Gregorian
        {"2009:7a:14 18:03:22", kStandardExifSeconds},
        {"  2009:07:14   18:03:22  ", kStandardExifSeconds}, // runs of blanks are one
        {"2009:+7:\t14 18:3:22", kStandardExifSeconds}};
    for (const auto& [text, expected] : dates)
        EXPECT_EQ(seconds(text), expected) << text;
    // A date part and a time part are needed.
    for (const char* text :
         {"", "2009:07:14", "  2009:07:14  ", "2009:07:14\t18:03:22", "2009:07:14T18:03:22"})
        EXPECT_EQ(seconds(text), std::nullopt) << '"' << text << '"';
    const std::pair<const char*, const char*> sameDates[] = {
        {"2009:x7:14 18:03:22", "2009:00:14 18:03:22"}, // no leading digits: 0
        {"2009::14 18:03:22", "2009:14:00 18:03:22"},   // runs of ':' are one, as strtok
        {"2009 18", "2009:00:00 18:00:00"},             // missing pieces are 0
        {"2009:13:01 00:00:00", "2010:01:01 00:00:00"},
        {"2009:-1:10 00:00:00", "2008:11:10 00:00:00"},
        {"2008:03:00 00:00:00", "2008:02:29 00:00:00"},
        {"2009:02:29 00:00:00", "2009:03:01 00:00:00"},
        {"2009:07:14 18:03:60", "2009:07:14 18:04:00"},
        {"2009:07:14 -1:00:00", "2009:07:13 23:00:00"}};
    for (const auto& [text, same] : sameDates) {
        ASSERT_TRUE(seconds(same)) << same;
        EXPECT_EQ(seconds(text), seconds(same)) << text;
    }
    // Huge fields are clamped to the int range as atoi-like reading does; the sanitizers catch any overflow.
    const auto huge = seconds("99999999999:99999999999:99999999999 99999999999:99999999999:99999999999");
    const auto hugeNegative = seconds("-99999999999:-99999999999:-9 -99999999999:-9:-9");
    ASSERT_TRUE(huge && hugeNegative);
    EXPECT_GT(*huge, 0);
    EXPECT_LT(*hugeNegative, 0);
}

class ExifFileTest : public ::testing::Test {
protected:
    fs::path writeFile(const std::string& name, const std::string& bytes) const {
        return m_folder.write(name, bytes);
    }
    const testing_support::TestFolder m_folder;
    const fs::path& m_dir = m_folder.path();
};

TEST_F(ExifFileTest, ReadsDateTimeDigitizedOfAJpegAndNoneForOtherFiles) {
    const fs::path picture =
        fixtures::makePicture(m_dir, "x.jpg", 160, 120, std::string(fixtures::kStandardExifDate));
    EXPECT_EQ(platform::exifDate(picture), std::string(fixtures::kStandardExifDate));
    // The extension does not matter: the first bytes do.
    fs::rename(picture, m_dir / "x.data");
    EXPECT_EQ(platform::exifDate(m_dir / "x.data"), std::string(fixtures::kStandardExifDate));
    const fs::path files[] = {
        fixtures::makePicture(m_dir, "plain.jpg", 160, 120),
        fixtures::makePicture(m_dir, "plain.png", 160, 120),
        fixtures::makeClip(m_dir, "clip.mov", {.container = "mov", .frames = 5}),
        writeFile("notes.txt", "2009:07:14 18:03:22"),
        writeFile("empty.jpg", ""),
    };
    for (const fs::path& file : files)
        EXPECT_EQ(platform::exifDate(file), std::nullopt) << file;
}

TEST_F(ExifFileTest, FallsBackToDateTimeOriginalThenToThePicturesDateTime) {
    const std::string date = "2011:02:03 04:05:06";
    for (const auto& [name, tags] :
         {std::pair{"original.jpg", fixtures::ExifDateTags{.original = true, .digitized = false}},
          std::pair{"changed.jpg",
                    fixtures::ExifDateTags{.dateTime = true, .original = false, .digitized = false}}})
        EXPECT_EQ(platform::exifDate(fixtures::makePicture(m_dir, name, 16, 16, date, tags)), date) << name;
    EXPECT_EQ(
        platform::exifDate(fixtures::makePicture(m_dir, "none.jpg", 16, 16, date,
                                                 {.dateTime = false, .original = false, .digitized = false})),
        std::nullopt);
}

TEST_F(ExifFileTest, NoneForDamagedAndUnreadablePaths) {
    const fs::path picture =
        fixtures::makePicture(m_dir, "x.jpg", 160, 120, std::string("2009:07:14 18:03:22"));
    const std::string bytes = testing_support::contentsOf(picture);
    for (const std::size_t length : {3, 20, 60, 200}) {
        // The date may lie wholly in what is left; anything else must answer none.
        const auto date = platform::exifDate(writeFile("cut.jpg", bytes.substr(0, length)));
        EXPECT_TRUE(!date || *date == "2009:07:14 18:03:22") << length;
    }
    EXPECT_EQ(platform::exifDate(writeFile("fake.tif", std::string("II*\0garbage garbage garbage", 27))),
              std::nullopt);
    EXPECT_EQ(platform::exifDate(m_dir / "missing.jpg"), std::nullopt);
    EXPECT_EQ(platform::exifDate(m_dir), std::nullopt);
    const fs::path fifo = m_dir / "pipe.jpg";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(platform::exifDate(fifo), std::nullopt) << "answered without waiting for a writer";
}

} // namespace
