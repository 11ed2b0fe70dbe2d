#pragma once

#include <cstdint>
#include <vector>

// Multiple correspondence analysis (数量化III類, dual scaling of
// multiple-choice data): the correspondence analysis of the indicator matrix
// Z (n respondents x J categories of Q active questions), computed without
// forming Z.
//
// With respondent weights w_i (1 without weights), N = sum w_i, category
// counts n_k = sum of w_i over the respondents who chose k, row masses
// r_i = w_i/N and column masses c_k = n_k/(NQ), the standardized residuals
// S_ik = (w_i z_ik/(NQ) - r_i c_k)/sqrt(r_i c_k) give
//   S'S = D_c^-1/2 (B/(NQ^2) - c c') D_c^-1/2,   B = Z'WZ (J x J),
// so one symmetric eigen-decomposition of that J x J matrix yields the
// indicator inertias lambda_s and the category coordinates: standard
// a_ks = v_ks/sqrt(c_k), principal G_ks = sqrt(lambda_s) a_ks. Respondents
// follow by the transition formula F_is = (1/Q) sum_{k chosen by i} a_ks
// - sum_k c_k a_ks (the last sum is 0 unless categories are left out), in
// O(nQ) per dimension. Cost: O(n Q^2) to accumulate B, O(J^3) to decompose
// it (long double, Eigen's tridiagonal QR, sound for close eigenvalues),
// memory O(J^2 + n dims).
//
// A respondent's passive answer (code -1) keeps the respondent's mass and
// Q but adds no category: the analysis of the kept columns with the masses
// of the whole table (ca's subsetcat, FactoMineR's excl).
//
// Per dimension: Burt inertia lambda^2; Benzecri's adjusted inertia
// (Q/(Q-1))^2 (lambda - 1/Q)^2 when lambda > 1/Q, else 0; its share of their
// sum; Greenacre's share, the adjusted inertia over
// Q/(Q-1) (sum lambda^2 - (J-Q)/Q^2); Nishisato's alpha
// (Q/(Q-1))(1 - 1/(Q lambda)). Per category: mass, coordinates, contribution
// c_k G^2/lambda, cos2 G^2/(N/n_k - 1), test value G sqrt(n_k (N-1)/(N-n_k)).
// Supplementary categories: the weighted mean of their respondents' F over
// sqrt(lambda). Per question: eta2 = sum_{k in q} (n_k/N) G_ks^2.
// Respondents: F, contribution (w_i/N) F^2/lambda, cos2 F^2/d_i^2.
// Quantitative variables: the weighted correlation with each F_s.

// One categorical question: each respondent's category 0..categories-1, or
// -1 (a passive answer, or an answer not placed for a supplementary one).
struct McaQuestion {
    int categories = 0;
    std::vector<std::int32_t> code;
};

// A numeric variable: each respondent's value; present[i] == 0 leaves the
// respondent out of its correlations.
struct McaQuantitative {
    std::vector<long double> value;
    std::vector<char> present;
};

struct McaInput {
    std::vector<McaQuestion> active; // Q >= 2
    std::vector<McaQuestion> supplementary;
    std::vector<McaQuantitative> quantitative;
    std::vector<long double> weights; // empty: every respondent 1
    int dims = 2; // dimensions with coordinates, lowered to those there are
};

struct McaDimension {
    long double indicator = 0, share = 0, cumulative = 0; // shares in per cent
    long double burt = 0, benzecri = 0, benzecriShare = 0, greenacreShare = 0, alpha = 0;
};

// One category's statistics on dimensions 1..dims (index d - 1).
struct McaCategory {
    long double count = 0; // weighted
    long double mass = 0; // active only
    std::vector<long double> coord, standard, contribution, cos2, vTest;
};

struct McaSolution {
    long double n = 0; // N
    int questions = 0; // Q
    int categories = 0; // J, the active categories analysed
    int dims = 0; // dimensions with coordinates
    long double threshold = 0; // 1/Q
    long double totalInertia = 0; // sum of lambda_s
    long double greenacreTotal = 0;
    std::vector<McaDimension> dimensions; // every dimension with inertia
    std::vector<std::vector<McaCategory>> active, supplementary; // per question
    std::vector<std::vector<long double>> activeEta2, supplementaryEta2; // per question, per dim
    std::vector<std::vector<long double>> correlation; // per quantitative variable, per dim
    // Respondent i, dimension d at [i * dims + d].
    std::vector<long double> score, contribution, cos2;
};

// Throws FloatError for a category nobody chose, a question whose codes do
// not match its count, or a respondent of weight total 0.
McaSolution RunMca(const McaInput &input);
