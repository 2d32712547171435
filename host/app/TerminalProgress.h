#pragma once
// Progress of long work on a terminal: one line on standard error, rewritten in place
// ("Opening plan.dxf  45%") and wiped when the work ends. Only installed when standard error
// is a terminal, so pipes and log files never see it.
#include "editor/ProgressMeter.h"

namespace vtcad::app {

class TerminalProgress final : public editor::ProgressDisplay {
 public:
  void show(std::wstring_view label, int percent) override;
  void clear() override;
};

}  // namespace vtcad::app
