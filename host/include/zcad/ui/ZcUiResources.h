#pragma once
// The resources dialogs are made from: a module (the host's own, or a plug-in's) answers its
// dialog templates and its pictures by id. Code that runs a plug-in's dialog switches the
// current resources to the plug-in's for the time the dialog runs (ZcUiResourceOverride),
// as a Windows plug-in switches the framework's resource handle.
#include "zcad/platform/zcimage.h"
#include "zcad/ui/ZcUiTemplate.h"

struct ZcUiResources {
  // The template of dialog `id`; null when the module has none.
  const ZcUiDialogTemplate* (*findDialog)(UINT id) = nullptr;
  // Fills `picture` with picture `id` (type "PNG"); false when there is none or it cannot be
  // made, `picture` then untouched. May be null (a module without pictures).
  bool (*loadPicture)(UINT id, CImage& picture) = nullptr;
};

// The current resources (null: none, every lookup fails) and the switch between them. The
// dialog framework runs on the command thread only.
const ZcUiResources* zcuiCurrentResources();
// Returns the resources that were current.
const ZcUiResources* zcuiSetResources(const ZcUiResources* resources);

// Makes `resources` current for its lifetime and restores the previous ones after, on every
// path out of the scope.
class ZcUiResourceOverride {
 public:
  explicit ZcUiResourceOverride(const ZcUiResources* resources) : previous_(zcuiSetResources(resources)) {}
  ~ZcUiResourceOverride() { zcuiSetResources(previous_); }
  ZcUiResourceOverride(const ZcUiResourceOverride&) = delete;
  ZcUiResourceOverride& operator=(const ZcUiResourceOverride&) = delete;

 private:
  const ZcUiResources* previous_;
};
