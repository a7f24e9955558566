#pragma once

namespace support {

// A control the logic switches on and off (a button, a menu item).
class Control {
public:
    virtual ~Control() = default;
    virtual void setEnabled(bool enabled) = 0;
    virtual bool isEnabled() const = 0;
};

// A control with no widget behind it: the command line's, and the tests'.
class StoredControl final : public Control {
public:
    void setEnabled(bool enabled) override { m_enabled = enabled; }
    bool isEnabled() const override { return m_enabled; }

private:
    bool m_enabled = false;
};

} // namespace support
