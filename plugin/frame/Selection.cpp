#include "frame/Selection.h"

#include <memory>

#include "frame/Messages.h"
#include "frame/ResbufChain.h"
#include "frame/SelectionSet.h"
#include "zcad/db/ZcDbCurve.h"
#include "zcad/db/ZcDbObject.h"
#include "zcad/zced.h"
#include "zcad/zds.h"

namespace veltrace {

namespace {

struct SelectionTexts {
  MessagePair prompt;
  MessagePair nothing;
};

constexpr SelectionTexts kCurveTexts{{L"\n请选择多根曲线>", L"Please select Curves >\n"},
                                     {L"未选中曲线。\n", L"No Curve selected.\n"}};
constexpr SelectionTexts kEntityTexts{{L"\n请选择物体>", L"Please select Entities >\n"},
                                      {L"未选中物体。\n", L"No Entity selected.\n"}};

const wchar_t* orDefault(const wchar_t* prompt, const wchar_t* fallback) {
  return prompt && *prompt ? prompt : fallback;
}

// The type filter lets through what the drawing calls a curve; the class check keeps only
// what this plug-in can treat as one. A member that cannot be opened (erased meanwhile) is
// left out.
bool isCurve(ZcDbObjectId id) {
  ZcDbObject* object = nullptr;
  if (zcdbOpenObject(object, id, ZcDb::kForRead) != Zcad::eOk) return false;
  const bool curve = ZcDbCurve::cast(object) != nullptr;
  object->close();
  return curve;
}

ObjectIdList askForSelection(const wchar_t* chinesePrompt, const wchar_t* englishPrompt,
                             const SelectionTexts& texts, const resbuf* filter, bool curvesOnly) {
  printBilingual(orDefault(chinesePrompt, texts.prompt.chinese),
                 orDefault(englishPrompt, texts.prompt.english));
  SelectionSet set;
  ObjectIdList ids;
  if (zcedSSGet(/*mode=*/nullptr, /*pt1=*/nullptr, /*pt2=*/nullptr, filter, set.name) == RTNORM) {
    ids = selectionSetIds(set.name);
    if (curvesOnly) std::erase_if(ids, [](ZcDbObjectId id) { return !isCurve(id); });
  }
  if (ids.empty()) printBilingual(texts.nothing.chinese, texts.nothing.english);
  return ids;
}

}  // namespace

ResbufChain curveFilter() {
  return ResbufChain(zcutBuildList(-4, L"<or", RTDXF0, L"POLYLINE", RTDXF0, L"LWPOLYLINE", RTDXF0, L"LINE",
                                   RTDXF0, L"ELLIPSE", RTDXF0, L"CIRCLE", RTDXF0, L"HELIX", RTDXF0, L"ARC",
                                   RTDXF0, L"SPLINE", -4, L"or>", 0));
}

ResbufChain polylineFilter() {
  return ResbufChain(zcutBuildList(-4, L"<or", RTDXF0, L"POLYLINE", RTDXF0, L"LWPOLYLINE", -4, L"or>", 0));
}

ObjectIdList selectCurves(const wchar_t* chinesePrompt, const wchar_t* englishPrompt) {
  const ResbufChain filter = curveFilter();
  return askForSelection(chinesePrompt, englishPrompt, kCurveTexts, filter.get(), /*curvesOnly=*/true);
}

ObjectIdList selectEntities(const wchar_t* chinesePrompt, const wchar_t* englishPrompt) {
  return askForSelection(chinesePrompt, englishPrompt, kEntityTexts, /*filter=*/nullptr,
                         /*curvesOnly=*/false);
}

}  // namespace veltrace
