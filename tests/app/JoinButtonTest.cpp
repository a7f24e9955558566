// The Join command: where the joined movie goes, which entries it takes, and
// what the user sees afterwards, including when the write fails.

#include "JoinHarness.h"

#include "Ffprobe.h"
#include "MediaFixtures.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <fstream>

namespace {

namespace fs = std::filesystem;
using testing_support::JoinHarness;

class JoinButtonTest : public JoinHarness {
protected:
    fs::path picture(const std::string& name) { return fixtures::makePicture(dir(), name, 16, 16); }

    static QJsonArray chapters(const fs::path& file) {
        return QJsonDocument::fromJson(QByteArray::fromStdString(oracle::runFfprobe(
                                           {"-show_chapters", "-print_format", "json", file.string()})))
            .object()["chapters"]
            .toArray();
    }
};

TEST_F(JoinButtonTest, AnEmptyListIsToldOnTheMainWindowAndAsksNothing) {
    EXPECT_EQ(controller().addButtonClicked().status, Status::NothingToJoin);
    ASSERT_EQ(m_alerts.alerts().size(), 1u);
    EXPECT_EQ(m_alerts.alerts()[0].message, "There are no movies to process.");
    EXPECT_EQ(m_alerts.alerts()[0].informative, "Add some movies to the file list and try again.");
    EXPECT_EQ(m_alerts.alerts()[0].parentWindow, &m_window);
    EXPECT_TRUE(m_savePanel.openings().empty());
}

TEST_F(JoinButtonTest, DefaultNamesInTheOutputFolderWithoutAskingThenStamped) {
    const fs::path out = dir() / "out";
    fs::create_directories(out);
    setOutputFolder(out);
    EXPECT_EQ(m_outputDirectory.text(), QString::fromStdString(out.string()));
    defaults().setValue(support::Pref::PromptForFilename, false);
    controller().fileList().joinClips({picture("Holiday.png"), picture("Ice.png"), picture("Jam.png"),
                                       picture("Kite.png")});

    const auto first = controller().addButtonClicked();
    ASSERT_EQ(first.status, Status::Written) << m_alerts.alerts().size();
    EXPECT_EQ(first.path, out / "Holiday and 3 others.mov");
    EXPECT_TRUE(fs::exists(first.path));
    EXPECT_EQ(m_window.title(), "Holiday and 3 others.mov");
    EXPECT_EQ(m_window.representedFilename(), first.path);
    EXPECT_EQ(m_messages.text(), "Finished processing movies!");

    // The name is taken now: the second join gets a time stamp, with dots for colons.
    const auto second = controller().addButtonClicked();
    ASSERT_EQ(second.status, Status::Written);
    const std::string name = second.path.filename().string();
    EXPECT_TRUE(name.starts_with("Holiday and 3 others-[")) << name;
    EXPECT_TRUE(name.ends_with("].mov")) << name;
    EXPECT_EQ(name.find(':'), std::string::npos) << name;
    EXPECT_TRUE(fs::exists(first.path) && fs::exists(second.path));
    EXPECT_TRUE(m_savePanel.openings().empty());
    EXPECT_TRUE(m_desktop.opened().empty()) << "OpenFile is off unless set";
}

TEST_F(JoinButtonTest, WithoutAnOutputFolderTheSavePanelAlwaysAsks) {
    defaults().setValue(support::Pref::PromptForFilename, false);
    controller().fileList().joinClips({picture("Trip.png")});
    EXPECT_EQ(controller().addButtonClicked().status, Status::NotSaved) << "the panel was cancelled";
    ASSERT_EQ(m_savePanel.openings().size(), 1u);
    const auto& opening = m_savePanel.openings()[0];
    EXPECT_EQ(opening.suggestedName, "Trip and 0 others.mov");
    EXPECT_FALSE(opening.startFolder);
    EXPECT_FALSE(opening.requiredExtension) << "the chosen name may lack an extension";
    EXPECT_TRUE(m_window.title().isEmpty());
    EXPECT_FALSE(m_panel.isShown());
}

TEST_F(JoinButtonTest, PromptingOpensOnTheOutputFolder) {
    const fs::path out = dir() / "out";
    fs::create_directories(out);
    setOutputFolder(out);
    controller().fileList().joinClips({picture("b.png")});
    controller().makeDefaultFilename(dir() / "Trip", true); // as adding a folder named Trip does
    m_savePanel.setAnswer(out / "chosen.mov");
    ASSERT_EQ(controller().addButtonClicked().status, Status::Written);
    ASSERT_EQ(m_savePanel.openings().size(), 1u);
    EXPECT_EQ(m_savePanel.openings()[0].startFolder, out);
    EXPECT_EQ(m_savePanel.openings()[0].suggestedName, "Trip.mov") << "a folder's name has no count";
    EXPECT_TRUE(fs::exists(out / "chosen.mov"));
}

TEST_F(JoinButtonTest, AChosenNameWithoutExtensionGetsMovAndIsOpened) {
    defaults().setValue(support::Pref::OpenFile, true);
    controller().fileList().joinClips({picture("a.png"), picture("b.png")});
    m_savePanel.setAnswer(dir() / "bare");
    const auto outcome = controller().addButtonClicked();
    ASSERT_EQ(outcome.status, Status::Written);
    EXPECT_EQ(outcome.path, dir() / "bare.mov");
    EXPECT_TRUE(fs::exists(dir() / "bare.mov"));
    EXPECT_FALSE(fs::exists(dir() / "bare"));
    EXPECT_EQ(m_window.title(), "bare.mov");
    EXPECT_EQ(m_desktop.opened(), std::vector<fs::path>{dir() / "bare.mov"});
}

TEST_F(JoinButtonTest, ADeletedEntryIsLeftOutAndTitlesStayWithTheirMovies) {
    if (!oracle::ffprobeAvailable())
        GTEST_SKIP() << "ffprobe is not installed";
    fixtures::ClipSpec clipSpec;
    clipSpec.audioCodec = "";
    clipSpec.frames = 25;
    const fs::path one = fixtures::makeClip(dir(), "1.mp4", clipSpec);
    clipSpec.frames = 50;
    const fs::path two = fixtures::makeClip(dir(), "2.mp4", clipSpec);
    clipSpec.frames = 75;
    const fs::path three = fixtures::makeClip(dir(), "3.mp4", clipSpec);
    controller().fileList().joinClips({one, two, three});
    controller().fileList().setTitle(0, "One");
    controller().fileList().setTitle(1, "Two");
    controller().fileList().setTitle(2, "Three");
    fs::remove(two);

    m_savePanel.setAnswer(dir() / "joined.mov");
    ASSERT_EQ(controller().addButtonClicked().status, Status::Written);
    const QJsonArray found = chapters(dir() / "joined.mov");
    ASSERT_EQ(found.size(), 2);
    EXPECT_EQ(found[0].toObject()["tags"].toObject()["title"].toString(), "One");
    EXPECT_EQ(found[1].toObject()["tags"].toObject()["title"].toString(), "Three");
    EXPECT_NEAR(found[1].toObject()["start_time"].toString().toDouble(), 1.0, 0.05);
    EXPECT_NEAR(found[1].toObject()["end_time"].toString().toDouble(), 4.0, 0.05);
    EXPECT_NEAR(oracle::formatDuration(dir() / "joined.mov"), 4.0, 0.1);
}

TEST_F(JoinButtonTest, AFailedWriteIsToldAndLeavesNothingShown) {
    controller().fileList().joinClips({picture("a.png")});
    m_window.setTitle("earlier.mov");
    m_savePanel.setAnswer(dir() / "missing" / "x.mov");
    EXPECT_EQ(controller().addButtonClicked().status, Status::WriteFailed);
    ASSERT_EQ(m_alerts.alerts().size(), 1u);
    EXPECT_EQ(m_alerts.alerts()[0].message, "The movie could not be saved.");
    EXPECT_FALSE(m_alerts.alerts()[0].informative.isEmpty()) << "the reason";
    EXPECT_EQ(m_alerts.alerts()[0].parentWindow, &m_window);
    EXPECT_FALSE(m_messages.textsSet().contains("Finished processing movies!"));
    EXPECT_EQ(m_window.title(), "earlier.mov") << "the title names only files that were written";
    EXPECT_FALSE(m_panel.isShown());
    EXPECT_FALSE(m_dockTile.isShowingProgress());
    EXPECT_TRUE(m_spinner.isHidden());
}

TEST_F(JoinButtonTest, NeverReplacesAMovieBeingJoined) {
    const fs::path a = picture("a.png");
    const auto before = fs::file_size(a);
    controller().fileList().joinClips({a, picture("b.png")});
    m_savePanel.setAnswer(a);
    EXPECT_EQ(controller().addButtonClicked().status, Status::NotSaved);
    ASSERT_EQ(m_alerts.alerts().size(), 1u);
    EXPECT_EQ(fs::file_size(a), before);
}

TEST_F(JoinButtonTest, OnlyGoneFilesLeftIsTheEmptyListAlert) {
    const fs::path a = picture("a.png");
    controller().fileList().joinClips({a});
    fs::remove(a);
    m_savePanel.setAnswer(dir() / "x.mov");
    EXPECT_EQ(controller().addButtonClicked().status, Status::NothingToJoin);
    EXPECT_FALSE(fs::exists(dir() / "x.mov"));
    ASSERT_EQ(m_alerts.alerts().size(), 1u);
}

TEST_F(JoinButtonTest, ScalesTheWrittenFileBeforeTheExtensionIsAdded) {
    std::vector<std::pair<fs::path, double>> scaled;
    app::JoinServices services;
    services.scaleMovieFileToDuration = [&](const fs::path& path, double seconds) {
        scaled.emplace_back(path, seconds);
        return fs::exists(path);
    };
    makeController(services);
    defaults().setValue(support::Pref::DesiredDuration, 12.5);
    controller().fileList().joinClips({picture("a.png")});
    m_savePanel.setAnswer(dir() / "scaled");
    const auto outcome = controller().addButtonClicked();
    ASSERT_EQ(outcome.status, Status::Written);
    EXPECT_EQ(outcome.scaled, true);
    ASSERT_EQ(scaled.size(), 1u);
    EXPECT_EQ(scaled[0].first, dir() / "scaled");
    EXPECT_EQ(scaled[0].second, 12.5);
    EXPECT_EQ(outcome.path, dir() / "scaled.mov");

    // A file that cannot be scaled is still written, and the outcome says it was not scaled.
    services.scaleMovieFileToDuration = [](const fs::path&, double) { return false; };
    makeController(services);
    defaults().setValue(support::Pref::DesiredDuration, 12.5);
    controller().fileList().joinClips({picture("b.png")});
    m_savePanel.setAnswer(dir() / "unscaled.mov");
    const auto unscaled = controller().addButtonClicked();
    EXPECT_EQ(unscaled.status, Status::Written);
    EXPECT_EQ(unscaled.scaled, false);

    defaults().setValue(support::Pref::DesiredDuration, 0);
    m_savePanel.setAnswer(dir() / "plain.mov");
    EXPECT_FALSE(controller().addButtonClicked().scaled) << "0 means no scaling";
}

TEST_F(JoinButtonTest, OutputFolderCommands) {
    const fs::path out = dir() / "out";
    fs::create_directories(out);

    m_chooser.setAnswer(std::nullopt);
    m_outputDirectory.setText("old");
    controller().selectOutputDirectory();
    EXPECT_EQ(m_outputDirectory.text(), "old") << "cancelling changes nothing";
    EXPECT_FALSE(m_store->contains("OutputDirectory"));

    setOutputFolder(out);
    EXPECT_EQ(m_outputDirectory.text(), QString::fromStdString(out.string()));
    EXPECT_EQ(controller().outputFolderPath(), out);
    controller().openDefaultOutputDirectory();
    EXPECT_EQ(m_desktop.opened(), std::vector<fs::path>{out});

    controller().clearOutputDirectory();
    EXPECT_TRUE(m_outputDirectory.text().isEmpty());
    EXPECT_FALSE(m_store->contains("OutputDirectory"));
    controller().openDefaultOutputDirectory();
    ASSERT_EQ(m_alerts.alerts().size(), 1u);
    EXPECT_EQ(m_alerts.alerts()[0].message, "An output directory has not been specified.");
    EXPECT_EQ(m_alerts.alerts()[0].informative, "So it can not be opened. Specify one in Preferences.");
    EXPECT_FALSE(m_alerts.alerts()[0].isSheet());
    EXPECT_EQ(m_desktop.opened().size(), 1u);
}

} // namespace
