// The reference host: plays a folder through a loaded camera module, one
// trigger per timer tick, and reports every delivered frame.
#ifndef PLAYER_H
#define PLAYER_H

#include "contact_sheet.h"
#include "frame_report.h"
#include "host_camera.h"
#include "host_options.h"
#include "image_file_list.h"
#include "progress_bar.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

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
    const ImageFileList& imageFiles();
    QString nextFile();
    int expectedFrames();
    void step();
    void scheduleNextTrigger();
    void onFrame(ICameraObject& camera);
    void saveToFolder(const ICameraObject& camera, const FrameRecord& frame);
    void fail(const QString& reason);
    void finish();
    bool writeContactSheet();
    void writeOut(const QByteArray& line);

    HostOptions m_options;
    LogRelay& m_log;
    HostCamera m_camera;
    // The folder's files as the camera lists them, when first needed.
    ImageFileList m_imageFiles;
    bool m_listed = false;
    int m_position = -1;
    TriggerRecord m_trigger;  // the one under way
    qint64 m_callbackNanoseconds = 0;
    ProgressBar m_progress{false, 0};
    ContactSheet m_sheet;
    RunSummary m_summary;
    int m_triggers = 0;
    int m_framelessInARow = 0;
    qint64 m_triggerNanoseconds = 0;  // when the trigger under way began
    qint64 m_firstFrameNanoseconds = 0;
    int m_exitStatus = 0;
    bool m_failed = false;
    bool m_stdoutFailed = false;
    QElapsedTimer m_clock;
    QTimer m_triggerTimer;
    QTimer m_interruptPoll;
};

#endif
