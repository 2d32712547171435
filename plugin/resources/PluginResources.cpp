#include "resources/PluginResources.h"

#include "resources/DialogTemplates.h"
#include "resources/PreviewPictures.h"

namespace veltrace::resources {

namespace {

const ZcUiDialogTemplate* findDialog(UINT id) { return findDialogTemplate(id); }

bool loadPicture(UINT id, CImage& picture) { return loadPreviewPicture(id, picture); }

constexpr ZcUiResources kResources{&findDialog, &loadPicture};

}  // namespace

const ZcUiResources* pluginResources() { return &kResources; }

}  // namespace veltrace::resources
