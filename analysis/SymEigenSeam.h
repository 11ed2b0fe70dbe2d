#pragma once

#include "analysis/SymEigen.h"
#include "analysis/Types.h"

// SymEigen with its eigenvalue stage passed in, so that tests can make the
// stage fail (Ok = false) or deliver an eigenvalue that is not one. The
// program always runs SymEigen, which passes QLEigen.
using QLEigenStage = void (*)(TExtMatrix &A, bool &Ok);

void SymEigenWith(QLEigenStage qlEigen, TExtMatrix &A, int &Count, TExtVector &Lambda,
    TExtMatrix &X, int VectorCount = AllVectors);
