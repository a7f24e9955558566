// The component table, the settings of a component instance, settings files,
// and a join written through a component.

#include "Ffprobe.h"
#include "MediaFixtures.h"
#include "join/ComponentTable.h"
#include "join/ExporterSettings.h"
#include "join/JoinEngine.h"
#include "join/SettingsFile.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace {

namespace fs = std::filesystem;

media::ExportComponent makeComponent(const std::string& name, const char (&subtype)[5],
                                     media::FourCharCode manufacturer, const std::string& extension = "mov") {
    media::ExportComponent component;
    component.name = name;
    component.info = name + " info";
    component.extension = extension;
    component.subtype = media::makeFourCharCode(subtype);
    component.manufacturer = manufacturer;
    component.writesVideo = component.writesSound = true;
    component.videoEncoders = {"libx264", "mpeg4"};
    component.audioEncoders = {"aac"};
    return component;
}

// A dialog answering as scripted, remembering what it was shown.
class ScriptedDialog final : public join::ExportSettingsDialog {
public:
    std::expected<std::optional<media::ExportSettings>, media::Error> answer;
    std::optional<media::ExportSettings> shown;

    std::expected<std::optional<media::ExportSettings>, media::Error>
    run(const media::ExportComponent&, const media::ExportSettings& current) override {
        shown = current;
        return answer;
    }
};

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
    EXPECT_EQ(movie->info, "Movie info");
    EXPECT_EQ(movie->manufacturer, maker);
    ASSERT_TRUE(movie->exporter);
    EXPECT_EQ(table.find("Sound [WAVE]")->extension, "");

    // Rebuilding starts over.
    join::BuildComponentTable(table, {makeComponent("Other", "othr", maker)});
    EXPECT_EQ(table.titles(), QStringList({"Other [othr,FFmp]"}));
    EXPECT_EQ(join::componentTitle("Name", "sub ", ""), "Name [sub ]");
}

TEST(ComponentTableTest, TheBuildsOwnComponentsHaveUniqueTitlesAndDottedExtensions) {
    join::ComponentTable table;
    join::BuildComponentTable(table);
    ASSERT_FALSE(table.isEmpty());
    EXPECT_TRUE(table.contains("QuickTime Movie [MooV,FFmp]"));
    EXPECT_EQ(table.titles().removeDuplicates(), 0);
    for (const QString& title : table.titles())
        EXPECT_TRUE(table.find(title)->extension.startsWith('.')) << title.toStdString();
}

TEST(ExporterSettingsTest, LoadsEditsAndAnswersTheInstancesSettings) {
    join::ComponentTable table;
    join::BuildComponentTable(table, {makeComponent("Movie", "MooV", 0)});
    const join::ComponentDescription description = *table.find("Movie [MooV]");
    ScriptedDialog dialog;
    std::ostringstream console;

    // Without a dialog: the instance's current settings (its defaults at first).
    const auto defaults = join::ExporterSettings(description, std::nullopt, false, &dialog, console);
    ASSERT_TRUE(defaults.has_value());
    EXPECT_EQ(*media::decodeExportSettings(*defaults), media::ExportSettings{});
    EXPECT_FALSE(dialog.shown.has_value());

    // Loaded bytes are what the dialog starts from; its answer is what comes back.
    media::ExportSettings stored;
    stored.videoEncoder = "mpeg4";
    media::ExportSettings edited = stored;
    edited.width = 320;
    edited.height = 240;
    dialog.answer = edited;
    const auto answered =
        join::ExporterSettings(description, media::encodeExportSettings(stored), true, &dialog, console);
    ASSERT_TRUE(answered.has_value());
    EXPECT_EQ(dialog.shown, stored);
    EXPECT_EQ(*media::decodeExportSettings(*answered), edited);

    // Cancelled: none, and the instance keeps what it had.
    dialog.answer = std::optional<media::ExportSettings>();
    EXPECT_FALSE(join::ExporterSettings(description, std::nullopt, true, &dialog, console).has_value());
    EXPECT_EQ(description.exporter->settings(), edited);
    EXPECT_TRUE(console.str().empty());

    // A failing dialog is told on the console.
    dialog.answer = std::unexpected(media::Error{-50, "the dialog failed"});
    EXPECT_FALSE(join::ExporterSettings(description, std::nullopt, true, &dialog, console).has_value());
    EXPECT_NE(console.str().find("JoinClip error: -50 when calling MovieExportDoUserDialog"),
              std::string::npos);

    // Damaged bytes, or bytes naming an encoder this component lacks, are not loaded.
    console.str("");
    media::ExportSettings foreign;
    foreign.videoEncoder = "libvpx";
    for (const QByteArray& bytes : {QByteArray("garbage"), media::encodeExportSettings(foreign)}) {
        const auto kept = join::ExporterSettings(description, bytes, false, &dialog, console);
        ASSERT_TRUE(kept.has_value());
        EXPECT_EQ(*media::decodeExportSettings(*kept), edited);
    }
    EXPECT_NE(console.str().find("JoinClip error"), std::string::npos);

    join::ComponentDescription noInstance = description;
    noInstance.exporter.reset();
    EXPECT_FALSE(join::ExporterSettings(noInstance, std::nullopt, false, &dialog, console).has_value());
    EXPECT_TRUE(join::ComponentHasUserInterface(media::kExportComponentType, description.exporter.get()));
    EXPECT_FALSE(
        join::ComponentHasUserInterface(media::makeFourCharCode("eat "), description.exporter.get()));
    EXPECT_FALSE(join::ComponentHasUserInterface(media::kExportComponentType, nullptr));
}

class SettingsFileTest : public ::testing::Test {
protected:
    fs::path dir() const { return m_dir.path().toStdString(); }
    QTemporaryDir m_dir;
};

TEST_F(SettingsFileTest, AllSettingsRoundTripThroughAnXmlPropertyList) {
    join::SettingsDictionary settings;
    settings.insert("QuickTime Movie [MooV,FFmp]", media::encodeExportSettings({}));
    settings.insert("Not installed [none]", QByteArray("\x00\x01\xff", 3));
    settings.insert("Empty", QByteArray());
    const fs::path file = dir() / "Settings.qxst";
    ASSERT_TRUE(join::writeSettingsFile(file, settings));
    std::ifstream in(file);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("<plist"), std::string::npos);
    EXPECT_NE(text.find("<data>"), std::string::npos);
    EXPECT_EQ(join::readSettingsFile(file), settings);

    // Through the preferences' form too.
    EXPECT_EQ(join::settingsFromPreferenceValue(join::settingsPreferenceValue(settings)), settings);
    EXPECT_TRUE(join::settingsFromPreferenceValue(QVariant(QString("not a dictionary"))).isEmpty());
}

TEST_F(SettingsFileTest, FilesThatAreNotSettingsAreIgnoredAndAFailedSaveKeepsTheOldFile) {
    const auto write = [&](const char* name, const QByteArray& bytes) {
        const fs::path file = dir() / name;
        std::ofstream(file, std::ios::binary).write(bytes.constData(), bytes.size());
        return file;
    };
    EXPECT_FALSE(join::readSettingsFile(write("text.qxst", "just text")).has_value());
    EXPECT_FALSE(join::readSettingsFile(write("array.qxst", "<?xml version=\"1.0\"?><plist version=\"1.0\">"
                                                            "<array><data>AAE=</data></array></plist>"))
                     .has_value());
    EXPECT_FALSE(join::readSettingsFile(dir() / "missing.qxst").has_value());
    // Values that are not bytes cannot be settings; the rest are kept.
    const auto mixed = join::readSettingsFile(write(
        "mixed.qxst", "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>A</key><data>AAE=</data>"
                      "<key>B</key><string>text</string></dict></plist>"));
    ASSERT_TRUE(mixed.has_value());
    EXPECT_EQ(mixed->keys(), QStringList({"A"}));
    // A binary property list is read as well: {"A": <01>}.
    const auto binary = join::readSettingsFile(
        write("binary.qxst",
              QByteArray::fromHex("62706c6973743030d1010251414101080b0d00000000000001010000000000000003"
                                  "0000000000000000000000000000000f")));
    ASSERT_TRUE(binary.has_value());
    EXPECT_EQ(binary->value("A"), QByteArray("\x01", 1));

    // Writing into a folder that is not there fails and leaves nothing.
    EXPECT_FALSE(join::writeSettingsFile(dir() / "missing" / "Settings.qxst", {{"A", QByteArray("x")}}));
    EXPECT_FALSE(fs::exists(dir() / "missing"));
    // A failed write never replaces a good file: a key holding U+0000 has no property-list form.
    const fs::path good = dir() / "good.qxst";
    ASSERT_TRUE(join::writeSettingsFile(good, {{"A", QByteArray("x")}}));
    EXPECT_FALSE(join::writeSettingsFile(good, {{QString(QChar(0)), QByteArray("y")}}));
    EXPECT_EQ(join::readSettingsFile(good)->value("A"), QByteArray("x"));
}

class RecordingDelegate final : public join::JoinDelegate {
public:
    void showSpinner(bool) override {}
    void message(const QString&) override {}
    bool shouldContinueOperation(int, double, const fs::path&) override { return true; }
};

TEST_F(SettingsFileTest, AJoinThroughAComponentUsesItsSettingsOrItsDefaults) {
    fixtures::quietFfmpegLogs();
    fixtures::ClipSpec clipSpec;
    clipSpec.frames = 10;
    const fs::path clip = fixtures::makeClip(dir(), "clip.mp4", clipSpec);
    join::ComponentTable table;
    join::BuildComponentTable(table);
    const join::ComponentDescription* webm = table.find("WebM [WebM,FFmp]");
    ASSERT_NE(webm, nullptr);

    join::JoinRequest request;
    request.movies = {*media::Movie::open(clip), *media::Movie::open(clip)};
    request.titles = {"One", "Two"};
    request.component = *webm;
    request.flatten = false; // has no say in an export
    media::ExportSettings settings;
    settings.videoEncoder = "libvpx";
    settings.width = 80;
    settings.height = 60;
    request.exportSettings = media::encodeExportSettings(settings);
    request.destFilePath = dir() / "set.webm";
    RecordingDelegate delegate;
    ASSERT_TRUE(join::appendMovies(request, delegate).has_value());
    QJsonObject video = oracle::probe(request.destFilePath)["streams"].toArray()[0].toObject();
    EXPECT_EQ(video["codec_name"].toString(), "vp8");
    EXPECT_EQ(video["width"].toInt(), 80);

    // Damaged settings: the component's defaults, and the file is still written.
    request.exportSettings = QByteArray("damaged");
    request.destFilePath = dir() / "defaults.webm";
    ASSERT_TRUE(join::appendMovies(request, delegate).has_value());
    video = oracle::probe(request.destFilePath)["streams"].toArray()[0].toObject();
    EXPECT_EQ(video["codec_name"].toString(), "vp9");
    EXPECT_EQ(video["width"].toInt(), clipSpec.width);

    // A component this build lacks writes nothing.
    join::ComponentDescription missing = *webm;
    missing.subtype = media::makeFourCharCode("none");
    request.component = missing;
    request.destFilePath = dir() / "missing.webm";
    EXPECT_FALSE(join::appendMovies(request, delegate).has_value());
    EXPECT_FALSE(fs::exists(request.destFilePath));
}

} // namespace
