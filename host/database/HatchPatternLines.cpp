// The pattern line groups of a hatch read back from its kept groups, in file order.
#include "database/HatchPatternLines.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <string>

#include "database/ZcDbFileAccess.h"
#include "zcad/db/ZcDbHatch.h"

namespace vtcad::db {
namespace {

constexpr double kRadiansPerDegree = M_PI / 180.0;

std::optional<double> numberOf(const std::string& text) {
  std::size_t from = text.find_first_not_of(" \t");
  if (from == std::string::npos) return std::nullopt;
  if (text[from] == '+') ++from;
  const std::size_t to = text.find_last_not_of(" \t\r") + 1;
  double value = 0.0;
  const auto [end, error] = std::from_chars(text.data() + from, text.data() + to, value);
  if (error != std::errc() || end != text.data() + to || !std::isfinite(value)) return std::nullopt;
  return value;
}

}  // namespace

std::vector<HatchPatternLine> hatchPatternLines(const ZcDbHatch& hatch) {
  std::vector<HatchPatternLine> lines;
  const std::vector<ZcDbKeptGroup>* kept = ZcDbFileAccess::keptGroups(&hatch);
  if (!kept) return lines;
  std::size_t i = 0;
  while (i < kept->size() && (*kept)[i].code != 78) ++i;
  if (i == kept->size()) return lines;
  const std::optional<double> count = numberOf((*kept)[i].value);
  if (!count || *count < 0) return lines;
  std::size_t dashesLeft = 0;
  for (++i; i < kept->size(); ++i) {
    const ZcDbKeptGroup& g = (*kept)[i];
    const std::optional<double> value = numberOf(g.value);
    if (!value) break;
    if (g.code == 53) {
      if (lines.size() >= static_cast<std::size_t>(*count) || dashesLeft != 0) break;
      lines.emplace_back().angle = *value * kRadiansPerDegree;
      continue;
    }
    if (lines.empty()) break;
    HatchPatternLine& line = lines.back();
    if (g.code == 43) {
      line.base.x = *value;
    } else if (g.code == 44) {
      line.base.y = *value;
    } else if (g.code == 45) {
      line.offset.x = *value;
    } else if (g.code == 46) {
      line.offset.y = *value;
    } else if (g.code == 79) {
      if (*value < 0 || *value > 1000) break;
      dashesLeft = static_cast<std::size_t>(*value);
    } else if (g.code == 49 && dashesLeft > 0) {
      line.dashes.push_back(*value);
      --dashesLeft;
    } else {
      break;  // the groups after the pattern lines (pixel size, seed points, gradient)
    }
  }
  // A line whose dashes were cut short is not the file's line.
  if (dashesLeft != 0 && !lines.empty()) lines.pop_back();
  return lines;
}

}  // namespace vtcad::db
