#include "polyline/OffsetPrompts.h"

#include <algorithm>
#include <iterator>

#include "frame/Messages.h"
#include "zcad/zced.h"

namespace veltrace {

namespace {

constexpr MessagePair kSidesPrompt{L"\n请问偏移复制方向[双向(D),内侧(I),外侧(O)][默认D]:",
                                   L"\nOffset direction[Double(D),Inner(I),Out(O)][D]:"};
constexpr MessagePair kCopiesPrompt{L"\n单侧偏移根数[1]:", L"\nNumber of one side offset elements[1]:"};
constexpr SpacingPrompts kBatchPrompts{
    .distance = {L"\n请输入偏移距离:", L"\nOffset distance:"},
    .distanceOrList = {L"\n请输入偏移距离[多个不同间距(M)]:", L"\nOffset distance[Multiple(M)]:"},
    .list =
        {L"\n请输入多个偏移距离（如偏移5次，以此间距为9、2、1、1、1，则可以输入：9,2,1,1,1 或 9,2,1）: ",
         L"\nPlease enter multiple offset distances（eg: offset 5 times, and distance are 9,2,1,1,1, then "
         L"you can enter:9,2,1,1,1 or 9,2,1）: "},
};
constexpr MessagePair kInputError{L"\n输入参数错误。", L"\nInput parameter error."};

// One distance for every spacing typed at the prompt with keywords: a single distance must
// exceed this.
constexpr double kSmallestCommonSpacing = 1e-5;

const wchar_t* chosen(const wchar_t* const (&texts)[2]) { return chineseVersion ? texts[0] : texts[1]; }

std::optional<SpacingTable> askSpacingList(const SpacingPrompts& prompts) {
  for (;;) {
    zcedInitGet(RSG_NONULL, /*kwl=*/nullptr);
    wchar_t text[1024] = {};
    const int result = zcedGetString(/*cronly=*/1, chosen(prompts.list), text, std::size(text));
    // Esc leaves the command: a prompt that could not be left would hold the user.
    if (result == RTCAN) return std::nullopt;
    SpacingTable table;
    if (result == RTNORM && parseSpacingList(text, table).pieces > 0) return table;
    if (prompts.reportUnreadableList) printBilingual(kInputError.chinese, kInputError.english);
  }
}

}  // namespace

std::optional<OffsetSides> askOffsetSides() {
  zcedInitGet(0, L"Double Inner Outside");
  wchar_t keyword[64] = {};
  const int result = zcedGetKword(kSidesPrompt.text(), keyword, std::size(keyword));
  if (result == RTNONE) return OffsetSides::kBoth;
  if (result != RTNORM) return std::nullopt;
  switch (keyword[0]) {
    case L'I':
      return OffsetSides::kInner;
    case L'O':
      return OffsetSides::kOutside;
    default:
      return OffsetSides::kBoth;
  }
}

int askCopiesPerSide() { return askCopies(kCopiesPrompt.chinese, kCopiesPrompt.english); }

int askCopies(const wchar_t* chinesePrompt, const wchar_t* englishPrompt) {
  int copies = 1;
  zcedInitGet(RSG_NOZERO | RSG_NONEG, /*kwl=*/nullptr);
  int typed = 0;
  if (getIntBilingual(chinesePrompt, englishPrompt, &typed) == RTNORM) copies = typed;
  return std::clamp(copies, 1, kMaxCopiesPerSide);
}

const SpacingPrompts& batchOffsetPrompts() { return kBatchPrompts; }

std::optional<SpacingTable> askSpacings(int copiesPerSide) {
  return askSpacings(copiesPerSide, kBatchPrompts);
}

std::optional<SpacingTable> askSpacings(int copiesPerSide, const SpacingPrompts& prompts) {
  SpacingTable table;
  double distance = 0.0;
  if (copiesPerSide <= 1) {
    zcedInitGet(RSG_NOZERO | RSG_NONEG, /*kwl=*/nullptr);
    if (getDistBilingual(/*base=*/nullptr, prompts.distance[0], prompts.distance[1], &distance) != RTNORM ||
        distance < kSmallestSpacing)
      return std::nullopt;
    table.entries[0] = distance;
    return table;
  }
  for (;;) {
    zcedInitGet(RSG_NOZERO | RSG_NONEG, L"M");
    const int result =
        getDistBilingual(/*base=*/nullptr, prompts.distanceOrList[0], prompts.distanceOrList[1], &distance);
    if (result == RTNONE) continue;
    if (result == RTKWORD) return askSpacingList(prompts);
    if (result != RTNORM || distance < kSmallestCommonSpacing) return std::nullopt;
    table.entries.fill(distance);
    return table;
  }
}

}  // namespace veltrace
