// The registry of the simulated computer: HKEY_LOCAL_MACHINE is the computer's hive, owned and
// saved by the caller; HKEY_CURRENT_USER is the per-user hive, kept in a .reg file of its own.
#pragma once

#include <filesystem>
#include <functional>
#include <mutex>
#include <string>

#include "platform/registry.h"
#include "platform/sim/reg_file.h"
#include "platform/sim/registry_tree.h"

namespace platform::sim {

class SimRegistry : public Registry {
 public:
  // `machine` and `machineLock` (which guards it, also for anyone else who changes it) outlive
  // the registry. `machineChanged` runs after every change of the machine hive, with the lock
  // held, so the owner can save the computer. The per-user hive is read from `userFile` when it
  // exists and written back to it after every change of its own.
  SimRegistry(RegistryKey& machine, std::recursive_mutex& machineLock,
              std::function<void()> machineChanged,
              std::filesystem::path userFile = defaultUserFile());

  // $XDG_CONFIG_HOME/Corvane/user.reg, or $HOME/.config/Corvane/user.reg.
  static std::filesystem::path defaultUserFile();
  // The same from the two variables' values (null when unset); a relative XDG_CONFIG_HOME is
  // ignored, as the base directory rules say.
  static std::filesystem::path userFileFor(const char* configHome, const char* home);

  // Why the per-user file could not be read, or empty. While it is set the per-user hive is
  // empty and refuses changes, so the unreadable file is never overwritten.
  const std::string& userFileError() const { return userFileError_; }

  bool keyExists(RegRoot root, const std::string& path) override;
  bool createKey(RegRoot root, const std::string& path) override;
  std::optional<RegKind> valueKind(RegRoot root, const std::string& path,
                                   const std::string& name) override;
  std::optional<std::string> readText(RegRoot root, const std::string& path,
                                      const std::string& name) override;
  bool writeText(RegRoot root, const std::string& path, const std::string& name,
                 const std::string& value) override;
  std::optional<std::string> readBytes(RegRoot root, const std::string& path,
                                       const std::string& name, std::size_t maxBytes) override;
  std::vector<std::string> subkeyNames(RegRoot root, const std::string& path) override;
  std::vector<RegValue> values(RegRoot root, const std::string& path) override;
  bool deleteKeyTree(RegRoot root, const std::string& path) override;

  // Writes the key with everything below it to `filePath` as the registry editor exports it
  // (atomically); false when the key does not exist or the file cannot be written.
  bool exportKey(RegRoot root, const std::string& path, const std::filesystem::path& filePath,
                 RegFileFormat format);

 private:
  std::recursive_mutex& lockOf(RegRoot root);
  RegistryKey& hiveOf(RegRoot root);
  bool mayChange(RegRoot root) const;
  // The per-user hive as its file holds it (empty for the machine), taken before a change.
  std::string userSnapshot(RegRoot root) const;
  // Reports a change of the hive: the owner saves the machine; the per-user hive is saved to
  // its file, or, when that fails, put back as `userBefore` held it.
  bool changed(RegRoot root, const std::string& userBefore);

  RegistryKey& machine_;
  std::recursive_mutex& machineLock_;
  std::function<void()> machineChanged_;
  std::filesystem::path userFile_;
  RegistryKey user_{"HKEY_CURRENT_USER"};
  std::recursive_mutex userLock_;
  std::string userFileError_;
};

}  // namespace platform::sim
