#include "timing.h"

#include <algorithm>
#include <chrono>

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    if (values.size() % 2 == 1)
        return *middle;
    return (*middle + *std::max_element(values.begin(), middle)) / 2;
}

double secondsFor(int count, const std::function<void()>& operation)
{
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < count; ++i)
        operation();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

int operationsPerRound(double roundSeconds, const std::function<void()>& operation, int maximum)
{
    operation();  // warm caches and lazily loaded plugins first
    const double once = std::max(secondsFor(3, operation) / 3, 1e-9);
    return std::clamp(static_cast<int>(roundSeconds / once), 1, maximum);
}

Comparison compareInterleaved(int rounds, const Round& subject, const Round& floor)
{
    std::vector<double> subjectTimes;
    std::vector<double> floorTimes;
    for (int round = 0; round < rounds; ++round) {
        // Alternate which goes first so neither always inherits the other's cache state.
        if (round % 2 == 0) {
            subjectTimes.push_back(subject());
            floorTimes.push_back(floor());
        } else {
            floorTimes.push_back(floor());
            subjectTimes.push_back(subject());
        }
    }
    std::vector<double> ratios;
    for (std::size_t i = 0; i < subjectTimes.size(); ++i)
        ratios.push_back(floorTimes[i] > 0 ? subjectTimes[i] / floorTimes[i] : 0);
    return {median(subjectTimes), median(floorTimes), median(ratios)};
}
