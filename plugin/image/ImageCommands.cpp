#include "image/ImageCommands.h"

#include "image/ImageHoleNetDialog.h"
#include "image/VectorizeDialog.h"
#include "resources/PluginResources.h"

namespace veltrace {

void loadImageHoleNetDlg() {
  ZcUiResourceOverride resources(resources::pluginResources());
  ImageHoleNet dialog(/*parent=*/nullptr);
  dialog.DoModal();
}

void loadCOutlineDlg() {
  ZcUiResourceOverride resources(resources::pluginResources());
  COutlineDlg dialog(/*parent=*/nullptr);
  dialog.DoModal();
}

}  // namespace veltrace
