#include "FileContents.h"
#include "CoreApplication.h"
#include "TestFolder.h"
#include "TestHttpServer.h"
#include "net/Download.h"
#include "platform/ExtendedAttributes.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <gtest/gtest.h>

namespace {

using nettest::Route;
using testing_support::namesIn;

namespace fs = std::filesystem;

// Bytes that tell where in the file each one sits.
QByteArray patternedBytes(qsizetype size) {
    QByteArray bytes(size, '\0');
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xff);
    return bytes;
}

QByteArray contents(const fs::path& file) {
    return QByteArray::fromStdString(testing_support::contentsOf(file));
}

class DownloadTest : public testing::Test {
protected:
    static void SetUpTestSuite() { testing_support::ensureCoreApplication(); }

    net::DownloadRequest request(const QByteArray& path) const {
        net::DownloadRequest request;
        request.url = m_server.url(path);
        request.folder = m_folder.path();
        request.stallTimeout = std::chrono::milliseconds(300);
        return request;
    }
    std::expected<fs::path, media::Error> download(const QByteArray& path, const net::DownloadHooks& hooks = {}) {
        return net::downloadFile(request(path), hooks);
    }

    nettest::TestHttpServer m_server;
    testing_support::TestFolder m_folder;
};

TEST_F(DownloadTest, LargeFileArrivesWholeWithProgressAndItsOrigin) {
    const QByteArray body = patternedBytes(3 * 1024 * 1024 + 17);
    m_server.route("/films/big.mov", {.body = body});
    std::vector<std::pair<qint64, qint64>> progress;
    net::DownloadHooks hooks;
    hooks.progress = [&](qint64 received, qint64 expected) { progress.emplace_back(received, expected); };
    const auto file = download("/films/big.mov", hooks);
    ASSERT_TRUE(file) << file.error().message;
    EXPECT_EQ(*file, m_folder / "big.mov");
    EXPECT_EQ(contents(*file), body);
    EXPECT_EQ(namesIn(m_folder.path()), std::vector<std::string>{"big.mov"});
    ASSERT_GE(progress.size(), 2u);
    EXPECT_TRUE(std::ranges::is_sorted(progress));
    EXPECT_EQ(progress.back(), std::make_pair(qint64{body.size()}, qint64{body.size()}));

    // Where the desktop keeps a download's origin; some file systems keep no user attributes.
    const auto origin = platform::extendedAttribute(*file, "user.xdg.origin.url");
    if (platform::setExtendedAttribute(m_folder.write("probe"), "user.test", "1") == ENOTSUP)
        GTEST_SKIP() << "the test folder's file system keeps no user attributes";
    EXPECT_EQ(origin, m_server.url("/films/big.mov").toEncoded());
    EXPECT_EQ(platform::extendedAttribute(*file, "user.xdg.comment"), origin);
}

TEST_F(DownloadTest, OriginLeavesOutTheNameAndPassword) {
    m_server.route("/secret.mov", {.body = "x", .credentials = "ann:pw"});
    net::DownloadRequest withUser = request("/secret.mov");
    withUser.url.setUserInfo("ann:pw");
    const auto file = net::downloadFile(withUser, {});
    ASSERT_TRUE(file) << file.error().message;
    if (const auto origin = platform::extendedAttribute(*file, "user.xdg.origin.url")) {
        EXPECT_EQ(*origin, m_server.url("/secret.mov").toEncoded());
    }
}

TEST_F(DownloadTest, CancelledMidwayLeavesNothing) {
    m_server.route("/slow.mov", {.body = patternedBytes(200), .pieceDelayMs = 5});
    bool cancelled = false;
    net::DownloadHooks hooks;
    hooks.isCancelled = [&] { return cancelled; };
    hooks.progress = [&](qint64 received, qint64) { cancelled = received > 10; };
    const auto file = download("/slow.mov", hooks);
    ASSERT_FALSE(file);
    EXPECT_EQ(file.error().code, ECANCELED);
    EXPECT_TRUE(namesIn(m_folder.path()).empty());
}

TEST_F(DownloadTest, NameAndPasswordAreAskedForAndRetriedUntilGivenUp) {
    m_server.route("/private.mov", {.body = "members only", .credentials = "ann:secret"});
    std::vector<QString> asked;
    net::DownloadHooks hooks;
    hooks.credentials = [&](const QUrl&, const QString& realm) -> std::optional<net::Credentials> {
        asked.push_back(realm);
        if (asked.size() == 1)
            return net::Credentials{"ann", "wrong"};
        return net::Credentials{"ann", "secret"};
    };
    const auto file = download("/private.mov", hooks);
    ASSERT_TRUE(file) << file.error().message;
    EXPECT_EQ(contents(*file), "members only");
    EXPECT_EQ(asked, (std::vector<QString>{"Test", "Test"}));

    // Giving up ends the download, with nothing written.
    hooks.credentials = [](const QUrl&, const QString&) { return std::optional<net::Credentials>(); };
    fs::remove(*file);
    const auto refused = download("/private.mov", hooks);
    ASSERT_FALSE(refused);
    EXPECT_TRUE(namesIn(m_folder.path()).empty());
}

TEST_F(DownloadTest, ErrorStatusAndStallFailWithNothingWritten) {
    const auto missing = download("/nowhere.mov");
    ASSERT_FALSE(missing);
    EXPECT_NE(missing.error().message.find("404"), std::string::npos) << missing.error().message;

    m_server.route("/stuck.mov", {.body = patternedBytes(1000), .stallAfter = 100});
    const auto stalled = download("/stuck.mov");
    ASSERT_FALSE(stalled);
    EXPECT_EQ(stalled.error().code, ETIMEDOUT);

    EXPECT_TRUE(namesIn(m_folder.path()).empty());
}

TEST_F(DownloadTest, RedirectsAreFollowedOnlyToWebAddresses) {
    m_server.route("/moved.mov", {.redirectTo = m_server.url("/real/target.mov").toEncoded()});
    m_server.route("/real/target.mov", {.body = "the movie"});
    const auto file = download("/moved.mov");
    ASSERT_TRUE(file) << file.error().message;
    EXPECT_EQ(file->filename(), "target.mov");

    const fs::path local = m_folder.write("outside/secret.txt", "private");
    m_server.route("/local", {.redirectTo = QUrl::fromLocalFile(QFile::decodeName(local.c_str())).toEncoded()});
    const fs::path inbox = m_folder / "inbox";
    fs::create_directory(inbox);
    net::DownloadRequest toFile = request("/local");
    toFile.folder = inbox;
    EXPECT_FALSE(net::downloadFile(toFile, {}));
    EXPECT_TRUE(namesIn(inbox).empty());
}

TEST_F(DownloadTest, CutConnectionResumesWhereItStopped) {
    const QByteArray body = patternedBytes(500000);
    m_server.route("/cut.mov", {.body = body, .ranges = true, .etag = "\"v1\"", .cutAfter = 200000});
    const auto file = download("/cut.mov");
    ASSERT_TRUE(file) << file.error().message;
    EXPECT_EQ(contents(*file), body);
    // Taken up with a range from where it stopped (Qt may first try the same request again on its own).
    ASSERT_GE(m_server.requests().size(), 2);
    EXPECT_EQ(m_server.requests().back().headers.value("range"), "bytes=200000-");
    EXPECT_EQ(m_server.requests().back().headers.value("if-range"), "\"v1\"");

    // A server without ranges sends the whole file again, and it is taken whole.
    m_server.route("/again.mov", {.body = body, .cutAfter = 100000});
    const auto again = download("/again.mov");
    ASSERT_TRUE(again) << again.error().message;
    EXPECT_EQ(contents(*again), body);

    // A connection cut on every try fails in the end, leaving nothing.
    m_server.route("/never.mov", {.body = body, .ranges = true, .etag = "\"v1\"", .cutAfter = 10, .cuts = 100});
    EXPECT_FALSE(download("/never.mov"));
    EXPECT_EQ(namesIn(m_folder.path()), (std::vector<std::string>{"again.mov", "cut.mov"}));
}

TEST_F(DownloadTest, HostileSuggestedNamesLandSafelyInTheFolder) {
    const fs::path inbox = m_folder / "inbox";
    fs::create_directory(inbox);
    // How each name is made safe is DownloadFileNameTest's; here, that the download uses it.
    const std::vector<std::pair<QByteArray, std::string>> cases = {
        {"attachment; filename=\"../../x\"", "x"},
        {"attachment; filename*=UTF-8''a%0Ab%0D.mov", "ab.mov"},
        {"attachment; filename=\"\"", "named.mov"},
    };
    for (const auto& [header, expected] : cases) {
        m_server.route("/named.mov", {.body = "x", .headers = {{"Content-Disposition", header}}});
        net::DownloadRequest into = request("/named.mov");
        into.folder = inbox;
        const auto file = net::downloadFile(into, {});
        ASSERT_TRUE(file) << file.error().message;
        EXPECT_EQ(file->parent_path(), inbox);
        EXPECT_EQ(file->filename().string(), expected);
        fs::remove(*file);
    }
    m_server.route("/long.mov",
                   {.body = "x", .headers = {{"Content-Disposition", "attachment; filename=" + QByteArray(4000, 'n') + ".mov"}}});
    net::DownloadRequest into = request("/long.mov");
    into.folder = inbox;
    const auto file = net::downloadFile(into, {});
    ASSERT_TRUE(file) << file.error().message;
    EXPECT_EQ(file->parent_path(), inbox);
    EXPECT_EQ(file->extension(), ".mov");
    // Nothing was written beside the folder.
    EXPECT_EQ(namesIn(m_folder.path()), std::vector<std::string>{"inbox"});
}

TEST_F(DownloadTest, ExistingFileIsKeptUnlessOverwritingIsAllowed) {
    m_server.route("/clip.mov", {.body = "new"});
    m_folder.write("clip.mov", "old");
    const auto beside = download("/clip.mov");
    ASSERT_TRUE(beside) << beside.error().message;
    EXPECT_EQ(beside->filename(), "clip-1.mov");
    EXPECT_EQ(testing_support::contentsOf(m_folder / "clip.mov"), "old");
    EXPECT_EQ(download("/clip.mov")->filename(), "clip-2.mov");

    net::DownloadRequest replacing = request("/clip.mov");
    replacing.allowOverwrite = true;
    const auto replaced = net::downloadFile(replacing, {});
    ASSERT_TRUE(replaced) << replaced.error().message;
    EXPECT_EQ(*replaced, m_folder / "clip.mov");
    EXPECT_EQ(testing_support::contentsOf(m_folder / "clip.mov"), "new");
}

TEST_F(DownloadTest, TextsThatAreNotWebAddressesAreRefused) {
    for (const char* text : {"not an address", "ftp://127.0.0.1/x.mov", "file:///etc/passwd", "http://"}) {
        net::DownloadRequest bad = request("/");
        bad.url = QUrl(text);
        const auto file = net::downloadFile(bad, {});
        ASSERT_FALSE(file) << text;
        EXPECT_EQ(file.error().code, EINVAL);
    }
    EXPECT_TRUE(namesIn(m_folder.path()).empty());
}

} // namespace
