#include "cli/HeadlessAlertPresenter.h"
#include "cli/HeadlessTextControl.h"
#include "cli/InterruptibleEventPump.h"
#include "support/Message.h"

#include <gtest/gtest.h>
#include <sstream>

namespace {

TEST(HeadlessTextControl, WritesVisibleTextsAsLines) {
    std::ostringstream out;
    cli::HeadlessTextControl field(out);
    cli::InterruptibleEventPump pump(out);
    support::message(field, pump, QString::fromUtf8("Joining “Holiday”..."));
    support::message(field, pump, QString());
    field.setHidden(true);
    field.setText(QStringLiteral("not shown"));
    EXPECT_EQ(out.str(), "Joining \u201cHoliday\u201d...\n");
    EXPECT_EQ(field.text(), QStringLiteral("not shown"));
    EXPECT_TRUE(field.isHidden());
}

TEST(HeadlessAlertPresenter, WritesMessageAndInformativeOnOneLine) {
    std::ostringstream out;
    cli::HeadlessAlertPresenter alerts(out);
    alerts.beep();
    alerts.showInformational(QStringLiteral("Download Failed"),
                             QStringLiteral("An error occured during download."), nullptr);
    alerts.showInformational(QStringLiteral("Movie splitting completed."), QStringLiteral(" "), nullptr);
    EXPECT_EQ(out.str(), "Download Failed \u2014 An error occured during download.\n"
                         "Movie splitting completed.\n");
}

} // namespace
