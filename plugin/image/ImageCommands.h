#pragma once
// The two image commands: txwk (the hole net dialog) and R2V (the vectorize dialog).

namespace veltrace {

void loadImageHoleNetDlg();
void loadCOutlineDlg();

}  // namespace veltrace
