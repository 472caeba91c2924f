// The colours of the console's lines: one colour per line, chosen by how the line begins (or, for
// "done.", ends), and the service names in it repainted white.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "corvane/catalogue/catalogue.h"

namespace corvane {

enum class ConsoleColour { Aqua, Yellow, White, MoneyGreen, Lime, Orange, Red, SkyBlue, Silver };

// 0xRRGGBB.
std::uint32_t consoleColourRgb(ConsoleColour colour);

// The colour of the first rule that matches the line; silver when none does.
ConsoleColour consoleLineColour(std::string_view line);

struct ConsoleSpan {
  std::size_t start = 0;  // bytes from the start of the line
  std::size_t length = 0;
  bool operator==(const ConsoleSpan&) const = default;
};

// The pieces of the line to repaint white: for each catalogue record in order, the first
// occurrence of its display name and then of its key name (exact search; empty names match
// nothing).
std::vector<ConsoleSpan> consoleNameSpans(std::string_view line, const Catalogue& catalogue);

}  // namespace corvane
