// The names of the platform's group order list, from the raw bytes of its multi-string value.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// The bytes are read as if they were the start of a zero-filled buffer of `bufferBytes`: zero
// bytes before the first name are skipped, each name runs to its terminator (or the buffer's
// end), and the first empty name after a name ends the list.
std::vector<std::string> GroupOrderNames(std::string_view bytes, std::size_t bufferBytes);

}  // namespace corvane
