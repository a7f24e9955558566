// Where the per-file export writes: never over the file it reads.

#include "join/ExportDestination.h"

#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

TEST(ExportDestinationTest, AppendsTheExtensionAndNeverNamesTheSource) {
    QTemporaryDir temporary;
    const fs::path dir = temporary.path().toStdString();
    const fs::path source = dir / "clip.avi";
    std::ofstream(source) << "movie";

    EXPECT_EQ(join::exportDestination(dir / "out", source, ".mp4"), dir / "out" / "clip.avi.mp4");
    // No extension, same folder: the name would be the source's own.
    EXPECT_EQ(join::exportDestination(dir, source, ""), dir / "clip (exported).avi");
    // The same folder by another path, and a link to the source, are the source too.
    EXPECT_EQ(join::exportDestination(dir / ".", source, ""), dir / "." / "clip (exported).avi");
    fs::create_directory(dir / "links");
    fs::create_symlink(source, dir / "links" / "clip.avi.mov");
    EXPECT_EQ(join::exportDestination(dir / "links", source, ".mov"),
              dir / "links" / "clip (exported).avi.mov");
    // Another folder's file of the same name is not the source.
    EXPECT_EQ(join::exportDestination(dir / "out", source, ""), dir / "out" / "clip.avi");
}

} // namespace
