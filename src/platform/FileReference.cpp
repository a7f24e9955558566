#include "platform/FileReference.h"

#include <cstdint>
#include <cstring>
#include <deque>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace platform {

namespace {

constexpr char kMagic[4] = {'J', 'C', 'F', 'R'};
constexpr std::uint8_t kVersion = 1;
constexpr qsizetype kHeaderSize = 9;
constexpr qsizetype kMaxBlockSize = 64 * 1024;
constexpr std::size_t kMaxPathSize = 4095;

// How far a lost item is looked for: folders above its folder that may hold its
// renamed folder, folders above the nearest existing one whose trees are
// searched, and directory entries read in that search (a few milliseconds).
constexpr int kParentSearchLevels = 4;
constexpr int kTreeSearchLevels = 3;
constexpr int kTreeSearchBudget = 4096;

enum class Tag : std::uint8_t {
    Path = 1,
    Device = 2,
    Inode = 3,
    Type = 4,
    Size = 5,
    Modified = 6,
    Born = 7,
    ParentPath = 8,
    ParentDevice = 9,
    ParentInode = 10,
};
constexpr std::uint8_t kLastKnownTag = 10;

enum class ItemType : std::uint8_t { File = 1, Folder = 2, Other = 3 };

struct Timestamp final {
    std::int64_t seconds = 0;
    std::uint32_t nanoseconds = 0;
    bool operator==(const Timestamp&) const = default;
};

struct Status final {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    ItemType type = ItemType::Other;
    std::uint64_t size = 0;
    Timestamp modified;
    std::optional<Timestamp> born;
};

struct Record final {
    std::string path;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    ItemType type = ItemType::Other;
    std::optional<Timestamp> born;
    std::string parentPath;
    std::optional<std::uint64_t> parentDevice;
    std::optional<std::uint64_t> parentInode;
};

// ---- Reading the file system ----

ItemType typeOf(std::uint16_t mode) {
    if (S_ISREG(mode))
        return ItemType::File;
    if (S_ISDIR(mode))
        return ItemType::Folder;
    return ItemType::Other;
}

// statx without triggering automounts; follows a final symbolic link unless told not to.
std::optional<Status> statusOf(const char* path, bool followLink = true) {
    struct statx buffer {};
    const int flags = AT_NO_AUTOMOUNT | (followLink ? 0 : AT_SYMLINK_NOFOLLOW);
    if (statx(AT_FDCWD, path, flags, STATX_TYPE | STATX_INO | STATX_SIZE | STATX_MTIME | STATX_BTIME,
              &buffer) != 0)
        return std::nullopt;
    Status status;
    status.device = makedev(buffer.stx_dev_major, buffer.stx_dev_minor);
    status.inode = buffer.stx_ino;
    status.type = typeOf(buffer.stx_mode);
    status.size = buffer.stx_size;
    status.modified = {buffer.stx_mtime.tv_sec, buffer.stx_mtime.tv_nsec};
    if (buffer.stx_mask & STATX_BTIME)
        status.born = Timestamp{buffer.stx_btime.tv_sec, buffer.stx_btime.tv_nsec};
    return status;
}

std::optional<Status> statusOf(const std::string& path, bool followLink = true) {
    return statusOf(path.c_str(), followLink);
}

// The recorded item itself, not a newer one that got its recycled inode.
bool isRecordedItem(const Status& status, const Record& record) {
    if (status.device != record.device || status.inode != record.inode || status.type != record.type)
        return false;
    return !status.born || !record.born || *status.born == *record.born;
}

std::string joined(const std::string& folder, std::string_view name) {
    std::string path = folder;
    if (path.empty() || path.back() != '/')
        path += '/';
    path += name;
    return path;
}

std::string parentOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos || slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string_view nameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string_view(path) : std::string_view(path).substr(slash + 1);
}

class FolderReader final {
public:
    explicit FolderReader(const std::string& folder) : m_folder(opendir(folder.c_str())) {}
    ~FolderReader() {
        if (m_folder)
            closedir(m_folder);
    }
    FolderReader(const FolderReader&) = delete;
    FolderReader& operator=(const FolderReader&) = delete;

    // The next entry other than "." and "..", or null at the end or on an error.
    const dirent* next() {
        if (!m_folder)
            return nullptr;
        while (const dirent* entry = readdir(m_folder)) {
            if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
                return entry;
        }
        return nullptr;
    }

private:
    DIR* m_folder;
};

bool mayBeFolder(const dirent& entry) {
    return entry.d_type == DT_DIR || entry.d_type == DT_UNKNOWN;
}

// The recorded item among the entries of folder.
std::optional<std::string> findInFolder(const std::string& folder, const Record& record) {
    FolderReader reader(folder);
    while (const dirent* entry = reader.next()) {
        if (entry->d_ino != record.inode)
            continue;
        std::string candidate = joined(folder, entry->d_name);
        const auto status = statusOf(candidate, false);
        if (status && isRecordedItem(*status, record))
            return candidate;
    }
    return std::nullopt;
}

bool isRecordedParent(const Status& status, const Record& record) {
    return status.type == ItemType::Folder && status.device == *record.parentDevice &&
           status.inode == *record.parentInode;
}

// The recorded folder of the item, renamed or moved: looked for among the
// children of the folders above its recorded path.
std::optional<std::string> findMovedParent(const Record& record) {
    if (!record.parentDevice || !record.parentInode || record.parentPath.empty())
        return std::nullopt;
    if (const auto status = statusOf(record.parentPath); status && isRecordedParent(*status, record))
        return std::nullopt; // in place: already searched
    std::string ancestor = record.parentPath;
    for (int level = 0; level < kParentSearchLevels && ancestor != "/"; ++level) {
        ancestor = parentOf(ancestor);
        FolderReader reader(ancestor);
        while (const dirent* entry = reader.next()) {
            if (entry->d_ino != *record.parentInode || !mayBeFolder(*entry))
                continue;
            std::string candidate = joined(ancestor, entry->d_name);
            const auto status = statusOf(candidate, false);
            if (status && isRecordedParent(*status, record))
                return candidate;
        }
    }
    return std::nullopt;
}

// The item under its recorded name, else by inode, in a folder.
std::optional<std::string> findByNameOrInode(const std::string& folder, const Record& record) {
    std::string byName = joined(folder, nameOf(record.path));
    if (const auto status = statusOf(byName); status && isRecordedItem(*status, record))
        return byName;
    return findInFolder(folder, record);
}

// Breadth-first through the tree at root (leaving out the subtree skip),
// spending budget on every entry read.
std::optional<std::string> searchTree(const std::string& root, const std::string& skip, const Record& record,
                                      int& budget) {
    std::deque<std::string> folders{root};
    while (!folders.empty() && budget > 0) {
        const std::string folder = std::move(folders.front());
        folders.pop_front();
        FolderReader reader(folder);
        while (budget > 0) {
            const dirent* entry = reader.next();
            if (!entry)
                break;
            --budget;
            const bool inodeMatches = entry->d_ino == record.inode;
            if (!inodeMatches && !mayBeFolder(*entry))
                continue;
            std::string child = joined(folder, entry->d_name);
            if (child == skip)
                continue;
            const auto status = statusOf(child, false);
            if (!status)
                continue;
            if (inodeMatches && isRecordedItem(*status, record))
                return child;
            if (status->type == ItemType::Folder && status->device == record.device)
                folders.push_back(std::move(child));
        }
    }
    return std::nullopt;
}

// The nearest existing folder above the recorded path, then up to a few folders
// above that, each tree searched without the one searched before it.
std::optional<std::string> searchNearby(const Record& record) {
    std::string root = parentOf(record.path);
    std::optional<Status> status = statusOf(root);
    while (!(status && status->type == ItemType::Folder) && root != "/") {
        root = parentOf(root);
        status = statusOf(root);
    }
    int budget = kTreeSearchBudget;
    std::string searched;
    for (int level = 0; level <= kTreeSearchLevels && budget > 0; ++level) {
        if (!status || status->type != ItemType::Folder || status->device != record.device)
            return std::nullopt; // another file system: the item's own is not mounted here
        if (auto found = searchTree(root, searched, record, budget))
            return found;
        if (root == "/")
            break;
        searched = root;
        root = parentOf(root);
        status = statusOf(root);
    }
    return std::nullopt;
}

std::optional<std::string> findMoved(const Record& record) {
    if (record.parentPath.empty())
        return std::nullopt;
    if (auto found = findInFolder(record.parentPath, record))
        return found;
    if (const auto movedParent = findMovedParent(record)) {
        if (auto found = findByNameOrInode(*movedParent, record))
            return found;
    }
    return searchNearby(record);
}

// ---- The byte block ----

void appendInteger(QByteArray& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::uint64_t readInteger(const char* data, int bytes) {
    std::uint64_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= std::uint64_t{static_cast<unsigned char>(data[i])} << (8 * i);
    return value;
}

void appendField(QByteArray& out, Tag tag, const QByteArray& payload) {
    out.append(static_cast<char>(tag));
    appendInteger(out, static_cast<std::uint64_t>(payload.size()), 4);
    out.append(payload);
}

QByteArray integerPayload(std::uint64_t value, int bytes) {
    QByteArray payload;
    appendInteger(payload, value, bytes);
    return payload;
}

QByteArray timestampPayload(const Timestamp& time) {
    QByteArray payload;
    appendInteger(payload, static_cast<std::uint64_t>(time.seconds), 8);
    appendInteger(payload, time.nanoseconds, 4);
    return payload;
}

bool isUsablePath(std::string_view path) {
    return !path.empty() && path.front() == '/' && path.size() <= kMaxPathSize &&
           path.find('\0') == std::string_view::npos;
}

std::optional<Timestamp> readTimestamp(std::string_view payload) {
    if (payload.size() != 12)
        return std::nullopt;
    Timestamp time{static_cast<std::int64_t>(readInteger(payload.data(), 8)),
                   static_cast<std::uint32_t>(readInteger(payload.data() + 8, 4))};
    if (time.nanoseconds >= 1'000'000'000u)
        return std::nullopt;
    return time;
}

std::optional<std::uint64_t> readU64(std::string_view payload) {
    if (payload.size() != 8)
        return std::nullopt;
    return readInteger(payload.data(), 8);
}

// Fills one known field of record; false when its payload is malformed.
bool readField(Tag tag, std::string_view payload, Record& record) {
    switch (tag) {
    case Tag::Path:
        record.path = payload;
        return isUsablePath(payload);
    case Tag::ParentPath:
        record.parentPath = payload;
        return isUsablePath(payload);
    case Tag::Device:
    case Tag::Inode:
    case Tag::Size:
    case Tag::ParentDevice:
    case Tag::ParentInode: {
        const auto value = readU64(payload);
        if (!value)
            return false;
        if (tag == Tag::Device)
            record.device = *value;
        else if (tag == Tag::Inode)
            record.inode = *value;
        else if (tag == Tag::ParentDevice)
            record.parentDevice = value;
        else if (tag == Tag::ParentInode)
            record.parentInode = value;
        return true;
    }
    case Tag::Type:
        if (payload.size() != 1 || payload[0] < 1 || payload[0] > 3)
            return false;
        record.type = static_cast<ItemType>(payload[0]);
        return true;
    case Tag::Modified:
        return readTimestamp(payload).has_value();
    case Tag::Born:
        record.born = readTimestamp(payload);
        return record.born.has_value();
    }
    return false;
}

std::optional<Record> decode(const QByteArray& data) {
    if (data.size() < kHeaderSize || data.size() > kMaxBlockSize ||
        std::memcmp(data.constData(), kMagic, 4) != 0 || static_cast<std::uint8_t>(data[4]) != kVersion)
        return std::nullopt;
    const std::string_view block(data.constData(), static_cast<std::size_t>(data.size()));
    if (readInteger(block.data() + 5, 4) != block.size() - kHeaderSize)
        return std::nullopt;
    Record record;
    bool seen[kLastKnownTag + 1] = {};
    std::size_t offset = kHeaderSize;
    while (offset < block.size()) {
        if (block.size() - offset < 5)
            return std::nullopt;
        const std::uint8_t tag = static_cast<std::uint8_t>(block[offset]);
        const std::uint64_t length = readInteger(block.data() + offset + 1, 4);
        offset += 5;
        if (length > block.size() - offset)
            return std::nullopt;
        const std::string_view payload = block.substr(offset, length);
        offset += length;
        if (tag == 0 || tag > kLastKnownTag)
            continue; // a later writer's field
        if (seen[tag] || !readField(static_cast<Tag>(tag), payload, record))
            return std::nullopt;
        seen[tag] = true;
    }
    const auto has = [&seen](Tag tag) { return seen[static_cast<std::uint8_t>(tag)]; };
    if (!has(Tag::Path) || !has(Tag::Device) || !has(Tag::Inode) || !has(Tag::Type))
        return std::nullopt;
    return record;
}

// Absolute and lexically normal, without a trailing slash; a symbolic link at
// the end stays as it is.
std::optional<std::string> normalisedPath(const std::filesystem::path& path) {
    if (path.empty())
        return std::nullopt;
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (error)
        return std::nullopt;
    std::string normal = absolute.lexically_normal().native();
    while (normal.size() > 1 && normal.back() == '/')
        normal.pop_back();
    if (!isUsablePath(normal))
        return std::nullopt;
    return normal;
}

} // namespace

QByteArray getAlias(const std::filesystem::path& path) {
    const auto normal = normalisedPath(path);
    if (!normal)
        return {};
    const auto status = statusOf(*normal);
    if (!status)
        return {};
    QByteArray data(kMagic, 4);
    data.append(static_cast<char>(kVersion));
    appendInteger(data, 0, 4); // the fields' size, filled in below
    appendField(data, Tag::Path, QByteArray::fromStdString(*normal));
    appendField(data, Tag::Device, integerPayload(status->device, 8));
    appendField(data, Tag::Inode, integerPayload(status->inode, 8));
    appendField(data, Tag::Type, integerPayload(static_cast<std::uint8_t>(status->type), 1));
    appendField(data, Tag::Size, integerPayload(status->size, 8));
    appendField(data, Tag::Modified, timestampPayload(status->modified));
    if (status->born)
        appendField(data, Tag::Born, timestampPayload(*status->born));
    const std::string parent = parentOf(*normal);
    appendField(data, Tag::ParentPath, QByteArray::fromStdString(parent));
    if (const auto parentStatus = statusOf(parent)) {
        appendField(data, Tag::ParentDevice, integerPayload(parentStatus->device, 8));
        appendField(data, Tag::ParentInode, integerPayload(parentStatus->inode, 8));
    }
    const QByteArray fieldsSize = integerPayload(static_cast<std::uint64_t>(data.size() - kHeaderSize), 4);
    data.replace(5, 4, fieldsSize);
    return data;
}

std::optional<std::filesystem::path> stringWithAlias(const QByteArray& data) {
    const auto record = decode(data);
    if (!record)
        return std::nullopt;
    const auto atPath = statusOf(record->path);
    if (atPath && isRecordedItem(*atPath, *record))
        return std::filesystem::path(record->path);
    if (auto moved = findMoved(*record))
        return std::filesystem::path(std::move(*moved));
    if (atPath && atPath->type == record->type)
        return std::filesystem::path(record->path);
    return std::nullopt;
}

std::optional<std::filesystem::path> recordedPathOfAlias(const QByteArray& data) {
    const auto record = decode(data);
    if (!record)
        return std::nullopt;
    return std::filesystem::path(record->path);
}

bool isSameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code error;
    return std::filesystem::equivalent(a, b, error) && !error;
}

} // namespace platform
