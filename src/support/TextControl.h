#pragma once

#include <QString>

namespace support {

// A one-line text field as the logic sees it (the status line, for one): the
// user interface implements it with a widget, the command line with a stream.
class TextControl {
public:
    virtual ~TextControl() = default;

    virtual void setText(const QString& text) = 0;
    virtual QString text() const = 0;
    virtual void setHidden(bool hidden) = 0;
    virtual bool isHidden() const = 0;
};

} // namespace support
