#include "corvane/shell/Form_console.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextCursor>
#include <QVBoxLayout>

#include "corvane/engine/Thread_batch.h"
#include "corvane/engine/request_state.h"
#include "corvane/shell/console_colours.h"
#include "corvane/shell/help_launch.h"
#include "corvane/shell/program_state.h"

namespace corvane {

namespace {

QColor colourOf(ConsoleColour colour) {
  return QColor::fromRgb(consoleColourRgb(colour));
}

// A byte offset of a UTF-8 line as a position in its QString.
int textPosition(const std::string& line, std::size_t byteOffset, bool ascii) {
  if (ascii) {
    return static_cast<int>(byteOffset);
  }
  return static_cast<int>(
      QString::fromUtf8(line.data(), static_cast<qsizetype>(byteOffset)).size());
}

bool isAscii(const std::string& text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) {
      return false;
    }
  }
  return true;
}

}  // namespace

TConsole::TConsole(ProgramState& program, RequestState& request, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowStaysOnTopHint),
      program_(program),
      request_(request) {
  setObjectName("Console");
  setWindowTitle("Console");
  resize(379, 261);
  setMinimumSize(300, 200);

  Display = new QPlainTextEdit(this);
  Display->setObjectName("Display");
  Display->setReadOnly(true);
  Display->setUndoRedoEnabled(false);
  Display->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Display->setContextMenuPolicy(Qt::NoContextMenu);
  Display->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  QPalette palette = Display->palette();
  palette.setColor(QPalette::Base, Qt::black);
  palette.setColor(QPalette::Text, colourOf(ConsoleColour::Silver));
  Display->setPalette(palette);
  Display->viewport()->installEventFilter(this);
  Display->installEventFilter(this);

  Progress = new QProgressBar(this);
  Progress->setObjectName("Progress");
  Progress->setRange(0, 101);
  Progress->setValue(0);
  Progress->setTextVisible(false);
  Progress->setFixedHeight(11);

  CloseButton = new QPushButton("Hide", this);
  CloseButton->setObjectName("CloseButton");
  CloseButton->setFixedSize(75, 23);
  CloseButton->installEventFilter(this);
  connect(CloseButton, &QPushButton::clicked, this, &TConsole::CloseButtonClick);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 4);
  layout->setSpacing(3);
  layout->addWidget(Display, 1);
  layout->addWidget(Progress);
  auto* buttonRow = new QHBoxLayout;
  buttonRow->addStretch();
  buttonRow->addWidget(CloseButton);
  buttonRow->addStretch();
  layout->addLayout(buttonRow);

  scrollTimer_ = new QTimer(this);
  scrollTimer_->setSingleShot(true);
  scrollTimer_->setInterval(50);
  connect(scrollTimer_, &QTimer::timeout, this, &TConsole::scrollToEnd);

  SetConsoleFont(font());
}

void TConsole::SetConsoleFont(const QFont& font) {
  lineFormat_.setFont(font);
  Display->document()->setDefaultFont(font);
  QTextCursor all(Display->document());
  all.select(QTextCursor::Document);
  QTextCharFormat fontOnly;
  fontOnly.setFont(font);
  all.mergeCharFormat(fontOnly);
}

void TConsole::AppendConsoleLine(const std::string& line) {
  const QString text = QString::fromStdString(line);
  const bool ascii = isAscii(line);
  QTextCursor cursor(Display->document());
  cursor.movePosition(QTextCursor::End);
  const int start = cursor.position();
  cursor.beginEditBlock();
  QTextCharFormat format = lineFormat_;
  format.setForeground(colourOf(consoleLineColour(line)));
  cursor.insertText(text, format);
  QTextCharFormat white;
  white.setForeground(Qt::white);
  for (const ConsoleSpan& span : consoleNameSpans(line, program_.catalogue)) {
    const int from = start + textPosition(line, span.start, ascii);
    const int to = start + textPosition(line, span.start + span.length, ascii);
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    cursor.mergeCharFormat(white);
  }
  cursor.endEditBlock();
  if (!scrollTimer_->isActive()) {
    // Painted once for the burst of lines that follows, when the timer shows the newest.
    Display->setUpdatesEnabled(false);
    scrollTimer_->start();
  }
}

void TConsole::scrollToEnd() {
  QTextCursor cursor = Display->textCursor();
  cursor.movePosition(QTextCursor::End);
  Display->setTextCursor(cursor);
  QScrollBar* scroll = Display->verticalScrollBar();
  scroll->setValue(scroll->maximum());
  Display->setUpdatesEnabled(true);
}

void TConsole::CloseButtonClick() {
  if (request_.WorkerIdle) {
    hide();
  } else if (request_.CurrentWorker != nullptr) {
    request_.CurrentWorker->Terminate();
  }
}

void TConsole::FormKeyUp(int key) {
  if (key == Qt::Key_Escape && CloseButton->isEnabled()) {
    CloseButtonClick();
  }
  if (key == Qt::Key_F1 && onHelp) {
    onHelp(HelpConsolePage);
  }
}

void TConsole::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  CloseButton->setText("Hide");
  Progress->setValue(Progress->minimum());
  Display->setFocus();
  if (onVisibility) {
    onVisibility(true);
  }
}

void TConsole::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  if (onVisibility) {
    onVisibility(false);
  }
}

void TConsole::closeEvent(QCloseEvent* event) {
  QWidget::closeEvent(event);
  if (onClose) {
    onClose();
  }
}

void TConsole::keyReleaseEvent(QKeyEvent* event) {
  FormKeyUp(event->key());
  QWidget::keyReleaseEvent(event);
}

bool TConsole::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyRelease) {
    // The form sees its controls' keys first; they act on key presses only.
    FormKeyUp(static_cast<QKeyEvent*>(event)->key());
    return true;
  }
  if (watched == Display->viewport() && event->type() == QEvent::MouseButtonRelease) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (!request_.Busy && mouse->button() == Qt::RightButton && onDisplayMouseUp) {
      onDisplayMouseUp(mouse->globalPosition().toPoint());
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace corvane
