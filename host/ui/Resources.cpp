// The current resources of the dialog framework.
#include "zcad/ui/ZcUiResources.h"

namespace {

const ZcUiResources*& current() {
  static const ZcUiResources* resources = nullptr;
  return resources;
}

}  // namespace

const ZcUiResources* zcuiCurrentResources() { return current(); }

const ZcUiResources* zcuiSetResources(const ZcUiResources* resources) {
  const ZcUiResources* previous = current();
  current() = resources;
  return previous;
}
