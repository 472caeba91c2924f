#include "common/ini_document.h"

#include "common/atomic_file.h"
#include "common/text.h"

namespace common {

namespace {

std::string describeFile(const std::filesystem::path& path) {
  return path.empty() ? std::string("the INI document") : "the INI file \"" + pathText(path) + "\"";
}

bool hasLineBreak(std::string_view text) {
  return text.find_first_of("\r\n") != text.npos;
}

bool isSectionHeader(std::string_view line) {
  return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

// Why "key=value" would not read back as that key line, or nothing when it would.
const char* unwritableReason(std::string_view key, std::string_view value) {
  if (hasLineBreak(key) || hasLineBreak(value)) {
    return "contains a line break";
  }
  if (key.find('=') != key.npos) {
    return "has \"=\" in its key name";
  }
  const std::string line = std::string(key) + "=" + std::string(value);
  const std::string_view trimmed = trim(line);
  if (trimmed.front() == ';') {
    return "would read as a comment";
  }
  if (isSectionHeader(trimmed)) {
    return "would read as a section header";
  }
  return nullptr;
}

}  // namespace

IniError::IniError(const std::filesystem::path& path, const std::string& message)
    : std::runtime_error(message), path_(path) {}

std::size_t IniDocument::NameHash::operator()(std::string_view name) const {
  std::uint64_t hash = 14695981039346656037ull;
  for (char c : name) {
    hash = (hash ^ static_cast<unsigned char>(toLowerAscii(c))) * 1099511628211ull;
  }
  return static_cast<std::size_t>(hash);
}

bool IniDocument::NameEqual::operator()(std::string_view a, std::string_view b) const {
  return equalsIgnoreCase(a, b);
}

IniDocument IniDocument::open(const std::filesystem::path& path) {
  std::string bytes;
  try {
    bytes = readFile(path, kMaxFileBytes);
  } catch (const FileError& error) {
    if (error.kind() != FileError::Kind::Missing) {
      throw IniError(path, error.what());
    }
  }
  IniDocument document = parse(bytes);
  document.path_ = path;
  return document;
}

IniDocument IniDocument::parse(std::string_view text) {
  IniDocument document;
  Section* current = nullptr;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = start;
    while (end < text.size() && text[end] != '\n' && text[end] != '\r') {
      ++end;
    }
    const std::string_view line = trim(text.substr(start, end - start));
    start = end + 1;
    if (line.empty() || line.front() == ';') {
      continue;
    }
    if (isSectionHeader(line)) {
      Section section;
      section.name = trim(line.substr(1, line.size() - 2));
      document.sectionIndex_.insert_or_assign(section.name, document.sections_.size());
      document.sections_.push_back(std::move(section));
      current = &document.sections_.back();
      continue;
    }
    if (current == nullptr) {
      continue;
    }
    const std::size_t equals = line.find('=');
    if (equals == line.npos) {
      document.addLine(*current, Line{false, {}, std::string(line)});
    } else {
      document.addLine(*current, Line{true, std::string(trim(line.substr(0, equals))),
                                      std::string(trim(line.substr(equals + 1)))});
    }
  }
  return document;
}

void IniDocument::modifyFile(const std::filesystem::path& path,
                             const std::function<void(IniDocument&)>& change) {
  IniDocument document = open(path);
  change(document);
  document.update();
}

const IniDocument::Section* IniDocument::findSection(std::string_view name) const {
  const auto found = sectionIndex_.find(name);
  return found == sectionIndex_.end() ? nullptr : &sections_[found->second];
}

std::size_t IniDocument::findKey(const Section& section, std::string_view key) {
  if (section.keyCount > kKeysWithoutIndex) {
    const auto found = section.keys.find(key);
    return found == section.keys.end() ? std::string::npos : found->second;
  }
  for (std::size_t i = section.lines.size(); i-- > 0;) {
    const Line& line = section.lines[i];
    if (line.isKey && equalsIgnoreCase(line.key, key)) {
      return i;
    }
  }
  return std::string::npos;
}

std::string IniDocument::readString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue) const {
  const Section* found = findSection(section);
  const std::size_t line = found == nullptr ? std::string::npos : findKey(*found, key);
  return line == std::string::npos ? std::string(defaultValue) : found->lines[line].text;
}

void IniDocument::writeString(std::string_view section, std::string_view key,
                              std::string_view value) {
  if (hasLineBreak(section)) {
    throw IniError(path_, "The section name \"" + std::string(section) +
                              "\" cannot be written to " + describeFile(path_) +
                              ": it contains a line break");
  }
  if (const char* reason = unwritableReason(key, value)) {
    throw IniError(path_, "The key \"" + std::string(key) + "\" of section \"" +
                              std::string(section) + "\" cannot be written to " +
                              describeFile(path_) + ": it " + reason);
  }
  Section& target = sectionForWriting(section);
  const std::size_t line = findKey(target, key);
  if (line != std::string::npos) {
    target.lines[line].text = value;
  } else {
    addLine(target, Line{true, std::string(key), std::string(value)});
  }
}

IniDocument::Section& IniDocument::sectionForWriting(std::string_view name) {
  const auto found = sectionIndex_.find(name);
  if (found != sectionIndex_.end()) {
    return sections_[found->second];
  }
  Section section;
  section.name = name;
  sectionIndex_.emplace(section.name, sections_.size());
  sections_.push_back(std::move(section));
  return sections_.back();
}

void IniDocument::addLine(Section& section, Line line) {
  section.lines.push_back(std::move(line));
  if (!section.lines.back().isKey) {
    return;
  }
  ++section.keyCount;
  if (section.keyCount == kKeysWithoutIndex + 1) {
    for (std::size_t i = 0; i < section.lines.size(); ++i) {
      if (section.lines[i].isKey) {
        section.keys.insert_or_assign(section.lines[i].key, i);
      }
    }
  } else if (section.keyCount > kKeysWithoutIndex + 1) {
    section.keys.insert_or_assign(section.lines.back().key, section.lines.size() - 1);
  }
}

std::vector<std::string> IniDocument::sectionNames() const {
  std::vector<std::string> names;
  names.reserve(sections_.size());
  for (const Section& section : sections_) {
    names.push_back(section.name);
  }
  return names;
}

std::vector<std::string> IniDocument::keyNames(std::string_view section) const {
  std::vector<std::string> names;
  if (const Section* found = findSection(section)) {
    for (const Line& line : found->lines) {
      if (line.isKey) {
        names.push_back(line.key);
      }
    }
  }
  return names;
}

std::vector<std::string> IniDocument::sectionLines(std::string_view section) const {
  std::vector<std::string> lines;
  if (const Section* found = findSection(section)) {
    for (const Line& line : found->lines) {
      lines.push_back(line.isKey ? line.key + "=" + line.text : line.text);
    }
  }
  return lines;
}

bool IniDocument::sectionExists(std::string_view section) const {
  return findSection(section) != nullptr;
}

bool IniDocument::valueExists(std::string_view section, std::string_view key) const {
  const Section* found = findSection(section);
  return found != nullptr && findKey(*found, key) != std::string::npos;
}

void IniDocument::eraseSection(std::string_view section) {
  if (!sectionExists(section)) {
    return;
  }
  std::erase_if(sections_, [&](const Section& s) { return equalsIgnoreCase(s.name, section); });
  rebuildSectionIndex();
}

void IniDocument::eraseSections() {
  sections_.clear();
  sectionIndex_.clear();
}

void IniDocument::rebuildSectionIndex() {
  sectionIndex_.clear();
  for (std::size_t i = 0; i < sections_.size(); ++i) {
    sectionIndex_.insert_or_assign(sections_[i].name, i);
  }
}

std::string IniDocument::serialize() const {
  std::size_t size = 0;
  for (const Section& section : sections_) {
    size += section.name.size() + 6;
    for (const Line& line : section.lines) {
      size += line.key.size() + line.text.size() + 3;
    }
  }
  std::string out;
  out.reserve(size);
  for (const Section& section : sections_) {
    out += '[';
    out += section.name;
    out += "]\r\n";
    for (const Line& line : section.lines) {
      if (line.isKey) {
        out += line.key;
        out += '=';
      }
      out += line.text;
      out += "\r\n";
    }
    out += "\r\n";
  }
  return out;
}

void IniDocument::update() const {
  if (path_.empty()) {
    throw IniError(path_, "The INI document cannot be written: it belongs to no file");
  }
  try {
    writeFileAtomically(path_, serialize());
  } catch (const FileError& error) {
    throw IniError(path_, error.what());
  }
}

}  // namespace common
