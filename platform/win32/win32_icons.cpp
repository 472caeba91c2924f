#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_system.h"

namespace platform::win32 {

namespace {

// The icon drawn into a 32-bit top-down bitmap; icons without an alpha channel take it from
// their mask.
std::optional<IconImage> render(HICON icon) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info))
    return std::nullopt;
  BITMAP colour{};
  std::optional<IconImage> image;
  if (info.hbmColor != nullptr && GetObjectW(info.hbmColor, sizeof(colour), &colour) != 0 &&
      colour.bmWidth > 0 && colour.bmHeight > 0) {
    IconImage pixels;
    pixels.width = colour.bmWidth;
    pixels.height = colour.bmHeight;
    const std::size_t count = static_cast<std::size_t>(pixels.width) * pixels.height;
    pixels.pixels.resize(count);
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = pixels.width;
    format.bmiHeader.biHeight = -pixels.height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    const HDC screen = GetDC(nullptr);
    std::vector<std::uint32_t> mask(count);
    const bool drawn = GetDIBits(screen, info.hbmColor, 0, pixels.height, pixels.pixels.data(),
                                 &format, DIB_RGB_COLORS) == pixels.height;
    const bool masked =
        info.hbmMask != nullptr && GetDIBits(screen, info.hbmMask, 0, pixels.height, mask.data(),
                                             &format, DIB_RGB_COLORS) == pixels.height;
    ReleaseDC(nullptr, screen);
    if (drawn) {
      bool hasAlpha = false;
      for (const auto pixel : pixels.pixels)
        hasAlpha = hasAlpha || (pixel >> 24) != 0;
      if (!hasAlpha) {
        // A set mask bit (drawn white in the mask bitmap) is a transparent pixel.
        for (std::size_t i = 0; i < count; ++i) {
          const bool transparent = masked && (mask[i] & 0xFFFFFF) != 0;
          pixels.pixels[i] = transparent ? 0 : (pixels.pixels[i] | 0xFF000000u);
        }
      }
      image = std::move(pixels);
    }
  }
  if (info.hbmColor != nullptr)
    DeleteObject(info.hbmColor);
  if (info.hbmMask != nullptr)
    DeleteObject(info.hbmMask);
  return image;
}

}  // namespace

std::optional<IconImage> Win32Icons::firstIcon(const std::string& executablePath) {
  HICON icon = nullptr;
  if (ExtractIconExW(widen(executablePath).c_str(), 0, &icon, nullptr, 1) == 0 || icon == nullptr) {
    return std::nullopt;
  }
  auto image = render(icon);
  DestroyIcon(icon);
  return image;
}

}  // namespace platform::win32
