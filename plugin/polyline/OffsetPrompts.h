#pragma once
// The questions of a batch offset, in this load's language: the sides, the copies per side and
// the spacings. Each answers nullopt when the command is to end without a change.
#include <optional>

#include "polyline/BatchOffset.h"
#include "polyline/SpacingList.h"

namespace veltrace {

// "Double", "Inner" or "Outside"; Enter takes "Double".
std::optional<OffsetSides> askOffsetSides();

// 1..10: a number typed replaces the default 1 and is clamped; Enter or Esc keep 1.
int askCopiesPerSide();
// The same with another prompt (Chinese, English).
int askCopies(const wchar_t* chinesePrompt, const wchar_t* englishPrompt);

// The texts of the spacing questions, so commands that offset for other reasons ask them in
// their own words.
struct SpacingPrompts {
  const wchar_t* distance[2];        // one copy (Chinese, English)
  const wchar_t* distanceOrList[2];  // more copies, with the keyword "M"
  const wchar_t* list[2];
  // Whether a list that cannot be read says "Input parameter error." before asking again.
  bool reportUnreadableList = true;
};

// One copy per side: one distance, which must exceed kSmallestSpacing. More copies: one
// distance for every spacing (above 1e-5), Enter asking again, or the keyword "M" and a list
// read by parseSpacingList (asked again, after "Input parameter error.", until a list with at
// least one piece is typed; Esc ends the command).
std::optional<SpacingTable> askSpacings(int copiesPerSide);
std::optional<SpacingTable> askSpacings(int copiesPerSide, const SpacingPrompts& prompts);
// The batch offset's own texts (the list prompt serves every command).
const SpacingPrompts& batchOffsetPrompts();

}  // namespace veltrace
