// The groups tree of the " Service Groups " page and the texts the details area shows for a
// group node.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "corvane/catalogue/catalogue.h"
#include "corvane/catalogue/catalogue_tree.h"

namespace corvane {

inline constexpr const char* NoGroupsDefined = " - no groups defined - ";
inline constexpr const char* GroupOrderPrefix = "order: ";

// FillGroupsTree's top-level nodes: the groups in table order, the entry of the services without
// a group last; each with its members. " - no groups defined - " alone when GroupCount is 0.
std::vector<TreeNode> groupsTreeContent(const Catalogue& catalogue);

// The explanation of a load ordering group: as the user's selection in the groups tree shows it,
// and as the selection-details refresh shows it (the key path in single quotes).
extern const char* const GroupExplanationOnSelection;
extern const char* const GroupExplanationOnRefresh;

// "order: " and a node's position counted from 0.
std::string groupOrderText(std::size_t position);

}  // namespace corvane
