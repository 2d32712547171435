#pragma once
// Message boxes: which answer a message box gives when nobody can press a button.

namespace vtcad::platform {

// The id (IDOK, IDYES, ...) of the default button of a MessageBoxW `type`: the button the
// MB_DEFBUTTONn bits name, the first when they name one the box does not have. An unknown
// button set answers IDOK.
int messageBoxDefaultAnswer(unsigned type);

}  // namespace vtcad::platform
