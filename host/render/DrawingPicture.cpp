// The renderer handed to the picture file of the format.
#include "render/DrawingPicture.h"

namespace vtcad::render {

std::optional<std::string> writeDrawingPicture(ZcDbDatabase* db, const std::filesystem::path& path,
                                               PictureFormat format, const editor::ViewTransform& view,
                                               const RenderOptions& options) {
  return writePicture(path, format, view.screen().width, view.screen().height,
                      [&](Canvas& canvas) { renderDrawing(db, view, canvas, options); });
}

}  // namespace vtcad::render
