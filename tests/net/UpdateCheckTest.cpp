#include "CoreApplication.h"
#include "TestHttpServer.h"
#include "net/UpdateCheck.h"
#include "net/VersionNumber.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace {

using Status = net::UpdateCheckOutcome::Status;

QByteArray versionFile(const QByteArray& entries) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
           "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
           "<plist version=\"1.0\"><dict>" +
           entries + "</dict></plist>\n";
}

QByteArray joinClipEntry(const QByteArray& number, const QByteArray& text) {
    return "<key>JoinClip</key><dict><key>CurrentVersion</key>" + number +
           "<key>CurrentVersionString</key><string>" + text + "</string></dict>";
}

TEST(VersionNumber, DigitsWithoutDotsReadAsOneInteger) {
    EXPECT_EQ(net::versionNumber("2.0.3"), 203);
    EXPECT_EQ(net::versionNumber("2.1"), 21);
    EXPECT_EQ(net::versionNumber("0.1.0"), 10);
    EXPECT_EQ(net::versionNumber(""), 0);
    EXPECT_EQ(net::versionNumber("  3.2b4"), 32);
    EXPECT_EQ(net::versionNumber("-1.5"), -15);
    EXPECT_EQ(net::versionNumber("+7"), 7);
    EXPECT_EQ(net::versionNumber("beta 2"), 0);
    EXPECT_EQ(net::versionNumber("99999999999999999999"), 2147483647);
    EXPECT_EQ(net::versionNumber("-99999999999999999999"), -2147483647 - 1);
    // Only the first 254 bytes count.
    EXPECT_EQ(net::versionNumber(QString(253, ' ') + "12"), 1);
}

TEST(VersionFile, ReadsOurEntryAndRefusesEverythingElse) {
    const auto read = net::readVersionFile(
        versionFile("<key>Other</key><dict/>" + joinClipEntry("<integer>204</integer>", "2.0.4")));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->number, 204);
    EXPECT_EQ(read->text, "2.0.4");
    EXPECT_EQ(net::readVersionFile(versionFile(joinClipEntry("<real>205.9</real>", "2.0.5")))->number, 205);

    for (const QByteArray& bad : {
             versionFile(joinClipEntry("<integer>204</integer>", "2.0.4").replace("JoinClip", "JoinClipPro")),
             versionFile("<key>JoinClip</key><string>2.0.4</string>"),
             versionFile("<key>JoinClip</key><dict><key>CurrentVersion</key><integer>204</integer></dict>"),
             versionFile(joinClipEntry("<string>204</string>", "2.0.4")),
             versionFile(joinClipEntry("<integer>4294967296</integer>", "huge")),
             versionFile(joinClipEntry("<true/>", "2.0.4")),
             QByteArray("<html><body>Not here</body></html>"),
             QByteArray("<?xml version=\"1.0\"?><plist><dict><key>JoinClip</key>"),
             QByteArray("<?xml version=\"1.0\"?><plist><array/></plist>"),
             QByteArray(),
         })
        EXPECT_FALSE(net::readVersionFile(bad)) << bad.toStdString();
}

class UpdateCheckTest : public testing::Test {
protected:
    static void SetUpTestSuite() { testing_support::ensureCoreApplication(); }

    net::UpdateCheckOutcome check(const QByteArray& file, std::int32_t ours = 203) {
        m_server.route("/ProductVersions.plist", {.body = file});
        return checkPath("/ProductVersions.plist", ours);
    }
    net::UpdateCheckOutcome checkPath(const QByteArray& path, std::int32_t ours = 203) {
        return net::checkForUpdate({m_server.url(path), ours, std::chrono::milliseconds(400)});
    }

    nettest::TestHttpServer m_server;
};

TEST_F(UpdateCheckTest, ComparesThePublishedNumberWithOurs) {
    const auto newer = check(versionFile(joinClipEntry("<integer>204</integer>", "2.0.4")));
    EXPECT_EQ(newer.status, Status::Newer);
    EXPECT_EQ(newer.published.text, "2.0.4");
    EXPECT_EQ(check(versionFile(joinClipEntry("<integer>203</integer>", "2.0.3"))).status, Status::Current);
    EXPECT_EQ(check(versionFile(joinClipEntry("<integer>110</integer>", "1.1"))).status, Status::Current);
    // "2.1" is 21: anything published above 21 counts as newer.
    EXPECT_EQ(check(versionFile(joinClipEntry("<integer>22</integer>", "2.2")), net::versionNumber("2.1")).status,
              Status::Newer);
    EXPECT_EQ(m_server.requests().back().path, "/ProductVersions.plist");
}

TEST_F(UpdateCheckTest, EveryOtherOutcomeIsToldApart) {
    EXPECT_EQ(check("garbage").status, Status::Unreadable);
    EXPECT_EQ(check(versionFile("<key>Other</key><dict/>")).status, Status::Unreadable);
    EXPECT_EQ(checkPath("/missing.plist").status, Status::Failed);

    // Served too slowly: the timeout ends the check.
    m_server.route("/slow.plist", {.body = versionFile(joinClipEntry("<integer>204</integer>", "2.0.4")),
                                   .pieceDelayMs = 20});
    const auto slow = checkPath("/slow.plist");
    EXPECT_EQ(slow.status, Status::Failed);
    EXPECT_EQ(slow.failure.code, ETIMEDOUT);

    // A file far larger than any version file is refused.
    EXPECT_EQ(check(QByteArray(2 * 1024 * 1024, ' ')).status, Status::Failed);
}

} // namespace
