// UTF-8 inside the program, UTF-16 at the Windows API.
#pragma once

#include <string>
#include <string_view>

namespace platform::win32 {

std::wstring widen(std::string_view text);
std::string narrow(std::wstring_view text);

// A UTF-16 text of at most `maxChars` characters that may lack its terminator.
std::string narrowBounded(const wchar_t* text, std::size_t maxChars);

// The system's text for an error number in the default language, ending in "\r\n"; empty when
// the system has none.
std::string systemMessage(unsigned long code);

}  // namespace platform::win32
