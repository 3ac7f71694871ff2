#include "player.h"

#include "frame_image.h"
#include "image_file_count.h"
#include "interrupt_flag.h"
#include "log_relay.h"
#include "pixel_checksum.h"

#include <QCoreApplication>
#include <QDir>

#include <cmath>
#include <cstdio>

namespace {

constexpr int interruptPollMilliseconds = 50;

// The frames a run will deliver, when it can be known beforehand.
int expectedFrames(const PlayerOptions& options, int imageFiles)
{
    if (options.frames > 0)
        return options.loop ? options.frames : qMin(options.frames, imageFiles);
    return options.loop ? 0 : imageFiles;
}

}  // namespace

Player::Player(const CameraEntryPoints& entryPoints, const PlayerOptions& options, LogRelay& log)
    : m_options(options),
      m_log(log),
      m_camera(entryPoints),
      m_imageFiles(countImageFiles(options.folder)),
      m_progress(stderrIsTerminal(), expectedFrames(options, m_imageFiles))
{
    m_triggerTimer.setSingleShot(true);
    m_triggerTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_triggerTimer, &QTimer::timeout, this, &Player::step);
    connect(&m_interruptPoll, &QTimer::timeout, this, [this] {
        if (interruptRequested())
            finish();
    });
    m_camera.setFrameHandler([this](ICameraObject& camera) { onFrame(camera); });
}

int Player::run()
{
    if (!m_options.saveDir.isEmpty() && !QDir().mkpath(m_options.saveDir)) {
        m_log.note(QStringLiteral("cannot create the folder %1 for --save").arg(m_options.saveDir));
        return 1;
    }
    if (!openCamera())
        return 1;
    m_log.setProgressBar(&m_progress);
    installInterruptHandler();
    m_interruptPoll.start(interruptPollMilliseconds);
    m_clock.start();
    m_triggerTimer.start(0);
    QCoreApplication::exec();
    m_log.setProgressBar(nullptr);
    return m_exitStatus;
}

bool Player::openCamera()
{
    CameraParams& params = m_camera.params();
    params.folder = m_options.folder;
    params.loop = m_options.loop ? 1 : 0;
    params.preload = m_options.preload ? 1 : 0;
    params.pixelFormat = m_options.pixelFormat;
    if (!m_camera.create()) {
        m_log.note(QStringLiteral("the module refused to create a camera"));
        return false;
    }
    if (!m_camera->open()) {
        m_log.note(QStringLiteral("the camera cannot open the folder %1").arg(m_options.folder));
        return false;
    }
    if (!m_camera->start()) {
        m_log.note(QStringLiteral("the camera cannot start acquisition on %1").arg(m_options.folder));
        return false;
    }
    return true;
}

// The camera never says that a folder has ended, so the host tells the end
// from what a trigger leaves behind. Without wrapping, the one trigger that
// delivers no frame and writes no warning is the one past the last file; an
// undecodable file gives no frame either, but always a warning. Wrapping or
// not, more frameless triggers in a row than the folder has image files mean
// nothing will come (an empty folder, or nothing but undecodable files).
void Player::step()
{
    if (interruptRequested()) {
        finish();
        return;
    }
    const int framesBefore = m_summary.frames;
    const int warningsBefore = m_log.warningCount();
    m_camera->trigger();
    ++m_triggers;
    m_summary.warnings += m_log.warningCount() - warningsBefore;
    if (m_summary.frames > framesBefore) {
        m_framelessInARow = 0;
    } else {
        ++m_summary.triggersWithoutFrame;
        ++m_framelessInARow;
        const bool endOfList = !m_options.loop && m_log.warningCount() == warningsBefore;
        if (endOfList || m_framelessInARow > m_imageFiles) {
            finish();
            return;
        }
    }
    if (m_options.frames > 0 && m_triggers >= m_options.frames) {
        finish();
        return;
    }
    scheduleNextTrigger();
}

void Player::scheduleNextTrigger()
{
    if (m_options.fps <= 0.0) {
        m_triggerTimer.start(0);
        return;
    }
    // Deadlines from the start, so timer lateness does not add up over a run.
    const double dueMilliseconds = m_triggers * 1000.0 / m_options.fps;
    const double waitMilliseconds = dueMilliseconds - double(m_clock.nsecsElapsed()) / 1e6;
    m_triggerTimer.start(waitMilliseconds > 0.0 ? int(std::ceil(waitMilliseconds)) : 0);
}

void Player::onFrame(ICameraObject& camera)
{
    FrameRecord frame;
    frame.number = ++m_summary.frames;
    frame.width = camera.m_width;
    frame.height = camera.m_height;
    frame.depth = camera.m_bitsPerPixel;
    frame.pixelFormat = camera.m_pixelFormat;
    frame.bytes = camera.m_imageSize;
    frame.checksum = pixelChecksum(camera);
    m_summary.bytes += camera.m_imageSize;

    const bool wantImage = !m_options.saveDir.isEmpty() || (!m_options.contactSheet.isEmpty() && !m_sheet.isFull());
    if (wantImage) {
        // The camera's bytes are gone once this returns: copy them now.
        const QImage image = frameImage(camera);
        if (!m_options.contactSheet.isEmpty())
            m_sheet.add(image, frame.number);
        if (!m_options.saveDir.isEmpty()) {
            const QString path = QDir(m_options.saveDir).filePath(QStringLiteral("frame_%1.png").arg(frame.number, 6, 10, QLatin1Char('0')));
            if (image.isNull())
                m_log.note(QStringLiteral("frame %1 is not saved: pixel format %2 has no image format")
                               .arg(frame.number)
                               .arg(pixelFormatNames.value(frame.pixelFormat)));
            else if (!image.save(path, "PNG"))
                m_log.note(QStringLiteral("cannot write %1").arg(path));
        }
    }
    if (!m_options.quiet)
        writeOut(frameLine(frame, m_options.json));
    m_progress.update(m_summary.frames);
}

void Player::finish()
{
    m_triggerTimer.stop();
    m_interruptPoll.stop();
    m_summary.seconds = double(m_clock.nsecsElapsed()) / 1e9;
    m_summary.interrupted = interruptRequested();
    m_camera->stop();
    m_camera->close();
    m_progress.close();
    if (!m_options.contactSheet.isEmpty() && !writeContactSheet())
        m_exitStatus = 1;
    writeOut(summaryLine(m_summary, m_options.json));
    QCoreApplication::exit(m_exitStatus);
}

bool Player::writeContactSheet()
{
    if (m_summary.frames > m_sheet.size())
        m_log.note(QStringLiteral("the contact sheet shows the first %1 of %2 frames").arg(m_sheet.size()).arg(m_summary.frames));
    if (m_sheet.render().save(m_options.contactSheet, "PNG"))
        return true;
    m_log.note(QStringLiteral("cannot write the contact sheet %1").arg(m_options.contactSheet));
    return false;
}

void Player::writeOut(const QByteArray& line)
{
    m_progress.clear();
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    // Flushed per line, so that a reader of a pipe sees frames as they come.
    std::fflush(stdout);
    m_progress.draw();
}
