// Costs of the database core: opening and closing an entity (for read, and for write
// without a change), and appending many entities to model space.
#include <benchmark/benchmark.h>

#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbEntity.h"
#include "zcad/db/ZcDbXrecord.h"

namespace {

// The cheapest database object to make many of: the open path is the same for every class.
ZcDbObjectId addObject(ZcDbDatabase& db) {
  auto* record = new ZcDbXrecord;
  ZcDbObjectId id;
  db.addZcDbObject(id, record);
  record->close();
  return id;
}

void BM_OpenCloseForRead(benchmark::State& state) {
  ZcDbDatabase db;
  ZcDbObjectId id = addObject(db);
  for (auto _ : state) {
    ZcDbObject* obj = nullptr;
    zcdbOpenObject(obj, id, ZcDb::kForRead);
    benchmark::DoNotOptimize(obj);
    obj->close();
  }
}
BENCHMARK(BM_OpenCloseForRead);

void BM_OpenCloseForWriteWithoutChange(benchmark::State& state) {
  ZcDbDatabase db;
  ZcDbObjectId id = addObject(db);
  db.beginUndoGroup();  // recording: still nothing to keep when nothing changes
  for (auto _ : state) {
    ZcDbObject* obj = nullptr;
    zcdbOpenObject(obj, id, ZcDb::kForWrite);
    benchmark::DoNotOptimize(obj);
    obj->close();
  }
  db.endUndoGroup();
}
BENCHMARK(BM_OpenCloseForWriteWithoutChange);

// A minimal entity so that the append cost is the database's, not an entity class's.
class BenchEntity : public ZcDbEntity {
 public:
  ZCRX_DECLARE_MEMBERS(BenchEntity)
  ZCDB_DECLARE_VALUE_COPY(BenchEntity)
  BenchEntity() = default;

 protected:
  BenchEntity(const BenchEntity&) = default;
  BenchEntity& operator=(const BenchEntity&) = default;
};

void BM_Append100kEntities(benchmark::State& state) {
  for (auto _ : state) {
    ZcDbDatabase db;
    ZcDbBlockTableRecord* space = nullptr;
    zcdbOpenObject(space, db.modelSpaceId(), ZcDb::kForWrite);
    for (int i = 0; i < 100000; ++i) {
      auto* entity = new BenchEntity;
      space->appendZcDbEntity(entity);
      entity->close();
    }
    space->close();
    benchmark::DoNotOptimize(db.approxNumObjects());
  }
  state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(BM_Append100kEntities)->Unit(benchmark::kMillisecond);

}  // namespace

ZCRX_DEFINE_MEMBERS_WITH_NAMES(BenchEntity, ZcDbEntity, L"VtBenchEntity", nullptr,
                               []() -> ZcRxObject* { return new BenchEntity; })
