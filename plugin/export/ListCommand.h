#pragma once
// The steps every coordinate list command takes: select, choose the file, write the head, ask
// about marks (and, for curve lists, the lower-left start), write each entity's rows, then the
// tail, and open the file. The commands differ in their texts, filter, columns and rows.
#include <memory>
#include <span>

#include "export/ListDocument.h"
#include "frame/Messages.h"
#include "frame/ResbufChain.h"
#include "zcad/db/ZcDbObjectId.h"
#include "zcad/zds.h"

namespace veltrace {

struct ListCommandTexts {
  MessagePair prompt;           // before the selection
  MessagePair nothingSelected;  // an empty or cancelled selection
  const wchar_t* chineseFileLabel;
  // Shown with the path for "%s" when the file cannot be made (English in both languages).
  const wchar_t* creationFailure;
  MessagePair title;
};

// What the rows of one entity are written with.
struct ListRun {
  ListDocument& document;
  std::span<const ListColumn> columns;
  bool marks;         // mark and number the listed points
  double markHeight;  // h of markVertex
  bool lowerLeft;     // curves start at their lower-left end
};

// Writes the rows of the entity `id` with list index `index` (0-based). False when it cannot be
// opened: it is then skipped and takes no index.
using EntityRows = bool (*)(ZcDbObjectId id, int index, const ListRun& run);

// The whole command. `asksLowerLeft`: the curve list's question about the start point.
void runListCommand(const ListCommandTexts& texts, const resbuf* filter, std::span<const ListColumn> columns,
                    bool asksLowerLeft, EntityRows rows);

// One row, cell by cell, each cell in the width of its column; the row ends with this object.
class ListRow {
 public:
  ListRow(const ListRun& run, RowColour colour);
  ~ListRow();
  ListRow(const ListRow&) = delete;
  ListRow& operator=(const ListRow&) = delete;

  ListRow& integer(int value);
  ListRow& real(double value);
  ListRow& empty();

 private:
  int nextWidth();

  const ListRun& run_;
  std::size_t column_ = 0;
};

// The mark height the lists start from: VIEWSIZE / 30, or 100 / 30 when VIEWSIZE cannot be read.
double defaultMarkHeight();
// Asks "\nPlease enter the mark text height(%.2f):" with `height`; an answer above 0.001 is
// taken, anything else (Enter, Esc, a smaller number) keeps `height`.
double askMarkHeight(double height);

}  // namespace veltrace
