#include "media/DisplayName.h"

#include <QFile>
#include <gtest/gtest.h>
#include <string>

namespace {

// The name as a desktop that hides extensions shows it: up to the last dot,
// where a leading dot belongs to the name; bytes decoded as Qt decodes file names.
TEST(DisplayNameTest, IsTheFileNameWithoutItsExtension) {
    const struct {
        std::string path;
        QString shown;
    } cases[] = {
        {"/movies/Holiday.mov", "Holiday"},
        {"/movies/archive.tar.gz", "archive.tar"},
        {"/movies/Holiday", "Holiday"},
        {"/movies/notes.", "notes"},
        {"/home/.profile", ".profile"},
        {"/home/.clip.mov", ".clip"},
        {"/movies/Summer 2024.d/", "Summer 2024"},
        {"/movies/\xc3\x89t\xc3\xa9.mov", QString::fromUtf8("\xc3\x89t\xc3\xa9")},
        {"/movies/caf\xe9.mov", QFile::decodeName(QByteArray("caf\xe9"))},
    };
    for (const auto& c : cases)
        EXPECT_EQ(media::displayNameOfFile(c.path), c.shown) << c.path;
}

} // namespace
