// Plays a folder through a camera of the loaded module on the GUI thread, as
// the camera's hosts do: one trigger per timer tick, the frame copied inside
// the callback and announced once the trigger has returned (at a rate or at a
// pace from the files, at its due time on kxcam-play's schedule). Which file a frame is, the list's length and
// the end of the folder come from the camera's own log lines. The camera is
// opened on a thread of the viewer's own, since a folder of a million files
// takes a second to list and a preload can take minutes; the GUI thread
// leaves the camera alone until open has returned.
#ifndef PLAYBACK_H
#define PLAYBACK_H

#include "camera_report.h"
#include "frame_rate_meter.h"
#include "host_camera.h"
#include "host_frame.h"
#include "pace_rule.h"

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
    // shows its first frame, paused: the first file that gives one, each
    // trigger in a turn of the event loop of its own. Until open returns the state is Opening;
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
    // The camera reads follow mode when it is created: this recreates it too.
    void setFollow(bool follow);
    // Written into the parameter record when the next camera is created.
    void setPixelFormat(int code);
    // 0: a trigger whenever the event loop is free, so as fast as the window shows frames.
    void setFramesPerSecond(double rate);
    // Presents each file's frame at its recorded time, `speed` times as fast,
    // instead, from the next open or restart on.
    void setPace(const PaceRule& rule, double speed);

    State state() const { return m_state; }
    // Playing, or opening to play once open returns.
    bool playing() const { return m_state == State::Playing || (m_state == State::Opening && m_playWhenOpened); }
    QString folder() const { return m_folder; }
    QString errorString() const { return m_error; }
    bool loops() const { return m_loop; }
    bool preloads() const { return m_preload; }
    bool follows() const { return m_follow; }
    // The camera follows its folder, has played what it holds, and waits for more.
    bool waitingForFiles() const { return m_waiting; }
    // The image files of the folder, as the camera last said.
    int imageFiles() const { return m_report.files(); }
    // While opening: whether the camera still lists the folder, the files it
    // has listed so far, and those it has preloaded.
    bool listing() const { return m_listing; }
    int listedFiles() const { return m_listedFiles; }
    int preloadedFiles() const { return m_preloadedFiles; }
    const HostFrame& frame() const { return m_frame; }
    double measuredFramesPerSecond() const { return m_meter.framesPerSecond(); }
    // "file times × 2", or empty without a pace from the files.
    QString paceDescription() const;

signals:
    void frameDelivered();
    // The last frame is gone: a new camera, or the camera restarted.
    void frameCleared();
    void stateChanged();
    void opened();
    // The camera has listed or preloaded more files while it opens.
    void openingProgressed();
    // Something irregular about the files' times, as the first file of its kind is met.
    void paceNoted(const QString& note);

private:
    void setOpenSetting(bool& setting, bool value);
    void reopen(bool playWhenOpened);
    void startOpening();
    void setPlayWhenOpened(bool play);
    QString openCamera();
    void takeCameraEvent(const CameraEvent& event);
    void finishOpening();
    void closeCamera();
    void clearFrame();
    void beginRun();
    void seekFirstFrame();
    void tick();
    void trigger();
    double dueOfTrigger();
    void present();
    void receive(ICameraObject& camera);
    void setState(State state);
    PaceSchedule schedule() const;
    void startTriggerTimer();

    WarningLog& m_log;
    HostCamera m_camera;
    QString m_folder;
    QString m_error;
    bool m_loop = false;
    bool m_preload = false;
    bool m_follow = false;
    bool m_waiting = false;
    int m_pixelFormat = 0;
    double m_rate = 0.0;
    State m_state = State::NoCamera;
    HostFrame m_frame;
    HostFrame m_next;  // delivered, not presented yet
    bool m_pending = false;
    int m_received = 0;  // frames since the camera opened or restarted
    CameraReport m_report;
    int m_triggers = 0;  // since the camera opened or restarted
    FrameRateMeter m_meter;
    PaceRule m_paceRule;
    double m_paceSpeed = 1.0;
    PaceSchedule m_pace;
    QElapsedTimer m_paceClock;  // from the frame that play() started with
    double m_paceStart = 0.0;   // when that frame was due
    bool m_rebasePace = false;  // the next trigger's frame is the one play() starts with
    QTimer m_timer;
    QTimer m_seekTimer;  // the next trigger in search of the first frame
    QThread* m_opening = nullptr;
    QString m_openFailure;  // written by the opening thread, read once it has ended
    // What the camera said last while it opened, told the GUI thread through its queue.
    bool m_listing = false;
    int m_listedFiles = 0;
    int m_preloadedFiles = 0;
    bool m_playWhenOpened = false;
    bool m_reopenWanted = false;  // a folder or preload change while the camera opened
    bool m_stepWhenOpened = false;  // a new folder shows its first frame once open
};

#endif
