#include "ui/FileTablePreviews.h"

#include "filelist/FileList.h"
#include "support/Job.h"
#include "support/PreviewImage.h"

#include <QMetaObject>

namespace ui {

namespace {

// Previews are kept at the size a table row can show at most, not at
// 512 by 512: a list of a thousand clips would otherwise hold a gigabyte of
// pictures nobody sees at that size.
constexpr double kPreviewSide = 128;

} // namespace

FileTablePreviews::FileTablePreviews(filelist::FileList& list, QObject* parent)
    : QObject(parent), m_list(list), m_maker([](const std::filesystem::path& file) {
          return support::imageWithPreviewOfFileAtPath(file, QSizeF(kPreviewSide, kPreviewSide), true);
      }) {
    // Decoding a frame is the heavy part; two at a time keep the window and the machine responsive.
    m_pool.setMaxThreadCount(2);
}

FileTablePreviews::~FileTablePreviews() {
    m_pool.clear();
    m_pool.waitForDone();
}

void FileTablePreviews::request(int row) {
    if (row < 0 || row >= m_list.count() || m_list.movies()[static_cast<std::size_t>(row)].icon)
        return;
    const QByteArray alias = m_list.movies()[static_cast<std::size_t>(row)].alias;
    if (m_pending.contains(alias) || m_tried.contains(alias))
        return;
    const auto path = m_list.pathOfEntry(row);
    if (!path)
        return;
    m_pending.insert(alias);
    m_pool.start([this, alias, file = *path, maker = m_maker] {
        support::lowerCurrentThreadPriority(); // the window's thread comes first
        std::optional<QImage> image = maker(file);
        QMetaObject::invokeMethod(
            this, [this, alias, image = std::move(image)] { deliver(alias, image); }, Qt::QueuedConnection);
    });
}

void FileTablePreviews::deliver(const QByteArray& alias, const std::optional<QImage>& image) {
    m_pending.remove(alias);
    if (!image) {
        m_tried.insert(alias); // the placeholder stays; asking again would answer the same
        return;
    }
    bool stored = false;
    for (int row = 0; row < m_list.count(); ++row)
        stored = m_list.setPreviewAtIndex(row, alias, *image) || stored;
    if (stored)
        emit previewStored();
}

} // namespace ui
