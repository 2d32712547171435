#pragma once
// PLDF and PLDJDF: a new polyline laid over each selected curve, with its vertices equally
// spaced along the curve by count (PLDF) or by spacing (PLDJDF). The curves stay as they are;
// each polyline goes into the block of its curve.
namespace veltrace {

// The most spacings PLDJDF lays along one curve: a tiny spacing on a long curve would
// otherwise ask for more points than memory holds.
inline constexpr int kMaxSpacingsPerCurve = 100000;

void pldfCommand();
void pldjdfCommand();

}  // namespace veltrace
