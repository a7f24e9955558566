#include "platform/FolderPreferences.h"

#include "ScopedEnvironment.h"
#include "platform/FileReference.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using platform::ChooseFolderPreference;
using platform::ClearFolderPreference;
using platform::CopyDestinationFolderPath;
using platform::CopyFolderPreference;
using platform::CopyOutputFolderPath;
using platform::folderPreferenceDisplayText;
using platform::Preferences;

const QString kKey = QStringLiteral("DestinationDirectory");
const platform::FolderQuestion kQuestion{"Choose", "Choose", "Choose destination folder"};

// Answers with the folder it was given and records what it was asked.
class ScriptedFolderChooser final : public platform::FolderChooser {
public:
    explicit ScriptedFolderChooser(std::optional<fs::path> answer) : m_answer(std::move(answer)) {}

    std::optional<fs::path> chooseFolder(const QString& title, const QString& actionLabel,
                                         const QString& message) override {
        m_questions.push_back(QStringList{title, actionLabel, message});
        return m_answer;
    }

    std::vector<QStringList> m_questions;

private:
    std::optional<fs::path> m_answer;
};

using testing_support::ScopedEnvironment;

class FolderPreferencesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid());
        m_preferences.emplace(preferencesFile());
    }

    fs::path root() const { return fs::path(m_folder.path().toStdString()); }
    fs::path preferencesFile() const { return root() / "preferences.plist"; }

    fs::path makeFolder(const fs::path& relative) const {
        fs::create_directories(root() / relative);
        return root() / relative;
    }

    // A folder whose path is exactly size bytes long.
    fs::path folderOfPathSize(std::size_t size) const {
        fs::path folder = root();
        while (folder.native().size() + 1 + 200 < size)
            folder /= std::string(200, 'd');
        folder /= std::string(size - folder.native().size() - 1, 'e');
        fs::create_directories(folder);
        EXPECT_EQ(folder.native().size(), size);
        return folder;
    }

    QTemporaryDir m_folder;
    std::optional<Preferences> m_preferences;
};

TEST_F(FolderPreferencesTest, AChosenFolderIsKeptAndWritten) {
    const fs::path folder = makeFolder("Exports");
    ScriptedFolderChooser chooser(folder);
    EXPECT_EQ(ChooseFolderPreference(*m_preferences, chooser, kQuestion, kKey),
              QFile::decodeName(folder.c_str()));
    EXPECT_EQ(m_preferences->value(kKey), QVariant(platform::getAlias(folder)));
    const Preferences reread(preferencesFile());
    EXPECT_EQ(CopyFolderPreference(reread, kKey), folder);
}

TEST_F(FolderPreferencesTest, ChoosingNothingChangesNothing) {
    const fs::path folder = makeFolder("Exports");
    ASSERT_TRUE(m_preferences->setValue(kKey, platform::getAlias(folder)));
    ScriptedFolderChooser chooser(std::nullopt);
    EXPECT_EQ(ChooseFolderPreference(*m_preferences, chooser, kQuestion, kKey), std::nullopt);
    EXPECT_EQ(CopyFolderPreference(*m_preferences, kKey), folder);
    EXPECT_EQ(chooser.m_questions, (std::vector<QStringList>{{kQuestion.title, kQuestion.actionLabel,
                                                               kQuestion.message}}))
        << "the chooser shows the question as the caller wrote it";
}

TEST_F(FolderPreferencesTest, ChoosingWhatIsNoFolderChangesNothing) {
    std::ofstream(root() / "file.mov") << "data";
    for (const fs::path& chosen : {root() / "file.mov", root() / "missing"}) {
        ScriptedFolderChooser chooser(chosen);
        EXPECT_EQ(ChooseFolderPreference(*m_preferences, chooser, kQuestion, kKey), std::nullopt);
        EXPECT_FALSE(m_preferences->contains(kKey));
    }
}

TEST_F(FolderPreferencesTest, AFolderTooLongToShowIsStillKept) {
    const fs::path folder = folderOfPathSize(255);
    ScriptedFolderChooser chooser(folder);
    EXPECT_EQ(ChooseFolderPreference(*m_preferences, chooser, kQuestion, kKey), std::nullopt);
    EXPECT_EQ(CopyFolderPreference(*m_preferences, kKey), folder);
}

TEST_F(FolderPreferencesTest, AKeptFolderIsFollowedWhenRenamed) {
    const fs::path folder = makeFolder("Exports");
    ASSERT_TRUE(m_preferences->setValue(kKey, platform::getAlias(folder)));
    fs::rename(folder, root() / "Finished");
    EXPECT_EQ(CopyFolderPreference(*m_preferences, kKey), root() / "Finished");
}

TEST_F(FolderPreferencesTest, OnlyFileReferenceDataToAFolderIsAFolderPreference) {
    EXPECT_EQ(CopyFolderPreference(*m_preferences, kKey), std::nullopt) << "absent";
    const fs::path folder = makeFolder("Exports");
    const std::vector<QVariant> notFolders = {
        QVariant(QString::fromStdString(folder.native())), QVariant(QByteArray()),
        QVariant(QByteArray("not reference data")), QVariant(qint64{7}), QVariant(true)};
    for (const QVariant& value : notFolders) {
        ASSERT_TRUE(m_preferences->setValue(kKey, value));
        EXPECT_EQ(CopyFolderPreference(*m_preferences, kKey), std::nullopt) << value.typeName();
    }
    std::ofstream(root() / "file.mov") << "data";
    ASSERT_TRUE(m_preferences->setValue(kKey, platform::getAlias(root() / "file.mov")));
    EXPECT_EQ(CopyFolderPreference(*m_preferences, kKey), std::nullopt) << "a file";
    ASSERT_TRUE(m_preferences->setValue(kKey, platform::getAlias(folder)));
    fs::remove(folder);
    EXPECT_EQ(CopyFolderPreference(*m_preferences, kKey), std::nullopt) << "gone";
}

TEST_F(FolderPreferencesTest, OutputFolderHasNoFallback) {
    const fs::path folder = makeFolder("Output");
    const ScopedEnvironment home("HOME", QByteArray::fromStdString(root().native()));
    makeFolder("Downloads");
    EXPECT_EQ(CopyOutputFolderPath(*m_preferences), std::nullopt);
    ASSERT_TRUE(m_preferences->setValue(QStringLiteral("OutputDirectory"), platform::getAlias(folder)));
    EXPECT_EQ(CopyOutputFolderPath(*m_preferences), folder);
}

TEST_F(FolderPreferencesTest, FoldersForUseFitIn1022Bytes) {
    const fs::path fits = folderOfPathSize(1022);
    const fs::path tooLong = folderOfPathSize(1023);
    ASSERT_TRUE(m_preferences->setValue(QStringLiteral("OutputDirectory"), platform::getAlias(fits)));
    EXPECT_EQ(CopyOutputFolderPath(*m_preferences), fits);
    ASSERT_TRUE(m_preferences->setValue(QStringLiteral("OutputDirectory"), platform::getAlias(tooLong)));
    EXPECT_EQ(CopyOutputFolderPath(*m_preferences), std::nullopt);
    ASSERT_TRUE(m_preferences->setValue(kKey, platform::getAlias(tooLong)));
    EXPECT_EQ(CopyDestinationFolderPath(*m_preferences), std::nullopt);
}

TEST_F(FolderPreferencesTest, DestinationFolderIsThePreferenceElseTheDownloadFolder) {
    const ScopedEnvironment home("HOME", QByteArray::fromStdString(root().native()));
    const ScopedEnvironment config("XDG_CONFIG_HOME",
                                   QByteArray::fromStdString((root() / "config").native()));
    makeFolder("config");
    std::ofstream(root() / "config" / "user-dirs.dirs") << "XDG_DOWNLOAD_DIR=\"$HOME/Fetched\"\n";
    EXPECT_EQ(CopyDestinationFolderPath(*m_preferences), std::nullopt) << "no such folder yet";
    const fs::path downloads = makeFolder("Fetched");
    EXPECT_EQ(CopyDestinationFolderPath(*m_preferences), downloads);
    ASSERT_TRUE(m_preferences->setValue(kKey, QByteArray("unresolvable")));
    EXPECT_EQ(CopyDestinationFolderPath(*m_preferences), downloads);
    const fs::path folder = makeFolder("Destination");
    ASSERT_TRUE(m_preferences->setValue(kKey, platform::getAlias(folder)));
    EXPECT_EQ(CopyDestinationFolderPath(*m_preferences), folder);
}

TEST_F(FolderPreferencesTest, ClearingForgetsTheFolderAndWrites) {
    const fs::path folder = makeFolder("Exports");
    ASSERT_TRUE(m_preferences->setValue(kKey, platform::getAlias(folder)));
    ASSERT_TRUE(m_preferences->synchronize());
    ClearFolderPreference(*m_preferences, kKey);
    EXPECT_FALSE(m_preferences->contains(kKey));
    const Preferences reread(preferencesFile());
    EXPECT_FALSE(reread.contains(kKey));
}

TEST_F(FolderPreferencesTest, DisplayTextIsThePathWhenItFitsIn254Bytes) {
    EXPECT_EQ(folderPreferenceDisplayText(std::nullopt), QString());
    EXPECT_EQ(folderPreferenceDisplayText(fs::path("/home/me/Movies")), QStringLiteral("/home/me/Movies"));
    const std::string fits = "/" + std::string(253, 'a');
    EXPECT_EQ(folderPreferenceDisplayText(fs::path(fits)), QString::fromStdString(fits));
    EXPECT_EQ(folderPreferenceDisplayText(fs::path(fits + "a")), QString());
}

} // namespace
