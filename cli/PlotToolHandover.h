#pragma once

// quarnet-report itself holds no plot, so that a report alone never loads the
// windowing libraries: the plot lives in a sibling program,
// quarnet-report-plot, the same tool with the plot options added. This
// replaces the running process with it, passing `argv` unchanged; it looks
// beside this program first (the build tree), then in the installed place.
// Returns only when the sibling is missing or cannot be started.
void HandOverToPlotTool(char **argv);
