#pragma once
// The entity an input names at an entity prompt: a picked point (the entity under it within
// the pick aperture), "#<handle>", or an entity name among command arguments.
#include "editor/InputItem.h"

class ZcDbDatabase;

namespace vtcad::editor {

enum class EntityAtStatus { kFound, kNothingThere, kNotAnEntityInput };
struct EntityAt {
  EntityAtStatus status = EntityAtStatus::kNotAnEntityInput;
  ZcDbObjectId id;
  ZcGePoint3d point;
};

EntityAt entityAtInput(const InputItem& item, const ZcGePoint3d& lastPoint);
// The pick aperture in drawing units: PICKBOX pixels at the current view's scale.
double pickAperture();
// One pixel of the current view in drawing units (VIEWSIZE over the screen's height).
double pixelSize();
// The entity of the working drawing's current space with handle `hex`, when selectable.
ZcDbObjectId entityByHandle(std::wstring_view hex);

}  // namespace vtcad::editor
