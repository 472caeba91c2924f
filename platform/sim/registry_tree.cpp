#include "platform/sim/registry_tree.h"

#include <algorithm>

namespace platform::sim {

namespace {

char lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
unsigned char upper(char c) {
  return static_cast<unsigned char>((c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c);
}

// Splits off the first part of a backslash path; empty parts (doubled or edge separators) are
// skipped.
std::string_view firstPart(std::string_view& path) {
  while (!path.empty() && path.front() == '\\')
    path.remove_prefix(1);
  const std::size_t end = path.find('\\');
  const std::string_view part = path.substr(0, end);
  path.remove_prefix(end == std::string_view::npos ? path.size() : end);
  return part;
}

}  // namespace

bool namesEqual(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return lower(x) == lower(y); });
}

bool namesLess(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return upper(x) < upper(y); });
}

std::size_t RegistryKey::NameHash::operator()(std::string_view name) const {
  std::size_t hash = 14695981039346656037ull;
  for (const char c : name)
    hash = (hash ^ static_cast<unsigned char>(lower(c))) * 1099511628211ull;
  return hash;
}

bool RegistryKey::NameEqual::operator()(std::string_view a, std::string_view b) const {
  return namesEqual(a, b);
}

RegistryKey* RegistryKey::child(std::string_view name) const {
  const auto found = childIndex_.find(name);
  return found == childIndex_.end() ? nullptr : found->second;
}

RegistryKey* RegistryKey::find(std::string_view path) {
  RegistryKey* key = this;
  for (std::string_view part = firstPart(path); !part.empty() && key; part = firstPart(path))
    key = key->child(part);
  return key;
}

const RegistryKey* RegistryKey::find(std::string_view path) const {
  return const_cast<RegistryKey*>(this)->find(path);
}

RegistryKey& RegistryKey::create(std::string_view path) {
  RegistryKey* key = this;
  for (std::string_view part = firstPart(path); !part.empty(); part = firstPart(path)) {
    RegistryKey* next = key->child(part);
    if (!next) {
      key->children_.push_back(std::make_unique<RegistryKey>(std::string(part)));
      next = key->children_.back().get();
      key->childIndex_.emplace(next->name(), next);
    }
    key = next;
  }
  return *key;
}

bool RegistryKey::removeChild(std::string_view name) {
  const auto found = std::find_if(children_.begin(), children_.end(),
                                  [&](const auto& key) { return namesEqual(key->name(), name); });
  if (found == children_.end())
    return false;
  childIndex_.erase((*found)->name());
  children_.erase(found);
  return true;
}

const RegValue* RegistryKey::value(std::string_view name) const {
  for (const RegValue& value : values_)
    if (namesEqual(value.name, name))
      return &value;
  return nullptr;
}

void RegistryKey::setValue(RegValue value) {
  for (RegValue& existing : values_) {
    if (namesEqual(existing.name, value.name)) {
      existing = std::move(value);
      return;
    }
  }
  values_.push_back(std::move(value));
}

bool RegistryKey::removeValue(std::string_view name) {
  const auto found = std::find_if(values_.begin(), values_.end(), [&](const RegValue& value) {
    return namesEqual(value.name, name);
  });
  if (found == values_.end())
    return false;
  values_.erase(found);
  return true;
}

std::string stringData(std::string_view text) {
  std::string data(text);
  data.push_back('\0');
  return data;
}

std::string multiStringData(const std::vector<std::string>& texts) {
  std::string data;
  for (const std::string& text : texts) {
    data += text;
    data.push_back('\0');
  }
  data.push_back('\0');
  return data;
}

std::string dwordData(std::uint32_t value) {
  std::string data(4, '\0');
  for (int i = 0; i < 4; ++i)
    data[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  return data;
}

std::string textOfData(std::string_view data) {
  const std::size_t end = data.find('\0');
  return std::string(data.substr(0, end));
}

std::vector<std::string> textsOfMultiString(std::string_view data) {
  std::vector<std::string> texts;
  while (!data.empty()) {
    const std::size_t end = data.find('\0');
    const std::string_view text = data.substr(0, end);
    if (text.empty())
      break;
    texts.emplace_back(text);
    data.remove_prefix(end == std::string_view::npos ? data.size() : end + 1);
  }
  return texts;
}

std::uint32_t dwordOfData(std::string_view data) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4 && i < data.size(); ++i)
    value |= static_cast<std::uint32_t>(static_cast<unsigned char>(data[i])) << (8 * i);
  return value;
}

}  // namespace platform::sim
