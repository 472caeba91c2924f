// The main window's status bar StatusBar: four panels drawn as sunken fields, and the progress bar
// that DrawStatusProgress draws straight onto panel 1.
#pragma once

#include <QElapsedTimer>
#include <QRect>
#include <QString>
#include <QWidget>
#include <array>

namespace corvane {

class QtStatusBar : public QWidget {
  Q_OBJECT

 public:
  static constexpr std::array<int, 4> PanelWidths = {200, 100, 70, 50};
  static constexpr int BarHeight = 17;

  enum class Progress { None, Frame, Bar, Wiped };

  explicit QtStatusBar(QWidget* parent = nullptr);

  // Setting a panel's text repaints the panel, which clears what was drawn over it.
  void setPanelText(int panel, const QString& text);
  QString panelText(int panel) const;

  // p <= 0 (or not a number): panel 1 empty with an empty black frame; 0 < p < 99: a cream bar
  // of p percent inside the frame; p >= 99: frame and bar wiped with the button face.
  void DrawStatusProgress(double percent);

  Progress progress() const { return progress_; }
  // In the bar's coordinates, left, top and width, height as QRect holds them.
  QRect frameRect() const;
  QRect barRect() const;

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int panelLeft(int panel) const;

  std::array<QString, 4> texts_;
  // A growing bar is painted at once at most once a frame; in between the event loop paints it.
  QElapsedTimer sinceBarPainted_;
  Progress progress_ = Progress::None;
  int barRight_ = 0;
};

}  // namespace corvane
