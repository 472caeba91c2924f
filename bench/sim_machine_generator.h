// Simulated computers of any size for the benchmarks: generated once into a temporary folder.
#pragma once

#include <filesystem>

namespace bench {

// Writes a machine folder (registry.reg, services.ini, three event logs) with `serviceCount`
// services and drivers into `folder`, which is created when missing. Every service has a display
// name, an image path, a description and a start name; drivers belong to load-order groups;
// every fourth service depends on the one before it and on a group; every third one runs.
void writeGeneratedMachine(const std::filesystem::path& folder, int serviceCount);

// A generated machine in a fresh temporary folder, removed with it.
class GeneratedMachine {
 public:
  explicit GeneratedMachine(int serviceCount);
  ~GeneratedMachine();
  GeneratedMachine(const GeneratedMachine&) = delete;
  GeneratedMachine& operator=(const GeneratedMachine&) = delete;

  const std::filesystem::path& folder() const { return folder_; }
  // A file for the per-user hive beside the machine, so that benchmarks leave the user's alone.
  std::filesystem::path userRegistryFile() const { return root_ / "user.reg"; }

 private:
  std::filesystem::path root_;
  std::filesystem::path folder_;
};

}  // namespace bench
