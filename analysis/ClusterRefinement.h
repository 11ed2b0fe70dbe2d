#pragma once

#include <functional>
#include <utility>
#include <vector>

// Eigenpairs of close eigenvalues, refined in binary128, for the engines that
// decompose in double (the big-table engine) or long double (the
// questionnaire analysis).
//
// A backward-stable solver leaves each eigenvector of a symmetric matrix
// wrong by about u ||A|| / g, u its unit roundoff and g the distance to the
// nearest other eigenvalue: with g / ||A|| = 1e-13 a double vector has no
// correct digit and a long double one six. The subspace of a whole run of
// close eigenvalues is as good as the run is far from the rest, so the run's
// vectors are corrected there: each iteration takes the residuals
// R = A X - X Theta in binary128 (from the operator built from the input
// itself, not from rounded entries), removes from X its components along the
// other approximate eigenvectors, v (v' r) / (lambda - theta), and along the
// eigenvectors no one computed by a solve on their complement, then a
// Rayleigh-Ritz step on the run's few vectors (Jacobi, binary128) splits them.
// Each iteration gains about as many digits as the approximate vectors have,
// so two or three reach the last bits of binary128; the split then loses
// only the digits of g of those.

__extension__ typedef __float128 Quad;
using QuadVector = std::vector<Quad>;

// Square root to the last bit of binary128 (two Newton steps from 80 bits).
Quad QuadSqrt(Quad x);

// y = A x in binary128, A symmetric; y has A's size.
using QuadOperator = std::function<void(const QuadVector &x, QuadVector &y)>;

// z = (A - theta I)^+ r on the complement of the known vectors, for an r
// orthogonal to them, in double (only its leading digits matter). Empty when
// the known vectors are all of A's eigenvectors.
using ComplementSolver
    = std::function<std::vector<double>(double theta, const std::vector<double> &r)>;

// Approximate eigenpairs, values descending; vectors[d] is unit.
struct KnownEigenpairs {
    std::vector<long double> values;
    std::vector<std::vector<long double>> vectors;
};

// The runs [first, last] (0-based, first < last) of neighbours with
// values[d] - values[d + 1] < limit * values[d], only those that begin below
// `upto`.
std::vector<std::pair<int, int>> CloseRuns(
    const std::vector<long double> &values, long double limit, int upto);

struct RefinedRun {
    std::vector<Quad> values; // descending
    std::vector<QuadVector> vectors; // unit, orthogonal
    std::vector<char> changed; // per vector: 0 when the given one was kept
    bool valuesChanged = false;
};

// The run first..last of `known` refined. A given vector is kept (its bits
// and sign) when its residual bounds its error below 1e-14, and the run's
// given values when each is within 1e-15 of the refined one; a vector of a
// repeated value (equal to 1e-24) is kept only with all the others of that
// value. Replaced vectors come out in no particular sign: the caller applies
// its rule.
RefinedRun RefineRun(const QuadOperator &apply, const KnownEigenpairs &known, int first, int last,
    const ComplementSolver &complement = {});
