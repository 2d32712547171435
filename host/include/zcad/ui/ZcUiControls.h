#pragma once
// Dialog controls in the shapes of the Windows framework's control classes: a window (CWnd)
// with an id, a caption, visibility and an enabled state; labels and picture frames
// (CStatic), buttons, check boxes and radio buttons (CButton), edits (CEdit), list boxes,
// combo boxes and sliders. A control object is bound to its dialog's control of the same id by
// DDX_Control (ZcUiDialog.h); before that, or after the dialog ended, its calls do nothing and
// its queries answer as for an empty control.
//
// Calls from code never notify the dialog (as in Windows, SetCurSel sends no selection change);
// only the user's actions do, through the dialog's backend. A slider whose position or range
// changes is repainted, and each repaint notifies its dialog (NM_CUSTOMDRAW) once the handler
// that changed it has returned.
#include <string>
#include <vector>

#include "zcad/platform/zcimage.h"
#include "zcad/platform/zcwintypes.h"
#include "zcad/ui/ZcUiTemplate.h"

class CDialog;

using HICON = void*;
using LRESULT = long;
using INT_PTR = std::intptr_t;

struct RECT {
  LONG left = 0;
  LONG top = 0;
  LONG right = 0;
  LONG bottom = 0;
};

inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOW = 5;
inline constexpr int BST_UNCHECKED = 0;
inline constexpr int BST_CHECKED = 1;
// The answer of list queries without a selection or with an index out of range.
inline constexpr int LB_ERR = -1;
inline constexpr int CB_ERR = -1;

// Dialog units to pixels: the base units of the dialog font Windows dialogs use (a unit is a
// quarter of the font's mean width across, an eighth of its height down).
inline constexpr int dialogUnitsToPixelsX(int units) { return units * 3 / 2; }
inline constexpr int dialogUnitsToPixelsY(int units) { return units * 13 / 8; }

// Everything a dialog's control is: what the framework keeps per control and a backend shows.
struct ZcUiControlState {
  int id = 0;
  ZcUiControlKind kind = ZcUiControlKind::kStatic;
  std::wstring name;  // the template's short name, may be empty
  ZcUiRect rect;      // dialog units
  bool visible = true;
  bool enabled = true;
  std::wstring text;                // caption, or the text of an edit
  std::vector<std::wstring> items;  // list and combo boxes
  int selection = LB_ERR;           // list and combo boxes
  int rangeMin = 0;                 // sliders
  int rangeMax = 100;
  int position = 0;
  double numericMin = 0.0;  // numeric edits with a range
  double numericMax = 0.0;
  bool hasNumericRange = false;
  int check = BST_UNCHECKED;  // check boxes and radio buttons
  int group = 0;              // radio buttons
  CImage picture;             // picture frames
  bool needsPaint = true;     // repainted (sliders: NM_CUSTOMDRAW) before the next input
};

class CWnd {
 public:
  CWnd() = default;
  virtual ~CWnd();
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  int GetDlgCtrlID() const;
  // SW_SHOW or SW_HIDE; answers whether it was visible before.
  BOOL ShowWindow(int command);
  BOOL IsWindowVisible() const;
  // Answers whether it was disabled before.
  BOOL EnableWindow(BOOL enable = 1);
  BOOL IsWindowEnabled() const;
  void SetWindowText(LPCWSTR text);
  void SetWindowTextW(LPCWSTR text) { SetWindowText(text); }
  std::wstring GetWindowText() const;
  // The control's place in pixels of its dialog's client area. Without a desktop the screen is
  // the client area, so ScreenToClient changes nothing.
  void GetWindowRect(RECT* rect) const;
  void GetClientRect(RECT* rect) const;
  void ScreenToClient(RECT* rect) const;
  void MoveWindow(int x, int y, int width, int height, BOOL repaint = 1);
  // Marks it to be repainted before the next input.
  void Invalidate(BOOL erase = 1);
  void UpdateWindow() {}

  // The framework's side: the state this object is bound to (null: not bound).
  ZcUiControlState* controlState() const { return state_; }
  void bindControlState(ZcUiControlState* state) { state_ = state; }

 protected:
  ZcUiControlState* state_ = nullptr;
};

// A label, or a picture frame showing pixels.
class CStatic : public CWnd {
 public:
  // Shows a copy of `picture` (any depth; nothing when it is empty), scaled into the frame by
  // the backend.
  void SetImage(const CImage& picture);
  const CImage* GetImage() const;
};

class CButton : public CWnd {
 public:
  int GetCheck() const;
  // Radio buttons: checking one clears the others of its group.
  void SetCheck(int check);
};

class CEdit : public CWnd {};

class CListBox : public CWnd {
 public:
  // The new item's index.
  int AddString(LPCWSTR text);
  int DeleteString(UINT index);
  void ResetContent();
  int GetCount() const;
  int GetCurSel() const;
  // LB_ERR (and no selection) for an index out of range.
  int SetCurSel(int index);
  // LB_ERR and an empty text for an index out of range.
  int GetText(int index, std::wstring& text) const;
};

class CComboBox : public CListBox {
 public:
  int GetLBText(int index, std::wstring& text) const { return GetText(index, text); }
};

class CSliderCtrl : public CWnd {
 public:
  // The position is kept within the range.
  void SetRange(int minimum, int maximum, BOOL redraw = 0);
  int GetRangeMin() const;
  int GetRangeMax() const;
  void SetPos(int position);
  int GetPos() const;
};

// The host's numeric edit: an edit whose number must lie within a range.
class CZcUiNumericEdit : public CEdit {
 public:
  void SetRange(double minimum, double maximum);
  double GetRangeMin() const;
  double GetRangeMax() const;
  // Rewrites the text as the number it starts with (white space trimmed, "12abc" gives "12",
  // a real keeps its digits); text that is no number is left as it is.
  void Convert();
};
