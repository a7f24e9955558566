// The file list text file: any bytes are either refused as not UTF-8 or split
// into lines that hold no line end and that, joined with LF, give back the
// text with its line ends made LF.

#include "filelist/ListTextFile.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 1024 * 1024)
        return 0;
    QByteArray text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (!QByteArrayView(text).isValidUtf8())
        return 0;
    const auto lines = filelist::parseFileListText(text);
    if (text.startsWith("\xEF\xBB\xBF"))
        text.remove(0, 3);
    QByteArray joined;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i].native();
        if (line.find_first_of("\r\n") != std::string::npos) {
            std::fprintf(stderr, "fuzz_list_file: a line holds a line end\n");
            std::abort();
        }
        joined.append(i == 0 ? "" : "\n").append(line);
    }
    if (joined != text.replace("\r\n", "\n").replace('\r', '\n')) {
        std::fprintf(stderr, "fuzz_list_file: the lines do not give back the text\n");
        std::abort();
    }
    return 0;
}
