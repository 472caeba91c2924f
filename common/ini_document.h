// An INI file held in memory: read whole, looked up and changed in memory, written whole.
//
// Reading: every line is stripped of blanks and control characters at both ends; empty lines and
// lines starting with ";" are skipped; "[name]" starts a section; lines before the first section
// are ignored; a line with "=" is a key line (name before the first "=", value after it, both
// stripped), any other line stays in its section as a plain line. Section and key names compare
// without regard to ASCII letter case, and a lookup finds the last occurrence of a name.
//
// Writing: "[name]", then the section's lines ("key=value" or the plain text), then an empty
// line, for every section; every line ends with CR LF. Texts are 8-bit bytes, kept as they are.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace common {

// A file that cannot be read or written as an INI document, or a text that cannot be stored in
// one; the message names the file.
class IniError : public std::runtime_error {
 public:
  IniError(const std::filesystem::path& path, const std::string& message);
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

class IniDocument {
 public:
  // The largest file open() reads.
  static constexpr std::uintmax_t kMaxFileBytes = 256u * 1024 * 1024;

  // An empty document that belongs to no file.
  IniDocument() = default;

  // The file's document; a file that does not exist gives an empty document. Throws IniError
  // when the path is a folder, the file cannot be read or is larger than kMaxFileBytes.
  static IniDocument open(const std::filesystem::path& path);

  // The document of an INI text; it belongs to no file. Never fails.
  static IniDocument parse(std::string_view text);

  // Read-modify-write: opens the file as it is on disk now, lets change edit the document and
  // writes it back whole. Throws IniError as open() and update() do.
  static void modifyFile(const std::filesystem::path& path,
                         const std::function<void(IniDocument&)>& change);

  const std::filesystem::path& path() const { return path_; }

  // The value of the key in the section, or defaultValue when either is missing.
  std::string readString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;

  // Sets the key's value: in place when the key exists, else at the end of its section, which is
  // added at the end of the document when missing. Throws IniError, leaving the document as it
  // was, for a text that would read back as something else (a line break anywhere, "=" in the
  // key, a key line that would read as a comment or a section header).
  void writeString(std::string_view section, std::string_view key, std::string_view value);

  // Every section's name in document order; a repeated section is listed each time.
  std::vector<std::string> sectionNames() const;
  // The key names of the section in its order, and all its lines as they are written; empty
  // for a missing section.
  std::vector<std::string> keyNames(std::string_view section) const;
  std::vector<std::string> sectionLines(std::string_view section) const;

  bool sectionExists(std::string_view section) const;
  bool valueExists(std::string_view section, std::string_view key) const;

  // Removes every occurrence of the section.
  void eraseSection(std::string_view section);
  // Removes all sections.
  void eraseSections();

  // The document as the file holds it.
  std::string serialize() const;

  // Writes the whole document to its file in one piece (temporary file, then rename). Throws
  // IniError when the document belongs to no file or the file cannot be written; the file on
  // disk is then as it was.
  void update() const;

 private:
  struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const;
  };
  struct NameEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
  };
  // A name of the document mapped to the position of its last occurrence.
  using NameIndex = std::unordered_map<std::string, std::size_t, NameHash, NameEqual>;

  struct Line {
    bool isKey = false;
    std::string key;
    std::string text;  // the value of a key line, the whole text of a plain line
  };
  struct Section {
    std::string name;
    std::vector<Line> lines;
    std::size_t keyCount = 0;
    // Small sections are searched from their end; larger ones get an index of their keys.
    NameIndex keys;
  };
  static constexpr std::size_t kKeysWithoutIndex = 12;

  const Section* findSection(std::string_view name) const;
  // The position of the key's last line in the section, or npos.
  static std::size_t findKey(const Section& section, std::string_view key);
  Section& sectionForWriting(std::string_view name);
  void addLine(Section& section, Line line);
  void rebuildSectionIndex();

  std::filesystem::path path_;
  std::vector<Section> sections_;
  NameIndex sectionIndex_;
};

}  // namespace common
