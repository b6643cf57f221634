// A broken property aborts; libFuzzer keeps the input.
#pragma once

#include <cstdio>
#include <cstdlib>

#define expect(holds, property)                                                                                        \
    ((holds) ? void() : (std::fputs("property broken: " property "\n", stderr), std::abort()))
