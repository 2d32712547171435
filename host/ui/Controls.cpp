// Dialog controls: each call reads or changes the state its object is bound to.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <cwchar>

#include "ui/ImageCopy.h"
#include "zcad/ui/ZcUiControls.h"

CWnd::~CWnd() = default;

int CWnd::GetDlgCtrlID() const { return state_ ? state_->id : 0; }

BOOL CWnd::ShowWindow(int command) {
  if (!state_) return 0;
  const bool was = state_->visible;
  state_->visible = command != SW_HIDE;
  if (state_->visible != was) state_->needsPaint = true;
  return was ? 1 : 0;
}

BOOL CWnd::IsWindowVisible() const { return state_ && state_->visible ? 1 : 0; }

BOOL CWnd::EnableWindow(BOOL enable) {
  if (!state_) return 0;
  const bool wasDisabled = !state_->enabled;
  state_->enabled = enable != 0;
  state_->needsPaint = true;
  return wasDisabled ? 1 : 0;
}

BOOL CWnd::IsWindowEnabled() const { return state_ && state_->enabled ? 1 : 0; }

void CWnd::SetWindowText(LPCWSTR text) {
  if (!state_) return;
  state_->text = text ? text : L"";
  state_->needsPaint = true;
}

std::wstring CWnd::GetWindowText() const { return state_ ? state_->text : std::wstring(); }

void CWnd::GetWindowRect(RECT* rect) const {
  if (!rect) return;
  *rect = RECT{};
  if (!state_) return;
  rect->left = dialogUnitsToPixelsX(state_->rect.x);
  rect->top = dialogUnitsToPixelsY(state_->rect.y);
  rect->right = rect->left + dialogUnitsToPixelsX(state_->rect.width);
  rect->bottom = rect->top + dialogUnitsToPixelsY(state_->rect.height);
}

void CWnd::GetClientRect(RECT* rect) const {
  if (!rect) return;
  RECT window;
  GetWindowRect(&window);
  *rect = RECT{0, 0, window.right - window.left, window.bottom - window.top};
}

void CWnd::ScreenToClient(RECT*) const {}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) {
  if (!state_) return;
  // Pixels back to dialog units, rounded up so a control never shrinks below what was asked.
  state_->rect = ZcUiRect{(x * 2 + 2) / 3, (y * 8 + 12) / 13, (width * 2 + 2) / 3, (height * 8 + 12) / 13};
  if (repaint) state_->needsPaint = true;
}

void CWnd::Invalidate(BOOL) {
  if (state_) state_->needsPaint = true;
}

void CStatic::SetImage(const CImage& picture) {
  if (!state_) return;
  state_->picture = vtcad::ui::copyImage(picture);
  state_->needsPaint = true;
}

const CImage* CStatic::GetImage() const {
  return state_ && !state_->picture.IsNull() ? &state_->picture : nullptr;
}

int CButton::GetCheck() const { return state_ ? state_->check : BST_UNCHECKED; }

void CButton::SetCheck(int check) {
  if (!state_) return;
  state_->check = check;
  state_->needsPaint = true;
}

int CListBox::AddString(LPCWSTR text) {
  if (!state_) return LB_ERR;
  state_->items.emplace_back(text ? text : L"");
  return static_cast<int>(state_->items.size()) - 1;
}

int CListBox::DeleteString(UINT index) {
  if (!state_ || index >= state_->items.size()) return LB_ERR;
  state_->items.erase(state_->items.begin() + index);
  const int removed = static_cast<int>(index);
  if (state_->selection == removed) {
    state_->selection = LB_ERR;
  } else if (state_->selection > removed) {
    --state_->selection;
  }
  return static_cast<int>(state_->items.size());
}

void CListBox::ResetContent() {
  if (!state_) return;
  state_->items.clear();
  state_->selection = LB_ERR;
}

int CListBox::GetCount() const { return state_ ? static_cast<int>(state_->items.size()) : 0; }

int CListBox::GetCurSel() const { return state_ ? state_->selection : LB_ERR; }

int CListBox::SetCurSel(int index) {
  if (!state_) return LB_ERR;
  if (index < 0 || index >= static_cast<int>(state_->items.size())) {
    state_->selection = LB_ERR;
    return LB_ERR;
  }
  state_->selection = index;
  state_->needsPaint = true;
  return index;
}

int CListBox::GetText(int index, std::wstring& text) const {
  text.clear();
  if (!state_ || index < 0 || index >= static_cast<int>(state_->items.size())) return LB_ERR;
  text = state_->items[static_cast<std::size_t>(index)];
  return static_cast<int>(text.size());
}

void CSliderCtrl::SetRange(int minimum, int maximum, BOOL redraw) {
  if (!state_) return;
  // A reversed range is taken as given the other way round, as the trackbar does.
  state_->rangeMin = std::min(minimum, maximum);
  state_->rangeMax = std::max(minimum, maximum);
  state_->position = std::clamp(state_->position, state_->rangeMin, state_->rangeMax);
  if (redraw) state_->needsPaint = true;
}

int CSliderCtrl::GetRangeMin() const { return state_ ? state_->rangeMin : 0; }

int CSliderCtrl::GetRangeMax() const { return state_ ? state_->rangeMax : 0; }

void CSliderCtrl::SetPos(int position) {
  if (!state_) return;
  state_->position = std::clamp(position, state_->rangeMin, state_->rangeMax);
  state_->needsPaint = true;
}

int CSliderCtrl::GetPos() const { return state_ ? state_->position : 0; }

void CZcUiNumericEdit::SetRange(double minimum, double maximum) {
  if (!state_) return;
  state_->numericMin = std::min(minimum, maximum);
  state_->numericMax = std::max(minimum, maximum);
  state_->hasNumericRange = true;
}

double CZcUiNumericEdit::GetRangeMin() const { return state_ ? state_->numericMin : 0.0; }

double CZcUiNumericEdit::GetRangeMax() const { return state_ ? state_->numericMax : 0.0; }

void CZcUiNumericEdit::Convert() {
  if (!state_) return;
  const std::wstring& text = state_->text;
  const wchar_t* begin = text.c_str();
  wchar_t* end = nullptr;
  const double value = std::wcstod(begin, &end);
  if (end == begin || !std::isfinite(value)) return;
  // The number as typed, without the white space around it or what follows it.
  std::wstring number(begin, static_cast<std::size_t>(end - begin));
  number.erase(0, number.find_first_not_of(L" \t"));
  state_->text = number;
  state_->needsPaint = true;
}
