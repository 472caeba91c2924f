// Small catalogues written as text, for the tests of the trees and the details area.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "corvane/catalogue/catalogue.h"
#include "corvane/catalogue/catalogue_tree.h"
#include "corvane/catalogue/service_texts.h"

namespace corvane::testing {

struct ServiceSpec {
  ServiceSpec(std::string name, std::string display = "",
              std::vector<std::string> dependencies = {}, std::string group = "",
              std::int32_t type = 16)
      : name(std::move(name)),
        display(std::move(display)),
        dependencies(std::move(dependencies)),
        group(std::move(group)),
        type(type) {}

  std::string name;
  std::string display;                    // empty: the key name
  std::vector<std::string> dependencies;  // key names; "+Group" for a group
  std::string group;                      // empty: none
  std::int32_t type;
};

// The catalogue as RefreshCatalogue builds it: entry 0 for the ungrouped services, the listed
// groups, then the groups met only on services; members in table order; Dependents from
// Dependencies.
inline Catalogue catalogueOf(const std::vector<ServiceSpec>& services,
                             const std::vector<std::string>& orderList = {}) {
  Catalogue catalogue;
  catalogue.GroupTable[0] = {0, UngroupedEntryName, {}};
  catalogue.GroupCount = 1;
  for (const std::string& name : orderList) {
    catalogue.GroupTable[catalogue.GroupCount++] = {1, name, {}};
  }
  for (const ServiceSpec& spec : services) {
    ServiceRecord& r = catalogue.ServiceTable[catalogue.ServiceCount++];
    r.ServiceName = spec.name;
    r.DisplayName = spec.display.empty() ? spec.name : spec.display;
    r.ServiceType = spec.type;
    r.GroupText = spec.group.empty() ? NoGroupMarker : spec.group;
    r.Dependencies.clear();
    for (const std::string& d : spec.dependencies) {
      r.Dependencies.push_back(d[0] == '+' ? GroupDependencyPrefix + d.substr(1) : d);
    }
    if (r.Dependencies.empty()) {
      r.Dependencies.push_back(NoneMarker);
    }
    std::size_t k = 0;
    if (!spec.group.empty()) {
      for (k = 1; k < catalogue.GroupCount && catalogue.GroupTable[k].Name != spec.group; ++k) {
      }
      if (k == catalogue.GroupCount) {
        catalogue.GroupTable[catalogue.GroupCount++] = {0, spec.group, {}};
      }
    }
    catalogue.GroupTable[k].Members.push_back(r.DisplayName);
  }
  for (std::size_t j = 0; j < catalogue.ServiceCount; ++j) {
    ServiceRecord& target = catalogue.ServiceTable[j];
    target.Dependents.clear();
    for (std::size_t i = 0; i < catalogue.ServiceCount; ++i) {
      for (const std::string& d : catalogue.ServiceTable[i].Dependencies) {
        if (d == target.ServiceName) {
          target.Dependents.push_back(catalogue.ServiceTable[i].ServiceName);
          break;
        }
      }
    }
    if (target.Dependents.empty()) {
      target.Dependents.push_back(NoneMarker);
    }
  }
  return catalogue;
}

// A tree as one line: each node as its text and image, "(circular)" after a circular one, its
// children in brackets: "B:13[C:13] G:12[C:13 D:13]".
inline std::string render(const std::vector<TreeNode>& nodes) {
  std::string text;
  for (const TreeNode& node : nodes) {
    if (!text.empty()) {
      text += ' ';
    }
    text += node.Text + ':' + std::to_string(node.ImageIndex);
    if (node.Circular) {
      text += "(circular)";
    }
    if (!node.Children.empty()) {
      text += '[' + render(node.Children) + ']';
    }
  }
  return text;
}

}  // namespace corvane::testing
