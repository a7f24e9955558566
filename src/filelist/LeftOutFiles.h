#pragma once

#include <QString>
#include <filesystem>
#include <optional>
#include <vector>

namespace filelist {

// A file an add (a batch, a drop, a folder, an imported list) did not take,
// and why, in words for people.
struct LeftOutFile final {
    std::filesystem::path path;
    QString reason;
};

// One alert for all of them: the message says how many were left out, the
// informative text names each with its reason in text order (the first ten,
// then how many more), so the user is told once however many there were.
struct LeftOutAlert final {
    QString message;
    QString informative;
};
[[nodiscard]] std::optional<LeftOutAlert> leftOutAlert(std::vector<LeftOutFile> files);

} // namespace filelist
