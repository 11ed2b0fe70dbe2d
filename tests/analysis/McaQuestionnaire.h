#pragma once

#include "analysis/Mca.h"

#include "ResamplingTestSupport.h"

#include <algorithm>
#include <random>
#include <vector>

// A questionnaire of n respondents whose answers to three active questions
// (3, 2 and 3 categories) and one supplementary question (2) lean on one
// hidden trait, so that the map has structure. With `awkward`, respondents
// weigh 0.5 to 2, some active answers are passive and some supplementary ones
// missing, and the supplementary question's second category has only one
// respondent.
inline McaInput Questionnaire(int n, bool awkward)
{
    std::mt19937_64 gen(11);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    McaInput input;
    input.active = { { 3, {} }, { 2, {} }, { 3, {} } };
    input.supplementary = { { 2, {} } };
    input.dims = 2;
    for (int i = 0; i < n; ++i) {
        const double trait = unit(gen);
        for (McaQuestion &q : input.active) {
            const double lean = 0.6 * trait + 0.4 * unit(gen);
            q.code.push_back(std::min(q.categories - 1, static_cast<int>(lean * q.categories)));
        }
        input.supplementary[0].code.push_back(trait + 0.3 * unit(gen) > 0.7 ? 1 : 0);
        if (awkward) {
            input.weights.push_back(0.5L + 1.5L * unit(gen));
            if (i % 7 == 3)
                input.active[1].code.back() = -1;
            input.supplementary[0].code.back() = i % 5 == 2 ? -1 : 0;
        }
    }
    if (awkward)
        input.supplementary[0].code[4] = 1;
    return input;
}
