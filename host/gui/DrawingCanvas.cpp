#include "gui/DrawingCanvas.h"

#include <cairo.h>

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
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
#include "render/Canvas.h"
#include "render/DisplayColors.h"
#include "render/DrawingRenderer.h"
#include "render/SessionGrid.h"
#include "zcad/db/ZcDbDatabase.h"

namespace vtcad::gui {
namespace {

// A press and release this many pixels apart are a drag, not a click.
constexpr double kDragPixels = 5.0;
// The zoom of one wheel notch (120 eighths of a degree).
constexpr double kWheelZoom = 1.25;
// How long the wheel rests before a zoom preview is drawn anew.
constexpr int kWheelRestMs = 150;

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

// Draws the entities `ids` alone in `view` and hands each pixel they cover to
// `over(x, y, colour)`, for marks painted over the kept picture (highlight, dragging).
template <typename Over>
void overEntities(const QImage& image, const editor::ViewTransform& view,
                  const std::vector<ZcDbObjectId>& ids, Over over) {
  const std::unordered_set<ZcDbObjectId> only(ids.begin(), ids.end());
  render::RenderOptions options;
  options.background = render::modelBackground();
  options.only = &only;
  QImage drawn(image.size(), QImage::Format_RGB32);
  renderInto(drawn, zcdbCurDwg(), view, options);
  const QRgb background = qRgb(options.background.red, options.background.green, options.background.blue);
  for (int y = 0; y < drawn.height(); ++y) {
    const auto* from = reinterpret_cast<const QRgb*>(drawn.constScanLine(y));
    for (int x = 0; x < drawn.width(); ++x) {
      if ((from[x] | 0xff000000u) != (background | 0xff000000u)) over(x, y, from[x]);
    }
  }
}

}  // namespace

DrawingCanvas::DrawingCanvas(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setCursor(Qt::CrossCursor);
  setFocusPolicy(Qt::ClickFocus);
  setMinimumSize(64, 48);
  settleTimer_ = new QTimer(this);
  settleTimer_->setSingleShot(true);
  settleTimer_->setInterval(kWheelRestMs);
  connect(settleTimer_, &QTimer::timeout, this, [this] { settle(); });
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
  const render::GridStyle grid = render::sessionGrid();
  key.grid = grid.shown;
  key.gridX = grid.spacingX;
  key.gridY = grid.spacingY;
  return key;
}

// What the picture of `key` is drawn with: its background and grid, as the key read them.
render::RenderOptions DrawingCanvas::optionsOf(const FrameKey& key) {
  render::RenderOptions options;
  options.background = render::fromColorRef(key.background);
  options.grid = render::GridStyle{key.grid, key.gridX, key.gridY};
  return options;
}

bool DrawingCanvas::onlyTheViewMoved(const FrameKey& key) const {
  if (!frameKey_ || frameKey_->db != key.db) return false;
  if (frameKey_->changes == key.changes) return true;
  const ZcDbDatabaseImpl* impl = ZcDbDatabaseImpl::of(zcdbCurDwg());
  return impl && impl->onlyViewsChangedSince(frameKey_->changes);
}

bool DrawingCanvas::scrollTo(const FrameKey& key) {
  if (!frameKey_ || !frameView_ || frame_.isNull()) return false;
  const FrameKey& kept = *frameKey_;
  if (kept.width != key.width || kept.heightPx != key.heightPx || kept.height != key.height ||
      kept.background != key.background || kept.grid != key.grid || kept.gridX != key.gridX ||
      kept.gridY != key.gridY || !onlyTheViewMoved(key)) {
    return false;
  }
  const editor::ViewTransform now = view();
  if (now.displayToWorld() != frameView_->displayToWorld()) return false;
  // Where the kept picture's corner is now: a whole number of pixels away, or no scroll.
  const ZcGePoint2d corner = now.pixelOf(frameView_->worldAt(0.0, 0.0));
  const long dx = std::lround(corner.x), dy = std::lround(corner.y);
  constexpr double kWholePixel = 1e-3;
  if (std::fabs(corner.x - static_cast<double>(dx)) > kWholePixel ||
      std::fabs(corner.y - static_cast<double>(dy)) > kWholePixel || 2 * std::labs(dx) > key.width ||
      2 * std::labs(dy) > key.heightPx) {
    return false;
  }
  if (dx == 0 && dy == 0) return true;
  const int sx = static_cast<int>(dx), sy = static_cast<int>(dy);
  QImage next(frame_.size(), QImage::Format_RGB32);
  QPainter painter(&next);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.drawImage(sx, sy, frame_);
  const render::RenderOptions options = optionsOf(key);
  const double unitsPerPixel = now.height() / key.heightPx;
  // Each uncovered strip is drawn as a picture of its own, its view the part of the whole
  // one it shows; the renderer's culling keeps the cost to what lies in it.
  auto drawStrip = [&](const QRect& strip) {
    if (strip.isEmpty()) return;
    const ZcGePoint3d middle =
        now.worldToDisplay() * now.worldAt(strip.x() + strip.width() / 2.0, strip.y() + strip.height() / 2.0);
    const editor::ViewTransform part(ZcGePoint2d(middle.x, middle.y), unitsPerPixel * strip.height(),
                                     editor::ScreenSize{strip.width(), strip.height()}, now.displayToWorld());
    QImage picture(strip.size(), QImage::Format_RGB32);
    renderInto(picture, zcdbCurDwg(), part, options);
    painter.drawImage(strip.topLeft(), picture);
  };
  const int w = key.width, h = key.heightPx;
  const int columns = std::abs(sx), rows = std::abs(sy);
  drawStrip(QRect(sx > 0 ? 0 : w - columns, 0, columns, h));
  drawStrip(QRect(sx > 0 ? columns : 0, sy > 0 ? 0 : h - rows, w - columns, rows));
  painter.end();
  frame_ = std::move(next);
  return true;
}

void DrawingCanvas::regenerate(const FrameKey& key) {
  if (scrollTo(key)) {
    ++scrolls_;
  } else {
    if (frame_.width() != key.width || frame_.height() != key.heightPx) {
      frame_ = QImage(key.width, key.heightPx, QImage::Format_RGB32);
    }
    renderInto(frame_, zcdbCurDwg(), view(), optionsOf(key));
    ++regenerations_;
  }
  frameKey_ = key;
  frameView_ = view();
}

void DrawingCanvas::refresh() {
  const FrameKey key = currentKey();
  // A zoom preview lasts while only the view changes; anything else is drawn now.
  if (previewing_ && !onlyTheViewMoved(key)) previewing_ = false;
  if (!previewing_ && (!frameKey_ || !(*frameKey_ == key))) regenerate(key);
  update();
}

void DrawingCanvas::settle() {
  settleTimer_->stop();
  if (!previewing_) return;
  previewing_ = false;
  refresh();
}

void DrawingCanvas::paintHighlight(QImage& image) const {
  const std::vector<ZcDbObjectId>* selected = editor::waitingPrompt().selected;
  if (!selected || selected->empty()) return;
  // The chosen entities' pixels become dashes of the highlight colour over their own colour.
  const QRgb highlight = highlightColor().rgb();
  overEntities(image, view(), *selected, [&](int x, int y, QRgb) {
    if (((x + y) / 4) % 2 == 0) reinterpret_cast<QRgb*>(image.scanLine(y))[x] = highlight;
  });
}

void DrawingCanvas::paintDragged(QImage& image) const {
  const editor::WaitingPrompt& waiting = editor::waitingPrompt();
  if (!waiting.dragged || waiting.dragged->empty() || waiting.band != editor::WaitingPrompt::Band::kLine ||
      !cursor_) {
    return;
  }
  // The entities drawn where the cursor takes them: a view moved the other way by the
  // displacement shows them displaced, and their pixels go over the picture.
  const editor::ViewTransform shown = view();
  const ZcGeVector3d moved = shown.worldAt(cursor_->x(), cursor_->y()) - waiting.base;
  const ZcGePoint3d center = shown.worldToDisplay() * (shown.center() - moved);
  const editor::ViewTransform displaced(ZcGePoint2d(center.x, center.y), shown.height(), shown.screen(),
                                        shown.displayToWorld());
  overEntities(image, displaced, *waiting.dragged,
               [&](int x, int y, QRgb colour) { reinterpret_cast<QRgb*>(image.scanLine(y))[x] = colour; });
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

QImage DrawingCanvas::shownPicture() {
  const FrameKey key = currentKey();
  if (previewing_ && frameView_ && frameKey_ && frameKey_->width == key.width &&
      frameKey_->heightPx == key.heightPx && onlyTheViewMoved(key)) {
    // The kept picture scaled and moved to the new view: quick, a little coarse, until the
    // wheel rests.
    const editor::ViewTransform now = view();
    const ZcGePoint2d corner = now.pixelOf(frameView_->worldAt(0.0, 0.0));
    const double scale = frameView_->height() / now.height();
    QImage shown(frame_.size(), QImage::Format_RGB32);
    const render::Rgb background = render::fromColorRef(key.background);
    shown.fill(QColor(background.red, background.green, background.blue));
    QPainter painter(&shown);
    painter.drawImage(QRectF(corner.x, corner.y, frame_.width() * scale, frame_.height() * scale), frame_);
    return shown;
  }
  if (!frameKey_ || !(*frameKey_ == key)) regenerate(key);
  QImage shown = frame_;
  paintHighlight(shown);
  paintDragged(shown);
  return shown;
}

void DrawingCanvas::paintEvent(QPaintEvent*) {
  const QImage shown = shownPicture();
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
  // Whole pixels, so that the kept picture can be moved; the rest waits for the next move.
  const QPointF wanted = pixels + panRest_;
  const QPointF whole(std::round(wanted.x()), std::round(wanted.y()));
  panRest_ = wanted - whole;
  if (whole.isNull()) return;
  const editor::ViewTransform shown = view();
  const double cx = 0.5 * shown.screen().width, cy = 0.5 * shown.screen().height;
  const ZcGePoint3d now = shown.worldAt(cx, cy);
  const ZcGePoint3d then = shown.worldAt(cx - whole.x(), cy - whole.y());
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
    previewing_ = frameKey_.has_value();
    settleTimer_->start();
    zoomAbout(std::pow(kWheelZoom, -event->angleDelta().y() / 120.0), event->position());
  }
  event->accept();
}

void DrawingCanvas::leaveEvent(QEvent*) {
  cursor_.reset();
  update();
}

}  // namespace vtcad::gui
