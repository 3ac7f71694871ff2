#include "model_step.h"

#include <random>

QString ModelStep::toString() const
{
    static const char* const names[] = {
        "open", "close", "start", "stop", "trigger", "applyParameter(7)", "applyParameter(50)", "applyParameter(null)",
        "set loop", "set folder", "set grab mode", "set frame count", "recreate",
        "add file", "delete file", "truncate file", "corrupt file", "replace file", "add subfolder", "rename away",
        "rename back"};
    return QStringLiteral("%1 #%2").arg(QLatin1String(names[kind])).arg(arg);
}

QVector<ModelStep> generateSteps(std::uint32_t seed, int count)
{
    // Triggers dominate, as in a host; lifecycle calls and changes are mixed in.
    static const int weights[ModelStep::KindCount] = {
        8, 2, 6, 2, 30, 1, 3, 1,
        2, 2, 2, 1, 1,
        8, 2, 1, 1, 2, 2, 1, 1};
    std::mt19937 random(seed);
    std::discrete_distribution<int> kinds(std::begin(weights), std::end(weights));
    QVector<ModelStep> steps;
    steps.reserve(count);
    for (int i = 0; i < count; ++i)
        steps.append({static_cast<ModelStep::Kind>(kinds(random)), static_cast<std::uint32_t>(random())});
    return steps;
}
