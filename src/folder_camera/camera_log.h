// The camera's own account of its work, in the logging category
// "kxcam.camera", whose debug lines are off unless a host or its user turns
// them on: which file each trigger takes, where the list ends, how a scan and
// a preload go. A person reads them in a host's log, and a program parses
// them: every path is written as a JSON string.
#ifndef CAMERA_LOG_H
#define CAMERA_LOG_H

#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QString>

Q_DECLARE_LOGGING_CATEGORY(cameraCategory)

class CameraLog {
public:
    // Whether the lines are wanted: checked before anything is built for one.
    static bool on() { return cameraCategory().isDebugEnabled(); }
    // `text` as a JSON string: in double quotes, with quotes, backslashes and control characters escaped.
    static QString quoted(const QString& text);

    // A trigger takes the file at `index` (from 0) of `count`, its path relative to the folder.
    static void fileTaken(int index, int count, const QString& relativePath);
    static void endOfList(int count);
    // A followed folder has given nothing new after the `count` files listed.
    static void waitingForFiles(int count);
    static void turnWithoutFrame(int count);

    // A scan of `folder` begins, has listed `files` so far, has ended.
    void scanBegins();
    void scanning(const QString& folder, int files);
    void scanned(const QString& folder, int files);
    // A preload of `count` files begins, has cached `done` of them, has ended.
    void preloadBegins();
    void preloading(int done, int count);
    void preloaded(int done, int count);

private:
    // Progress lines come at most this often, so a long scan does not flood the log.
    bool progressDue();
    static void write(const QString& line);

    QElapsedTimer m_work;
    qint64 m_lastProgress = 0;
};

#endif
