#pragma once
// Modal dialogs in the shapes of the Windows framework and the host's dialog bases:
// CDialog ← CZdUiBaseDialog ← CZdUiDialog ← CZcUiDialog. A dialog class names its template
// id, binds its control members in DoDataExchange (DDX_Control), fills them in OnInitDialog
// and answers its controls' messages through its message map (ZcUiMessageMap.h). DoModal
// builds the controls from the template of the current resources (ZcUiResources.h) and runs
// the dialog through the host's dialog backend (headless: driven by script lines,
// docs/dialogs.md) until EndDialog.
//
// A handler that asks for input on the command line (a point, an entity) brackets the prompt
// with BeginEditorCommand and CompleteEditorCommand: the dialog hides for the prompt and shows
// again (everything repainted) after it.
//
// Default handling of what no message map answers: the OK button (IDOK) and Enter call OnOK
// (UpdateData, then EndDialog(IDOK)); the Cancel button (IDCANCEL) and Esc call OnCancel
// (EndDialog(IDCANCEL)); WM_CLOSE calls OnClose, which calls OnCancel.
#include <map>
#include <memory>
#include <string>

#include "zcad/platform/zcui.h"
#include "zcad/ui/ZcUiControls.h"
#include "zcad/ui/ZcUiMessageMap.h"
#include "zcad/ui/ZcUiResources.h"

class CDataExchange {
 public:
  CDataExchange(CDialog* dialog, BOOL saveAndValidate)
      : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}
  CDialog* m_pDlgWnd;
  BOOL m_bSaveAndValidate;
};

// Binds `control` to the dialog's control `id`. A control the template lacks, or one of
// another kind than the object, stays unbound (its calls do nothing).
void DDX_Control(CDataExchange* exchange, int id, CWnd& control);

class CDialog : public CWnd {
 public:
  explicit CDialog(UINT templateId, CWnd* parent = nullptr);
  ~CDialog() override;

  // The end code given to EndDialog; -1 when the template cannot be found (nothing runs).
  virtual INT_PTR DoModal();
  // Binds the controls (UpdateData(FALSE)); answers TRUE.
  virtual BOOL OnInitDialog();
  virtual void DoDataExchange(CDataExchange* exchange);
  virtual void OnOK();
  virtual void OnCancel();
  void EndDialog(int result);
  BOOL UpdateData(BOOL saveAndValidate = 1);

  // The control `id` (a bound member, or the framework's own object of the control's kind, so
  // a cast to its class is sound); null when the dialog has none.
  CWnd* GetDlgItem(int id);
  void SetDlgItemText(int id, LPCWSTR text);
  void SetIcon(HICON icon, BOOL big);
  UINT templateId() const { return templateId_; }

  // The default painting and closing; message map entries call them (ON_WM_PAINT and
  // ON_WM_CLOSE name the class's own OnPaint and OnClose).
  void OnPaint() {}
  void OnClose();

  virtual const ZcUiMessageMap* GetMessageMap() const;

  // The backend's side.
  static const ZcUiMessageMap* GetThisMessageMap();
  const ZcUiDialogTemplate* dialogTemplate() const { return template_; }
  // Controls in template order.
  const std::vector<ZcUiControlState*>& controlStates() const { return order_; }
  ZcUiControlState* findControl(int id) const;
  ZcUiControlState* findControl(const std::wstring& name) const;
  // Shows the dialog and runs OnInitDialog.
  void startModal();
  // A message to the dialog, answered by its map or by default handling.
  void sendCommand(int id, UINT code);
  void sendNotify(int id, UINT code);
  void sendClose();
  // Runs WM_PAINT when the dialog needs painting and NM_CUSTOMDRAW for every visible slider
  // that does, as Windows does when the handler that changed them has returned.
  void paintPending();
  bool hasEnded() const { return ended_; }
  // DDX_Control's binding of a member object.
  void bindMember(CWnd& control, ZcUiControlState& state);
  ZcUiControlState& dialogState() { return self_; }

 protected:
  // Hides / shows the dialog; the backend is told.
  void setDialogVisible(bool visible);

 private:
  bool dispatch(UINT message, UINT code, int id);
  void buildControls(const ZcUiDialogTemplate& dialogTemplate);
  void releaseControls();

  UINT templateId_;
  const ZcUiDialogTemplate* template_ = nullptr;
  ZcUiControlState self_;
  std::map<int, std::unique_ptr<ZcUiControlState>> states_;
  std::vector<ZcUiControlState*> order_;
  std::map<int, std::unique_ptr<CWnd>> ownObjects_;
  std::map<int, CWnd*> bound_;
  bool ended_ = false;
  int endCode_ = IDCANCEL;
};

class CZdUiBaseDialog : public CDialog {
 public:
  using CDialog::CDialog;
  // Hides the dialog for a prompt in the drawing area.
  void BeginEditorCommand();
  // Shows it again (restoreDialogs) after the prompt.
  void CompleteEditorCommand(BOOL restoreDialogs = 1);
  // The prompt was cancelled: shows the dialog again.
  void CancelEditorCommand();
};

class CZdUiDialog : public CZdUiBaseDialog {
 public:
  using CZdUiBaseDialog::CZdUiBaseDialog;
};

class CZcUiDialog : public CZdUiDialog {
 public:
  using CZdUiDialog::CZdUiDialog;
};
