// The download bar and the Software Update window, offscreen, against a
// local server of the tests' own.

#include "TestHttpServer.h"
#include "WindowHarness.h"
#include "filelist/FileList.h"
#include "platform/FileReference.h"
#include "ui/FileTable.h"
#include "ui/FileTableModel.h"
#include "ui/SoftwareUpdateWindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>

namespace testing_support {
namespace {

namespace fs = std::filesystem;
using nettest::Route;

class NetworkWindowsTest : public WindowTest {
protected:
    // Before the server is made: its socket needs the application's event dispatcher.
    static void SetUpTestSuite() { ensureApplication(); }
    void SetUp() override {
        WindowTest::SetUp();
        launch();
        fs::create_directory(downloads());
        session().defaults().setValue(support::Pref::DestinationDirectory, platform::getAlias(downloads()));
    }
    fs::path downloads() const { return dir() / "downloads"; }
    // Drops a link as a browser drags it: the address and its title.
    void dropLink(const QUrl& url, const QString& title) {
        QMimeData data;
        data.setUrls({url});
        data.setData("_NETSCAPE_URL", (url.toString() + "\n" + title).toUtf8());
        ui::FileTableModel& model = window().fileTable().model();
        ASSERT_TRUE(model.canDropMimeData(&data, Qt::CopyAction, 0, 0, {}));
        ASSERT_TRUE(model.dropMimeData(&data, Qt::CopyAction, 0, 0, {}));
    }
    QByteArray clipBytes(const std::string& name) {
        return QByteArray::fromStdString(contentsOf(clip(name, 10)));
    }

    nettest::TestHttpServer m_server;
};

TEST_F(NetworkWindowsTest, DroppedLinkIsDownloadedIntoTheListUnderItsTitle) {
    m_server.route("/films/holiday.mov", {.body = clipBytes("source.mov")});
    QWidget& row = child<QWidget>("downloadRow");
    EXPECT_FALSE(row.isVisibleTo(&window()));
    bool rowShown = false;
    QObject::connect(&child<QProgressBar>("movieDownloadProgressBar"), &QProgressBar::valueChanged,
                     [&] { rowShown = rowShown || row.isVisibleTo(&window()); });
    dropLink(m_server.url("/films/holiday.mov"), "Holiday film");
    EXPECT_EQ(child<QLabel>("messagesTextField").text(), "0 URLs queued for download.");
    runEventsUntil([&] { return session().fileList().count() == 1; });
    EXPECT_TRUE(rowShown);
    EXPECT_FALSE(row.isVisibleTo(&window()));
    EXPECT_EQ(session().fileList().movies()[0].title, "holiday.mov (Holiday film)");
    EXPECT_TRUE(fs::exists(downloads() / "holiday.mov"));
    EXPECT_TRUE(child<QPushButton>("joinButton").isEnabled());
}

TEST_F(NetworkWindowsTest, FailedDownloadIsToldInASheetAndNothingIsAdded) {
    QStringList told;
    ModalAnswerer answerer([&](QWidget& modal) {
        if (auto* box = qobject_cast<QMessageBox*>(&modal))
            told = pressOK(*box);
    });
    dropLink(m_server.url("/missing.mov"), "Gone");
    runEventsUntil([&] { return !told.isEmpty(); });
    EXPECT_EQ(told.value(0), "Download Failed");
    EXPECT_TRUE(told.value(1).contains("404")) << told.value(1).toStdString();
    EXPECT_EQ(session().fileList().count(), 0); // that nothing is written is DownloadTest's
}

TEST_F(NetworkWindowsTest, ServerAsksForANameAndPasswordInASheet) {
    m_server.route("/private.mov", {.body = clipBytes("private-source.mov"), .credentials = "ann:pw"});
    int asked = 0;
    ModalAnswerer answerer([&](QWidget& modal) {
        if (modal.objectName() != "credentialsDialog")
            return;
        ++asked;
        EXPECT_EQ(modal.windowModality(), Qt::WindowModal);
        modal.findChild<QLineEdit*>("userField")->setText("ann");
        modal.findChild<QLineEdit*>("passwordField")->setText("pw");
        qobject_cast<QDialog*>(&modal)->accept();
    });
    dropLink(m_server.url("/private.mov"), "Members");
    runEventsUntil([&] { return session().fileList().count() == 1; });
    EXPECT_EQ(asked, 1);
}

TEST_F(NetworkWindowsTest, SoftwareUpdateWindowReportsEachOutcome) {
    const auto versionFile = [](const QByteArray& number, const QByteArray& text) {
        return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\"><dict><key>JoinClip</key><dict>"
               "<key>CurrentVersion</key><integer>" +
               number + "</integer><key>CurrentVersionString</key><string>" + text + "</string></dict></dict></plist>";
    };
    const std::pair<Route, QString> outcomes[] = {
        {{.body = versionFile("204", "2.0.4")}, "An update is available for JoinClip."},
        {{.body = versionFile("203", "2.0.3")}, "Your software is up to date."},
        {{.body = "not a property list"}, "The current version information could not be read."},
        {{.status = 500, .body = "broken"}, "Connection failed with error: The server answered 500"},
    };
    ui::SoftwareUpdateWindow updates(m_server.url("/ProductVersions.plist"), "2.0.3", {});
    auto& status = *updates.findChild<QLabel*>("softwareUpdateField");
    EXPECT_EQ(updates.findChild<QLabel*>("ourVersionField")->text(), "2.0.3");
    for (const auto& [route, expected] : outcomes) {
        m_server.route("/ProductVersions.plist", route);
        updates.findChild<QPushButton*>("checkVersionButton")->click();
        EXPECT_EQ(status.text(), "Checking for a software update...");
        EXPECT_TRUE(updates.isChecking());
        runEventsUntil([&] { return !updates.isChecking(); });
        EXPECT_TRUE(status.text().startsWith(expected)) << status.text().toStdString();
    }
    EXPECT_EQ(updates.findChild<QLabel*>("currentVersionField")->text(), "2.0.3");

    // An address no connection can be made to.
    ui::SoftwareUpdateWindow unusable(QUrl("ftp://127.0.0.1/ProductVersions.plist"), "2.0.3", {});
    unusable.findChild<QPushButton*>("checkVersionButton")->click();
    EXPECT_FALSE(unusable.isChecking());
    EXPECT_EQ(unusable.findChild<QLabel*>("softwareUpdateField")->text(),
              "JoinClip could not check for a software update at this time.");

    // A build that names no version file says so and offers no check.
    ui::SoftwareUpdateWindow never(QUrl(), "2.0.3", {});
    EXPECT_EQ(never.findChild<QLabel*>("softwareUpdateField")->text(),
              "This version of JoinClip does not check for updates.");
    EXPECT_TRUE(never.findChild<QPushButton*>("checkVersionButton")->isHidden());
}

TEST_F(NetworkWindowsTest, AutomaticCheckSpeaksOnlyOfANewerVersion) {
    m_server.route("/newer.plist",
                   {.body = "<?xml version=\"1.0\"?><plist><dict><key>JoinClip</key><dict><key>CurrentVersion</key>"
                            "<integer>999</integer><key>CurrentVersionString</key><string>9.9.9</string></dict>"
                            "</dict></plist>"});
    QString told;
    ui::SoftwareUpdateWindow updates(m_server.url("/newer.plist"), "2.0.3",
                                     [&](const QString& version) { told = version; });
    updates.scheduleAutomaticCheck(std::chrono::milliseconds(0));
    runEventsUntil([&] { return !told.isEmpty(); });
    EXPECT_EQ(told, "9.9.9");
}

} // namespace
} // namespace testing_support
