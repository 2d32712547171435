#pragma once
// DrawingCanvas: the drawing in the window, drawn by the same renderer as the picture files
// (render::renderDrawing into an image the widget shows), so what the tests compare is what
// the user sees. It regenerates when the drawing, its view, the colours, the grid or the
// widget's size changed; pans (middle drag), zooms about the cursor (wheel), and answers the
// waiting prompt with the mouse: a click gives the point under it (a pick at "Select objects",
// the corners of implied windows), with a rubber band from the prompt's base point, and the
// entities of a selection in progress are highlighted; at the second point of a move or copy
// the entities it moves follow the cursor.
//
// Pans and zooms stay quick on large drawings: a pan moves the kept picture by whole pixels
// and draws only the strips it uncovers; a wheel zoom shows the kept picture scaled until the
// wheel has rested for a moment, then draws the view anew.
#include <QImage>
#include <QPoint>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "editor/ViewTransform.h"
#include "zcad/ge/ZcGePoint3d.h"

class ZcDbDatabase;

namespace vtcad::render {
struct RenderOptions;
}  // namespace vtcad::render

namespace vtcad::gui {

class DrawingCanvas : public QWidget {
 public:
  explicit DrawingCanvas(QWidget* parent = nullptr);

  // Regenerates if anything drawn changed and repaints.
  void refresh();
  // The picture of the drawing as last regenerated (without the band and highlight).
  const QImage& frame() const { return frame_; }
  // The picture as the widget paints it now: the frame, or the zoom preview, with the
  // highlight of a selection in progress (without the band).
  QImage shownPicture();
  // The current view on this widget's pixels.
  editor::ViewTransform view() const;

  // Zooms by `factor` (> 1 shows more) keeping the world point under `pixel` where it is.
  void zoomAbout(double factor, QPointF pixel);
  // Moves the drawing by `pixels` on screen.
  void panBy(QPointF pixels);

  // A point for the waiting prompt, as typed text ("12.5,30").
  std::function<void(const std::wstring&)> onPoint;
  // The world point under the cursor moved.
  std::function<void(const ZcGePoint3d&)> onCursor;
  // Whole regenerations so far, and pictures made by moving the kept one (tests, the bench).
  long regenerations() const { return regenerations_; }
  long scrolls() const { return scrolls_; }
  // Ends a zoom preview now: the view is drawn anew (the wheel's rest does it otherwise).
  void settle();

  // A prompt began to wait: a drag's release waiting for the corner prompt answers it.
  void promptStarted();

  // The text a click at `pixel` types (the world point, as many digits as the zoom needs).
  std::wstring pointText(QPointF pixel) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  struct FrameKey {
    const ZcDbDatabase* db = nullptr;
    std::uint64_t changes = 0;
    double centerX = 0, centerY = 0, height = 0;
    int width = 0, heightPx = 0;
    std::uint32_t background = 0;
    bool grid = false;
    double gridX = 0, gridY = 0;
    bool operator==(const FrameKey&) const = default;
  };
  FrameKey currentKey() const;
  static render::RenderOptions optionsOf(const FrameKey& key);
  void regenerate(const FrameKey& key);
  // Whether the drawing shown by `key` is the one of the kept picture, in another view.
  bool onlyTheViewMoved(const FrameKey& key) const;
  // Makes the picture of `key` by moving the kept one and drawing what it uncovers; false
  // when that cannot give the same picture (another scale, a shift of a fraction of a pixel,
  // more than half the picture).
  bool scrollTo(const FrameKey& key);
  void paintHighlight(QImage& image) const;
  void paintDragged(QImage& image) const;
  void paintBand(class QPainter& painter) const;

  QImage frame_;
  std::optional<FrameKey> frameKey_;
  std::optional<editor::ViewTransform> frameView_;
  long regenerations_ = 0;
  long scrolls_ = 0;
  // A wheel zoom shows the kept picture scaled until the timer ends the preview.
  bool previewing_ = false;
  class QTimer* settleTimer_ = nullptr;
  // Fractions of a pixel a pan has not moved yet, so that pans move whole pixels.
  QPointF panRest_;
  std::optional<QPointF> cursor_;
  std::optional<QPointF> panFrom_;
  std::optional<QPointF> leftPressedAt_;
  std::optional<QPointF> pendingCorner_;
};

}  // namespace vtcad::gui
