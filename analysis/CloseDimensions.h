#pragma once

#include "analysis/DualScaling.h"
#include "analysis/ResultStore.h"
#include "analysis/Types.h"

// Mends the dimensions whose singular values lie close together, after
// Decompose has filled the store.
//
// Each eigenvector of the cross-product matrix is found as the null vector of
// B - lambda I. When a neighbouring eigenvalue lies within a small relative
// distance g of lambda, that elimination has two tiny pivots: an eigenvalue
// error e moves the vector by about e / g, and the two closest eigenvalues of
// an unreduced 2 x 2 block of the QL iteration lose digits of their own
// (their difference is the square root of a difference of nearly equal
// squares), about the unit roundoff over g. The vectors are then wrong by
// about u / g^2, in every digit once g is near the rank cut-off of the
// elimination. No 80-bit method can recover them from the rounded matrix,
// since rounding the entries alone moves the vectors by u / g.
//
// So, only when two neighbouring eigenvalues lambda_d, lambda_{d+1} differ by
// less than CloseDimensionLimit * lambda_d, the matrix is formed again in
// binary128 from the integer counts, the eigenvalues of each run of close
// ones (and of their outer neighbours) are found there by Sturm bisection,
// and each dimension of the run is checked:
//  * Eta(d) is kept when it is within CloseEtaTolerance of the binary128 value
//    (relative); otherwise every Eta of the run takes its binary128 value,
//    rounded, so that the order stays descending.
//  * A singular vector is kept when its residual bounds its error below
//    CloseVectorTolerance (the residual over the distance to the other
//    eigenvalues); otherwise it becomes the binary128 null vector of
//    B - lambda I by the same elimination (complete pivoting, the free
//    component set to 1 and so positive: the sign stays the usual one), and
//    the other side follows from it as usual, both rounded to 80 bits.
//  * Eigenvalues equal to within RepeatedEigenvalueLimit (relative) form a
//    repeated eigenvalue, whose vectors are defined only as a subspace: each
//    vector found is kept when it lies in it and is orthogonal to the ones
//    before it, else it is projected onto it and made orthonormal to them.
// A vector depends on the ones before it only, so asking for fewer dimensions
// gives the same bits in those computed.
// A table without close eigenvalues is not touched (not a bit changes), nor a
// close one whose results were already right to those tolerances. Cost:
// O(NSol) to look; with close values O(m n k + k^3) in binary128 for the
// matrix and its tridiagonal form, k = min(m, n), plus O(k^3) per vector
// mended. Throws FloatError only for the faults Decompose would already have
// met.
inline constexpr long double CloseDimensionLimit = 1e-3L;
inline constexpr long double CloseEtaTolerance = 1e-15L;
inline constexpr long double CloseVectorTolerance = 1e-14L;
inline constexpr long double RepeatedEigenvalueLimit = 1e-24L;

void MendCloseDimensions(
    const TIntMatrix &DataTable, const Totals &totals, int NRow, int NCol, ResultStore &store);
