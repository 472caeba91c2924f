#include "corvane/catalogue/dependency_tree.h"

#include <gtest/gtest.h>

#include "catalogue_fixture.h"
#include "common/text.h"
#include "corvane/catalogue/catalogue_lookups.h"

namespace corvane {
namespace {

using testing::catalogueOf;
using testing::render;

bool ignoringCase(const std::string& a, const std::string& b) {
  return common::toLowerAscii(a) < common::toLowerAscii(b);
}

std::string treeOf(const Catalogue& catalogue, const std::string& service, DependencyKind kind,
                   bool fullTree) {
  const std::ptrdiff_t record = findRecordByServiceName(catalogue, service, LetterCase::Heeded);
  EXPECT_GE(record, 0) << service;
  return render(dependencyTreeContent(catalogue, static_cast<std::size_t>(record), kind, fullTree,
                                      ignoringCase));
}

struct Case {
  const char* what;
  std::vector<testing::ServiceSpec> services;
  std::string service;
  bool fullTree;
  std::string tree;
};

TEST(DependencyTreeTest, Dependencies) {
  const Case cases[] = {
      {"a group dependency shows its members; one level, sorted",
       {{"A", "A", {"+G", "B"}},
        {"B", "B", {"X"}},
        {"D", "D", {}, "G"},
        {"C", "C", {}, "G"},
        {"X", "X"}},
       "A",
       false,
       "B:13 G:12[C:13 D:13]"},
      {"the full tree expands services and group members; the shallower X goes",
       {{"A", "A", {"+G", "B"}},
        {"B", "B", {"X"}},
        {"D", "D", {"X"}, "G"},
        {"C", "C", {}, "G"},
        {"X", "X"}},
       "A",
       true,
       "B:13 G:12[C:13 D:13[X:13]]"},
      {"a service met at a shallower depth is pruned",
       {{"A", "A", {"B", "C"}}, {"B", "B", {"C"}}, {"C", "C"}},
       "A",
       true,
       "B:13[C:13]"},
      {"equal depths stay",
       {{"A", "A", {"B", "C"}}, {"B", "B", {"D"}}, {"C", "C", {"D"}}, {"D", "D"}},
       "A",
       true,
       "B:13[D:13] C:13[D:13]"},
      {"a pruned service takes its whole subtree with it",
       {{"A", "A", {"C", "B"}}, {"B", "B", {"C"}}, {"C", "Cee", {"E"}}, {"E", "E"}},
       "A",
       true,
       "B:13[Cee:13[E:13]]"},
      {"one level keeps the repeats of the direct level only",
       {{"A", "A", {"B", "C"}}, {"B", "B", {"C"}}, {"C", "C"}},
       "A",
       false,
       "B:13 C:13"},
      {"a key name no service carries",
       {{"A", "A", {"Foo", "b"}}, {"B", "Bee"}},
       "A",
       true,
       "Bee:13 Foo:25"},
      {"a group with no entry in the table", {{"A", "A", {"+Nowhere"}}}, "A", true, "Nowhere:12"},
      {"nothing to depend on", {{"A", "A"}}, "A", true, " - does not have dependencies - :14"},
      {"display names sort the tree, not key names",
       {{"A", "A", {"z", "y"}}, {"z", "Alpha"}, {"y", "beta"}},
       "A",
       false,
       "Alpha:13 beta:13"},
      {"two services that depend on each other",
       {{"A", "A", {"B"}}, {"B", "B", {"A"}}},
       "A",
       true,
       "B:13[A:13(circular)]"},
      {"a loop below the selected service is cut where it closes",
       {{"A", "A", {"B"}}, {"B", "B", {"C"}}, {"C", "C", {"B"}}},
       "A",
       true,
       "B:13[C:13[B:13(circular)]]"},
      {"a member of a group it depends on",
       {{"A", "A", {"+G"}, "G"}, {"M", "M", {}, "G"}},
       "A",
       true,
       "G:12[A:13(circular) M:13]"},
      {"a service that depends on itself", {{"A", "A", {"A"}}}, "A", true, "A:13(circular)"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(treeOf(catalogueOf(c.services), c.service, DependencyKind::Dependencies, c.fullTree),
              c.tree)
        << c.what;
  }
}

TEST(DependencyTreeTest, Dependents) {
  const std::vector<testing::ServiceSpec> services = {
      {"RpcSs", "Remote Procedure Call (RPC)"}, {"Spooler", "Print Spooler", {"RpcSs"}},
      {"Fax", "Fax", {"Spooler", "RpcSs"}},     {"Alerter", "Alerter"},
      {"Loop1", "Loop One", {"Loop2"}},         {"Loop2", "Loop Two", {"Loop1"}},
      {"#*%odd", "Odd Key", {"Alerter"}},
  };
  const Case cases[] = {
      {"one level", {}, "RpcSs", false, "Fax:13 Print Spooler:13"},
      {"full tree, the shallower Fax pruned", {}, "RpcSs", true, "Print Spooler:13[Fax:13]"},
      {"no dependents", {}, "Fax", true, " - does not have dependents - :14"},
      {"a loop of dependents", {}, "Loop1", true, "Loop Two:13[Loop One:13(circular)]"},
      {"a key name that looks like a group is a service", {}, "Alerter", true, "Odd Key:13"},
  };
  const Catalogue catalogue = catalogueOf(services);
  for (const Case& c : cases) {
    EXPECT_EQ(treeOf(catalogue, c.service, DependencyKind::Dependents, c.fullTree), c.tree)
        << c.what;
  }
}

TEST(DependencyTreeTest, EveryLevelIsSortedByTheGivenOrder) {
  const Catalogue catalogue = catalogueOf({{"A", "A", {"b", "c", "+G"}},
                                           {"b", "b", {"e", "d"}},
                                           {"c", "C"},
                                           {"d", "d"},
                                           {"e", "E"},
                                           {"m", "m", {}, "G"},
                                           {"k", "K", {}, "G"}});
  const auto descending = [](const std::string& a, const std::string& b) { return a > b; };
  EXPECT_EQ(
      render(dependencyTreeContent(catalogue, 0, DependencyKind::Dependencies, true, descending)),
      "b:13[d:13 E:13] G:12[m:13 K:13] C:13");
}

TEST(DependencyTreeTest, AnExplodingTreeStopsAtTheNodeLimit) {
  // Every service of a layer depends on both services of the next: 2^layers paths.
  std::vector<testing::ServiceSpec> services;
  const int layers = 24;
  for (int layer = 0; layer < layers; ++layer) {
    for (const char* side : {"L", "R"}) {
      testing::ServiceSpec spec{side + std::to_string(layer)};
      if (layer + 1 < layers) {
        spec.dependencies = {"L" + std::to_string(layer + 1), "R" + std::to_string(layer + 1)};
      }
      services.push_back(spec);
    }
  }
  const Catalogue catalogue = catalogueOf(services);
  const std::vector<TreeNode> tree =
      dependencyTreeContent(catalogue, 0, DependencyKind::Dependencies, true, ignoringCase);
  ASSERT_FALSE(tree.empty());
  EXPECT_EQ(tree.front().Text, DependencyTreeCut);
}

TEST(DependencyTreeTest, AnIndexOutsideTheTableGivesAnEmptyTree) {
  const Catalogue catalogue = catalogueOf({{"A", "A"}});
  EXPECT_TRUE(dependencyTreeContent(catalogue, 1, DependencyKind::Dependencies, true, ignoringCase)
                  .empty());
}

}  // namespace
}  // namespace corvane
