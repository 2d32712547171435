// The program's picture options through the renderer's picture files.
#include "app/PictureOutputs.h"

#include <cstdio>

#include "render/DisplayColors.h"
#include "render/DrawingPicture.h"
#include "render/ExtentsView.h"
#include "render/SessionGrid.h"
#include "zcad/zced.h"

namespace vtcad::app {
namespace {

render::PictureFormat formatOf(PictureKind kind) {
  switch (kind) {
    case PictureKind::kSvg:
      return render::PictureFormat::kSvg;
    case PictureKind::kPdf:
      return render::PictureFormat::kPdf;
    case PictureKind::kPng:
      break;
  }
  return render::PictureFormat::kPng;
}

}  // namespace

bool writePictures(const Options& options, ZcDbDatabase* db) {
  if (options.pictures.empty()) return true;
  const editor::ScreenSize size{options.pictureWidth, options.pictureHeight};
  const editor::ViewTransform view = options.pictureView == PictureView::kExtents
                                         ? render::extentsView(db, size)
                                         : editor::ViewTransform::of(db, size);
  render::RenderOptions look;
  look.background = render::modelBackground();
  look.grid = render::sessionGrid();
  bool all = true;
  for (const PictureOutput& picture : options.pictures) {
    if (const auto failed =
            render::writeDrawingPicture(db, picture.path, formatOf(picture.kind), view, look)) {
      std::fprintf(stderr, "vtcad: %s\n", failed->c_str());
      all = false;
    }
  }
  return all;
}

}  // namespace vtcad::app
