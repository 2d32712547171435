// SETVAR: a system variable by name, its value shown and replaced from the command line. The
// value is typed as text and read by the variable's type: whole numbers for shorts, numbers
// for reals, "x,y" or "x,y,z" for points, any text for strings. Enter keeps the value.
#include <cwchar>
#include <cwctype>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "commands/EditCommandSupport.h"
#include "commands/EditCommands.h"
#include "editor/SystemVariables.h"
#include "zcad/zced.h"

namespace vtcad::commands {
namespace {

constexpr std::size_t kTextLength = 2048;

std::wstring upper(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
  return text;
}

std::wstring numberText(double number) {
  std::wostringstream out;
  out.precision(10);
  out << number;
  return out.str();
}

std::wstring valueText(const editor::SysVarValue& value) {
  switch (value.type) {
    case editor::SysVarType::kShort:
    case editor::SysVarType::kLong:
    case editor::SysVarType::kReal:
      return numberText(value.number);
    case editor::SysVarType::kPoint2d:
      return numberText(value.point.x) + L"," + numberText(value.point.y);
    case editor::SysVarType::kPoint3d:
      return numberText(value.point.x) + L"," + numberText(value.point.y) + L"," + numberText(value.point.z);
    case editor::SysVarType::kString:
      return value.text;
  }
  return {};
}

// The numbers of a text separated by commas, each read whole; nothing when one is not a number.
std::optional<std::vector<double>> numbersOf(const std::wstring& text) {
  std::vector<double> numbers;
  std::wstring::size_type from = 0;
  while (true) {
    const std::wstring::size_type comma = text.find(L',', from);
    const std::wstring part =
        text.substr(from, comma == std::wstring::npos ? std::wstring::npos : comma - from);
    wchar_t* end = nullptr;
    const double number = std::wcstod(part.c_str(), &end);
    if (part.empty() || end != part.c_str() + part.size()) return std::nullopt;
    numbers.push_back(number);
    if (comma == std::wstring::npos) return numbers;
    from = comma + 1;
  }
}

// The typed text as a value of `type`; nothing when it is not one (the variable's own range is
// the table's to check).
std::optional<editor::SysVarValue> parsed(const std::wstring& text, editor::SysVarType type) {
  editor::SysVarValue value;
  value.type = type;
  if (type == editor::SysVarType::kString) {
    value.text = text;
    return value;
  }
  const std::optional<std::vector<double>> numbers = numbersOf(text);
  if (!numbers) return std::nullopt;
  switch (type) {
    case editor::SysVarType::kShort:
    case editor::SysVarType::kLong:
      if (numbers->size() != 1 || (*numbers)[0] != static_cast<double>(static_cast<long long>((*numbers)[0])))
        return std::nullopt;
      value.number = (*numbers)[0];
      return value;
    case editor::SysVarType::kReal:
      if (numbers->size() != 1) return std::nullopt;
      value.number = (*numbers)[0];
      return value;
    default:
      if (numbers->size() < 2 || numbers->size() > 3) return std::nullopt;
      value.point.set((*numbers)[0], (*numbers)[1], numbers->size() == 3 ? (*numbers)[2] : 0.0);
      return value;
  }
}

}  // namespace

void setvarCommand() {
  ZTCHAR typed[kTextLength] = {};
  if (zcedGetString(/*cronly=*/0, L"\nEnter variable name: ", typed, kTextLength) != RTNORM) return;
  const std::wstring name = upper(typed);
  if (name.empty()) return;
  editor::SysVarValue current;
  if (editor::getSystemVariable(name, current) != RTNORM) {
    print(L"Unknown variable name \"" + name + L"\".\n");
    return;
  }
  const std::wstring prompt = L"\nEnter new value for " + name + L" <" + valueText(current) + L">: ";
  ZTCHAR answer[kTextLength] = {};
  // Strings take spaces; other values end at one, as scripts write them.
  const int cronly = current.type == editor::SysVarType::kString ? 1 : 0;
  if (zcedGetString(cronly, prompt.c_str(), answer, kTextLength) != RTNORM) return;
  const std::wstring text = answer;
  if (text.empty()) return;  // Enter keeps the value
  const std::optional<editor::SysVarValue> value = parsed(text, current.type);
  if (!value || editor::setSystemVariable(name, *value) != RTNORM) {
    print(L"Invalid value for " + name + L": " + text + L"\n");
  }
}

}  // namespace vtcad::commands
