// Passes Qt's message log, the camera module's warnings among them, to stderr
// unchanged, counting the warnings as it goes. The user's logging rules decide
// what is printed, never what is counted: a host program tells the end of a
// folder from the module's warnings, so it must see them all.
#ifndef LOG_RELAY_H
#define LOG_RELAY_H

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QtGlobal>

#include <atomic>
#include <functional>

class ProgressBar;
class QLoggingCategory;

class LogRelay {
public:
    LogRelay();
    ~LogRelay();
    LogRelay(const LogRelay&) = delete;
    LogRelay& operator=(const LogRelay&) = delete;

    // Warning and critical lines so far, printed or not, from any thread.
    int warningCount() const { return m_warnings.load(); }
    // Lines are written around the bar, which may be null.
    void setProgressBar(ProgressBar* bar) { m_bar = bar; }
    // A line of the program's own, "kxcam-play: text" (the application's name), not counted as a warning.
    void note(const QString& text);

    using WarningListener = std::function<void(const QString& message)>;
    // Also told of every warning and critical line, printed or not, as it comes.
    void setWarningListener(WarningListener listener) { m_listener = std::move(listener); }

private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message);
    static void filter(QLoggingCategory* category);
    void writeLine(const QByteArray& line);

    QtMessageHandler m_previousHandler;
    void (*m_previousFilter)(QLoggingCategory*);
    ProgressBar* m_bar = nullptr;
    WarningListener m_listener;
    std::atomic<int> m_warnings{0};
    // The categories whose warnings, or critical lines, the user's rules hide.
    QSet<QByteArray> m_hiddenWarnings;
    QSet<QByteArray> m_hiddenCriticals;
};

#endif
