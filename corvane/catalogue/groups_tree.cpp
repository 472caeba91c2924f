#include "corvane/catalogue/groups_tree.h"

#include "corvane/catalogue/catalogue_lookups.h"
#include "corvane/catalogue/service_list.h"
#include "corvane/catalogue/service_texts.h"

namespace corvane {

namespace {

TreeNode groupNode(const Catalogue& catalogue, const GroupRecord& group) {
  TreeNode node{group.Name, group.Listed == 1 ? image::Group : image::GroupOutsideOrder, false, {}};
  if (group.Members.empty()) {
    node.ImageIndex = image::EmptyGroup;
    return node;
  }
  for (const std::string& member : group.Members) {
    TreeNode child{member, DefaultTreeImage, false, {}};
    const std::ptrdiff_t record = findRecordByDisplayName(catalogue, member, LetterCase::Ignored);
    if (record >= 0) {
      const std::int32_t type =
          catalogue.ServiceTable[static_cast<std::size_t>(record)].ServiceType;
      child.ImageIndex = type == 1 || type == 2 ? image::TreeDriver : image::Service;
    }
    node.Children.push_back(std::move(child));
  }
  return node;
}

}  // namespace

const char* const GroupExplanationOnSelection =
    "Description:\nNames the load ordering group. The registry has a list of load ordering groups "
    "located at: HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\ServiceGroupOrder\n\nThe "
    "startup program uses this list to load groups of services in a specified order with respect "
    "to the other groups in the list. A service can be placed in a group so that another service "
    "can depend on the group.\n\nThe order in which services start is determined by the "
    "following criteria:\n1. The order of groups in the registry's load-ordering group list. "
    "Services in groups in the load-ordering group list are started first, followed by services "
    "in groups not in the load-ordering group list and then services that do not belong to a "
    "group.\n2. The service's dependencies.";

const char* const GroupExplanationOnRefresh =
    "Description:\nNames the load ordering group. The registry has a list of load ordering groups "
    "located at: 'HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\ServiceGroupOrder'\n\n"
    "The startup program uses this list to load groups of services in a specified order with "
    "respect to the other groups in the list. A service can be placed in a group so that another "
    "service can depend on the group.\n\nThe order in which services start is determined by the "
    "following criteria:\n1. The order of groups in the registry's load-ordering group list. "
    "Services in groups in the load-ordering group list are started first, followed by services "
    "in groups not in the load-ordering group list and then services that do not belong to a "
    "group.\n2. The service's dependencies.";

std::vector<TreeNode> groupsTreeContent(const Catalogue& catalogue) {
  std::vector<TreeNode> nodes;
  if (catalogue.GroupCount == 0) {
    nodes.push_back({NoGroupsDefined, image::NothingToShow, false, {}});
    return nodes;
  }
  const GroupRecord* ungrouped = nullptr;
  for (std::size_t k = 0; k < catalogue.GroupCount; ++k) {
    const GroupRecord& group = catalogue.GroupTable[k];
    if (group.Name == UngroupedEntryName) {
      ungrouped = ungrouped == nullptr ? &group : ungrouped;
      continue;
    }
    nodes.push_back(groupNode(catalogue, group));
  }
  if (ungrouped != nullptr) {
    nodes.push_back(groupNode(catalogue, *ungrouped));
  }
  return nodes;
}

std::string groupOrderText(std::size_t position) {
  return GroupOrderPrefix + std::to_string(position);
}

}  // namespace corvane
