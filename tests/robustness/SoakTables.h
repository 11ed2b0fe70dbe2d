#pragma once

#include "analysis/CategoryCount.h"
#include "analysis/Types.h"

#include <cstdint>
#include <string>

// One table of the engine soak: the counts, the size the run is asked for
// (usually 1..50 each; a few tables ask for sizes outside that), the number
// of dimensions, and the family it was drawn from.
struct SoakTable {
    std::string Family;
    TIntMatrix Data = TIntMatrix(MaxCat, MaxCat);
    int NRow = 0;
    int NCol = 0;
    int NDim = MaxCat;
};

// Table number `index` of the soak whose seed is `seed`. Each table is drawn
// from its own generator, so any one of them can be made again alone.
SoakTable MakeSoakTable(std::uint64_t seed, std::uint64_t index);

// The families in the order MakeSoakTable knows them, for the tally.
const char *const *SoakFamilies(int &count);
