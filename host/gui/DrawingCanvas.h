#pragma once
// DrawingCanvas: the drawing in the window, drawn by the same renderer as the picture files
// (render::renderDrawing into an image the widget shows), so what the tests compare is what
// the user sees. It regenerates when the drawing, its view, the colours, the grid or the
// widget's size changed; pans (middle drag), zooms about the cursor (wheel), and answers the
// waiting prompt with the mouse: a click gives the point under it (a pick at "Select objects",
// the corners of implied windows), with a rubber band from the prompt's base point, and the
// entities of a selection in progress are highlighted.
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

namespace vtcad::gui {

class DrawingCanvas : public QWidget {
 public:
  explicit DrawingCanvas(QWidget* parent = nullptr);

  // Regenerates if anything drawn changed and repaints.
  void refresh();
  // The picture of the drawing as last regenerated (without the band and highlight).
  const QImage& frame() const { return frame_; }
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
  // Regenerations so far and the time of the last one (tests, the bench).
  long regenerations() const { return regenerations_; }

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
  void regenerate(const FrameKey& key);
  void paintHighlight(QImage& image) const;
  void paintBand(class QPainter& painter) const;

  QImage frame_;
  std::optional<FrameKey> frameKey_;
  long regenerations_ = 0;
  std::optional<QPointF> cursor_;
  std::optional<QPointF> panFrom_;
  std::optional<QPointF> leftPressedAt_;
  std::optional<QPointF> pendingCorner_;
};

}  // namespace vtcad::gui
