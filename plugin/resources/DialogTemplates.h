#pragma once
// The plug-in's dialog templates, captions in Chinese with the English ones beside them.
#include "zcad/ui/ZcUiTemplate.h"

namespace veltrace::resources {

// Null for an id the plug-in has no dialog of.
const ZcUiDialogTemplate* findDialogTemplate(unsigned id);

}  // namespace veltrace::resources
