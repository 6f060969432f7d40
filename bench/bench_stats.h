// Median, min and max of repeated measurements, and a table row printer.
#pragma once

#include <algorithm>
#include <cstdio>
#include <vector>

struct Summary {
    double median;
    double min;
    double max;
};

inline Summary summarize(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    const double median = n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    return {median, values.front(), values.back()};
}

inline void printRow(const char* figure, const Summary& s, const char* goal, bool met) {
    std::printf("| %-44s | %9.4f | %9.4f | %9.4f | %-8s | %-4s |\n", figure, s.median, s.min, s.max, goal,
                met ? "met" : "MISS");
}

inline void printHeader() {
    std::printf("| %-44s | %9s | %9s | %9s | %-8s | %-4s |\n", "figure (ratio)", "median", "min", "max", "goal", "");
    std::printf("|%s|%s|%s|%s|%s|%s|\n", "----------------------------------------------", "-----------", "-----------",
                "-----------", "----------", "------");
}
