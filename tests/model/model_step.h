// One host action or file-system change in a model-driven sequence. The
// argument picks among the choices the action has when it runs, so a sequence
// with steps dropped still replays.
#ifndef MODEL_STEP_H
#define MODEL_STEP_H

#include <QString>
#include <QVector>

#include <cstdint>

struct ModelStep {
    enum Kind {
        Open, Close, Start, Stop, Trigger, ApplyOther, ApplyFolder, ApplyNull,
        SetLoop, SetFolder, SetGrabMode, SetFrameCount, Recreate,
        AddFile, DeleteFile, TruncateFile, CorruptFile, ReplaceFile, AddSubfolder, RenameAway, RenameBack,
        KindCount
    };
    Kind kind;
    std::uint32_t arg;

    QString toString() const;
};

// A reproducible sequence: the same seed gives the same steps.
QVector<ModelStep> generateSteps(std::uint32_t seed, int count);

#endif
