// A page as the command line, the Home button and the address field give it: a file path,
// optionally followed by "#" and an anchor, or an address such as "about:blank".
#pragma once

#include <string>

namespace lorvin {

struct Page {
  bool isFile = false;
  std::string file;     // the file's path, for a file
  std::string anchor;   // after "#", for a file; may be empty
  std::string address;  // the whole text, for anything that is no file path
  bool operator==(const Page&) const = default;
};

// An address starts with a scheme of two or more characters and ":" ("about:", "file:",
// "http:"); a single letter before ":" is a drive. In a file path the last "#" after the last
// separator starts the anchor, unless the whole text names an existing file.
Page ParsePage(const std::string& text);

}  // namespace lorvin
