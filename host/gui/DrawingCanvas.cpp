#include "gui/DrawingCanvas.h"

#include <cairo.h>

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <cwchar>
#include <unordered_set>

#include "commands/CurrentView.h"
#include "commands/Document.h"
#include "database/ZcDbDatabaseImpl.h"
#include "editor/SystemVariables.h"
#include "editor/WaitingPrompt.h"
#include "gui/SessionLook.h"
#include "render/Canvas.h"
#include "render/DisplayColors.h"
#include "render/DrawingRenderer.h"
#include "zcad/db/ZcDbDatabase.h"

namespace vtcad::gui {
namespace {

// A press and release this many pixels apart are a drag, not a click.
constexpr double kDragPixels = 5.0;
// The zoom of one wheel notch (120 eighths of a degree).
constexpr double kWheelZoom = 1.25;

// Draws with the renderer straight into the image's pixels: Cairo's RGB24 and Qt's RGB32 are
// the same 0xffRRGGBB words.
void renderInto(QImage& image, ZcDbDatabase* db, const editor::ViewTransform& view,
                const render::RenderOptions& options) {
  cairo_surface_t* surface =
      cairo_image_surface_create_for_data(image.bits(), CAIRO_FORMAT_RGB24, image.width(), image.height(),
                                          static_cast<int>(image.bytesPerLine()));
  cairo_t* cr = cairo_create(surface);
  {
    render::Canvas canvas(cr, image.width(), image.height());
    render::renderDrawing(db, view, canvas, options);
  }
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  cairo_surface_destroy(surface);
}

QColor highlightColor() { return QColor(0x33, 0x99, 0xff); }

}  // namespace

DrawingCanvas::DrawingCanvas(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setCursor(Qt::CrossCursor);
  setFocusPolicy(Qt::ClickFocus);
  setMinimumSize(64, 48);
}

editor::ViewTransform DrawingCanvas::view() const {
  return editor::ViewTransform::of(zcdbCurDwg(),
                                   editor::ScreenSize{std::max(1, width()), std::max(1, height())});
}

DrawingCanvas::FrameKey DrawingCanvas::currentKey() const {
  FrameKey key;
  ZcDbDatabase* db = zcdbCurDwg();
  key.db = db;
  if (const ZcDbDatabaseImpl* impl = ZcDbDatabaseImpl::of(db)) key.changes = impl->changes;
  const editor::ViewTransform shown = view();
  key.centerX = shown.center().x;
  key.centerY = shown.center().y;
  key.height = shown.height();
  key.width = std::max(1, width());
  key.heightPx = std::max(1, height());
  key.background = render::toColorRef(render::modelBackground());
  const render::GridStyle grid = sessionGrid();
  key.grid = grid.shown;
  key.gridX = grid.spacingX;
  key.gridY = grid.spacingY;
  return key;
}

void DrawingCanvas::regenerate(const FrameKey& key) {
  if (frame_.width() != key.width || frame_.height() != key.heightPx) {
    frame_ = QImage(key.width, key.heightPx, QImage::Format_RGB32);
  }
  render::RenderOptions options;
  options.background = render::fromColorRef(key.background);
  options.grid = sessionGrid();
  renderInto(frame_, zcdbCurDwg(), view(), options);
  frameKey_ = key;
  ++regenerations_;
}

void DrawingCanvas::refresh() {
  const FrameKey key = currentKey();
  if (!frameKey_ || !(*frameKey_ == key)) regenerate(key);
  update();
}

void DrawingCanvas::paintHighlight(QImage& image) const {
  const std::vector<ZcDbObjectId>* selected = editor::waitingPrompt().selected;
  if (!selected || selected->empty()) return;
  const std::unordered_set<ZcDbObjectId> only(selected->begin(), selected->end());
  render::RenderOptions options;
  options.background = render::modelBackground();
  options.only = &only;
  QImage chosen(image.size(), QImage::Format_RGB32);
  renderInto(chosen, zcdbCurDwg(), view(), options);
  // The chosen entities' pixels become dashes of the highlight colour over their own colour.
  const QRgb background = qRgb(options.background.red, options.background.green, options.background.blue);
  const QRgb highlight = highlightColor().rgb();
  for (int y = 0; y < chosen.height(); ++y) {
    const auto* from = reinterpret_cast<const QRgb*>(chosen.constScanLine(y));
    auto* to = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < chosen.width(); ++x) {
      if ((from[x] | 0xff000000u) != (background | 0xff000000u) && ((x + y) / 4) % 2 == 0) to[x] = highlight;
    }
  }
}

void DrawingCanvas::paintBand(QPainter& painter) const {
  const editor::WaitingPrompt& waiting = editor::waitingPrompt();
  if (waiting.band == editor::WaitingPrompt::Band::kNone || !cursor_) return;
  const ZcGePoint2d base = view().pixelOf(waiting.base);
  const QPointF from(base.x, base.y);
  const QPointF to = *cursor_;
  const render::Rgb background = render::modelBackground();
  const bool dark = background.red + background.green + background.blue < 3 * 128;
  if (waiting.band == editor::WaitingPrompt::Band::kLine) {
    painter.setPen(QPen(dark ? Qt::white : Qt::black, 1.0));
    painter.drawLine(from, to);
    return;
  }
  // Left to right a window (solid, blue), right to left a crossing window (dashed, green).
  const bool crossing = to.x() < from.x();
  const QColor edge = crossing ? QColor(0x40, 0xc0, 0x40) : QColor(0x40, 0x80, 0xff);
  QColor fill = edge;
  fill.setAlpha(48);
  QPen pen(edge, 1.0, crossing ? Qt::DashLine : Qt::SolidLine);
  painter.setPen(pen);
  painter.setBrush(fill);
  painter.drawRect(QRectF(from, to).normalized());
}

void DrawingCanvas::paintEvent(QPaintEvent*) {
  const FrameKey key = currentKey();
  if (!frameKey_ || !(*frameKey_ == key)) regenerate(key);
  QImage shown = frame_;
  paintHighlight(shown);
  QPainter painter(this);
  painter.drawImage(0, 0, shown);
  paintBand(painter);
}

void DrawingCanvas::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // Picks, pixel sizes and zcedCoordFromPixelToWorld work on the screen the user sees.
  editor::setScreenSize(editor::ScreenSize{std::max(1, width()), std::max(1, height())});
}

std::wstring DrawingCanvas::pointText(QPointF pixel) const {
  const editor::ViewTransform shown = view();
  const ZcGePoint3d world = shown.worldAt(pixel.x(), pixel.y());
  // Enough decimals that the next pixel gives another number, no more.
  const double unitsPerPixel = shown.height() / shown.screen().height;
  const int decimals = std::clamp(static_cast<int>(std::ceil(-std::log10(unitsPerPixel))) + 1, 0, 10);
  auto number = [decimals](double value) {
    wchar_t buffer[64];
    std::swprintf(buffer, 64, L"%.*f", decimals, value);
    std::wstring text(buffer);
    if (text.find(L'.') != std::wstring::npos) {
      while (text.back() == L'0') text.pop_back();
      if (text.back() == L'.') text.pop_back();
    }
    if (text == L"-0") text = L"0";
    return text;
  };
  return number(world.x) + L"," + number(world.y);
}

void DrawingCanvas::zoomAbout(double factor, QPointF pixel) {
  ZcDbDatabase* db = zcdbCurDwg();
  if (!db || !(factor > 0.0)) return;
  const editor::ViewTransform shown = view();
  const ZcGePoint3d fixed = shown.worldAt(pixel.x(), pixel.y());
  const ZcGePoint3d center = shown.center();
  const ZcGePoint2d newCenter(fixed.x + (center.x - fixed.x) * factor,
                              fixed.y + (center.y - fixed.y) * factor);
  commands::Document::instance().changeUnmodified(
      [&] { (void)commands::setCurrentView(db, newCenter, shown.height() * factor); });
  refresh();
}

void DrawingCanvas::panBy(QPointF pixels) {
  ZcDbDatabase* db = zcdbCurDwg();
  if (!db) return;
  const editor::ViewTransform shown = view();
  const double cx = 0.5 * (shown.screen().width - 1), cy = 0.5 * (shown.screen().height - 1);
  const ZcGePoint3d now = shown.worldAt(cx, cy);
  const ZcGePoint3d then = shown.worldAt(cx - pixels.x(), cy - pixels.y());
  const ZcGePoint3d center = shown.center();
  const ZcGePoint2d newCenter(center.x + then.x - now.x, center.y + then.y - now.y);
  commands::Document::instance().changeUnmodified(
      [&] { (void)commands::setCurrentView(db, newCenter, shown.height()); });
  refresh();
}

void DrawingCanvas::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::MiddleButton) {
    panFrom_ = event->position();
    setCursor(Qt::ClosedHandCursor);
  } else if (event->button() == Qt::LeftButton) {
    leftPressedAt_ = event->position();
  }
}

void DrawingCanvas::mouseMoveEvent(QMouseEvent* event) {
  cursor_ = event->position();
  if (panFrom_) {
    panBy(*cursor_ - *panFrom_);
    panFrom_ = cursor_;
  }
  if (onCursor) onCursor(view().worldAt(cursor_->x(), cursor_->y()));
  if (editor::waitingPrompt().band != editor::WaitingPrompt::Band::kNone) update();
}

void DrawingCanvas::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::MiddleButton) {
    panFrom_.reset();
    setCursor(Qt::CrossCursor);
    return;
  }
  if (event->button() != Qt::LeftButton || !leftPressedAt_) return;
  const QPointF pressed = *std::exchange(leftPressedAt_, std::nullopt);
  const QPointF released = event->position();
  const editor::WaitingPrompt::Wants wants = editor::waitingPrompt().wants;
  if (wants == editor::WaitingPrompt::Wants::kAnything || !onPoint) return;
  const QPointF delta = released - pressed;
  if (wants == editor::WaitingPrompt::Wants::kSelection && std::hypot(delta.x(), delta.y()) > kDragPixels) {
    // A drag at "Select objects" is a window from where it began: the corner prompt that a miss
    // there opens takes the release point (a hit takes the entity; the release is dropped).
    pendingCorner_ = released;
    onPoint(pointText(pressed));
    return;
  }
  onPoint(pointText(released));
}

void DrawingCanvas::promptStarted() {
  if (!pendingCorner_) return;
  const QPointF corner = *std::exchange(pendingCorner_, std::nullopt);
  if (editor::waitingPrompt().band == editor::WaitingPrompt::Band::kBox && onPoint)
    onPoint(pointText(corner));
}

void DrawingCanvas::wheelEvent(QWheelEvent* event) {
  // A touchpad's scroll (pixel deltas) and a sideways wheel pan; the wheel zooms about the cursor.
  if (!event->pixelDelta().isNull()) {
    panBy(QPointF(event->pixelDelta()));
  } else if (event->angleDelta().x() != 0 && event->angleDelta().y() == 0) {
    panBy(QPointF(event->angleDelta().x() / 4.0, 0.0));
  } else if (event->angleDelta().y() != 0) {
    zoomAbout(std::pow(kWheelZoom, -event->angleDelta().y() / 120.0), event->position());
  }
  event->accept();
}

void DrawingCanvas::leaveEvent(QEvent*) {
  cursor_.reset();
  update();
}

}  // namespace vtcad::gui
