#pragma once
// The catalogue of formula curves the FORMULA dialog lists: for each entry its list text, the
// id of its preview picture and its four integer parameter slots (label and range). The two
// languages have one table each; they differ only in texts. An entry's position (0..70) is
// its list-box index and chooses its generator (FormulaGenerators.h).
#include <array>

namespace veltrace {

inline constexpr int kFormulaCurveCount = 71;
inline constexpr int kFormulaParamCount = 4;

// One parameter slot: a label and an integer range with its default. The dialog hides a slot
// with an empty label; a slot that carries nothing at all also has 0, 0, 0.
struct FormulaParamDef {
  const wchar_t* label;
  int minimum;
  int defaultValue;
  int maximum;
};

struct FormulaCurveDef {
  const wchar_t* listText;
  int previewId;  // resource id of the entry's preview picture
  std::array<FormulaParamDef, kFormulaParamCount> params;
};

// The kFormulaCurveCount entries in list order, in Chinese or in English.
const FormulaCurveDef* formulaCatalogue(bool chinese);

}  // namespace veltrace
