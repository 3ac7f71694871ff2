#include "player.h"

#include "check_report.h"
#include "exit_status.h"
#include "frame_description.h"
#include "frame_image.h"
#include "interrupt_flag.h"
#include "log_relay.h"
#include "module_follow.h"
#include "pixel_checksum.h"
#include "png_file.h"
#include "program_failure.h"
#include "replay_manifest.h"
#include "saved_frame.h"

#include <QCoreApplication>
#include <QDir>

#include <cerrno>
#include <cstdio>

namespace {

constexpr int interruptPollMilliseconds = 50;

}  // namespace

Player::Player(const CameraEntryPoints& entryPoints, const HostOptions& options, LogRelay& log)
    : m_options(options), m_log(log), m_camera(entryPoints)
{
    m_triggerTimer.setSingleShot(true);
    connect(&m_triggerTimer, &QTimer::timeout, this, &Player::step);
    m_presentTimer.setSingleShot(true);
    m_presentTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_presentTimer, &QTimer::timeout, this, &Player::present);
    connect(&m_interruptPoll, &QTimer::timeout, this, [this] {
        if (interruptRequested())
            finish();
    });
    m_camera.setFrameHandler([this](ICameraObject& camera) { onFrame(camera); });
    m_log.setWarningListener([this](const QString& message) {
        m_trigger.warnings.append(message);
        m_report.takeWarning(message);
    });
    m_log.setCameraListener([this](const CameraEvent& event) { takeCameraEvent(event); });
}

int Player::run()
{
    // Before opening, so that Ctrl-C during a long preload still ends with a summary.
    installInterruptHandler();
    if (!readManifest() || !checkOutputs() || !openCamera())
        return exitFailure;
    setUpPace();
    if (!m_options.quiet)
        writeOut(cameraLine(m_camera->m_bitsPerPixel, m_options.pixelFormat, m_options.json));
    if (m_failed)
        return m_exitStatus;
    if (stderrIsTerminal())
        m_progress = ProgressBar(true, expectedFrames(), m_options.follow);
    m_log.setAroundLine([this] { m_progress.clear(); }, [this] { m_progress.draw(); });
    m_interruptPoll.start(interruptPollMilliseconds);
    m_clock.start();
    m_triggerTimer.start(0);
    QCoreApplication::exec();
    m_log.setAroundLine(nullptr, nullptr);
    interruptHandled();
    return m_exitStatus;
}

// A run that could not write its results at its end would have been for nothing.
bool Player::checkOutputs()
{
    QString error;
    if (!m_options.saveDir.isEmpty()) {
        if (!QDir().mkpath(m_options.saveDir)) {
            m_log.note(QStringLiteral("cannot create the folder %1 for --save").arg(m_options.saveDir));
            return false;
        }
        if (!checkWritableFile(QDir(m_options.saveDir).filePath(savedFrameName(1)), error)) {
            m_log.note(QStringLiteral("cannot write into %1: %2").arg(m_options.saveDir, error));
            return false;
        }
        const QStringList earlier = QDir(m_options.saveDir).entryList({QStringLiteral("frame_*.png"), QStringLiteral("frame_*.raw")}, QDir::Files);
        if (!earlier.isEmpty())
            m_log.note(QStringLiteral("%1 holds %2 frame files of an earlier run; this run's frames replace those of the same names")
                           .arg(m_options.saveDir).arg(earlier.size()));
    }
    if (!m_options.contactSheet.isEmpty() && !checkWritableFile(m_options.contactSheet, error)) {
        m_log.note(QStringLiteral("cannot write the contact sheet %1: %2").arg(m_options.contactSheet, error));
        return false;
    }
    return true;
}

// Read whole before the camera opens: a manifest that cannot be checked against ends the run at once.
bool Player::readManifest()
{
    if (m_options.manifest.isEmpty())
        return true;
    ReplayManifest manifest;
    QString error;
    if (!manifest.read(m_options.manifest, error)) {
        m_log.note(error);
        return false;
    }
    m_check.emplace(manifest.triggers());
    // As many triggers as the run that wrote it made, unless told otherwise.
    if (m_options.frames < 0)
        m_options.frames = manifest.triggers().size();
    return true;
}

void Player::setUpPace()
{
    m_pace = m_options.fps > 0.0 ? PaceSchedule(m_options.fps * m_options.speed) : m_options.pace.schedule(m_options.speed);
    m_summary.paced = m_pace.paced();
}

bool Player::openCamera()
{
    CameraParams& params = m_camera.params();
    params.folder = m_options.folder;
    params.loop = m_options.loop ? 1 : 0;
    params.preload = m_options.preload ? 1 : 0;
    params.pixelFormat = m_options.pixelFormat;
    if (!m_camera.create()) {
        m_log.note(cameraNotCreated());
        return false;
    }
    // A large folder preloads for minutes: a user at a terminal is told why nothing happens yet.
    const bool tellOpening = m_options.preload && stderrIsTerminal();
    m_tellPreload = tellOpening;
    QElapsedTimer opening;
    opening.start();
    const int opened = m_camera->open();
    m_summary.openSeconds = double(opening.nsecsElapsed()) / 1e9;
    m_tellPreload = false;
    if (tellOpening)
        m_log.note(QStringLiteral("open took %1 s").arg(m_summary.openSeconds, 0, 'f', 1));
    if (!opened) {
        m_log.note(folderNotOpened(m_options.folder));
        return false;
    }
    if (!m_camera->start()) {
        m_log.note(acquisitionNotStarted(m_options.folder));
        return false;
    }
    // The log relay counts from the program's start.
    m_summary.warningsBeforeFirstTrigger = m_log.warningCount();
    return true;
}

// The camera's lines come while it opens and inside each trigger, on this thread.
void Player::takeCameraEvent(const CameraEvent& event)
{
    m_report.take(event);
    // A large folder preloads for minutes: a user at a terminal is told why nothing happens yet.
    if (m_tellPreload && event.kind == CameraEvent::Kind::Scanned)
        m_log.note(QStringLiteral("preloading %1 files...").arg(event.files));
}

// The frames a run will deliver, when it can be known beforehand; 0 when not.
int Player::expectedFrames() const
{
    if (m_options.loop)
        return qMax(m_options.frames, 0);
    return m_options.frames > 0 ? qMin(m_options.frames, m_report.files()) : m_report.files();
}

void Player::step()
{
    if (interruptRequested()) {
        finish();
        return;
    }
    m_trigger = TriggerRecord();
    m_trigger.number = m_triggers + 1;
    m_report.beginTrigger();
    m_callbackNanoseconds = 0;
    const qint64 start = m_clock.nsecsElapsed();
    m_camera->trigger();
    const qint64 triggerNanoseconds = m_clock.nsecsElapsed() - start - m_callbackNanoseconds;
    if (isWait()) {
        waitForFiles();
        return;
    }
    m_lastFileNanoseconds = m_clock.nsecsElapsed();
    m_summary.triggerSeconds += double(triggerNanoseconds) / 1e9;
    ++m_triggers;
    m_trigger.file = m_report.file();
    m_presentPending = true;
    if (!m_pace.paced()) {
        present();
        return;
    }
    const bool fromFile = m_report.position() >= 0 && m_options.pace.source != PaceRule::Source::None;
    const RecordedTime time = fromFile ? m_options.pace.recordedTime(m_report.file(), m_report.path()) : RecordedTime();
    m_trigger.dueSeconds = m_pace.nextDue(m_report.position(), time);
    for (const QString& note : m_pace.takeNotes())
        m_log.note(note);
    // The schedule counts from the first presentation: the first decode is not in it.
    if (m_triggers == 1)
        m_paceOriginNanoseconds = m_clock.nsecsElapsed();
    const int wait = PaceSchedule::waitMilliseconds(m_trigger.dueSeconds, pacedSeconds());
    if (wait == 0)
        present();
    else
        m_presentTimer.start(wait);
}

// Following, a trigger that took no file and said nothing.
bool Player::isWait() const
{
    return m_options.follow && !m_trigger.delivered && m_report.position() < 0 && m_trigger.warnings.isEmpty();
}

void Player::waitForFiles()
{
    m_progress.setWaiting(m_report.files());
    if (m_options.idleSeconds > 0.0 && double(m_clock.nsecsElapsed() - m_lastFileNanoseconds) / 1e9 >= m_options.idleSeconds) {
        finish();
        return;
    }
    m_triggerTimer.start(followWaitMilliseconds);
}

// Without --follow a followed folder's wait (KXCAM_FOLLOW set by the user) ends the run like the end of the list.
void Player::present()
{
    presentTrigger();
    const bool ended = !m_options.follow && (m_report.folderEnded() || m_report.waiting());
    const int counted = m_options.follow ? m_summary.frames : m_triggers;
    if (m_failed || ended || (m_options.frames > 0 && counted >= m_options.frames)) {
        finish();
        return;
    }
    m_triggerTimer.start(0);
}

// The trigger's line, and the figures taken when a frame is presented.
void Player::presentTrigger()
{
    m_presentPending = false;
    const qint64 now = m_clock.nsecsElapsed();
    if (m_pace.paced())
        noteLag(pacedSeconds());
    if (m_trigger.delivered) {
        if (m_trigger.frame.number == 1)
            m_firstFrameNanoseconds = now;
        m_summary.frameSpanSeconds = double(now - m_firstFrameNanoseconds) / 1e9;
    } else {
        ++m_summary.triggersWithoutFrame;
    }
    if (!m_options.quiet)
        writeOut(triggerLine(m_trigger, m_options.json));
    checkTrigger();
}

double Player::pacedSeconds() const
{
    return double(m_clock.nsecsElapsed() - m_paceOriginNanoseconds) / 1e9;
}

// How late the trigger under way is presented.
void Player::noteLag(double presentedSeconds)
{
    const double lag = presentedSeconds - m_trigger.dueSeconds;
    if (lag > PaceSchedule::lateAfterSeconds)
        ++m_summary.lateTriggers;
    m_summary.largestLagSeconds = qMax(m_summary.largestLagSeconds, lag);
}

void Player::checkTrigger()
{
    if (m_check)
        m_check->compare(m_trigger);
}

// Runs inside the camera's trigger; its own time is left out of the camera's.
void Player::onFrame(ICameraObject& camera)
{
    const qint64 start = m_clock.nsecsElapsed();
    // The checksum only where it is printed: on large frames it costs more than a preloaded trigger.
    const FrameRecord frame{describeFrame(camera), ++m_summary.frames, recordsFrames() ? pixelChecksum(camera) : 0u};
    m_trigger.delivered = true;
    m_trigger.frame = frame;
    m_summary.bytes += camera.m_imageSize;

    if (!m_options.contactSheet.isEmpty() && !m_sheet.isFull())
        // Reads the camera's bytes, which are gone once this returns; nothing keeps it.
        m_sheet.add(frameView(camera), frame.number);
    if (!m_options.saveDir.isEmpty())
        saveToFolder(camera, frame);
    m_progress.update(m_summary.frames, m_report.files());
    m_callbackNanoseconds = m_clock.nsecsElapsed() - start;
}

void Player::saveToFolder(const ICameraObject& camera, const FrameRecord& frame)
{
    QString error;
    if (saveFrame(frame, camera.m_imageData, m_options.saveDir, frame.number, error).isEmpty())
        fail(QStringLiteral("cannot write frame %1 into %2: %3").arg(frame.number).arg(m_options.saveDir, error));
    else
        m_summary.saved = qMax(m_summary.saved, 0) + 1;
}

// Ends the run with exitFailure once the trigger under way has returned.
void Player::fail(const QString& reason)
{
    if (m_failed)
        return;
    m_log.note(reason);
    m_failed = true;
    m_exitStatus = exitFailure;
}

void Player::finish()
{
    if (m_presentPending)
        presentTrigger();
    m_triggerTimer.stop();
    m_presentTimer.stop();
    m_interruptPoll.stop();
    m_summary.interrupted = interruptRequested();
    m_camera->stop();
    m_camera->close();
    m_summary.warnings = m_log.warningCount();
    m_progress.close();
    if (!m_options.contactSheet.isEmpty() && !writeContactSheet())
        m_exitStatus = exitFailure;
    writeOut(summaryLine(m_summary, m_options.json));
    if (m_exitStatus == exitSuccess)
        m_exitStatus = interruptExitStatus();
    if (m_check) {
        m_check->finish();
        writeOut(checkLines(*m_check, m_options.manifest, m_options.json));
        if (m_exitStatus == exitSuccess && m_check->differences() > 0)
            m_exitStatus = exitReplayDiffers;
    }
    QCoreApplication::exit(m_exitStatus);
}

bool Player::writeContactSheet()
{
    if (m_summary.frames > m_sheet.size())
        m_log.note(QStringLiteral("the contact sheet shows the first %1 of %2 frames").arg(m_sheet.size()).arg(m_summary.frames));
    QString error;
    if (writePngFile(m_sheet.render(), m_options.contactSheet, error))
        return true;
    m_log.note(QStringLiteral("cannot write the contact sheet %1: %2").arg(m_options.contactSheet, error));
    return false;
}

void Player::writeOut(const QByteArray& line)
{
    if (m_stdoutFailed)
        return;
    m_progress.clear();
    // Flushed per line, so that a reader of a pipe sees frames as they come.
    const bool written = std::fwrite(line.constData(), 1, size_t(line.size()), stdout) == size_t(line.size())
                         && std::fflush(stdout) == 0;
    const int error = errno;
    m_progress.draw();
    if (!written) {
        m_stdoutFailed = true;
        fail(QStringLiteral("cannot write to standard output: %1").arg(qt_error_string(error)));
    }
}
