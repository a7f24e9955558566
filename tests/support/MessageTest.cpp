#include "support/Message.h"

#include "RecordingEventPump.h"
#include "RecordingTextControl.h"
#include "support/LocalizedString.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {

using testing_support::CallLog;
using testing_support::RecordingEventPump;
using testing_support::RecordingTextControl;

TEST(Message, ShowsTheFieldSetsTheTextThenPumps) {
    CallLog log;
    RecordingTextControl field(&log);
    RecordingEventPump pump(&log);
    support::message(field, pump, QStringLiteral("Joining 3 movies..."));
    EXPECT_FALSE(field.isHidden());
    EXPECT_EQ(field.text(), QStringLiteral("Joining 3 movies..."));
    EXPECT_EQ(log, (CallLog{"setHidden(false)", "setText(Joining 3 movies...)", "processPendingDrawing"}));
    // An empty text leaves the field visible and blank.
    support::message(field, pump, QString());
    EXPECT_FALSE(field.isHidden());
    EXPECT_TRUE(field.text().isEmpty());
    EXPECT_EQ(pump.pumpCount(), 2);
}

TEST(Message, ShowsTheTextWithoutLookingItUp) {
    support::resetLocalizedStringsForTesting();
    ASSERT_TRUE(support::loadLocalizedStringTable(QLocale(QLocale::German)));
    RecordingTextControl field;
    RecordingEventPump pump;
    support::message(field, pump, QStringLiteral("Finished processing movies!"));
    EXPECT_EQ(field.text(), QStringLiteral("Finished processing movies!"));
    EXPECT_EQ(support::localizedStringCacheSize(), 0u);
    support::resetLocalizedStringsForTesting();
}

} // namespace
