#include "camera_virtual_folder.h"

#include "folder_walk.h"
#include "frame_decoder.h"
#include "read_ahead_schedule.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QMessageLogger>

#include <cstring>
#include <limits>

namespace {

int bitsPerPixelOfCode(int pixelFormat)
{
    switch (pixelFormat) {
    case 1: return 8;
    case 2: return 24;
    case 3: return 32;
    case 4: return 16;
    default: return 0;
    }
}

int pixelFormatCodeOf(QImage::Format format)
{
    switch (format) {
    case QImage::Format_RGB32: return 3;
    case QImage::Format_RGB888: return 2;
    case QImage::Format_Indexed8: return 1;
    case QImage::Format_Grayscale8: return 1;
    case QImage::Format_RGB16: return 4;
    case QImage::Format_ARGB32: return 5;
    default: return 0;
    }
}

// QImage::byteCount() truncates past 2 GiB and sizeInBytes() needs Qt 5.10.
qint64 pixelBytes(const QImage& image)
{
    return qint64(image.bytesPerLine()) * image.height();
}

// A private copy of the pixels, into the target's own buffer when it already has the right shape.
void copyPixels(const QImage& source, QImage& target)
{
    if (target.size() != source.size() || target.format() != source.format()
        || target.bytesPerLine() != source.bytesPerLine() || !target.isDetached()) {
        target = source.copy();
        return;
    }
    std::memcpy(target.bits(), source.constBits(), static_cast<std::size_t>(pixelBytes(source)));
    // Shared once set, so the comparison is usually a pointer test.
    if (target.colorTable() != source.colorTable())
        target.setColorTable(source.colorTable());
}

}  // namespace

CCameraVirtualFolder::CCameraVirtualFolder(CameraParams* params, ICameraCallback* callback)
    : m_nameFilters{QStringLiteral("*.BMP"), QStringLiteral("*.JPEG"), QStringLiteral("*.JPG"),
                    QStringLiteral("*.PNG")},
      m_preload(params->preload == 1)
{
    m_params = params;
    m_callback = callback;
    m_bitsPerPixel = bitsPerPixelOfCode(params->pixelFormat);
}

CCameraVirtualFolder::~CCameraVirtualFolder()
{
    // Not through the vtable: a destructor must not dispatch to overrides.
    CCameraVirtualFolder::close();
    QMessageLogger().debug("!CCameraVirtual");
}

int CCameraVirtualFolder::open()
{
    if (!m_params)
        return 0;
    if (!m_dir) {
        m_dir = new QDir(m_params->folder);
        if (!m_dir->exists())
            m_dir->setPath(QCoreApplication::applicationDirPath() + QLatin1Char('/') + m_params->folder);
    }
    if (m_dir->exists()) {
        scanFolder();
        m_opened = true;
        return 1;
    }
    QMessageLogger().warning() << "Virtual Camera: Folder( " << m_params->folder << " ) not exist";
    delete m_dir;
    m_dir = nullptr;
    return 0;
}

void CCameraVirtualFolder::close()
{
    stop();
    m_opened = false;
    m_grabbing = false;
    delete m_dir;
    m_dir = nullptr;
}

int CCameraVirtualFolder::start()
{
    if (!m_opened)
        return 0;
    ++m_startCount;
    m_activeGrabMode = m_grabMode;
    if (m_grabMode == 3)
        m_frameCount = 0;
    m_grabbing = true;
    m_index = -1;
    return 1;
}

void CCameraVirtualFolder::stop()
{
    if (!m_grabbing)
        return;
    emptyLists();
    m_activeGrabMode = 0;
    m_grabbing = false;
}

bool CCameraVirtualFolder::applyParameter(const CameraParamChange* change)
{
    if (!change)
        return false;
    if (change->id == PARAM_IMAGE_FOLDER) {
        close();
        open();
    }
    return true;
}

void CCameraVirtualFolder::emptyLists()
{
    m_files = QStringList();
    m_images = QList<QImage>();
}

void CCameraVirtualFolder::scanFolder()
{
    if (!m_dir || m_dir->isRoot())
        return;
    m_dir->refresh();
    emptyLists();
    m_index = -1;
    // A sequence is its order: the same on every file system, whatever order it lists a folder in.
    appendImageFiles(m_dir->absolutePath(), m_nameFilters, m_files);
    preloadImages();
}

void CCameraVirtualFolder::preloadImages()
{
    if (!m_preload)
        return;
    m_images = QList<QImage>();
    const QStringList files = m_files;
    m_images.reserve(files.size());
    for (const QString& path : files) {
        QImage image;
        CFrameDecoder::decode(path, image);
        m_images.append(image);
    }
}

void CCameraVirtualFolder::trigger()
{
    if (m_files.isEmpty()) {
        scanFolder();
        if (m_files.isEmpty()) {
            QMessageLogger().warning() << "Virtual Camera: No image files in " << m_params->folder;
            return;
        }
    }
    const int count = m_files.size();
    int next = m_index + 1;
    if (next >= count) {
        if (!m_params->loop)
            return;
        next = 0;
    }
    m_index = next;
    if (!m_preload)
        readAheadFrom(m_files, m_index, m_params->loop != 0);

    const QString& path = m_files.at(m_index);
    // A trigger from inside the host's callback must not overwrite the frame being delivered.
    QImage nested;
    QImage& image = m_delivering ? nested : m_frame;
    if (!obtainFrame(image, path)) {
        QMessageLogger().warning() << "Virtual Camera: Could not load image file( " << path << " )";
        return;
    }
    // The record and the camera describe sizes as 32-bit counts.
    if (pixelBytes(image) > std::numeric_limits<std::int32_t>::max()) {
        QMessageLogger().warning() << "Virtual Camera: Image too large( " << path << " )";
        image = QImage();  // not kept as the reusable frame: it would hold gigabytes until the next trigger
        return;
    }
    deliver(image);
}

bool CCameraVirtualFolder::obtainFrame(QImage& frame, const QString& path)
{
    if (!m_preload) {
        CFrameDecoder::decode(path, frame);
    } else if (m_index < m_images.size() && !m_images.at(m_index).isNull()) {
        copyPixels(m_images.at(m_index), frame);
    } else {
        frame = QImage();
    }
    return !frame.isNull();
}

void CCameraVirtualFolder::deliver(QImage& image)
{
    // Wraps like the host's own 32-bit counter instead of overflowing.
    m_frameCount = static_cast<std::int32_t>(static_cast<std::uint32_t>(m_frameCount) + 1u);
    // The image owns its pixels alone (a cached image was copied), so the host cannot alter the cache.
    m_imageData = image.bits();
    m_width = image.width();
    m_height = image.height();
    m_imageSize = static_cast<std::int32_t>(pixelBytes(image));
    m_bitsPerPixel = image.depth();
    m_params->width = m_width;
    m_params->height = m_height;
    m_pixelFormat = pixelFormatCodeOf(image.format());
    const bool outerDelivery = m_delivering;
    m_delivering = true;
    m_callback->onFrame(this);
    m_delivering = outerDelivery;
    // The pixels are only the host's during the callback; a host keeping the pointer finds null.
    m_imageData = nullptr;
}
