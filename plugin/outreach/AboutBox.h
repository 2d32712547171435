#pragma once
// The About box: the release, the product and privacy pages, and a newer published release
// when there is one. A modal message box (printed on the command line without a desktop).
#include <string>

namespace veltrace::outreach {

// The text the box shows, in this load's language.
std::wstring aboutText();
void showAboutBox();
// ABOUT_VTRACE: asks again for the published release, then shows the box.
void aboutCommand();

}  // namespace veltrace::outreach
