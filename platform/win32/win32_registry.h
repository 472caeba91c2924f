// The registry through the wide-character Windows calls. Values come back in the form the
// interface fixes: texts in UTF-8 with their terminators, other kinds as stored.
#pragma once

#include "platform/registry.h"

namespace platform::win32 {

class Win32Registry : public Registry {
 public:
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
};

}  // namespace platform::win32
