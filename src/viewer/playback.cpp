#include "playback.h"

#include "frame_description.h"
#include "frame_image.h"
#include "kxcam_pixel_format.h"
#include "module_follow.h"
#include "program_failure.h"
#include "warning_log.h"

#include <QImageReader>
#include <QThread>

namespace {

// A palette file and a grey one are both announced as GRAY8: only the file's
// own format tells the host which of the two it holds.
bool holdsPaletteIndices(const QString& path)
{
    return QImageReader(path).imageFormat() == QImage::Format_Indexed8;
}

}  // namespace

Playback::Playback(const CameraEntryPoints& entryPoints, WarningLog& log, QObject* parent)
    : QObject(parent), m_log(log), m_camera(entryPoints)
{
    // Unpaced, a repeating timer never makes up for the ticks it missed, so
    // triggers do not pile up behind slow painting.
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &Playback::tick);
    m_seekTimer.setSingleShot(true);
    connect(&m_seekTimer, &QTimer::timeout, this, &Playback::seekFirstFrame);
    m_camera.setFrameHandler([this](ICameraObject& camera) { receive(camera); });
    // Direct from a trigger on this thread; queued from the opening thread.
    connect(&log, &WarningLog::cameraSaid, this, &Playback::takeCameraEvent);
    connect(&log, &WarningLog::warned, this, [this](const QString&, const QString& message) { m_report.takeWarning(message); });
}

Playback::~Playback()
{
    // An open under way cannot be called off: it is waited for.
    if (m_opening) {
        m_opening->wait();
        delete m_opening;
    }
    closeCamera();
}

void Playback::openFolder(const QString& folder)
{
    m_folder = folder;
    m_stepWhenOpened = true;
    reopen(false);
}

void Playback::play()
{
    if (m_state == State::Opening)
        setPlayWhenOpened(true);
    if (m_state == State::NoCamera || m_state == State::Opening || m_state == State::Playing)
        return;
    if (m_state == State::EndOfFolder) {
        restart();
        return;
    }
    m_seekTimer.stop();
    m_meter.reset();
    startTriggerTimer();
    setState(State::Playing);
}

void Playback::pause()
{
    if (m_state == State::Opening)
        setPlayWhenOpened(false);
    if (m_state != State::Playing)
        return;
    m_timer.stop();
    setState(State::Paused);
}

void Playback::setPlayWhenOpened(bool play)
{
    if (m_playWhenOpened == play)
        return;
    m_playWhenOpened = play;
    emit stateChanged();
}

// A frame kept for its due time is the next one: shown at once.
void Playback::step()
{
    if (m_state == State::NoCamera || m_state == State::Opening)
        return;
    m_timer.stop();
    m_seekTimer.stop();
    setState(State::Paused);
    if (m_pending)
        present();
    else
        trigger();
}

// The camera lists the folder again at its next trigger.
void Playback::restart()
{
    if (m_state == State::NoCamera || m_state == State::Opening)
        return;
    m_seekTimer.stop();
    {
        const WarningLog::ModuleCall call(m_log, tr("restart"));
        m_camera->stop();
        m_camera->start();
    }
    clearFrame();
    beginRun();
    setState(State::Paused);
    play();
}

void Playback::setLoop(bool loop)
{
    // The camera reads the flag from the host's record at every trigger.
    m_loop = loop;
    m_camera.params().loop = loop ? 1 : 0;
}

void Playback::setPreload(bool preload)
{
    setOpenSetting(m_preload, preload);
}

void Playback::setFollow(bool follow)
{
    setOpenSetting(m_follow, follow);
}

// A setting the camera reads once, when it opens: a new value recreates it.
void Playback::setOpenSetting(bool& setting, bool value)
{
    if (setting == value)
        return;
    setting = value;
    if (!m_folder.isEmpty())
        reopen(playing());
}

void Playback::setPixelFormat(int code)
{
    m_pixelFormat = code;
}

// A new rate starts a schedule of its own, from the next trigger on.
void Playback::setFramesPerSecond(double rate)
{
    m_rate = rate;
    if (m_paceRule.source != PaceRule::Source::None)
        return;
    m_pace = schedule();
    if (m_state != State::Playing)
        return;
    m_timer.stop();
    if (m_pending)
        present();
    startTriggerTimer();
}

void Playback::setPace(const PaceRule& rule, double speed)
{
    m_paceRule = rule;
    m_paceSpeed = speed;
}

// The files' times when there is a pace from them, else the rate, as kxcam-play's --pace and --fps.
PaceSchedule Playback::schedule() const
{
    if (m_paceRule.source != PaceRule::Source::None || m_rate <= 0.0)
        return m_paceRule.schedule(m_paceSpeed);
    return PaceSchedule(m_rate);
}

// A camera opened or restarted: triggers count from 1 again, and the pace starts afresh.
void Playback::beginRun()
{
    m_triggers = 0;
    m_pace = schedule();
}

QString Playback::paceDescription() const
{
    const QString source = m_paceRule.description();
    if (source.isEmpty() || m_paceSpeed == 1.0)
        return source;
    return QStringLiteral("%1 \u00d7 %2").arg(source).arg(m_paceSpeed);
}

void Playback::reopen(bool playWhenOpened)
{
    setPlayWhenOpened(playWhenOpened);
    if (m_state == State::Opening)
        m_reopenWanted = true;
    else
        startOpening();
}

void Playback::startOpening()
{
    m_timer.stop();
    m_seekTimer.stop();
    closeCamera();
    clearFrame();
    m_report = CameraReport();
    m_waiting = false;
    beginRun();
    setModuleFollows(m_follow);
    CameraParams& params = m_camera.params();
    params.folder = m_folder;
    params.loop = m_loop ? 1 : 0;
    params.preload = m_preload ? 1 : 0;
    params.pixelFormat = m_pixelFormat;
    m_error.clear();
    m_listing = true;
    m_listedFiles = 0;
    m_preloadedFiles = 0;
    setState(State::Opening);
    m_opening = QThread::create([this] { m_openFailure = openCamera(); });
    connect(m_opening, &QThread::finished, this, &Playback::finishOpening);
    m_opening->start();
}

// On the opening thread: why the camera cannot play, or nothing.
QString Playback::openCamera()
{
    const WarningLog::ModuleCall call(m_log, tr("open"));
    if (!m_camera.create())
        return cameraNotCreated();
    if (!m_camera->open())
        return folderNotOpened(m_folder);
    if (!m_camera->start())
        return acquisitionNotStarted(m_folder);
    return QString();
}

// The opening thread's lines are queued before its end, so each comes while its open is under way.
void Playback::takeCameraEvent(const CameraEvent& event)
{
    m_report.take(event);
    if (m_state != State::Opening)
        return;
    switch (event.kind) {
    case CameraEvent::Kind::Scanning: m_listedFiles = event.files; break;
    case CameraEvent::Kind::Scanned:
        m_listing = false;
        m_listedFiles = event.files;
        break;
    case CameraEvent::Kind::Preloading:
    case CameraEvent::Kind::Preloaded: m_preloadedFiles = event.position; break;
    default: return;
    }
    emit openingProgressed();
}

void Playback::finishOpening()
{
    m_opening->wait();
    delete m_opening;
    m_opening = nullptr;
    if (m_reopenWanted) {
        m_reopenWanted = false;
        startOpening();
        return;
    }
    m_error = m_openFailure;
    if (!m_error.isEmpty())
        closeCamera();
    setState(m_error.isEmpty() ? State::Paused : State::NoCamera);
    emit opened();
    // A new folder shows its first frame; a recreated camera plays on if it was playing.
    const bool stepWhenOpened = m_stepWhenOpened;
    m_stepWhenOpened = false;
    if (m_error.isEmpty() && m_playWhenOpened)
        play();
    else if (m_error.isEmpty() && stepWhenOpened)
        seekFirstFrame();
}

// Files that give no frame are passed, each warned, up to the end of the folder.
void Playback::seekFirstFrame()
{
    trigger();
    if (m_frame.number == 0 && m_state == State::Paused)
        m_seekTimer.start(m_waiting ? followWaitMilliseconds : 0);
}

void Playback::closeCamera()
{
    if (!m_camera.camera())
        return;
    const WarningLog::ModuleCall call(m_log, tr("close"));
    m_camera->stop();
    m_camera->close();
    m_camera.destroy();
}

void Playback::clearFrame()
{
    m_frame = HostFrame();
    m_next = HostFrame();
    m_pending = false;
    m_received = 0;
    m_meter.reset();
    emit frameCleared();
}

// Each tick shows the frame kept for its due time, if any, and triggers the next.
void Playback::tick()
{
    if (m_pending)
        present();
    trigger();
}

// One trigger. Its frame is shown at once, or, playing at a pace or a rate,
// kept for its due time, on which the timer is set.
void Playback::trigger()
{
    const int receivedBefore = m_received;
    m_report.beginTrigger();
    ++m_triggers;
    {
        const WarningLog::ModuleCall call(m_log, tr("trigger %1").arg(m_triggers));
        m_camera->trigger();
    }
    m_pending = m_received > receivedBefore;
    const double due = m_pace.paced() ? dueOfTrigger() : 0.0;
    m_next.dueSeconds = due;
    if (m_report.folderEnded()) {
        m_timer.stop();
        setState(State::EndOfFolder);
        return;
    }
    if (m_waiting != m_report.waiting()) {
        m_waiting = m_report.waiting();
        emit stateChanged();
    }
    if (m_waiting) {
        if (m_state == State::Playing)
            m_timer.start(followWaitMilliseconds);
        return;
    }
    if (!m_pace.paced() || m_state != State::Playing) {
        if (m_state == State::Playing && m_timer.interval() != 0)
            m_timer.start(0);
        if (m_pending)
            present();
        return;
    }
    if (m_rebasePace) {
        m_rebasePace = false;
        m_paceClock.start();
        m_paceStart = due;
    }
    m_timer.start(PaceSchedule::waitMilliseconds(due, m_paceStart + double(m_paceClock.nsecsElapsed()) / 1e9));
}

double Playback::dueOfTrigger()
{
    const bool fromFile = m_report.position() >= 0 && m_paceRule.source != PaceRule::Source::None;
    const RecordedTime time = fromFile ? m_paceRule.recordedTime(m_report.file(), m_report.path()) : RecordedTime();
    const double due = m_pace.nextDue(m_report.position(), time);
    for (const QString& note : m_pace.takeNotes())
        emit paceNoted(note);
    return due;
}

void Playback::present()
{
    m_pending = false;
    m_frame = std::move(m_next);
    m_next = HostFrame();
    m_meter.addFrame();
    emit frameDelivered();
}

void Playback::receive(ICameraObject& camera)
{
    // The camera's bytes are gone once this returns: frameImage copies them.
    HostFrame frame;
    static_cast<FrameDescription&>(frame) = describeFrame(camera);
    frame.number = ++m_received;
    frame.image = frameImage(camera);
    if (frame.image.isNull() && camera.m_imageData && camera.m_imageSize > 0)
        frame.raw = QByteArray(reinterpret_cast<const char*>(camera.m_imageData), camera.m_imageSize);
    // The camera named the file just before it decoded it.
    if (m_report.position() >= 0) {
        frame.position = m_report.position();
        frame.file = m_report.file();
        frame.paletteIndices = frame.pixelFormat == PIXEL_FORMAT_GRAY8 && holdsPaletteIndices(m_report.path());
    }
    m_next = std::move(frame);
}

void Playback::setState(State state)
{
    if (m_state == state)
        return;
    m_state = state;
    emit stateChanged();
}

// Paced, each trigger sets the timer for its frame; the schedule counts from
// the frame that play() starts with, shown at once. Unpaced, the timer ticks
// whenever the event loop is free.
void Playback::startTriggerTimer()
{
    m_timer.setSingleShot(m_pace.paced());
    m_rebasePace = m_pace.paced() && !m_pending;
    if (m_pace.paced() && m_pending) {
        m_paceClock.start();
        m_paceStart = m_next.dueSeconds;
    }
    m_timer.start(0);
}
