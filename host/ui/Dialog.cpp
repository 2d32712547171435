// Modal dialogs: controls built from the template, messages dispatched through the maps,
// repaints after each handler, the editor-command bracket.
#include <typeinfo>

#include "ui/DialogBackend.h"
#include "zcad/ui/ZcUiDialog.h"

namespace {

// The framework's own object for a control of `kind`, so GetDlgItem's answer casts soundly.
std::unique_ptr<CWnd> objectFor(ZcUiControlKind kind) {
  switch (kind) {
    case ZcUiControlKind::kStatic:
    case ZcUiControlKind::kPicture:
      return std::make_unique<CStatic>();
    case ZcUiControlKind::kPushButton:
    case ZcUiControlKind::kCheckBox:
    case ZcUiControlKind::kRadioButton:
    case ZcUiControlKind::kGroupBox:
      return std::make_unique<CButton>();
    case ZcUiControlKind::kEdit:
      return std::make_unique<CEdit>();
    case ZcUiControlKind::kNumericEdit:
      return std::make_unique<CZcUiNumericEdit>();
    case ZcUiControlKind::kListBox:
      return std::make_unique<CListBox>();
    case ZcUiControlKind::kComboBox:
      return std::make_unique<CComboBox>();
    case ZcUiControlKind::kSlider:
      return std::make_unique<CSliderCtrl>();
  }
  return std::make_unique<CWnd>();
}

// Whether a member object of this class may stand for a control of `kind`.
bool objectFits(const CWnd& object, ZcUiControlKind kind) {
  if (typeid(object) == typeid(CWnd)) return true;
  switch (kind) {
    case ZcUiControlKind::kStatic:
    case ZcUiControlKind::kPicture:
      return dynamic_cast<const CStatic*>(&object) != nullptr;
    case ZcUiControlKind::kPushButton:
    case ZcUiControlKind::kCheckBox:
    case ZcUiControlKind::kRadioButton:
    case ZcUiControlKind::kGroupBox:
      return dynamic_cast<const CButton*>(&object) != nullptr;
    case ZcUiControlKind::kEdit:
      return typeid(object) == typeid(CEdit);
    case ZcUiControlKind::kNumericEdit:
      return dynamic_cast<const CEdit*>(&object) != nullptr;
    case ZcUiControlKind::kListBox:
      return typeid(object) == typeid(CListBox);
    case ZcUiControlKind::kComboBox:
      return dynamic_cast<const CComboBox*>(&object) != nullptr;
    case ZcUiControlKind::kSlider:
      return dynamic_cast<const CSliderCtrl*>(&object) != nullptr;
  }
  return false;
}

}  // namespace

void DDX_Control(CDataExchange* exchange, int id, CWnd& control) {
  if (!exchange || !exchange->m_pDlgWnd) return;
  ZcUiControlState* state = exchange->m_pDlgWnd->findControl(id);
  if (!state || !objectFits(control, state->kind)) return;
  exchange->m_pDlgWnd->bindMember(control, *state);
}

CDialog::CDialog(UINT templateId, CWnd*) : templateId_(templateId) {}

// Members are gone by now (destroyed before this base): they are not unbound, only forgotten.
CDialog::~CDialog() { bound_.clear(); }

const ZcUiMessageMap* CDialog::GetThisMessageMap() {
  static const ZcUiMessageMap map{nullptr, {}};
  return &map;
}

const ZcUiMessageMap* CDialog::GetMessageMap() const { return GetThisMessageMap(); }

INT_PTR CDialog::DoModal() {
  const ZcUiResources* resources = zcuiCurrentResources();
  const ZcUiDialogTemplate* found =
      resources && resources->findDialog ? resources->findDialog(templateId_) : nullptr;
  if (!found) return -1;
  buildControls(*found);
  ended_ = false;
  endCode_ = IDCANCEL;
  // A copy: the backend stays alive through the run even when another is set meanwhile.
  std::shared_ptr<vtcad::ui::DialogBackend> backend = vtcad::ui::dialogBackend();
  backend->runModal(*this);
  releaseControls();
  return endCode_;
}

void CDialog::buildControls(const ZcUiDialogTemplate& dialogTemplate) {
  releaseControls();
  template_ = &dialogTemplate;
  self_ = ZcUiControlState{};
  self_.id = 0;
  self_.rect = dialogTemplate.rect;
  self_.text = dialogTemplate.title ? dialogTemplate.title : L"";
  self_.visible = false;
  bindControlState(&self_);
  for (int i = 0; i < dialogTemplate.controlCount; ++i) {
    const ZcUiControlTemplate& item = dialogTemplate.controls[i];
    // Two controls of one id: the first counts, as GetDlgItem finds the first.
    if (states_.count(item.id)) continue;
    auto state = std::make_unique<ZcUiControlState>();
    state->id = item.id;
    state->kind = item.kind;
    state->name = item.name ? item.name : L"";
    state->rect = item.rect;
    state->text = item.caption ? item.caption : L"";
    state->group = item.group;
    state->visible = !item.hidden;
    state->enabled = !item.disabled;
    std::unique_ptr<CWnd> object = objectFor(item.kind);
    object->bindControlState(state.get());
    order_.push_back(state.get());
    ownObjects_[item.id] = std::move(object);
    states_[item.id] = std::move(state);
  }
}

void CDialog::releaseControls() {
  // Members bound to the controls answer as unbound from now on.
  for (auto& [id, object] : bound_) object->bindControlState(nullptr);
  bound_.clear();
  ownObjects_.clear();
  order_.clear();
  states_.clear();
  bindControlState(nullptr);
}

ZcUiControlState* CDialog::findControl(int id) const {
  auto found = states_.find(id);
  return found == states_.end() ? nullptr : found->second.get();
}

ZcUiControlState* CDialog::findControl(const std::wstring& name) const {
  if (name.empty()) return nullptr;
  for (ZcUiControlState* state : order_) {
    if (state->name == name) return state;
  }
  return nullptr;
}

BOOL CDialog::OnInitDialog() {
  UpdateData(/*saveAndValidate=*/0);
  return 1;
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
  CDataExchange exchange(this, saveAndValidate);
  DoDataExchange(&exchange);
  return 1;
}

void CDialog::OnOK() {
  if (!UpdateData(/*saveAndValidate=*/1)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::OnClose() { OnCancel(); }

void CDialog::EndDialog(int result) {
  ended_ = true;
  endCode_ = result;
}

void CDialog::bindMember(CWnd& control, ZcUiControlState& state) {
  control.bindControlState(&state);
  bound_[state.id] = &control;
}

CWnd* CDialog::GetDlgItem(int id) {
  if (auto member = bound_.find(id); member != bound_.end()) return member->second;
  auto found = ownObjects_.find(id);
  return found == ownObjects_.end() ? nullptr : found->second.get();
}

void CDialog::SetDlgItemText(int id, LPCWSTR text) {
  if (CWnd* item = GetDlgItem(id)) item->SetWindowText(text);
}

void CDialog::SetIcon(HICON, BOOL) {}

void CDialog::setDialogVisible(bool visible) {
  if (self_.visible == visible) return;
  self_.visible = visible;
  if (visible) {
    // Shown again, the dialog and every control repaint.
    self_.needsPaint = true;
    for (ZcUiControlState* state : order_) state->needsPaint = true;
  }
  vtcad::ui::dialogBackend()->visibilityChanged(*this, visible);
}

void CDialog::startModal() {
  setDialogVisible(true);
  OnInitDialog();
}

bool CDialog::dispatch(UINT message, UINT code, int id) {
  for (const ZcUiMessageMap* map = GetMessageMap(); map; map = map->base) {
    for (const ZcUiMessageMapEntry& entry : map->entries) {
      if (entry.message != message || entry.id != id) continue;
      if ((message == WM_COMMAND || message == WM_NOTIFY) && entry.code != code) continue;
      NMHDR header;
      header.idFrom = static_cast<UINT_PTR>(id);
      header.code = code;
      LRESULT result = 0;
      entry.handler(*this, &header, &result);
      return true;
    }
  }
  return false;
}

void CDialog::sendCommand(int id, UINT code) {
  if (dispatch(WM_COMMAND, code, id)) return;
  if (code != BN_CLICKED) return;
  if (id == IDOK) OnOK();
  if (id == IDCANCEL) OnCancel();
}

void CDialog::sendNotify(int id, UINT code) { dispatch(WM_NOTIFY, code, id); }

void CDialog::sendClose() {
  if (!dispatch(WM_CLOSE, 0, 0)) OnClose();
}

void CDialog::paintPending() {
  // A handler run by one repaint may ask for another (a slider's handler moving another
  // slider): rounds until nothing is left, at most kPaintRounds so two handlers that keep
  // invalidating each other cannot stall the dialog.
  constexpr int kPaintRounds = 8;
  for (int round = 0; round < kPaintRounds; ++round) {
    bool painted = false;
    if (!self_.visible || ended_) return;
    if (self_.needsPaint) {
      self_.needsPaint = false;
      painted = true;
      dispatch(WM_PAINT, 0, 0);
    }
    for (ZcUiControlState* state : order_) {
      if (ended_ || !self_.visible) return;
      if (!state->needsPaint) continue;
      state->needsPaint = false;
      painted = true;
      if (state->kind == ZcUiControlKind::kSlider && state->visible) sendNotify(state->id, NM_CUSTOMDRAW);
    }
    if (!painted) return;
  }
}

void CZdUiBaseDialog::BeginEditorCommand() { setDialogVisible(false); }

void CZdUiBaseDialog::CompleteEditorCommand(BOOL restoreDialogs) {
  if (restoreDialogs) setDialogVisible(true);
}

void CZdUiBaseDialog::CancelEditorCommand() { setDialogVisible(true); }
