// Timing and memory helpers shared by the C++ benchmarks.
#pragma once

#include <algorithm>
#include <chrono>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace corv::bench {

inline double seconds_of(const std::function<void()>& f) {
    const auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

inline double median_seconds(const std::function<void()>& f, int runs) {
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) t.push_back(seconds_of(f));
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

// The process's peak resident memory in KiB (VmHWM), or -1.
inline long peak_rss_kib() {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    }
    return -1;
}

}  // namespace corv::bench
