#pragma once
// What the editing and view commands (ERASE, MOVE, COPY, SCALE, ROTATE, MIRROR, ZOOM, PEDIT,
// LIST) share: choosing the entities to work on, reading keywords, printing numbers the way
// the command line shows them, and changing entities with the open-for-the-shortest-time
// discipline of the database. Everything here talks to the user only through zced* calls.
//
// Coordinates: points from the prompts are taken as world coordinates (the host has no user
// coordinate systems yet).
#include <string>
#include <string_view>
#include <vector>

#include "zcad/db/ZcDbObjectId.h"
#include "zcad/ge/ZcGeMatrix3d.h"
#include "zcad/ge/ZcGePoint3d.h"
#include "zcad/ge/ZcGeVector3d.h"
#include "zcad/zds.h"

class ZcDbDatabase;

namespace vtcad::commands {

ZcGePoint3d fromZds(const zds_point point);
void toZds(const ZcGePoint3d& point, zds_point out);

// Why the entities are chosen: commands that change them leave out those on locked layers
// (and say how many), commands that only read or copy them keep every one.
enum class SelectFor { kReading, kChanging };

// The interactive "Select objects:" of the host (picks, windows, ALL, Previous, ... until
// Enter). False when nothing usable was chosen or the user cancelled; `ids` then is empty.
bool selectEntities(std::vector<ZcDbObjectId>& ids, SelectFor purpose);
// The entity ids of a selection set, in its order (names that are not entities are passed
// over).
std::vector<ZcDbObjectId> selectionSetIds(const zds_name set);
// Leaves out the entities whose layer is locked and prints "N was/were on a locked layer.".
void dropEntitiesOnLockedLayers(std::vector<ZcDbObjectId>& ids);

// True when `typed` (the text of an RTKWORD answer) names `keyword`: the whole keyword or any
// abbreviation at least as long as its leading capitals ("W", "Wi" for "Width"; "LT" for
// "LType"), without regard to case. A leading "_" (the global form) is ignored.
bool keywordIs(std::wstring_view typed, std::wstring_view keyword);
// The text of the last keyword answer (zcedGetInput), empty when there is none.
std::wstring lastKeyword();

// System variables of the command line: the value, or `fallback` when the host does not know
// the variable or it has another type.
int shortVariable(const ZTCHAR* name, int fallback);
double realVariable(const ZTCHAR* name, double fallback);

// Prints a line (or several) on the command line; `text` should end with "\n".
void print(std::wstring_view text);
// Numbers as the command line shows them: lengths with LUPREC decimals (4 when the variable
// is unknown), angles in degrees with AUPREC decimals (0 when unknown). Never "-0".
std::wstring formatReal(double value);
std::wstring formatReal(double value, int decimals);
std::wstring formatAngle(double radians);
// "X=1.0000  Y=2.0000  Z=0.0000".
std::wstring formatPoint(const ZcGePoint3d& point);
// "1 object" / "3 objects".
std::wstring countOf(std::size_t count, std::wstring_view singular, std::wstring_view plural);

// How an edit of several entities went: entities changed, and those that could not be
// (erased meanwhile, open elsewhere, or of a kind that refuses the change).
struct EditCount {
  int done = 0;
  int refused = 0;
};
// Applies `xform` to each entity in place.
EditCount transformEntities(const std::vector<ZcDbObjectId>& ids, const ZcGeMatrix3d& xform);
// Appends a transformed copy of each entity to the block that owns it; the ids of the new
// entities are appended to `copies` when it is not null.
EditCount copyEntities(const std::vector<ZcDbObjectId>& ids, const ZcGeMatrix3d& xform,
                       std::vector<ZcDbObjectId>* copies);
EditCount eraseEntities(const std::vector<ZcDbObjectId>& ids);
// "2 objects could not be rotated." (nothing for 0).
void reportRefused(int refused, std::wstring_view pastParticiple);

// "Specify displacement <dx, dy, dz>:" of MOVE and COPY: a point taken as a vector from the
// origin; Enter takes the last displacement given (zero at first). False when cancelled.
bool askDisplacement(ZcGeVector3d& displacement);

// The drawing the commands work on; prints a message and answers null when there is none.
ZcDbDatabase* workingDrawing();

}  // namespace vtcad::commands
