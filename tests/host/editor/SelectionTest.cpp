// Interactive selection: whatever mix of picks, ALL, Add and Remove a user types, the set holds
// each entity once, in the order it was first added, without those removed since; and the
// "found" line tells the duplicates and the removals.
#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "EditorTestSupport.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/zced.h"

namespace vtcad::editor::testing {
namespace {

class SelectionTest : public EditorTest {
 protected:
  ZcDbObjectId addLine(double x) {
    ZcDbBlockTableRecord* space = nullptr;
    EXPECT_EQ(zcdbOpenObject(space, db_->modelSpaceId(), ZcDb::kForWrite), Zcad::eOk);
    auto* line = new ZcDbLine(ZcGePoint3d(x, 0, 0), ZcGePoint3d(x, 1, 0));
    ZcDbObjectId id;
    EXPECT_EQ(space->appendZcDbEntity(id, line), Zcad::eOk);
    line->close();
    space->close();
    return id;
  }
  // The members of a set made by typing `answers` at "Select objects:".
  std::vector<ZcDbObjectId> select(const std::wstring& answers) {
    std::vector<ZcDbObjectId> members;
    body() = [&members] {
      zds_name set = {0, 0};
      if (zcedSSGet(nullptr, nullptr, nullptr, nullptr, set) != RTNORM) return;
      Zdesk::Int32 length = 0;
      zcedSSLength(set, &length);
      for (Zdesk::Int32 i = 0; i < length; ++i) {
        zds_name member = {0, 0};
        ZcDbObjectId id;
        zcedSSName(set, i, member);
        zcdbGetObjectId(id, member);
        members.push_back(id);
      }
      zcedSSFree(set);
    };
    run(L"T\n" + answers + L"\n");
    return members;
  }
};

std::wstring pick(ZcDbObjectId id) { return L"#" + id.handle().getIntoAsciiBuffer(); }

TEST_F(SelectionTest, MembersOnceInFirstOrderWithoutTheRemoved) {
  std::vector<ZcDbObjectId> lines;
  for (int i = 0; i < 12; ++i) lines.push_back(addLine(i));
  std::mt19937 rng(1207);
  int nonEmpty = 0;
  for (int round = 0; round < 200; ++round) {
    std::vector<ZcDbObjectId> model;
    std::wstring answers;
    bool removing = false;
    const int steps = std::uniform_int_distribution<int>(1, 12)(rng);
    for (int s = 0; s < steps; ++s) {
      const int choice = std::uniform_int_distribution<int>(0, 9)(rng);
      if (choice == 0) {
        answers += removing ? L"A\n" : L"R\n";
        removing = !removing;
        continue;
      }
      std::vector<ZcDbObjectId> found;
      if (choice == 1) {
        answers += L"ALL\n";
        found = lines;
      } else {
        found = {lines[std::uniform_int_distribution<size_t>(0, lines.size() - 1)(rng)]};
        answers += pick(found.front()) + L"\n";
      }
      for (const ZcDbObjectId& id : found) {
        auto at = std::find(model.begin(), model.end(), id);
        if (removing && at != model.end()) model.erase(at);
        if (!removing && at == model.end()) model.push_back(id);
      }
    }
    EXPECT_EQ(select(answers), model) << round;
    if (!model.empty()) ++nonEmpty;
  }
  EXPECT_GT(nonEmpty, 100) << "the rounds select something";
}

TEST_F(SelectionTest, FoundLineTellsDuplicatesAndRemovals) {
  const ZcDbObjectId a = addLine(0), b = addLine(1);
  addLine(2);
  select(pick(a) + L"\n" + pick(a) + L"\nALL\nR\n" + pick(b));
  EXPECT_TRUE(said("1 found, 1 total (1 duplicate)")) << transcript_;
  EXPECT_TRUE(said("3 found, 3 total (1 duplicate)")) << transcript_;
  EXPECT_TRUE(said("1 found, 1 removed, 2 total")) << transcript_;
}

}  // namespace
}  // namespace vtcad::editor::testing
