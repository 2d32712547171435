// The second writing thread: however the entities are cut into pieces, the text is the one
// thread's.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <random>
#include <sstream>
#include <string>

#include "DxfRandomDrawing.h"
#include "dxf/DxfEntityWriteAhead.h"
#include "dxf/DxfFile.h"
#include "zcad/db/ZcDbDatabase.h"

namespace fs = std::filesystem;

namespace vtcad::dxf {
namespace {

std::string written(ZcDbDatabase& db, size_t pieces) {
  WriteTuning tuning;
  tuning.writeAheadFrom = pieces == 0 ? std::numeric_limits<size_t>::max() : 0;
  tuning.pieces = pieces;
  return DocumentWriter(db, tuning).write();
}

void expectSameText(ZcDbDatabase& db, const std::string& what) {
  const std::string alone = written(db, 0);
  for (size_t pieces : {1, 3, 40}) {
    const std::string both = written(db, pieces);
    if (alone == both) continue;
    size_t at = 0;
    while (at < alone.size() && at < both.size() && alone[at] == both[at]) ++at;
    ADD_FAILURE() << what << ", " << pieces << " pieces: first difference at byte " << at << ": '"
                  << alone.substr(at, 40) << "' / '" << both.substr(at, 40) << "'";
    return;
  }
}

TEST(DxfEntityWriteAhead, WritesRandomDrawingsAsOneThreadDoesHoweverTheyAreCut) {
  std::mt19937 rng(20261211);
  for (int round = 0; round < 100; ++round) {
    LoadResult read = readDxf(testing::randomDrawing(rng), Recovery::kRecover);
    ASSERT_TRUE(read.ok()) << read.refusal;
    expectSameText(*read.database, "round " + std::to_string(round));
  }
}

TEST(DxfEntityWriteAhead, WritesTheSharedSamplesAsOneThreadDoes) {
  const char* shared = std::getenv("VTCAD_SHARED");
  ASSERT_TRUE(shared && *shared) << "VTCAD_SHARED names the folder of dxf-samples";
  size_t tried = 0;
  for (const auto& entry : fs::recursive_directory_iterator(fs::path(shared) / "dxf-samples")) {
    std::ifstream in(entry.path(), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    LoadResult read = readDxf(bytes.str(), Recovery::kRecover);
    if (!read.ok()) continue;
    ++tried;
    expectSameText(*read.database, entry.path().filename().string());
  }
  EXPECT_GT(tried, 70u);
}

}  // namespace
}  // namespace vtcad::dxf
