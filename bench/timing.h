// Side-by-side timing: a subject and its floor measured in alternating rounds
// in the same process, so drift of a shared machine hits both alike.
#ifndef TIMING_H
#define TIMING_H

#include <functional>
#include <vector>

// One round of a measured operation: runs it and returns seconds per operation.
using Round = std::function<double()>;

struct Comparison {
    double subject = 0;  // median seconds per operation
    double floor = 0;
    // Median of the rounds' own ratios: neighbours in time share the machine's load.
    double ratio = 0;
};

double median(std::vector<double> values);

// Seconds taken by `count` calls of `operation`.
double secondsFor(int count, const std::function<void()>& operation);

// Operations per round so that a round of `operation` lasts about `roundSeconds`.
int operationsPerRound(double roundSeconds, const std::function<void()>& operation, int maximum);

Comparison compareInterleaved(int rounds, const Round& subject, const Round& floor);

#endif
