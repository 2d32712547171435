// The second reading thread of the ENTITIES section: whatever it reads, and however the
// section is cut into pieces, the drawing and the messages are those of one thread alone.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <optional>
#include <random>
#include <sstream>
#include <string>

#include "DxfTestDrawing.h"
#include "dxf/DxfDocumentReader.h"
#include "dxf/DxfEntityReadAhead.h"
#include "zcad/db/ZcDbDatabase.h"

namespace fs = std::filesystem;

namespace vtcad::dxf {
namespace {

using testing::dxfText;
using testing::Groups;

// Everything a read answers that a user sees: the drawing as it saves, refusal, messages.
std::string readPrint(std::string_view text, const ReadTuning& tuning) {
  LoadResult result = readDocument(text, Recovery::kRecover, {}, tuning);
  std::string out = "refusal: ";
  out.append(result.refusal).append("\nlosses: ").append(std::to_string(result.losses)).append("\n");
  for (const LoadMessage& m : result.messages) {
    out.append(std::to_string(m.line)).append(m.severity == LoadSeverity::kLoss ? " loss: " : " repair: ");
    out.append(m.text).append("\n");
  }
  if (result.database) out += writeDxf(*result.database);
  return out;
}

ReadTuning oneThread() {
  ReadTuning tuning;
  tuning.readAheadFrom = std::numeric_limits<size_t>::max();
  return tuning;
}

ReadTuning twoThreads(size_t pieces) {
  ReadTuning tuning;
  tuning.readAheadFrom = 0;
  tuning.pieces = pieces;
  return tuning;
}

// The first line of the first difference, for the failure message.
std::string firstDifference(const std::string& a, const std::string& b) {
  size_t at = 0;
  while (at < a.size() && at < b.size() && a[at] == b[at]) ++at;
  const size_t lineStart = a.rfind('\n', at == 0 ? 0 : at - 1);
  const size_t from = lineStart == std::string::npos ? 0 : lineStart + 1;
  return "one thread: '" + a.substr(from, 60) + "' two: '" + b.substr(from, 60) + "'";
}

TEST(DxfEntityReadAhead, StopsAtTheFirstRecordItCannotReadAloneAndTellsWhereToGoOn) {
  const Groups line = {{0, "LINE"}, {8, "0"}, {10, "1"}, {20, "2"}, {11, "3"}, {21, "4"}};
  Groups groups;
  for (int i = 0; i < 3; ++i) groups.insert(groups.end(), line.begin(), line.end());
  // A layer the drawing does not have yet: making it (with its message) is the first thread's.
  groups.insert(groups.end(), {{0, "LINE"}, {8, "NEW"}, {10, "1"}, {20, "2"}, {11, "3"}, {21, "4"}});
  groups.insert(groups.end(), line.begin(), line.end());
  const std::string text = dxfText(groups);

  ZcDbDatabase db(/*buildDefaultDrawing=*/true);
  LoadResult result;
  ReadContext ctx(db, result, text);
  EntityReadAhead ahead(text, /*starts=*/{0}, ctx, ctx.snapshot());
  ahead.settle();
  std::optional<EntityReadAhead::Piece> piece = ahead.arriveAt(0);
  ASSERT_TRUE(piece.has_value());
  const EntityReadAhead::Piece& read = *piece;

  EXPECT_EQ(read.objects.size(), 3u);
  const size_t fourth = dxfText(Groups(groups.begin(), groups.begin() + 18)).size();
  EXPECT_EQ(read.resumeOffset, fourth);
  EXPECT_EQ(read.linesToResume, 36u);
  EXPECT_EQ(read.objects[1].line, 13u);  // counted from the start
  EXPECT_TRUE(result.messages.empty());
  EXPECT_EQ(db.approxNumObjects(), ZcDbDatabase(/*buildDefaultDrawing=*/true).approxNumObjects())
      << "the database is not touched";
}

// Random drawings with whatever makes the second thread hand records back: names and
// handles not known when the section begins, duplicate handles, unreadable numbers, aligned
// texts, extended data, polylines with vertices, block references to undefined blocks.
std::string randomDrawing(std::mt19937& rng) {
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

TEST(DxfEntityReadAhead, ReadsRandomDrawingsAsOneThreadDoesHoweverTheyAreCut) {
  std::mt19937 rng(20261210);
  for (int round = 0; round < 150; ++round) {
    const std::string text = randomDrawing(rng);
    const std::string alone = readPrint(text, oneThread());
    for (double share : {0.1, 0.35, 0.6, 0.9}) {
      const std::string both = readPrint(text, twoThreads(share));
      ASSERT_EQ(alone, both) << "round " << round << ", share " << share << ": "
                             << firstDifference(alone, both);
    }
  }
}

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

TEST(DxfEntityReadAhead, ReadsTheCorpusAsOneThreadDoes) {
  std::vector<fs::path> files;
  if (const char* shared = std::getenv("VTCAD_SHARED"); shared && *shared) {
    for (const auto& entry : fs::recursive_directory_iterator(fs::path(shared) / "dxf-samples")) {
      if (entry.path().extension() == ".dxf" || entry.path().extension() == ".DXF")
        files.push_back(entry.path());
    }
  }
  // Every tenth of LibreCAD's library drawings.
  if (fs::is_directory("/usr/share/librecad")) {
    size_t k = 0;
    for (const auto& entry : fs::recursive_directory_iterator("/usr/share/librecad")) {
      if (entry.path().extension() == ".dxf" && k++ % 10 == 0) files.push_back(entry.path());
    }
  }
  ASSERT_GT(files.size(), 80u);
  std::vector<std::string> failures;
  for (const fs::path& file : files) {
    const std::string text = readFile(file);
    const std::string alone = readPrint(text, oneThread());
    for (size_t pieces : {3, 30}) {
      const std::string both = readPrint(text, twoThreads(pieces));
      if (alone != both) failures.push_back(file.filename().string() + ": " + firstDifference(alone, both));
    }
  }
  EXPECT_TRUE(failures.empty()) << failures.size()
                                << " failed, first: " << (failures.empty() ? "" : failures.front());
}

}  // namespace
}  // namespace vtcad::dxf
