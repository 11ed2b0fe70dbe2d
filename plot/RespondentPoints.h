#pragma once

#include "core/MapScaling.h"
#include "core/PlotInput.h"

#include <vector>

// A questionnaire's respondents are the rows of its analysis: in `scaling`
// they take the row side's coordinates (principal, standard F / eta, or the
// symmetric biplot's F / sqrt(eta)), in the layout of PlotInput::respondents.
// Empty when the input has none or when the scaling draws rows in
// contribution coordinates (colgreen), where a respondent's tiny mass would
// pile them all on the origin.
std::vector<long double> ScaledRespondents(const PlotInput &input, MapScaling scaling);

// The largest absolute value of `respondents` (0 when empty).
long double MaxAbsRespondent(const std::vector<long double> &respondents);
