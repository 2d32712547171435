// CLIST, ELLLIST and ARCLIST: one row a circle, ellipse or arc, led by its centre.
#include "export/ListCommand.h"
#include "export/ListCommands.h"
#include "frame/CurveLength.h"
#include "polyline/VertexMarks.h"
#include "zcad/db/ZcDbArc.h"
#include "zcad/db/ZcDbCircle.h"
#include "zcad/db/ZcDbEllipse.h"

namespace veltrace {

namespace {

// Degrees from radians with the value of pi the lists have always used.
constexpr double kPi = 3.141592653589793;
double degrees(double radians) { return radians * 180.0 / kPi; }

constexpr ListColumn kCircleColumns[] = {
    {5, {L"序号", L"Index"}}, {15, {L"X坐标", L"X"}},     {15, {L"Y坐标", L"Y"}},
    {15, {L"Z坐标", L"Z"}},   {20, {L"半径", L"Radius"}}, {15, {L"周长", L"Perimeter"}},
    {15, {L"面积", L"Area"}},
};
constexpr ListColumn kEllipseColumns[] = {
    {4, {L"序号", L"Index"}},      {16, {L"X坐标", L"X"}},         {16, {L"Y坐标", L"Y"}},
    {16, {L"Z坐标", L"Z"}},        {12, {L"长轴", L"Major axis"}}, {12, {L"短轴", L"Minor axis"}},
    {12, {L"周长", L"Perimeter"}}, {12, {L"面积", L"Area"}},
};
constexpr ListColumn kArcColumns[] = {
    {4, {L"序号", L"Index"}},         {16, {L"X坐标", L"X"}},        {16, {L"Y坐标", L"Y"}},
    {16, {L"Z坐标", L"Z"}},           {12, {L"半径", L"Radius"}},    {12, {L"起点角度", L"StartAngle"}},
    {12, {L"终点角度", L"EndAngle"}}, {12, {L"周长", L"Perimiter"}},
};

// The three lists share the file-type label of the save question.
constexpr const wchar_t* kCentreFileLabel = L"圆心坐标和半径文件 (*.xls)|*.xls|";

constexpr ListCommandTexts kCircleTexts{
    {L"请选择圆>\n", L"Please select circle >\n"},
    {L"未选中圆。\n", L"No circle selected.\n"},
    kCentreFileLabel,
    L"Create file <%s> Error！",
    {L"圆心坐标和半径", L"Center coordinates and radius"},
};
constexpr ListCommandTexts kEllipseTexts{
    {L"请选择椭圆>\n", L"Please select Ellipse >\n"},
    {L"未选中椭圆。\n", L"No Ellipse selected.\n"},
    kCentreFileLabel,
    L"Create file <%s> fail!",
    {L"椭圆圆心坐标和半径", L"Ellipse center coordinates and radius"},
};
constexpr ListCommandTexts kArcTexts{
    {L"请选择圆弧>\n", L"Please select ARC >\n"},
    {L"未选中圆弧。\n", L"No ARC selected.\n"},
    kCentreFileLabel,
    L"Create file <%s> fail！",
    {L"圆弧圆心坐标和半径", L"Arc center coordinates and radius"},
};

// The row of one entity: its centre and four measures (three for circles).
struct CentreRow {
  bool listed = false;
  ZcGePoint3d centre;
  double measures[4] = {};
  int measureCount = 0;
};

double lengthOf(const ZcDbCurve& curve) { return curveLength(curve).value_or(0.0); }

double areaOf(const ZcDbCurve& curve) {
  double area = 0.0;
  return curve.getArea(area) == Zcad::eOk ? area : 0.0;
}

CentreRow circleRow(const ZcDbEntity& entity) {
  CentreRow row;
  if (const auto* circle = ZcDbCircle::cast(&entity)) {
    row = {true, circle->center(), {circle->radius(), lengthOf(*circle), areaOf(*circle)}, 3};
  }
  return row;
}

CentreRow ellipseRow(const ZcDbEntity& entity) {
  CentreRow row;
  if (const auto* ellipse = ZcDbEllipse::cast(&entity)) {
    row = {true,
           ellipse->center(),
           {2.0 * ellipse->majorAxis().length(), 2.0 * ellipse->minorAxis().length(), lengthOf(*ellipse),
            areaOf(*ellipse)},
           4};
  }
  return row;
}

CentreRow arcRow(const ZcDbEntity& entity) {
  CentreRow row;
  if (const auto* arc = ZcDbArc::cast(&entity)) {
    row = {true,
           arc->center(),
           {arc->radius(), degrees(arc->startAngle()), degrees(arc->endAngle()), lengthOf(*arc)},
           4};
  }
  return row;
}

// Opens the entity only to read its row; the mark is drawn once it is closed again.
template <CentreRow (*read)(const ZcDbEntity&)>
bool centreRows(ZcDbObjectId id, int index, const ListRun& run) {
  ZcDbEntity* entity = nullptr;
  if (zcdbOpenObject(entity, id, ZcDb::kForRead) != Zcad::eOk) return false;
  const CentreRow values = read(*entity);
  entity->close();
  // Only the filter's type reaches here; anything else keeps its index and lists nothing.
  if (!values.listed) return true;
  {
    ListRow row(run, RowColour::kPlain);
    row.integer(index + 1).real(values.centre.x).real(values.centre.y).real(values.centre.z);
    for (int i = 0; i < values.measureCount; ++i) row.real(values.measures[i]);
  }
  if (run.marks) markVertex(values.centre, run.markHeight, index);
  return true;
}

void runCentreList(const ListCommandTexts& texts, const wchar_t* entityType,
                   std::span<const ListColumn> columns, EntityRows rows) {
  const ResbufChain filter(zcutBuildList(RTDXF0, entityType, 0));
  runListCommand(texts, filter.get(), columns, /*asksLowerLeft=*/false, rows);
}

}  // namespace

void clistCommand() { runCentreList(kCircleTexts, L"CIRCLE", kCircleColumns, &centreRows<&circleRow>); }

void elllistCommand() { runCentreList(kEllipseTexts, L"ELLIPSE", kEllipseColumns, &centreRows<&ellipseRow>); }

void arclistCommand() { runCentreList(kArcTexts, L"ARC", kArcColumns, &centreRows<&arcRow>); }

}  // namespace veltrace
