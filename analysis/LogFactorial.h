#pragma once

#include <cstdint>

// log(n!) for n = 0 .. 2^31 - 1, in double precision, safe to call from any
// number of threads at once (std::lgamma is not: it may write the global
// signgam).
//
// Below 256 the value comes from a table of sums of logarithms built once in
// extended precision; from 256 on, from Stirling's series
//   log n! = (n + 1/2) log n - n + log(2 pi)/2 + 1/(12 n) - 1/(360 n^3) + 1/(1260 n^5),
// whose truncation error is below 1/(1680 n^7) < 1e-19 there, evaluated in
// double (a few units in the last place; the sampler needs no better, and an
// extended logarithm would triple its cost). Cost: one table look-up, or one
// logarithm.
double LogFactorial(std::int64_t n);
