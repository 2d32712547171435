#pragma once
// LinetypeStyles: the dash patterns of a drawing's linetypes, read once each per picture, and
// the drawing-wide settings that turn them and lineweights into pixels.
//
// A pattern is the record's dash lengths in drawing units: positive draws, negative is a gap,
// zero a dot. Dashes that embed a text or a shape keep their length; the text or shape is not
// drawn (the dash shows as a gap when its length is negative, as most are). "ByLayer" and
// "ByBlock" are recognised by name; a record without dashes, or one that cannot be opened,
// is continuous.
#include <string>
#include <unordered_map>
#include <vector>

#include "zcad/db/ZcDb.h"
#include "zcad/db/ZcDbObjectId.h"

class ZcDbDatabase;

namespace vtcad::render {

struct Linetype {
  enum class Kind { kContinuous, kByLayer, kByBlock, kDashed };
  Kind kind = Kind::kContinuous;
  std::vector<double> dashes;  // drawing units, for kDashed
  double length = 0.0;         // of one repetition
};

class LinetypeStyles {
 public:
  const Linetype& of(ZcDbObjectId linetypeId);

 private:
  std::unordered_map<ZcDbObjectId, Linetype> cache_;
};

// Header settings the picture applies to every entity.
struct LineSettings {
  double ltscale = 1.0;    // LTSCALE
  bool lwdisplay = false;  // LWDISPLAY: lineweights shown, else every line is thin
  int lwdefault = 25;      // LWDEFAULT, hundredths of a millimetre
};

LineSettings lineSettingsOf(const ZcDbDatabase* db);

// Pixels per millimetre of lineweight: a 96 dpi screen.
inline constexpr double kLineweightPixelsPerMm = 96.0 / 25.4;

// The pixel width of a lineweight that is neither ByLayer nor ByBlock (Default is LWDEFAULT);
// 0 when lineweights are not shown.
double lineweightPixels(ZcDb::LineWeight weight, const LineSettings& settings);

}  // namespace vtcad::render
