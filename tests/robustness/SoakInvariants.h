#pragma once

#include "analysis/ResultStore.h"
#include "SoakTables.h"

#include <string>
#include <vector>

// The properties a completed run with association must have, measured on the
// store it left. Each error is divided by its bound, which is Unit times a
// factor of the table's spectrum (see SoakInvariants.cpp), so that 1 means
// "as large as the bound" whatever the table. Unit is the unit roundoff of
// long double times the larger side: what rounding alone explains.
struct SoakMeasure {
    long double Unit = 0;
    long double Orthonormality = 0; // of RowSingVec and of ColSingVec
    long double Reconstruction = 0; // of StdResidual from the singular triplets
    long double WeightedMean = 0; // sum of total times scale value, over N
    long double WeightedSquares = 0; // sum of total times squared scale value, over N, minus 1
    std::vector<std::string> Broken; // properties that hold exactly or not at all
};

// NullVector accepts pivots down to NullVectorTolerance times the largest
// entry of A - lambda I, so an eigenvector is promised only to make
// A - lambda I vanish to that relative tolerance, not to rounding: an error
// beyond the rounding bound but within the same bound with NullVectorTolerance
// in place of Unit is the method's, not a fault.

SoakMeasure MeasureCompletedRun(const SoakTable &table, const ResultStore &store);
