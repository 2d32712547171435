#include "gui/CommandLine.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QScrollBar>
#include <QVBoxLayout>

#include "editor/WaitingPrompt.h"

namespace vtcad::gui {
namespace {

QString fromWide(std::wstring_view text) {
  return QString::fromWCharArray(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QString promptWithKeywordLinks(std::wstring_view prompt) {
  std::wstring_view last = prompt;
  while (!last.empty() && last.back() == L'\n') last.remove_suffix(1);
  if (const size_t cut = last.rfind(L'\n'); cut != std::wstring_view::npos) last.remove_prefix(cut + 1);
  const QString text = fromWide(last);
  const qsizetype open = text.lastIndexOf(QLatin1Char('['));
  const qsizetype close = open < 0 ? -1 : text.indexOf(QLatin1Char(']'), open);
  if (open < 0 || close < 0) return text.toHtmlEscaped();
  QString html = text.left(open + 1).toHtmlEscaped();
  const QStringList keywords = text.mid(open + 1, close - open - 1).split(QLatin1Char('/'));
  for (qsizetype i = 0; i < keywords.size(); ++i) {
    if (i > 0) html += QLatin1Char('/');
    const QString keyword = keywords[i].trimmed();
    html += QStringLiteral("<a href=\"%1\">%2</a>").arg(keyword.toHtmlEscaped(), keywords[i].toHtmlEscaped());
  }
  return html + text.mid(close).toHtmlEscaped();
}

CommandLine::CommandLine(QWidget* parent) : QWidget(parent) {
  transcript_ = new QPlainTextEdit(this);
  transcript_->setReadOnly(true);
  transcript_->setFocusPolicy(Qt::ClickFocus);
  transcript_->setMaximumBlockCount(20000);  // a long session must not grow without end
  const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  transcript_->setFont(fixed);
  prompt_ = new QLabel(this);
  prompt_->setTextFormat(Qt::RichText);
  prompt_->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
  prompt_->setFont(fixed);
  input_ = new QLineEdit(this);
  input_->setFont(fixed);
  input_->setFrame(false);
  input_->installEventFilter(this);
  connect(prompt_, &QLabel::linkActivated, this,
          [this](const QString& keyword) { submit(keyword.toStdWString()); });

  auto* row = new QHBoxLayout;
  row->setContentsMargins(4, 0, 4, 2);
  row->addWidget(prompt_);
  row->addWidget(input_, /*stretch=*/1);
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  column->addWidget(transcript_, /*stretch=*/1);
  column->addLayout(row);
}

void CommandLine::appendOutput(std::string_view utf8) {
  QTextCursor end(transcript_->document());
  end.movePosition(QTextCursor::End);
  end.insertText(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
  transcript_->verticalScrollBar()->setValue(transcript_->verticalScrollBar()->maximum());
}

void CommandLine::setPrompt(std::wstring_view prompt) { prompt_->setText(promptWithKeywordLinks(prompt)); }

void CommandLine::clearPrompt() { prompt_->clear(); }

void CommandLine::remember(const std::wstring& line) {
  if (!line.empty() && (history_.empty() || history_.back() != line)) history_.push_back(line);
  historyAt_ = history_.size();
}

void CommandLine::submit(const std::wstring& line) {
  remember(line);
  input_->clear();
  if (onLine) onLine(line);
}

bool CommandLine::eventFilter(QObject* watched, QEvent* event) {
  if (watched != input_ || event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      submit(input_->text().toStdWString());
      return true;
    case Qt::Key_Space:
      // A text read whole (TEXT's string) takes spaces; everywhere else a space ends the input.
      if (editor::waitingPrompt().restOfLine) return false;
      submit(input_->text().toStdWString());
      return true;
    case Qt::Key_Escape:
      input_->clear();
      if (onEscape) onEscape();
      return true;
    case Qt::Key_Up:
      if (historyAt_ > 0) input_->setText(fromWide(history_[--historyAt_]));
      return true;
    case Qt::Key_Down:
      if (historyAt_ + 1 < history_.size()) {
        input_->setText(fromWide(history_[++historyAt_]));
      } else {
        historyAt_ = history_.size();
        input_->clear();
      }
      return true;
    default:
      return false;
  }
}

}  // namespace vtcad::gui
