#pragma once
// FORMULA: runs the formula dialog (FormulaDialog.h) with the plug-in's resources. It asks and
// prints nothing itself.

namespace veltrace {

void formulaCommand();

}  // namespace veltrace
