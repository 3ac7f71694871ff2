// Collects the module's log lines for exact comparison. Lines from Qt's own
// image readers (libpng and libjpeg warnings) are not the module's and are
// left out.
#ifndef LOG_CAPTURE_H
#define LOG_CAPTURE_H

#include <QStringList>
#include <QtGlobal>

class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    // "warning: <text>" or "debug: <text>", oldest first.
    QStringList lines() const;
    // The lines so far, which are then forgotten.
    QStringList take();
    void clear();

private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message);
    QtMessageHandler m_previous;
};

// Turns the camera's own lines (its category's debug messages) on while it lives.
class CameraLinesOn {
public:
    CameraLinesOn();
    ~CameraLinesOn();
    CameraLinesOn(const CameraLinesOn&) = delete;
    CameraLinesOn& operator=(const CameraLinesOn&) = delete;
};

// A captured line with its measured seconds written as "S", for exact comparison.
QString withoutSeconds(const QString& line);
QStringList withoutSeconds(const QStringList& lines);
// A string as a JSON writer quotes it, the way the camera's own lines write paths.
QString jsonQuoted(const QString& text);
// The captured line of a trigger that takes the file at `index` (from 0) of `count`.
QString fileTakenLine(int index, int count, const QString& relativePath);

// A string as Qt's debug stream quotes it: in double quotes, with a backslash
// before each double quote and backslash (printable characters only).
QString debugQuoted(const QString& text);

#endif
