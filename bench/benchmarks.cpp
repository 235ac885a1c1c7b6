// Timings of the work the saver repeats: regenerating the store (at start
// and on every settings change) and one frame step without a graphics
// driver, so that the numbers show the scene's own cost.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "frame_cases.h"
#include "geometry/geometry_store.h"
#include "testing/recording_sink.h"

namespace qv::bench {
namespace {

void RegenerateAllSpeciesAt(benchmark::State& state) {
  const int M = static_cast<int>(state.range(0));
  auto store = std::make_unique<GeometryStore>();
  for (auto _ : state) {
    RegenerateAllSpecies(*store, M, kRegenerateColour);
    benchmark::DoNotOptimize(store.get());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(RegenerateAllSpeciesAt)
    ->Name("RegenerateAllSpecies")
    ->ArgName("M")
    ->DenseRange(kMinMeshDetail, kMaxMeshDetail)
    ->Unit(benchmark::kMillisecond);

void FrameStepIntoNullSink(benchmark::State& state, bool heaviest) {
  FrameScene frame(heaviest);
  NullSink sink;
  for (auto _ : state) {
    frame.Step(sink);
    benchmark::DoNotOptimize(sink.vertices);
  }
  state.counters["vertices"] =
      benchmark::Counter(static_cast<double>(sink.vertices), benchmark::Counter::kAvgIterations);
}

}  // namespace
}  // namespace qv::bench

int main(int argc, char** argv) {
  for (const qv::bench::FrameCase& c : qv::bench::kFrameCases) {
    benchmark::RegisterBenchmark((std::string("FrameStep/null_sink/") + c.name).c_str(),
                                 qv::bench::FrameStepIntoNullSink, c.heaviest)
        ->Unit(benchmark::kMicrosecond);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
