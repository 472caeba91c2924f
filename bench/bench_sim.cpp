// One pass over every service of a simulated computer, as the catalogue refresh makes it:
// enumeration, then per service open, configuration, status, registry description and close.
#include <benchmark/benchmark.h>

#include <vector>

#include "platform/sim/simulated_machine.h"
#include "sim_machine_generator.h"

namespace {

void BM_SimEnumerateAndQuery(benchmark::State& state) {
  const int serviceCount = static_cast<int>(state.range(0));
  const bench::GeneratedMachine generated(serviceCount);
  platform::VirtualClock clock;
  platform::sim::SimulatedMachine machine(generated.folder(), clock, generated.userRegistryFile());
  platform::Scm& scm = machine.scm();
  platform::Registry& registry = machine.registry();
  constexpr std::size_t kEnumBufferBytes = 36000;
  constexpr std::size_t kConfigBufferBytes = 8192;

  for (auto _ : state) {
    const platform::ScHandle manager = scm.openSCManager(platform::access::ScManagerAll);
    std::vector<platform::EnumServiceEntry> entries;
    std::uint32_t resume = 0;
    std::size_t needed = 0;
    while (!scm.enumServicesStatus(manager, platform::svctype::AllEnumerated,
                                   platform::state::EnumAll, kEnumBufferBytes, entries, needed,
                                   resume) &&
           scm.lastError() == platform::err::MoreData) {
    }
    std::size_t described = 0;
    for (const platform::EnumServiceEntry& entry : entries) {
      const platform::ScHandle service =
          scm.openService(manager, entry.serviceName, platform::access::ServiceAll);
      platform::ServiceConfig config;
      platform::ServiceStatus status;
      scm.queryServiceConfig(service, kConfigBufferBytes, config, needed);
      scm.queryServiceStatus(service, status);
      const auto description = registry.readText(
          platform::RegRoot::LocalMachine,
          "SYSTEM\\CurrentControlSet\\Services\\" + entry.serviceName, "Description");
      described += description ? 1 : 0;
      scm.closeServiceHandle(service);
      benchmark::DoNotOptimize(config);
      benchmark::DoNotOptimize(status);
    }
    scm.closeServiceHandle(manager);
    if (entries.size() != static_cast<std::size_t>(serviceCount) || described != entries.size()) {
      state.SkipWithError("the generated computer did not answer every service");
      break;
    }
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * serviceCount);
}

}  // namespace

BENCHMARK(BM_SimEnumerateAndQuery)->Arg(2000)->Unit(benchmark::kMillisecond);
