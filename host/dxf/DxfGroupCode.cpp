#include "dxf/DxfGroupCode.h"

namespace vtcad::dxf {

ValueType valueTypeOf(int c) {
  if (c >= 0 && c <= 9) return ValueType::kString;
  if (c >= 10 && c <= 59) return ValueType::kDouble;
  if (c >= 60 && c <= 79) return ValueType::kInt16;
  if (c >= 90 && c <= 99) return ValueType::kInt32;
  if (c >= 100 && c <= 109) return ValueType::kString;
  if (c >= 110 && c <= 149) return ValueType::kDouble;
  if (c >= 160 && c <= 169) return ValueType::kInt64;
  if (c >= 170 && c <= 179) return ValueType::kInt16;
  if (c >= 210 && c <= 239) return ValueType::kDouble;
  if (c >= 270 && c <= 289) return ValueType::kInt16;
  if (c >= 290 && c <= 299) return ValueType::kBool;
  if (c >= 300 && c <= 309) return ValueType::kString;
  if (c >= 310 && c <= 319) return ValueType::kBinary;
  if (c >= 320 && c <= 369) return ValueType::kString;
  if (c >= 370 && c <= 389) return ValueType::kInt16;
  if (c >= 390 && c <= 399) return ValueType::kString;
  if (c >= 400 && c <= 409) return ValueType::kInt16;
  if (c >= 410 && c <= 419) return ValueType::kString;
  if (c >= 420 && c <= 429) return ValueType::kInt32;
  if (c >= 430 && c <= 439) return ValueType::kString;
  if (c >= 440 && c <= 449) return ValueType::kInt32;
  if (c >= 450 && c <= 459) return ValueType::kInt32;
  if (c >= 460 && c <= 469) return ValueType::kDouble;
  if (c >= 470 && c <= 481) return ValueType::kString;
  if (c == 999) return ValueType::kString;
  if (c == 1004) return ValueType::kBinary;
  if (c >= 1000 && c <= 1009) return ValueType::kString;
  if (c >= 1010 && c <= 1059) return ValueType::kDouble;
  if (c >= 1060 && c <= 1070) return ValueType::kInt16;
  if (c == 1071) return ValueType::kInt32;
  if (c == -1 || c == -2 || c == -3 || c == -4 || c == -5) return ValueType::kString;
  return ValueType::kUnknown;
}

bool isHandleCode(int c) { return c == 5 || c == 105 || c == 1005 || isReferenceCode(c); }

bool isReferenceCode(int c) {
  return (c >= 320 && c <= 369) || (c >= 390 && c <= 399) || c == 480 || c == 481;
}

}  // namespace vtcad::dxf
