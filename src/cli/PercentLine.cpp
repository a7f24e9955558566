#include "cli/PercentLine.h"

#include <algorithm>
#include <cmath>
#include <ostream>

namespace cli {

void PercentLine::show(double fraction) {
    const int percent = static_cast<int>(std::floor(std::clamp(fraction, 0.0, 1.0) * 100));
    if (percent == m_percent)
        return;
    m_percent = percent;
    m_err << "\r" << m_title << ": " << percent << "%" << std::flush;
}

void PercentLine::end() {
    if (m_percent >= 0)
        m_err << "\n";
    m_percent = -1;
}

std::function<bool(double)> PercentLine::callback() {
    return [this](double fraction) {
        show(fraction);
        return true;
    };
}

} // namespace cli
