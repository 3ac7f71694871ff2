#include "playback.h"

#include "frame_description.h"
#include "frame_image.h"
#include "kxcam_pixel_format.h"
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
    // A repeating timer never makes up for the ticks it missed, so triggers
    // do not pile up behind slow painting.
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &Playback::trigger);
    m_camera.setFrameHandler([this](ICameraObject& camera) { receive(camera); });
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

void Playback::step()
{
    if (m_state == State::NoCamera || m_state == State::Opening)
        return;
    m_timer.stop();
    setState(State::Paused);
    trigger();
}

void Playback::restart()
{
    if (m_state == State::NoCamera || m_state == State::Opening)
        return;
    const WarningLog::ModuleCall call(m_log, tr("restart"));
    m_camera->stop();
    m_camera->start();
    // The camera lists the folder again at its next trigger.
    listFiles();
    clearFrame();
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
    if (m_preload == preload)
        return;
    m_preload = preload;
    if (!m_folder.isEmpty())
        reopen(playing());
}

void Playback::setPixelFormat(int code)
{
    m_pixelFormat = code;
}

void Playback::setFramesPerSecond(double rate)
{
    m_rate = rate;
    if (m_timer.isActive())
        startTriggerTimer();
}

void Playback::setPace(const PaceRule& rule)
{
    m_paceRule = rule;
}

QString Playback::paceDescription() const
{
    return m_pace.paced() ? m_paceRule.description() : QString();
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
    closeCamera();
    clearFrame();
    m_files = FileCursor();
    CameraParams& params = m_camera.params();
    params.folder = m_folder;
    params.loop = m_loop ? 1 : 0;
    params.preload = m_preload ? 1 : 0;
    params.pixelFormat = m_pixelFormat;
    m_error.clear();
    m_listing = true;
    m_listedFiles = 0;
    setState(State::Opening);
    const QString folder = m_folder;
    m_opening = QThread::create([this, folder] {
        const auto tell = [this](int files, bool done) {
            QMetaObject::invokeMethod(this, [this, files, done] { showListed(files, done); }, Qt::QueuedConnection);
        };
        m_listed = listImageFiles(folder, [&tell](int files) { tell(files, false); });
        tell(m_listed.size(), true);
        m_openFailure = openCamera();
    });
    connect(m_opening, &QThread::finished, this, &Playback::finishOpening);
    m_opening->start();
}

// On the opening thread: why the camera cannot play, or nothing.
QString Playback::openCamera()
{
    const WarningLog::ModuleCall call(m_log, tr("open"));
    if (!m_camera.create())
        return tr("The camera module refused to create a camera.");
    if (!m_camera->open())
        return tr("The camera cannot open the folder %1.").arg(m_camera.params().folder);
    if (!m_camera->start())
        return tr("The camera cannot start acquisition in %1.").arg(m_camera.params().folder);
    return QString();
}

// The thread's reports are queued before its end, so each comes while its open is under way.
void Playback::showListed(int files, bool done)
{
    m_listedFiles = files;
    m_listing = !done;
    emit listingProgressed();
}

void Playback::finishOpening()
{
    m_opening->wait();
    delete m_opening;
    m_opening = nullptr;
    useFiles(std::move(m_listed));
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
        step();
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
    m_meter.reset();
    emit frameCleared();
}

void Playback::listFiles()
{
    useFiles(listImageFiles(m_folder));
}

// The cursor starts before the first file, and the pace is the files' own.
void Playback::useFiles(ImageFileList files)
{
    m_files = FileCursor(std::move(files));
    m_triggers = 0;
    if (m_paceRule.source != PaceRule::Source::None)
        m_pace = PaceSchedule(m_paceRule.recordedTimes(m_files.list().paths(), m_files.list().root()), m_paceRule.speed);
}

void Playback::trigger()
{
    const int framesBefore = m_frame.number;
    const int warningsBefore = m_log.warningCount();
    const int next = m_files.step(m_loop);
    ++m_triggers;
    const QString origin = next >= 0 ? tr("trigger %1, %2").arg(m_triggers).arg(m_files.relativePath(next))
                                     : tr("trigger %1").arg(m_triggers);
    {
        const WarningLog::ModuleCall call(m_log, origin);
        m_camera->trigger();
    }
    scheduleNextTrigger();
    const bool delivered = m_frame.number > framesBefore;
    if (m_files.ended(delivered, m_log.warningCount() > warningsBefore, m_loop)) {
        m_timer.stop();
        setState(State::EndOfFolder);
    } else if (delivered) {
        emit frameDelivered();
    }
}

void Playback::receive(ICameraObject& camera)
{
    // The camera's bytes are gone once this returns: frameImage copies them.
    HostFrame frame;
    static_cast<FrameDescription&>(frame) = describeFrame(camera);
    frame.number = m_frame.number + 1;
    frame.image = frameImage(camera);
    if (frame.image.isNull() && camera.m_imageData && camera.m_imageSize > 0)
        frame.raw = QByteArray(reinterpret_cast<const char*>(camera.m_imageData), camera.m_imageSize);
    const int position = m_files.position();
    if (position >= 0) {
        frame.position = position;
        frame.file = m_files.relativePath(position);
        frame.paletteIndices = frame.pixelFormat == PIXEL_FORMAT_GRAY8 && holdsPaletteIndices(m_files.path(position));
    }
    m_frame = std::move(frame);
    m_meter.addFrame();
}

void Playback::setState(State state)
{
    if (m_state == state)
        return;
    m_state = state;
    emit stateChanged();
}

// At a pace from the files, each trigger arms the timer for the next; the
// schedule counts from the trigger that play() started with.
void Playback::startTriggerTimer()
{
    m_timer.setSingleShot(m_pace.paced());
    if (!m_pace.paced()) {
        m_timer.start(timerInterval());
        return;
    }
    m_paceClock.start();
    m_paceStart = m_pace.dueSeconds(m_triggers);
    m_timer.start(0);
}

void Playback::scheduleNextTrigger()
{
    if (!m_pace.paced() || m_state != State::Playing)
        return;
    m_timer.start(m_pace.waitMilliseconds(m_triggers, m_paceStart + double(m_paceClock.nsecsElapsed()) / 1e9));
}

int Playback::timerInterval() const
{
    return m_rate > 0.0 ? qMax(1, qRound(1000.0 / m_rate)) : 0;
}
