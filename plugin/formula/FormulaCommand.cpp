#include "formula/FormulaCommand.h"

#include "formula/FormulaDialog.h"
#include "resources/PluginResources.h"

namespace veltrace {

void formulaCommand() {
  ZcUiResourceOverride resources(resources::pluginResources());
  CMainDlgDlg dialog(/*parent=*/nullptr);
  dialog.DoModal();
}

}  // namespace veltrace
