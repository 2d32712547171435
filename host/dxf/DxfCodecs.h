#pragma once
// The codecs of the record types the host understands, one file each (DxfLine.cpp, ...).
#include "dxf/DxfCodec.h"

namespace vtcad::dxf {

// Entities.
const ObjectCodec& lineCodec();
const ObjectCodec& arcCodec();
const ObjectCodec& circleCodec();
const ObjectCodec& ellipseCodec();
const ObjectCodec& pointCodec();
const ObjectCodec& splineCodec();
const ObjectCodec& helixCodec();
const ObjectCodec& lwPolylineCodec();
// POLYLINE and VERTEX read with the first codec of each pair; the second writes the 3-D class.
const ObjectCodec& polylineCodec();
const ObjectCodec& polyline3dCodec();
const ObjectCodec& vertexCodec();
const ObjectCodec& vertex3dCodec();
const ObjectCodec& sequenceEndCodec();
const ObjectCodec& textCodec();
const ObjectCodec& mtextCodec();
const ObjectCodec& insertCodec();
const ObjectCodec& hatchCodec();

// Symbol table records.
const ObjectCodec& layerCodec();
const ObjectCodec& linetypeCodec();
const ObjectCodec& textStyleCodec();
const ObjectCodec& viewportCodec();
const ObjectCodec& viewCodec();
const ObjectCodec& ucsCodec();
const ObjectCodec& regAppCodec();
const ObjectCodec& dimStyleCodec();
const ObjectCodec& blockRecordCodec();

// Objects.
const ObjectCodec& dictionaryCodec();
const ObjectCodec& xrecordCodec();

// The entity codecs a second reading or writing thread uses on its own (lines, arcs, circles,
// ellipses, points, splines, lightweight polylines, texts, block references): reading and
// writing them needs nothing of the database but the names and handles of other records.
std::span<const ObjectCodec* const> secondThreadCodecs();

// Objects of classes a plug-in registered (read and written through the class's own
// dxfInFields / dxfOutFields); null for the host's own classes.
const ObjectCodec* pluginObjectCodec(ZcRxClass* cls);

}  // namespace vtcad::dxf
