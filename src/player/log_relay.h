// Passes every line of Qt's message log, the camera module's warnings among
// them, to stderr unchanged, counting the warnings as it goes.
#ifndef LOG_RELAY_H
#define LOG_RELAY_H

#include <QString>
#include <QtGlobal>

class ProgressBar;

class LogRelay {
public:
    LogRelay();
    ~LogRelay();
    LogRelay(const LogRelay&) = delete;
    LogRelay& operator=(const LogRelay&) = delete;

    // Warning and critical lines so far.
    int warningCount() const { return m_warnings; }
    // Lines are written around the bar, which may be null.
    void setProgressBar(ProgressBar* bar) { m_bar = bar; }
    // A line of the program's own, "kxcam-play: text", not counted as a warning.
    void note(const QString& text);

private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message);
    void writeLine(const QByteArray& line);

    QtMessageHandler m_previous;
    ProgressBar* m_bar = nullptr;
    int m_warnings = 0;
};

#endif
