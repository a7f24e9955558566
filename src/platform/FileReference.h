#pragma once

#include <QByteArray>
#include <filesystem>
#include <optional>

namespace platform {

// File reference data: an opaque byte block that names one existing file or
// folder and finds it again after it was renamed or moved on its file system.
//
// Layout (all integers little-endian):
//   bytes 0-3  magic "JCFR"
//   byte  4    version, 1
//   bytes 5-8  u32 size of the fields that follow (the rest of the block)
//   then the fields, each:
//     1 byte tag, 4 bytes payload length, the payload
// Version 1 fields (tag: payload):
//   1  path           absolute, lexically normalised path bytes (required)
//   2  device         u64, the st_dev of the item (required)
//   3  inode          u64 (required)
//   4  type           u8: 1 file, 2 folder, 3 anything else (required)
//   5  size           u64 bytes
//   6  modified       i64 seconds + u32 nanoseconds since 1970
//   7  born           i64 seconds + u32 nanoseconds (absent when the file system keeps no birth time)
//   8  parent path    path bytes of the folder holding the item
//   9  parent device  u64
//   10 parent inode   u64
// Readers skip fields of unknown tags, so a later writer adds fields under new
// tags and keeps version 1; the version changes only when a field changes its
// meaning. A block that is truncated or extended, larger than 64 KiB, of another version,
// has a required field missing, a field twice, a fixed-size field of the wrong
// size, or a path that is relative, longer than 4,095 bytes or holds a NUL byte
// is refused.
//
// The path keeps a symbolic link at its last component as written (the name
// people chose), while device, inode, type and times are those of the item the
// link leads to: they are what the fast check below reads.

// The reference data for the item at path (relative paths are taken from the
// working folder); empty when nothing exists there.
QByteArray getAlias(const std::filesystem::path& path);

// The path of the item that data refers to now, or none. In order:
//  1. The recorded path, when it still holds the recorded item (one stat).
//  2. The recorded item found by device and inode: in its recorded folder
//     (renamed there); else in its folder found by that folder's device and
//     inode among the children of the folders above it (the folder was renamed
//     or moved); else by a bounded breadth-first search of the nearby tree,
//     starting at the nearest existing folder of the recorded path and widening
//     a few levels up, on the item's file system only, skipping what cannot be
//     read.
//  3. Another item standing at the recorded path, when it is of the recorded
//     type (file or folder). Programs that save by writing a new file and
//     renaming it over the old one change the inode, and people replace a file
//     by saving a new version under the same name: in both cases the item at
//     the name is the one meant. A moved original found in step 2 still wins,
//     since the name then went to something new.
// An inode number can be reused by a newer item once the recorded one is
// deleted; a candidate counts only when its type matches and, where the file
// system keeps birth times, its birth time does too.
// Only reads the file system; never throws.
[[nodiscard]] std::optional<std::filesystem::path> stringWithAlias(const QByteArray& data);

// The path data recorded when it was made, whether anything is there now or
// not (what a list shows for a file it can no longer find); none for data
// that is not file reference data.
[[nodiscard]] std::optional<std::filesystem::path> recordedPathOfAlias(const QByteArray& data);

// Whether both paths lead to the same existing item (same device and inode,
// links followed), so that writing one would overwrite the other.
bool isSameFile(const std::filesystem::path& a, const std::filesystem::path& b);

} // namespace platform
