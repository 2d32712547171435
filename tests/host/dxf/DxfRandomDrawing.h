#pragma once
// Random drawings for the tests of the two-thread reading and writing.
#include <random>
#include <string>

#include "DxfTestDrawing.h"

namespace vtcad::dxf::testing {

// Random drawings with whatever makes the second thread hand records back: names and
// handles not known when the section begins, duplicate handles, unreadable numbers, aligned
// texts, extended data, polylines with vertices, block references to undefined blocks.
inline std::string randomDrawing(std::mt19937& rng) {
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  auto number = [&] { return std::to_string(pick(20000) / 10.0); };
  const bool crlf = pick(4) == 0;
  const bool padded = pick(2) == 0;
  Groups g = {{0, "SECTION"}, {2, "TABLES"},  {0, "TABLE"},  {2, "LAYER"},      {0, "LAYER"},
              {2, "A"},       {70, "0"},      {62, "1"},     {6, "CONTINUOUS"}, {0, "LAYER"},
              {2, "B"},       {70, "0"},      {62, "2"},     {6, "CONTINUOUS"}, {0, "ENDTAB"},
              {0, "ENDSEC"},  {0, "SECTION"}, {2, "BLOCKS"}, {0, "BLOCK"},      {8, "0"},
              {2, "BLK"},     {70, "0"},      {10, "0"},     {20, "0"},         {30, "0"},
              {3, "BLK"},     {0, "ENDBLK"},  {0, "ENDSEC"}, {0, "SECTION"},    {2, "ENTITIES"}};
  const char* const layers[] = {"0", "A", "B", "C", "a", "D"};
  const int count = 20 + pick(300);
  for (int i = 0; i < count; ++i) {
    const std::string layer = layers[pick(pick(8) == 0 ? 6 : 3)];
    auto head = [&](const char* type) {
      g.push_back({0, type});
      if (pick(3) == 0) g.push_back({5, std::to_string(100 + pick(400))});  // now and then twice
      if (pick(40) == 0)
        g.insert(g.end(), {{102, "{ACAD_REACTORS"}, {330, std::to_string(100 + pick(400))}, {102, "}"}});
      g.push_back({8, layer});
      if (pick(10) == 0) g.push_back({62, std::to_string(pick(257))});
    };
    switch (pick(9)) {
      case 0:
      case 1:
        head("LINE");
        g.insert(g.end(),
                 {{10, number()}, {20, number()}, {30, "0"}, {11, number()}, {21, number()}, {31, "0"}});
        break;
      case 2:
        head("CIRCLE");
        g.insert(g.end(), {{10, number()}, {20, number()}, {40, pick(30) == 0 ? "x" : "2.5"}});
        break;
      case 3:
        head("TEXT");
        g.insert(
            g.end(),
            {{10, number()}, {20, number()}, {40, "0.3"}, {1, std::string("T").append(std::to_string(i))}});
        if (pick(4) == 0) g.insert(g.end(), {{72, "1"}, {11, number()}, {21, number()}});
        break;
      case 4:
        head("INSERT");
        g.insert(g.end(), {{2, pick(8) == 0 ? std::string("UNDEF").append(std::to_string(pick(3))) : "BLK"},
                           {10, number()},
                           {20, number()}});
        break;
      case 5:
        head("LWPOLYLINE");
        g.insert(g.end(),
                 {{90, "2"}, {70, "0"}, {10, number()}, {20, number()}, {10, number()}, {20, number()}});
        break;
      case 6:
        head("ARC");
        g.insert(g.end(), {{10, number()}, {20, number()}, {40, "1.5"}, {50, "10"}, {51, "80"}});
        if (pick(5) == 0) g.insert(g.end(), {{1001, "APP"}, {1000, "data"}});
        break;
      case 7:
        head("POLYLINE");
        g.insert(g.end(), {{66, "1"}, {70, "0"}});
        for (int v = 0; v < 2; ++v)
          g.insert(g.end(), {{0, "VERTEX"}, {8, layer}, {10, number()}, {20, number()}});
        g.push_back({0, "SEQEND"});
        break;
      default:
        head("MTEXT");
        g.insert(g.end(), {{10, number()}, {20, number()}, {40, "0.3"}, {1, "M"}});
        break;
    }
  }
  g.insert(g.end(), {{0, "ENDSEC"}, {0, "EOF"}});
  std::string text;
  for (const auto& [code, value] : g) {
    if (padded) text.append(code < 10 ? 2 : code < 100 ? 1 : 0, ' ');
    text.append(std::to_string(code));
    text += crlf ? "\r\n" : "\n";
    text += value;
    text += crlf ? "\r\n" : "\n";
  }
  return text;
}

}  // namespace vtcad::dxf::testing
