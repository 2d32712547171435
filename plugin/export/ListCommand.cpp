#include "export/ListCommand.h"

#include <cwchar>
#include <iterator>
#include <string>

#include "export/ListFile.h"
#include "export/ListFilePrompt.h"
#include "frame/SelectionSet.h"
#include "frame/SystemVariables.h"
#include "frame/Utf8.h"
#include "zcad/platform/zcui.h"
#include "zcad/zced.h"

namespace veltrace {

namespace {

// The view height the mark height is taken from when VIEWSIZE cannot be read.
constexpr double kFallbackViewSize = 100.0;
// Mark heights at or below this are not taken: the default stays.
constexpr double kSmallestMarkHeight = 0.001;
// Point display mode of the marks: a circle with a cross.
constexpr short kMarkPointMode = 35;

void reportWriteFailure(const std::wstring& path, const std::string& reason) {
  // The system's reason is English in both languages; the rest of the message is not.
  const std::wstring why = decodeUtf8(reason);
  messageBoxBilingual(
      (L"写入文件<" + path + L">失败（" + why + L"），列表未保存。").c_str(),
      (L"Could not write the file <" + path + L"> (" + why + L"); the list was not saved.").c_str());
}

}  // namespace

double askMarkHeight(double height) {
  wchar_t prompt[160];
  std::swprintf(
      prompt, std::size(prompt),
      MessagePair{L"\n请输入标记文字高度(%.2f):", L"\nPlease enter the mark text height(%.2f):"}.text(),
      height);
  zds_real answer = 0.0;
  if (zcedGetReal(prompt, &answer) == RTNORM && answer > kSmallestMarkHeight) return answer;
  return height;
}

double defaultMarkHeight() {
  double viewSize = kFallbackViewSize;
  if (getSysVarReal(L"VIEWSIZE", viewSize) != kSysVarOk) viewSize = kFallbackViewSize;
  return viewSize / 30.0;
}

void runListCommand(const ListCommandTexts& texts, const resbuf* filter, std::span<const ListColumn> columns,
                    bool asksLowerLeft, EntityRows rows) {
  printBilingual(texts.prompt.chinese, texts.prompt.english);
  SelectionSet selection;
  Zdesk::Int32 count = 0;
  if (zcedSSGet(/*mode=*/nullptr, /*pt1=*/nullptr, /*pt2=*/nullptr, filter, selection.name) != RTNORM ||
      zcedSSLength(selection.name, &count) != RTNORM || count <= 0) {
    printBilingual(texts.nothingSelected.chinese, texts.nothingSelected.english);
    return;
  }

  const std::wstring chosen = askListFileName(texts.chineseFileLabel);
  if (chosen.empty()) return;
  const std::wstring path = listFileName(chosen);
  ListFile file;
  if (!file.create(path)) {
    AfxMessageBox(withPath(texts.creationFailure, path).c_str(), MB_OK);
    return;
  }

  ListDocument document(file, path, texts.title.text(), columns);
  const bool marks = getYesNoBilingual(L"\n是否绘制标记和编号[Y/N](Y): ", L"\nMarks and numbers[Y/N](Y): ",
                                       /*defaultAnswer=*/true);
  double markHeight = defaultMarkHeight();
  if (marks) markHeight = askMarkHeight(markHeight);
  const bool lowerLeft =
      asksLowerLeft && getYesNoBilingual(L"是否把默认起点设在左下角[Y/N](Y):",
                                         L"Lower Left default?[Y/N](Y):", /*defaultAnswer=*/true);

  const ListRun run{document, columns, marks, markHeight, lowerLeft};
  int index = 0;
  for (const ZcDbObjectId id : selectionSetIds(selection.name)) {
    if (rows(id, index, run)) ++index;
  }

  if (marks) setSysVarInt(L"PDMODE", kMarkPointMode);
  document.finish();
  if (!file.commit()) {
    reportWriteFailure(path, file.error());
    return;
  }
  openListFile(path);
}

ListRow::ListRow(const ListRun& run, RowColour colour) : run_(run) { run_.document.beginRow(colour); }

ListRow::~ListRow() { run_.document.endRow(); }

ListRow& ListRow::integer(int value) {
  run_.document.integerCell(nextWidth(), value);
  return *this;
}

ListRow& ListRow::real(double value) {
  run_.document.realCell(nextWidth(), value);
  return *this;
}

ListRow& ListRow::empty() {
  run_.document.emptyCell(nextWidth());
  return *this;
}

int ListRow::nextWidth() {
  // A row has no more cells than its list has columns; a stray one gets no width of its own.
  const int width = column_ < run_.columns.size() ? run_.columns[column_].widthPercent : 0;
  ++column_;
  return width;
}

}  // namespace veltrace
