// The export component commands (menu, settings buttons, dialog, settings
// files, all surviving a restart), the per-file Export command, and both
// commands without a component.

#include "AppHarness.h"
#include "FileContents.h"
#include "TestComponent.h"
#include "support/LocalizedString.h"

#include <QFile>
#include <algorithm>
#include <fstream>

namespace {

namespace fs = std::filesystem;

const QString kMovie = "Movie [MooV,test]", kSound = "Sound [WAVE,test]";

class ExportComponentsTest : public testing_support::AppHarness {
protected:
    void SetUp() override {
        const auto test = media::makeFourCharCode("test");
        m_components = std::vector{
            testing_support::testComponent("Movie", media::makeFourCharCode("MooV"), test),
            testing_support::testComponent("Sound", media::makeFourCharCode("WAVE"), test, "wav")};
        AppHarness::SetUp();
    }
};

// Which settings buttons the choice enables is driven through the window (PreferencesWindowTest).
TEST_F(ExportComponentsTest, TheChoiceAndItsSettingsAreStoredWhenTheyChange) {
    app::OutputFormat& format = session().outputFormat();
    EXPECT_EQ(format.components().titles(), QStringList({kMovie, kSound}));
    EXPECT_EQ(format.selectedTitle(), kMovie) << "the first, with no choice stored";
    EXPECT_FALSE(format.select("Missing [none]"));
    media::ExportSettings edited;
    edited.audioEncoder = "pcm_s16le";
    ASSERT_TRUE(format.select(kSound));
    m_dialog.answer = edited;
    m_exportSettings->edit(m_dialog);
    // Stored at once: a run that ends without quitting keeps them too.
    EXPECT_EQ(defaults().textValue(support::Pref::ComponentName), kSound);
    relaunch();
    EXPECT_EQ(session().outputFormat().selectedTitle(), kSound);
    const auto stored = session().outputFormat().selectedSettings();
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(*media::decodeExportSettings(*stored), edited);
    m_dialog.answer = std::nullopt; // cancelled: the settings stay
    m_exportSettings->edit(m_dialog);
    EXPECT_EQ(m_dialog.shown, edited) << "the dialog starts from the stored settings";
    EXPECT_EQ(session().outputFormat().selectedSettings(), stored);
    m_components->pop_back();
    relaunch();
    EXPECT_EQ(session().outputFormat().selectedTitle(), kMovie) << "a choice no component has any more";
}

TEST_F(ExportComponentsTest, SavingWritesEverySettingAndLoadingReplacesThem) {
    const fs::path file = dir() / "Settings.qxst";
    app::OutputFormat& format = session().outputFormat();
    format.setSettings("Elsewhere [else]", QByteArray("opaque"));
    QStringList asked;
    std::optional<fs::path> answer;
    const auto ask = [&](const QString& type, const QString& name) {
        asked = {type, name};
        return answer;
    };
    m_exportSettings->save(ask); // cancelled: nothing written, nothing shown
    EXPECT_EQ(asked, QStringList({"qxst", "Settings"}));
    answer = file;
    m_exportSettings->save(ask);
    ASSERT_EQ(m_notices.size(), 1u);
    EXPECT_EQ(messageOf(m_notices[0]), "All export settings were saved to: " + QFile::decodeName(file.c_str()));
    const auto saved = join::readSettingsFile(file);
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(saved->keys(), QStringList({"Elsewhere [else]", kMovie})) << "unedited defaults too";
    answer = dir() / "no folder" / "Settings.qxst";
    m_exportSettings->save(ask);
    EXPECT_TRUE(messageOf(m_notices.at(1)).startsWith("All export settings could not be saved to: "));
    EXPECT_EQ(m_notices.at(1).kind, support::Told::Failure);
    media::ExportSettings fromFile;
    fromFile.sampleRate = 22050;
    ASSERT_TRUE(join::writeSettingsFile(file, {{kMovie, media::encodeExportSettings(fromFile)},
                                               {"Elsewhere [else]", QByteArray("kept as is")}}));
    std::ofstream(dir() / "text.qxst") << "not a property list";
    format.replaceSettings({{kSound, QByteArray("old")}});
    answer = dir() / "text.qxst";
    m_exportSettings->load(ask, m_dialog);
    EXPECT_EQ(asked, QStringList({"qxst", ""}));
    EXPECT_EQ(format.settings().keys(), QStringList({kSound}));
    EXPECT_EQ(m_dialog.runs, 0);
    EXPECT_TRUE(messageOf(m_notices.at(2)).startsWith("The export settings could not be loaded from: "))
        << "a file that cannot be read is told";
    answer = file;
    m_exportSettings->load(ask, m_dialog); // the dialog is cancelled: the loaded settings stay
    EXPECT_EQ(m_dialog.shown, fromFile);
    relaunch();
    const app::OutputFormat& reloaded = session().outputFormat();
    EXPECT_EQ(reloaded.settings().keys(), QStringList({"Elsewhere [else]", kMovie}));
    EXPECT_EQ(reloaded.settings().value("Elsewhere [else]"), "kept as is")
        << "settings of components that are not installed survive restarts";
    EXPECT_EQ(reloaded.extension(), ".mov");
    defaults().setValue(support::Pref::Export, true);
    ASSERT_TRUE(session().outputFormat().select(kSound));
    EXPECT_EQ(reloaded.extension(), ".wav") << "the selected component's when exporting";
}

// The Export command with the build's own Wave component. That an export never
// replaces its source is checked end to end (SafeOutputTest).
class ExportCommandTest : public testing_support::AppHarness {
protected:
    void SetUp() override {
        m_components.emplace();
        for (const media::ExportComponent& component : media::exportComponents())
            if (component.name == "Wave")
                m_components->push_back(component);
        ASSERT_EQ(m_components->size(), 1u);
        AppHarness::SetUp();
        fs::create_directory(dir() / "sources");
        fs::create_directory(dir() / "out");
    }
    fs::path sound(const char* name) { return fixtures::makeSound(dir() / "sources", name, 8000, 1, 0.3); }
};

TEST_F(ExportCommandTest, ExportsEachFileOnItsOwnIntoTheFolderAskedForEachRun) {
    exportFiles();
    EXPECT_EQ(messageOf(m_notices.at(0)), "There are no movies to process.");
    const fs::path a = sound("a.wav");
    fs::last_write_time(a, fs::last_write_time(a) - std::chrono::hours(240));
    list().addFiles({a, sound("b.aiff")});
    exportFiles();
    EXPECT_EQ(messageOf(m_notices.at(1)), "The option to export is not selected.");
    defaults().setOverride(support::Pref::Export, true);
    exportFiles(); // no output folder: asked for; cancelled, nothing happens
    EXPECT_EQ(m_chooser.runs(), 1);
    EXPECT_TRUE(fs::is_empty(dir() / "out"));
    defaults().setOverride(support::Pref::PreserveDates, true);
    m_chooser.setAnswer(dir() / "out");
    exportFiles();
    EXPECT_TRUE(fs::exists(dir() / "out" / "b.aiff.wav"));
    EXPECT_EQ(fs::last_write_time(dir() / "out" / "a.wav.wav"), fs::last_write_time(a));
    exportFiles();
    EXPECT_EQ(m_chooser.runs(), 3) << "the folder chosen in the panel is for that run only";
}

// Cancel stops the file being written, which leaves nothing; the files finished before stay.
TEST_F(ExportCommandTest, CancelStopsTheFileUnderWayAndKeepsTheFinishedOnes) {
    defaults().setOverride(support::Pref::Export, true);
    list().addFiles({sound("a.wav"), sound("b.wav"), sound("c.wav")});
    QObject::connect(m_jobs.get(), &app::JobRunner::phaseChanged, [&](const QString& phase) {
        if (phase.contains("(2 of 3)")) // Cancel pressed as the second file is announced
            m_jobs->cancel();
    });
    m_chooser.setAnswer(dir() / "out");
    // The job runs on; how far it got before the cancel arrived depends on the machine's load.
    const std::vector<fs::path> written = exportFiles();
    const std::vector<fs::path> all{dir() / "out" / "a.wav.wav", dir() / "out" / "b.wav.wav",
                                    dir() / "out" / "c.wav.wav"};
    ASSERT_GE(written.size(), 1u);
    EXPECT_TRUE(std::equal(written.begin(), written.end(), all.begin())) << "the files finished first";
    std::vector<std::string> names;
    for (const fs::path& file : written)
        names.push_back(file.filename().string());
    EXPECT_EQ(testing_support::namesIn(dir() / "out"), names) << "no partial file";
    EXPECT_FALSE(m_jobs->isRunning());
    EXPECT_TRUE(m_notices.empty()) << "a cancel is no failure";
}

// Join and Export with exporting on but no component to go through, and
// alerts whose texts are formats: looked up first, then filled.
class ExportChoiceTest : public testing_support::AppHarness {
protected:
    void TearDown() override { support::resetLocalizedStringsForTesting(); }
};

TEST_F(ExportChoiceTest, WithoutAComponentJoinAndExportTellTheUserAndWriteNothing) {
    m_components.emplace(); // a build that offers none: the menu stays empty
    relaunch();
    setOutputFolder(dir());
    defaults().setValue(support::Pref::PromptForFilename, false);
    defaults().setValue(support::Pref::Export, true);
    list().addFiles({picture("a.png")});
    EXPECT_EQ(join().status, Status::NoComponent);
    exportFiles();
    ASSERT_EQ(m_notices.size(), 2u);
    for (const auto& notice : m_notices)
        EXPECT_EQ(messageOf(notice), "No export component is selected.");
    EXPECT_TRUE(m_saveQuestions.empty()) << "nothing is asked for nothing";
    EXPECT_EQ(testing_support::namesIn(dir()), (std::vector<std::string>{"a.png", "config"}));
}

TEST_F(ExportChoiceTest, AFormatIsLookedUpBeforeItIsFilled) {
    support::resetLocalizedStringsForTesting();
    support::setLocalizedStringTableForTesting([](const QString& key) {
        return key == "%d of the files could not be exported."
                   ? QString("%d Dateien wurden nicht exportiert.")
                   : key;
    });
    defaults().setValue(support::Pref::Export, true);
    list().addFiles({picture("a.png"), picture("b.png")});
    m_chooser.setAnswer(dir() / "missing");
    EXPECT_TRUE(exportFiles().empty());
    ASSERT_EQ(m_notices.size(), 1u);
    EXPECT_EQ(messageOf(m_notices[0]), "2 Dateien wurden nicht exportiert.");
    EXPECT_EQ(informativeOf(m_notices[0]), "a.png, b.png");
}

} // namespace
