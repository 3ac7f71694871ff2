#include "camera_model.h"

#include "delivered_frame.h"
#include "frame_order.h"
#include "log_capture.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>

#include <cstdint>
#include <limits>

namespace {

int bitsOfRecordFormat(int code)
{
    const int bits[] = {0, 8, 24, 32, 16};
    return code >= 1 && code <= 4 ? bits[code] : 0;
}

}  // namespace

CameraModel::CameraModel(const CameraParams* record)
    : m_record(record), m_preload(record->preload == 1), m_recordWidth(record->width), m_recordHeight(record->height)
{
    m_state.bitsPerPixel = bitsOfRecordFormat(record->pixelFormat);
}

void CameraModel::keepRecordSize(int width, int height)
{
    m_recordWidth = width;
    m_recordHeight = height;
}

int CameraModel::open()
{
    if (!m_hasDirectory) {
        m_directoryPath = m_record->folder;
        if (!QDir(m_directoryPath).exists())
            m_directoryPath = QCoreApplication::applicationDirPath() + QLatin1Char('/') + m_record->folder;
        m_hasDirectory = true;
    }
    if (QDir(m_directoryPath).exists()) {
        scan();
        m_state.opened = true;
        return 1;
    }
    warn(QStringLiteral("Folder(  %1  ) not exist").arg(debugQuoted(m_record->folder)));
    m_hasDirectory = false;
    return 0;
}

void CameraModel::close()
{
    stop();
    m_state.opened = false;
    m_state.grabbing = false;
    m_hasDirectory = false;
}

int CameraModel::start()
{
    if (!m_state.opened)
        return 0;
    ++m_state.startCount;
    m_state.activeGrabMode = m_state.grabMode;
    if (m_state.grabMode == 3)
        m_state.frameCount = 0;
    m_state.grabbing = true;
    m_index = -1;
    return 1;
}

void CameraModel::stop()
{
    if (!m_state.grabbing)
        return;
    m_files.clear();
    m_images.clear();
    m_state.activeGrabMode = 0;
    m_state.grabbing = false;
}

bool CameraModel::applyParameter(const CameraParamChange* change)
{
    if (!change)
        return false;
    if (change->id == PARAM_IMAGE_FOLDER) {
        close();
        open();
    }
    return true;
}

void CameraModel::scan()
{
    if (!m_hasDirectory || QDir(m_directoryPath).isRoot())
        return;
    m_files.clear();
    m_images.clear();
    m_index = -1;
    const QStringList filters{QStringLiteral("*.BMP"), QStringLiteral("*.JPEG"), QStringLiteral("*.JPG"),
                              QStringLiteral("*.PNG")};
    const QString folder = QDir(m_directoryPath).absolutePath();
    QDirIterator it(folder, filters, QDir::Files | QDir::NoSymLinks, QDirIterator::Subdirectories);
    while (it.hasNext())
        m_files.append(it.next());
    m_files = inFrameOrder(m_files, folder);
    if (m_preload)
        for (const QString& path : qAsConst(m_files))
            m_images.append(QImage(path));
}

void CameraModel::trigger()
{
    if (m_files.isEmpty()) {
        scan();
        if (m_files.isEmpty()) {
            warn(QStringLiteral("No image files in  %1").arg(debugQuoted(m_record->folder)));
            return;
        }
    }
    int next = m_index + 1;
    if (next >= m_files.size()) {
        if (!m_record->loop)
            return;
        next = 0;
    }
    m_index = next;
    const QString path = m_files.at(m_index);
    const QImage image = m_preload ? m_images.value(m_index) : QImage(path);
    if (image.isNull()) {
        warn(QStringLiteral("Could not load image file(  %1  )").arg(debugQuoted(path)));
        return;
    }
    if (image.sizeInBytes() > std::numeric_limits<std::int32_t>::max()) {
        warn(QStringLiteral("Image too large(  %1  )").arg(debugQuoted(path)));
        return;
    }
    deliver(image);
}

void CameraModel::deliver(const QImage& image)
{
    m_state.frameCount = static_cast<std::int32_t>(static_cast<std::uint32_t>(m_state.frameCount) + 1u);
    m_state.width = image.width();
    m_state.height = image.height();
    m_state.imageSize = static_cast<int>(image.sizeInBytes());
    m_state.bitsPerPixel = image.depth();
    m_state.pixelFormat = announcedPixelFormat(image.format());
    m_recordWidth = image.width();
    m_recordHeight = image.height();
    ExpectedFrame frame;
    frame.state = m_state;
    frame.state.imageDataNull = false;
    frame.recordWidth = m_recordWidth;
    frame.recordHeight = m_recordHeight;
    frame.rows = pixelRows(image);
    m_frames.append(frame);
}

void CameraModel::warn(const QString& text)
{
    m_log.append(QStringLiteral("warning: Virtual Camera: ") + text);
}

QList<ExpectedFrame> CameraModel::takeFrames()
{
    QList<ExpectedFrame> frames;
    frames.swap(m_frames);
    return frames;
}

QStringList CameraModel::takeLog()
{
    QStringList log;
    log.swap(m_log);
    return log;
}
