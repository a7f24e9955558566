// `joinclip download` and `joinclip check-update` against a local server of
// the tests' own.

#include "CommandRun.h"
#include "CoreApplication.h"
#include "TestHttpServer.h"
#include "cli/CheckUpdateCommand.h"
#include "cli/DownloadCommand.h"

namespace {

namespace fs = std::filesystem;
using nettest::Route;

class NetworkCommandsTest : public clitest::CommandTest {
protected:
    // Before the server is made: its socket needs the application's event dispatcher.
    static void SetUpTestSuite() { testing_support::ensureCoreApplication(); }
    void SetUp() override {
        CommandTest::SetUp();
        fs::create_directory(dir() / "inbox");
    }
    std::string url(const QByteArray& path) const { return m_server.url(path).toString().toStdString(); }
    std::string inbox() const { return (dir() / "inbox").string(); }

    nettest::TestHttpServer m_server;
};

TEST_F(NetworkCommandsTest, DownloadPrintsEachFinishedFileAndFailsForAnyFailure) {
    m_server.route("/one.mov", {.body = QByteArray(300000, '1')});
    m_server.route("/two.mov", {.body = "2"});
    EXPECT_EQ(call(cli::runDownloadCommand, {"--output-dir", inbox(), url("/one.mov"), url("/two.mov")}), 0) << m_err;
    EXPECT_EQ(m_out, inbox() + "/one.mov\n" + inbox() + "/two.mov\n");
    EXPECT_TRUE(m_err.contains("100 percent, (300,000 of 300,000 bytes")) << m_err;
    EXPECT_EQ(testing_support::contentsOf(dir() / "inbox" / "two.mov"), "2") << m_err;

    EXPECT_EQ(call(cli::runDownloadCommand, {"--output-dir", inbox(), url("/missing.mov"), url("/two.mov")}), 1);
    EXPECT_EQ(m_out, inbox() + "/two-1.mov\n");
    EXPECT_TRUE(m_err.contains(url("/missing.mov") + ": The server answered 404")) << m_err;

    EXPECT_EQ(call(cli::runDownloadCommand, {"--output-dir", (dir() / "nowhere").string(), url("/two.mov")}), 1);
    EXPECT_TRUE(m_err.contains("is not a folder")) << m_err;
    EXPECT_EQ(call(cli::runDownloadCommand, {"--output-dir", inbox()}), 2);
}

TEST_F(NetworkCommandsTest, CheckUpdateTellsNewerCurrentAndFailedApart) {
    const auto versionFile = [](const QByteArray& number) {
        return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\"><dict><key>JoinClip</key><dict>"
               "<key>CurrentVersion</key><integer>" +
               number + "</integer><key>CurrentVersionString</key><string>9.9</string></dict></dict></plist>";
    };
    m_server.route("/newer.plist", {.body = versionFile("99999")});
    m_server.route("/older.plist", {.body = versionFile("1")});
    m_server.route("/garbage.plist", {.body = "<html></html>"});
    EXPECT_EQ(call(cli::runCheckUpdateCommand, {"--url", url("/newer.plist")}), cli::kUpdateAvailable);
    EXPECT_TRUE(m_out.starts_with("An update is available for JoinClip: 9.9")) << m_out;
    EXPECT_EQ(call(cli::runCheckUpdateCommand, {"--url", url("/older.plist")}), cli::kUpToDate);
    EXPECT_TRUE(m_out.starts_with("Your software is up to date")) << m_out;
    EXPECT_EQ(call(cli::runCheckUpdateCommand, {"--url", url("/garbage.plist")}), cli::kCheckFailed);
    EXPECT_TRUE(m_err.contains("could not be read")) << m_err;
    EXPECT_EQ(call(cli::runCheckUpdateCommand, {"--url", url("/missing.plist")}), cli::kCheckFailed);
    EXPECT_TRUE(m_err.contains("404")) << m_err;
    EXPECT_EQ(call(cli::runCheckUpdateCommand, {"extra"}), cli::kUsageError);
}

} // namespace
