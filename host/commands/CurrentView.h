#pragma once
// The current view of a drawing: the part of model space its "*Active" viewport record shows,
// as a centre and a height and width in drawing units (plan view: the centre is a world XY
// point). ZOOM changes it; the view system variables (VIEWCTR, VIEWSIZE) read it.
//
// Self-contained on purpose (only the database headers): other host modules may use it.
#include "zcad/ZcadErrorStatus.h"
#include "zcad/ge/ZcGePoint2d.h"

class ZcDbDatabase;

namespace vtcad::commands {

struct ViewArea {
  // A new drawing shows 0..420 x 0..297 (an A3 sheet in millimetres).
  ZcGePoint2d center{210.0, 148.5};
  double height = 297.0;
  double width = 420.0;

  // Width over height; 1 for a degenerate view.
  double aspect() const { return height > 0.0 && width > 0.0 ? width / height : 1.0; }
};

// The view of the drawing's "*Active" viewport record. A drawing without the record (a file
// that had none) answers the view of a new drawing; reading never adds the record.
// eNullObjectId for a null database, or the status of opening the viewport table.
Zcad::ErrorStatus getCurrentView(ZcDbDatabase* db, ViewArea& view);

// Writes the view into "*Active", adding the record (with the defaults of a new drawing
// before the change) when the drawing has none. eInvalidInput, and nothing changed, for a
// centre that is not finite or a height or width that is not finite and positive.
Zcad::ErrorStatus setCurrentView(ZcDbDatabase* db, const ViewArea& view);
// Same with the centre and height only: the width follows the record's aspect ratio.
Zcad::ErrorStatus setCurrentView(ZcDbDatabase* db, const ZcGePoint2d& center, double height);

}  // namespace vtcad::commands
