#pragma once

#include <QString>
#include <QVariant>
#include <array>
#include <optional>

namespace support {

// Every preference JoinClip stores, in one table with its type and default.
enum class Pref {
    PreserveDates,
    OpenFile,
    DisplayFullPath,
    AutostartViewer,
    RememberFileList,
    ClearListWhenAddingFiles,
    Export,
    Flatten,
    Chapterize,
    CheckForSoftwareUpdates,
    AllowOverwrite,
    PromptForFilename,
    SaveFrameFormat,
    ConvertSoundToMovie,
    TimeStampName,
    UseLZWForTIFF,
    CompressionQuality,
    DesiredDuration,
    ComponentName,
    ExportSettings,
    ViewerDisplayed,
    MovieAliases,
    ChapterTitles,
    IndexColumn,
    IconColumn,
    FilenameColumn,
    TitleColumn,
    DurationColumn,
    DateModifiedColumn,
    DateCreatedColumn,
    SizeColumn,
    EXIFDateTimeColumn,
    DestinationDirectory,
    OutputDirectory,
    MoviePlayRate,
    SplitterMovie,
    FilterMovie,
    FilterNames,
    ApplyFilters,
    MainWindowGeometry,
    FileTableColumnWidths,
    AskBeforeChangingFiles,
};

enum class PreferenceType {
    Boolean,
    Integer,
    Float,
    Number, // an integer or a float
    Text,
    Data,
    Array,
    Dictionary,
};

struct PreferenceKey final {
    Pref pref;
    const char* name;
    PreferenceType type;
    QVariant defaultValue; // invalid: no default, the reader decides what absence means
};

inline constexpr std::size_t kPreferenceCount = static_cast<std::size_t>(Pref::AskBeforeChangingFiles) + 1;

const std::array<PreferenceKey, kPreferenceCount>& preferenceKeys();
const PreferenceKey& preferenceKey(Pref pref);
QString preferenceName(Pref pref);
[[nodiscard]] std::optional<Pref> findPreference(const QString& name);
const char* preferenceTypeName(PreferenceType type);

} // namespace support
