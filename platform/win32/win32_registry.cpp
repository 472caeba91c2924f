#include "platform/win32/win32_registry.h"

#include <windows.h>

#include <cstring>

#include "platform/win32/wide_text.h"

namespace platform::win32 {

namespace {

// Access of the registry objects: everything on the local machine, read and write per user.
constexpr REGSAM LocalMachineAccess = KEY_ALL_ACCESS;
constexpr REGSAM CurrentUserAccess = KEY_READ | KEY_WRITE;

HKEY rootKey(RegRoot root) {
  return root == RegRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

class OpenKey {
 public:
  OpenKey(RegRoot root, const std::string& path, REGSAM access) {
    if (RegOpenKeyExW(rootKey(root), widen(path).c_str(), 0, access, &key_) != ERROR_SUCCESS) {
      key_ = nullptr;
    }
  }
  explicit OpenKey(HKEY key) : key_(key) {}
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  ~OpenKey() {
    if (key_ != nullptr)
      RegCloseKey(key_);
  }
  explicit operator bool() const { return key_ != nullptr; }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

struct RawValue {
  DWORD kind = REG_NONE;
  std::string bytes;
};

std::optional<RawValue> queryValue(HKEY key, const std::wstring& name) {
  RawValue value;
  DWORD size = 0;
  LSTATUS status = RegQueryValueExW(key, name.c_str(), nullptr, &value.kind, nullptr, &size);
  // A value can grow between the two calls: ask again with the new size.
  for (int attempt = 0; status == ERROR_SUCCESS && attempt < 4; ++attempt) {
    value.bytes.resize(size);
    DWORD got = size;
    status = RegQueryValueExW(key, name.c_str(), nullptr, &value.kind,
                              reinterpret_cast<BYTE*>(value.bytes.data()), &got);
    if (status == ERROR_SUCCESS) {
      value.bytes.resize(got);
      return value;
    }
    if (status == ERROR_MORE_DATA) {
      size = got;
      status = ERROR_SUCCESS;
    }
  }
  return std::nullopt;
}

// The UTF-16 texts of stored bytes, split at the terminators; a missing last terminator is
// tolerated, as is an odd byte at the end.
std::vector<std::wstring> storedTexts(const std::string& bytes) {
  std::wstring all(bytes.size() / 2, L'\0');
  if (!all.empty())
    std::memcpy(all.data(), bytes.data(), all.size() * 2);
  std::vector<std::wstring> texts;
  std::size_t start = 0;
  while (start < all.size()) {
    const std::size_t end = all.find(L'\0', start);
    texts.push_back(all.substr(start, end == std::wstring::npos ? end : end - start));
    if (end == std::wstring::npos)
      break;
    start = end + 1;
  }
  return texts;
}

std::string firstText(const std::string& bytes) {
  const auto texts = storedTexts(bytes);
  return texts.empty() ? std::string() : narrow(texts.front());
}

// The value in the form of the 8-bit interface: a text with its terminator, a multi-string as
// its texts each with a terminator and one more, anything else as stored.
std::string interfaceBytes(const RawValue& value) {
  switch (value.kind) {
    case REG_SZ:
    case REG_EXPAND_SZ:
      return firstText(value.bytes) + '\0';
    case REG_MULTI_SZ: {
      std::string list;
      for (const auto& text : storedTexts(value.bytes)) {
        if (text.empty())
          break;
        list += narrow(text);
        list += '\0';
      }
      return list + '\0';
    }
    default:
      return value.bytes;
  }
}

bool deleteTree(HKEY parent, const std::wstring& name) {
  {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(parent, name.c_str(), 0, KEY_READ | DELETE, &opened) != ERROR_SUCCESS) {
      return false;
    }
    const OpenKey key(opened);
    wchar_t child[256];
    // Always the first subkey: each deletion moves the next one to the front.
    for (;;) {
      DWORD length = 256;
      const LSTATUS status =
          RegEnumKeyExW(key.get(), 0, child, &length, nullptr, nullptr, nullptr, nullptr);
      if (status == ERROR_NO_MORE_ITEMS)
        break;
      if (status != ERROR_SUCCESS || !deleteTree(key.get(), child))
        return false;
    }
  }
  return RegDeleteKeyW(parent, name.c_str()) == ERROR_SUCCESS;
}

}  // namespace

bool Win32Registry::keyExists(RegRoot root, const std::string& path) {
  return static_cast<bool>(OpenKey(root, path, KEY_READ));
}

bool Win32Registry::createKey(RegRoot root, const std::string& path) {
  HKEY created = nullptr;
  const REGSAM access = root == RegRoot::LocalMachine ? LocalMachineAccess : CurrentUserAccess;
  if (RegCreateKeyExW(rootKey(root), widen(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      access, nullptr, &created, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(created);
  return true;
}

std::optional<RegKind> Win32Registry::valueKind(RegRoot root, const std::string& path,
                                                const std::string& name) {
  const OpenKey key(root, path, KEY_QUERY_VALUE);
  DWORD kind = REG_NONE;
  if (!key || RegQueryValueExW(key.get(), widen(name).c_str(), nullptr, &kind, nullptr, nullptr) !=
                  ERROR_SUCCESS) {
    return std::nullopt;
  }
  return static_cast<RegKind>(kind);
}

std::optional<std::string> Win32Registry::readText(RegRoot root, const std::string& path,
                                                   const std::string& name) {
  const OpenKey key(root, path, KEY_QUERY_VALUE);
  if (!key)
    return std::nullopt;
  const auto value = queryValue(key.get(), widen(name));
  if (!value || (value->kind != REG_SZ && value->kind != REG_EXPAND_SZ))
    return std::nullopt;
  return firstText(value->bytes);
}

bool Win32Registry::writeText(RegRoot root, const std::string& path, const std::string& name,
                              const std::string& value) {
  const OpenKey key(root, path, KEY_SET_VALUE);
  if (!key)
    return false;
  const std::wstring wide = widen(value);
  const DWORD bytes = static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t));
  return RegSetValueExW(key.get(), widen(name).c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(wide.c_str()), bytes) == ERROR_SUCCESS;
}

std::optional<std::string> Win32Registry::readBytes(RegRoot root, const std::string& path,
                                                    const std::string& name, std::size_t maxBytes) {
  const OpenKey key(root, path, KEY_QUERY_VALUE);
  if (!key)
    return std::nullopt;
  const auto value = queryValue(key.get(), widen(name));
  if (!value)
    return std::nullopt;
  std::string bytes = interfaceBytes(*value);
  if (bytes.size() > maxBytes)
    return std::nullopt;
  return bytes;
}

std::vector<std::string> Win32Registry::subkeyNames(RegRoot root, const std::string& path) {
  std::vector<std::string> names;
  const OpenKey key(root, path, KEY_ENUMERATE_SUB_KEYS);
  if (!key)
    return names;
  wchar_t name[256];
  for (DWORD index = 0;; ++index) {
    DWORD length = 256;
    const LSTATUS status =
        RegEnumKeyExW(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS)
      break;
    if (status == ERROR_SUCCESS)
      names.push_back(narrow(std::wstring_view(name, length)));
  }
  return names;
}

std::vector<RegValue> Win32Registry::values(RegRoot root, const std::string& path) {
  std::vector<RegValue> values;
  const OpenKey key(root, path, KEY_QUERY_VALUE);
  if (!key)
    return values;
  // Value names are at most 16383 characters.
  std::wstring name(16384, L'\0');
  for (DWORD index = 0;; ++index) {
    DWORD length = static_cast<DWORD>(name.size());
    const LSTATUS status =
        RegEnumValueW(key.get(), index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS)
      break;
    if (status != ERROR_SUCCESS)
      continue;
    const std::wstring valueName(name.data(), length);
    if (const auto value = queryValue(key.get(), valueName)) {
      values.push_back(
          {narrow(valueName), static_cast<RegKind>(value->kind), interfaceBytes(*value)});
    }
  }
  return values;
}

bool Win32Registry::deleteKeyTree(RegRoot root, const std::string& path) {
  if (path.empty())
    return false;
  return deleteTree(rootKey(root), widen(path));
}

}  // namespace platform::win32
