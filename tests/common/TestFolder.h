#pragma once

#include "FileContents.h"

#include <filesystem>
#include <stdexcept>
#include <stdlib.h>
#include <string>

namespace testing_support {

// A fresh folder under the system's temporary folder, removed with all it
// holds (names that are not UTF-8 too) when the object goes.
class TestFolder final {
public:
    TestFolder() {
        std::string name = (std::filesystem::temp_directory_path() / "joinclip-test-XXXXXX").string();
        if (mkdtemp(name.data()) == nullptr)
            throw std::runtime_error("cannot make a temporary folder");
        m_path = name;
    }
    ~TestFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;
    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(const std::filesystem::path& relative) const { return m_path / relative; }
    // Writes `bytes` as the file `relative` (making its folders) and answers its path.
    std::filesystem::path write(const std::filesystem::path& relative,
                                std::string_view bytes = "data") const {
        return writeFile(m_path / relative, bytes);
    }

private:
    std::filesystem::path m_path;
};

} // namespace testing_support
