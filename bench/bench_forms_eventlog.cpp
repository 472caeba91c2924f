// The event list's fills on a System log of 3,000 records: a full fill (read, one model reset,
// one sort) with the first paint, and a quick fill that finds nothing new.
#include <benchmark/benchmark.h>

#include "bench/bench_forms_world.h"
#include "corvane/eventlog/Qt_event_list_model.h"

namespace {

// The generated computer's System log holds one record per service.
void showSystemLog(bench::FormsWorld& world) {
  world.form->EventFilterButtons[2]->setChecked(true);  // requests are blocked: no refresh
  world.form->PageControl->setCurrentIndex(2);
  world.form->ReactivateEventLogs();
}

void BM_EventListFullFill(benchmark::State& state) {
  bench::FormsWorld world(static_cast<int>(state.range(0)));
  showSystemLog(world);
  for (auto _ : state) {
    world.program.FullRefresh = true;
    world.form->FillEventList();
    world.form->EventLog->repaint();
  }
  state.counters["rows"] = world.form->EventListModel().rowCount();
}
BENCHMARK(BM_EventListFullFill)->Arg(3000)->Unit(benchmark::kMillisecond);

void BM_EventListQuickFill(benchmark::State& state) {
  bench::FormsWorld world(static_cast<int>(state.range(0)));
  showSystemLog(world);
  world.program.FullRefresh = true;
  world.form->FillEventList();
  for (auto _ : state) {
    world.program.FullRefresh = false;
    world.form->FillEventList();
  }
  state.counters["rows"] = world.form->EventListModel().rowCount();
}
BENCHMARK(BM_EventListQuickFill)->Arg(3000)->Unit(benchmark::kMillisecond);

}  // namespace
