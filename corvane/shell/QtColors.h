// The colour codes of settings.ini as Qt colours, and the panes they paint.
#pragma once

#include <QColor>
#include <QPalette>
#include <QWidget>

#include "corvane/shell/settings.h"

namespace corvane {

// A plain colour as it is; a system colour as the application palette's colour of the nearest
// role (black for an index the system does not have); the default and no colour as the
// palette's `fallback` role; any other code by its low three bytes.
QColor qtColor(ColorCode code, QPalette::ColorRole fallback);

// The colour as 0x00BBGGRR, as the colour dialog takes it.
std::uint32_t rgbOf(ColorCode code);

// Paints the widget's text and background (in every state), keeping its selection colours.
void setPaneColors(QWidget* widget, const QColor& text, const QColor& background);
void setPaneTextColor(QWidget* widget, const QColor& text);
void setPaneBackground(QWidget* widget, const QColor& background);

}  // namespace corvane
