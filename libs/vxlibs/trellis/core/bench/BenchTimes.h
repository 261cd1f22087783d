#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace Trellis::Bench {

// The times of repeated runs of some work, in microseconds, with their
// median and best.
struct tTimes {
    std::vector<double> micros;

    void add(const std::function<void()>& work)
    {
        const auto start = std::chrono::steady_clock::now();
        work();
        micros.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    }
    double median()
    {
        std::sort(micros.begin(), micros.end());
        return micros[micros.size() / 2];
    }
    double best() { return *std::min_element(micros.begin(), micros.end()); }
    void print(const char* what) { std::printf("%s: median %.1f us, best %.1f us\n", what, median(), best()); }
};

} // namespace Trellis::Bench
