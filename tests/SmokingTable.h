#pragma once

#include "analysis/Types.h"

// Greenacre's staff-by-smoking table (examples/smoking.csv): five staff
// groups by none, light, medium and heavy smoking, N = 193.
inline TIntMatrix SmokingTable()
{
    const int counts[5][4] = { { 4, 2, 3, 2 }, { 4, 3, 7, 4 }, { 25, 10, 12, 4 },
        { 18, 24, 33, 13 }, { 10, 6, 7, 2 } };
    TIntMatrix table(5, 4);
    for (int i = 1; i <= 5; ++i)
        for (int j = 1; j <= 4; ++j)
            table(i, j) = counts[i - 1][j - 1];
    return table;
}
