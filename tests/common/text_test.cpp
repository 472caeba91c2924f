#include "common/text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

TEST(Text, CaseRulesChangeOnlyAsciiLetters) {
  EXPECT_EQ(common::toLowerAscii("StartupType AZ@[`{\xc4\xe4"), "startuptype az@[`{\xc4\xe4");
  EXPECT_TRUE(common::equalsIgnoreCase("RpcSs", "RPCSS"));
  EXPECT_FALSE(common::equalsIgnoreCase("RpcSs", "RpcS"));
  EXPECT_FALSE(common::equalsIgnoreCase("\xc4", "\xe4"));
  EXPECT_FALSE(common::equalsIgnoreCase("@", "`"));
}

TEST(Text, TrimStripsBlanksAndControlCharactersOnly) {
  EXPECT_EQ(common::trim(" \t\r\n\x01\x7f a b \0\x1f"s), "a b");
  EXPECT_EQ(common::trim("\xa0x\xa0"), "\xa0x\xa0");  // 8-bit bytes are text
  EXPECT_EQ(common::trim(" \t "), "");
  EXPECT_EQ(common::trim(""), "");
}

TEST(Text, SplitKeepsEmptyPieces) {
  using Pieces = std::vector<std::string_view>;
  EXPECT_EQ(common::split("stop,pause", ','), (Pieces{"stop", "pause"}));
  EXPECT_EQ(common::split(",a,,", ','), (Pieces{"", "a", "", ""}));
  EXPECT_EQ(common::split("", ','), (Pieces{""}));
}

TEST(Text, ParseDecimalAcceptsOnlyWholeNumbers) {
  const std::vector<std::pair<std::string, std::optional<std::int64_t>>> cases = {
      {"0", 0},
      {"412", 412},
      {"-5", -5},
      {"+7", 7},
      {"007", 7},
      {"9223372036854775807", INT64_MAX},
      {"-9223372036854775808", INT64_MIN},
      {"9223372036854775808", std::nullopt},
      {"99999999999999999999999", std::nullopt},
      {"", std::nullopt},
      {"-", std::nullopt},
      {" 1", std::nullopt},
      {"1 ", std::nullopt},
      {"12a", std::nullopt},
      {"1.5", std::nullopt},
      {"$10", std::nullopt},
      {"0x10", std::nullopt},
      {"1\0"s, std::nullopt},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(common::parseDecimal(text), expected) << '"' << text << '"';
  }
}

TEST(Text, ParseIntegerTakesDecimalOrHexadecimal) {
  const std::vector<std::pair<std::string, std::optional<std::int32_t>>> cases = {
      {"30", 30},
      {"-1", -1},
      {"$1F", 31},
      {"$ff", 255},
      {"0x10", 16},
      {"0X10", 16},
      {"-$10", -16},
      {"2147483647", INT32_MAX},
      {"-2147483648", INT32_MIN},
      {"2147483648", std::nullopt},
      {"$80000000", std::nullopt},
      {"$", std::nullopt},
      {"0x", std::nullopt},
      {"$G", std::nullopt},
      {"1e3", std::nullopt},
      {"true", std::nullopt},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(common::parseInteger(text), expected) << '"' << text << '"';
  }
}

}  // namespace
