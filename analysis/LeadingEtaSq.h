#pragma once

#include "analysis/LargeTable.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

// The K largest squared singular values of the standardised residuals
// (n_ij - R_i C_j / N) / sqrt(R_i C_j) of tables that share their row totals
// R_i and column totals C_j, from their nonzero cells: what the permutation
// test needs of each random table beyond the exact engine's sizes. The
// values only, in double precision, by the big-table method's solvers
// (LargeTable.h) on the same Gram matrix of the smaller side: the dense
// eigenvalues when that side has at most DenseGramLimit categories (or
// 2K + 1 passes it), else Lanczos. No vectors and no Rayleigh-Ritz step:
// each value comes to about eps times the largest, ample for a distribution.
class LeadingEtaSq {
public:
    // Totals all positive, K >= 1; `forced` picks the solver instead of the
    // sizes. Throws std::invalid_argument otherwise.
    LeadingEtaSq(const std::vector<std::int32_t> &rowTotals,
        const std::vector<std::int32_t> &colTotals, int K,
        std::optional<LargeMethod> forced = std::nullopt);
    ~LeadingEtaSq();
    LeadingEtaSq(const LeadingEtaSq &) = delete;
    LeadingEtaSq &operator=(const LeadingEtaSq &) = delete;

    LargeMethod method() const;

    // etaSq(d) for d = 1..etaSq.size() (any size): 0 beyond the
    // min(NRow, NCol) - 1 solutions and for a computed value below 0. The
    // cells, each at most once, must have the totals given. Throws
    // NumericalFailure when Lanczos does not converge.
    void Compute(const std::vector<CountCell> &cells, std::vector<double> &etaSq);

private:
    struct Work;
    std::unique_ptr<Work> work_;
};
