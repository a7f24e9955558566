#include "PreferencesHarness.h"
#include "join/SettingsFile.h"
#include "support/LocalizedString.h"
#include "support/PreferenceKeys.h"
#include "ui/ComponentSettingsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <set>

namespace testing_support {
namespace {

using support::Pref;

class PreferencesWindowTest : public PreferencesHarness {};

// Every preference the table says a bound control writes has exactly one
// control, and no control names a key the table lacks.
TEST_F(PreferencesWindowTest, EveryBoundPreferenceHasOneControl) {
    std::multiset<QString> bound;
    for (QWidget* widget : window().findChildren<QWidget*>())
        if (const QVariant key = widget->property("preferenceKey"); key.isValid())
            bound.insert(key.toString());
    std::multiset<QString> expected;
    for (const char* key : {"PreserveDates",
                            "OpenFile",
                            "DisplayFullPath",
                            "AutostartViewer",
                            "RememberFileList",
                            "ClearListWhenAddingFiles",
                            "Export",
                            "Flatten",
                            "Chapterize",
                            "CheckForSoftwareUpdates",
                            "AllowOverwrite",
                            "PromptForFilename",
                            "saveFrameFormat",
                            "convertSoundToMovie",
                            "timeStampName",
                            "useLZWForTIFF",
                            "compressionQuality",
                            "DesiredDuration",
                            "IndexColumn",
                            "IconColumn",
                            "FilenameColumn",
                            "TitleColumn",
                            "DurationColumn",
                            "DateModifiedColumn",
                            "DateCreatedColumn",
                            "SizeColumn",
                            "EXIFDateTimeColumn"})
        expected.insert(key);
    EXPECT_EQ(bound, expected);
}

// Each kind of control: what a fresh store shows (the table's defaults), then
// a change is in the store at once and a new window after a restart shows it.
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
        {"saveFrameFormatPopupButton", Pref::SaveFrameFormat, 0, 4},
        {"compressionQualityField", Pref::CompressionQuality, 1.0, 0.55},
        {"desiredDurationField", Pref::DesiredDuration, 0.0, 90.5},
    };
    const auto shown = [this](const char* name) -> QVariant {
        QWidget& widget = control<QWidget>(name);
        if (auto* box = qobject_cast<QCheckBox*>(&widget))
            return box->isChecked();
        if (auto* menu = qobject_cast<QComboBox*>(&widget))
            return menu->currentIndex();
        return qobject_cast<QDoubleSpinBox*>(&widget)->value();
    };
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
        EXPECT_EQ(controller().defaults().value(c.pref).toString(), c.changed.toString());
    }
    relaunch();
    for (const Case& c : cases)
        EXPECT_EQ(shown(c.control).toString(), c.changed.toString()) << c.control;
}

TEST_F(PreferencesWindowTest, ColumnSwitchesAndTheFullPathOptionTellTheTable) {
    int columns = 0;
    QStringList changed;
    QObject::connect(&window(), &ui::PreferencesWindow::columnsChanged, [&] { ++columns; });
    QObject::connect(&window(), &ui::PreferencesWindow::preferenceChanged,
                     [&](const QString& key) { changed << key; });
    control<QCheckBox>("exifDateTimeColumnCheckBox").click();
    control<QCheckBox>("displayFullPathCheckBox").click();
    control<QCheckBox>("openFileCheckBox").click();
    EXPECT_EQ(columns, 2);
    EXPECT_EQ(changed, QStringList({"EXIFDateTimeColumn", "DisplayFullPath", "OpenFile"}));
    EXPECT_FALSE(controller().defaults().boolValue(Pref::EXIFDateTimeColumn));
}

TEST_F(PreferencesWindowTest, TheSettingsButtonsFollowTheSelectedComponent) {
    auto& menu = control<QComboBox>("componentPopupButton");
    ASSERT_EQ(menu.count(), 3);
    EXPECT_EQ(menu.itemData(0, Qt::ToolTipRole).toString(), "Movie files");
    const char* buttons[] = {"exportSettingsButton", "exportSaveSettingsButton", "exportLoadSettingsButton"};
    for (const auto& [index, enabled] : {std::pair{2, false}, std::pair{0, true}}) {
        menu.setCurrentIndex(index);
        emit menu.activated(index);
        for (const char* button : buttons)
            EXPECT_EQ(control<QPushButton>(button).isEnabled(), enabled) << button << " " << index;
    }
    // The chosen component is kept across a restart, with its buttons' state.
    menu.setCurrentIndex(2);
    emit menu.activated(2);
    relaunch();
    EXPECT_EQ(control<QComboBox>("componentPopupButton").currentIndex(), 2);
    EXPECT_FALSE(control<QPushButton>("exportSettingsButton").isEnabled());
}

// The settings button opens the component's form as a sheet; OK stores what
// was edited under the component's title, Cancel keeps what was there.
TEST_F(PreferencesWindowTest, TheSettingsFormEditsTheStoredSettings) {
    const auto editAndAnswer = [](int quality, QDialogButtonBox::StandardButton answer) {
        whenModalShown([=](QWidget& modal) {
            ASSERT_NE(qobject_cast<ui::ComponentSettingsForm*>(&modal), nullptr);
            EXPECT_EQ(modal.windowModality(), Qt::WindowModal);
            child<QSpinBox>(modal, "quality").setValue(quality);
            child<QComboBox>(modal, "channels").setCurrentIndex(1);
            child<QDialogButtonBox>(modal, "buttonBox").button(answer)->click();
        });
    };
    editAndAnswer(20, QDialogButtonBox::Ok);
    control<QPushButton>("exportSettingsButton").click();
    const QString title = controller().componentTable().titles().constFirst();
    auto settings =
        media::decodeExportSettings(controller().exportSettingsForComponentDictionary().value(title));
    ASSERT_TRUE(settings.has_value());
    EXPECT_EQ(settings->quality, 20);
    EXPECT_EQ(settings->channels, 1);
    EXPECT_EQ(settings->videoEncoder, "");

    editAndAnswer(30, QDialogButtonBox::Cancel);
    control<QPushButton>("exportSettingsButton").click();
    settings = media::decodeExportSettings(controller().exportSettingsForComponentDictionary().value(title));
    ASSERT_TRUE(settings.has_value());
    EXPECT_EQ(settings->quality, 20);
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
        m_chooser.setAnswer(folder);
        control<QPushButton>(row.choose).click();
        EXPECT_EQ(control<QLineEdit>(row.field).text(), QString::fromStdString(folder.string()));
        relaunch();
        EXPECT_EQ(control<QLineEdit>(row.field).text(), QString::fromStdString(folder.string()));
        m_chooser.setAnswer(std::nullopt);
        control<QPushButton>(row.choose).click();
        EXPECT_EQ(control<QLineEdit>(row.field).text(), QString::fromStdString(folder.string()));
        control<QPushButton>(row.open).click();
        ASSERT_FALSE(m_desktop.opened().empty());
        EXPECT_EQ(m_desktop.opened().back(), folder);

        control<QPushButton>(row.clear).click();
        EXPECT_EQ(control<QLineEdit>(row.field).text(), QString());
        EXPECT_FALSE(controller().defaults().isPresent(row.pref));
        control<QPushButton>(row.open).click();
        ASSERT_FALSE(m_alerts.alerts().empty());
        EXPECT_EQ(m_alerts.alerts().back().message, row.unsetAlert);
    }
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
    ui::ComponentSettingsForm form(m_components[0], media::ExportSettings{});
    support::resetLocalizedStringsForTesting();
    const QStringList sameInGerman{
        "OK",    "TIFF",           "BMP",       "GIF",   "JPEG",     "PNG",  "JPEG 2000",
        "Index", "EXIF Date Time", "Downloads", "Video", "Encoder:", "Mono", "Stereo"};
    for (const QString& same : sameInGerman)
        untranslated.removeAll(same);
    EXPECT_TRUE(untranslated.isEmpty()) << untranslated.join(" | ").toStdString();
}

} // namespace
} // namespace testing_support
