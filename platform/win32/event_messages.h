// Texts of event records from the message files their sources name in the registry, under
// SYSTEM\CurrentControlSet\Services\EventLog\<log>\<source>.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform::win32 {

// The message `id` of the files named by the source's value `fileValue` ("EventMessageFile",
// "CategoryMessageFile"; several files separated by ';', environment variables expanded), with
// the insertion strings put in for %1, %2 ... ; an insert beyond the given strings stays as it is
// written. Nothing when the source names no file that has the message.
std::optional<std::string> sourceMessage(const std::string& logName, const std::string& source,
                                         const std::string& fileValue, std::uint32_t id,
                                         const std::vector<std::string>& strings);

// The record's full description: the source's message, or a text naming the identifier and the
// source followed by the insertion strings, each after a line break.
std::string eventDescription(const std::string& logName, const std::string& source,
                             std::uint32_t eventId, const std::vector<std::string>& strings);

// "None" for category 0, otherwise the source's category message without its line break, or the
// number in parentheses when the source has none.
std::string categoryName(const std::string& logName, const std::string& source,
                         std::uint16_t category);

}  // namespace platform::win32
