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

// A string as Qt's debug stream quotes it: in double quotes, with a backslash
// before each double quote and backslash (printable characters only).
QString debugQuoted(const QString& text);

#endif
