#include "platform/PropertyListDepth.h"

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace platform::detail {
namespace {

constexpr std::string_view kBinaryMagic = "bplist00";

// Counts open elements: every start tag opens one, every end tag closes one;
// declarations, comments, CDATA and processing instructions open nothing.
bool xmlNestsWithinLimit(std::string_view text) {
    int depth = 0;
    std::size_t at = 0;
    const auto skipPast = [&](std::string_view end) {
        const std::size_t found = text.find(end, at);
        at = found == std::string_view::npos ? text.size() : found + end.size();
    };
    while ((at = text.find('<', at)) != std::string_view::npos) {
        const std::string_view rest = text.substr(at);
        if (rest.starts_with("<!--")) {
            skipPast("-->");
        } else if (rest.starts_with("<![CDATA[")) {
            skipPast("]]>");
        } else if (rest.starts_with("<?")) {
            skipPast("?>");
        } else if (rest.starts_with("<!")) {
            // A declaration, whose internal subset may hold '>' inside brackets.
            int brackets = 0;
            for (++at; at < text.size(); ++at) {
                if (text[at] == '[')
                    ++brackets;
                else if (text[at] == ']')
                    --brackets;
                else if (text[at] == '>' && brackets <= 0)
                    break;
            }
            ++at;
        } else {
            const bool closing = rest.starts_with("</");
            char quote = 0;
            std::size_t end = at + 1;
            for (; end < text.size(); ++end) {
                if (quote != 0) {
                    if (text[end] == quote)
                        quote = 0;
                } else if (text[end] == '"' || text[end] == '\'') {
                    quote = text[end];
                } else if (text[end] == '>') {
                    break;
                }
            }
            const bool selfClosing = end < text.size() && text[end - 1] == '/';
            if (closing)
                --depth;
            else if (!selfClosing && ++depth > kDeepestPropertyList)
                return false;
            at = end + 1;
        }
    }
    return true;
}

std::uint64_t bigEndian(const unsigned char* bytes, std::size_t size) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < size; ++i)
        value = value << 8 | bytes[i];
    return value;
}

// The binary form: a table of objects, where arrays, sets and dictionaries
// list the indexes of the objects they hold. The depth of each container is
// found by an iterative walk with memo (shared objects are measured once),
// and a container reached again while it is being measured is a cycle.
class BinaryDepth final {
public:
    explicit BinaryDepth(std::string_view bytes) : m_bytes(bytes) {}

    bool nestsWithinLimit() {
        if (m_bytes.size() < kBinaryMagic.size() + 32)
            return false;
        const auto* trailer = reinterpret_cast<const unsigned char*>(m_bytes.data() + m_bytes.size() - 32);
        m_offsetSize = trailer[6];
        m_referenceSize = trailer[7];
        m_objectCount = bigEndian(trailer + 8, 8);
        const std::uint64_t top = bigEndian(trailer + 16, 8);
        m_tableOffset = bigEndian(trailer + 24, 8);
        if (m_offsetSize == 0 || m_offsetSize > 8 || m_referenceSize == 0 || m_referenceSize > 8 ||
            top >= m_objectCount || m_tableOffset >= m_bytes.size() ||
            m_objectCount > (m_bytes.size() - m_tableOffset) / m_offsetSize)
            return false;
        m_depth.assign(m_objectCount, kUnmeasured);
        return measure(top);
    }

private:
    static constexpr int kUnmeasured = -1;
    static constexpr int kMeasuring = -2;

    const unsigned char* at(std::uint64_t offset) const {
        return reinterpret_cast<const unsigned char*>(m_bytes.data()) + offset;
    }

    // The indexes of the objects a container holds; none for other objects.
    // False when the object lies outside the file.
    bool children(std::uint64_t object, std::vector<std::uint64_t>& out) const {
        out.clear();
        const std::uint64_t offset = bigEndian(at(m_tableOffset + object * m_offsetSize), m_offsetSize);
        if (offset >= m_bytes.size())
            return false;
        const unsigned char marker = *at(offset);
        const unsigned kind = marker >> 4;
        if (kind != 0xA && kind != 0xC && kind != 0xD)
            return true;
        std::uint64_t count = marker & 0xF;
        std::uint64_t listStart = offset + 1;
        if (count == 0xF) {
            if (listStart >= m_bytes.size() || (*at(listStart) >> 4) != 0x1)
                return false;
            const std::size_t width = std::size_t{1} << (*at(listStart) & 0xF);
            if (width > 8 || listStart + 1 + width > m_bytes.size())
                return false;
            count = bigEndian(at(listStart + 1), width);
            listStart += 1 + width;
        }
        if (kind == 0xD)
            count *= 2; // keys, then values
        if (count > (m_bytes.size() - listStart) / m_referenceSize)
            return false;
        for (std::uint64_t i = 0; i < count; ++i) {
            const std::uint64_t child = bigEndian(at(listStart + i * m_referenceSize), m_referenceSize);
            if (child >= m_objectCount)
                return false;
            out.push_back(child);
        }
        return true;
    }

    bool measure(std::uint64_t top) {
        struct Frame final {
            std::uint64_t object;
            std::vector<std::uint64_t> children;
            std::size_t next = 0;
            int deepest = 0;
        };
        std::vector<Frame> stack;
        const auto enter = [&](std::uint64_t object) {
            Frame frame{object, {}, 0, 0};
            if (!children(object, frame.children))
                return false;
            m_depth[object] = kMeasuring;
            stack.push_back(std::move(frame));
            return stack.size() <= static_cast<std::size_t>(kDeepestPropertyList);
        };
        if (!enter(top))
            return false;
        while (!stack.empty()) {
            Frame& frame = stack.back();
            if (frame.next == frame.children.size()) {
                const int depth = frame.deepest + 1;
                m_depth[frame.object] = depth;
                stack.pop_back();
                if (!stack.empty())
                    stack.back().deepest = std::max(stack.back().deepest, depth);
                continue;
            }
            const std::uint64_t child = frame.children[frame.next++];
            if (m_depth[child] == kMeasuring)
                return false; // a cycle
            if (m_depth[child] == kUnmeasured) {
                if (!enter(child))
                    return false;
            } else {
                frame.deepest = std::max(frame.deepest, m_depth[child]);
            }
        }
        return m_depth[top] <= kDeepestPropertyList;
    }

    std::string_view m_bytes;
    std::size_t m_offsetSize = 0;
    std::size_t m_referenceSize = 0;
    std::uint64_t m_objectCount = 0;
    std::uint64_t m_tableOffset = 0;
    std::vector<int> m_depth;
};

} // namespace

bool nestsWithinLimit(const QByteArray& bytes) {
    const std::string_view text(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    if (text.starts_with(kBinaryMagic))
        return BinaryDepth(text).nestsWithinLimit();
    return xmlNestsWithinLimit(text);
}

} // namespace platform::detail
