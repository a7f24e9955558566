#pragma once

namespace support {

// A control the logic switches on and off (a button, a menu item).
class Control {
public:
    virtual ~Control() = default;
    virtual void setEnabled(bool enabled) = 0;
    virtual bool isEnabled() const = 0;
};

} // namespace support
