// Status-line messages and alerts: what the ports are told, in which order,
// and which texts are looked up.

#include "support/Message.h"

#include "RecordingAlertPresenter.h"
#include "RecordingEventPump.h"
#include "RecordingTextControl.h"
#include "TestWindowHandle.h"
#include "support/DoAlert.h"
#include "support/LocalizedString.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {

using testing_support::CallLog;
using testing_support::RecordingAlertPresenter;

class MessageTest : public ::testing::Test {
protected:
    // A table that marks what was looked up.
    void SetUp() override {
        support::resetLocalizedStringsForTesting();
        support::setLocalizedStringTableForTesting([](const QString& key) {
            return key == QStringLiteral(" ") ? key : QStringLiteral("<") + key + ">";
        });
    }
    void TearDown() override { support::resetLocalizedStringsForTesting(); }
};

TEST_F(MessageTest, AMessageShowsTheFieldSetsTheTextUnlookedUpThenPumps) {
    CallLog log;
    testing_support::RecordingTextControl field(&log);
    testing_support::RecordingEventPump pump(&log);
    support::message(field, pump, QStringLiteral("Joining 3 movies..."));
    EXPECT_EQ(log, (CallLog{"setHidden(false)", "setText(Joining 3 movies...)", "processPendingDrawing"}));
    EXPECT_EQ(support::localizedStringCacheSize(), 0u);
    support::message(field, pump, QString());
    EXPECT_TRUE(!field.isHidden() && field.text().isEmpty())
        << "an empty text leaves the field visible and blank";
    EXPECT_EQ(pump.pumpCount(), 2);
}

TEST_F(MessageTest, AnAlertBeepsThenShowsLookedUpTextsAsASheetOfItsParentElseModal) {
    CallLog log;
    RecordingAlertPresenter alerts(&log);
    testing_support::TestWindowHandle mainWindow;
    support::doAlert(alerts, QStringLiteral("The movie format is probably incompatible with this feature."),
                     QStringLiteral("Try another file."), &mainWindow);
    EXPECT_EQ(log, (CallLog{"beep", "sheet(<The movie format is probably incompatible with this feature.> | "
                                    "<Try another file.>)"}));
    EXPECT_EQ(alerts.alerts().at(0).parentWindow, &mainWindow);
    EXPECT_EQ(support::localizedStringCacheSize(), 2u);
    support::doAlert(alerts, QStringLiteral("Download Failed"), QStringLiteral(" "), nullptr);
    EXPECT_EQ(log.back(), "modal(<Download Failed> |  )");
    EXPECT_EQ(alerts.beepCount(), 2);
}

TEST_F(MessageTest, AlertTextsAreNotUsedAsFormats) {
    support::setLocalizedStringTableForTesting({}); // the real tables: the key answers itself
    support::loadLocalizedStringTable(QLocale(QLocale::English));
    CallLog log;
    RecordingAlertPresenter alerts(&log);
    support::doAlert(alerts, QStringLiteral("100%@ done"), QStringLiteral("%d%s%@ %1"), nullptr);
    EXPECT_EQ(log, (CallLog{"beep", "modal(100%@ done | %d%s%@ %1)"}));
}

} // namespace
