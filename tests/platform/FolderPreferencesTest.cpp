#include "platform/FolderPreferences.h"

#include "ScopedEnvironment.h"
#include "ScriptedFolderChooser.h"
#include "TestFolder.h"
#include "platform/FileReference.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using platform::ChooseFolderPreference;
using platform::ClearFolderPreference;
using platform::CopyDestinationFolderPath;
using platform::CopyFolderPreference;
using platform::CopyOutputFolderPath;
using platform::folderPreferenceDisplayText;
using platform::Preferences;
using testing_support::ScopedEnvironment;

const QString kKey = QStringLiteral("DestinationDirectory");
const platform::FolderQuestion kQuestion{"Choose", "Choose", "Choose destination folder"};

class FolderPreferencesTest : public ::testing::Test {
protected:
    const fs::path& root() const { return m_folder.path(); }
    fs::path preferencesFile() const { return root() / "preferences.plist"; }
    fs::path makeFolder(const fs::path& relative) const {
        fs::create_directories(root() / relative);
        return root() / relative;
    }
    fs::path folderOfPathSize(std::size_t size) const {
        fs::path folder = root();
        while (folder.native().size() + 1 + 200 < size)
            folder /= std::string(200, 'd');
        folder /= std::string(size - folder.native().size() - 1, 'e');
        fs::create_directories(folder);
        EXPECT_EQ(folder.native().size(), size);
        return folder;
    }
    const testing_support::TestFolder m_folder;
    Preferences m_preferences{preferencesFile()};
};

TEST_F(FolderPreferencesTest, AChosenFolderIsKeptWrittenFollowedWhenRenamedAndCleared) {
    const fs::path folder = makeFolder("Exports");
    testing_support::ScriptedFolderChooser chooser(folder);
    EXPECT_EQ(ChooseFolderPreference(m_preferences, chooser, kQuestion, kKey),
              QFile::decodeName(folder.c_str()));
    EXPECT_EQ(chooser.lastQuestion(),
              (QStringList{kQuestion.title, kQuestion.actionLabel, kQuestion.message}))
        << "the chooser shows the question as the caller wrote it";
    EXPECT_EQ(m_preferences.value(kKey), QVariant(platform::getAlias(folder)));
    EXPECT_EQ(CopyFolderPreference(Preferences(preferencesFile()), kKey), folder);
    fs::rename(folder, root() / "Finished");
    EXPECT_EQ(CopyFolderPreference(m_preferences, kKey), root() / "Finished");
    // A folder too long to show is still kept.
    chooser.setAnswer(folderOfPathSize(255));
    EXPECT_EQ(ChooseFolderPreference(m_preferences, chooser, kQuestion, kKey), std::nullopt);
    EXPECT_EQ(CopyFolderPreference(m_preferences, kKey), folderOfPathSize(255));
    ClearFolderPreference(m_preferences, kKey);
    EXPECT_FALSE(m_preferences.contains(kKey));
    EXPECT_FALSE(Preferences(preferencesFile()).contains(kKey));
}

TEST_F(FolderPreferencesTest, ChoosingNothingOrWhatIsNoFolderChangesNothing) {
    m_folder.write("file.mov");
    for (const std::optional<fs::path>& chosen :
         {std::optional<fs::path>(), std::optional(root() / "file.mov"), std::optional(root() / "missing")}) {
        testing_support::ScriptedFolderChooser chooser(chosen);
        EXPECT_EQ(ChooseFolderPreference(m_preferences, chooser, kQuestion, kKey), std::nullopt);
        EXPECT_EQ(chooser.runs(), 1);
        EXPECT_FALSE(m_preferences.contains(kKey));
    }
    const fs::path folder = makeFolder("Exports");
    ASSERT_TRUE(m_preferences.setValue(kKey, platform::getAlias(folder)));
    testing_support::ScriptedFolderChooser cancelled;
    EXPECT_EQ(ChooseFolderPreference(m_preferences, cancelled, kQuestion, kKey), std::nullopt);
    EXPECT_EQ(CopyFolderPreference(m_preferences, kKey), folder);
}

TEST_F(FolderPreferencesTest, OnlyFileReferenceDataToAFolderIsAFolderPreference) {
    EXPECT_EQ(CopyFolderPreference(m_preferences, kKey), std::nullopt) << "absent";
    const fs::path folder = makeFolder("Exports");
    for (const QVariant& value : {QVariant(QString::fromStdString(folder.native())), QVariant(QByteArray()),
                                  QVariant(QByteArray("not reference data")), QVariant(qint64{7})}) {
        ASSERT_TRUE(m_preferences.setValue(kKey, value));
        EXPECT_EQ(CopyFolderPreference(m_preferences, kKey), std::nullopt) << value.typeName();
    }
    m_folder.write("file.mov");
    ASSERT_TRUE(m_preferences.setValue(kKey, platform::getAlias(root() / "file.mov")));
    EXPECT_EQ(CopyFolderPreference(m_preferences, kKey), std::nullopt) << "a file";
    ASSERT_TRUE(m_preferences.setValue(kKey, platform::getAlias(folder)));
    fs::remove(folder);
    EXPECT_EQ(CopyFolderPreference(m_preferences, kKey), std::nullopt) << "gone";
}

TEST_F(FolderPreferencesTest, OutputFolderHasNoFallbackAndFoldersForUseFitIn1022Bytes) {
    const ScopedEnvironment home("HOME", QByteArray::fromStdString(root().native()));
    makeFolder("Downloads");
    EXPECT_EQ(CopyOutputFolderPath(m_preferences), std::nullopt);
    const fs::path fits = folderOfPathSize(1022), tooLong = folderOfPathSize(1023);
    ASSERT_TRUE(m_preferences.setValue(QStringLiteral("OutputDirectory"), platform::getAlias(fits)));
    EXPECT_EQ(CopyOutputFolderPath(m_preferences), fits);
    ASSERT_TRUE(m_preferences.setValue(QStringLiteral("OutputDirectory"), platform::getAlias(tooLong)));
    EXPECT_EQ(CopyOutputFolderPath(m_preferences), std::nullopt);
    ASSERT_TRUE(m_preferences.setValue(kKey, platform::getAlias(tooLong)));
    EXPECT_EQ(CopyDestinationFolderPath(m_preferences), std::nullopt);
}

TEST_F(FolderPreferencesTest,
       DestinationFolderIsThePreferenceElseTheDownloadFolderAndDisplayTextsFitIn254Bytes) {
    const ScopedEnvironment home("HOME", QByteArray::fromStdString(root().native()));
    const ScopedEnvironment config("XDG_CONFIG_HOME",
                                   QByteArray::fromStdString((root() / "config").native()));
    m_folder.write("config/user-dirs.dirs", "XDG_DOWNLOAD_DIR=\"$HOME/Fetched\"\n");
    EXPECT_EQ(CopyDestinationFolderPath(m_preferences), std::nullopt) << "no such folder yet";
    const fs::path downloads = makeFolder("Fetched");
    EXPECT_EQ(CopyDestinationFolderPath(m_preferences), downloads);
    ASSERT_TRUE(m_preferences.setValue(kKey, QByteArray("unresolvable")));
    EXPECT_EQ(CopyDestinationFolderPath(m_preferences), downloads);
    const fs::path folder = makeFolder("Destination");
    ASSERT_TRUE(m_preferences.setValue(kKey, platform::getAlias(folder)));
    EXPECT_EQ(CopyDestinationFolderPath(m_preferences), folder);
    EXPECT_EQ(folderPreferenceDisplayText(std::nullopt), QString());
    const std::string fits = "/" + std::string(253, 'a');
    EXPECT_EQ(folderPreferenceDisplayText(fs::path(fits)), QString::fromStdString(fits));
    EXPECT_EQ(folderPreferenceDisplayText(fs::path(fits + "a")), QString());
}

} // namespace
