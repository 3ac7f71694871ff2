// Plays a folder through a camera of the loaded module on the GUI thread, as
// the camera's hosts do: one trigger per timer tick, the frame copied inside
// the callback and announced once the trigger has returned. The folder is
// listed and the camera opened on a thread of the viewer's own, since a
// folder of a million files takes a second to list and a preload can take
// minutes; the GUI thread leaves the camera alone until open has returned.
#ifndef PLAYBACK_H
#define PLAYBACK_H

#include "file_cursor.h"
#include "frame_rate_meter.h"
#include "host_camera.h"
#include "host_frame.h"
#include "image_file_list.h"
#include "pace_schedule.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class QThread;
class WarningLog;

class Playback : public QObject {
    Q_OBJECT

public:
    enum class State { NoCamera, Opening, Paused, Playing, EndOfFolder };

    Playback(const CameraEntryPoints& entryPoints, WarningLog& log, QObject* parent = nullptr);
    ~Playback() override;

    // Creates a camera on the folder and opens it on the opening thread, then
    // shows its first frame, paused. Until open returns the state is Opening;
    // a folder that cannot be opened leaves NoCamera, and errorString() says
    // why. opened() tells either way.
    void openFolder(const QString& folder);
    // While the camera opens, these say whether it plays once open returns.
    void play();
    void pause();
    void step();
    // Stops and starts the camera, so it plays from the first file again.
    void restart();

    void setLoop(bool loop);
    // The camera reads the preload flag once, when it opens: this recreates
    // it, and plays on once it has opened if it was playing.
    void setPreload(bool preload);
    // Written into the parameter record when the next camera is created.
    void setPixelFormat(int code);
    // 0: a trigger whenever the event loop is free, so as fast as the window shows frames.
    void setFramesPerSecond(double rate);
    // Triggers each file at its recorded time instead, from the next listing of the folder on.
    void setPace(const PaceRule& rule);

    State state() const { return m_state; }
    // Playing, or opening to play once open returns.
    bool playing() const { return m_state == State::Playing || (m_state == State::Opening && m_playWhenOpened); }
    QString folder() const { return m_folder; }
    QString errorString() const { return m_error; }
    bool loops() const { return m_loop; }
    bool preloads() const { return m_preload; }
    // The image files of the folder, as the host lists them when the camera opens or restarts.
    int imageFiles() const { return m_files.size(); }
    // While opening: whether the folder is still being listed, and the files listed so far.
    bool listing() const { return m_listing; }
    int listedFiles() const { return m_listedFiles; }
    const HostFrame& frame() const { return m_frame; }
    double measuredFramesPerSecond() const { return m_meter.framesPerSecond(); }
    // "file times × 2", or empty without a pace from the files.
    QString paceDescription() const;
    // What is irregular about the listed files' times.
    const QStringList& paceIrregularities() const { return m_pace.irregularities(); }

signals:
    void frameDelivered();
    // The last frame is gone: a new camera, or the camera restarted.
    void frameCleared();
    void stateChanged();
    void opened();
    // The opening thread has listed more files, or all of them.
    void listingProgressed();

private:
    void reopen(bool playWhenOpened);
    void startOpening();
    void setPlayWhenOpened(bool play);
    QString openCamera();
    void showListed(int files, bool done);
    void finishOpening();
    void closeCamera();
    void clearFrame();
    void listFiles();
    void useFiles(ImageFileList files);
    void trigger();
    void receive(ICameraObject& camera);
    void setState(State state);
    int timerInterval() const;
    void startTriggerTimer();
    void scheduleNextTrigger();

    WarningLog& m_log;
    HostCamera m_camera;
    QString m_folder;
    QString m_error;
    bool m_loop = false;
    bool m_preload = false;
    int m_pixelFormat = 0;
    double m_rate = 0.0;
    State m_state = State::NoCamera;
    HostFrame m_frame;
    FileCursor m_files;
    int m_triggers = 0;  // since the camera opened or restarted
    FrameRateMeter m_meter;
    PaceRule m_paceRule;
    PaceSchedule m_pace;
    QElapsedTimer m_paceClock;  // from the trigger that play() started with
    double m_paceStart = 0.0;   // when that trigger was due
    QTimer m_timer;
    QThread* m_opening = nullptr;
    QString m_openFailure;  // written by the opening thread, read once it has ended
    ImageFileList m_listed;  // likewise
    // What the opening thread reported last, told the GUI thread through its queue.
    bool m_listing = false;
    int m_listedFiles = 0;
    bool m_playWhenOpened = false;
    bool m_reopenWanted = false;  // a folder or preload change while the camera opened
    bool m_stepWhenOpened = false;  // a new folder shows its first frame once open
};

#endif
