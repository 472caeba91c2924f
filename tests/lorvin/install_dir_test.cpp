#include "lorvin/lorvin_install_dir.h"

#include <gtest/gtest.h>

#include <mutex>
#include <optional>
#include <stdexcept>

#include "platform/sim/sim_registry.h"
#include "support/temp_folder.h"

namespace lorvin {
namespace {

using corvane::testing::TempFolder;
using platform::RegRoot;

// A per-user hive of its own file, as Lorvin reads it on Linux.
class UserRegistry {
 public:
  explicit UserRegistry(const std::string& userFile) : registry(machine, lock, {}, userFile) {}

  platform::sim::RegistryKey machine{"HKEY_LOCAL_MACHINE"};
  std::recursive_mutex lock;
  platform::sim::SimRegistry registry;
};

class ThrowingRegistry : public platform::Registry {
 public:
  bool keyExists(RegRoot, const std::string&) override { throw std::runtime_error("denied"); }
  bool createKey(RegRoot, const std::string&) override { throw std::runtime_error("denied"); }
  std::optional<platform::RegKind> valueKind(RegRoot, const std::string&,
                                             const std::string&) override {
    throw std::runtime_error("denied");
  }
  std::optional<std::string> readText(RegRoot, const std::string&, const std::string&) override {
    throw std::runtime_error("denied");
  }
  bool writeText(RegRoot, const std::string&, const std::string&, const std::string&) override {
    throw std::runtime_error("denied");
  }
  std::optional<std::string> readBytes(RegRoot, const std::string&, const std::string&,
                                       std::size_t) override {
    throw std::runtime_error("denied");
  }
  std::vector<std::string> subkeyNames(RegRoot, const std::string&) override {
    throw std::runtime_error("denied");
  }
  std::vector<platform::RegValue> values(RegRoot, const std::string&) override {
    throw std::runtime_error("denied");
  }
  bool deleteKeyTree(RegRoot, const std::string&) override { throw std::runtime_error("denied"); }
};

TEST(LorvinInstallDir, TheStoredFolderWhenUsableElseTheProgramFolder) {
  TempFolder folder;
  const std::string installed = folder.path("Corvane dir");
  std::filesystem::create_directories(installed);
  struct Case {
    const char* name;
    std::optional<std::string> stored;
    std::string expected;
  };
  const Case cases[] = {
      {"usable", installed, installed},
      {"missing value", std::nullopt, "/program"},
      {"empty", "", "/program"},
      {"zero", "0", "/program"},
      {"no such folder", folder.path("gone"), "/program"},
      {"a file", folder.write("file", "x"), "/program"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    UserRegistry user(folder.path(std::string(c.name) + ".reg"));
    if (c.stored) {
      ASSERT_TRUE(user.registry.createKey(RegRoot::CurrentUser, PerUserKey));
      ASSERT_TRUE(
          user.registry.writeText(RegRoot::CurrentUser, PerUserKey, InstallDirValue, *c.stored));
    }
    EXPECT_EQ(FindInstallDir(user.registry, "/program"), c.expected);
  }
}

TEST(LorvinInstallDir, ReadsTheValueThatCorvaneWroteToThePerUserFile) {
  TempFolder folder;
  const std::string userFile = folder.path("user.reg");
  {
    UserRegistry corvane(userFile);
    ASSERT_TRUE(corvane.registry.createKey(RegRoot::CurrentUser, PerUserKey));
    ASSERT_TRUE(corvane.registry.writeText(RegRoot::CurrentUser, PerUserKey, InstallDirValue,
                                           folder.path()));
  }
  UserRegistry lorvin(userFile);
  EXPECT_EQ(FindInstallDir(lorvin.registry, "/program"), folder.path());
}

TEST(LorvinInstallDir, AnUnreadableRegistryIsSilent) {
  ThrowingRegistry registry;
  EXPECT_EQ(FindInstallDir(registry, "/program"), "/program");
  TempFolder folder;
  UserRegistry malformed(folder.write("user.reg", "not a registry file\n[\x01"));
  EXPECT_EQ(FindInstallDir(malformed.registry, "/program"), "/program");
}

TEST(LorvinInstallDir, JoinPathAddsOneSeparator) {
  EXPECT_EQ(JoinPath("/a", "b"), "/a/b");
  EXPECT_EQ(JoinPath("/a/", "b"), "/a/b");
  EXPECT_EQ(JoinPath("C:\\a\\", "b"), "C:\\a\\b");
}

}  // namespace
}  // namespace lorvin
