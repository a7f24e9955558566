#include "support/DoAlert.h"

#include "RecordingAlertPresenter.h"
#include "TestWindowHandle.h"
#include "support/LocalizedString.h"

#include <gtest/gtest.h>

namespace {

using testing_support::CallLog;
using testing_support::RecordingAlertPresenter;

class DoAlertTest : public ::testing::Test {
protected:
    void SetUp() override {
        support::resetLocalizedStringsForTesting();
        support::setLocalizedStringTableForTesting([](const QString& key) {
            return key == QStringLiteral(" ") ? key : QStringLiteral("<") + key + ">";
        });
    }
    void TearDown() override { support::resetLocalizedStringsForTesting(); }
};

TEST_F(DoAlertTest, WithAParentBeepsThenShowsASheetOfLookedUpTexts) {
    CallLog log;
    RecordingAlertPresenter alerts(&log);
    testing_support::TestWindowHandle mainWindow;
    support::doAlert(alerts, QStringLiteral("The movie format is probably incompatible with this feature."),
                     QStringLiteral("Try another file."), &mainWindow);
    EXPECT_EQ(log, (CallLog{"beep", "sheet(<The movie format is probably incompatible with this feature.> | "
                                    "<Try another file.>)"}));
    ASSERT_EQ(alerts.alerts().size(), 1u);
    EXPECT_EQ(alerts.alerts()[0].parentWindow, &mainWindow);
    EXPECT_EQ(support::localizedStringCacheSize(), 2u);
}

TEST_F(DoAlertTest, WithoutAParentIsApplicationModal) {
    RecordingAlertPresenter alerts;
    support::doAlert(alerts, QStringLiteral("Download Failed"), QStringLiteral(" "), nullptr);
    EXPECT_EQ(alerts.beepCount(), 1);
    ASSERT_EQ(alerts.alerts().size(), 1u);
    EXPECT_FALSE(alerts.alerts()[0].isSheet());
    EXPECT_EQ(alerts.alerts()[0].message, QStringLiteral("<Download Failed>"));
    EXPECT_EQ(alerts.alerts()[0].informative, QStringLiteral(" "));
}

TEST_F(DoAlertTest, InformativeTextIsNotUsedAsAFormat) {
    support::setLocalizedStringTableForTesting({}); // the real tables: the key answers itself
    support::loadLocalizedStringTable(QLocale(QLocale::English));
    RecordingAlertPresenter alerts;
    support::doAlert(alerts, QStringLiteral("100%@ done"), QStringLiteral("%d%s%@ %1"), nullptr);
    ASSERT_EQ(alerts.alerts().size(), 1u);
    EXPECT_EQ(alerts.alerts()[0].message, QStringLiteral("100%@ done"));
    EXPECT_EQ(alerts.alerts()[0].informative, QStringLiteral("%d%s%@ %1"));
}

} // namespace
