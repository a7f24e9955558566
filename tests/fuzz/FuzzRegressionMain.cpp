// Replays fuzz inputs without libFuzzer: every file named on the command line,
// and every file inside each folder named there, goes once through
// LLVMFuzzerTestOneInput. A target that finds a fault aborts, failing the test.

#include "FileContents.h"

#include <algorithm>
#include <cstdint>
#include <iostream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        const std::size_t before = inputs.size();
        if (fs::is_regular_file(argv[i]))
            inputs.push_back(argv[i]);
        for (const auto& entry : fs::is_directory(argv[i]) ? fs::recursive_directory_iterator(argv[i])
                                                           : fs::recursive_directory_iterator())
            if (entry.is_regular_file())
                inputs.push_back(entry.path());
        if (inputs.size() == before) {
            std::cerr << "fuzz replay: no inputs at " << argv[i] << '\n';
            return 1;
        }
    }
    if (inputs.empty()) {
        std::cerr << "usage: " << argv[0] << " CORPUS_FOLDER_OR_FILE...\n";
        return 1;
    }
    std::ranges::sort(inputs);
    for (const auto& input : inputs) {
        // A copy of exactly the file's size, so reads past the end are caught.
        const std::string bytes = testing_support::contentsOf(input);
        const std::vector<std::uint8_t> data(bytes.begin(), bytes.end());
        LLVMFuzzerTestOneInput(data.data(), data.size());
    }
    std::cout << "fuzz replay: " << inputs.size() << " inputs passed\n";
    return 0;
}
