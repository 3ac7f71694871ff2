// The camera against its executable model over seeded random sequences of
// host calls, record changes and file-system changes. KXCAM_MODEL_SEEDS and
// KXCAM_MODEL_STEPS run it for longer; a failure names its seed and a
// shortened sequence that still fails.
#include "model_runner.h"

#include <QtTest>

namespace {

int environmentNumber(const char* name, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok && value > 0 ? value : fallback;
}

// Drops steps while the sequence keeps failing; bounded so a slow failure stays readable.
QVector<ModelStep> shorten(ModelRunner& runner, QVector<ModelStep> steps)
{
    steps.resize(runner.failedStep() + 1);
    int replays = 0;
    for (int chunk = steps.size() / 2; chunk >= 1 && replays < 500; chunk /= 2) {
        for (int start = 0; start < steps.size() && replays < 500;) {
            QVector<ModelStep> candidate = steps;
            candidate.remove(start, qMin(chunk, steps.size() - start));
            ++replays;
            if (!runner.run(candidate).isEmpty()) {
                candidate.resize(qMin(candidate.size(), runner.failedStep() + 1));
                steps = candidate;
            } else {
                start += chunk;
            }
        }
    }
    return steps;
}

QString listed(const QVector<ModelStep>& steps)
{
    QStringList lines;
    for (const ModelStep& step : steps)
        lines.append(QStringLiteral("  ") + step.toString());
    return lines.join(QLatin1Char('\n'));
}

}  // namespace

class ModelTest : public QObject {
    Q_OBJECT

private slots:
    void cameraFollowsModel_data();
    void cameraFollowsModel();
};

void ModelTest::cameraFollowsModel_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<bool>("preload");
    const int seeds = environmentNumber("KXCAM_MODEL_SEEDS", 4);
    for (int seed = 1; seed <= seeds; ++seed)
        for (bool preload : {false, true})
            QTest::addRow("seed %d, %s", seed, preload ? "preload" : "decode") << quint32(seed) << preload;
}

void ModelTest::cameraFollowsModel()
{
    QFETCH(quint32, seed);
    QFETCH(bool, preload);
    const QVector<ModelStep> steps = generateSteps(seed, environmentNumber("KXCAM_MODEL_STEPS", 750));
    ModelRunner runner(preload);
    const QString failure = runner.run(steps);
    if (failure.isEmpty()) {
        qInfo("%d steps, %d frames, %d warnings", int(steps.size()), runner.framesDelivered(), runner.warningsLogged());
        return;
    }
    const QVector<ModelStep> shortened = shorten(runner, steps);
    const QString again = runner.run(shortened);
    QFAIL(qPrintable(QStringLiteral("seed %1 (%2): %3\nshortened to %4 steps, failing with %5:\n%6")
                         .arg(seed).arg(preload ? "preload" : "decode", failure).arg(shortened.size())
                         .arg(again, listed(shortened))));
}

QTEST_GUILESS_MAIN(ModelTest)
#include "tst_model.moc"
