#pragma once

// The real preferences window over the session of AppHarness, with three test components. relaunch() quits and
// starts again over the same preferences file, with a new window.

#include "AppHarness.h"
#include "TestApplication.h"
#include "TestComponent.h"
#include "ui/PreferencesWindow.h"

#include <memory>

namespace testing_support {

class PreferencesHarness : public AppHarness {
protected:
    static void SetUpTestSuite() { ensureApplication(); }

    void SetUp() override {
        // A movie component, a sound-only one and one without a settings dialog.
        const media::FourCharCode code = media::makeFourCharCode("Test");
        m_components = {testComponent("Movie", code, code), testComponent("Sound", code, code),
                        testComponent("Fixed", code, code)};
        (*m_components)[1].writesVideo = false;
        (*m_components)[1].videoEncoders.clear();
        (*m_components)[2].hasSettingsDialog = false;
        AppHarness::SetUp();
    }
    void attach() override {
        m_window = std::make_unique<ui::PreferencesWindow>();
        m_window->attach(session(), m_desktop, m_console, &m_chooser);
    }

    ui::PreferencesWindow& window() { return *m_window; }
    const media::ExportComponent& firstComponent() const { return m_components->front(); }
    template <typename Widget> Widget& control(const char* name) { return child<Widget>(*m_window, name); }

private:
    std::unique_ptr<ui::PreferencesWindow> m_window;
};

} // namespace testing_support
