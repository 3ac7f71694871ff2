// Qt's message log as the viewer sees it, through the host programs' log
// relay: lines go to stderr as the user's logging rules say, and warnings are
// seen whatever the rules. The warning and critical lines a thread writes while
// it is inside a call into the camera, which are the module's and its image
// decoders', are counted and announced with the call they came from; Qt's own
// warnings about the platform are not the camera's and stay out. The camera's
// own lines are announced too, as they come.
#ifndef WARNING_LOG_H
#define WARNING_LOG_H

#include "log_relay.h"

#include <QObject>
#include <QString>

#include <atomic>

class WarningLog : public QObject {
    Q_OBJECT

public:
    explicit WarningLog(QObject* parent = nullptr);

    int warningCount() const { return m_warnings.load(); }

    // Marks a call into the camera for as long as it lives; its warnings are
    // announced with origin and the file the camera's line says the call
    // took, e.g. "trigger 3, sub/b.png".
    class ModuleCall {
    public:
        explicit ModuleCall(WarningLog& log, const QString& origin = QString());
        ~ModuleCall();
        ModuleCall(const ModuleCall&) = delete;
        ModuleCall& operator=(const ModuleCall&) = delete;

        QString origin() const;

    private:
        friend class WarningLog;
        WarningLog& m_log;
        QString m_origin;
        QString m_file;
        ModuleCall* m_outer;
    };

signals:
    // Emitted on the logging thread; queued to receivers on other threads.
    void warned(const QString& origin, const QString& message);
    void cameraSaid(const CameraEvent& event);

private:
    LogRelay m_relay;
    std::atomic<int> m_warnings{0};
};

#endif
