// The writer of .reg files, in the registry editor's own layout.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "platform/sim/reg_file.h"
#include "platform/sim/reg_file_text.h"

namespace platform::sim {

namespace {

// Hex lines are broken once they reach this many characters, so none is longer than 80 with
// its backslash.
constexpr std::size_t kHexLineBreak = 77;

std::string quotedText(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '\\' || c == '"')
      out.push_back('\\');
    out.push_back(c);
  }
  return out + "\"";
}

// A string the quoted form keeps exactly: one terminating zero, no other zero, no line break.
bool isPlainString(std::string_view data) {
  if (data.empty() || data.back() != '\0')
    return false;
  data.remove_suffix(1);
  return data.find_first_of(std::string_view("\0\r\n", 3)) == std::string_view::npos;
}

class Writer {
 public:
  explicit Writer(RegFileFormat format) : format_(format) {
    out_ = format == RegFileFormat::Regedit4 ? "REGEDIT4\r\n\r\n"
                                             : "Windows Registry Editor Version 5.00\r\n\r\n";
  }

  void writeKey(const RegistryKey& key, const std::string& path) {
    out_ += "[" + path + "]\r\n";
    for (const RegValue& value : key.values())
      writeValue(value);
    out_ += "\r\n";

    std::vector<const RegistryKey*> children;
    for (const auto& child : key.children())
      children.push_back(child.get());
    std::stable_sort(
        children.begin(), children.end(),
        [](const RegistryKey* a, const RegistryKey* b) { return namesLess(a->name(), b->name()); });
    for (const RegistryKey* child : children)
      writeKey(*child, path + "\\" + child->name());
  }

  std::string finish() {
    if (format_ == RegFileFormat::Regedit4)
      return std::move(out_);
    return "\xFF\xFE" + utf16leFromUtf8(out_);
  }

 private:
  void writeValue(const RegValue& value) {
    const std::string head = (value.name.empty() ? "@" : quotedText(value.name)) + "=";
    const std::string_view data = value.data;
    if (value.kind == RegKind::String && isPlainString(data)) {
      out_ += head + quotedText(data.substr(0, data.size() - 1)) + "\r\n";
    } else if (value.kind == RegKind::Dword && data.size() == 4) {
      char number[16];
      std::snprintf(number, sizeof number, "dword:%08x", dwordOfData(data));
      out_ += head + number + "\r\n";
    } else if (value.kind == RegKind::Binary) {
      writeHex(head + "hex:", data);
    } else {
      char kind[24];
      std::snprintf(kind, sizeof kind, "hex(%x):", static_cast<unsigned>(value.kind));
      const bool wide = format_ == RegFileFormat::Version5 &&
                        (value.kind == RegKind::String || value.kind == RegKind::ExpandString ||
                         value.kind == RegKind::MultiString);
      writeHex(head + kind, wide ? utf16leFromUtf8(data) : std::string(data));
    }
  }

  void writeHex(const std::string& head, std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    out_ += head;
    std::size_t lineLength = characterCount(head);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      const auto byte = static_cast<unsigned char>(bytes[i]);
      out_.push_back(kDigits[byte >> 4]);
      out_.push_back(kDigits[byte & 0xF]);
      if (i + 1 == bytes.size())
        break;
      out_.push_back(',');
      lineLength += 3;
      if (lineLength >= kHexLineBreak) {
        out_ += "\\\r\n  ";
        lineLength = 2;
      }
    }
    out_ += "\r\n";
  }

  RegFileFormat format_;
  std::string out_;
};

}  // namespace

std::string exportRegFile(const RegistryKey& key, std::string_view keyPath, RegFileFormat format) {
  Writer writer(format);
  writer.writeKey(key, std::string(keyPath));
  return writer.finish();
}

}  // namespace platform::sim
