#pragma once
// A drawing file made a block of the working drawing, as INSERT does when it is given a file's
// name instead of a block's.
#include <filesystem>
#include <string>

#include "zcad/db/ZcDbObjectId.h"

class ZcDbDatabase;

namespace vtcad::commands {

struct FileBlock {
  ZcDbObjectId block;    // null when the file could not be read (then `refusal` says why)
  std::wstring name;     // the block's name: the file's stem, made unique in the drawing
  std::wstring refusal;  // "Cannot read <path>: ..."
  int leftOut = 0;       // entities of the file a block of this drawing cannot hold
};

// Reads the DXF file and defines a new block of `db` (base point (0, 0, 0)) holding copies of
// the file's model-space entities on layers of the same names (made, with the file's colour,
// where the drawing lacks them) and with linetypes the drawing has (by layer otherwise).
// Block references and texts of the file are left out and counted: the blocks and text styles
// they name belong to the file. The drawing is unchanged when the file cannot be read.
FileBlock defineBlockFromFile(ZcDbDatabase* db, const std::filesystem::path& path);

}  // namespace vtcad::commands
