#pragma once

#include "analysis/ResultStore.h"
#include "analysis/Types.h"
#include "core/PlotInput.h"

#include <optional>
#include <string>
#include <vector>

// The scalings a correspondence map can be drawn in, under the names R's ca
// package gives them, so that a reader can match them with the literature.
// With F the principal and X the standard coordinates (F = X * eta per
// dimension) and m a category's mass:
//   symmetric     rows F, columns F (the classic map)
//   rowprincipal  rows F, columns X
//   colprincipal  rows X, columns F
//   rowgreen      rows F, columns X * sqrt(m)  (contribution biplot)
//   colgreen      rows X * sqrt(m), columns F
//   symbiplot     rows X * sqrt(eta), columns X * sqrt(eta)
// A supplementary category on the side a contribution biplot draws in
// contribution coordinates is scaled by the square root of its own mass (see
// PlotInputPoint::mass), so that it lies where an active category of its
// profile and weight would; one without a mass is left out.
enum class MapScaling { Symmetric, RowPrincipal, ColPrincipal, RowGreen, ColGreen, SymBiplot };

// Every scaling, in the order the window lists them.
const std::vector<MapScaling> &AllMapScalings();

// The name R uses ("rowgreen"), and back; nothing for a name not known.
const char *MapScalingName(MapScaling scaling);
std::optional<MapScaling> MapScalingFromName(const std::string &name);

// The Japanese name the window lists, and the line under the legend that
// says which scaling the map shows and what its distances mean.
const char *MapScalingTitle(MapScaling scaling);
std::string MapScalingNote(MapScaling scaling);

// True when `input` carries what the scalings other than the symmetric one
// need: eta for every dimension and standard coordinates for every point.
bool CanRescale(const PlotInput &input);

// The map in `scaling`: the same points (less those left out, see above)
// with their coordinates in that scaling and MaxAbsScale over them. The
// symmetric map is `input` itself. Throws FloatError when `input` cannot be
// rescaled (see CanRescale).
PlotInput ScaledMap(const PlotInput &input, MapScaling scaling);

// Fills the standard coordinates, masses and eta of a correspondence
// analysis' map from its store and the table it analysed (row and column
// totals over the grand total). A run without solutions is left as it is.
void AddScalingBasis(PlotInput &input, const ResultStore &store, const TIntMatrix &table);
