#include "fuzz/FuzzExpect.h"

#include <cstdio>
#include <cstdlib>

void FuzzExpect(bool holds, const char* what)
{
    if (holds)
        return;
    std::fprintf(stderr, "fuzz finding: %s\n", what);
    std::abort();
}
