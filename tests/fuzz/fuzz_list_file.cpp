// The file list text file: any bytes are either refused as not UTF-8 or split
// into lines that hold no line end and that, joined with LF, give back the
// text with its line ends made LF.

#include "FuzzWorkFolder.h"
#include "filelist/ListTextFile.h"

#include <QByteArray>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
    if (size > 1024 * 1024 || !QByteArrayView(text).isValidUtf8())
        return 0;
    const auto lines = filelist::parseFileListText(text);
    if (text.startsWith("\xEF\xBB\xBF"))
        text.remove(0, 3);
    QByteArray joined;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i].native();
        fuzz::check(line.find_first_of("\r\n") == std::string::npos, "fuzz_list_file",
                    "a line holds a line end");
        joined.append(i == 0 ? "" : "\n").append(line);
    }
    fuzz::check(joined == text.replace("\r\n", "\n").replace('\r', '\n'), "fuzz_list_file",
                "the lines do not give back the text");
    return 0;
}
