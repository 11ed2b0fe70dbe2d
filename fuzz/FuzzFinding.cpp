#include "FuzzTargets.h"

#include <cstdio>
#include <cstdlib>

void FuzzFinding(const std::string &what)
{
    std::fprintf(stderr, "fuzz finding: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}
