#include "TracerOptions.h"

#include <charconv>

namespace vtcad::tracer {

ParsedOptions parseTracerOptions(const std::vector<std::string>& arguments) {
  ParsedOptions parsed;
  auto refuse = [&parsed](std::string why) {
    parsed.error = std::move(why);
    return parsed;
  };
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    const bool isOption = argument.size() > 1 && argument[0] == '-';
    if (!isOption) {
      if (!parsed.options.input.empty()) return refuse("more than one input file: " + argument);
      parsed.options.input = argument;
      continue;
    }
    if (i + 1 >= arguments.size()) return refuse(argument + " needs a value");
    const std::string& value = arguments[++i];
    if (argument == "-color-count") {
      int count = 0;
      auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), count);
      if (error != std::errc() || end != value.data() + value.size() || count < kMinColorCount ||
          count > kMaxColorCount) {
        return refuse("-color-count takes a whole number from 2 to 256, not " + value);
      }
      parsed.options.colorCount = count;
    } else if (argument == "-output-format") {
      if (value != "dxf") return refuse("the only output format is dxf, not " + value);
    } else if (argument == "-output-file") {
      if (!parsed.options.output.empty()) return refuse("more than one output file");
      parsed.options.output = value;
    } else {
      return refuse("unknown option " + argument);
    }
  }
  if (parsed.options.input.empty()) return refuse("no input file");
  if (parsed.options.output.empty()) return refuse("no -output-file");
  parsed.ok = true;
  return parsed;
}

}  // namespace vtcad::tracer
