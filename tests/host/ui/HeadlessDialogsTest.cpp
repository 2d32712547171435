// A dialog of every control kind driven by script lines through the command line: each action
// reaches its handler, is logged, and the dialog hides for a point prompt and shows again.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "host/editor/EditorTestSupport.h"
#include "ui/DialogBackend.h"
#include "ui/HeadlessDialogs.h"
#include "zcad/ui/ZcUiDialog.h"
#include "zcad/zced.h"

namespace vtcad::ui::testing {
namespace {

constexpr ZcUiControlTemplate kControls[] = {
    {10, ZcUiControlKind::kListBox, L"items", {0, 0, 50, 100}, nullptr, nullptr},
    {11, ZcUiControlKind::kNumericEdit, L"value", {60, 0, 40, 12}, nullptr, nullptr},
    {12, ZcUiControlKind::kSlider, L"slider", {60, 20, 80, 12}, nullptr, nullptr},
    {13, ZcUiControlKind::kCheckBox, L"tick", {60, 40, 80, 12}, L"勾选", L"Tick"},
    {14, ZcUiControlKind::kPushButton, L"pick", {60, 60, 40, 14}, L"拾取", L"Pick"},
    {15, ZcUiControlKind::kPicture, L"picture", {150, 0, 100, 100}, nullptr, nullptr},
    {16, ZcUiControlKind::kStatic, L"label", {60, 80, 80, 12}, L"标签", L"Label"},
    {17, ZcUiControlKind::kComboBox, L"kind", {60, 100, 80, 12}, nullptr, nullptr},
    {18, ZcUiControlKind::kRadioButton, L"one", {60, 120, 40, 12}, L"一", L"One", 1},
    {19, ZcUiControlKind::kRadioButton, L"two", {100, 120, 40, 12}, L"二", L"Two", 1},
    {20, ZcUiControlKind::kSlider, L"hidden", {60, 140, 80, 12}, nullptr, nullptr, 0, /*hidden=*/true},
};
constexpr ZcUiDialogTemplate kTemplate{700,     {0, 0, 260, 160}, L"测试",
                                       L"Test", kControls,        static_cast<int>(std::size(kControls))};

const ZcUiDialogTemplate* findTestDialog(UINT id) { return id == 700 ? &kTemplate : nullptr; }
constexpr ZcUiResources kResources{&findTestDialog, nullptr};

class TestDialog : public CZcUiDialog {
 public:
  TestDialog() : CZcUiDialog(700) {}
  BOOL OnInitDialog() override {
    CZcUiDialog::OnInitDialog();
    for (const wchar_t* item : {L"first", L"second", L"third item"}) items_.AddString(item);
    kind_.AddString(L"Spline");
    kind_.AddString(L"Polyline");
    slider_.SetRange(1, 50);
    slider_.SetPos(5);
    value_.SetRange(1, 50);
    SetWindowText(L"Test");
    return 1;
  }
  void DoDataExchange(CDataExchange* exchange) override {
    CZcUiDialog::DoDataExchange(exchange);
    DDX_Control(exchange, 10, items_);
    DDX_Control(exchange, 11, value_);
    DDX_Control(exchange, 12, slider_);
    DDX_Control(exchange, 13, tick_);
    DDX_Control(exchange, 17, kind_);
  }
  void OnSelect() { log_ += L"select " + std::to_wstring(items_.GetCurSel()) + L";"; }
  void OnKind() { log_ += L"kind " + std::to_wstring(kind_.GetCurSel()) + L";"; }
  void OnValue() {
    value_.Convert();
    log_ += L"value " + value_.GetWindowText() + L";";
    slider_.SetPos(std::stoi(L"0" + value_.GetWindowText()));
  }
  void OnSliderDrawn(NMHDR* header, LRESULT*) {
    log_ += L"drawn " + std::to_wstring(header->idFrom) + L" at " + std::to_wstring(slider_.GetPos()) + L";";
  }
  void OnTick() { log_ += L"tick " + std::to_wstring(tick_.GetCheck()) + L";"; }
  void OnPick() {
    BeginEditorCommand();
    zds_point point;
    const int status = zcedGetPoint(nullptr, L"\nPoint: ", point);
    if (status == RTNORM) {
      CompleteEditorCommand();
      log_ += L"point " + std::to_wstring(static_cast<int>(point[0])) + L";";
    } else {
      CancelEditorCommand();
    }
  }
  void OnPaint() {
    ++paints_;
    CZcUiDialog::OnPaint();
  }
  void OnClose() {
    log_ += L"close;";
    CZcUiDialog::OnClose();
  }

  CListBox items_;
  CZcUiNumericEdit value_;
  CSliderCtrl slider_;
  CButton tick_;
  CComboBox kind_;
  std::wstring log_;
  int paints_ = 0;

  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TestDialog, CZcUiDialog)
ON_WM_PAINT()
ON_WM_CLOSE()
ON_LBN_SELCHANGE(10, &TestDialog::OnSelect)
ON_CBN_SELCHANGE(17, &TestDialog::OnKind)
ON_EN_KILLFOCUS(11, &TestDialog::OnValue)
ON_NOTIFY(NM_CUSTOMDRAW, 12, &TestDialog::OnSliderDrawn)
ON_NOTIFY(NM_CUSTOMDRAW, 20, &TestDialog::OnSliderDrawn)
ON_BN_CLICKED(13, &TestDialog::OnTick)
ON_BN_CLICKED(14, &TestDialog::OnPick)
END_MESSAGE_MAP()

class HeadlessDialogsTest : public editor::testing::EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    platform::TranscriptHooks hooks;
    hooks.print = [](const std::wstring& text) { editor::Session::instance().print(text); };
    hooks.promptLine = [](const std::wstring& prompt) -> std::optional<std::wstring> {
      ZTCHAR answer[4096] = {};
      if (zcedGetString(/*cronly=*/1, prompt.c_str(), answer, 4096) != RTNORM) return std::nullopt;
      return std::wstring(answer);
    };
    setDialogBackend(std::make_shared<HeadlessDialogs>(std::move(hooks)));
    body() = [this] {
      ZcUiResourceOverride resources(&kResources);
      dialog_ = std::make_unique<TestDialog>();
      result_ = dialog_->DoModal();
      log_ = dialog_->log_;
    };
  }
  void TearDown() override {
    setDialogBackend(nullptr);
    EditorTest::TearDown();
  }
  std::unique_ptr<TestDialog> dialog_;
  INT_PTR result_ = 0;
  std::wstring log_;
};

TEST_F(HeadlessDialogsTest, EveryActionReachesItsHandlerAndIsLogged) {
  run(L"T\nselect items 2\nselect 17 Polyline\ntype value  30abc\nslide slider 99\ncheck tick\n"
      L"show\nclose\n");
  EXPECT_EQ(result_, IDCANCEL);
  // The first paint carries the slider's position; moving it repaints it once more, typing a
  // value moves it through the handler.
  EXPECT_EQ(log_, L"drawn 12 at 5;select 2;kind 1;value 30;drawn 12 at 30;drawn 12 at 50;tick 1;close;");
  EXPECT_TRUE(said("\n[Test] open")) << transcript_;
  EXPECT_TRUE(said("\n[Test] 10 selected 2 \"third item\""));
  EXPECT_TRUE(said("\n[Test] 11 typed \"30abc\""));
  EXPECT_TRUE(said("\n[Test] 12 slider at 50"));
  EXPECT_TRUE(said("\n  11 edit \"30\""));
  EXPECT_TRUE(said("\n  13 check box \"勾选\" checked"));
  EXPECT_TRUE(said("\n[Test] closed"));
}

TEST_F(HeadlessDialogsTest, DialogHidesForAPointAndShowsAgainRepainted) {
  run(L"T\npress pick\n12,3\nok\n");
  EXPECT_EQ(result_, IDOK);
  EXPECT_NE(log_.find(L"point 12;"), std::wstring::npos);
  EXPECT_EQ(dialog_->paints_, 2);
  const std::size_t hidden = transcript_.find("\n[Test] hidden");
  ASSERT_NE(hidden, std::string::npos) << transcript_;
  EXPECT_LT(hidden, transcript_.find("Point: "));
  EXPECT_LT(transcript_.find("Point: "), transcript_.find("\n[Test] shown"));
}

TEST_F(HeadlessDialogsTest, WrongActionsAreAnsweredAndChangeNothing) {
  run(L"T\nwiggle items\nselect items 7\nselect nosuch 1\nslide hidden 3\npress items\nslide slider x\n"
      L"check one\ncheck two\nuncheck two\ncancel\n");
  EXPECT_EQ(result_, IDCANCEL);
  EXPECT_TRUE(said("Unknown dialog action \"wiggle\"")) << transcript_;
  EXPECT_TRUE(said("10 has no item 7 (3 items)."));
  EXPECT_TRUE(said("No control nosuch in this dialog."));
  EXPECT_TRUE(said("20 is hidden."));
  EXPECT_TRUE(said("10 is a list, not a button."));
  EXPECT_TRUE(said("A slider position is a whole number: \"x\"."));
  EXPECT_TRUE(said("19 is a radio button: check another of its group instead."));
  EXPECT_EQ(log_, L"drawn 12 at 5;");
}

TEST_F(HeadlessDialogsTest, EndOfInputIsEscAndNeverHangs) {
  run(L"T\n");
  EXPECT_EQ(result_, IDCANCEL);
  EXPECT_TRUE(said("\n[Test] Esc")) << transcript_;
  EXPECT_TRUE(said("\n[Test] closed"));
}

TEST_F(HeadlessDialogsTest, ATemplateTheResourcesLackRunsNothing) {
  body() = [this] {
    TestDialog dialog;
    result_ = dialog.DoModal();
  };
  run(L"T\n");
  EXPECT_EQ(result_, -1);
  EXPECT_FALSE(said("open"));
}

}  // namespace
}  // namespace vtcad::ui::testing
