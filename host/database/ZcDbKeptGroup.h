#pragma once
// Internal: a group of a drawing file that the object's class does not interpret, kept with
// the object so that saving writes it back where it was. The file layer decides what a slot
// means (which subclass section of the object the group belongs to).
#include <string>
#include <vector>

#include "zcad/db/ZcDbObjectId.h"
#include "zcad/zadesk.h"

struct ZcDbKeptGroup {
  Zdesk::Int16 code = 0;
  Zdesk::UInt16 slot = 0;
  std::string value;  // the text of the file, UTF-8
  // For groups that name another object (owner and pointer references): that object, so
  // that the group names it by its handle at the time of saving.
  ZcDbObjectId ref;
};

// What a drawing file held outside its objects that the host keeps for the next save: the
// header variables it cannot hold as values (those naming objects), the order of the
// header, the CLASSES section, tables and sections of unknown kinds.
struct ZcDbFileKept {
  std::vector<ZcDbKeptGroup> header;      // (9, $NAME) and its groups, per variable
  std::vector<std::wstring> headerOrder;  // upper-case names without '$', as the file had them
  std::vector<ZcDbKeptGroup> classes;     // whole CLASS records, (0, CLASS) included
  std::vector<ZcDbKeptGroup> tables;      // whole TABLE ... ENDTAB of unknown tables
  std::vector<ZcDbKeptGroup> sections;    // whole SECTION ... ENDSEC of unknown sections
};
