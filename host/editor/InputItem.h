#pragma once
// One input as a prompt receives it.
#include <string>

#include "zcad/db/ZcDbObjectId.h"
#include "zcad/ge/ZcGePoint3d.h"

namespace vtcad::editor {

struct InputItem {
  enum class Kind {
    kText,       // typed text (a script token, a line of the terminal, an RTSTR argument)
    kEmpty,      // Enter, a space, an empty line, an "" argument
    kPoint,      // an RTPOINT / RT3DPOINT argument of zcedCommand
    kNumber,     // an RTREAL / RTSHORT / RTLONG argument
    kEntity,     // an RTENAME argument
    kSelection,  // an RTPICKS argument: the selection set's number
    kCancel,     // ^C, Esc
    kEnd,        // no input left anywhere
  };
  Kind kind = Kind::kEmpty;
  std::wstring text;
  ZcGePoint3d point;
  double number = 0.0;
  ZcDbObjectId entity;
  long selection = 0;

  bool cancelled() const { return kind == Kind::kCancel || kind == Kind::kEnd; }
};

}  // namespace vtcad::editor
