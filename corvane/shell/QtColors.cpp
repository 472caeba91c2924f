#include "corvane/shell/QtColors.h"

#include <QApplication>
#include <array>

namespace corvane {

namespace {

constexpr QPalette::ColorGroup PaneGroups[] = {QPalette::Active, QPalette::Inactive,
                                               QPalette::Disabled};

// The palette role nearest to each display element of the system, by index.
constexpr int NoRole = -1;
constexpr std::array<int, 31> SystemRoles = {
    QPalette::Button,           // 0 scroll bar
    QPalette::Window,           // 1 desktop
    QPalette::Highlight,        // 2 active caption
    QPalette::Mid,              // 3 inactive caption
    QPalette::Window,           // 4 menu
    QPalette::Base,             // 5 window
    QPalette::WindowText,       // 6 window frame
    QPalette::WindowText,       // 7 menu text
    QPalette::Text,             // 8 window text
    QPalette::HighlightedText,  // 9 caption text
    QPalette::Window,           // 10 active border
    QPalette::Window,           // 11 inactive border
    QPalette::Mid,              // 12 application workspace
    QPalette::Highlight,        // 13 highlight
    QPalette::HighlightedText,  // 14 highlighted text
    QPalette::Button,           // 15 button face
    QPalette::Mid,              // 16 button shadow
    QPalette::PlaceholderText,  // 17 grey text
    QPalette::ButtonText,       // 18 button text
    QPalette::WindowText,       // 19 inactive caption text
    QPalette::Light,            // 20 button highlight
    QPalette::Shadow,           // 21 3-D dark shadow
    QPalette::Midlight,         // 22 3-D light
    QPalette::ToolTipText,      // 23 info text
    QPalette::ToolTipBase,      // 24 info background
    NoRole,                     // 25 (none)
    QPalette::Link,             // 26 hot-tracked item
    QPalette::Highlight,        // 27 gradient active caption
    QPalette::Mid,              // 28 gradient inactive caption
    QPalette::Highlight,        // 29 menu highlight
    QPalette::Window,           // 30 menu bar
};

void paint(QWidget* widget, const QColor* text, const QColor* background) {
  QPalette palette = widget->palette();
  for (const QPalette::ColorGroup group : PaneGroups) {
    if (text != nullptr) {
      palette.setColor(group, QPalette::Text, *text);
      palette.setColor(group, QPalette::WindowText, *text);
    }
    if (background != nullptr) {
      palette.setColor(group, QPalette::Base, *background);
      palette.setColor(group, QPalette::Window, *background);
    }
  }
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

}  // namespace

QColor qtColor(ColorCode code, QPalette::ColorRole fallback) {
  const QPalette palette = QApplication::palette();
  if (code == clDefault || code == clNone) {
    return palette.color(fallback);
  }
  if ((code & SystemColorBase) != 0) {
    const ColorCode index = code & ~SystemColorBase;
    if (index < SystemRoles.size() && SystemRoles[index] != NoRole) {
      return palette.color(static_cast<QPalette::ColorRole>(SystemRoles[index]));
    }
    return QColor(Qt::black);
  }
  return QColor(static_cast<int>(code & 0xFF), static_cast<int>((code >> 8) & 0xFF),
                static_cast<int>((code >> 16) & 0xFF));
}

std::uint32_t rgbOf(ColorCode code) {
  const QColor colour = qtColor(code, QPalette::Base);
  return rgbColor(colour.red(), colour.green(), colour.blue());
}

void setPaneColors(QWidget* widget, const QColor& text, const QColor& background) {
  paint(widget, &text, &background);
}

void setPaneTextColor(QWidget* widget, const QColor& text) {
  paint(widget, &text, nullptr);
}

void setPaneBackground(QWidget* widget, const QColor& background) {
  paint(widget, nullptr, &background);
}

}  // namespace corvane
