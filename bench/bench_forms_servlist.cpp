// The service list's fills on 2,000 services: a full fill (model reset) with the first paint, and
// a quick fill that finds nothing changed.
#include <benchmark/benchmark.h>

#include "bench/bench_forms_world.h"
#include "corvane/catalogue/Qt_service_list_model.h"

namespace {

void BM_ServListFullFill(benchmark::State& state) {
  bench::FormsWorld world(static_cast<int>(state.range(0)));
  world.form->ServFilterButtons[3]->setChecked(true);  // All: every service gets a row
  for (auto _ : state) {
    world.program.FullRefresh = true;
    world.form->FillViews();
    world.form->ServList->repaint();
  }
  state.counters["rows"] = world.form->ServListModel().rowCount();
}
BENCHMARK(BM_ServListFullFill)->Arg(2000)->Unit(benchmark::kMillisecond);

void BM_ServListQuickFill(benchmark::State& state) {
  bench::FormsWorld world(static_cast<int>(state.range(0)));
  world.form->ServFilterButtons[3]->setChecked(true);
  world.program.FullRefresh = true;
  world.form->FillViews();
  for (auto _ : state) {
    world.program.FullRefresh = false;
    world.form->FillViews();
  }
  state.counters["rows"] = world.form->ServListModel().rowCount();
}
BENCHMARK(BM_ServListQuickFill)->Arg(2000)->Unit(benchmark::kMillisecond);

}  // namespace
