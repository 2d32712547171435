#include "gui/QtDialogs.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QEventLoop>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <functional>
#include <vector>

#include "zcad/ui/ZcUiDialog.h"

namespace vtcad::gui {
namespace {

// The framework's dialog units in pixels (the usual dialog font's base units).
constexpr double kUnitX = 1.5;
constexpr double kUnitY = 1.625;

QRect pixelsOf(const ZcUiRect& rect) {
  return QRect(qRound(rect.x * kUnitX), qRound(rect.y * kUnitY), qRound(rect.width * kUnitX),
               qRound(rect.height * kUnitY));
}

QString fromWide(const std::wstring& text) { return QString::fromStdWString(text); }

QImage imageOf(const CImage& picture) {
  QImage image(picture.GetWidth(), picture.GetHeight(), QImage::Format_RGB32);
  for (int y = 0; y < image.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const COLORREF color = picture.GetPixel(x, y);  // 0x00BBGGRR
      row[x] = qRgb(color & 0xff, (color >> 8) & 0xff, (color >> 16) & 0xff);
    }
  }
  return image;
}

QDialog* running = nullptr;

// The window of one dialog: Esc and the close box go to the framework, which decides.
class DialogWindow final : public QDialog {
 public:
  DialogWindow(CDialog& dialog, QWidget* owner) : QDialog(owner), dialog_(dialog) {}
  std::function<void()> afterAction;
  void reject() override {
    dialog_.sendCommand(IDCANCEL, BN_CLICKED);
    if (afterAction) afterAction();
  }

 protected:
  void closeEvent(QCloseEvent* event) override {
    event->ignore();
    dialog_.sendClose();
    if (afterAction) afterAction();
  }

 private:
  CDialog& dialog_;
};

struct Bound {
  ZcUiControlState* state;
  QWidget* widget;
};

}  // namespace

QDialog* QtDialogs::runningWindow() { return running; }

void QtDialogs::runModal(CDialog& dialog) {
  DialogWindow window(dialog, owner_);
  windows_[&dialog] = &window;
  QDialog* outer = std::exchange(running, &window);
  std::vector<Bound> bound;
  QEventLoop loop;

  // After every action: the framework paints, the widgets show the states, an ended dialog closes.
  auto pull = [&] {
    for (const Bound& b : bound) {
      ZcUiControlState& s = *b.state;
      const QSignalBlocker quiet(b.widget);
      b.widget->setVisible(s.visible);
      b.widget->setEnabled(s.enabled);
      switch (s.kind) {
        case ZcUiControlKind::kStatic:
          static_cast<QLabel*>(b.widget)->setText(fromWide(s.text));
          break;
        case ZcUiControlKind::kPicture:
          if (!s.picture.IsNull()) {
            static_cast<QLabel*>(b.widget)->setPixmap(QPixmap::fromImage(imageOf(s.picture)));
          } else {
            static_cast<QLabel*>(b.widget)->clear();
          }
          break;
        case ZcUiControlKind::kPushButton:
          static_cast<QPushButton*>(b.widget)->setText(fromWide(s.text));
          break;
        case ZcUiControlKind::kCheckBox:
        case ZcUiControlKind::kRadioButton: {
          auto* button = static_cast<QAbstractButton*>(b.widget);
          button->setText(fromWide(s.text));
          button->setChecked(s.check == BST_CHECKED);
          break;
        }
        case ZcUiControlKind::kGroupBox:
          static_cast<QGroupBox*>(b.widget)->setTitle(fromWide(s.text));
          break;
        case ZcUiControlKind::kEdit:
        case ZcUiControlKind::kNumericEdit: {
          auto* edit = static_cast<QLineEdit*>(b.widget);
          if (edit->text() != fromWide(s.text)) edit->setText(fromWide(s.text));
          break;
        }
        case ZcUiControlKind::kListBox: {
          auto* list = static_cast<QListWidget*>(b.widget);
          QStringList items;
          for (const std::wstring& item : s.items) items << fromWide(item);
          if (list->count() != items.size() ||
              (list->count() > 0 && list->item(list->count() - 1)->text() != items.back())) {
            list->clear();
            list->addItems(items);
          }
          list->setCurrentRow(s.selection);
          break;
        }
        case ZcUiControlKind::kComboBox: {
          auto* combo = static_cast<QComboBox*>(b.widget);
          if (combo->count() != static_cast<int>(s.items.size())) {
            combo->clear();
            for (const std::wstring& item : s.items) combo->addItem(fromWide(item));
          }
          combo->setCurrentIndex(s.selection);
          break;
        }
        case ZcUiControlKind::kSlider: {
          auto* slider = static_cast<QSlider*>(b.widget);
          slider->setRange(s.rangeMin, s.rangeMax);
          slider->setValue(s.position);
          break;
        }
      }
    }
    window.setWindowTitle(fromWide(dialog.dialogState().text));
  };
  auto afterAction = [&] {
    if (!dialog.hasEnded()) dialog.paintPending();
    if (dialog.hasEnded()) {
      loop.quit();
      return;
    }
    pull();
  };
  window.afterAction = afterAction;

  dialog.startModal();
  const QRect size = pixelsOf(dialog.dialogState().rect);
  window.setFixedSize(std::max(size.width(), 80), std::max(size.height(), 40));
  // Group boxes first, so that the controls inside lie over them.
  std::vector<ZcUiControlState*> states = dialog.controlStates();
  std::stable_partition(states.begin(), states.end(),
                        [](const ZcUiControlState* s) { return s->kind == ZcUiControlKind::kGroupBox; });
  for (ZcUiControlState* state : states) {
    ZcUiControlState& s = *state;
    const int id = s.id;
    QWidget* widget = nullptr;
    switch (s.kind) {
      case ZcUiControlKind::kStatic:
      case ZcUiControlKind::kPicture: {
        auto* label = new QLabel(&window);
        if (s.kind == ZcUiControlKind::kPicture) label->setAlignment(Qt::AlignCenter);
        widget = label;
        break;
      }
      case ZcUiControlKind::kPushButton: {
        auto* button = new QPushButton(&window);
        if (id == IDOK) button->setDefault(true);
        QObject::connect(button, &QPushButton::clicked, &window, [&dialog, id, afterAction] {
          dialog.sendCommand(id, BN_CLICKED);
          afterAction();
        });
        widget = button;
        break;
      }
      case ZcUiControlKind::kCheckBox:
      case ZcUiControlKind::kRadioButton: {
        QAbstractButton* button = s.kind == ZcUiControlKind::kCheckBox
                                      ? static_cast<QAbstractButton*>(new QCheckBox(&window))
                                      : static_cast<QAbstractButton*>(new QRadioButton(&window));
        // Radio buttons exclude each other through the framework's groups, not Qt's.
        button->setAutoExclusive(false);
        QObject::connect(
            button, &QAbstractButton::clicked, &window, [&dialog, state, afterAction](bool checked) {
              if (state->kind == ZcUiControlKind::kRadioButton) {
                for (ZcUiControlState* other : dialog.controlStates()) {
                  if (other->kind == ZcUiControlKind::kRadioButton && other->group == state->group) {
                    other->check = BST_UNCHECKED;
                  }
                }
                checked = true;
              }
              state->check = checked ? BST_CHECKED : BST_UNCHECKED;
              state->needsPaint = true;
              dialog.sendCommand(state->id, BN_CLICKED);
              afterAction();
            });
        widget = button;
        break;
      }
      case ZcUiControlKind::kGroupBox:
        widget = new QGroupBox(&window);
        break;
      case ZcUiControlKind::kEdit:
      case ZcUiControlKind::kNumericEdit: {
        auto* edit = new QLineEdit(&window);
        QObject::connect(edit, &QLineEdit::editingFinished, &window, [&dialog, state, edit, afterAction] {
          if (dialog.hasEnded()) return;
          state->text = edit->text().toStdWString();
          state->needsPaint = true;
          dialog.sendCommand(state->id, EN_KILLFOCUS);
          afterAction();
        });
        widget = edit;
        break;
      }
      case ZcUiControlKind::kListBox: {
        auto* list = new QListWidget(&window);
        QObject::connect(list, &QListWidget::currentRowChanged, &window,
                         [&dialog, state, afterAction](int row) {
                           state->selection = row;
                           state->needsPaint = true;
                           dialog.sendCommand(state->id, LBN_SELCHANGE);
                           afterAction();
                         });
        widget = list;
        break;
      }
      case ZcUiControlKind::kComboBox: {
        auto* combo = new QComboBox(&window);
        QObject::connect(combo, &QComboBox::currentIndexChanged, &window,
                         [&dialog, state, afterAction](int index) {
                           state->selection = index;
                           state->needsPaint = true;
                           dialog.sendCommand(state->id, CBN_SELCHANGE);
                           afterAction();
                         });
        widget = combo;
        break;
      }
      case ZcUiControlKind::kSlider: {
        auto* slider = new QSlider(Qt::Horizontal, &window);
        QObject::connect(slider, &QSlider::valueChanged, &window, [state, afterAction](int value) {
          // A moved slider repaints, which notifies the dialog (NM_CUSTOMDRAW): the live redraw.
          state->position = value;
          state->needsPaint = true;
          afterAction();
        });
        widget = slider;
        break;
      }
    }
    widget->setGeometry(pixelsOf(s.rect));
    widget->setObjectName(QString::number(id));
    if (!s.name.empty()) widget->setAccessibleName(fromWide(s.name));
    bound.push_back({state, widget});
  }
  afterAction();
  if (!dialog.hasEnded()) {
    window.setModal(true);
    window.show();
    loop.exec();
  }
  window.hide();
  running = outer;
  windows_.erase(&dialog);
}

void QtDialogs::visibilityChanged(CDialog& dialog, bool visible) {
  const auto found = windows_.find(&dialog);
  if (found == windows_.end()) return;
  found->second->setVisible(visible);
}

}  // namespace vtcad::gui
