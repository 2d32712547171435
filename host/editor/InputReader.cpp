#include "editor/InputReader.h"

#include <cassert>

#include "editor/KeyLines.h"

namespace vtcad::editor {

void InputReader::push(std::unique_ptr<InputSource> source) {
  assert(source);
  sources_.push_back(Entry{std::move(source), std::nullopt, 0});
}

void InputReader::pop() {
  assert(!sources_.empty());
  sources_.pop_back();
}

InputReader::Entry* InputReader::topLineSource() {
  for (auto it = sources_.rbegin(); it != sources_.rend(); ++it) {
    if (it->source->kind() == InputSource::Kind::kLines) return &*it;
  }
  return nullptr;
}

const InputReader::Entry* InputReader::topLineSource() const {
  return const_cast<InputReader*>(this)->topLineSource();
}

InputReader::Peek InputReader::peek() const {
  for (auto it = sources_.rbegin(); it != sources_.rend(); ++it) {
    auto* args = dynamic_cast<ArgumentSource*>(it->source.get());
    if (args) {
      if (!args->empty()) return Peek{args, false};
      continue;  // used up: the rest comes from beneath
    }
    return Peek{it->source.get(), !it->line.has_value()};
  }
  return Peek{};
}

void InputReader::discardLine() {
  if (Entry* entry = topLineSource()) entry->line.reset();
}

InputItem InputReader::next(Mode mode, std::wstring_view prompt, InputSource** from) {
  if (from) *from = nullptr;
  for (auto it = sources_.rbegin(); it != sources_.rend(); ++it) {
    if (it->source->kind() == InputSource::Kind::kArguments) {
      std::optional<InputItem> item = it->source->nextItem();
      if (!item) continue;
      if (item->kind == InputItem::Kind::kText && item->text == kPauseText) break;  // the user answers
      if (from) *from = it->source.get();
      return *item;
    }
    break;
  }
  Entry* entry = topLineSource();
  if (!entry) return InputItem{InputItem::Kind::kEnd, {}, {}, 0.0, {}, 0};
  if (from) *from = entry->source.get();
  return fromLine(*entry, mode, prompt);
}

InputItem InputReader::fromLine(Entry& entry, Mode mode, std::wstring_view prompt) {
  while (!entry.line) {
    std::optional<std::wstring> line = entry.source->readLine(prompt);
    if (!line) return InputItem{InputItem::Kind::kEnd, {}, {}, 0.0, {}, 0};
    // A key line is no input: it holds or releases keys when the reader reaches it, just
    // before the input after it, and the prompt reads on.
    if (isKeyLine(*line)) {
      applyKeyLine(*line);
      continue;
    }
    entry.line = std::move(*line);
    entry.pos = 0;
  }
  return cutInput(entry, mode);
}

InputItem InputReader::cutInput(Entry& entry, Mode mode) {
  const std::wstring& line = *entry.line;
  std::wstring text;
  if (mode == Mode::kRestOfLine) {
    text = line.substr(entry.pos);
    entry.line.reset();
  } else if (entry.pos < line.size() && line[entry.pos] == L'"') {
    // "quoted text" is one input, spaces and all; a missing closing quote ends at the line end.
    size_t close = line.find(L'"', entry.pos + 1);
    if (close == std::wstring::npos) {
      text = line.substr(entry.pos + 1);
      entry.line.reset();
    } else {
      text = line.substr(entry.pos + 1, close - entry.pos - 1);
      entry.pos = close + 1;
      // The space after the closing quote ends this input, not the next one.
      if (entry.pos >= line.size()) {
        entry.line.reset();
      } else if (line[entry.pos] == L' ') {
        ++entry.pos;
      }
    }
    if (text.empty()) return InputItem{};
    return InputItem{InputItem::Kind::kText, std::move(text), {}, 0.0, {}, 0};
  } else {
    size_t end = line.find(L' ', entry.pos);
    if (end == std::wstring::npos) {
      text = line.substr(entry.pos);
      entry.line.reset();
    } else {
      text = line.substr(entry.pos, end - entry.pos);
      entry.pos = end + 1;  // each space is one Enter: "a  b" gives "a", "", "b"
    }
  }
  // A tab is white space to people writing scripts; it ends nothing but is not part of a value.
  while (!text.empty() && (text.back() == L'\t')) text.pop_back();
  if (text.empty()) return InputItem{};
  if (text == L"^C" || text == L"^c") return InputItem{InputItem::Kind::kCancel, {}, {}, 0.0, {}, 0};
  return InputItem{InputItem::Kind::kText, std::move(text), {}, 0.0, {}, 0};
}

}  // namespace vtcad::editor
