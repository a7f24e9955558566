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

// A spinner with no widget behind it: the command line's, and the tests'.
class StoredProgressIndicator final : public ProgressIndicator {
public:
    void setHidden(bool hidden) override { m_hidden = hidden; }
    bool isHidden() const override { return m_hidden; }
    void startAnimation() override { m_animating = true; }
    void stopAnimation() override { m_animating = false; }
    bool isAnimating() const override { return m_animating; }

private:
    bool m_hidden = true;
    bool m_animating = false;
};

} // namespace support
