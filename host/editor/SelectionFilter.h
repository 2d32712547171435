#pragma once
// SelectionFilter: whether an entity passes a selection filter, the chain of result buffers
// a plug-in hands to the selection functions (built with zcutBuildList).
//
// Groups an entity is tested on:
//   0   entity type, its DXF name ("LINE", "LWPOLYLINE", "POLYLINE", "INSERT", ...) from the
//       entity's runtime class (the nearest class up its parents that has one)
//   8   layer name
//   6   linetype name ("ByLayer", "ByBlock", or a linetype's name)
//   62  colour number (0 ByBlock, 1..255, 256 ByLayer)
//   67  space: 0 model space, 1 paper space
// Names are wildcard patterns (zcutWcMatch: "WALL*,DOOR" is either) compared without case,
// as CAD hosts compare names: both sides are upper-cased first.
//
// The items of the chain must all pass. -4 groups combine them: "<AND" ... "AND>" (all),
// "<OR" ... "OR>" (any), "<XOR" ... "XOR>" (exactly one of two), "<NOT" ... "NOT>" (not
// the one inside); they nest, and their names are read without case. AND and OR need at
// least one operand, XOR exactly two, NOT exactly one. A -4 group with a relational
// operator ("=", "!=", "/=", "<>", "<", "<=", ">", ">=", "*") compares the number of the
// group that follows (62, 67) instead of testing it for equality; before a name group only
// "=", "*" and the unequal forms mean something ("*" passes anything).
//
// Any other group code (points, handles, extended data, ...) is not one this host filters
// on: such an item does not pass, so a chain that needs it takes nothing. A chain whose -4
// groups do not pair up, hold the wrong number of operands or name an unknown operator is
// malformed: the caller answers RTERROR.
#include "zcad/zds.h"

class ZcDbEntity;

namespace vtcad::editor {

enum class FilterShape { kWellFormed, kMalformed };
enum class FilterResult { kMatch, kNoMatch, kMalformed };

// Checks the -4 structure alone (no entity needed). A null chain is well formed.
FilterShape checkFilter(const resbuf* filter);
// A null chain passes every entity. The entity must be open for read.
FilterResult evaluateFilter(const resbuf* filter, const ZcDbEntity& entity);

}  // namespace vtcad::editor
