#pragma once
// DrawingPicture: a picture file of a drawing as a view shows it (PNGOUT, vtcad --png/--svg/
// --pdf): the renderer on the surface of the format, written atomically. nullopt when
// written, otherwise why not ("cannot write /x/y.png: ...").
#include <filesystem>
#include <optional>
#include <string>

#include "editor/ViewTransform.h"
#include "render/DrawingRenderer.h"
#include "render/PictureFile.h"

class ZcDbDatabase;

namespace vtcad::render {

std::optional<std::string> writeDrawingPicture(ZcDbDatabase* db, const std::filesystem::path& path,
                                               PictureFormat format, const editor::ViewTransform& view,
                                               const RenderOptions& options);

}  // namespace vtcad::render
