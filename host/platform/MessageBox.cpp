// MessageBoxW, AfxMessageBox and zcedAlert over the user-interface backend.
#include "platform/MessageBox.h"

#include <array>
#include <string>
#include <vector>

#include "platform/UiBackend.h"
#include "zcad/platform/zcui.h"

namespace vtcad::platform {

int messageBoxDefaultAnswer(unsigned type) {
  // Buttons by the low four bits of the type, in the order the box shows them.
  static const std::array<std::vector<int>, 7> kButtons = {{
      {IDOK},
      {IDOK, IDCANCEL},
      {IDABORT, IDRETRY, IDIGNORE},
      {IDYES, IDNO, IDCANCEL},
      {IDYES, IDNO},
      {IDRETRY, IDCANCEL},
      {IDCANCEL, IDTRYAGAIN, IDCONTINUE},
  }};
  unsigned set = type & 0xF;
  if (set >= kButtons.size()) return IDOK;
  const std::vector<int>& buttons = kButtons[set];
  unsigned index = (type >> 8) & 0xF;
  return index < buttons.size() ? buttons[index] : buttons.front();
}

}  // namespace vtcad::platform

using vtcad::platform::kHostTitle;
using vtcad::platform::uiBackend;

int MessageBoxW(HWND /*owner*/, LPCWSTR text, LPCWSTR caption, UINT type) {
  return uiBackend()->messageBox(caption ? caption : kHostTitle, text ? text : L"", type);
}

int AfxMessageBox(LPCWSTR text, UINT type, UINT /*nIDHelp*/) {
  return uiBackend()->messageBox(kHostTitle, text ? text : L"", type);
}

int zcedAlert(const ZTCHAR* text) {
  if (!text) return RTERROR;
  uiBackend()->messageBox(kHostTitle, text, MB_OK | MB_ICONWARNING);
  return RTNORM;
}
