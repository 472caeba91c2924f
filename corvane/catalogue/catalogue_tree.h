// A node of the groups tree or the dependency tree, as the tree views show it.
#pragma once

#include <string>
#include <vector>

namespace corvane {

// The image of a node that keeps the tree's default image: it shows none.
inline constexpr int DefaultTreeImage = -1;

struct TreeNode {
  std::string Text;
  int ImageIndex = DefaultTreeImage;
  // A service met again on its own path through the tree: shown there, not expanded again.
  bool Circular = false;
  std::vector<TreeNode> Children;
};

}  // namespace corvane
