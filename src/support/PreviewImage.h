#pragma once

#include <QImage>
#include <QSizeF>
#include <filesystem>
#include <optional>

namespace support {

// A small image showing what a file holds, for the file list. Tried in turn:
// 1. the freedesktop thumbnail cache ($XDG_CACHE_HOME, else ~/.cache, then
//    thumbnails/{normal,large,x-large,xx-large}/<md5 of the file:// URI>.png):
//    the smallest cached size at least as large as wanted, else the largest,
//    and only a thumbnail whose Thumb::MTime equals the file's modification
//    time (a stale one is passed over for the next size). The cache is only
//    ever read;
// 2. the picture itself (Qt's image readers decode it already scaled where
//    they can), else a frame of the movie through media::Movie: at its poster
//    time when it has one, else at a third of its duration but no later than
//    3 s (past titles and fades, and near the start, so seeking stays short).
//    One frame is decoded, never the whole movie;
// 3. the theme icon of the file's MIME type, when a QGuiApplication exists
//    and this is its main thread (icons need both).
// Safe on a worker thread (the window makes previews in the background): the
// movie opened for the frame is the call's own.
// The image keeps its aspect ratio and fits size; a smaller preview is not
// enlarged (the view does that), so that a long list keeps its previews in
// little memory. Icon mode asks for the same image: no frame or padding is
// drawn around it. None for an empty size, a path that does not exist, or a file with
// no preview and (without a QGuiApplication) no icon.
std::optional<QImage> imageWithPreviewOfFileAtPath(const std::filesystem::path& file, QSizeF size,
                                                   bool asIcon);

} // namespace support
