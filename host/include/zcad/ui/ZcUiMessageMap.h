#pragma once
// Message maps: which member function of a dialog answers which message from which control,
// written with the Windows framework's macros:
//
//   // in the class:        DECLARE_MESSAGE_MAP()
//   // in the source file:
//   BEGIN_MESSAGE_MAP(CMyDialog, CZcUiDialog)
//     ON_WM_PAINT()
//     ON_WM_CLOSE()
//     ON_BN_CLICKED(4004, &CMyDialog::OnPreview)
//     ON_LBN_SELCHANGE(2010, &CMyDialog::OnSelectCurve)
//     ON_CBN_SELCHANGE(2009, &CMyDialog::OnOutputKind)
//     ON_EN_KILLFOCUS(2021, &CMyDialog::OnEditCommitted)
//     ON_NOTIFY(NM_CUSTOMDRAW, 4010, &CMyDialog::OnSliderDrawn)   // void (NMHDR*, LRESULT*)
//   END_MESSAGE_MAP()
//
// A message the class's map lacks is looked up in its base class's map; what no map answers
// gets the framework's default handling (ZcUiDialog.h).
#include <functional>
#include <vector>

#include "zcad/platform/zcwintypes.h"

class CDialog;

using LRESULT = long;
using UINT_PTR = std::uintptr_t;

// Messages.
inline constexpr UINT WM_PAINT = 0x000F;
inline constexpr UINT WM_CLOSE = 0x0010;
inline constexpr UINT WM_NOTIFY = 0x004E;
inline constexpr UINT WM_COMMAND = 0x0111;
// Notification codes of WM_COMMAND and WM_NOTIFY.
inline constexpr UINT BN_CLICKED = 0;
inline constexpr UINT LBN_SELCHANGE = 1;
inline constexpr UINT CBN_SELCHANGE = 1;
inline constexpr UINT EN_KILLFOCUS = 0x0200;
inline constexpr UINT NM_CUSTOMDRAW = static_cast<UINT>(-12);

// The header of a WM_NOTIFY message.
struct NMHDR {
  HWND hwndFrom = nullptr;
  UINT_PTR idFrom = 0;
  UINT code = 0;
};

using ZcUiHandler = std::function<void(CDialog&, NMHDR*, LRESULT*)>;

struct ZcUiMessageMapEntry {
  UINT message;
  UINT code;  // WM_COMMAND and WM_NOTIFY
  int id;     // the control; 0 for the dialog's own messages
  ZcUiHandler handler;
};

struct ZcUiMessageMap {
  const ZcUiMessageMap* base;  // null for the framework's dialog
  std::vector<ZcUiMessageMapEntry> entries;
};

// Handlers from member functions of a dialog class D.
template <class D>
ZcUiHandler zcuiHandler(void (D::*member)()) {
  return [member](CDialog& dialog, NMHDR*, LRESULT*) { (static_cast<D&>(dialog).*member)(); };
}
template <class D>
ZcUiHandler zcuiHandler(void (D::*member)(NMHDR*, LRESULT*)) {
  return [member](CDialog& dialog, NMHDR* header, LRESULT* result) {
    (static_cast<D&>(dialog).*member)(header, result);
  };
}

#define DECLARE_MESSAGE_MAP()                       \
 protected:                                         \
  static const ZcUiMessageMap* GetThisMessageMap(); \
  const ZcUiMessageMap* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                          \
  const ZcUiMessageMap* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
  const ZcUiMessageMap* theClass::GetThisMessageMap() {                                 \
    using ThisClass [[maybe_unused]] = theClass;                                        \
    static const ZcUiMessageMap map {                                                   \
      baseClass::GetThisMessageMap(), {
#define END_MESSAGE_MAP() \
  }                       \
  }                       \
  ;                       \
  return &map;            \
  }

#define ON_WM_PAINT() {WM_PAINT, 0, 0, zcuiHandler(&ThisClass::OnPaint)},
#define ON_WM_CLOSE() {WM_CLOSE, 0, 0, zcuiHandler(&ThisClass::OnClose)},
#define ON_BN_CLICKED(id, member) {WM_COMMAND, BN_CLICKED, (id), zcuiHandler(member)},
#define ON_LBN_SELCHANGE(id, member) {WM_COMMAND, LBN_SELCHANGE, (id), zcuiHandler(member)},
#define ON_CBN_SELCHANGE(id, member) {WM_COMMAND, CBN_SELCHANGE, (id), zcuiHandler(member)},
#define ON_EN_KILLFOCUS(id, member) {WM_COMMAND, EN_KILLFOCUS, (id), zcuiHandler(member)},
#define ON_NOTIFY(code, id, member) {WM_NOTIFY, (code), (id), zcuiHandler(member)},
