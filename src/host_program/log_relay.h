// Passes Qt's message log, the camera module's warnings among them, to stderr
// unchanged, counting the warnings as it goes, and reads the camera's own
// debug lines (category "kxcam.camera"), which it turns on for the program.
// The user's logging rules decide what is printed, never what is seen: a host
// program learns each frame's file and the end of a folder from those lines
// and the module's warnings, so it must see them all.
#ifndef LOG_RELAY_H
#define LOG_RELAY_H

#include "camera_event.h"

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QtGlobal>

#include <atomic>
#include <functional>

class QLoggingCategory;

class LogRelay {
public:
    LogRelay();
    ~LogRelay();
    LogRelay(const LogRelay&) = delete;
    LogRelay& operator=(const LogRelay&) = delete;

    // Warning and critical lines so far, printed or not, from any thread.
    int warningCount() const { return m_warnings.load(); }
    // Called before and after each line, so that what else the terminal shows
    // (kxcam-play's progress bar) makes way for it; either may be empty.
    void setAroundLine(std::function<void()> before, std::function<void()> after)
    {
        m_beforeLine = std::move(before);
        m_afterLine = std::move(after);
    }
    // A line of the program's own, as programLine() words it, not counted as a warning.
    void note(const QString& text);

    using WarningListener = std::function<void(const QString& message)>;
    // Also told of every warning and critical line, printed or not, as it comes.
    void setWarningListener(WarningListener listener) { m_listener = std::move(listener); }
    using CameraListener = std::function<void(const CameraEvent& event)>;
    // Told of every camera line it reads, printed or not, on the thread that logged it.
    void setCameraListener(CameraListener listener) { m_cameraListener = std::move(listener); }

private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message);
    static void filter(QLoggingCategory* category);
    void writeLine(const QByteArray& line);

    QtMessageHandler m_previousHandler;
    void (*m_previousFilter)(QLoggingCategory*);
    std::function<void()> m_beforeLine;
    std::function<void()> m_afterLine;
    WarningListener m_listener;
    CameraListener m_cameraListener;
    std::atomic<int> m_warnings{0};
    // The categories whose warnings, or critical lines, the user's rules hide.
    QSet<QByteArray> m_hiddenWarnings;
    QSet<QByteArray> m_hiddenCriticals;
    std::atomic<bool> m_cameraLinesHidden{true};
};

#endif
