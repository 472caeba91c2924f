#include "platform/win32/wide_text.h"

#include <windows.h>

#include <climits>

namespace platform::win32 {

std::wstring widen(std::string_view text) {
  if (text.empty() || text.size() > INT_MAX)
    return {};
  const int size = static_cast<int>(text.size());
  const int chars = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(chars), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), chars);
  return wide;
}

std::string narrow(std::wstring_view text) {
  if (text.empty() || text.size() > INT_MAX)
    return {};
  const int size = static_cast<int>(text.size());
  const int bytes =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), size, utf8.data(), bytes, nullptr, nullptr);
  return utf8;
}

std::string narrowBounded(const wchar_t* text, std::size_t maxChars) {
  if (text == nullptr)
    return {};
  std::size_t length = 0;
  while (length < maxChars && text[length] != L'\0')
    ++length;
  return narrow(std::wstring_view(text, length));
}

std::string systemMessage(unsigned long code) {
  wchar_t* text = nullptr;
  const DWORD chars = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string message = chars > 0 ? narrow(std::wstring_view(text, chars)) : std::string();
  LocalFree(text);
  return message;
}

}  // namespace platform::win32
