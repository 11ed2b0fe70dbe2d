#pragma once

#include <functional>

// The threads of the numerical core. Work is split into independent items
// whose results go to places of their own, so that no result depends on the
// number of threads or on their timing.

// Sets how many threads ParallelFor may use, the calling thread included:
// 1 runs everything on the caller, 0 (the start value) one per core up to 8.
// The workers are started on the next ParallelFor that needs them and kept.
void SetAnalysisThreads(int count);

// Starts the workers now rather than on the first ParallelFor: a new thread
// takes a while to run, and in a short-lived process (quarnet-report) the
// first analysis would otherwise be nearly over before its workers join.
void StartAnalysisThreads();

// The count ParallelFor uses now (0 resolved as above).
int AnalysisThreads();

// Calls task(item, slot) once for every item in 0..count-1 and returns when
// all calls have returned. Items may run in any order and at the same time;
// slot (0..AnalysisThreads()-1) is unique among the calls running at once,
// so that each slot can have scratch of its own. task must not throw and
// must not call ParallelFor. One ParallelFor runs at a time; a second caller
// waits. Not worth it for items of less than a few microseconds: a batch
// costs a wake-up call and an allocation or two.
void ParallelFor(int count, const std::function<void(int item, int slot)> &task);
