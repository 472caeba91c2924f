// The console (TConsole): an always-on-top window in which the worker narrates each step as a
// coloured line, with a progress bar and one button that hides the window or stops a batch.
#pragma once

#include <QFont>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTextCharFormat>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>

namespace corvane {

struct ProgramState;
struct RequestState;

class TConsole : public QWidget {
  Q_OBJECT

 public:
  // `program` gives the catalogue whose names are painted white, `request` the worker and the
  // busy flag.
  TConsole(ProgramState& program, RequestState& request, QWidget* parent = nullptr);

  // AppendConsoleLine: the line at the end of the text in the colour of its rule, with every
  // catalogue name in it repainted white; the newest line is kept in view.
  void AppendConsoleLine(const std::string& line);

  // The text's font (FormCreate gives it the service list's font).
  void SetConsoleFont(const QFont& font);
  // The AutoHide Console setting.
  bool AutoHide = true;

  // Run when the console is shown or hidden (the main window's ConsoleToggle follows), when its
  // text is right-clicked (the main window's edit menu), and when it closes.
  std::function<void(bool visible)> onVisibility;
  std::function<void(const QPoint& globalPosition)> onDisplayMouseUp;
  std::function<void()> onClose;
  // F1: opens the console's help page (the page name is given).
  std::function<void(const std::string& page)> onHelp;

  void CloseButtonClick();
  // Esc hides the console (or stops a batch); F1 opens its help page.
  void FormKeyUp(int key);

  // A plain text box with coloured pieces: it paints only the lines in view, however long the
  // text grows.
  QPlainTextEdit* Display;
  QProgressBar* Progress;
  QPushButton* CloseButton;

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  ProgramState& program_;
  RequestState& request_;
  void scrollToEnd();

  QTextCharFormat lineFormat_;
  // The newest line is brought into view, and the text painted, once for a burst of lines.
  QTimer* scrollTimer_;
};

}  // namespace corvane
