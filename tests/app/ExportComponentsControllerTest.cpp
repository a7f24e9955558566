// The controller's export component commands: the menu, the settings buttons,
// editing, saving and loading settings files, and both surviving a restart.

#include "MediaFixtures.h"
#include "RecordingAlertPresenter.h"
#include "RecordingConsole.h"
#include "RecordingDesktopPorts.h"
#include "TestWindowHandle.h"
#include "app/JoinClipController.h"
#include "cli/HeadlessWindow.h"
#include "platform/Preferences.h"

#include <QFile>
#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace {

namespace fs = std::filesystem;

media::ExportComponent makeComponent(const std::string& name, const char (&subtype)[5],
                                     bool hasDialog = true) {
    media::ExportComponent component;
    component.name = name;
    component.info = "Writes " + name;
    component.extension = name == "Movie" ? "mov" : "wav";
    component.subtype = media::makeFourCharCode(subtype);
    component.manufacturer = media::makeFourCharCode("test");
    component.hasSettingsDialog = hasDialog;
    component.writesSound = true;
    component.audioEncoders = {"aac", "pcm_s16le"};
    return component;
}

class ScriptedDialog final : public join::ExportSettingsDialog {
public:
    std::optional<media::ExportSettings> answer; // none: cancel
    int runs = 0;
    media::ExportSettings shown;
    std::expected<std::optional<media::ExportSettings>, int>
    run(const media::ExportComponent&, const media::ExportSettings& current) override {
        ++runs;
        shown = current;
        return answer;
    }
};

class ScriptedPanels final : public support::ComponentSettingsPanels {
public:
    std::optional<fs::path> saveAnswer;
    std::optional<fs::path> openAnswer;
    QString requiredType;
    QString suggestedName;
    QString openTitle;
    std::optional<fs::path> runSaveSettingsPanel(const QString& type, const QString& name, bool) override {
        requiredType = type;
        suggestedName = name;
        return saveAnswer;
    }
    std::optional<fs::path> runOpenSettingsPanel(const QString& title, const QString&,
                                                 const QStringList&) override {
        openTitle = title;
        return openAnswer;
    }
};

const QString kMovie = "Movie [MooV,test]";
const QString kSound = "Sound [WAVE,test]";
const QString kPlain = "Plain [plan,test]";

class ExportComponentsControllerTest : public ::testing::Test {
protected:
    fs::path dir() const { return m_dir.path().toStdString(); }

    // One run of the application with the scripted ports: launch, the test's steps, termination.
    void run(const std::function<void(app::JoinClipController&)>& duringRun) {
        platform::Preferences store(dir() / "preferences.plist");
        cli::HeadlessWindow window(false);
        app::MainWindowOutlets outlets = window.outlets();
        menu = support::StoredPopupButton();
        for (support::StoredControl& button : buttons)
            button.setEnabled(true);
        outlets.components.componentPopupButton = &menu;
        outlets.components.exportSettingsButton = &buttons[0];
        outlets.components.exportSaveSettingsButton = &buttons[1];
        outlets.components.exportLoadSettingsButton = &buttons[2];
        outlets.components.preferencesWindow = &preferencesWindow;
        outlets.join.alerts = &alerts;
        outlets.components.panels = &panels;
        outlets.components.settingsDialog = &dialog;
        outlets.console = &console;
        outlets.components.availableComponents = &components;
        app::JoinClipController controller(store, outlets);
        controller.awakeFromNib();
        controller.applicationWillFinishLaunching();
        duringRun(controller);
        controller.applicationWillTerminate();
    }

    std::vector<media::ExportComponent> components{makeComponent("Movie", "MooV"),
                                                   makeComponent("Sound", "WAVE"),
                                                   makeComponent("Plain", "plan", false)};
    support::StoredPopupButton menu;
    support::StoredControl buttons[3];
    testing_support::TestWindowHandle preferencesWindow;
    testing_support::RecordingAlertPresenter alerts;
    ScriptedPanels panels;
    ScriptedDialog dialog;
    testing_support::RecordingConsole console;
    QTemporaryDir m_dir;
};

TEST_F(ExportComponentsControllerTest, TheMenuListsTheComponentsAndRemembersTheChoiceAndSettings) {
    media::ExportSettings edited;
    edited.audioEncoder = "pcm_s16le";
    run([&](app::JoinClipController& controller) {
        EXPECT_EQ(menu.itemTitles(), QStringList({kMovie, kSound, kPlain}));
        EXPECT_EQ(menu.toolTipAt(1), "Writes Sound");
        EXPECT_EQ(menu.titleOfSelectedItem(), kMovie); // the first, with no choice stored
        EXPECT_TRUE(controller.exportSettingsForComponentDictionary().isEmpty());

        menu.selectItemWithTitle(kSound);
        controller.componentPopUpButtonClicked();
        dialog.answer = edited;
        controller.codecSettingsClicked();
        EXPECT_EQ(dialog.runs, 1);
    });
    run([&](app::JoinClipController& controller) {
        EXPECT_EQ(menu.titleOfSelectedItem(), kSound);
        EXPECT_TRUE(buttons[0].isEnabled());
        const auto stored = controller.selectedComponentSettings();
        ASSERT_TRUE(stored.has_value());
        EXPECT_EQ(*media::decodeExportSettings(*stored), edited);
        // The dialog starts from the stored settings.
        dialog.answer.reset();
        controller.codecSettingsClicked();
        EXPECT_EQ(dialog.shown, edited);
        // Cancelled: the settings stay.
        EXPECT_EQ(controller.selectedComponentSettings(), stored);
    });
}

TEST_F(ExportComponentsControllerTest, SettingsButtonsFollowWhetherTheComponentHasADialog) {
    run([&](app::JoinClipController& controller) {
        menu.selectItemWithTitle(kPlain);
        controller.componentPopUpButtonClicked();
        for (const support::StoredControl& button : buttons)
            EXPECT_FALSE(button.isEnabled());
        menu.selectItemWithTitle(kMovie);
        controller.componentPopUpButtonClicked();
        for (const support::StoredControl& button : buttons)
            EXPECT_TRUE(button.isEnabled());
        // A title no component has counts as having a dialog.
        EXPECT_TRUE(controller.exportComponentHasUI("Gone [gone]"));
        EXPECT_FALSE(controller.exportComponentHasUI(kPlain));
    });
    // Chosen last time: the buttons are set at launch.
    run([&](app::JoinClipController&) {
        EXPECT_EQ(menu.titleOfSelectedItem(), kMovie);
        menu.selectItemWithTitle(kPlain);
    });
    run([&](app::JoinClipController&) {
        EXPECT_EQ(menu.titleOfSelectedItem(), kPlain);
        EXPECT_FALSE(buttons[0].isEnabled());
    });
    // A stored choice no component has any more leaves the first selected.
    components.pop_back();
    run([&](app::JoinClipController&) { EXPECT_EQ(menu.titleOfSelectedItem(), kMovie); });
}

TEST_F(ExportComponentsControllerTest, SavingWritesEverySettingIncludingUneditedDefaults) {
    const fs::path file = dir() / "Settings.qxst";
    run([&](app::JoinClipController& controller) {
        controller.exportSettingsForComponentDictionary().insert("Not installed [none]",
                                                                 QByteArray("opaque"));
        // Cancelled: nothing is written, nothing shown.
        controller.codecSaveSettingsClicked();
        EXPECT_EQ(panels.requiredType, "qxst");
        EXPECT_EQ(panels.suggestedName, "Settings");
        EXPECT_TRUE(alerts.alerts().empty());

        panels.saveAnswer = file;
        controller.codecSaveSettingsClicked();
        ASSERT_EQ(alerts.alerts().size(), 1u);
        EXPECT_EQ(alerts.alerts()[0].message,
                  "All export settings were saved to: " + QFile::decodeName(file.c_str()));
        EXPECT_EQ(alerts.alerts()[0].parentWindow, &preferencesWindow);
        const auto saved = join::readSettingsFile(file);
        ASSERT_TRUE(saved.has_value());
        EXPECT_EQ(saved->keys(), QStringList({kMovie, "Not installed [none]"}));
        EXPECT_EQ(*media::decodeExportSettings(saved->value(kMovie)), media::ExportSettings{});
        EXPECT_EQ(dialog.runs, 0);

        panels.saveAnswer = dir() / "no folder" / "Settings.qxst";
        controller.codecSaveSettingsClicked();
        ASSERT_EQ(alerts.alerts().size(), 2u);
        EXPECT_TRUE(alerts.alerts()[1].message.startsWith("All export settings could not be saved to: "));
    });
}

TEST_F(ExportComponentsControllerTest, LoadingReplacesAllSettingsAndOpensTheDialog) {
    media::ExportSettings fromFile;
    fromFile.sampleRate = 22050;
    const fs::path file = dir() / "Loaded.qxst";
    ASSERT_TRUE(join::writeSettingsFile(file, {{kMovie, media::encodeExportSettings(fromFile)},
                                               {"Elsewhere [else]", QByteArray("kept as is")}}));
    const fs::path notSettings = dir() / "text.qxst";
    std::ofstream(notSettings) << "not a property list";
    run([&](app::JoinClipController& controller) {
        controller.exportSettingsForComponentDictionary().insert(kSound, QByteArray("old"));
        panels.openAnswer = notSettings;
        controller.codecLoadSettingsClicked();
        EXPECT_EQ(controller.exportSettingsForComponentDictionary().keys(), QStringList({kSound}));
        EXPECT_EQ(dialog.runs, 0);

        panels.openAnswer = file;
        dialog.answer.reset(); // the dialog is cancelled: the loaded settings stay
        controller.codecLoadSettingsClicked();
        EXPECT_EQ(panels.openTitle, "Choose a settings file");
        EXPECT_EQ(dialog.runs, 1);
        EXPECT_EQ(dialog.shown, fromFile);
        EXPECT_EQ(controller.exportSettingsForComponentDictionary().keys(),
                  QStringList({"Elsewhere [else]", kMovie}));
    });
    // Settings of components that are not installed survive restarts unused.
    run([&](app::JoinClipController& controller) {
        EXPECT_EQ(controller.exportSettingsForComponentDictionary().value("Elsewhere [else]"),
                  QByteArray("kept as is"));
    });
}

TEST_F(ExportComponentsControllerTest, TheExtensionIsTheSelectedComponentsWhenExporting) {
    run([&](app::JoinClipController& controller) {
        EXPECT_EQ(controller.getExtension(), ".mov");
        controller.defaults().setValue(support::Pref::Export, true);
        menu.selectItemWithTitle(kSound);
        EXPECT_EQ(controller.getExtension(), ".wav");
        ASSERT_TRUE(controller.selectedComponent().has_value());
        EXPECT_EQ(controller.selectedComponent()->subtype, media::makeFourCharCode("WAVE"));
        EXPECT_FALSE(controller.selectedComponentSettings().has_value());
    });
}

} // namespace

namespace {

// The status line, calling back on each text it shows.
class CancellingTextControl final : public support::TextControl {
public:
    void setText(const QString& text) override {
        m_text = text;
        if (onText)
            onText(text);
    }
    QString text() const override { return m_text; }
    void setHidden(bool hidden) override { m_hidden = hidden; }
    bool isHidden() const override { return m_hidden; }
    std::function<void(const QString&)> onText;

private:
    QString m_text;
    bool m_hidden = false;
};

class ExportCommandTest : public ::testing::Test {
protected:
    fs::path dir() const { return m_dir.path().toStdString(); }

    void SetUp() override {
        fixtures::quietFfmpegLogs();
        // The build's own Wave component, once with its extension and once without.
        for (const media::ExportComponent& component : media::exportComponents())
            if (component.name == "Wave")
                components.push_back(component);
        ASSERT_EQ(components.size(), 1u);
        components.push_back(components[0]);
        components[1].name = "Bare";
        components[1].extension.clear();
        fs::create_directory(dir() / "sources");
        fs::create_directory(dir() / "out");
    }

    std::unique_ptr<app::JoinClipController> launch() {
        store = std::make_unique<platform::Preferences>(dir() / "preferences.plist");
        app::MainWindowOutlets outlets = window.outlets();
        outlets.components.componentPopupButton = &menu;
        outlets.components.availableComponents = &components;
        outlets.join.alerts = &alerts;
        outlets.join.folderChooser = &chooser;
        outlets.join.dockTile = &dockTile;
        outlets.fileList.messagesTextField = &messages;
        mainWindow = outlets.join.fileListWindow;
        auto controller = std::make_unique<app::JoinClipController>(*store, outlets);
        controller->launchExportComponents();
        return controller;
    }

    fs::path sound(const char* name) { return fixtures::makeSound(dir() / "sources", name, 8000, 1, 0.3); }

    std::vector<media::ExportComponent> components;
    std::unique_ptr<platform::Preferences> store;
    cli::HeadlessWindow window{false};
    support::StoredPopupButton menu;
    testing_support::RecordingAlertPresenter alerts;
    support::WindowHandle* mainWindow = nullptr;
    testing_support::ScriptedFolderChooser chooser;
    testing_support::RecordingDockTile dockTile;
    CancellingTextControl messages;
    QTemporaryDir m_dir;
};

TEST_F(ExportCommandTest, AlertsWhenThereIsNothingToDoOrExportingIsOff) {
    auto controller = launch();
    controller->exportButtonClicked();
    ASSERT_EQ(alerts.alerts().size(), 1u);
    EXPECT_EQ(alerts.alerts()[0].message, "There are no movies to process.");
    EXPECT_EQ(alerts.alerts()[0].parentWindow, mainWindow);
    controller->fileList().joinClips({sound("a.wav")});
    controller->exportButtonClicked();
    ASSERT_EQ(alerts.alerts().size(), 2u);
    EXPECT_EQ(alerts.alerts()[1].message, "The option to export is not selected.");
    // Exporting, without an output folder: the folder is asked for; cancelling ends the command.
    controller->defaults().setOverride(support::Pref::Export, true);
    controller->exportButtonClicked();
    EXPECT_EQ(chooser.runs(), 1);
    EXPECT_TRUE(fs::is_empty(dir() / "out"));
}

TEST_F(ExportCommandTest, ExportsEachFileOnItsOwnAndKeepsTheirDates) {
    const fs::path a = sound("a.wav");
    const fs::path b = sound("b.aiff");
    fs::last_write_time(a, fs::last_write_time(a) - std::chrono::hours(240));
    auto controller = launch();
    controller->defaults().setOverride(support::Pref::Export, true);
    controller->defaults().setOverride(support::Pref::PreserveDates, true);
    controller->fileList().joinClips({a, b});
    chooser.setAnswer(dir() / "out");
    controller->exportButtonClicked();
    EXPECT_TRUE(fs::exists(dir() / "out" / "a.wav.wav"));
    EXPECT_TRUE(fs::exists(dir() / "out" / "b.aiff.wav"));
    EXPECT_EQ(fs::last_write_time(dir() / "out" / "a.wav.wav"), fs::last_write_time(a));
    EXPECT_FALSE(controller->exportInProgress());
    // The folder chosen in the panel is for that run only: asked again next time.
    controller->exportButtonClicked();
    EXPECT_EQ(chooser.runs(), 2);
}

TEST_F(ExportCommandTest, NeverWritesOverTheFileBeingRead) {
    const fs::path a = sound("a.wav");
    std::ifstream in(a, std::ios::binary);
    const std::string before((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto controller = launch();
    controller->defaults().setOverride(support::Pref::Export, true);
    menu.selectItemWithTitle("Bare [WAVE,FFmp]");
    controller->fileList().joinClips({a});
    const auto written = controller->exportMoviesToFolder(dir() / "sources");
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(written[0], dir() / "sources" / "a (exported).wav");
    std::ifstream again(a, std::ios::binary);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(again)), std::istreambuf_iterator<char>()), before);
}

TEST_F(ExportCommandTest, CancelEndsTheLoopAfterTheCurrentFile) {
    auto controller = launch();
    controller->defaults().setOverride(support::Pref::Export, true);
    controller->fileList().joinClips({sound("a.wav"), sound("b.wav"), sound("c.wav")});
    // Cancel pressed as the second file is announced, before its write begins.
    messages.onText = [&](const QString& text) {
        if (text.contains("(2 of 3)"))
            controller->cancelOp();
    };
    const auto written = controller->exportMoviesToFolder(dir() / "out");
    ASSERT_EQ(written.size(), 2u);
    EXPECT_TRUE(fs::exists(dir() / "out" / "a.wav.wav"));
    EXPECT_TRUE(fs::exists(dir() / "out" / "b.wav.wav"));
    EXPECT_FALSE(fs::exists(dir() / "out" / "c.wav.wav"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir() / "out"), fs::directory_iterator()), 2) << "no partial file";
    EXPECT_EQ(controller->indexOfCurrentMovieBeingExported(), 1);
    EXPECT_FALSE(controller->exportInProgress());
    EXPECT_TRUE(alerts.alerts().empty()) << "a cancel is no failure";
    // The tile showed the pie per file, then the icon again.
    EXPECT_FALSE(dockTile.isShowingProgress());
}

} // namespace
