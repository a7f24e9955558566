#pragma once

// A file list with stored controls, recording status line and a preferences
// store on a temporary file, for the file-list tests.

#include "filelist/FileList.h"
#include "platform/Preferences.h"
#include "support/StoredTextControl.h"
#include "support/UserDefaults.h"

#include "RecordingEventPump.h"
#include "RecordingTextControl.h"

#include <QTemporaryDir>
#include <memory>

class FileListHarness {
public:
    FileListHarness() : store(prefsFile()), defaults(store) {
        outlets.movieTable = &table;
        outlets.durationTextField = &durationField;
        outlets.messagesTextField = &messages;
        outlets.eventPump = &pump;
        outlets.spinner = &spinner;
        outlets.clearButton = &listControls[0];
        outlets.joinButton = &listControls[1];
        outlets.exportButton = &listControls[2];
        outlets.reverseButton = &orderingControls[0];
        outlets.sortButton = &orderingControls[1];
        outlets.titleSortButton = &orderingControls[2];
        outlets.dateSortButton = &orderingControls[3];
        outlets.createDateSortButton = &orderingControls[4];
        outlets.exifSortButton = &orderingControls[5];
        filelist::FileList::Services services;
        services.previewImage = [](const std::filesystem::path&) { return std::optional<QImage>(); };
        services.makeDefaultFilename = [this](const std::filesystem::path& item, bool isFolder) {
            defaultFilenameCalls.emplace_back(item, isFolder);
        };
        services.createMovieFromSoundFile = [this](const std::filesystem::path& file) {
            return convertSound ? convertSound(file) : nullptr;
        };
        list = std::make_unique<filelist::FileList>(defaults, outlets, services);
    }

    std::filesystem::path dir() const { return m_dir.path().toStdString(); }

    bool listControlsEnabled() const {
        return listControls[0].isEnabled() && listControls[1].isEnabled() && listControls[2].isEnabled();
    }
    bool anyListControlEnabled() const {
        return listControls[0].isEnabled() || listControls[1].isEnabled() || listControls[2].isEnabled();
    }
    bool orderingControlsEnabled() const {
        for (const auto& control : orderingControls)
            if (!control.isEnabled())
                return false;
        return true;
    }
    bool anyOrderingControlEnabled() const {
        for (const auto& control : orderingControls)
            if (control.isEnabled())
                return true;
        return false;
    }

    // The file names of the entries, in list order.
    std::vector<std::string> names() const {
        std::vector<std::string> result;
        for (int i = 0; i < list->count(); ++i)
            result.push_back(list->pathOfEntry(i) ? list->pathOfEntry(i)->filename().string() : "<gone>");
        return result;
    }

private:
    std::filesystem::path prefsFile() const { return std::filesystem::path(m_dir.path().toStdString()) / "prefs.plist"; }
    QTemporaryDir m_dir;

public:
    platform::Preferences store;
    support::UserDefaults defaults;
    filelist::StoredTableView table;
    support::StoredTextControl durationField;
    testing_support::RecordingTextControl messages;
    testing_support::RecordingEventPump pump;
    support::StoredProgressIndicator spinner;
    support::StoredControl listControls[3];
    support::StoredControl orderingControls[6];
    filelist::FileListOutlets outlets;
    std::vector<std::pair<std::filesystem::path, bool>> defaultFilenameCalls;
    std::function<std::shared_ptr<media::Movie>(const std::filesystem::path&)> convertSound;
    std::unique_ptr<filelist::FileList> list;
};
