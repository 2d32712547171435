#pragma once
// A fresh working drawing for a benchmark, with the commands it times registered for its
// lifetime and the transcript silenced.
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include "editor/Session.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbEntity.h"
#include "zcad/db/ZcDbHandle.h"
#include "zcad/ed/ZcEdCommandStack.h"

namespace vtcad_bench {

struct BenchCommand {
  const wchar_t* name;
  void (*body)();
};

class BenchDrawing {
 public:
  explicit BenchDrawing(std::initializer_list<BenchCommand> commands)
      : db_(std::make_unique<ZcDbDatabase>()) {
    zcdbHostApplicationServices()->setWorkingDatabase(db_.get());
    vtcad::editor::Session::instance().setOutput([](std::string_view) {});
    for (const BenchCommand& command : commands) {
      zcedRegCmds()->addCommand(kGroup, command.name, command.name, 0, command.body);
    }
  }
  ~BenchDrawing() {
    zcedRegCmds()->removeGroup(kGroup);
    zcdbHostApplicationServices()->setWorkingDatabase(nullptr);
  }
  BenchDrawing(const BenchDrawing&) = delete;
  BenchDrawing& operator=(const BenchDrawing&) = delete;

  ZcDbDatabase& db() { return *db_; }

  // Appends `entity` to model space; the drawing owns it from then on (or it is deleted when
  // it could not be appended, and the id is null).
  ZcDbObjectId add(ZcDbEntity* entity) {
    ZcDbBlockTableRecord* space = nullptr;
    ZcDbObjectId id;
    if (zcdbOpenObject(space, db_->modelSpaceId(), ZcDb::kForWrite) == Zcad::eOk) {
      space->appendZcDbEntity(id, entity);
      space->close();
    }
    if (id.isNull()) {
      delete entity;
    } else {
      entity->close();
    }
    return id;
  }

  void run(const std::wstring& script) { vtcad::editor::Session::instance().runScript(script, L"bench.scr"); }

  std::int64_t entities() {
    std::int64_t count = 0;
    ZcDbBlockTableRecord* space = nullptr;
    if (zcdbOpenObject(space, db_->modelSpaceId(), ZcDb::kForRead) == Zcad::eOk) {
      count = static_cast<std::int64_t>(space->entityIds().size());
      space->close();
    }
    return count;
  }

 private:
  static constexpr const wchar_t* kGroup = L"BenchDrawing";
  std::unique_ptr<ZcDbDatabase> db_;
};

// How a script picks an entity: "#" and its handle.
inline std::wstring pickOf(ZcDbObjectId id) {
  ZcDbObject* object = nullptr;
  ZcDbHandle handle;
  if (zcdbOpenObject(object, id, ZcDb::kForRead) == Zcad::eOk) {
    object->getZcDbHandle(handle);
    object->close();
  }
  return L"#" + handle.getIntoAsciiBuffer();
}

}  // namespace vtcad_bench
