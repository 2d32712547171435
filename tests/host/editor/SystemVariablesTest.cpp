// System variables through zcedGetVar / zcedSetVar: the process's, the drawing's, and every way
// a value is refused.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include "WorkingDrawingFixture.h"
#include "editor/SystemVariables.h"
#include "zcad/db/ZcDbLayerTable.h"
#include "zcad/zced.h"

namespace editor = vtcad::editor;

namespace {

// What zcedGetVar answered (a number of any width, a point or a text), its string released.
struct Answer {
  int status = RTERROR;
  short type = RTNONE;
  double number = 0.0;
  ZcGePoint3d point;
  std::wstring text;
};

Answer get(const wchar_t* name) {
  resbuf rb{};
  Answer answer;
  answer.status = zcedGetVar(name, &rb);
  answer.type = rb.restype;
  if (rb.restype == RTSHORT) answer.number = rb.resval.rint;
  if (rb.restype == RTLONG) answer.number = rb.resval.rlong;
  if (rb.restype == RTREAL) answer.number = rb.resval.rreal;
  if (rb.restype == RTPOINT || rb.restype == RT3DPOINT) {
    answer.point.set(rb.resval.rpoint[0], rb.resval.rpoint[1], rb.resval.rpoint[2]);
  }
  if (rb.restype == RTSTR && rb.resval.rstring) {
    answer.text = rb.resval.rstring;
    std::free(rb.resval.rstring);
  }
  return answer;
}

resbuf shortRb(int value) {
  resbuf rb{};
  rb.restype = RTSHORT;
  rb.resval.rint = static_cast<short>(value);
  return rb;
}
resbuf realRb(double value) {
  resbuf rb{};
  rb.restype = RTREAL;
  rb.resval.rreal = value;
  return rb;
}
resbuf pointRb(short type, double x, double y, double z) {
  resbuf rb{};
  rb.restype = type;
  rb.resval.rpoint[0] = x;
  rb.resval.rpoint[1] = y;
  rb.resval.rpoint[2] = z;
  return rb;
}
resbuf textRb(const wchar_t* text) {
  resbuf rb{};
  rb.restype = RTSTR;
  rb.resval.rstring = const_cast<wchar_t*>(text);  // only read by zcedSetVar
  return rb;
}
int set(const wchar_t* name, const resbuf& value) { return zcedSetVar(name, &value); }

// The drawing's own header value of a variable as a number; NaN when it has none.
double headerNumber(const ZcDbDatabase& db, const wchar_t* name) {
  resbuf* rb = db.getHeaderVar(name);
  double value = std::numeric_limits<double>::quiet_NaN();
  if (rb && zcutValueKind(rb->restype) == ZdsValueKind::kShort) value = rb->resval.rint;
  if (rb && zcutValueKind(rb->restype) == ZdsValueKind::kReal) value = rb->resval.rreal;
  zcutRelRb(rb);
  return value;
}

using SystemVariablesTest = WorkingDrawingFixture;

TEST_F(SystemVariablesTest, SessionVariablesOfEachTypeAreSharedByAllDrawings) {
  EXPECT_EQ(get(L"CMDECHO").type, RTSHORT);
  EXPECT_EQ(get(L"CMDECHO").number, 1);
  EXPECT_EQ(set(L"cmdEcho", shortRb(0)), RTNORM) << "names in any case";
  EXPECT_EQ(get(L"CMDECHO").number, 0);

  EXPECT_EQ(set(L"LASTPOINT", pointRb(RT3DPOINT, 1.5, -2, 7)), RTNORM);
  EXPECT_EQ(get(L"LASTPOINT").type, RT3DPOINT);
  EXPECT_TRUE(get(L"LASTPOINT").point.isEqualTo(ZcGePoint3d(1.5, -2, 7)));
  // A 2-D point lies in the XY plane, whatever its unused z held.
  EXPECT_EQ(set(L"LASTPOINT", pointRb(RTPOINT, 4, 5, 99)), RTNORM);
  EXPECT_TRUE(get(L"LASTPOINT").point.isEqualTo(ZcGePoint3d(4, 5, 0)));

  EXPECT_EQ(set(L"USERS3", textRb(L"Grün 3")), RTNORM);
  EXPECT_EQ(get(L"USERS3").text, L"Grün 3");
  EXPECT_EQ(get(L"SCREENSIZE").type, RTPOINT);
  EXPECT_TRUE(get(L"SCREENSIZE").point.isEqualTo(ZcGePoint3d(1600, 1000, 0)));
  EXPECT_GE(std::wcstod(get(L"ACADVER").text.c_str(), nullptr), 15.0) << "a release number plug-ins compare";

  ZcDbDatabase other;
  zcdbHostApplicationServices()->setWorkingDatabase(&other);
  EXPECT_EQ(get(L"USERS3").text, L"Grün 3");
  zcdbHostApplicationServices()->setWorkingDatabase(&db);
  editor::resetSessionVariables();
  EXPECT_EQ(get(L"USERS3").text, L"");
}

TEST_F(SystemVariablesTest, RefusedValuesAnswerRtErrorAndChangeNothing) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  resbuf wide{};
  wide.restype = RTLONG;
  wide.resval.rlong = 70000;
  struct Refused {
    const wchar_t* name;
    resbuf value;
  };
  const Refused refused[] = {
      // Unknown names; the file's "$" spelling of a header variable.
      {L"NOSUCHVARIABLE", shortRb(1)},
      {L"$PDMODE", shortRb(1)},
      {L"", shortRb(1)},
      // Read-only variables of every home.
      {L"CMDACTIVE", shortRb(1)},
      {L"SCREENSIZE", pointRb(RTPOINT, 10, 10, 0)},
      {L"VIEWSIZE", realRb(10)},
      {L"EXTMIN", pointRb(RT3DPOINT, 0, 0, 0)},
      // Another type.
      {L"PICKBOX", realRb(3)},
      {L"PDSIZE", textRb(L"2")},
      {L"USERS1", shortRb(1)},
      {L"LASTPOINT", shortRb(1)},
      // Out of range, or of the type's bits.
      {L"PICKBOX", shortRb(51)},
      {L"SURFTAB2", shortRb(32767)},
      {L"SPLINESEGS", shortRb(0)},
      {L"SPLINETYPE", shortRb(7)},
      {L"TEXTSIZE", realRb(0)},
      {L"PDMODE", shortRb(5)},
      {L"USERI1", wide},
      // Not finite; no text at all.
      {L"PDSIZE", realRb(nan)},
      {L"LIMMAX", pointRb(RTPOINT, 1, nan, 0)},
      {L"USERS1", textRb(nullptr)},
  };
  for (const Refused& r : refused) EXPECT_EQ(set(r.name, r.value), RTERROR) << r.name;
  EXPECT_EQ(get(L"NOSUCHVARIABLE").status, RTERROR);
  EXPECT_EQ(get(L"$PDMODE").status, RTERROR);

  resbuf any = shortRb(1);
  EXPECT_EQ(zcedSetVar(nullptr, &any), RTERROR);
  EXPECT_EQ(zcedSetVar(L"CMDECHO", nullptr), RTERROR);
  EXPECT_EQ(zcedGetVar(nullptr, &any), RTERROR);
  EXPECT_EQ(zcedGetVar(L"CMDECHO", nullptr), RTERROR);

  EXPECT_EQ(get(L"PICKBOX").number, 3);
  EXPECT_EQ(get(L"PDSIZE").number, 0.0);
  EXPECT_EQ(get(L"PDMODE").number, 0);
  EXPECT_TRUE(get(L"LIMMAX").point.isEqualTo(ZcGePoint3d(420, 297, 0)));
}

TEST_F(SystemVariablesTest, DrawingVariablesAreKeptInTheWorkingDrawing) {
  EXPECT_EQ(set(L"PDMODE", shortRb(35)), RTNORM) << "a cross in a circle";
  EXPECT_EQ(db.pdmode(), 35);

  // A variable a new drawing lacks: the default, then the drawing's own value.
  EXPECT_EQ(get(L"SURFTAB2").number, 6);
  EXPECT_TRUE(std::isnan(headerNumber(db, L"SURFTAB2")));
  EXPECT_EQ(set(L"SURFTAB2", shortRb(24)), RTNORM);
  EXPECT_EQ(headerNumber(db, L"SURFTAB2"), 24);
  EXPECT_EQ(set(L"ANGBASE", shortRb(1)), RTNORM) << "a whole number for a real";
  EXPECT_EQ(get(L"ANGBASE").type, RTREAL);
  EXPECT_EQ(headerNumber(db, L"ANGBASE"), 1.0);

  EXPECT_EQ(set(L"LIMMAX", pointRb(RT3DPOINT, 841, 594, 12)), RTNORM);
  EXPECT_EQ(get(L"LIMMAX").type, RTPOINT);
  EXPECT_TRUE(get(L"LIMMAX").point.isEqualTo(ZcGePoint3d(841, 594, 0)));

  ZcDbDatabase other;
  zcdbHostApplicationServices()->setWorkingDatabase(&other);
  EXPECT_EQ(get(L"SURFTAB2").number, 6);
  zcdbHostApplicationServices()->setWorkingDatabase(nullptr);
  EXPECT_EQ(get(L"PDMODE").status, RTERROR) << "no drawing";
  EXPECT_EQ(set(L"PDMODE", shortRb(3)), RTERROR);
  EXPECT_EQ(get(L"CMDECHO").status, RTNORM);
  zcdbHostApplicationServices()->setWorkingDatabase(&db);
  EXPECT_EQ(get(L"SURFTAB2").number, 24);
}

TEST_F(SystemVariablesTest, CurrentLayerLinetypeAndColourNameWhatTheDrawingHas) {
  ZcDbLayerTable* layers = nullptr;
  ASSERT_EQ(db.getLayerTable(layers, ZcDb::kForWrite), Zcad::eOk);
  ZcDbObjectId walls;
  for (const wchar_t* name : {L"Walls", L"Archive"}) {
    auto* record = new ZcDbLayerTableRecord;
    record->setName(name);
    record->setIsFrozen(name == std::wstring(L"Archive"));
    ZcDbObjectId id;
    ASSERT_EQ(layers->add(id, record), Zcad::eOk);
    record->close();
    if (walls.isNull()) walls = id;
  }
  layers->close();

  EXPECT_EQ(set(L"CLAYER", textRb(L"WALLS")), RTNORM);
  EXPECT_EQ(db.clayer(), walls);
  EXPECT_EQ(get(L"CLAYER").text, L"Walls") << "the record's own spelling";
  EXPECT_EQ(set(L"CLAYER", textRb(L"Doors")), RTERROR) << "no such layer";
  EXPECT_EQ(set(L"CLAYER", textRb(L"Archive")), RTERROR) << "frozen";
  EXPECT_EQ(db.clayer(), walls);
  EXPECT_EQ(set(L"CELTYPE", textRb(L"Continuous")), RTNORM);
  EXPECT_EQ(set(L"TEXTSTYLE", textRb(L"Notes")), RTERROR);

  EXPECT_EQ(get(L"CECOLOR").text, L"BYLAYER");
  EXPECT_EQ(set(L"CECOLOR", textRb(L"rgb:10,20,30")), RTNORM);
  EXPECT_TRUE(db.cecolor().isByColor());
  EXPECT_EQ(get(L"CECOLOR").text, L"RGB:10,20,30");
  EXPECT_EQ(set(L"CECOLOR", textRb(L"3")), RTNORM);
  EXPECT_EQ(db.cecolor().colorIndex(), 3);
  EXPECT_EQ(set(L"CECOLOR", textRb(L"256")), RTERROR);
  EXPECT_EQ(db.cecolor().colorIndex(), 3);
}

TEST_F(SystemVariablesTest, OtherHeaderVariablesOfTheDrawingKeepTheTypeTheyHave) {
  resbuf* scale = zcutBuildList(40, 2.0, 0);
  resbuf* counter = zcutBuildList(90, 123456, 0);
  ASSERT_EQ(db.setHeaderVar(L"DIMSCALE", scale), Zcad::eOk);
  ASSERT_EQ(db.setHeaderVar(L"TESTCOUNTER", counter), Zcad::eOk);
  zcutRelRb(scale);
  zcutRelRb(counter);

  EXPECT_EQ(get(L"dimscale").type, RTREAL);
  EXPECT_EQ(set(L"DIMSCALE", realRb(4.0)), RTNORM);
  EXPECT_EQ(headerNumber(db, L"DIMSCALE"), 4.0);
  EXPECT_EQ(set(L"DIMSCALE", textRb(L"4")), RTERROR);

  EXPECT_EQ(get(L"TESTCOUNTER").type, RTLONG);
  EXPECT_EQ(get(L"TESTCOUNTER").number, 123456);
  EXPECT_EQ(set(L"TESTCOUNTER", shortRb(7)), RTNORM) << "16 bits fit a 32-bit variable";
  EXPECT_EQ(get(L"TESTCOUNTER").number, 7);
}

TEST_F(SystemVariablesTest, TheHostSetsItsReadOnlyVariables) {
  editor::setCommandActive(1);
  EXPECT_EQ(get(L"CMDACTIVE").number, 1);
  editor::setDrawingName(L"plan.dxf", L"/data/site/");
  EXPECT_EQ(get(L"DWGNAME").text, L"plan.dxf");
  EXPECT_EQ(get(L"DWGPREFIX").text, L"/data/site/");
  EXPECT_TRUE(editor::setScreenSize({.width = 800, .height = 600}));
  EXPECT_FALSE(editor::setScreenSize({.width = 0, .height = 600}));
  EXPECT_TRUE(get(L"SCREENSIZE").point.isEqualTo(ZcGePoint3d(800, 600, 0)));

  editor::resetSessionVariables();
  std::wstring prefix = get(L"DWGPREFIX").text;
  ASSERT_FALSE(prefix.empty());
  EXPECT_EQ(prefix.back(), L'/') << "the starting folder, ready to take a file name";
}

}  // namespace
