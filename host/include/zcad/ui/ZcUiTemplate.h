#pragma once
// Dialog templates as data: what a dialog resource holds (its size, title and controls, each
// with an id, a kind, a place and its captions in both languages). A plug-in describes its
// dialogs in tables of these and hands them to the host through its resources
// (ZcUiResources.h); the host builds the controls of a dialog from its template when the
// dialog runs.
#include "zcad/platform/zcwintypes.h"

// The kinds of control a template may hold.
enum class ZcUiControlKind {
  kStatic,   // a label
  kPicture,  // a picture frame: a label that shows pixels (CStatic::SetImage)
  kPushButton,
  kCheckBox,
  kRadioButton,  // radio buttons of one group (ZcUiControlTemplate::group) exclude each other
  kGroupBox,
  kEdit,         // text
  kNumericEdit,  // a number within a range (CZcUiNumericEdit)
  kListBox,
  kComboBox,  // a drop-down list
  kSlider,    // a trackbar
};

// Place and size in dialog units, as in a Windows dialog resource.
struct ZcUiRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

struct ZcUiControlTemplate {
  int id;
  ZcUiControlKind kind;
  // A short name scripts may use instead of the id ("curves", "p1"); may be null.
  const wchar_t* name;
  ZcUiRect rect;
  // Captions: the one the control is created with (the template's own language, Chinese in
  // the plug-in's templates) and the other language's. Either may be null (no caption).
  const wchar_t* caption;
  const wchar_t* otherCaption;
  // Radio buttons: the group number; 0 elsewhere.
  int group = 0;
  // Initially hidden / disabled.
  bool hidden = false;
  bool disabled = false;
};

struct ZcUiDialogTemplate {
  UINT id;
  ZcUiRect rect;  // x and y unused
  const wchar_t* title;
  const wchar_t* otherTitle;
  const ZcUiControlTemplate* controls;
  int controlCount;
};
