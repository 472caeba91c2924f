// Console lines through the append routine on a 500-service catalogue, with the event loop run
// after every line as the worker's hand-overs run it. Reports the cost of the first and of the
// last thousand lines, which must stay alike.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <vector>

#include "bench/bench_forms_world.h"

namespace {

std::vector<std::string> consoleLines(const corvane::Catalogue& catalogue, std::size_t count) {
  const char* const forms[] = {"\nservice: ",
                               "\ndependency -> starting: ",
                               "\nerrorcode: 1062 - ",
                               "\nrefreshing service list ...",
                               " done.",
                               "\nstatus updated "};
  std::vector<std::string> lines;
  lines.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const corvane::ServiceRecord& record =
        catalogue.ServiceTable[i % std::max<std::size_t>(1, catalogue.ServiceCount)];
    lines.push_back(forms[i % 6] + (i % 2 == 0 ? record.DisplayName : record.ServiceName));
  }
  return lines;
}

void BM_ConsoleAppend(benchmark::State& state) {
  bench::FormsWorld world(500);
  const std::size_t count = static_cast<std::size_t>(state.range(0));
  const std::vector<std::string> lines = consoleLines(world.program.catalogue, count);
  double first = 0;
  double last = 0;
  double total = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto console = std::make_unique<corvane::TConsole>(world.program, world.request);
    console->show();
    QCoreApplication::processEvents();
    state.ResumeTiming();
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    Clock::time_point thousand = start;
    for (std::size_t i = 0; i < count; ++i) {
      console->AppendConsoleLine(lines[i]);
      QCoreApplication::processEvents();
      if ((i + 1) % 1000 == 0) {
        const Clock::time_point now = Clock::now();
        const double ms = std::chrono::duration<double, std::milli>(now - thousand).count();
        if (i + 1 == 1000) {
          first = ms;
        }
        if (i + 1 == count) {
          last = ms;
        }
        thousand = now;
      }
    }
    total = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  }
  state.counters["first1000_ms"] = first;
  state.counters["last1000_ms"] = last;
  state.counters["per_line_ms"] = total / static_cast<double>(count);
}
BENCHMARK(BM_ConsoleAppend)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
