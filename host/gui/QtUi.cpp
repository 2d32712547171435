#include "gui/QtUi.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>
#include <QUrl>
#include <vector>

#include "commands/EditCommandSupport.h"
#include "editor/Session.h"
#include "zcad/platform/zcui.h"

namespace vtcad::gui {
namespace {

QString fromWide(const std::wstring& text) { return QString::fromStdWString(text); }

struct Button {
  int answer;
  QMessageBox::StandardButton button;
};

std::vector<Button> buttonsOf(unsigned type) {
  switch (type & 0xF) {
    case MB_OKCANCEL:
      return {{IDOK, QMessageBox::Ok}, {IDCANCEL, QMessageBox::Cancel}};
    case MB_ABORTRETRYIGNORE:
      return {{IDABORT, QMessageBox::Abort}, {IDRETRY, QMessageBox::Retry}, {IDIGNORE, QMessageBox::Ignore}};
    case MB_YESNOCANCEL:
      return {{IDYES, QMessageBox::Yes}, {IDNO, QMessageBox::No}, {IDCANCEL, QMessageBox::Cancel}};
    case MB_YESNO:
      return {{IDYES, QMessageBox::Yes}, {IDNO, QMessageBox::No}};
    case MB_RETRYCANCEL:
      return {{IDRETRY, QMessageBox::Retry}, {IDCANCEL, QMessageBox::Cancel}};
    case MB_CANCELTRYCONTINUE:
      return {{IDCANCEL, QMessageBox::Cancel},
              {IDTRYAGAIN, QMessageBox::Retry},
              {IDCONTINUE, QMessageBox::Ignore}};
    default:
      return {{IDOK, QMessageBox::Ok}};
  }
}

QMessageBox::Icon iconOf(unsigned type) {
  switch (type & 0xF0) {
    case MB_ICONERROR:
      return QMessageBox::Critical;
    case MB_ICONQUESTION:
      return QMessageBox::Question;
    case MB_ICONWARNING:
      return QMessageBox::Warning;
    case MB_ICONINFORMATION:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

// "dwg;dxf" -> "Files (*.dwg *.dxf)"; any file for "" and "*".
QString filterOf(const std::wstring& extension) {
  QStringList patterns;
  for (QString part : fromWide(extension).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
    part = part.trimmed();
    if (part.startsWith(QLatin1Char('.'))) part.remove(0, 1);
    if (part.isEmpty() || part == QLatin1String("*")) continue;
    patterns << QStringLiteral("*.") + part;
  }
  if (patterns.isEmpty()) return QObject::tr("All files (*)");
  return QObject::tr("Files (%1)").arg(patterns.join(QLatin1Char(' '))) + QStringLiteral(";;") +
         QObject::tr("All files (*)");
}

}  // namespace

QtUi::QtUi(QWidget* owner, std::shared_ptr<platform::UiBackend> otherThreads)
    : owner_(owner), otherThreads_(std::move(otherThreads)) {}

bool QtUi::onWindowThread() const {
  return QThread::currentThread() == QCoreApplication::instance()->thread();
}

int QtUi::messageBox(const std::wstring& caption, const std::wstring& text, unsigned type) {
  // While a script feeds the prompts (vtcad --gui -s, the plug-in loading before the window's
  // command line starts) nobody is there to click: the box goes to the transcript, answered
  // with its default button, as without a window.
  if (!onWindowThread() || editor::Session::instance().scripted()) {
    return otherThreads_->messageBox(caption, text, type);
  }
  QMessageBox box(iconOf(type), fromWide(caption), fromWide(text), QMessageBox::NoButton, owner_);
  const std::vector<Button> buttons = buttonsOf(type);
  for (const Button& button : buttons) box.addButton(button.button);
  const size_t defaultIndex = (type & MB_DEFBUTTON3) ? 2 : (type & MB_DEFBUTTON2) ? 1 : 0;
  if (defaultIndex < buttons.size()) box.setDefaultButton(buttons[defaultIndex].button);
  const int chosen = box.exec();
  for (const Button& button : buttons) {
    if (chosen == button.button) return button.answer;
  }
  // Closed without a button (Esc, the window's close box): the cancel when there is one.
  for (const Button& button : buttons) {
    if (button.answer == IDCANCEL) return IDCANCEL;
  }
  return buttons.front().answer;
}

std::optional<std::wstring> QtUi::fileDialog(const platform::FileRequest& request) {
  // FILEDIA 0 asks on the command line, as does a script feeding the prompts (vtcad --gui -s):
  // a file dialog there would wait for a user the script stands in for.
  const bool dialogs = commands::shortVariable(L"FILEDIA", /*fallback=*/1) != 0;
  if (!onWindowThread() || !dialogs || editor::Session::instance().scripted()) {
    return otherThreads_->fileDialog(request);
  }
  const QString title = fromWide(request.title);
  const QString start = fromWide(request.defaultName);
  const QString filter = filterOf(request.extension);
  const QString chosen = request.forSaving ? QFileDialog::getSaveFileName(owner_, title, start, filter)
                                           : QFileDialog::getOpenFileName(owner_, title, start, filter);
  if (chosen.isEmpty()) return std::nullopt;
  return chosen.toStdWString();
}

bool QtUi::openDocument(const std::wstring& verb, const std::wstring& file, const std::wstring& params) {
  if (!onWindowThread()) return otherThreads_->openDocument(verb, file, params);
  const QString name = fromWide(file);
  const QUrl url = name.contains(QStringLiteral("://")) ? QUrl(name) : QUrl::fromLocalFile(name);
  return QDesktopServices::openUrl(url);
}

}  // namespace vtcad::gui
