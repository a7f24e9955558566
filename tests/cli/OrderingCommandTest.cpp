// list's ordering and list-file options and the rename command, as a user runs them.

#include "CommandRun.h"
#include "FileContents.h"
#include "cli/ListCommand.h"
#include "cli/RenameCommand.h"

#include <fstream>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

class OrderingCommandTest : public clitest::CommandTest {
protected:
    // The Filename cells of list's output.
    Names listed(const std::vector<std::string>& arguments) {
        EXPECT_EQ(call(cli::runListCommand, arguments), 0) << m_err;
        Names names;
        std::istringstream lines(m_out);
        for (std::string line; std::getline(lines, line);)
            if (const auto tab = line.find('\t'); tab != std::string::npos)
                names.push_back(line.substr(tab + 1, line.find('\t', tab + 1) - tab - 1));
        return names;
    }
    std::string file(const std::string& name) const { return (dir() / name).string(); }
};

TEST_F(OrderingCommandTest, ListSortsReversesAndRoundTripsThroughAListFile) {
    // Made in this order, so their creation dates ascend (or are equal) too.
    const std::vector<std::tuple<std::string, std::optional<std::string>, std::time_t>> files = {
        {"c1.jpg", "2011:03:01 10:00:00", 1000},
        {"c2.jpg", "2009:07:14 18:03:22", 3000},
        {"Clip 10.png", {}, 2000}};
    std::vector<std::string> paths;
    for (const auto& [name, exifDate, modified] : files) {
        paths.push_back(fixtures::makePicture(dir(), name, 16, 16, exifDate).string());
        const timespec times[2] = {{modified, 0}, {modified, 0}};
        ::utimensat(AT_FDCWD, paths.back().c_str(), times, 0);
    }
    const std::vector<std::pair<std::vector<std::string>, Names>> sorts = {
        {{"--sort-by", "exif"}, {"c2.jpg", "c1.jpg", "Clip 10.png"}},
        {{"--sort-by", "modification"}, {"c1.jpg", "Clip 10.png", "c2.jpg"}},
        {{"--sort-by", "creation"}, {"c1.jpg", "c2.jpg", "Clip 10.png"}},
        {{"--sort-by", "title", "--reverse"}, {"Clip 10.png", "c2.jpg", "c1.jpg"}},
        {{"--sort-by", "path"}, {"c1.jpg", "c2.jpg", "Clip 10.png"}},
        {{"--reverse"}, {"Clip 10.png", "c2.jpg", "c1.jpg"}}};
    for (auto [arguments, expected] : sorts) {
        arguments.insert(arguments.end(), paths.begin(), paths.end());
        EXPECT_EQ(listed(arguments), expected) << arguments[1];
    }
    EXPECT_EQ(call(cli::runListCommand, {"--sort-by", "size", paths[0]}), 2);
    // How list files are read and written is the list's (FileListTest); here, the options.
    listed({"--sort-by", "exif", "--export", file("list.txt"), paths[0], paths[1], paths[2]});
    EXPECT_EQ(testing_support::contentsOf(dir() / "list.txt"), paths[1] + "\n" + paths[0] + "\n" + paths[2]);
    EXPECT_EQ(listed({"--import", file("list.txt")}), (Names{"c1.jpg", "c2.jpg", "Clip 10.png"}));
    std::ofstream(dir() / "bad.txt") << "\xFF";
    EXPECT_EQ(call(cli::runListCommand, {"--import", file("bad.txt")}), 1);
    EXPECT_NE(m_err.find("is not a file list"), std::string::npos) << m_err;
    // An option that takes one value, given twice, is refused rather than read as its last value.
    EXPECT_EQ(call(cli::runListCommand, {"--import", file("list.txt"), "--import", file("list.txt")}), 2);
    EXPECT_NE(m_err.find("--import may be given only once"), std::string::npos) << m_err;
}

TEST_F(OrderingCommandTest, RenameNumbersAndUnnumbersAndNeverReplacesAFile) {
    for (const char* name : {"b.png", "a.png"})
        fixtures::makePicture(dir(), name, 16, 16);
    ASSERT_EQ(call(cli::runRenameCommand, {"--number", file("b.png"), file("a.png")}), 0) << m_err;
    EXPECT_EQ(m_out, file("b.png") + "\t" + file("000001 b.png") + "\n" + file("a.png") + "\t" +
                         file("000002 a.png") + "\n");
    ASSERT_EQ(call(cli::runRenameCommand,
                   {"--unnumber", "--sort-by", "path", file("000002 a.png"), file("000001 b.png")}),
              0);
    EXPECT_TRUE(m_out.starts_with(file("000001 b.png") + "\t" + file("b.png") + "\n")) << m_out;
    std::ofstream(dir() / "000001 a.png") << "kept";
    EXPECT_EQ(call(cli::runRenameCommand, {"--number", file("a.png"), file("b.png")}), 1);
    EXPECT_NE(m_err.find("to \"000001 a.png\": File exists"), std::string::npos) << m_err;
    EXPECT_EQ(testing_support::contentsOf(dir() / "000001 a.png"), "kept");
    EXPECT_TRUE(fs::exists(dir() / "a.png") && fs::exists(dir() / "000002 b.png"));
    for (const std::vector<std::string>& wrong :
         {std::vector<std::string>{file("a.png")}, {"--number", "--unnumber", file("a.png")}, {"--number"}})
        EXPECT_EQ(call(cli::runRenameCommand, wrong), 2);
}

} // namespace
