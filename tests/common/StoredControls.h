#pragma once

// Controls, panels and a table with no widget behind them: they keep the
// state the controller gives them, for the tests that drive it without a window.

#include "filelist/TableView.h"
#include "support/Control.h"
#include "support/DocumentWindow.h"
#include "support/OpenPanel.h"
#include "support/ProgressIndicator.h"
#include "support/ProgressSheet.h"
#include "support/TextControl.h"

#include <QString>
#include <filesystem>
#include <optional>
#include <vector>

namespace testing_support {

class StoredTableView final : public filelist::TableView {
public:
    void reloadData() override { ++m_reloads; }
    std::vector<int> selectedRows() const override { return m_selection; }
    void setSelectedRows(std::vector<int> rows) { m_selection = std::move(rows); }
    int reloadCount() const { return m_reloads; }

private:
    std::vector<int> m_selection;
    int m_reloads = 0;
};

class StoredControl final : public support::Control {
public:
    void setEnabled(bool enabled) override { m_enabled = enabled; }
    bool isEnabled() const override { return m_enabled; }

private:
    bool m_enabled = false;
};

class StoredProgressIndicator final : public support::ProgressIndicator {
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

class StoredDocumentWindow final : public support::DocumentWindow {
public:
    void setTitle(const QString& title) override { m_title = title; }
    QString title() const override { return m_title; }
    void setRepresentedFilename(const std::filesystem::path& file) override { m_file = file; }
    std::optional<std::filesystem::path> representedFilename() const override { return m_file; }

private:
    QString m_title;
    std::optional<std::filesystem::path> m_file;
};

class StoredSheetPanel final : public support::SheetPanel {
public:
    void beginSheet(support::WindowHandle* parentWindow) override {
        m_shown = true;
        m_parent = parentWindow;
        ++m_beginCount;
    }
    void endSheet() override { m_shown = false; }
    bool isShown() const override { return m_shown; }
    support::WindowHandle* parentWindow() const { return m_parent; }
    int beginCount() const { return m_beginCount; }

private:
    bool m_shown = false;
    support::WindowHandle* m_parent = nullptr;
    int m_beginCount = 0;
};

class StoredProgressBar final : public support::ProgressBar {
public:
    void setValue(double value) override { m_value = value; }
    double value() const override { return m_value; }
    void displayNow() override { ++m_displayCount; }
    int displayCount() const { return m_displayCount; }

private:
    double m_value = 0;
    int m_displayCount = 0;
};

class HeadlessOpenPanel final : public support::OpenPanel {
public:
    explicit HeadlessOpenPanel(std::optional<std::filesystem::path> answer = std::nullopt) : m_answer(std::move(answer)) {}

    std::optional<std::filesystem::path> runOpenPanel(const QString&, const QString&, const QStringList&) override {
        return m_answer;
    }
    void setAnswer(std::optional<std::filesystem::path> answer) { m_answer = std::move(answer); }

private:
    std::optional<std::filesystem::path> m_answer;
};

class StoredTextControl final : public support::TextControl {
public:
    void setText(const QString& text) override { m_text = text; }
    QString text() const override { return m_text; }
    void setHidden(bool hidden) override { m_hidden = hidden; }
    bool isHidden() const override { return m_hidden; }

private:
    QString m_text;
    bool m_hidden = true;
};

} // namespace testing_support
