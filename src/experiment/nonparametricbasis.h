#pragma once

#include <vector>

// Basis values that assume no distribution (CMH-17-1G, section 8.3.4.5): the p
// content lower bound at 95 % confidence, p = 0.90 for B-basis and 0.99 for A-basis.

// The largest rank r with P(Binomial(n, 1 - p) >= r) >= confidence: the r-th least
// value lies under the p content point with that confidence. 0 when no rank does.
int NonparametricRank(int n, double content, double confidence = 0.95);

// The Hanson-Koopmans factor k of the bound x(r) (x(1) / x(r))^k, 1 < r <= n, for
// distributions whose -ln F is convex in ln x: the k whose confidence is the given
// one in the least favourable of them.
double HansonKoopmansFactor(int n, int r, double content, double confidence = 0.95);

// The handbook's rank r for the B-basis bound for 2 <= n <= 28; 0 otherwise.
int HansonKoopmansRank(int n);

// The nonparametric B-basis (content 0.90) or A-basis (0.99) of values sorted
// ascending: the ranked value where n allows, else the Hanson-Koopmans bound. NaN
// for fewer than 2 values or a bound over values that are not all positive.
double NonparametricBasis(const std::vector<double>& sorted, double content);
