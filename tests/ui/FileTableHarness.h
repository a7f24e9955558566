#pragma once

// The session and its commands (AppHarness) with the real file table over them, shown offscreen.

#include "AppHarness.h"
#include "TestApplication.h"
#include "platform/FileReference.h"
#include "ui/FileTable.h"
#include "ui/FileTableModel.h"

#include <QCoreApplication>
#include <QTableView>

namespace testing_support {

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
    void attach() override {
        m_table->attach(session(), *m_listCommands, *m_writes, m_desktop);
        QObject::connect(&model(), &ui::FileTableModel::noticed,
                         [this](const support::Notice& notice) { m_notices.push_back(notice); });
        QObject::connect(&model(), &ui::FileTableModel::statusChanged, [this](const QString& text) { m_statuses << text; });
    }

    ui::FileTableModel& model() { return m_table->model(); }
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

    QTableView m_view;
    std::unique_ptr<ui::FileTable> m_table;
};

} // namespace testing_support
