// The catalogue refresh over the same generated computer as BM_SimEnumerateAndQuery, which makes
// the same platform calls without the catalogue's work on top.
#include <benchmark/benchmark.h>

#include <vector>

#include "corvane/catalogue/refresh_catalogue.h"
#include "platform/sim/simulated_machine.h"
#include "sim_machine_generator.h"

namespace {

// The refresh of a sound computer shows no message; any would fail the benchmark.
class NoDialogs : public corvane::Dialogs {
 public:
  int shown = 0;
  corvane::DialogResult messageBox(const std::string&, const std::string&, corvane::DialogIcon,
                                   corvane::DialogButtons) override {
    ++shown;
    return corvane::DialogResult::Ok;
  }
  void showMessage(const std::string&) override { ++shown; }
  std::optional<std::string> openFile(const corvane::FileDialogRequest&) override {
    return std::nullopt;
  }
  std::optional<std::string> saveFile(const corvane::FileDialogRequest&) override {
    return std::nullopt;
  }
  std::optional<std::uint32_t> chooseColor(std::uint32_t) override { return std::nullopt; }
  std::optional<corvane::FontChoice> chooseFont(const corvane::FontChoice&) override {
    return std::nullopt;
  }
};

void BM_RefreshCatalogue(benchmark::State& state) {
  const int serviceCount = static_cast<int>(state.range(0));
  const bench::GeneratedMachine generated(serviceCount);
  platform::VirtualClock clock;
  platform::sim::SimulatedMachine machine(generated.folder(), clock, generated.userRegistryFile());
  platform::Scm& scm = machine.scm();
  NoDialogs dialogs;
  corvane::Catalogue catalogue;
  std::vector<platform::EnumServiceEntry> enumBuffer;
  platform::ServiceConfig configBuffer;
  platform::ServiceStatus statusBuffer;

  for (auto _ : state) {
    const platform::ScHandle manager = scm.openSCManager(platform::access::ScManagerAll);
    corvane::RefreshCatalogue(
        {scm, machine.registry(), dialogs, true, manager, enumBuffer, configBuffer, statusBuffer},
        catalogue);
    scm.closeServiceHandle(manager);
    if (catalogue.ServiceCount != static_cast<std::size_t>(serviceCount) || dialogs.shown != 0 ||
        catalogue.ServiceTable[0].FailMark != 0) {
      state.SkipWithError("the generated computer was not read whole");
      break;
    }
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * serviceCount);
}

}  // namespace

BENCHMARK(BM_RefreshCatalogue)->Arg(2000)->Unit(benchmark::kMillisecond);
