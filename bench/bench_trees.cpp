// The details area's work for one selection: the dependency tree at its node limit, the groups
// tree of a full table, and the look-up of a section in a large extra-descriptions file.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "common/text.h"
#include "corvane/catalogue/dependency_tree.h"
#include "corvane/catalogue/groups_tree.h"
#include "corvane/catalogue/service_details.h"
#include "corvane/catalogue/service_texts.h"

namespace {

using namespace corvane;

// 500 services in layers of 20; each depends on three of the next layer, so the full tree of a
// service of the first layer has far more paths than the node limit. Every service is in one of
// 25 groups.
Catalogue layeredCatalogue() {
  constexpr std::size_t Count = 500;
  constexpr std::size_t Layer = 20;
  Catalogue catalogue;
  catalogue.GroupTable[0] = {0, UngroupedEntryName, {}};
  catalogue.GroupCount = 26;
  for (std::size_t g = 1; g < catalogue.GroupCount; ++g) {
    catalogue.GroupTable[g] = {1, "Group " + std::to_string(g), {}};
  }
  for (std::size_t i = 0; i < Count; ++i) {
    ServiceRecord& r = catalogue.ServiceTable[i];
    r.ServiceName = "svc" + std::to_string(i);
    r.DisplayName = "Service number " + std::to_string(i);
    r.ServiceType = i % 3 == 0 ? 1 : 32;
    r.Dependencies.clear();
    const std::size_t next = (i / Layer + 1) * Layer;
    for (std::size_t k = 0; k < 3 && next + Layer <= Count; ++k) {
      r.Dependencies.push_back("svc" + std::to_string(next + (i + k * 7) % Layer));
    }
    if (r.Dependencies.empty()) {
      r.Dependencies.push_back(NoneMarker);
    }
    r.Dependents = {NoneMarker};
    catalogue.GroupTable[1 + i % 25].Members.push_back(r.DisplayName);
  }
  catalogue.ServiceCount = Count;
  return catalogue;
}

bool byText(const std::string& a, const std::string& b) {
  return common::toLowerAscii(a) < common::toLowerAscii(b);
}

void BM_FullDependencyTreeAtTheNodeLimit(benchmark::State& state) {
  const Catalogue catalogue = layeredCatalogue();
  std::size_t nodes = 0;
  for (auto _ : state) {
    const std::vector<TreeNode> tree =
        dependencyTreeContent(catalogue, 0, DependencyKind::Dependencies, true, byText);
    nodes = tree.size();
    benchmark::DoNotOptimize(tree.data());
  }
  state.counters["top_nodes"] = static_cast<double>(nodes);
}
BENCHMARK(BM_FullDependencyTreeAtTheNodeLimit)->Unit(benchmark::kMillisecond);

void BM_GroupsTreeOf500Services(benchmark::State& state) {
  const Catalogue catalogue = layeredCatalogue();
  for (auto _ : state) {
    benchmark::DoNotOptimize(groupsTreeContent(catalogue).data());
  }
}
BENCHMARK(BM_GroupsTreeOf500Services)->Unit(benchmark::kMicrosecond);

// A 16 MB file of 2000 sections (the largest the start-up loads); the wanted one is last.
void BM_DetailsWithTheLastSectionOfAHugeFile(benchmark::State& state) {
  std::vector<std::string> lines;
  for (int s = 0; s < 2000; ++s) {
    lines.push_back("[Section " + std::to_string(s) + "]");
    for (int k = 0; k < 100; ++k) {
      lines.push_back(std::string(80, 'x'));
    }
  }
  lines.push_back("[Wanted Service]");
  lines.push_back("Note: found.");
  lines.push_back("[iniend]");
  ServiceRecord entry;
  entry.DisplayName = "Wanted Service";
  entry.DescriptionText = "Registry text.";
  for (auto _ : state) {
    benchmark::DoNotOptimize(composeServiceDetails(entry, lines).Text.data());
  }
}
BENCHMARK(BM_DetailsWithTheLastSectionOfAHugeFile)->Unit(benchmark::kMillisecond);

}  // namespace
