// The reference host: plays a folder through a loaded camera module, one
// trigger per timer tick, and reports every delivered frame, with the file
// the camera's log names for it. A paced trigger comes as soon as the one
// before it has been presented; its frame is presented at its due time. A
// followed folder's trigger that finds nothing new is a wait, not a trigger
// of the run's: it is not shown, and the next comes a few milliseconds later.
#ifndef PLAYER_H
#define PLAYER_H

#include "camera_report.h"
#include "contact_sheet.h"
#include "frame_report.h"
#include "host_camera.h"
#include "host_options.h"
#include "manifest_check.h"
#include "pace_rule.h"
#include "progress_bar.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <optional>

class LogRelay;

class Player : public QObject {
    Q_OBJECT

public:
    Player(const CameraEntryPoints& entryPoints, const HostOptions& options, LogRelay& log);

    // Runs the event loop until the run ends; the process exit status.
    int run();

private:
    bool checkOutputs();
    bool openCamera();
    bool readManifest();
    void setUpPace();
    bool recordsFrames() const { return !m_options.quiet || m_check; }
    void takeCameraEvent(const CameraEvent& event);
    int expectedFrames() const;
    void step();
    bool isWait() const;
    void waitForFiles();
    void present();
    void presentTrigger();
    double pacedSeconds() const;
    void noteLag(double presentedSeconds);
    void checkTrigger();
    void onFrame(ICameraObject& camera);
    void saveToFolder(const ICameraObject& camera, const FrameRecord& frame);
    void fail(const QString& reason);
    void finish();
    bool writeContactSheet();
    void writeOut(const QByteArray& line);

    HostOptions m_options;
    LogRelay& m_log;
    HostCamera m_camera;
    CameraReport m_report;
    bool m_tellPreload = false;  // while the camera opens: say how many files it preloads
    TriggerRecord m_trigger;  // the one under way
    bool m_presentPending = false;  // it has returned, and is not presented yet
    qint64 m_callbackNanoseconds = 0;
    ProgressBar m_progress{false, 0};
    ContactSheet m_sheet;
    RunSummary m_summary;
    PaceSchedule m_pace;
    std::optional<ManifestCheck> m_check;  // with --check
    int m_triggers = 0;  // a followed folder's waits left out
    qint64 m_lastFileNanoseconds = 0;  // when a trigger last took a file, or the run began
    qint64 m_paceOriginNanoseconds = 0;  // when the first trigger was presented
    qint64 m_firstFrameNanoseconds = 0;  // when the first frame was presented
    int m_exitStatus = 0;
    bool m_failed = false;
    bool m_stdoutFailed = false;
    QElapsedTimer m_clock;
    QTimer m_triggerTimer;
    QTimer m_presentTimer;
    QTimer m_interruptPoll;
};

#endif
