#include "camera_virtual_folder.h"

#include "available_memory.h"
#include "folder_follower.h"
#include "folder_walk.h"
#include "frame_decoder.h"
#include "kxcam_pixel_format.h"
#include "preload_budget.h"
#include "read_ahead_schedule.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QMessageLogger>

#include <cstring>
#include <limits>

namespace {

constexpr qint64 mebibyte = 1024 * 1024;

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
      m_preload(params->preload == 1),
      m_preloadCap(PreloadBudget::capFromEnvironment()),
      m_follow(FollowSettings::fromEnvironment())
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
    // What the scan listed stays to be played, but nothing more is followed.
    m_follower.reset();
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
    if (m_grabMode == GRAB_MODE_RESTARTS_FRAME_COUNT)
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
    m_follower.reset();
    m_files = FileList();
    m_images = QList<QImage>();
}

void CCameraVirtualFolder::scanFolder()
{
    if (!m_dir || m_dir->isRoot())
        return;
    m_dir->refresh();
    emptyLists();
    m_index = -1;
    m_framelessInARow = 0;
    m_waiting = false;
    const QString folder = m_dir->absolutePath();
    std::function<void(const QString&)> beforeListing;
    // Watching before listing: a file that arrives while the scan runs is listed or told, or both.
    if (m_follow.follow) {
        m_follower.reset(new FolderFollower(folder, m_nameFilters, m_follow.settleMilliseconds, m_files));
        beforeListing = [this](const QString& listed) { m_follower->beforeListing(listed); };
    }
    // A sequence is its order: the same on every file system, whatever order it lists a folder in.
    if (CameraLog::on()) {
        m_log.scanBegins();
        appendImageFiles(folder, m_nameFilters, m_files, [this, &folder](int files) { m_log.scanning(folder, files); },
                         beforeListing);
        m_log.scanned(folder, m_files.size());
    } else {
        appendImageFiles(folder, m_nameFilters, m_files, nullptr, beforeListing);
    }
    m_files.squeeze();
    if (m_follower)
        m_follower->scanned();
    preloadImages();
}

void CCameraVirtualFolder::preloadImages()
{
    if (!m_preload)
        return;
    m_images = QList<QImage>();
    const int count = m_files.size();
    if (count == 0)
        return;
    m_images.reserve(count);
    // Decided with the old cache gone, from what the system can give now.
    PreloadBudget budget(availableMemory(), m_preloadCap);
    PreloadEnd end = PreloadEnd::NotYet;
    const bool logging = CameraLog::on();
    if (logging)
        m_log.preloadBegins();
    for (int i = 0; i < count; ++i) {
        end = preloadImage(m_files.path(i), budget);
        if (end != PreloadEnd::NotYet)
            break;
        if (logging)
            m_log.preloading(i + 1, count);
    }
    if (logging)
        m_log.preloaded(m_images.size(), count);
    if (end == PreloadEnd::OverBudget)
        QMessageLogger().warning() << "Virtual Camera: Preloaded" << m_images.size() << "of" << count
                                   << "images( " << m_params->folder << " ): the rest would pass the memory budget of"
                                   << budget.bytes() / mebibyte << "MiB";
    else if (end == PreloadEnd::MemoryRefused)
        QMessageLogger().warning() << "Virtual Camera: Preloaded" << m_images.size() << "of" << count
                                   << "images( " << m_params->folder << " ): the system refused memory for the rest";
}

// Caches the image of one file, a null one when the file does not decode, or
// says why the cache ends before this file.
CCameraVirtualFolder::PreloadEnd CCameraVirtualFolder::preloadImage(const QString& path, PreloadBudget& budget)
{
    FrameDecoder decoder(path);
    const ImageHeader header = decoder.header();
    if (!budget.fits(header.decodedBytes()))
        return PreloadEnd::OverBudget;
    QImage image;
    if (!decoder.decode(image) && header.isValid() && !header.allocatable()) {
        // Each later file is decoded at its trigger, which needs room for a
        // frame and its decode: the last cached images give it back.
        releaseCacheTail(2 * header.decodedBytes());
        return PreloadEnd::MemoryRefused;
    }
    // A header may promise less than the decode gives.
    if (!budget.fits(pixelBytes(image)))
        return PreloadEnd::OverBudget;
    budget.take(pixelBytes(image));
    m_images.append(image);
    return PreloadEnd::NotYet;
}

void CCameraVirtualFolder::releaseCacheTail(qint64 bytes)
{
    for (qint64 released = 0; released < bytes && !m_images.isEmpty(); m_images.removeLast())
        released += pixelBytes(m_images.last());
}

void CCameraVirtualFolder::trigger()
{
    // A followed folder that was empty when scanned waits for its first file rather than scanning again.
    if (m_files.isEmpty() && !m_follower) {
        scanFolder();
        if (m_files.isEmpty() && !m_follower) {
            QMessageLogger().warning() << "Virtual Camera: No image files in " << m_params->folder;
            return;
        }
    }
    if (!(m_follower ? stepFollowing() : stepForward()))
        return;
    const int count = m_files.size();
    if (CameraLog::on())
        CameraLog::fileTaken(m_index, count, m_files.relativePath(m_index));
    if (m_index >= m_images.size())
        readAheadFrom(m_files, m_index, m_params->loop != 0 && !m_follow.follow);

    // A trigger from inside the host's callback must not overwrite the frame being delivered.
    QImage nested;
    QImage& image = m_delivering ? nested : m_frame;
    if (!obtainFrame(image)) {
        QMessageLogger().warning() << "Virtual Camera: Could not load image file( " << m_files.path(m_index) << " )";
        noteNoFrame(count);
        return;
    }
    // The record and the camera describe sizes as 32-bit counts.
    if (pixelBytes(image) > std::numeric_limits<std::int32_t>::max()) {
        QMessageLogger().warning() << "Virtual Camera: Image too large( " << m_files.path(m_index) << " )";
        image = QImage();  // not kept as the reusable frame: it would hold gigabytes until the next trigger
        noteNoFrame(count);
        return;
    }
    m_framelessInARow = 0;
    deliver(image);
}

// To the next file, wrapping when the host asks for it and the folder is not
// followed; false at the end of the list.
bool CCameraVirtualFolder::stepForward()
{
    int next = m_index + 1;
    if (next >= m_files.size()) {
        if (!m_params->loop || m_follow.follow) {
            if (CameraLog::on() && !m_follow.follow)
                CameraLog::endOfList(m_files.size());
            return false;
        }
        next = 0;
    }
    m_index = next;
    return true;
}

// To the next file that may be played, from the files that arrived when the
// list has none left: a live folder has no end and does not replay. The log
// says once, not at each of a host's polls, that it waits.
bool CCameraVirtualFolder::stepFollowing()
{
    for (;;) {
        const int next = m_index + 1;
        if (next >= m_files.size() && m_follower->appendArrivals() == 0) {
            if (!m_waiting && m_files.isEmpty())
                QMessageLogger().warning() << "Virtual Camera: No image files in " << m_params->folder;
            if (!m_waiting && CameraLog::on())
                CameraLog::waitingForFiles(m_files.size());
            m_waiting = true;
            return false;
        }
        m_index = next;
        if (m_follower->mayPlay(m_index, m_index < m_images.size())) {
            m_waiting = false;
            return true;
        }
    }
}

// A looping camera whose files have all stopped giving frames would go round
// for ever: its log says so once a turn.
void CCameraVirtualFolder::noteNoFrame(int count)
{
    if (++m_framelessInARow < count)
        return;
    m_framelessInARow = 0;
    if (m_params->loop && !m_follow.follow && CameraLog::on())
        CameraLog::turnWithoutFrame(count);
}

// Past the cache's end (always, without preloading) the file is decoded now;
// within it, a null image is a file that did not decode.
bool CCameraVirtualFolder::obtainFrame(QImage& frame)
{
    if (m_index >= m_images.size())
        FrameDecoder::decode(m_files.path(m_index), frame);
    else if (!m_images.at(m_index).isNull())
        copyPixels(m_images.at(m_index), frame);
    else
        frame = QImage();
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
