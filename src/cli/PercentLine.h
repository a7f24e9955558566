#pragma once

#include <functional>
#include <iosfwd>
#include <string>

namespace cli {

// A progress line on standard error, "Splitting: 42%", written again in place
// each time the whole percent changes and ended by end().
class PercentLine final {
public:
    PercentLine(std::ostream& err, std::string title) : m_err(err), m_title(std::move(title)) {}
    void show(double fraction);
    void end();
    // A progress callback that shows each fraction and never cancels.
    std::function<bool(double)> callback();

private:
    std::ostream& m_err;
    std::string m_title;
    int m_percent = -1;
};

} // namespace cli
