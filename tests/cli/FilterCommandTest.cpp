#include "cli/FilterCommand.h"

#include "CommandRun.h"
#include "MovieTiming.h"
#include "media/filters/ImageFilters.h"

#include <gtest/gtest.h>

using clitest::runCommand;

TEST(FilterCommandTest, FiltersListsTheMenuAndFilterTakesIdentifiersOrNames) {
    const auto listed = runCommand(cli::runFiltersCommand, {});
    EXPECT_EQ(listed.status, 0);
    EXPECT_EQ(std::count(listed.out.begin(), listed.out.end(), '\n'), 31);
    EXPECT_TRUE(listed.out.starts_with("CIKaleidoscope\tKaleidoscope\n"));
    EXPECT_NE(listed.out.find("CIPixellate\tPixellate\n"), std::string::npos);

    testing_support::TestFolder folder;
    fixtures::quietFfmpegLogs();
    const auto movie = fixtures::makeClip(folder.path(), "clip.mp4", {});
    const auto output = (folder / "out.mp4").string();
    const auto rendered = runCommand(cli::runFilterCommand,
                                     {"--filter", "Sepia Tone", "--filter", "CIPixellate", movie.string(), "-o", output});
    ASSERT_EQ(rendered.status, 0) << rendered.err;
    EXPECT_EQ(rendered.out, output + "\n");
    EXPECT_NE(rendered.err.find("Filtering: 100%"), std::string::npos);
    const auto streams = oracle::probeStreams(output);
    ASSERT_EQ(streams.size(), 2u);
    EXPECT_EQ(streams[0].codecName, "mpeg4");
    EXPECT_EQ(streams[1].codecName, "aac");
}

TEST(FilterCommandTest, BadRequestsAreRefusedWithoutTouchingAFile) {
    testing_support::TestFolder folder;
    fixtures::quietFfmpegLogs();
    const auto movie = fixtures::makeClip(folder.path(), "clip.mp4", {}).string();
    const auto taken = folder.write("taken.mp4", "mine").string();
    struct Case {
        std::vector<std::string> arguments;
        int status;
        std::string message;
    };
    const std::vector<Case> cases{
        {{"--filter", "Blur Everything", movie, "-o", (folder / "a.mp4").string()}, 2, "no filter is named"},
        {{"--filter", "Gaussian Blur", movie}, 2, "no output given"},
        {{"--filter", "Gaussian Blur", movie, "-o", (folder / "a.mov").string()}, 2, "must be an .mp4"},
        {{movie, "-o", (folder / "a.mp4").string()}, 2, "no filter given"},
        {{"--filter", "Gaussian Blur", movie, "-o", taken}, 1, "already exists"},
        {{"--filter", "Gaussian Blur", taken, "-o", (folder / "a.mp4").string()}, 1, "joinclip filter: "},
    };
    for (const Case& c : cases) {
        const auto run = runCommand(cli::runFilterCommand, c.arguments);
        EXPECT_EQ(run.status, c.status) << c.message;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
    EXPECT_EQ(testing_support::contentsOf(taken), "mine");
    EXPECT_EQ(testing_support::namesIn(folder.path()), (std::vector<std::string>{"clip.mp4", "taken.mp4"}));
}
