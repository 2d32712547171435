// LWPOLYLINE and the old-style POLYLINE with its VERTEX and SEQEND records: R12 and R2013
// forms, handles of the vertices and end marker, fitted polylines taken as they are, meshes
// kept whole, and damaged counts, points and record sequences.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

#include "DxfTestDrawing.h"
#include "zcad/db/ZcDb2dPolyline.h"
#include "zcad/db/ZcDb2dVertex.h"
#include "zcad/db/ZcDb3dPolyline.h"
#include "zcad/db/ZcDb3dPolylineVertex.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/db/ZcDbSequenceEnd.h"
#include "zcad/ge/ZcGe.h"

using namespace vtcad::dxf;
using namespace vtcad::dxf::testing;

namespace {

// Groups from "code value code value ..." (values without blanks).
Groups groups(const std::string& text) {
  Groups result;
  std::istringstream in(text);
  int code = 0;
  std::string value;
  while (in >> code >> value) result.emplace_back(code, value);
  return result;
}

bool saysSomething(const LoadResult& r, const std::string& part) {
  return std::any_of(r.messages.begin(), r.messages.end(),
                     [&](const LoadMessage& m) { return m.text.find(part) != std::string::npos; });
}

size_t occurrences(const std::string& text, const std::string& word) {
  size_t n = 0;
  for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) ++n;
  return n;
}

std::string handleOf(ZcDbObjectId id) {
  const std::wstring text = id.handle().getIntoAsciiBuffer();
  return std::string(text.begin(), text.end());
}

// What an old-style polyline's vertices hold, in order, as one comparable text per vertex.
template <typename Polyline, typename Vertex>
std::vector<std::string> verticesOf(const Polyline& pline) {
  std::vector<std::string> result;
  ZcDbObjectIterator* it = pline.vertexIterator();
  for (it->start(); !it->done(); it->step()) {
    Vertex* v = nullptr;
    if (zcdbOpenObject(v, it->objectId(), ZcDb::kForRead) != Zcad::eOk) continue;
    std::ostringstream out;
    out.precision(17);
    out << handleOf(it->objectId()) << " " << v->position().x << " " << v->position().y << " "
        << v->position().z << " type " << v->vertexType();
    if constexpr (std::is_same_v<Vertex, ZcDb2dVertex>) {
      out << " bulge " << v->bulge() << " widths " << v->startWidth() << " " << v->endWidth();
    }
    result.push_back(out.str());
    v->close();
  }
  delete it;
  return result;
}
const auto vertices2d = verticesOf<ZcDb2dPolyline, ZcDb2dVertex>;
const auto vertices3d = verticesOf<ZcDb3dPolyline, ZcDb3dPolylineVertex>;

const std::string kR12Polyline =
    "0 POLYLINE 5 2A 8 0 66 1 10 0 20 0 30 5 70 1 40 0.5 41 0.5 "
    "0 VERTEX 5 2B 8 0 10 0 20 0 30 5 42 1 "
    "0 VERTEX 5 2C 8 0 10 4 20 0 30 5 40 0.25 41 0.75 "
    "0 VERTEX 5 2D 8 0 10 4 20 4 30 5 70 0 ";

}  // namespace

TEST(DxfLwPolyline, VerticesBulgesWidthsAndPlaneRoundTrip) {
  LoadResult first = mustLoad(entitiesOnly(
      groups("0 LWPOLYLINE 100 AcDbEntity 8 0 100 AcDbPolyline 90 3 70 129 38 2 39 1 "
             "10 0 20 0 40 0.5 41 1 42 0.5 10 4 20 0 10 4 20 4 42 -1 210 0 220 0 230 -1 "
             "0 LWPOLYLINE 100 AcDbEntity 8 0 100 AcDbPolyline 90 2 70 0 43 0.3 10 1 20 1 10 2 20 2")));
  ZcDbPolyline* pline = openModelSpaceEntity<ZcDbPolyline>(*first.database, 0);
  ASSERT_TRUE(pline);
  EXPECT_EQ(pline->numVerts(), 3u);
  EXPECT_TRUE(pline->isClosed());
  EXPECT_TRUE(pline->hasPlinegen());
  EXPECT_EQ(pline->thickness(), 1.0);
  // Extrusion -Z: object x is world -x, and the elevation runs down.
  ZcGePoint3d world;
  pline->getPointAt(1, world);
  EXPECT_LT(world.distanceTo(ZcGePoint3d(-4, 0, -2)), 1e-12);
  double bulge = 0.0, startWidth = 0.0, endWidth = 0.0;
  pline->getBulgeAt(2, bulge);
  EXPECT_EQ(bulge, -1.0);
  pline->getWidthsAt(0, startWidth, endWidth);
  EXPECT_EQ(startWidth, 0.5);
  EXPECT_EQ(endWidth, 1.0);
  pline->close();
  pline = openModelSpaceEntity<ZcDbPolyline>(*first.database, 1);
  ASSERT_TRUE(pline);
  double constant = 0.0;
  EXPECT_EQ(pline->getConstantWidth(constant), Zcad::eOk);
  EXPECT_EQ(constant, 0.3);
  pline->close();

  LoadResult second = saveAndLoad(*first.database);
  for (size_t i = 0; i < 2; ++i) {
    ZcDbPolyline* a = openModelSpaceEntity<ZcDbPolyline>(*first.database, i);
    ZcDbPolyline* b = openModelSpaceEntity<ZcDbPolyline>(*second.database, i);
    ASSERT_TRUE(a && b);
    ASSERT_EQ(a->numVerts(), b->numVerts());
    for (unsigned int v = 0; v < a->numVerts(); ++v) {
      ZcGePoint3d pa, pb;
      double ba = 0, bb = 0, sa = 0, sb = 0, ea = 0, eb = 0;
      a->getPointAt(v, pa);
      b->getPointAt(v, pb);
      a->getBulgeAt(v, ba);
      b->getBulgeAt(v, bb);
      a->getWidthsAt(v, sa, ea);
      b->getWidthsAt(v, sb, eb);
      EXPECT_TRUE(pa.x == pb.x && pa.y == pb.y && pa.z == pb.z && ba == bb && sa == sb && ea == eb) << i << v;
    }
    EXPECT_EQ(a->isClosed(), b->isClosed());
    EXPECT_EQ(a->normal(), b->normal());
    a->close();
    b->close();
  }
}

TEST(DxfLwPolyline, AbsurdCountsUnreadableVerticesAndEmptyPolylinesAreReported) {
  LoadResult loaded = mustRecover(
      entitiesOnly(groups("0 LWPOLYLINE 8 0 90 999999999 42 0.5 10 0 20 0 10 nan 20 1 42 2 10 3 20 0 "
                          "0 LWPOLYLINE 8 0 90 5 70 1")));
  ASSERT_EQ(modelSpaceEntities(*loaded.database).size(), 1u);
  ZcDbPolyline* pline = openModelSpaceEntity<ZcDbPolyline>(*loaded.database, 0);
  ASSERT_TRUE(pline);
  EXPECT_EQ(pline->numVerts(), 2u);
  double bulge = 1.0;
  pline->getBulgeAt(0, bulge);
  EXPECT_EQ(bulge, 0.0);  // the stray bulge before the first vertex and the lost vertex's are gone
  pline->close();
  for (const char* reason :
       {"999999999 vertices", "vertex left out", "before the first vertex", "without vertices"}) {
    EXPECT_TRUE(saysSomething(loaded, reason)) << reason;
  }
}

TEST(DxfPolyline, R12PolylineKeepsVertexHandlesBulgesWidthsAndElevation) {
  LoadResult first = mustLoad(entitiesOnly(groups(kR12Polyline + "0 SEQEND 5 2E 8 0")));
  EXPECT_TRUE(first.messages.empty()) << formatLoadMessage(first.messages.front());
  ZcDb2dPolyline* pline = openModelSpaceEntity<ZcDb2dPolyline>(*first.database, 0);
  ASSERT_TRUE(pline);
  EXPECT_TRUE(pline->isClosed());
  EXPECT_EQ(pline->elevation(), 5.0);
  EXPECT_EQ(pline->defaultStartWidth(), 0.5);
  const std::vector<std::string> vertices = vertices2d(*pline);
  EXPECT_EQ(vertices, (std::vector<std::string>{"2B 0 0 5 type 0 bulge 1 widths 0 0",
                                                "2C 4 0 5 type 0 bulge 0 widths 0.25 0.75",
                                                "2D 4 4 5 type 0 bulge 0 widths 0 0"}));
  // The first segment is a half circle of radius 2.
  double dist = 0.0;
  pline->getDistAtParam(1.0, dist);
  EXPECT_NEAR(dist, 2.0 * ZcGe::kPi, 1e-9);
  ZcDbSequenceEnd* end = nullptr;
  ASSERT_EQ(pline->openSequenceEnd(end, ZcDb::kForRead), Zcad::eOk);
  EXPECT_EQ(handleOf(end->objectId()), "2E");
  end->close();
  pline->close();

  LoadResult second = saveAndLoad(*first.database);
  EXPECT_TRUE(second.messages.empty()) << formatLoadMessage(second.messages.front());
  pline = openModelSpaceEntity<ZcDb2dPolyline>(*second.database, 0);
  ASSERT_TRUE(pline);
  EXPECT_EQ(pline->elevation(), 5.0);
  EXPECT_EQ(vertices2d(*pline), vertices);
  pline->close();
}

TEST(DxfPolyline, ThreeDimensionalAndSplineFitPolylinesAreTakenWithoutRefitting) {
  LoadResult first = mustLoad(entitiesOnly(groups(
      // R2013 3-D polyline; its second vertex lost the 3-D flag and still belongs to it.
      "0 POLYLINE 5 40 100 AcDbEntity 8 0 100 AcDb3dPolyline 66 1 10 0 20 0 30 0 70 8 "
      "0 VERTEX 5 41 100 AcDbEntity 8 0 100 AcDbVertex 100 AcDb3dPolylineVertex 10 1 20 2 30 3 70 32 "
      "0 VERTEX 5 42 8 0 10 4 20 5 30 6 70 0 "
      "0 SEQEND 5 43 100 AcDbEntity 8 0 "
      // R12 quadratic spline-fit polyline: fit vertices (8) first, then the frame (16).
      "0 POLYLINE 5 50 8 0 66 1 10 0 20 0 30 0 70 4 75 5 "
      "0 VERTEX 5 51 8 0 10 0 20 0 70 8 0 VERTEX 5 52 8 0 10 1 20 0.5 70 8 0 VERTEX 5 53 8 0 10 2 20 0 70 8 "
      "0 VERTEX 5 54 8 0 10 0 20 0 70 16 0 VERTEX 5 55 8 0 10 1 20 1 70 16 0 VERTEX 5 56 8 0 10 2 20 0 70 16 "
      "0 SEQEND 5 57 8 0")));
  ASSERT_EQ(modelSpaceEntities(*first.database).size(), 2u);
  ZcDb3dPolyline* pline3d = openModelSpaceEntity<ZcDb3dPolyline>(*first.database, 0);
  ASSERT_TRUE(pline3d);
  const std::vector<std::string> positions = vertices3d(*pline3d);
  EXPECT_EQ(positions, (std::vector<std::string>{"41 1 2 3 type 0", "42 4 5 6 type 0"}));
  pline3d->close();
  ZcDb2dPolyline* fitted = openModelSpaceEntity<ZcDb2dPolyline>(*first.database, 1);
  ASSERT_TRUE(fitted);
  EXPECT_EQ(fitted->polyType(), ZcDb::k2dQuadSplinePoly);
  const std::vector<std::string> vertices = vertices2d(*fitted);
  ASSERT_EQ(vertices.size(), 6u);
  EXPECT_EQ(vertices[1], "52 1 0.5 0 type 2 bulge 0 widths 0 0");  // a fit vertex
  EXPECT_EQ(vertices[4], "55 1 1 0 type 1 bulge 0 widths 0 0");    // a frame vertex
  // The curve shown is the file's fit vertices.
  ZcGePoint3d mid;
  fitted->getPointAtParam(1.0, mid);
  EXPECT_EQ(mid, ZcGePoint3d(1, 0.5, 0));
  fitted->close();

  LoadResult second = saveAndLoad(*first.database);
  pline3d = openModelSpaceEntity<ZcDb3dPolyline>(*second.database, 0);
  ASSERT_TRUE(pline3d);
  EXPECT_EQ(vertices3d(*pline3d), positions);
  pline3d->close();
  fitted = openModelSpaceEntity<ZcDb2dPolyline>(*second.database, 1);
  ASSERT_TRUE(fitted);
  EXPECT_EQ(fitted->polyType(), ZcDb::k2dQuadSplinePoly);
  EXPECT_EQ(vertices2d(*fitted), vertices);
  fitted->close();
}

TEST(DxfPolyline, PolyfaceMeshIsKeptWholeWithItsVertices) {
  LoadResult first = mustLoad(entitiesOnly(
      groups("0 POLYLINE 8 0 66 1 10 0 20 0 30 0 70 64 71 3 72 1 "
             "0 VERTEX 8 0 10 0 20 0 30 0 70 192 0 VERTEX 8 0 10 1 20 0 30 0 70 192 "
             "0 VERTEX 8 0 10 0 20 1 30 0 70 192 0 VERTEX 8 0 10 0 20 0 30 0 70 128 71 1 72 2 73 3 "
             "0 SEQEND 8 0")));
  ASSERT_EQ(modelSpaceEntities(*first.database).size(), 1u);
  ZcDbEntity* kept = openModelSpaceEntity<ZcDbEntity>(*first.database, 0);
  ASSERT_TRUE(kept);
  EXPECT_FALSE(ZcDb2dPolyline::cast(kept) || ZcDb3dPolyline::cast(kept));
  kept->close();
  const std::string saved = writeDxf(*first.database);
  EXPECT_EQ(occurrences(saved, "\nVERTEX\r"), 4u);
  EXPECT_EQ(occurrences(saved, "\nSEQEND\r"), 1u);
  LoadResult second = mustLoad(saved);
  EXPECT_EQ(modelSpaceEntities(*second.database).size(), 1u);
}

TEST(DxfPolyline, MissingSequenceEndAndAVertexWithoutAPointDoNotBreakTheDrawing) {
  LoadResult first = mustRecover(entitiesOnly(groups(kR12Polyline +  // no SEQEND
                                                     "0 LINE 8 0 10 0 20 0 11 1 21 1 "
                                                     "0 POLYLINE 8 0 66 1 70 0 0 VERTEX 8 0 42 1 "
                                                     "0 VERTEX 8 0 10 1 20 1 0 SEQEND 8 0")));
  ASSERT_EQ(modelSpaceEntities(*first.database).size(), 3u);
  EXPECT_TRUE(saysSomething(first, "SEQEND"));
  EXPECT_TRUE(saysSomething(first, "without a point"));
  ZcDb2dPolyline* pline = openModelSpaceEntity<ZcDb2dPolyline>(*first.database, 0);
  ASSERT_TRUE(pline);
  EXPECT_EQ(vertices2d(*pline).size(), 3u);
  pline->close();
  pline = openModelSpaceEntity<ZcDb2dPolyline>(*first.database, 2);
  ASSERT_TRUE(pline);
  EXPECT_EQ(vertices2d(*pline).size(), 1u);
  pline->close();

  // Saved, every polyline closes with a SEQEND and the drawing reads without complaint.
  const std::string saved = writeDxf(*first.database);
  EXPECT_EQ(occurrences(saved, "\nSEQEND\r"), 2u);
  LoadResult second = mustRecover(saved);
  EXPECT_TRUE(second.messages.empty()) << formatLoadMessage(second.messages.front());
  EXPECT_EQ(modelSpaceEntities(*second.database).size(), 3u);
}
