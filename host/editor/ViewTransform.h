#pragma once
// The current view: which part of the drawing the screen shows. SCREENSIZE pixels (w x h) show
// VIEWSIZE drawing units high around VIEWCTR; pixel (0, 0) is the top left and y grows
// downwards. The view is read from the drawing's "*Active" viewport record each time (nothing
// is cached or created): its centre and height, and its display coordinate system (origin at
// the target, z toward the viewer, turned by the twist), which for a plan view is the world.
#include "zcad/ge/ZcGeMatrix3d.h"
#include "zcad/ge/ZcGePoint2d.h"
#include "zcad/ge/ZcGePoint3d.h"

class ZcDbDatabase;

namespace vtcad::editor {

// Pixels of the screen the view fills (SCREENSIZE).
struct ScreenSize {
  int width = 0;
  int height = 0;
};

class ViewTransform {
 public:
  // The working drawing's view on a screen of SCREENSIZE pixels.
  static ViewTransform current();
  // The view of `db`'s "*Active" record. A null drawing, one without the record, or one whose
  // record cannot be read now (open for write elsewhere) shows the view of a new drawing.
  static ViewTransform of(const ZcDbDatabase* db, ScreenSize screen);

  // `center` in display coordinates, `height` > 0 in drawing units, a screen of at least one
  // pixel each way. A non-positive or non-finite height takes the new drawing's.
  ViewTransform(const ZcGePoint2d& center, double height, ScreenSize screen,
                const ZcGeMatrix3d& displayToWorld = ZcGeMatrix3d::kIdentity);

  // The centre of the view in world coordinates (VIEWCTR) and its height (VIEWSIZE).
  ZcGePoint3d center() const;
  double height() const { return height_; }
  ScreenSize screen() const { return screen_; }
  // Display coordinates to world and back (orthonormal: no scaling).
  const ZcGeMatrix3d& displayToWorld() const { return displayToWorld_; }
  ZcGeMatrix3d worldToDisplay() const;

  // The world point at a pixel position (fractions allowed: pixel centres are whole numbers),
  // in the plane of the view through its target.
  ZcGePoint3d worldAt(double px, double py) const;
  // The pixel position of a world point (projected along the view direction), unrounded.
  ZcGePoint2d pixelOf(const ZcGePoint3d& world) const;

 private:
  // Drawing units per pixel.
  double unitsPerPixel() const { return height_ / screen_.height; }

  ZcGePoint2d center_;
  double height_;
  ScreenSize screen_;
  ZcGeMatrix3d displayToWorld_;
};

}  // namespace vtcad::editor
