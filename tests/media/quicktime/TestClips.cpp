#include "TestClips.h"

#include <QTemporaryDir>
#include <cstdio>
#include <map>
#include <mutex>
#include <stdexcept>

namespace quicktime_test {

namespace {

const std::filesystem::path& root() {
    static QTemporaryDir folder;
    static const std::filesystem::path path = [] {
        if (!folder.isValid())
            throw std::runtime_error("no temporary folder for the test clips");
        fixtures::quietFfmpegLogs();
        // For looking at what the tests wrote: JOINCLIP_KEEP_TEST_FILES=1 keeps the folder.
        if (qEnvironmentVariableIsSet("JOINCLIP_KEEP_TEST_FILES")) {
            folder.setAutoRemove(false);
            std::fprintf(stderr, "test files kept in %s\n", qPrintable(folder.path()));
        }
        return std::filesystem::path(folder.path().toStdString());
    }();
    return path;
}

} // namespace

std::filesystem::path sharedClip(const std::string& name, const fixtures::ClipRecipe& recipe) {
    static std::mutex mutex;
    static std::map<std::string, std::filesystem::path> made;
    const std::lock_guard lock(mutex);
    auto found = made.find(name);
    if (found != made.end())
        return found->second;
    std::filesystem::create_directories(root() / "clips");
    const auto path = fixtures::makeClip(root() / "clips", name, recipe);
    made.emplace(name, path);
    return path;
}

std::filesystem::path h264AacClip(const std::string& container, int frames) {
    fixtures::ClipRecipe recipe;
    recipe.container = container;
    recipe.frames = frames;
    return sharedClip("h264-aac-" + std::to_string(frames) + "." + container, recipe);
}

std::filesystem::path scratchFolder(const std::string& testName) {
    const auto folder = root() / "scratch" / testName;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

} // namespace quicktime_test
