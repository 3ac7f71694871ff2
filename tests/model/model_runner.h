// Drives the loaded camera and the model with one sequence of steps and
// compares them after every step: results, public members, the record's size,
// the frames handed to the callback and the log lines.
#ifndef MODEL_RUNNER_H
#define MODEL_RUNNER_H

#include "model_step.h"

#include <QString>
#include <QVector>

class ModelRunner {
public:
    explicit ModelRunner(bool preload) : m_preload(preload) {}

    // Empty when camera and model agreed throughout; otherwise the first disagreement.
    QString run(const QVector<ModelStep>& steps);
    // The position of the step that disagreed, or -1.
    int failedStep() const { return m_failedStep; }
    // What the last run exercised.
    int framesDelivered() const { return m_frames; }
    int warningsLogged() const { return m_warnings; }

private:
    bool m_preload;
    int m_failedStep = -1;
    int m_frames = 0;
    int m_warnings = 0;
};

#endif
