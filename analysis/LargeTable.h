#pragma once

#include "analysis/ResultStore.h"
#include "analysis/Types.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The decomposition of tables with more than MaxCat rows or columns, where
// the exact engine's O(n^3) extended-precision eigenpairs per dimension are
// out of reach. With R_i, C_j the row and column totals and N their sum, the
// standardised residuals are
//   S = A - a b^T,  A_ij = n_ij / sqrt(R_i C_j),  a_i = sqrt(R_i / N),  b_j = sqrt(C_j / N),
// the same matrix the exact engine decomposes. S is never formed: S x = A x -
// a (b^T x) and S^T y = A^T y - b (a^T y) cost one product with the sparse
// counts each. The leading K singular triplets come from the eigenpairs of the
// Gram matrix of the smaller side (S^T S when NCol <= NRow, else S S^T), found
//   - by restarted Lanczos (Spectra's SymEigsSolver, double precision) when
//     that side is large: memory in proportion to the nonzero counts;
//   - by a dense symmetric eigensolver (Eigen) of the Gram matrix, formed from
//     the sparse counts, when that side has at most DenseGramLimit categories:
//     faster there, and it takes any K.
// Either way one bilateral Rayleigh-Ritz step follows: Q = orth(S V), then the
// SVD of the K x n matrix Q^T S gives U, Eta and V, each singular value to
// about eps * Eta(1) absolute, whatever its size relative to Eta(1).
//
// The total inertia comes exactly from the counts, in extended precision:
//   sum_ij n_ij^2 / (R_i C_j) - 1  (= sum of every Eta(d)^2),
// so the shares of the computed dimensions are exact even when most
// dimensions are not computed. A solution is kept when Eta(d)^2 is above
// EigenTolerance times the largest diagonal entry of the Gram matrix, as the
// exact engine keeps its eigenvalues.
//
// Sign: on the side the exact engine fixes (the rows when NRow <= NCol, else
// the columns) the component of largest magnitude of each singular vector is
// positive (the first of equal magnitudes), the component the exact engine's
// elimination leaves free for a well separated eigenvalue; the other side
// follows from S.
//
// A Lanczos run that does not converge throws NumericalFailure with a
// Japanese message; no unconverged value is ever returned. An empty row or
// column throws FloatError, as the exact engine does.

// The smaller side's size up to which the dense eigensolver is used (chosen
// by measurement: bench/FullAnalysisBench.cpp).
inline constexpr int DenseGramLimit = 400;

// A table's nonzero counts, each cell at most once, rows and columns 1-based.
struct CountCell {
    int row = 0;
    int col = 0;
    std::int32_t count = 0;
};

struct SparseCounts {
    int NRow = 0;
    int NCol = 0;
    std::vector<CountCell> cells;
};

// The nonzero cells of rows 1..NRow, columns 1..NCol of a dense table.
SparseCounts SparseCountsOf(const TIntMatrix &DataTable, int NRow, int NCol);

enum class LargeMethod { Lanczos, DenseGram };

// The name the report and the JSON give the method.
std::string LargeMethodName(LargeMethod method);

struct LargeDecomposition {
    LargeMethod method = LargeMethod::Lanczos;
    long double totalInertia = 0.0L;
};

// Fills store.NSol, Eta (sized NSol), RowSingVec (NRow x NSol) and ColSingVec
// (NCol x NSol) with the leading min(K, min(NRow, NCol) - 1) solutions that
// pass the tolerance; NRow and NCol are those of `counts`. K >= 1. Throws
// FloatError for an empty row or column or N = 0 and NumericalFailure when
// the iteration fails. `forced` picks the method instead of the sizes (for
// comparisons with the exact engine on small tables).
LargeDecomposition DecomposeLarge(const SparseCounts &counts, int K, ResultStore &store,
    std::optional<LargeMethod> forced = std::nullopt);

// sum_ij n_ij^2 / (R_i C_j) - 1 in extended precision.
long double ExactTotalInertia(const SparseCounts &counts);

// The most memory a run may need (estimated before any work): 4 GiB.
inline constexpr std::size_t AnalysisMemoryLimit = std::size_t{ 4 } << 30;

// The memory, in bytes, that a run on a table of NRow x NCol with `nonzeros`
// nonzero counts and K dimensions needs at most: the dense counts the run
// holds (when `denseCounts`), the sparse copy, the solver, the vectors and
// the results. For the check made before any work.
std::size_t LargeTableMemoryEstimate(
    int NRow, int NCol, std::int64_t nonzeros, int K, bool denseCounts);
