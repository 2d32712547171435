#pragma once
// What the window's tests share: a new drawing and the whole window (offscreen), driven by
// steps that each answer one waiting prompt, and screenshots compared with committed pictures.
#include <gtest/gtest.h>

#include <QImage>
#include <QPoint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gui/Desktop.h"
#include "zcad/ge/ZcGePoint3d.h"

namespace vtcad::gui {
class MainWindow;
class DrawingCanvas;
}  // namespace vtcad::gui

namespace gui_test {

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Runs the window's command loop; each step runs when a prompt waits (with nothing typed
  // ahead) and should answer it. After the last step the window is closed.
  void drive(std::vector<std::function<void()>> steps);

  // Types `text` into the command line and ends it with `end` (Enter unless told).
  void type(const QString& text, int end = 0);
  // The canvas pixel of a world point, and a click there.
  QPoint pixelOf(const ZcGePoint3d& world) const;
  void clickAt(const ZcGePoint3d& world);
  std::string transcript() const;

  vtcad::gui::MainWindow& window() const;
  vtcad::gui::DrawingCanvas& canvas() const;

  std::unique_ptr<vtcad::gui::Desktop> desktop_;
};

// The entities of model space that are not erased, in drawing order.
std::vector<ZcDbObjectId> modelSpaceEntities();

// Compares `actual` with golden/<name>.png: the same size, and at most `share` of the pixels
// off by more than a small amount per channel (fonts may differ in their last bits). With
// VTCAD_UPDATE_GOLDENS=1 the picture is written as the new golden instead.
::testing::AssertionResult matchesGolden(const QImage& actual, const std::string& name, double share = 0.002);

}  // namespace gui_test
