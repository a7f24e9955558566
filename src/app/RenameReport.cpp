#include "app/RenameReport.h"

#include "support/Console.h"
#include "support/FormatText.h"
#include "support/LocalizedString.h"

#include <QFile>
#include <QStringList>
#include <cstring>

namespace app {

QString reportRenames(const filelist::RenameOutcome& outcome, support::Console& console) {
    const auto count = static_cast<int>(outcome.renamed.size());
    QString line = count == 1 ? support::LocalizedString("1 file was renamed.")
                              : support::fillFormat(support::LocalizedString("%d files were renamed."),
                                                    {QString::number(count)});
    QStringList names;
    for (const filelist::RenameOutcome::Rename& rename : outcome.refused) {
        const QString name = QFile::decodeName(rename.from.filename().c_str());
        names << name;
        console.writeLine(QString("Could not rename \"%1\" to \"%2\": %3")
                              .arg(QFile::decodeName(rename.from.c_str()),
                                   QFile::decodeName(rename.to.filename().c_str()),
                                   QString::fromLocal8Bit(std::strerror(rename.error))));
    }
    if (names.size() == 1)
        line += u' ' + support::fillFormat(support::LocalizedString("This file was not renamed: %@"), names);
    else if (names.size() > 1)
        line += u' ' + support::fillFormat(support::LocalizedString("These files were not renamed: %@"),
                                           {names.join(", ")});
    return line;
}

} // namespace app
