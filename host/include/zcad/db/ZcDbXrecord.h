#pragma once
// ZcDbXrecord: a database object holding a chain of DXF groups, kept in dictionaries
// (typically an object's extension dictionary) by applications.
#include "zcad/db/ZcDbObject.h"

class ZcDbXrecord : public ZcDbObject {
 public:
  ZCRX_DECLARE_MEMBERS(ZcDbXrecord)

  ZcDbXrecord();
  ~ZcDbXrecord() override;

  // A copy of the chain (the caller frees it with zcutRelRb); nullptr when empty.
  Zcad::ErrorStatus rbChain(resbuf** chain, ZcDbDatabase* auxDb = nullptr) const;
  resbuf* rbChain() const;
  // Replaces the data with a copy of the chain. Group codes of extended data (>= 1000) and
  // codes no group can have are refused (eInvalidResBuf); nullptr empties the record.
  Zcad::ErrorStatus setFromRbChain(const resbuf& chain, ZcDbDatabase* auxDb = nullptr);
  Zcad::ErrorStatus setFromRbChain(const resbuf* chain, ZcDbDatabase* auxDb = nullptr);
  bool isXlateReferences() const { return xlateReferences_; }
  void setXlateReferences(bool translate);

  ZcRxObject* clone() const override;
  Zcad::ErrorStatus copyFrom(const ZcRxObject* other) override;
  Zcad::ErrorStatus dwgInFields(ZcDbDwgFiler* filer) override;
  Zcad::ErrorStatus dwgOutFields(ZcDbDwgFiler* filer) const override;

 protected:
  ZcDbXrecord(const ZcDbXrecord& other);
  ZcDbXrecord& operator=(const ZcDbXrecord& other);

 private:
  resbuf* data_ = nullptr;
  bool xlateReferences_ = true;
};
