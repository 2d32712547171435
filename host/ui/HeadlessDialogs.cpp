#include "ui/HeadlessDialogs.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cwchar>
#include <optional>

#include "platform/TextEncoding.h"
#include "zcad/ui/ZcUiDialog.h"

namespace vtcad::ui {

namespace {

constexpr int kCancelledPromptsBeforeEnd = 100;

std::wstring kindName(ZcUiControlKind kind) {
  switch (kind) {
    case ZcUiControlKind::kStatic:
      return L"label";
    case ZcUiControlKind::kPicture:
      return L"picture";
    case ZcUiControlKind::kPushButton:
      return L"button";
    case ZcUiControlKind::kCheckBox:
      return L"check box";
    case ZcUiControlKind::kRadioButton:
      return L"radio button";
    case ZcUiControlKind::kGroupBox:
      return L"group box";
    case ZcUiControlKind::kEdit:
    case ZcUiControlKind::kNumericEdit:
      return L"edit";
    case ZcUiControlKind::kListBox:
      return L"list";
    case ZcUiControlKind::kComboBox:
      return L"combo box";
    case ZcUiControlKind::kSlider:
      return L"slider";
  }
  return L"control";
}

bool isListKind(ZcUiControlKind kind) {
  return kind == ZcUiControlKind::kListBox || kind == ZcUiControlKind::kComboBox;
}

// A whole decimal integer, nothing else; nullopt otherwise.
std::optional<long> wholeNumber(const std::wstring& text) {
  if (text.empty()) return std::nullopt;
  wchar_t* end = nullptr;
  errno = 0;
  const long value = std::wcstol(text.c_str(), &end, 10);
  if (end != text.c_str() + text.size() || errno != 0) return std::nullopt;
  return value;
}

std::wstring inQuotes(const std::wstring& text) { return L"\"" + text + L"\""; }

}  // namespace

HeadlessDialogs::HeadlessDialogs(platform::TranscriptHooks hooks) : hooks_(std::move(hooks)) {
  if (!hooks_.print) {
    hooks_.print = [](const std::wstring& text) {
      std::string bytes = platform::encodeUtf8(text);
      std::fwrite(bytes.data(), 1, bytes.size(), stdout);
      std::fflush(stdout);
    };
  }
  if (!hooks_.promptLine) {
    hooks_.promptLine = [](const std::wstring&) -> std::optional<std::wstring> { return std::nullopt; };
  }
}

void HeadlessDialogs::log(CDialog& dialog, const std::wstring& text) {
  hooks_.print(L"\n[" + dialog.dialogState().text + L"] " + text);
}

void HeadlessDialogs::runModal(CDialog& dialog) {
  dialog.startModal();
  ++running_;
  log(dialog, L"open");
  int cancelled = 0;
  while (!dialog.hasEnded()) {
    dialog.paintPending();
    if (dialog.hasEnded()) break;
    std::optional<std::wstring> line = hooks_.promptLine(L"\n[" + dialog.dialogState().text + L"]: ");
    if (!line) {
      if (++cancelled >= kCancelledPromptsBeforeEnd) {
        log(dialog, L"ended: no more input");
        dialog.EndDialog(IDCANCEL);
        break;
      }
      log(dialog, L"Esc");
      dialog.sendCommand(IDCANCEL, BN_CLICKED);
      continue;
    }
    cancelled = 0;
    if (line->find_first_not_of(L" \t") == std::wstring::npos) continue;
    ParsedDialogAction parsed = parseDialogAction(*line);
    if (!parsed.ok) {
      log(dialog, parsed.error);
      continue;
    }
    perform(dialog, parsed.action);
  }
  --running_;
  log(dialog, L"closed");
}

void HeadlessDialogs::visibilityChanged(CDialog& dialog, bool visible) {
  if (running_ == 0) return;  // opening: "open" says it
  log(dialog, visible ? L"shown" : L"hidden");
}

ZcUiControlState* HeadlessDialogs::controlFor(CDialog& dialog, const DialogAction& action) {
  ZcUiControlState* state = nullptr;
  if (std::optional<long> id = wholeNumber(action.control)) {
    state = dialog.findControl(static_cast<int>(*id));
  } else {
    state = dialog.findControl(action.control);
  }
  if (!state) {
    log(dialog, L"No control " + action.control + L" in this dialog.");
    return nullptr;
  }
  // The picture of a hidden or disabled frame may still be saved; nothing else may be done to it.
  if (action.verb == DialogVerb::kPicture) return state;
  if (!state->visible) {
    log(dialog, std::to_wstring(state->id) + L" is hidden.");
    return nullptr;
  }
  if (!state->enabled) {
    log(dialog, std::to_wstring(state->id) + L" is disabled.");
    return nullptr;
  }
  return state;
}

void HeadlessDialogs::perform(CDialog& dialog, const DialogAction& action) {
  switch (action.verb) {
    case DialogVerb::kClose:
      log(dialog, L"close");
      dialog.sendClose();
      return;
    case DialogVerb::kOk:
      log(dialog, L"OK");
      dialog.sendCommand(IDOK, BN_CLICKED);
      return;
    case DialogVerb::kCancel:
      log(dialog, L"Cancel");
      dialog.sendCommand(IDCANCEL, BN_CLICKED);
      return;
    case DialogVerb::kShow:
      show(dialog);
      return;
    default:
      break;
  }
  ZcUiControlState* state = controlFor(dialog, action);
  if (!state) return;
  const std::wstring id = std::to_wstring(state->id);
  switch (action.verb) {
    case DialogVerb::kSelect: {
      if (!isListKind(state->kind)) {
        log(dialog, id + L" is a " + kindName(state->kind) + L", not a list.");
        return;
      }
      int index = -1;
      if (std::optional<long> number = wholeNumber(action.argument)) {
        index =
            *number >= 0 && *number < static_cast<long>(state->items.size()) ? static_cast<int>(*number) : -1;
      } else {
        for (std::size_t i = 0; i < state->items.size() && index < 0; ++i) {
          if (state->items[i] == action.argument) index = static_cast<int>(i);
        }
      }
      if (index < 0) {
        log(dialog, id + L" has no item " + action.argument + L" (" + std::to_wstring(state->items.size()) +
                        L" items).");
        return;
      }
      state->selection = index;
      state->needsPaint = true;
      log(dialog, id + L" selected " + std::to_wstring(index) + L" " +
                      inQuotes(state->items[static_cast<std::size_t>(index)]));
      dialog.sendCommand(state->id, LBN_SELCHANGE);
      return;
    }
    case DialogVerb::kType:
      if (state->kind != ZcUiControlKind::kEdit && state->kind != ZcUiControlKind::kNumericEdit) {
        log(dialog, id + L" is a " + kindName(state->kind) + L", not an edit.");
        return;
      }
      state->text = action.argument;
      state->needsPaint = true;
      log(dialog, id + L" typed " + inQuotes(action.argument));
      // The focus then leaves the edit, as a user's Tab does.
      dialog.sendCommand(state->id, EN_KILLFOCUS);
      return;
    case DialogVerb::kSlide: {
      if (state->kind != ZcUiControlKind::kSlider) {
        log(dialog, id + L" is a " + kindName(state->kind) + L", not a slider.");
        return;
      }
      std::optional<long> position = wholeNumber(action.argument);
      if (!position) {
        log(dialog, L"A slider position is a whole number: " + inQuotes(action.argument) + L".");
        return;
      }
      // Dragged past an end, the thumb stays at that end.
      const long clamped = std::max<long>(state->rangeMin, std::min<long>(state->rangeMax, *position));
      state->position = static_cast<int>(clamped);
      state->needsPaint = true;
      log(dialog, id + L" slider at " + std::to_wstring(state->position));
      return;
    }
    case DialogVerb::kCheck:
    case DialogVerb::kUncheck: {
      if (state->kind != ZcUiControlKind::kCheckBox && state->kind != ZcUiControlKind::kRadioButton) {
        log(dialog, id + L" is a " + kindName(state->kind) + L", not a check box.");
        return;
      }
      const bool ticked = action.verb == DialogVerb::kCheck;
      if (state->kind == ZcUiControlKind::kRadioButton && !ticked) {
        log(dialog, id + L" is a radio button: check another of its group instead.");
        return;
      }
      if (state->kind == ZcUiControlKind::kRadioButton) {
        for (ZcUiControlState* other : dialog.controlStates()) {
          if (other->kind == ZcUiControlKind::kRadioButton && other->group == state->group)
            other->check = BST_UNCHECKED;
        }
      }
      state->check = ticked ? BST_CHECKED : BST_UNCHECKED;
      state->needsPaint = true;
      log(dialog, id + (ticked ? L" checked" : L" unchecked"));
      dialog.sendCommand(state->id, BN_CLICKED);
      return;
    }
    case DialogVerb::kPress:
      if (state->kind != ZcUiControlKind::kPushButton) {
        log(dialog, id + L" is a " + kindName(state->kind) + L", not a button.");
        return;
      }
      log(dialog, id + L" pressed");
      dialog.sendCommand(state->id, BN_CLICKED);
      return;
    case DialogVerb::kPicture: {
      if (state->kind != ZcUiControlKind::kPicture) {
        log(dialog, id + L" is a " + kindName(state->kind) + L", not a picture.");
        return;
      }
      if (state->picture.IsNull()) {
        log(dialog, id + L" shows no picture.");
        return;
      }
      if (FAILED(state->picture.Save(action.argument.c_str(), CImage::FileType::kPng))) {
        log(dialog, id + L" picture could not be saved to " + action.argument + L".");
        return;
      }
      log(dialog, id + L" picture saved to " + action.argument);
      return;
    }
    default:
      return;
  }
}

void HeadlessDialogs::show(CDialog& dialog) {
  std::wstring text = L"controls:";
  for (const ZcUiControlState* state : dialog.controlStates()) {
    if (!state->visible || state->kind == ZcUiControlKind::kGroupBox) continue;
    std::wstring line = L"\n  " + std::to_wstring(state->id) + L" " + kindName(state->kind);
    switch (state->kind) {
      case ZcUiControlKind::kListBox:
      case ZcUiControlKind::kComboBox:
        line += L", " + std::to_wstring(state->items.size()) + L" items, ";
        line += state->selection >= 0 ? L"selected " + std::to_wstring(state->selection) + L" " +
                                            inQuotes(state->items[static_cast<std::size_t>(state->selection)])
                                      : std::wstring(L"none selected");
        break;
      case ZcUiControlKind::kSlider:
        line += L" " + std::to_wstring(state->rangeMin) + L".." + std::to_wstring(state->rangeMax) + L" at " +
                std::to_wstring(state->position);
        break;
      case ZcUiControlKind::kCheckBox:
      case ZcUiControlKind::kRadioButton:
        line += L" " + inQuotes(state->text) + (state->check == BST_CHECKED ? L" checked" : L" unchecked");
        break;
      case ZcUiControlKind::kPicture:
        line += state->picture.IsNull() ? std::wstring(L" empty")
                                        : L" " + std::to_wstring(state->picture.GetWidth()) + L"x" +
                                              std::to_wstring(state->picture.GetHeight());
        break;
      default:
        line += L" " + inQuotes(state->text);
        break;
    }
    if (!state->enabled) line += L" (disabled)";
    text += line;
  }
  log(dialog, text);
}

}  // namespace vtcad::ui
