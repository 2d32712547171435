#include "morph/MorphPrompts.h"

#include "frame/Messages.h"
#include "morph/SpacingLaw.h"
#include "zcad/zced.h"
#include "zcad/zds.h"

namespace veltrace {

namespace {

constexpr int kDefaultInterpolationCount = 16;
constexpr int kMaxInterpolationCount = 100;

int askCount(const MessagePair& prompt) {
  // The host refuses zero and negatives itself on the first answer; the loop asks again for
  // whatever else is out of range, without a message.
  zcedInitGet(RSG_NOZERO | RSG_NONEG, /*kwl=*/L"");
  int count = 0;
  while (count < 1 || count > kMaxInterpolationCount) {
    if (getIntBilingual(prompt.chinese, prompt.english, &count) != RTNORM) return kDefaultInterpolationCount;
  }
  return count;
}

double askAcceleration(const MessagePair& prompt) {
  zcedInitGet(RSG_NOLIM, /*kwl=*/L"");
  int value = 0;
  if (getIntBilingual(prompt.chinese, prompt.english, &value) != RTNORM) value = 0;
  return accelerationFromInput(value);
}

}  // namespace

int askInterpolationCount() {
  return askCount({L"\n请输入间插数量，允许值1--100，默认值16:",
                   L"\nNumber of Interpolation, allowable 1--100, default 16:"});
}

double askDensityAcceleration() {
  return askAcceleration(
      {L"\n请输入间插疏密加速度，允许值 -100（减速） ~ 100（加速），默认值0:",
       L"\nPlease enter the interpolation density acceleration, the allowable value is -100 "
       L"(deceleration) ~ 100 (acceleration), the default value is 0:"});
}

int askCountOfSteps() {
  return askCount({L"\n请输入渐变曲线数量，允许值1--100，默认值16:",
                   L"\nNumber of gradient curves, allowable 1--100, default 16:"});
}

double askStepAcceleration() {
  return askAcceleration(
      {L"\n请输入渐变曲线疏密加速度，允许值 -100（减速） ~ 100（加速），默认值0:",
       L"\nPlease enter the gradient curve density acceleration, the allowable value is -100 "
       L"(deceleration) ~ 100 (acceleration), the default value is 0:"});
}

}  // namespace veltrace
