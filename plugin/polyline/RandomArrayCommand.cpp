#include "polyline/RandomArrayCommand.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "frame/CoordinateRange.h"
#include "frame/EntityPlacement.h"
#include "frame/Messages.h"
#include "frame/WorkProgress.h"
#include "polyline/ArrayOffsets.h"
#include "polyline/VertexCommandSelection.h"
#include "zcad/db/ZcDbEntity.h"
#include "zcad/ge/ZcGeMatrix3d.h"
#include "zcad/zced.h"

namespace veltrace {

namespace {

constexpr MessagePair kSelectPrompt{L"请选择各种线条>\n", L"Please select Curves >\n"};
constexpr MessagePair kNothingSelected{L"未选中任何线条。\n", L"No Curve selected.\n"};
constexpr MessagePair kCountPrompt{L"\n请输入阵列数量(1~1000)[10]:",
                                   L"\nPlease enter the array total number(1~1000)[10]:"};
constexpr MessagePair kDistancePrompt{L"\n请输入最大间距:", L"\nPlease enter the equal distance:"};
constexpr MessagePair kAnglePrompt{L"\n请输入阵列方向角度 0~360 [0]:", L"\nPlease enter the angle[0]:"};
constexpr MessagePair kModePrompt{
    L"\n方式：[随机阵列(1), 半波阵列(2), 全波阵列(3), 指数阵列(4), 对数阵列(5)]<默认1>:",
    L"\nMode: [random array(1), HalfWave(2), FullWave(3), Exponential(4), Logarithmic(5)]<1>:"};
constexpr MessagePair kGroupPrompt{L"\n请输入每组数量(10~100)[10]:",
                                   L"\nPlease enter the number in a group(10~100)[10]:"};
constexpr MessagePair kTooFar{L"\n间距过大，阵列的位置超出了坐标范围，未做复制。",
                              L"\nThe distance is too large: the array would leave the coordinate range. "
                              L"Nothing was copied."};
constexpr MessagePair kCopiesMissing{L"\n有 %d 个副本未能生成（线条无法读取、复制或放置）。",
                                     L"\n%d copies could not be made (a curve could not be read, copied or "
                                     L"placed)."};

constexpr int kDefaultCount = 10;
constexpr double kMinDistance = 0.0001;
constexpr int kDefaultAngle = 0;
constexpr int kMaxMode = static_cast<int>(ArrayMode::kLogarithmic);
constexpr int kMinGroupSize = 10;
constexpr int kMaxGroupSize = 100;

// An integer prompt whose reply is clamped: below `least` (and Enter, Esc) gives `fallback`,
// above `most` gives `most`.
int askClampedInt(const MessagePair& prompt, int controls, int least, int most, int fallback) {
  zcedInitGet(controls, /*kwl=*/nullptr);
  int value = 0;
  if (getIntBilingual(prompt.chinese, prompt.english, &value) != RTNORM || value < least) return fallback;
  return std::min(value, most);
}

// The step distance; none when the user does not give a usable one, which ends the command
// without a word.
bool askDistance(double& distance) {
  zcedInitGet(RSG_NOZERO | RSG_NONEG, /*kwl=*/nullptr);
  return getDistBilingual(/*base=*/nullptr, kDistancePrompt.chinese, kDistancePrompt.english, &distance) ==
             RTNORM &&
         std::isfinite(distance) && distance >= kMinDistance;
}

int askAngle() {
  int degrees = kDefaultAngle;
  if (getIntBilingual(kAnglePrompt.chinese, kAnglePrompt.english, &degrees) != RTNORM) return kDefaultAngle;
  return degrees;
}

// Seeded from the clock's millisecond count, so every run lays a different random array.
RandomSource clockSeededSource() {
  const auto ticks = std::chrono::duration_cast<std::chrono::milliseconds>(
                         std::chrono::steady_clock::now().time_since_epoch())
                         .count();
  auto engine = std::make_shared<std::mt19937>(static_cast<std::mt19937::result_type>(ticks));
  return [engine] { return static_cast<unsigned>((*engine)()); };
}

bool allWithinRange(const std::vector<ZcGeVector3d>& offsets) {
  return std::all_of(offsets.begin(), offsets.end(),
                     [](const ZcGeVector3d& offset) { return withinCoordinateRange(offset); });
}

// One copy of the entity `id` moved by `shift` into the current space. The copy is a new
// entity: the host's clone carries the geometry, properties and extended data, never the
// handle, owner, reactors or extension dictionary (an old-style polyline's copy takes vertex
// objects of its own when it is placed). False when the source cannot be read or copied, or
// the copy cannot be moved or placed (it is then deleted).
bool placeCopy(ZcDbObjectId id, const ZcGeMatrix3d& shift) {
  ZcDbEntity* source = nullptr;
  if (zcdbOpenObject(source, id, ZcDb::kForRead) != Zcad::eOk) return false;
  std::unique_ptr<ZcRxObject> clone(source->clone());
  source->close();
  ZcDbEntity* copy = ZcDbEntity::cast(clone.get());
  if (!copy || copy->transformBy(shift) != Zcad::eOk) return false;
  if (!appendToCurrentSpace(copy).placed()) return false;
  (void)clone.release();  // the current space owns it now, closed by the placing
  return true;
}

}  // namespace

void plrndArrayCommand() {
  TypedSelection selection = selectOfKinds(kSelectPrompt, SelectableKinds::kCurves);
  if (selection.outcome != SelectionOutcome::kSelected) {
    printBilingual(kNothingSelected.chinese, kNothingSelected.english);
    return;
  }

  ArrayLayout layout;
  layout.count =
      askClampedInt(kCountPrompt, RSG_NOZERO | RSG_NONEG, /*least=*/1, kMaxArrayPositions, kDefaultCount);
  if (!askDistance(layout.distance)) return;
  layout.angleDegrees = askAngle();
  layout.mode = static_cast<ArrayMode>(askClampedInt(kModePrompt, /*controls=*/0, /*least=*/1, kMaxMode,
                                                     static_cast<int>(ArrayMode::kRandom)));
  if (layout.mode != ArrayMode::kRandom) {
    layout.groupSize =
        askClampedInt(kGroupPrompt, RSG_NOZERO | RSG_NONEG, kMinGroupSize, kMaxGroupSize, kMinGroupSize);
  }

  const std::vector<ZcGeVector3d> offsets = arrayOffsets(layout, clockSeededSource());
  if (offsets.size() < 2) return;  // one position: the selection itself, nothing to copy
  // Checked before anything is copied, so a distance that would carry copies beyond any
  // drawing leaves the drawing as it was rather than half an array.
  if (!allWithinRange(offsets)) {
    printBilingual(kTooFar.chinese, kTooFar.english);
    return;
  }

  int missing = 0;
  WorkProgress progress(L"PLRNDArray", offsets.size());
  for (std::size_t i = 1; i < offsets.size(); ++i) {
    if (!progress.advance(i)) return;
    const ZcGeMatrix3d shift = ZcGeMatrix3d::translation(offsets[i] - offsets[0]);
    for (const ZcDbObjectId& id : selection.ids) {
      if (!placeCopy(id, shift)) ++missing;
    }
  }
  if (missing > 0) printfBilingual(kCopiesMissing, missing);
}

}  // namespace veltrace
