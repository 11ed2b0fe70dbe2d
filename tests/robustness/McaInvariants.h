#pragma once

#include "analysis/Mca.h"

#include <string>
#include <vector>

// The properties every completed questionnaire analysis has, whatever the
// sheet: finite figures; indicator inertias descending within [0, 1]; shares
// summing to 100 and cumulative shares ending there; the standard
// coordinates orthonormal under the category masses; each dimension's eta2
// of the active questions averaging to its inertia; the respondents' scores
// centred under their weights. Returns what is broken, empty when all hold.
// Used by the soak and by the questionnaire fuzz target alike.
std::vector<std::string> BrokenMcaInvariants(const McaInput &input, const McaSolution &solution);
