#pragma once

#include <cstdio>
#include <cstdlib>

// A property every input keeps; a broken one aborts, and libFuzzer keeps the input.
inline void expect(bool holds, const char *property)
{
    if (!holds) {
        std::fprintf(stderr, "property broken: %s\n", property);
        std::abort();
    }
}
