#pragma once

#include <QByteArray>
#include <QImage>
#include <QObject>
#include <QSet>
#include <QThreadPool>
#include <filesystem>
#include <functional>
#include <optional>

namespace filelist {
class FileList;
}

namespace ui {

// Makes the previews of the file table's Icon column in the background, as
// rows come into view. A worker only reads the file at a path and makes an
// image; the image is handed to the list on the main thread, to the entries
// that still hold the same file reference data (the list may have been
// reordered or emptied meanwhile). Each file is tried once per reference.
class FileTablePreviews final : public QObject {
    Q_OBJECT
public:
    using PreviewMaker = std::function<std::optional<QImage>(const std::filesystem::path& file)>;

    explicit FileTablePreviews(filelist::FileList& list, QObject* parent = nullptr);
    // Waits for the workers, whose results are then dropped.
    ~FileTablePreviews() override;

    // The work a worker does; by default support's preview at the size the table shows.
    void setPreviewMaker(PreviewMaker maker) { m_maker = std::move(maker); }

    // Starts making entry row's preview unless it has one or one is under way.
    void request(int row);
    // Whether any preview is still being made.
    bool isBusy() const { return !m_pending.isEmpty(); }

signals:
    void previewStored();

private:
    void deliver(const QByteArray& alias, const std::optional<QImage>& image);

    filelist::FileList& m_list;
    PreviewMaker m_maker;
    QThreadPool m_pool;
    QSet<QByteArray> m_pending;
    QSet<QByteArray> m_tried;
};

} // namespace ui
