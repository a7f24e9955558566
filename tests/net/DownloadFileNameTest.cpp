#include "net/DownloadFileName.h"

#include <gtest/gtest.h>

namespace {

using net::safeDownloadName;

// Names a hostile or careless server may suggest never leave the folder,
// never hide the file and never hold what a file manager would misshow.
TEST(DownloadFileName, HostileSuggestionsStayVisibleInsideTheFolder) {
    EXPECT_EQ(safeDownloadName("../../x"), "x");
    EXPECT_EQ(safeDownloadName("/etc/passwd"), "passwd");
    EXPECT_EQ(safeDownloadName("..\\..\\windows.ini"), "windows.ini");
    EXPECT_EQ(safeDownloadName(".bashrc"), "bashrc");
    EXPECT_EQ(safeDownloadName("..."), "");
    EXPECT_EQ(safeDownloadName(".."), "");
    EXPECT_EQ(safeDownloadName("a/"), "");
    EXPECT_EQ(safeDownloadName(""), "");
    EXPECT_EQ(safeDownloadName("  . hidden.mov "), "hidden.mov");
    EXPECT_EQ(safeDownloadName("movie\nrm -rf.mov"), "movierm -rf.mov");
    EXPECT_EQ(safeDownloadName(QString::fromUtf8("clip\u202Evom.exe")), "clipvom.exe");
    EXPECT_EQ(safeDownloadName(QString("a") + QChar(0) + "b.mov"), "ab.mov");
    EXPECT_EQ(safeDownloadName(QString::fromUtf8("Grüße 2.mov")), QString::fromUtf8("Grüße 2.mov"));
}

TEST(DownloadFileName, LongNamesAreCutToWhatFileSystemsTakeKeepingTheExtension) {
    const QString cut = safeDownloadName(QString(4000, 'x') + ".mov");
    EXPECT_LE(cut.toUtf8().size(), net::kLongestDownloadName);
    EXPECT_TRUE(cut.endsWith("x.mov"));
    // Multi-byte characters are never split.
    const QString wide = safeDownloadName(QString(300, QChar(0x00FC)) + ".mp4");
    EXPECT_LE(wide.toUtf8().size(), net::kLongestDownloadName);
    EXPECT_TRUE(wide.endsWith(".mp4"));
    EXPECT_EQ(QString::fromUtf8(wide.toUtf8()), wide);
    const QString emoji = safeDownloadName(QString::fromUtf8("\U0001F600").repeated(100));
    EXPECT_EQ(QString::fromUtf8(emoji.toUtf8()), emoji);
    EXPECT_LE(emoji.toUtf8().size(), net::kLongestDownloadName);
}

TEST(DownloadFileName, ContentDispositionForms) {
    using net::contentDispositionFileName;
    EXPECT_EQ(contentDispositionFileName("attachment; filename=\"a b.mov\""), "a b.mov");
    EXPECT_EQ(contentDispositionFileName("attachment; filename=plain.mov"), "plain.mov");
    EXPECT_EQ(contentDispositionFileName("attachment; filename=\"q\\\"uote.mov\""), "q\"uote.mov");
    // The extended form wins, whichever comes first.
    EXPECT_EQ(contentDispositionFileName("attachment; filename=\"fallback.mov\"; filename*=UTF-8''%E2%82%AC.mov"),
              QString::fromUtf8("€.mov"));
    EXPECT_EQ(contentDispositionFileName("attachment; filename*=iso-8859-1'en'%FC.mov; filename=u.mov"),
              QString::fromUtf8("ü.mov"));
    // An extended form that cannot be read leaves the plain one.
    EXPECT_EQ(contentDispositionFileName("attachment; filename*=UTF-8''%FF.mov; filename=ok.mov"), "ok.mov");
    EXPECT_EQ(contentDispositionFileName("inline"), std::nullopt);
    EXPECT_EQ(contentDispositionFileName("attachment; filename"), std::nullopt);
    EXPECT_EQ(contentDispositionFileName("attachment; filename=\"unterminated"), "unterminated");
}

TEST(DownloadFileName, FallsBackFromTheHeaderToTheAddress) {
    const QUrl url("http://example.org/films/Holiday%20Trip.mp4?session=1");
    EXPECT_EQ(net::downloadFileName("attachment; filename=\"..\"", url), "Holiday Trip.mp4");
    EXPECT_EQ(net::downloadFileName({}, url), "Holiday Trip.mp4");
    EXPECT_EQ(net::downloadFileName({}, QUrl("http://example.org/")), "example.org");
    EXPECT_EQ(net::downloadFileName({}, QUrl("http://example.org/..%2F.profile")), "profile");
    EXPECT_EQ(net::numberedFileName("movie.mov", 0), "movie.mov");
    EXPECT_EQ(net::numberedFileName("movie.mov", 2), "movie-2.mov");
    EXPECT_EQ(net::numberedFileName("README", 1), "README-1");
}

} // namespace
