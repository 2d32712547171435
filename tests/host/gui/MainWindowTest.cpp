#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "GuiTestSupport.h"
#include "commands/Document.h"
#include "editor/Session.h"
#include "gui/CommandLine.h"
#include "gui/DrawingCanvas.h"
#include "gui/MainWindow.h"
#include "zcad/db/ZcDbLine.h"

namespace gui_test {
namespace {

using MainWindowTest = WindowTest;

// Runs `answer` on the next modal widget of type T once it shows; gives up after a few seconds
// so that a dialog that never comes fails the test, not hangs it.
template <typename T>
void onNextModal(std::function<void(T*)> answer, int triesLeft = 300) {
  QTimer::singleShot(10, [answer = std::move(answer), triesLeft]() mutable {
    auto* modal = qobject_cast<T*>(QApplication::activeModalWidget());
    if (!modal || !modal->isVisible()) {
      if (triesLeft > 0) onNextModal<T>(std::move(answer), triesLeft - 1);
      return;
    }
    answer(modal);
  });
}

// Answers the next message box with `button` (its question into `asked`).
void answerMessageBox(QMessageBox::StandardButton button, QString* asked) {
  onNextModal<QMessageBox>([=](QMessageBox* box) {
    if (asked) *asked = box->text();
    box->button(button)->click();
  });
}

// The action of a menu by the menu's and the action's titles (without their '&').
QAction* menuAction(QMenuBar* bar, const QString& menu, const QString& action) {
  for (QAction* top : bar->actions()) {
    if (top->text().remove('&') != menu || !top->menu()) continue;
    for (QAction* item : top->menu()->actions())
      if (item->text().remove('&') == action) return item;
  }
  return nullptr;
}

TEST_F(MainWindowTest, ACommandTypedIntoTheCommandLineDrawsAndTheWindowShowsIt) {
  QImage shot;
  drive({[&] { type("LINE"); }, [&] { type("40,40"); }, [&] { type("380,250"); }, [&] { type(""); },
         [&] { type("CIRCLE"); }, [&] { type("210,148"); }, [&] { type("60"); },
         [&] {
           shot = window().grab().toImage();
           window().closeWithoutAsking();
         }});
  const std::vector<ZcDbObjectId> ids = modelSpaceEntities();
  ASSERT_EQ(ids.size(), 2u) << transcript();
  ZcDbLine* line = nullptr;
  ASSERT_EQ(zcdbOpenObject(line, ids[0], ZcDb::kForRead), Zcad::eOk);
  EXPECT_NEAR(line->endPoint().x, 380.0, 1e-9);
  line->close();
  // The transcript keeps each prompt with its answer, as a terminal does.
  EXPECT_NE(transcript().find("Command: LINE"), std::string::npos) << transcript();
  EXPECT_NE(transcript().find("Specify first point: 40,40"), std::string::npos) << transcript();
  EXPECT_TRUE(matchesGolden(shot, "typed-line-and-circle"));
}

// Undo from the Edit menu takes the last command back; closing with unsaved changes asks:
// Cancel keeps the window, Save writes the drawing to its file and closes.
TEST_F(MainWindowTest, EditUndoTakesTheCommandBackAndClosingAsksToSaveTheChanges) {
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("vtcad-asked-" + std::to_string(::getpid()) + ".dxf");
  ASSERT_TRUE(vtcad::commands::Document::instance().saveAs(file).saved);
  QAction* undo = menuAction(window().menuBar(), "Edit", "Undo");
  ASSERT_NE(undo, nullptr);
  QString asked;
  bool stayedOpen = false;
  size_t afterUndo = 0;
  drive({[&] { type("LINE"); }, [&] { type("0,0"); }, [&] { type("10,10"); }, [&] { type(""); },
         [&] { type("CIRCLE"); }, [&] { type("5,5"); }, [&] { type("3"); }, [&] { undo->trigger(); },
         [&] {
           afterUndo = modelSpaceEntities().size();
           answerMessageBox(QMessageBox::Cancel, &asked);
           window().close();
           stayedOpen = window().isVisible();
           answerMessageBox(QMessageBox::Save, nullptr);
           window().close();
         }});
  EXPECT_EQ(afterUndo, 1u) << transcript();
  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(asked.toStdString(), "Save the changes to " + file.filename().string() + "?");
  EXPECT_FALSE(vtcad::commands::Document::instance().modified());
  std::ifstream in(file);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_NE(text.str().find("\nLINE\r\n"), std::string::npos);
  EXPECT_EQ(text.str().find("\nCIRCLE\r\n"), std::string::npos);
  std::filesystem::remove(file);
}

// File > Open chooses the drawing in Qt's file dialog (FILEDIA 1, no script running) and opens
// it; the Recent Files menu then lists it first.
TEST_F(MainWindowTest, FileOpenTakesTheDrawingChosenInTheFileDialogAndListsItAmongTheRecentFiles) {
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("vtcad-opened-" + std::to_string(::getpid()) + ".dxf");
  vtcad::editor::Session::instance().runScript(L"LINE 0,0 30,40\n\n", L"setup.scr");
  ASSERT_TRUE(vtcad::commands::Document::instance().saveAs(file).saved);
  vtcad::commands::Document::instance().openNew();
  QAction* open = menuAction(window().menuBar(), "File", "Open...");
  ASSERT_NE(open, nullptr);
  size_t opened = 0;
  QString firstRecent;
  drive({[&] {
           onNextModal<QFileDialog>([&](QFileDialog* dialog) {
             // Typed into the file name box, as a user does, and Enter.
             auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
             ASSERT_TRUE(name);
             name->setText(QString::fromStdString(file.string()));
             QTest::keyClick(name, Qt::Key_Return);
           });
           open->trigger();
         },
         [&] {
           opened = modelSpaceEntities().size();
           QAction* recent = menuAction(window().menuBar(), "File", "Recent Files");
           if (recent && recent->menu() && !recent->menu()->actions().isEmpty())
             firstRecent = recent->menu()->actions().front()->text();
           window().closeWithoutAsking();
         }});
  EXPECT_EQ(opened, 1u) << transcript();
  EXPECT_EQ(firstRecent.toStdString(), std::filesystem::absolute(file).string());
  std::filesystem::remove(file);
}

}  // namespace
}  // namespace gui_test
