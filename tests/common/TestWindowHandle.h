#pragma once

#include "support/WindowHandle.h"

namespace testing_support {

// A parent window for alerts in tests: only its identity matters.
class TestWindowHandle final : public support::WindowHandle {};

} // namespace testing_support
