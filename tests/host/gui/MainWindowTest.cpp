#include <QTest>

#include "GuiTestSupport.h"
#include "gui/CommandLine.h"
#include "gui/DrawingCanvas.h"
#include "gui/MainWindow.h"
#include "zcad/db/ZcDbLine.h"

namespace gui_test {
namespace {

using MainWindowTest = WindowTest;

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

}  // namespace
}  // namespace gui_test
