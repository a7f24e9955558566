#include "PreferencesHarness.h"
#include "ui/ComponentSettingsDialog.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QSpinBox>

namespace testing_support {
namespace {

class ComponentSettingsFormTest : public PreferencesHarness {};

TEST_F(ComponentSettingsFormTest, ShowsTheGroupsOfTheTracksTheComponentWrites) {
    const struct {
        media::ExportComponent component;
        bool video, sound;
    } cases[] = {{testComponent("Movie", true, true, true), true, true},
                 {testComponent("Sound", false, true, true), false, true},
                 {testComponent("Pictures", true, false, true), true, false}};
    for (const auto& c : cases) {
        ui::ComponentSettingsForm form(c.component, {});
        EXPECT_EQ(!child<QGroupBox>(form, "videoSettingsGroup").isHidden(), c.video) << c.component.name;
        EXPECT_EQ(!child<QGroupBox>(form, "soundSettingsGroup").isHidden(), c.sound) << c.component.name;
    }
}

// Values the menus do not offer, and bit rates that are not whole kbit/s,
// stay exactly as they were when the user does not touch them.
TEST_F(ComponentSettingsFormTest, UntouchedFieldsKeepTheirValues) {
    media::ExportSettings current;
    current.videoEncoder = "mpeg4";
    current.videoBitRate = 1500;
    current.frameRateNum = 12;
    current.frameRateDen = 1;
    current.sampleRate = 12345;
    current.channels = 5;
    current.width = 320;
    current.height = 240;
    ui::ComponentSettingsForm form(m_components[0], current);
    const auto edited = form.editedSettings();
    ASSERT_TRUE(edited.has_value()) << edited.error().message;
    EXPECT_EQ(*edited, current);
    EXPECT_EQ(child<QComboBox>(form, "frame-rate").currentText(), "12/1");
}

TEST_F(ComponentSettingsFormTest, EditedFieldsChangeTheirSettings) {
    ui::ComponentSettingsForm form(m_components[0], {});
    child<QComboBox>(form, "video-codec").setCurrentIndex(2);
    child<QSpinBox>(form, "video-bitrate").setValue(2500);
    child<QSpinBox>(form, "width").setValue(640);
    child<QSpinBox>(form, "height").setValue(360);
    auto& frameRate = child<QComboBox>(form, "frame-rate");
    frameRate.setCurrentIndex(frameRate.findData("30000/1001"));
    auto& sampleRate = child<QComboBox>(form, "sample-rate");
    sampleRate.setCurrentIndex(sampleRate.findData("48000"));
    const auto edited = form.editedSettings();
    ASSERT_TRUE(edited.has_value()) << edited.error().message;
    media::ExportSettings expected;
    expected.videoEncoder = "mpeg4";
    expected.videoBitRate = 2'500'000;
    expected.width = 640;
    expected.height = 360;
    expected.frameRateNum = 30000;
    expected.frameRateDen = 1001;
    expected.sampleRate = 48000;
    EXPECT_EQ(*edited, expected);
}

// A size with only one side set cannot be used: OK keeps the form open and says why.
TEST_F(ComponentSettingsFormTest, OkRefusesAChangeTheComponentCannotTake) {
    ui::ComponentSettingsForm form(m_components[0], {});
    child<QSpinBox>(form, "width").setValue(640);
    EXPECT_FALSE(form.editedSettings().has_value());
    form.accept();
    EXPECT_NE(form.result(), QDialog::Accepted);
    EXPECT_FALSE(child<QLabel>(form, "problemTextField").isHidden());
    EXPECT_FALSE(child<QLabel>(form, "problemTextField").text().isEmpty());
}

} // namespace
} // namespace testing_support
