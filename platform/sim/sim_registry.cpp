#include "platform/sim/sim_registry.h"

#include <algorithm>
#include <cstdlib>

#include "common/atomic_file.h"
#include "platform/sim/reg_file_text.h"

namespace platform::sim {

namespace {

// The non-empty parts of a backslash path, as the tree reads it.
std::vector<std::string_view> keyParts(std::string_view path) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  while (start <= path.size()) {
    const std::size_t end = std::min(path.find('\\', start), path.size());
    if (end > start)
      parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

// A name a .reg file can hold: the file is read line by line and texts end at a zero.
bool storableName(std::string_view name) {
  return name.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

bool storableKeyPath(std::string_view path) {
  if (!storableName(path))
    return false;
  const std::vector<std::string_view> parts = keyParts(path);
  return parts.size() <= kMaxKeyDepth &&
         std::all_of(parts.begin(), parts.end(), [](std::string_view part) {
           return characterCount(part) <= kMaxKeyNameLength;
         });
}

}  // namespace

SimRegistry::SimRegistry(RegistryKey& machine, std::recursive_mutex& machineLock,
                         std::function<void()> machineChanged, std::filesystem::path userFile)
    : machine_(machine),
      machineLock_(machineLock),
      machineChanged_(std::move(machineChanged)),
      userFile_(std::move(userFile)) {
  std::error_code error;
  if (!std::filesystem::exists(userFile_, error) && !error)
    return;
  try {
    importRegFile(userFile_, RegRoot::CurrentUser, user_);
  } catch (const RegFileError& failure) {
    userFileError_ = failure.what();
  }
}

std::filesystem::path SimRegistry::defaultUserFile() {
  return userFileFor(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
}

std::filesystem::path SimRegistry::userFileFor(const char* configHome, const char* home) {
  std::filesystem::path base;
  if (configHome && *configHome && std::filesystem::path(configHome).is_absolute())
    base = configHome;
  else
    base = std::filesystem::path(home && *home ? home : ".") / ".config";
  return base / "Corvane" / "user.reg";
}

std::recursive_mutex& SimRegistry::lockOf(RegRoot root) {
  return root == RegRoot::LocalMachine ? machineLock_ : userLock_;
}

RegistryKey& SimRegistry::hiveOf(RegRoot root) {
  return root == RegRoot::LocalMachine ? machine_ : user_;
}

bool SimRegistry::mayChange(RegRoot root) const {
  return root == RegRoot::LocalMachine || userFileError_.empty();
}

std::string SimRegistry::userSnapshot(RegRoot root) const {
  if (root == RegRoot::LocalMachine)
    return {};
  return exportRegFile(user_, rootName(RegRoot::CurrentUser), RegFileFormat::Regedit4);
}

bool SimRegistry::changed(RegRoot root, const std::string& userBefore) {
  if (root == RegRoot::LocalMachine) {
    if (machineChanged_)
      machineChanged_();
    return true;
  }
  try {
    std::error_code ignored;  // a failure to make the folder shows in the write
    std::filesystem::create_directories(userFile_.parent_path(), ignored);
    common::writeFileAtomically(userFile_, userSnapshot(root));
    return true;
  } catch (const common::FileError&) {
    RegistryKey restored(user_.name());
    importRegFile(userBefore, userFile_.string(), RegRoot::CurrentUser, restored);
    user_ = std::move(restored);
    return false;
  }
}

bool SimRegistry::keyExists(RegRoot root, const std::string& path) {
  std::lock_guard lock(lockOf(root));
  return hiveOf(root).find(path) != nullptr;
}

bool SimRegistry::createKey(RegRoot root, const std::string& path) {
  if (!storableKeyPath(path))
    return false;
  std::lock_guard lock(lockOf(root));
  RegistryKey& hive = hiveOf(root);
  if (hive.find(path))
    return true;
  if (!mayChange(root))
    return false;
  const std::string before = userSnapshot(root);
  hive.create(path);
  return changed(root, before);
}

std::optional<RegKind> SimRegistry::valueKind(RegRoot root, const std::string& path,
                                              const std::string& name) {
  std::lock_guard lock(lockOf(root));
  const RegistryKey* key = hiveOf(root).find(path);
  const RegValue* value = key ? key->value(name) : nullptr;
  if (!value)
    return std::nullopt;
  return value->kind;
}

std::optional<std::string> SimRegistry::readText(RegRoot root, const std::string& path,
                                                 const std::string& name) {
  std::lock_guard lock(lockOf(root));
  const RegistryKey* key = hiveOf(root).find(path);
  const RegValue* value = key ? key->value(name) : nullptr;
  if (!value || (value->kind != RegKind::String && value->kind != RegKind::ExpandString))
    return std::nullopt;
  return textOfData(value->data);
}

bool SimRegistry::writeText(RegRoot root, const std::string& path, const std::string& name,
                            const std::string& value) {
  if (!storableName(name))
    return false;
  std::lock_guard lock(lockOf(root));
  RegistryKey* key = hiveOf(root).find(path);
  if (!key || !mayChange(root))
    return false;
  const std::string before = userSnapshot(root);
  const RegValue* existing = key->value(name);  // an overwritten value keeps its name's case
  key->setValue(RegValue{existing ? existing->name : name, RegKind::String, stringData(value)});
  return changed(root, before);
}

std::optional<std::string> SimRegistry::readBytes(RegRoot root, const std::string& path,
                                                  const std::string& name, std::size_t maxBytes) {
  std::lock_guard lock(lockOf(root));
  const RegistryKey* key = hiveOf(root).find(path);
  const RegValue* value = key ? key->value(name) : nullptr;
  if (!value || value->data.size() > maxBytes)
    return std::nullopt;
  return value->data;
}

std::vector<std::string> SimRegistry::subkeyNames(RegRoot root, const std::string& path) {
  std::lock_guard lock(lockOf(root));
  std::vector<std::string> names;
  if (const RegistryKey* key = hiveOf(root).find(path))
    for (const auto& child : key->children())
      names.push_back(child->name());
  std::sort(names.begin(), names.end(),
            [](const std::string& a, const std::string& b) { return namesLess(a, b); });
  return names;
}

std::vector<RegValue> SimRegistry::values(RegRoot root, const std::string& path) {
  std::lock_guard lock(lockOf(root));
  const RegistryKey* key = hiveOf(root).find(path);
  return key ? key->values() : std::vector<RegValue>{};
}

bool SimRegistry::deleteKeyTree(RegRoot root, const std::string& path) {
  const std::vector<std::string_view> parts = keyParts(path);
  if (parts.empty())
    return false;  // a root cannot be deleted
  std::lock_guard lock(lockOf(root));
  RegistryKey* parent = &hiveOf(root);
  for (std::size_t i = 0; parent && i + 1 < parts.size(); ++i)
    parent = parent->find(parts[i]);
  if (!parent || !parent->find(parts.back()) || !mayChange(root))
    return false;
  const std::string before = userSnapshot(root);
  parent->removeChild(parts.back());
  return changed(root, before);
}

bool SimRegistry::exportKey(RegRoot root, const std::string& path,
                            const std::filesystem::path& filePath, RegFileFormat format) {
  std::string bytes;
  {
    std::lock_guard lock(lockOf(root));
    const RegistryKey* key = &hiveOf(root);
    std::string fullPath(rootName(root));
    for (const std::string_view part : keyParts(path)) {
      key = key->find(part);
      if (!key)
        return false;
      fullPath += "\\" + key->name();
    }
    bytes = exportRegFile(*key, fullPath, format);
  }
  try {
    common::writeFileAtomically(filePath, bytes);
    return true;
  } catch (const common::FileError&) {
    return false;
  }
}

}  // namespace platform::sim
