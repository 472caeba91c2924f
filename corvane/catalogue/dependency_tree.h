// The dependency tree of the details area: what a service depends on, or what depends on it, one
// level deep or in full, with a service that occurs at several depths kept only at its deepest.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "corvane/catalogue/catalogue.h"
#include "corvane/catalogue/catalogue_tree.h"

namespace corvane {

enum class DependencyKind { Dependencies, Dependents };

inline constexpr const char* NoDependenciesNode = " - does not have dependencies - ";
inline constexpr const char* NoDependentsNode = " - does not have dependents - ";

// A full tree can grow with every path through the catalogue; it stops growing at this many nodes
// and then ends with DependencyTreeCut.
inline constexpr std::size_t MaxDependencyTreeNodes = 50000;
inline constexpr const char* DependencyTreeCut = " - tree cut at 50000 entries - ";

// The order of two node texts at every level of the tree.
using NodeTextLess = std::function<bool(const std::string&, const std::string&)>;

// BuildDependenciesTree / BuildDependentsTree for record `record`: the entries of its Dependencies
// (service key names and prefixed group names, a group showing its members below it) or of its
// Dependents; with `fullTree` every service is expanded in turn, down to the services with none.
// A service already on its own path is shown Circular and not expanded again. Repeated services
// are then pruned to their deepest places, and every level is sorted by `less`.
std::vector<TreeNode> dependencyTreeContent(const Catalogue& catalogue, std::size_t record,
                                            DependencyKind kind, bool fullTree,
                                            const NodeTextLess& less);

}  // namespace corvane
