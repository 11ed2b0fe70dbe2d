#pragma once

#include "analysis/Errors.h"

// The plot's own error, beside the engine's (analysis/Errors.h: numbers,
// floating point) and the core's (core/CoreErrors.h: input, files, table
// limits): the plot cannot be made or sent where it was asked to go, because
// there is nothing to plot, a file cannot be written or a printer refuses
// the job. Like them a QuarnetError, so one handler shows them all; what() is
// the Japanese text the user sees.
class PlotError : public QuarnetError {
public:
    using QuarnetError::QuarnetError;
};
