#include "database/TextStyleFont.h"

#include "zcad/db/ZcDbTextStyleTable.h"

namespace vtcad::db {

TextStyleData readTextStyle(ZcDbObjectId styleId) {
  TextStyleData data;
  data.font = resolveFontChoice(L"txt", L"", L"");
  if (styleId.isNull() || styleId.isErased()) return data;
  ZcDbTextStyleTableRecord* style = nullptr;
  if (zcdbOpenObject(style, styleId, ZcDb::kForRead) != Zcad::eOk) return data;

  const ZTCHAR* fileName = nullptr;
  const ZTCHAR* bigFontFileName = nullptr;
  ZcString typeface;
  bool bold = false;
  bool italic = false;
  int charset = 0;
  int pitchAndFamily = 0;
  if (style->fileName(fileName) != Zcad::eOk) fileName = nullptr;
  if (style->bigFontFileName(bigFontFileName) != Zcad::eOk) bigFontFileName = nullptr;
  if (style->font(typeface, bold, italic, charset, pitchAndFamily) != Zcad::eOk) typeface = ZcString();
  data.font =
      resolveFontChoice(fileName ? fileName : L"", bigFontFileName ? bigFontFileName : L"", typeface.str());
  data.textSize = style->textSize();
  data.xScale = style->xScale();
  data.obliquingAngle = style->obliquingAngle();
  data.found = true;
  style->close();
  return data;
}

}  // namespace vtcad::db
