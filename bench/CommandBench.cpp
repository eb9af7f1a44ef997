// What the plug-in costs per event, beside the simulated host's own cost of
// dispatching an event to an execute function that does nothing (the
// baseline, measured in the same run): compare the figures as ratios.
#include "MeasureFormat.h"
#include "SimHost.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <unistd.h>

#include <string>

namespace {

std::string PluginPath() {
  char path[4096] = {};
  ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  std::string text(path, length > 0 ? size_t(length) : 0);
  return text.substr(0, text.find_last_of('/') + 1) + "TriSpan.so";
}

long PeakKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

int32_t DoNothing(int32_t, VekEventHandle) { return EXEC_STAY; }
int32_t StartNothing() {
  VekEvtSetEventMask(0x40000);
  VekCtlSetExecuteFunc(DoNothing, "");
  return 0;
}
int32_t Nothing() { return 0; }

const SimEvent kMotion{EVT_POINT, 1, 10, 20, 0, 1, nullptr};

void Baseline(benchmark::State& state) {
  SimUnloadPlugin();
  SimReset();
  SimSetJournaling(0);
  SimCheckHandedTexts(0); // the plug-in's own cost, not the host's checks
  VekCtlRegisterVekLib2(StartNothing, Nothing, Nothing);
  SimStartCommand();
  long before = PeakKilobytes();
  for (auto _ : state) benchmark::DoNotOptimize(SimSendEvent(&kMotion));
  state.counters["peak_kb_growth"] = double(PeakKilobytes() - before);
  SimUnloadPlugin();
}
BENCHMARK(Baseline);

// Loads the plug-in and plays a command up to its note step.
void ReachNoteStep() {
  SimReset();
  SimSetJournaling(0);
  SimCheckHandedTexts(0); // the plug-in's own cost, not the host's checks
  SimDimension width{12, 100, 0, 0, nullptr, nullptr, 0};
  VekElementId id = SimAddDimension(&width);
  SimStartCommand();
  SimEvent pick{EVT_PICK, 1, 0, 0, id, 0, nullptr};
  SimSendEvent(&pick);
  SimEvent length{EVT_KEYIN, 0, 0, 0, 0, 0, "50"}, height{EVT_KEYIN, 0, 0, 0, 0, 0, "20"};
  SimSendEvent(&length);
  SimSendEvent(&height);
}

// A cursor motion at the note step: the preview note follows the cursor.
void CursorMotionAtNoteStep(benchmark::State& state) {
  if (SimLoadPlugin(PluginPath().c_str()) != 0) return state.SkipWithError("no plug-in");
  ReachNoteStep();
  for (int i = 0; i < 1000; ++i) SimSendEvent(&kMotion); // settle the allocator
  long before = PeakKilobytes();
  for (auto _ : state) benchmark::DoNotOptimize(SimSendEvent(&kMotion));
  state.counters["peak_kb_growth"] = double(PeakKilobytes() - before);
  SimUnloadPlugin();
}
BENCHMARK(CursorMotionAtNoteStep);
// A million motions: the peak memory must not grow with them.
BENCHMARK(CursorMotionAtNoteStep)->Name("MillionCursorMotions")->Iterations(1000000);

// A whole command: start, three measures, a written note, on a new drawing.
void WholeCommand(benchmark::State& state) {
  if (SimLoadPlugin(PluginPath().c_str()) != 0) return state.SkipWithError("no plug-in");
  SimEvent point{EVT_POINT, 1, 30, 12, 0, 0, nullptr};
  long before = PeakKilobytes();
  for (auto _ : state) {
    ReachNoteStep();
    benchmark::DoNotOptimize(SimSendEvent(&point));
  }
  state.counters["peak_kb_growth"] = double(PeakKilobytes() - before);
  SimUnloadPlugin();
}
BENCHMARK(WholeCommand);

void FormatMeasureBench(benchmark::State& state) {
  double value = 1234.5678;
  long before = PeakKilobytes();
  for (auto _ : state) benchmark::DoNotOptimize(FormatMeasure(value, 2, 2));
  state.counters["peak_kb_growth"] = double(PeakKilobytes() - before);
}
BENCHMARK(FormatMeasureBench)->Name("FormatMeasure");

void FormatFixedBench(benchmark::State& state) {
  long before = PeakKilobytes();
  for (auto _ : state) benchmark::DoNotOptimize(FormatFixed(1234.5678, 2));
  state.counters["peak_kb_growth"] = double(PeakKilobytes() - before);
}
BENCHMARK(FormatFixedBench)->Name("FormatFixed");

} // namespace

BENCHMARK_MAIN();
