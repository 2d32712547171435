#include <QApplication>
#include <QTest>
#include <QWheelEvent>
#include <cstdlib>
#include <random>

#include "GuiTestSupport.h"
#include "commands/Document.h"
#include "editor/Session.h"
#include "gui/DrawingCanvas.h"
#include "gui/MainWindow.h"
#include "zcad/db/ZcDbLine.h"

namespace gui_test {
namespace {

class DrawingCanvasTest : public WindowTest {
 protected:
  // Draws with a script first (in the window: its transcript shows it).
  void drawn(const wchar_t* script) { vtcad::editor::Session::instance().runScript(script, L"setup.scr"); }
  ZcGePoint3d worldAt(QPoint pixel) const { return canvas().view().worldAt(pixel.x(), pixel.y()); }
  size_t entityCount() const { return modelSpaceEntities().size(); }
};

// A click types the point under it to the waiting prompt; the digits follow the zoom, so the
// point is the pixel's own within a hundredth of it.
TEST_F(DrawingCanvasTest, ClicksAnswerPointPromptsAndTheRubberBandRunsFromTheBasePoint) {
  const QPoint first = pixelOf({60, 60, 0}), second = pixelOf({330, 230, 0});
  QImage band;
  drive({[&] { type("LINE"); }, [&] { QTest::mouseClick(&canvas(), Qt::LeftButton, {}, first); },
         [&] {
           QTest::mouseMove(&canvas(), second);
           band = canvas().grab().toImage();
           QTest::mouseClick(&canvas(), Qt::LeftButton, {}, second);
         },
         [&] { type(""); }});
  const std::vector<ZcDbObjectId> ids = modelSpaceEntities();
  ASSERT_EQ(ids.size(), 1u) << transcript();
  ZcDbLine* line = nullptr;
  ASSERT_EQ(zcdbOpenObject(line, ids[0], ZcDb::kForRead), Zcad::eOk);
  const double unitsPerPixel = canvas().view().height() / canvas().height();
  EXPECT_LT(line->startPoint().distanceTo(worldAt(first)), 0.02 * unitsPerPixel);
  EXPECT_LT(line->endPoint().distanceTo(worldAt(second)), 0.02 * unitsPerPixel);
  line->close();
  EXPECT_TRUE(matchesGolden(band, "rubber-band-line", 0.0005));
}

// A click on an entity at "Select objects" picks it (within PICKBOX), and the selection in
// progress is highlighted.
TEST_F(DrawingCanvasTest, AClickAtSelectObjectsPicksTheEntityAndHighlightsIt) {
  drawn(L"LINE 40,40 380,40\n\nLINE 40,200 380,200\n\n");
  QImage highlighted;
  drive({[&] { type("ERASE"); },
         [&] {
           // Two pixels off the line: still within the pick box.
           QTest::mouseClick(&canvas(), Qt::LeftButton, {}, pixelOf({200, 40, 0}) + QPoint(0, 2));
         },
         [&] {
           highlighted = canvas().grab().toImage();
           type("");
         }});
  EXPECT_EQ(entityCount(), 1u) << transcript();
  EXPECT_NE(transcript().find("1 found"), std::string::npos) << transcript();
  EXPECT_TRUE(matchesGolden(highlighted, "pick-highlight", 0.0005));
}

// Two clicks on empty places make an implied window: left to right it takes what lies inside,
// right to left (crossing) also what it crosses. A drag does the same as two clicks.
TEST_F(DrawingCanvasTest, ImpliedWindowsTakeWhatLiesInsideAndCrossingsWhatTheyCross) {
  struct Case {
    const char* name;
    ZcGePoint3d from, to;
    bool drag;
    size_t left;
  };
  for (const Case& c : {Case{"window", {20, 20, 0}, {220, 80, 0}, false, 1},
                        Case{"crossing", {220, 80, 0}, {20, 20, 0}, false, 0},
                        Case{"window by a drag", {20, 20, 0}, {220, 80, 0}, true, 1},
                        Case{"crossing by a drag", {220, 80, 0}, {20, 20, 0}, true, 0}}) {
    SCOPED_TRACE(c.name);
    // Each case in a new window on a new drawing.
    TearDown();
    SetUp();
    drawn(L"LINE 40,40 200,40\n\nLINE 40,60 380,60\n\n");
    QImage box;
    std::vector<std::function<void()>> steps{[&] { type("ERASE"); }};
    if (c.drag) {
      steps.push_back([&] {
        QTest::mousePress(&canvas(), Qt::LeftButton, {}, pixelOf(c.from));
        QTest::mouseMove(&canvas(), pixelOf(c.to));
        QTest::mouseRelease(&canvas(), Qt::LeftButton, {}, pixelOf(c.to));
      });
    } else {
      steps.push_back([&] { clickAt(c.from); });
      steps.push_back([&] {
        QTest::mouseMove(&canvas(), pixelOf(c.to));
        box = canvas().grab().toImage();
        clickAt(c.to);
      });
    }
    steps.push_back([&] { type(""); });
    drive(steps);
    EXPECT_EQ(entityCount(), c.left) << transcript();
    if (!c.drag) {
      EXPECT_TRUE(matchesGolden(box, std::string("implied-") + c.name, 0.0005));
    }
  }
}

// The wheel zooms about the cursor (the world point under it stays there); a middle drag pans
// by the pixels dragged. Neither makes the drawing one to save.
TEST_F(DrawingCanvasTest, TheWheelZoomsAboutTheCursorAndAMiddleDragPans) {
  const QPoint at(120, 90);
  const ZcGePoint3d under = worldAt(at);
  const double height = canvas().view().height();
  QWheelEvent wheel(QPointF(at), canvas().mapToGlobal(QPointF(at)), QPoint(), QPoint(0, 120), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(&canvas(), &wheel);
  EXPECT_NEAR(canvas().view().height(), height / 1.25, 1e-9 * height);
  EXPECT_LT(worldAt(at).distanceTo(under), 1e-6 * height);

  const ZcGePoint3d before = worldAt(QPoint(300, 200));
  QTest::mousePress(&canvas(), Qt::MiddleButton, {}, QPoint(300, 200));
  QTest::mouseMove(&canvas(), QPoint(340, 170));
  QTest::mouseRelease(&canvas(), Qt::MiddleButton, {}, QPoint(340, 170));
  EXPECT_LT(worldAt(QPoint(340, 170)).distanceTo(before), 1e-6 * height);
  EXPECT_FALSE(vtcad::commands::Document::instance().modified());
}

// At MOVE's second point the moved entities follow the cursor (their original stays until the
// move is made); the click moves them there.
TEST_F(DrawingCanvasTest, AtTheSecondPointOfAMoveTheEntitiesFollowTheCursor) {
  drawn(L"CIRCLE 100,100 20\n");
  const QRgb background = canvas().frame().pixel(pixelOf({250, 150, 0}));
  auto drawnNear = [&](const QImage& picture, const ZcGePoint3d& world) {
    const QPoint at = pixelOf(world);
    for (int dy = -1; dy <= 1; ++dy) {
      for (int dx = -1; dx <= 1; ++dx)
        if (picture.pixel(at + QPoint(dx, dy)) != background) return true;
    }
    return false;
  };
  QImage dragging;
  drive({[&] { type("MOVE"); },
         [&] {
           clickAt({120, 100, 0});
         },
         [&] { type(""); }, [&] { type("100,100"); },
         [&] {
           QTest::mouseMove(&canvas(), pixelOf({230, 150, 0}));
           dragging = canvas().shownPicture();
           clickAt({230, 150, 0});
         }});
  ASSERT_FALSE(dragging.isNull());
  EXPECT_TRUE(drawnNear(dragging, {250, 150, 0})) << "the circle at the cursor";
  EXPECT_TRUE(drawnNear(dragging, {120, 100, 0})) << "and where it was";
  canvas().refresh();
  EXPECT_TRUE(drawnNear(canvas().frame(), {250, 150, 0})) << transcript();
  EXPECT_FALSE(drawnNear(canvas().frame(), {120, 100, 0}));
}

// Pans move the kept picture by whole pixels and draw only what they uncover: after any run of
// pans the picture is the one a whole regeneration of the same view gives, and the wheel's
// preview gives way to it once the wheel rests.
TEST_F(DrawingCanvasTest, PannedAndZoomedPicturesAreTheWholeRedrawOfTheirView) {
  drawn(
      L"LINE 10,10 400,300\n\nCIRCLE 200,150 90\nARC 50,250 120,290 190,240\n"
      L"TEXT 60,60 12 0 Pan\nPLINE 300,40 W 3 3 380,40 380,120\n\n");
  auto differing = [](const QImage& a, const QImage& b) {
    long off = 0;
    for (int y = 0; y < a.height(); ++y) {
      for (int x = 0; x < a.width(); ++x) {
        const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
        if (std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q)) >
            24)
          ++off;
      }
    }
    return off;
  };
  auto wholeRedraw = [&] {
    vtcad::gui::DrawingCanvas fresh;
    fresh.resize(canvas().size());
    fresh.refresh();
    return fresh.frame();
  };
  canvas().refresh();
  const long regenerations = canvas().regenerations();
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> step(-60.0, 60.0);
  for (int i = 0; i < 40; ++i) {
    canvas().panBy(QPointF(step(rng), step(rng)));
    if (i % 8 == 7) {
      const QImage redrawn = wholeRedraw();
      ASSERT_EQ(redrawn.size(), canvas().frame().size());
      EXPECT_LE(differing(canvas().frame(), redrawn), redrawn.width() * redrawn.height() / 2000)
          << "pan " << i;
    }
  }
  EXPECT_EQ(canvas().regenerations(), regenerations) << "pans only moved the picture";
  EXPECT_GT(canvas().scrolls(), 30);

  const QPoint at(200, 150);
  QWheelEvent wheel(QPointF(at), canvas().mapToGlobal(QPointF(at)), QPoint(), QPoint(0, -240), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(&canvas(), &wheel);
  const QImage preview = canvas().shownPicture();
  EXPECT_EQ(canvas().regenerations(), regenerations) << "the wheel's preview is the kept picture scaled";
  canvas().settle();
  EXPECT_EQ(canvas().regenerations(), regenerations + 1);
  const QImage redrawn = wholeRedraw();
  EXPECT_EQ(differing(canvas().frame(), redrawn), 0);
  // The preview shows the drawing where the redraw puts it, only coarser.
  EXPECT_LE(differing(preview, redrawn), redrawn.width() * redrawn.height() / 20);
}

}  // namespace
}  // namespace gui_test
