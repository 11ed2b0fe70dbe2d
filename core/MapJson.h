#pragma once

#include "core/MapScaling.h"
#include "core/PlotInput.h"

#include <string>

// The result's JSON (ResultJsonText) with the map the plot draws added as its
// last key:
//   "map": { "scaling": "rowgreen", "note": "...",
//            "rows" / "columns": [ { "name", "supplementary", "coordinates": [...] } ] }
// `scaled` is the map in that scaling (ScaledMap), whose points keep their
// order: rows before columns, the supplementary ones after the active ones.
// Coordinates run over dimensions 1..NDim, rounded to double like every
// other number of the file. Throws nlohmann's parse error only on a text that
// is not JSON, which ResultJsonText never writes.
std::string WithMapJson(const std::string &resultJson, const PlotInput &scaled, MapScaling scaling);
