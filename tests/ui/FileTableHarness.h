#pragma once

// The controller over recording ports (AppHarness) with the real file table as its movieTable,
// shown offscreen, and an event pump that lets Qt draw, as the window's does.

#include "AppHarness.h"
#include "TestApplication.h"
#include "platform/FileReference.h"
#include "support/EventPump.h"
#include "ui/FileTable.h"
#include "ui/FileTableModel.h"

#include <QCoreApplication>
#include <QTableView>

namespace testing_support {

class QtDrawingPump final : public support::EventPump {
public:
    void processPendingDrawing() override {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
};

class FileTableHarness : public AppHarness {
protected:
    static void SetUpTestSuite() { ensureApplication(); }
    void SetUp() override {
        m_view.resize(900, 400);
        m_view.show();
        m_table = std::make_unique<ui::FileTable>(m_view);
        m_table->setPreviewMaker([](const std::filesystem::path&) { return std::optional<QImage>(); });
        AppHarness::SetUp();
    }
    void fillOutlets(app::MainWindowOutlets& outlets) override {
        outlets.fileList.movieTable = m_table.get();
        outlets.fileList.eventPump = &m_drawing;
    }
    void attach(app::JoinClipController& controller) override { m_table->attach(controller); }

    ui::FileTableModel& model() { return m_table->model(); }
    filelist::FileList& list() { return controller().fileList(); }
    QModelIndex cell(int row, const char* identifier) {
        return model().index(row, ui::FileTableModel::columnOfIdentifier(identifier));
    }
    QString text(int row, const char* identifier, int role = Qt::DisplayRole) {
        return model().data(cell(row, identifier), role).toString();
    }
    // Adds pictures named name0.png, name1.png, ... at the end, each titled with its number.
    void addPictures(int count, const std::string& name = "p") {
        for (int i = 0; i < count; ++i) {
            const auto file = picture(name + std::to_string(i) + ".png");
            list().insertEntry(platform::getAlias(file), list().count(), QString::number(i));
        }
    }
    QStringList titles() {
        QStringList all;
        for (int row = 0; row < model().rowCount(); ++row)
            all << text(row, "Title");
        return all;
    }

    QtDrawingPump m_drawing;
    QTableView m_view;
    std::unique_ptr<ui::FileTable> m_table;
};

} // namespace testing_support
