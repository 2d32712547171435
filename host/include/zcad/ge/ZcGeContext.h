#pragma once
// ZcGeContext: process-wide defaults of the geometry module. gTol is the tolerance every
// query uses when its caller passes none. It is constant-initialised (no static-order
// problems) and not synchronised: change it only at start-up.
#include "zcad/ge/ZcGeTol.h"

struct ZcGeContext {
  inline static ZcGeTol gTol{};
};
