// The preferences window, its settings form and its panels, driven as a user drives them.

#include "PreferencesHarness.h"
#include "support/LocalizedString.h"
#include "support/PreferenceKeys.h"
#include "ui/ComponentSettingsDialog.h"
#include "ui/ComponentSettingsPanels.h"
#include "ui/FolderChooser.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>

namespace testing_support {
namespace {

using support::Pref;

using PreferencesWindowTest = PreferencesHarness;

// Each kind of control: what a fresh store shows (the table's defaults), then
// a change is in the store at once and a new window after a restart shows it.
// The table hears of the column and full-path switches.
TEST_F(PreferencesWindowTest, ChangesAreStoredAtOnceAndSurviveARestart) {
    struct Case {
        const char* control;
        Pref pref;
        QVariant shownWhenAbsent, changed;
    };
    const Case cases[] = {
        {"flattenCheckBox", Pref::Flatten, true, false},
        {"exportCheckBox", Pref::Export, false, true},
        {"sizeColumnCheckBox", Pref::SizeColumn, true, false},
        {"displayFullPathCheckBox", Pref::DisplayFullPath, false, true},
        {"saveFrameFormatPopupButton", Pref::SaveFrameFormat, 0, 4},
        {"desiredDurationField", Pref::DesiredDuration, 0.0, 90.5},
    };
    const auto shown = [this](const char* name) -> QVariant {
        QWidget& widget = control<QWidget>(name);
        if (auto* box = qobject_cast<QCheckBox*>(&widget))
            return box->isChecked();
        auto* menu = qobject_cast<QComboBox*>(&widget);
        return menu ? QVariant(menu->currentIndex()) : qobject_cast<QDoubleSpinBox*>(&widget)->value();
    };
    int columnsChanged = 0;
    QStringList changed;
    QObject::connect(&window(), &ui::PreferencesWindow::columnsChanged, [&] { ++columnsChanged; });
    QObject::connect(&window(), &ui::PreferencesWindow::preferenceChanged,
                     [&](const QString& key) { changed << key; });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.control);
        EXPECT_EQ(shown(c.control), c.shownWhenAbsent);
        QWidget& widget = control<QWidget>(c.control);
        if (auto* box = qobject_cast<QCheckBox*>(&widget))
            box->click();
        else if (auto* menu = qobject_cast<QComboBox*>(&widget))
            menu->setCurrentIndex(c.changed.toInt());
        else
            qobject_cast<QDoubleSpinBox*>(&widget)->setValue(c.changed.toDouble());
        EXPECT_EQ(defaults().value(c.pref).toString(), c.changed.toString());
        EXPECT_EQ(changed.takeFirst(), support::preferenceName(c.pref));
    }
    EXPECT_EQ(columnsChanged, 2);
    relaunch();
    for (const Case& c : cases)
        EXPECT_EQ(shown(c.control).toString(), c.changed.toString()) << c.control;
}

TEST_F(PreferencesWindowTest, TheSettingsButtonsFollowTheSelectedComponent) {
    auto& menu = control<QComboBox>("componentPopupButton");
    ASSERT_EQ(menu.count(), 3);
    const char* buttons[] = {"exportSettingsButton", "exportSaveSettingsButton", "exportLoadSettingsButton"};
    for (const auto& [index, enabled] : {std::pair{2, false}, std::pair{0, true}, std::pair{2, false}}) {
        menu.setCurrentIndex(index);
        emit menu.activated(index);
        for (const char* button : buttons)
            EXPECT_EQ(control<QPushButton>(button).isEnabled(), enabled) << button << " " << index;
    }
    relaunch(); // a new window shows the kept choice (keeping it is ExportComponentsTest's)
    EXPECT_EQ(control<QComboBox>("componentPopupButton").currentIndex(), 2);
}

// The settings button opens the component's form as a sheet, and OK stores
// what was edited under the component's title (that Cancel keeps the stored
// settings is ExportComponentsTest's).
TEST_F(PreferencesWindowTest, TheSettingsFormEditsTheStoredSettings) {
    whenModalShown([](QWidget& modal) {
        ASSERT_NE(qobject_cast<ui::ComponentSettingsForm*>(&modal), nullptr);
        EXPECT_EQ(modal.windowModality(), Qt::WindowModal);
        child<QSpinBox>(modal, "quality").setValue(20);
        child<QComboBox>(modal, "channels").setCurrentIndex(1);
        child<QDialogButtonBox>(modal, "buttonBox").button(QDialogButtonBox::Ok)->click();
    });
    control<QPushButton>("exportSettingsButton").click();
    const QString title = session().outputFormat().components().titles().constFirst();
    const auto stored = media::decodeExportSettings(session().outputFormat().settings().value(title));
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(std::pair(stored->quality, stored->channels), std::pair(20, 1));
}

// Both folders: choose shows and stores the folder (kept across a restart),
// a cancelled chooser changes nothing, clear forgets it, open hands it to the
// desktop, and open with no folder says so.
TEST_F(PreferencesWindowTest, FoldersAreChosenClearedAndOpened) {
    struct Row {
        const char *field, *choose, *clear, *open;
        Pref pref;
        QString unsetAlert;
    };
    const Row rows[] = {
        {"outputDirectoryTextField", "selectOutputDirectoryButton", "clearOutputDirectoryButton",
         "openDefaultOutputDirectoryButton", Pref::OutputDirectory,
         "An output directory has not been specified."},
        {"movieDownloadDestinationTextField", "selectDestinationDirectoryButton",
         "clearDestinationDirectoryButton", "openURLDownloadDirectoryButton", Pref::DestinationDirectory,
         "A URL Download directory has not been specified."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.field);
        const std::filesystem::path folder = dir() / row.field;
        std::filesystem::create_directories(folder);
        const auto field = [&] { return control<QLineEdit>(row.field).text().toStdString(); };
        m_chooser.setAnswer(folder);
        control<QPushButton>(row.choose).click();
        relaunch();
        m_chooser.setAnswer(std::nullopt);
        control<QPushButton>(row.choose).click();
        EXPECT_EQ(field(), folder.string());
        control<QPushButton>(row.open).click();
        EXPECT_EQ(m_desktop.opened().back(), folder);
        control<QPushButton>(row.clear).click();
        EXPECT_EQ(field(), "");
        EXPECT_FALSE(defaults().isPresent(row.pref));
        control<QPushButton>(row.open).click();
        auto* alert = window().findChild<QMessageBox*>("alert");
        ASSERT_TRUE(alert) << "told in an alert on the preferences window";
        EXPECT_EQ(alert->text(), row.unsetAlert);
        delete alert;
    }
}

// The real panels, answered as a user answers them: the folder chooser gives
// the folder chosen and none when cancelled; the save panel adds the required type.
TEST_F(PreferencesWindowTest, ThePanelsAnswerWhatTheUserChose) {
    const std::filesystem::path folder = dir() / "chosen";
    std::filesystem::create_directories(folder);
    const auto answer = [](const std::filesystem::path& file, bool accept) {
        whenModalShown([=](QWidget& modal) {
            auto& dialog = dynamic_cast<QFileDialog&>(modal);
            dialog.selectFile(QString::fromStdString(file.string()));
            QMetaObject::invokeMethod(&dialog, accept ? "accept" : "reject");
        });
    };
    ui::DialogFolderChooser chooser(&window());
    answer(folder, true);
    EXPECT_EQ(chooser.chooseFolder("Choose", "Choose", "Choose destination folder"), folder);
    answer(folder, false);
    EXPECT_EQ(chooser.chooseFolder("Choose", "Choose", "Choose destination folder"), std::nullopt);
    answer(folder / "Mine", true);
    EXPECT_EQ(ui::askSettingsFileToSave(window(), "qxst", "Settings"), folder / "Mine.qxst");
}

// Every text the window looks up has a German translation (a few read the same in both).
TEST_F(PreferencesWindowTest, EveryTextOfTheWindowIsTranslatedToGerman) {
    support::resetLocalizedStringsForTesting();
    ASSERT_TRUE(support::loadLocalizedStringTable(QLocale(QLocale::German)));
    QStringList untranslated;
    support::setLocalizedStringTableForTesting([&](const QString& key) {
        const QString answer = support::lookUpLocalizedStringTable(key);
        if (answer == key)
            untranslated << key;
        return answer;
    });
    ui::PreferencesWindow german;
    ui::ComponentSettingsForm form(firstComponent(), media::ExportSettings{});
    support::resetLocalizedStringsForTesting();
    const QStringList sameInGerman{
        "OK",    "TIFF",           "BMP",       "GIF",   "JPEG",     "PNG",  "JPEG 2000",
        "Index", "EXIF Date Time", "Downloads", "Video", "Encoder:", "Mono", "Stereo"};
    for (const QString& same : sameInGerman)
        untranslated.removeAll(same);
    EXPECT_TRUE(untranslated.isEmpty()) << untranslated.join(" | ").toStdString();
}

class ComponentSettingsFormTest : public PreferencesHarness {
protected:
    // Settings of the first test component, set as the command line sets them.
    media::ExportSettings settingsOf(std::initializer_list<std::pair<const char*, const char*>> fields) {
        media::ExportSettings settings;
        for (const auto& [key, value] : fields)
            EXPECT_TRUE(media::setExportSetting(firstComponent(), settings, key, value)) << key;
        return settings;
    }
};

// Values the menus do not offer, and bit rates that are not whole kbit/s,
// stay exactly as they were when the user does not touch them.
TEST_F(ComponentSettingsFormTest, UntouchedFieldsKeepTheirValues) {
    const media::ExportSettings current = settingsOf({{"video-codec", "mpeg4"},
                                                      {"video-bitrate", "1500"},
                                                      {"size", "320x240"},
                                                      {"frame-rate", "12"},
                                                      {"sample-rate", "12345"},
                                                      {"channels", "5"}});
    ui::ComponentSettingsForm form(firstComponent(), current);
    EXPECT_EQ(form.editedSettings(), current);
    EXPECT_EQ(child<QComboBox>(form, "frame-rate").currentText(), "12/1");
}

TEST_F(ComponentSettingsFormTest, EditedFieldsChangeTheirSettingsWhenTheComponentTakesThem) {
    ui::ComponentSettingsForm form(firstComponent(), {});
    child<QComboBox>(form, "video-codec").setCurrentIndex(2);
    child<QSpinBox>(form, "video-bitrate").setValue(2500);
    child<QSpinBox>(form, "width").setValue(640);
    child<QSpinBox>(form, "height").setValue(360);
    for (const auto& [name, value] :
         {std::pair{"frame-rate", "30000/1001"}, std::pair{"sample-rate", "48000"}}) {
        auto& menu = child<QComboBox>(form, name);
        menu.setCurrentIndex(menu.findData(value));
    }
    EXPECT_EQ(form.editedSettings(), settingsOf({{"video-codec", "mpeg4"},
                                                 {"video-bitrate", "2500k"},
                                                 {"size", "640x360"},
                                                 {"frame-rate", "30000/1001"},
                                                 {"sample-rate", "48000"}}));
    // A size with only one side set cannot be used: OK keeps the form open and says why.
    child<QSpinBox>(form, "height").setValue(0);
    EXPECT_FALSE(form.editedSettings().has_value());
    form.accept();
    EXPECT_NE(form.result(), QDialog::Accepted);
    EXPECT_FALSE(child<QLabel>(form, "problemTextField").isHidden());
}

} // namespace
} // namespace testing_support
