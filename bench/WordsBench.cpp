// The parsing codes of every word of the Gospel of John (about 15,900
// words) spelled out in French, as a page of the Greek text would show them.

#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Morphology.h"

namespace {

std::vector<std::string> CodesOfJohn() {
    std::ifstream file(LORVANE_ORIGINALS_DIR "/greek-byzantine/strongs-parsing/JOH.csv");
    std::stringstream text;
    text << file.rdbuf();
    const std::string all = text.str();
    std::vector<std::string> codes;
    for (std::size_t open = all.find('{'); open != std::string::npos;
         open = all.find('{', open + 1)) {
        const std::size_t close = all.find('}', open);
        if (close == std::string::npos) break;
        codes.push_back(all.substr(open + 1, close - open - 1));
    }
    return codes;
}

void BM_ExpandJohn(benchmark::State& state) {
    const std::vector<std::string> codes = CodesOfJohn();
    if (codes.empty()) {
        state.SkipWithError("no Greek texts");
        return;
    }
    for (auto _ : state)
        for (const std::string& code : codes)
            benchmark::DoNotOptimize(lorvane::words::ExpandRobinson(code));
    state.counters["codes"] = static_cast<double>(codes.size());
}
BENCHMARK(BM_ExpandJohn)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
