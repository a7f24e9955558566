// The component table, the settings of a component instance, and settings
// files. A join written through a component is JoinJobTest's.

#include "FileContents.h"
#include "RecordingConsole.h"
#include "ScriptedSettingsDialog.h"
#include "TestComponent.h"
#include "TestFolder.h"
#include "join/ComponentTable.h"
#include "join/LoadAndEditExporterSettings.h"
#include "join/SettingsFile.h"

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using testing_support::RecordingConsole;

media::ExportComponent makeComponent(const std::string& name, const char (&subtype)[5],
                                     media::FourCharCode manufacturer, const std::string& extension = "mov") {
    return testing_support::testComponent(name, media::makeFourCharCode(subtype), manufacturer, extension);
}

TEST(ComponentTableTest, TitlesNameSubtypeAndManufacturerAndTheFirstOfTwoWins) {
    const media::FourCharCode maker = media::makeFourCharCode("FFmp");
    join::ComponentTable table;
    join::BuildComponentTable(table, {makeComponent("Movie", "MooV", maker, "mov"),
                                      makeComponent("Movie", "MooV", maker, "qt"), // same title: left out
                                      makeComponent("Sound", "WAVE", 0, ""),       // no manufacturer text
                                      makeComponent("", "none", maker)});          // no name: left out
    EXPECT_EQ(table.titles(), QStringList({"Movie [MooV,FFmp]", "Sound [WAVE]"}));
    const join::ComponentDescription* movie = table.find("Movie [MooV,FFmp]");
    ASSERT_NE(movie, nullptr);
    EXPECT_EQ(movie->extension, ".mov"); // the first one's
    EXPECT_EQ(movie->manufacturer, maker);
    ASSERT_TRUE(movie->exporter);
    EXPECT_EQ(table.find("Sound [WAVE]")->extension, "");
    // Rebuilding starts over.
    join::BuildComponentTable(table, {makeComponent("Other", "othr", maker)});
    EXPECT_EQ(table.titles(), QStringList({"Other [othr,FFmp]"}));
    // The build's own components: unique titles, dotted extensions.
    join::BuildComponentTable(table);
    EXPECT_TRUE(table.contains("QuickTime Movie [MooV,FFmp]"));
    EXPECT_EQ(table.titles().removeDuplicates(), 0);
    for (const QString& title : table.titles())
        EXPECT_TRUE(table.find(title)->extension.startsWith('.')) << title.toStdString();
}

TEST(ExporterSettingsTest, LoadsEditsAndAnswersTheInstancesSettings) {
    join::ComponentTable table;
    join::BuildComponentTable(table, {makeComponent("Movie", "MooV", 0)});
    const join::ComponentDescription description = *table.find("Movie [MooV]");
    testing_support::ScriptedSettingsDialog dialog;
    RecordingConsole console;
    const auto settingsOf = [&](const std::optional<QByteArray>& bytes, bool showDialog) {
        return join::loadAndEditExporterSettings(description, bytes, showDialog, &dialog, console);
    };
    // Without a dialog: the instance's current settings (its defaults at first).
    EXPECT_EQ(*media::decodeExportSettings(*settingsOf(std::nullopt, false)), media::ExportSettings{});
    EXPECT_EQ(dialog.runs, 0);
    // Loaded bytes are what the dialog starts from; its answer is what comes back.
    media::ExportSettings stored;
    stored.videoEncoder = "mpeg4";
    media::ExportSettings edited = stored;
    edited.width = 320;
    edited.height = 240;
    dialog.answer = edited;
    const auto answered = settingsOf(media::encodeExportSettings(stored), true);
    ASSERT_TRUE(answered.has_value());
    EXPECT_EQ(dialog.shown, stored);
    EXPECT_EQ(*media::decodeExportSettings(*answered), edited);
    // Cancelled: none, and the instance keeps what it had.
    dialog.answer = std::optional<media::ExportSettings>();
    EXPECT_FALSE(settingsOf(std::nullopt, true).has_value());
    EXPECT_EQ(description.exporter->settings(), edited);
    EXPECT_TRUE(console.lines().isEmpty());
    // A failing dialog is told on the console.
    dialog.answer = std::unexpected(media::Error{-50, "the dialog failed"});
    EXPECT_FALSE(settingsOf(std::nullopt, true).has_value());
    EXPECT_EQ(console.lines(), QStringList{"JoinClip error: -50 when calling MovieExportDoUserDialog"});
    // Damaged bytes, or bytes naming an encoder this component lacks, are told and not loaded.
    media::ExportSettings foreign;
    foreign.videoEncoder = "libvpx";
    for (const QByteArray& bytes : {QByteArray("garbage"), media::encodeExportSettings(foreign)})
        EXPECT_EQ(*media::decodeExportSettings(*settingsOf(bytes, false)), edited);
    EXPECT_EQ(console.lines().size(), 3);
    join::ComponentDescription noInstance = description;
    noInstance.exporter.reset();
    EXPECT_FALSE(join::loadAndEditExporterSettings(noInstance, std::nullopt, false, &dialog, console));
    EXPECT_TRUE(join::ComponentHasUserInterface(media::kExportComponentType, description.exporter.get()));
    EXPECT_FALSE(
        join::ComponentHasUserInterface(media::makeFourCharCode("eat "), description.exporter.get()));
    EXPECT_FALSE(join::ComponentHasUserInterface(media::kExportComponentType, nullptr));
}

class SettingsFileTest : public ::testing::Test {
protected:
    fs::path write(const char* name, const QByteArray& bytes) const {
        return m_folder.write(name, bytes.toStdString());
    }
    testing_support::TestFolder m_folder;
};

TEST_F(SettingsFileTest, SettingsRoundTripAndFilesThatAreNotSettingsAreIgnored) {
    join::SettingsDictionary settings;
    settings.insert("QuickTime Movie [MooV,FFmp]", media::encodeExportSettings({}));
    settings.insert("Not installed [none]", QByteArray("\x00\x01\xff", 3));
    settings.insert("Empty", QByteArray());
    const fs::path file = m_folder.path() / "Settings.qxst";
    ASSERT_TRUE(join::writeSettingsFile(file, settings));
    EXPECT_TRUE(testing_support::contentsOf(file).starts_with("<?xml")) << "an XML property list";
    EXPECT_EQ(join::readSettingsFile(file), settings);
    // Through the preferences' form too.
    EXPECT_EQ(join::settingsFromPreferenceValue(join::settingsPreferenceValue(settings)), settings);
    EXPECT_TRUE(join::settingsFromPreferenceValue(QVariant(QString("not a dictionary"))).isEmpty());
    // How property lists are read and written is tests/platform's; a settings file is a dictionary of bytes.
    EXPECT_FALSE(join::readSettingsFile(write("text.qxst", "just text")).has_value());
    EXPECT_FALSE(join::readSettingsFile(m_folder.path() / "missing.qxst").has_value());
    // Values that are not bytes cannot be settings; the rest are kept.
    const auto mixed = join::readSettingsFile(write(
        "mixed.qxst", "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>A</key><data>AAE=</data>"
                      "<key>B</key><string>text</string></dict></plist>"));
    ASSERT_TRUE(mixed.has_value());
    EXPECT_EQ(mixed->keys(), QStringList({"A"}));
    // A failed write never replaces a good file: a key holding U+0000 has no property-list form.
    const fs::path good = m_folder.path() / "good.qxst";
    ASSERT_TRUE(join::writeSettingsFile(good, {{"A", QByteArray("x")}}));
    EXPECT_FALSE(join::writeSettingsFile(good, {{QString(QChar(0)), QByteArray("y")}}));
    EXPECT_EQ(join::readSettingsFile(good)->value("A"), QByteArray("x"));
}

} // namespace
