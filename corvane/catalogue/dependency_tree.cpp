#include "corvane/catalogue/dependency_tree.h"

#include <algorithm>
#include <map>
#include <set>
#include <string_view>
#include <unordered_map>

#include "common/text.h"
#include "corvane/catalogue/catalogue_lookups.h"
#include "corvane/catalogue/service_list.h"
#include "corvane/catalogue/service_texts.h"

namespace corvane {

namespace {

// The tree in tree order (depth first, top to bottom), each node with its depth.
struct FlatNode {
  std::string text;
  int image;
  bool circular;
  std::size_t depth;
};

class TreeBuilder {
 public:
  TreeBuilder(const Catalogue& catalogue, DependencyKind kind, bool fullTree)
      : catalogue_(catalogue), kind_(kind), fullTree_(fullTree) {}

  std::vector<FlatNode> build(std::size_t record) {
    path_.push_back(record);
    for (const std::string& entry : entries(record)) {
      if (entry == NoneMarker) {
        add(kind_ == DependencyKind::Dependencies ? NoDependenciesNode : NoDependentsNode,
            image::NothingToShow, 0);
      } else {
        addEntry(entry, 0);
      }
    }
    return std::move(nodes_);
  }

  bool cut() const { return cut_; }

 private:
  const std::vector<std::string>& entries(std::size_t record) const {
    const ServiceRecord& r = catalogue_.ServiceTable[record];
    return kind_ == DependencyKind::Dependencies ? r.Dependencies : r.Dependents;
  }

  bool add(std::string text, int image, std::size_t depth, bool circular = false) {
    if (nodes_.size() >= MaxDependencyTreeNodes) {
      cut_ = true;
      return false;
    }
    nodes_.push_back({std::move(text), image, circular, depth});
    return true;
  }

  bool onPath(std::size_t record) const {
    return std::find(path_.begin(), path_.end(), record) != path_.end();
  }

  // One entry of a Dependencies or Dependents list, as a node at `depth`.
  void addEntry(const std::string& entry, std::size_t depth) {
    const std::string_view prefix = GroupDependencyPrefix;
    if (kind_ == DependencyKind::Dependencies && entry.compare(0, prefix.size(), prefix) == 0) {
      const std::string group = entry.substr(prefix.size());
      if (!add(group, image::Group, depth)) {
        return;
      }
      for (std::size_t k = 0; k < catalogue_.GroupCount; ++k) {
        if (common::equalsIgnoreCase(catalogue_.GroupTable[k].Name, group)) {
          for (const std::string& member : catalogue_.GroupTable[k].Members) {
            addService(member, findRecordByDisplayName(catalogue_, member, LetterCase::Ignored),
                       depth + 1);
          }
        }
      }
      return;
    }
    const std::ptrdiff_t record = findRecordByServiceName(catalogue_, entry, LetterCase::Ignored);
    if (record < 0) {
      add(entry, image::ServiceNotInstalled, depth);
      return;
    }
    const auto index = static_cast<std::size_t>(record);
    addService(catalogue_.ServiceTable[index].DisplayName, record, depth);
  }

  // A service node; with the full tree, its own entries below it.
  void addService(const std::string& text, std::ptrdiff_t record, std::size_t depth) {
    const bool expand = fullTree_ && record >= 0;
    const bool circular = expand && onPath(static_cast<std::size_t>(record));
    if (!add(text, image::Service, depth, circular) || !expand || circular) {
      return;
    }
    path_.push_back(static_cast<std::size_t>(record));
    for (const std::string& entry : entries(static_cast<std::size_t>(record))) {
      if (entry != NoneMarker) {
        addEntry(entry, depth + 1);
      }
    }
    path_.pop_back();
  }

  const Catalogue& catalogue_;
  DependencyKind kind_;
  bool fullTree_;
  std::vector<FlatNode> nodes_;
  std::vector<std::size_t> path_;
  bool cut_ = false;
};

// Walks the nodes in tree order, an outer node p against every other node q of the same text
// (without regard to case) in tree order: when their depths differ, the shallower goes with its
// whole subtree; q's removal lets the inner walk go on, p's ends it. Nodes of equal depth stay; a
// circular node is never compared. The inner walk visits only the nodes of p's text at other
// depths, which it finds as the first node of each such depth still in the tree.
void pruneRepeatedServices(std::vector<FlatNode>& nodes) {
  const std::size_t count = nodes.size();
  std::vector<std::size_t> subtreeEnd(count, count);
  std::vector<std::size_t> open;
  for (std::size_t i = 0; i < count; ++i) {
    while (!open.empty() && nodes[open.back()].depth >= nodes[i].depth) {
      subtreeEnd[open.back()] = i;
      open.pop_back();
    }
    open.push_back(i);
  }
  constexpr std::size_t NotCompared = static_cast<std::size_t>(-1);
  std::vector<std::size_t> textOf(count, NotCompared);
  std::unordered_map<std::string, std::size_t> textIds;
  // For each text, by depth, the positions of its nodes still in the tree.
  std::vector<std::map<std::size_t, std::set<std::size_t>>> byDepth;
  for (std::size_t i = 0; i < count; ++i) {
    if (nodes[i].circular) {
      continue;
    }
    const auto [id, added] = textIds.emplace(common::toLowerAscii(nodes[i].text), byDepth.size());
    if (added) {
      byDepth.emplace_back();
    }
    textOf[i] = id->second;
    byDepth[id->second][nodes[i].depth].insert(i);
  }
  std::vector<bool> deleted(count, false);
  const auto remove = [&](std::size_t node) {
    for (std::size_t i = node; i < subtreeEnd[node]; ++i) {
      if (!deleted[i] && textOf[i] != NotCompared) {
        byDepth[textOf[i]][nodes[i].depth].erase(i);
      }
      deleted[i] = true;
    }
  };
  for (std::size_t p = 0; p < count; ++p) {
    if (deleted[p] || textOf[p] == NotCompared) {
      continue;
    }
    while (!deleted[p]) {
      std::size_t q = count;
      for (const auto& [depth, positions] : byDepth[textOf[p]]) {
        if (depth != nodes[p].depth && !positions.empty()) {
          q = std::min(q, *positions.begin());
        }
      }
      if (q == count) {
        break;
      }
      remove(nodes[q].depth < nodes[p].depth ? q : p);
    }
  }
  std::size_t kept = 0;
  for (std::size_t i = 0; i < count; ++i) {
    if (!deleted[i]) {
      if (kept != i) {
        nodes[kept] = std::move(nodes[i]);
      }
      ++kept;
    }
  }
  nodes.resize(kept);
}

std::vector<TreeNode> nested(std::vector<FlatNode>& flat) {
  std::vector<TreeNode> top;
  std::vector<TreeNode*> open;  // the last node at each depth
  for (FlatNode& node : flat) {
    open.resize(node.depth);
    std::vector<TreeNode>& siblings = open.empty() ? top : open.back()->Children;
    siblings.push_back({std::move(node.text), node.image, node.circular, {}});
    open.push_back(&siblings.back());
  }
  return top;
}

void sortLevels(std::vector<TreeNode>& nodes, const NodeTextLess& less) {
  std::stable_sort(nodes.begin(), nodes.end(),
                   [&](const TreeNode& a, const TreeNode& b) { return less(a.Text, b.Text); });
  for (TreeNode& node : nodes) {
    sortLevels(node.Children, less);
  }
}

}  // namespace

std::vector<TreeNode> dependencyTreeContent(const Catalogue& catalogue, std::size_t record,
                                            DependencyKind kind, bool fullTree,
                                            const NodeTextLess& less) {
  if (record >= catalogue.ServiceCount) {
    return {};
  }
  TreeBuilder builder(catalogue, kind, fullTree);
  std::vector<FlatNode> flat = builder.build(record);
  pruneRepeatedServices(flat);
  std::vector<TreeNode> tree = nested(flat);
  if (builder.cut()) {
    tree.push_back({DependencyTreeCut, image::NothingToShow, false, {}});
  }
  sortLevels(tree, less);
  return tree;
}

}  // namespace corvane
