#pragma once

namespace support {

// A window that an alert can be attached to as a sheet. The logic only passes
// it along; the user interface derives its own handle that names the widget.
class WindowHandle {
public:
    virtual ~WindowHandle() = default;
};

} // namespace support
