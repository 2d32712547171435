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

#include "DxfRandomDrawing.h"
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

TEST(DxfEntityReadAhead, ReadsRandomDrawingsAsOneThreadDoesHoweverTheyAreCut) {
  std::mt19937 rng(20261210);
  for (int round = 0; round < 150; ++round) {
    const std::string text = testing::randomDrawing(rng);
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
