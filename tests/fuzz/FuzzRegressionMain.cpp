// Replays fuzz inputs without libFuzzer: every file named on the command line,
// and every file inside each folder named there, goes once through
// LLVMFuzzerTestOneInput. A target that finds a fault aborts, failing the test.

#include "FileContents.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::vector<std::filesystem::path> inputsIn(const std::filesystem::path& argument) {
    std::vector<std::filesystem::path> inputs;
    if (std::filesystem::is_directory(argument)) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(argument)) {
            if (entry.is_regular_file())
                inputs.push_back(entry.path());
        }
        std::sort(inputs.begin(), inputs.end());
    } else if (std::filesystem::is_regular_file(argument)) {
        inputs.push_back(argument);
    }
    return inputs;
}

} // namespace

int main(int argc, char** argv) {
    std::size_t ran = 0;
    for (int i = 1; i < argc; ++i) {
        const auto inputs = inputsIn(argv[i]);
        if (inputs.empty()) {
            std::cerr << "fuzz replay: no inputs at " << argv[i] << '\n';
            return 1;
        }
        for (const auto& input : inputs) {
            // A copy of exactly the file's size, so reads past the end are caught.
            const std::string bytes = testing_support::contentsOf(input);
            const std::vector<std::uint8_t> data(bytes.begin(), bytes.end());
            LLVMFuzzerTestOneInput(data.data(), data.size());
            ++ran;
        }
    }
    if (ran == 0) {
        std::cerr << "usage: " << argv[0] << " CORPUS_FOLDER_OR_FILE...\n";
        return 1;
    }
    std::cout << "fuzz replay: " << ran << " inputs passed\n";
    return 0;
}
