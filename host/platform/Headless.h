#pragma once
// Whether the host runs without a desktop: then platform services start no programs and show
// no windows, and everything goes through the command line.

namespace vtcad::platform {

// True forces headless; false gives the decision back to the environment.
void setHeadless(bool headless);
// Headless when forced, when VTCAD_HEADLESS is 1, or when neither DISPLAY nor WAYLAND_DISPLAY
// is set.
bool isHeadless();

}  // namespace vtcad::platform
