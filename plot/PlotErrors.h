#pragma once

#include "analysis/Errors.h"

// The plot cannot be made or sent where it was asked to go: nothing to
// plot, a file that cannot be written, a printer that refuses the job.
// what() is the Japanese text the user sees.
class PlotError : public QuarnetError {
public:
    using QuarnetError::QuarnetError;
};
