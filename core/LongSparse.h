#pragma once

#include "core/AnalysisRun.h"
#include "core/LongFormat.h"

#include <memory>

// The long format's table as the run takes it without a grid: the names
// moved over (entry 0 empty), the cells 1-based, explicit zeros dropped.
// Memory in proportion to the cells written, whatever NRow x NCol.
std::shared_ptr<const SparseTable> LongTableToSparse(LongTable table);
