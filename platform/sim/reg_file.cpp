// The reader of .reg files. The file is decoded and checked whole into a list of changes, which
// is applied only when every line is sound.
#include "platform/sim/reg_file.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "common/atomic_file.h"
#include "platform/sim/reg_file_text.h"

namespace platform::sim {

namespace {

constexpr std::string_view kHeader4 = "REGEDIT4";
constexpr std::string_view kHeader5 = "Windows Registry Editor Version 5.00";

struct ValueChange {
  RegValue value;
  bool remove = false;
};

struct KeyChange {
  std::string path;  // below the root; empty for the root itself
  bool remove = false;
  std::vector<ValueChange> values;
};

bool isSpace(char c) {
  return c == ' ' || c == '\t';
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && isSpace(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && isSpace(text.back()))
    text.remove_suffix(1);
  return text;
}

bool startsWithIgnoreCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && namesEqual(text.substr(0, prefix.size()), prefix);
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  return -1;
}

// A number of one to eight hex digits, or nothing.
std::optional<std::uint32_t> parseHex32(std::string_view digits) {
  if (digits.empty() || digits.size() > 8)
    return std::nullopt;
  std::uint32_t value = 0;
  for (const char c : digits) {
    const int digit = hexDigit(c);
    if (digit < 0)
      return std::nullopt;
    value = (value << 4) | static_cast<std::uint32_t>(digit);
  }
  return value;
}

// A short, printable quotation of file text for messages.
std::string quoted(std::string_view text) {
  constexpr std::size_t kShown = 40;
  std::string out = "\"";
  for (const char c : text.substr(0, kShown))
    out.push_back(static_cast<unsigned char>(c) < 0x20 ? '?' : c);
  if (text.size() > kShown)
    out += "...";
  return out + "\"";
}

int lineOfOffset(std::string_view text, std::size_t offset) {
  int line = 1;
  for (std::size_t i = 0; i < offset && i < text.size(); ++i)
    if (text[i] == '\n')
      ++line;
  return line;
}

// The file's text as UTF-8, from UTF-16LE with a byte-order mark or UTF-8 with or without one.
std::string decodeFile(std::string_view bytes, std::string_view source) {
  if (bytes.size() > kMaxRegFileBytes)
    throw RegFileError(std::string(source), 0, "the file is larger than 64 MiB");
  if (bytes.starts_with("\xFF\xFE")) {
    Utf16Decoded decoded = utf8FromUtf16le(bytes.substr(2));
    if (!decoded.valid)
      throw RegFileError(std::string(source), lineOfOffset(decoded.text, decoded.text.size()),
                         "invalid UTF-16 text");
    return std::move(decoded.text);
  }
  if (bytes.starts_with("\xFE\xFF"))
    throw RegFileError(std::string(source), 0, "UTF-16 big-endian files are not supported");
  if (bytes.starts_with("\xEF\xBB\xBF"))
    bytes.remove_prefix(3);
  return std::string(bytes);
}

class Parser {
 public:
  Parser(std::string_view text, std::string_view source, RegRoot root)
      : text_(text), source_(source), root_(root) {}

  RegFileFormat parse() {
    if (const std::size_t zero = text_.find('\0'); zero != std::string_view::npos) {
      lineNumber_ = lineOfOffset(text_, zero);
      fail("binary data: this is not a registry file");
    }
    if (text_.empty())
      fail("the file is empty");
    nextLine();
    const std::string_view header = trimmed(line_);
    if (header == kHeader4) {
      format_ = RegFileFormat::Regedit4;
    } else if (header == kHeader5) {
      format_ = RegFileFormat::Version5;
    } else {
      fail("not a registry file: the first line must be \"" + std::string(kHeader4) + "\" or \"" +
           std::string(kHeader5) + "\"");
    }
    while (nextLine()) {
      const std::string_view line = trimmed(line_);
      if (line.empty() || line.front() == ';')
        continue;
      if (line.front() == '[') {
        parseKeyLine(line);
      } else if (line.front() == '"' || line.front() == '@') {
        parseValueLine(line);
      } else {
        fail("expected a key in brackets or a value, found " + quoted(line));
      }
    }
    return format_;
  }

  const std::vector<KeyChange>& changes() const { return changes_; }

 private:
  [[noreturn]] void fail(const std::string& problem) const {
    throw RegFileError(std::string(source_), lineNumber_, problem);
  }

  bool nextLine() {
    if (position_ > text_.size())
      return false;
    const std::size_t end = std::min(text_.find('\n', position_), text_.size());
    line_ = text_.substr(position_, end - position_);
    if (!line_.empty() && line_.back() == '\r')
      line_.remove_suffix(1);
    position_ = end + 1;
    ++lineNumber_;
    return true;
  }

  void parseKeyLine(std::string_view line) {
    if (line.back() != ']')
      fail("a key line must end with ']': " + quoted(line));
    std::string_view path = line.substr(1, line.size() - 2);
    KeyChange change;
    change.remove = path.starts_with('-');
    if (change.remove)
      path.remove_prefix(1);

    const std::size_t rootEnd = path.find('\\');
    const std::string_view rootPart = path.substr(0, rootEnd);
    const bool full = namesEqual(rootPart, rootName(root_));
    const bool shortForm = namesEqual(rootPart, root_ == RegRoot::LocalMachine ? "HKLM" : "HKCU");
    if (!full && !shortForm)
      fail("the key " + quoted(path) + " is not under " + std::string(rootName(root_)));

    if (rootEnd != std::string_view::npos) {
      const std::string_view below = path.substr(rootEnd + 1);
      std::size_t depth = 0;
      std::size_t start = 0;
      while (start <= below.size()) {
        const std::size_t end = std::min(below.find('\\', start), below.size());
        const std::size_t length = end - start;
        if (length == 0)
          fail("empty key name in " + quoted(path));
        if (characterCount(below.substr(start, length)) > kMaxKeyNameLength)
          fail("a key name is longer than 255 characters");
        if (++depth > kMaxKeyDepth)
          fail("the key is nested deeper than 512 levels");
        start = end + 1;
      }
      change.path = std::string(below);
    }
    if (change.remove && change.path.empty())
      fail("the root key cannot be deleted");
    changes_.push_back(std::move(change));
    inKey_ = !changes_.back().remove;
  }

  // A quoted text starting at line[pos] (the opening quote); `pos` ends after the closing quote.
  std::string parseQuoted(std::string_view line, std::size_t& pos) const {
    std::string text;
    for (++pos; pos < line.size(); ++pos) {
      const char c = line[pos];
      if (c == '"') {
        ++pos;
        return text;
      }
      if (c == '\\') {
        const char next = pos + 1 < line.size() ? line[pos + 1] : '\0';
        if (next != '\\' && next != '"')
          fail("a backslash in a quoted text must be written \\\\ (or \\\" for a quote)");
        ++pos;
        text.push_back(next);
      } else {
        text.push_back(c);
      }
    }
    fail("the quoted text has no closing '\"'");
  }

  void parseValueLine(std::string_view line) {
    if (!inKey_)
      fail("a value outside any key");
    ValueChange change;
    std::size_t pos = 1;
    if (line.front() == '"') {
      pos = 0;
      change.value.name = parseQuoted(line, pos);
    }
    while (pos < line.size() && isSpace(line[pos]))
      ++pos;
    if (pos >= line.size() || line[pos] != '=')
      fail("expected '=' after the value name");
    const std::string_view data = trimmed(line.substr(pos + 1));

    if (data == "-") {
      change.remove = true;
    } else if (data.starts_with('"')) {
      std::size_t end = 0;
      const std::string text = parseQuoted(data, end);
      if (!trimmed(data.substr(end)).empty())
        fail("unexpected text after the quoted value: " + quoted(data.substr(end)));
      change.value.kind = RegKind::String;
      change.value.data = stringData(text);
    } else if (startsWithIgnoreCase(data, "dword:")) {
      const std::optional<std::uint32_t> number = parseHex32(data.substr(6));
      if (!number)
        fail("a dword needs one to eight hex digits: " + quoted(data));
      change.value.kind = RegKind::Dword;
      change.value.data = dwordData(*number);
    } else if (startsWithIgnoreCase(data, "hex:")) {
      change.value.kind = RegKind::Binary;
      change.value.data = parseHexBytes(data.substr(4));
    } else if (startsWithIgnoreCase(data, "hex(")) {
      const std::size_t close = data.find("):");
      const std::optional<std::uint32_t> kind =
          close == std::string_view::npos ? std::nullopt : parseHex32(data.substr(4, close - 4));
      if (!kind)
        fail("bad value kind in " + quoted(data) + "; expected hex(<kind>):");
      const int firstLine = lineNumber_;
      change.value.kind = static_cast<RegKind>(*kind);
      change.value.data = parseHexBytes(data.substr(close + 2));
      if (format_ == RegFileFormat::Version5 && isTextKind(change.value.kind)) {
        Utf16Decoded decoded = utf8FromUtf16le(change.value.data);
        if (!decoded.valid) {
          lineNumber_ = firstLine;
          fail("the text of the value is not valid UTF-16");
        }
        change.value.data = std::move(decoded.text);
      }
    } else {
      fail("bad value data " + quoted(data) +
           "; expected a quoted text, dword:, hex:, hex(<kind>): or -");
    }
    changes_.back().values.push_back(std::move(change));
  }

  static bool isTextKind(RegKind kind) {
    return kind == RegKind::String || kind == RegKind::ExpandString || kind == RegKind::MultiString;
  }

  // Comma-separated two-digit hex bytes; a line ending with a backslash continues on the next.
  std::string parseHexBytes(std::string_view segment) {
    std::string bytes;
    for (;;) {
      segment = trimmed(segment);
      const bool continues = segment.ends_with('\\');
      if (continues)
        segment = trimmed(segment.substr(0, segment.size() - 1));
      std::size_t start = 0;
      while (start < segment.size()) {
        const std::size_t comma = std::min(segment.find(',', start), segment.size());
        const std::string_view token = trimmed(segment.substr(start, comma - start));
        const int high = token.size() == 2 ? hexDigit(token[0]) : -1;
        const int low = token.size() == 2 ? hexDigit(token[1]) : -1;
        if (high < 0 || low < 0)
          fail("bad hex byte " + quoted(token));
        bytes.push_back(static_cast<char>(high * 16 + low));
        start = comma + 1;
      }
      if (!continues)
        return bytes;
      if (!nextLine())
        fail("the value continues past the end of the file");
      segment = line_;
    }
  }

  std::string_view text_;
  std::string_view source_;
  RegRoot root_;
  RegFileFormat format_ = RegFileFormat::Regedit4;
  std::size_t position_ = 0;
  std::string_view line_;
  int lineNumber_ = 0;
  bool inKey_ = false;
  std::vector<KeyChange> changes_;
};

void apply(const std::vector<KeyChange>& changes, RegistryKey& hive) {
  for (const KeyChange& change : changes) {
    if (change.remove) {
      const std::size_t split = change.path.rfind('\\');
      RegistryKey* parent =
          split == std::string::npos ? &hive : hive.find(change.path.substr(0, split));
      if (parent)
        parent->removeChild(change.path.substr(split + 1));
      continue;
    }
    RegistryKey& key = hive.create(change.path);
    for (const ValueChange& value : change.values) {
      if (value.remove)
        key.removeValue(value.value.name);
      else
        key.setValue(value.value);
    }
  }
}

}  // namespace

RegFileError::RegFileError(const std::string& source, int line, const std::string& problem)
    : std::runtime_error(source + (line > 0 ? ", line " + std::to_string(line) : "") + ": " +
                         problem),
      line_(line) {}

std::string_view rootName(RegRoot root) {
  return root == RegRoot::LocalMachine ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER";
}

RegFileFormat importRegFile(std::string_view bytes, std::string_view source, RegRoot root,
                            RegistryKey& hive) {
  const std::string text = decodeFile(bytes, source);
  Parser parser(text, source, root);
  const RegFileFormat format = parser.parse();
  apply(parser.changes(), hive);
  return format;
}

RegFileFormat importRegFile(const std::filesystem::path& file, RegRoot root, RegistryKey& hive) {
  const std::string source = file.string();
  std::string bytes;
  try {
    bytes = common::readFile(file, kMaxRegFileBytes);
  } catch (const common::FileError& error) {
    using Kind = common::FileError::Kind;
    switch (error.kind()) {
      case Kind::Missing:
        throw RegFileError(source, 0, "the file does not exist");
      case Kind::NotRegularFile:
        throw RegFileError(source, 0, "this is not a regular file");
      case Kind::TooLarge:
        throw RegFileError(source, 0, "the file is larger than 64 MiB");
      default:
        throw RegFileError(source, 0, "the file cannot be read");
    }
  }
  return importRegFile(bytes, source, root, hive);
}

}  // namespace platform::sim
