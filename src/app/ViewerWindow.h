#pragma once

namespace app {

// The viewer window as the lifecycle sees it: whether it is on screen (saved
// as "ViewerDisplayed" at termination) and bringing it to the front at launch.
class ViewerWindow {
public:
    virtual ~ViewerWindow() = default;
    virtual bool isVisible() const = 0;
    // Shows the window in front of the others and gives it the keyboard.
    virtual void showWindow() = 0;
};

} // namespace app
