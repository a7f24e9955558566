// Join and Export with exporting on but no component to go through, and
// alerts whose texts are formats: looked up first, then filled.

#include "AppHarness.h"
#include "MediaFixtures.h"
#include "support/LocalizedString.h"

namespace {

namespace fs = std::filesystem;
using testing_support::AppHarness;

class ExportChoiceTest : public AppHarness {
protected:
    void TearDown() override { support::resetLocalizedStringsForTesting(); }
    void addPictures(const std::vector<std::string>& names) {
        std::vector<fs::path> files;
        for (const std::string& name : names)
            files.push_back(fixtures::makePicture(dir(), name, 16, 16));
        controller().fileList().joinClips(files);
    }
};

TEST_F(ExportChoiceTest, WithoutAComponentJoinAndExportTellTheUserAndWriteNothing) {
    m_components.emplace(); // a build that offers none: the menu stays empty
    relaunch();
    setOutputFolder(dir());
    defaults().setValue(support::Pref::PromptForFilename, false);
    defaults().setValue(support::Pref::Export, true);
    addPictures({"a.png"});
    EXPECT_FALSE(controller().defaultFilename()) << "no extension to name it with";

    EXPECT_EQ(controller().addButtonClicked().status, Status::NoComponent);
    controller().exportButtonClicked();
    ASSERT_EQ(m_alerts.alerts().size(), 2u);
    for (const auto& alert : m_alerts.alerts()) {
        EXPECT_EQ(alert.message, "No export component is selected.");
        EXPECT_EQ(alert.parentWindow, &m_window);
    }
    EXPECT_TRUE(m_savePanel.openings().empty()) << "nothing is asked for nothing";
    for (const auto& item : fs::directory_iterator(dir()))
        EXPECT_TRUE(item.is_directory() || item.path().filename() == "a.png")
            << item.path() << " was written";
}

TEST_F(ExportChoiceTest, AFormatIsLookedUpBeforeItIsFilled) {
    support::resetLocalizedStringsForTesting();
    support::setLocalizedStringTableForTesting([](const QString& key) {
        return key == "%d of the files could not be exported."
                   ? QString("%d Dateien wurden nicht exportiert.")
                   : key;
    });
    defaults().setValue(support::Pref::Export, true);
    controller().launchExportComponents();
    addPictures({"a.png", "b.png"});
    EXPECT_TRUE(controller().exportMoviesToFolder(dir() / "missing").empty());
    ASSERT_EQ(m_alerts.alerts().size(), 1u);
    EXPECT_EQ(m_alerts.alerts()[0].message, "2 Dateien wurden nicht exportiert.");
    EXPECT_EQ(m_alerts.alerts()[0].informative, "a.png, b.png");
}

} // namespace
