// PNGOUT: a PNG picture of the selected entities as the current view shows them, SCREENSIZE
// pixels on the model space background (zcedGetCurrentColors), without the grid. As in CAD
// hosts, the selection decides what is drawn; entities made invisible are never drawn.
#include <filesystem>
#include <unordered_set>

#include "commands/Document.h"
#include "commands/EditCommandSupport.h"
#include "commands/EditCommands.h"
#include "dxf/DxfText.h"
#include "editor/ViewTransform.h"
#include "render/DisplayColors.h"
#include "render/DrawingPicture.h"
#include "zcad/zced.h"
#include "zcad/zcut.h"

namespace vtcad::commands {
namespace {

constexpr std::size_t kPathLength = 4096;

// The drawing's file name with ".png", or "drawing.png" for a drawing never saved.
std::wstring defaultPictureName() {
  const std::filesystem::path drawing = Document::instance().saveTarget();
  if (drawing.empty()) return L"drawing.png";
  return dxf::utf8ToWide(drawing.filename().replace_extension(".png").string());
}

}  // namespace

void pngoutCommand() {
  ZcDbDatabase* db = workingDrawing();
  if (!db) return;
  // A space ends the name, unlike SAVEAS's whole-line names: scripts write the file name and
  // the selection on one line ("PNGOUT out.png ALL \"\""). A name with spaces is quoted.
  const std::wstring fallback = defaultPictureName();
  ZTCHAR typed[kPathLength] = {};
  const std::wstring prompt = L"\nEnter file name <" + fallback + L">: ";
  if (zcedGetString(/*cronly=*/0, prompt.c_str(), typed, kPathLength) != RTNORM) return;
  std::wstring name = typed;
  if (name.size() >= 2 && name.front() == L'"' && name.back() == L'"') name = name.substr(1, name.size() - 2);
  if (name.empty()) name = fallback;
  std::filesystem::path path(dxf::wideToUtf8(name));
  if (!path.has_extension()) path += ".png";

  std::vector<ZcDbObjectId> ids;
  if (!selectEntities(ids, SelectFor::kReading)) {
    print(L"Nothing selected: no picture was written.\n");
    return;
  }
  const std::unordered_set<ZcDbObjectId> only(ids.begin(), ids.end());
  render::RenderOptions options;
  options.background = render::modelBackground();
  options.only = &only;
  const editor::ViewTransform view = editor::ViewTransform::current();
  if (const auto failed = render::writeDrawingPicture(db, path, render::PictureFormat::kPng, view, options)) {
    print(L"Cannot write the picture: " + dxf::utf8ToWide(*failed) + L"\n");
    return;
  }
  print(L"Wrote " + dxf::utf8ToWide(path.string()) + L" (" + std::to_wstring(view.screen().width) + L" x " +
        std::to_wstring(view.screen().height) + L" pixels).\n");
}

void regenCommand() {
  print(L"Regenerating model.\n");
  zcedUpdateDisplay();
}

}  // namespace vtcad::commands
