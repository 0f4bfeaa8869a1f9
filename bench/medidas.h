#pragma once
// What the benchmarks measure with: the process's peak memory, elapsed
// seconds, and a declarant's RUC made from a row count.
#include <sys/resource.h>

#include <chrono>
#include <string>

namespace zvbench {

inline long PicoRssKb() {
    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    return uso.ru_maxrss;
}

inline double Segundos(std::chrono::steady_clock::time_point desde) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - desde).count();
}

inline std::string RucDe(long filas) { return "20" + std::to_string(100000000 + filas % 100000000).substr(0, 9); }

}  // namespace zvbench
