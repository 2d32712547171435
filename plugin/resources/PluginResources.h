#pragma once
// The plug-in's resources as the host's dialog framework asks for them: the dialog templates
// and the pictures. Commands that run a dialog make them current for the run
// (ZcUiResourceOverride).
#include "zcad/ui/ZcUiResources.h"

namespace veltrace::resources {

const ZcUiResources* pluginResources();

}  // namespace veltrace::resources
