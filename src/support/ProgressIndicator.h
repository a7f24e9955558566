#pragma once

namespace support {

// An indeterminate progress indicator (the spinner) shown while long work runs.
class ProgressIndicator {
public:
    virtual ~ProgressIndicator() = default;
    virtual void setHidden(bool hidden) = 0;
    virtual bool isHidden() const = 0;
    virtual void startAnimation() = 0;
    virtual void stopAnimation() = 0;
    virtual bool isAnimating() const = 0;
};

} // namespace support
