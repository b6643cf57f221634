#pragma once

#include <cstdio>
#include <string>

// One line of the benchmark's table: what, the value, the target it must stay under.
inline void row(const char *what, double value, const char *unit, double target, const char *baseline = "")
{
    std::printf("| %-46s | %9.2f %-3s | %-9s | %-4s | %s\n", what, value, unit,
                (std::string("< ") + std::to_string(static_cast<int>(target))).c_str(), value < target ? "ok" : "MISS",
                baseline);
}
