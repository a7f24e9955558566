#include "support/PreferenceKeys.h"

namespace support {

namespace {

using T = PreferenceType;

std::array<PreferenceKey, kPreferenceCount> makeTable() {
    const QVariant none;
    std::array<PreferenceKey, kPreferenceCount> table{{
        {Pref::PreserveDates, "PreserveDates", T::Boolean, false},
        {Pref::OpenFile, "OpenFile", T::Boolean, false},
        {Pref::DisplayFullPath, "DisplayFullPath", T::Boolean, false},
        {Pref::AutostartViewer, "AutostartViewer", T::Boolean, false},
        {Pref::RememberFileList, "RememberFileList", T::Boolean, false},
        {Pref::ClearListWhenAddingFiles, "ClearListWhenAddingFiles", T::Boolean, false},
        {Pref::Export, "Export", T::Boolean, false},
        {Pref::Flatten, "Flatten", T::Boolean, true},
        {Pref::Chapterize, "Chapterize", T::Boolean, true},
        {Pref::CheckForSoftwareUpdates, "CheckForSoftwareUpdates", T::Boolean, true},
        {Pref::AllowOverwrite, "AllowOverwrite", T::Boolean, false},
        {Pref::PromptForFilename, "PromptForFilename", T::Boolean, true},
        {Pref::SaveFrameFormat, "saveFrameFormat", T::Integer, qint64{0}},
        {Pref::ConvertSoundToMovie, "convertSoundToMovie", T::Boolean, false},
        {Pref::TimeStampName, "timeStampName", T::Boolean, true},
        {Pref::UseLZWForTIFF, "useLZWForTIFF", T::Boolean, true},
        {Pref::CompressionQuality, "compressionQuality", T::Float, 1.0},
        {Pref::DesiredDuration, "DesiredDuration", T::Number, none},
        {Pref::ComponentName, "ComponentName", T::Text, none},
        {Pref::ExportSettings, "ExportSettings", T::Dictionary, QVariantMap{}},
        {Pref::ViewerDisplayed, "ViewerDisplayed", T::Boolean, false},
        {Pref::MovieAliases, "MovieAliases", T::Array, none},
        {Pref::ChapterTitles, "ChapterTitles", T::Array, none},
        {Pref::IndexColumn, "IndexColumn", T::Boolean, true},
        {Pref::IconColumn, "IconColumn", T::Boolean, true},
        {Pref::FilenameColumn, "FilenameColumn", T::Boolean, true},
        {Pref::TitleColumn, "TitleColumn", T::Boolean, true},
        {Pref::DurationColumn, "DurationColumn", T::Boolean, true},
        {Pref::DateModifiedColumn, "DateModifiedColumn", T::Boolean, true},
        {Pref::DateCreatedColumn, "DateCreatedColumn", T::Boolean, true},
        {Pref::SizeColumn, "SizeColumn", T::Boolean, true},
        {Pref::EXIFDateTimeColumn, "EXIFDateTimeColumn", T::Boolean, true},
        {Pref::DestinationDirectory, "DestinationDirectory", T::Data, none},
        {Pref::OutputDirectory, "OutputDirectory", T::Data, none},
        {Pref::MoviePlayRate, "moviePlayRate", T::Integer, none},
        {Pref::SplitterMovie, "SplitterMovie", T::Text, none},
        {Pref::FilterMovie, "FilterMovie", T::Text, none},
        {Pref::FilterNames, "FilterNames", T::Array, none},
        {Pref::ApplyFilters, "ApplyFilters", T::Boolean, true},
        // The main window's place and size, and the widths of the table's columns, as the user left them.
        {Pref::MainWindowGeometry, "MainWindowGeometry", T::Data, none},
        {Pref::FileTableColumnWidths, "FileTableColumnWidths", T::Array, none},
        // Off once the user ticked "Do not ask again" before a command renamed or rewrote listed files.
        {Pref::AskBeforeChangingFiles, "AskBeforeChangingFiles", T::Boolean, true},
    }};
    return table;
}

} // namespace

const std::array<PreferenceKey, kPreferenceCount>& preferenceKeys() {
    static const auto table = makeTable();
    return table;
}

const PreferenceKey& preferenceKey(Pref pref) {
    return preferenceKeys()[static_cast<std::size_t>(pref)];
}

QString preferenceName(Pref pref) {
    return QString::fromLatin1(preferenceKey(pref).name);
}

std::optional<Pref> findPreference(const QString& name) {
    for (const PreferenceKey& key : preferenceKeys())
        if (name == QLatin1String(key.name))
            return key.pref;
    return std::nullopt;
}

const char* preferenceTypeName(PreferenceType type) {
    switch (type) {
    case T::Boolean:
        return "boolean";
    case T::Integer:
        return "integer";
    case T::Float:
        return "float";
    case T::Number:
        return "number";
    case T::Text:
        return "text";
    case T::Data:
        return "data";
    case T::Array:
        return "array";
    case T::Dictionary:
        break;
    }
    return "dictionary";
}

} // namespace support
