#include "editor/InputSource.h"

namespace vtcad::editor {

ScriptSource::ScriptSource(std::wstring text, std::wstring name)
    : text_(std::move(text)), name_(std::move(name)) {
  // A byte-order mark that survived decoding is not part of the first command.
  if (!text_.empty() && text_.front() == L'\xFEFF') pos_ = 1;
}

std::optional<std::wstring> ScriptSource::readLine(std::wstring_view) {
  while (pos_ < text_.size()) {
    size_t end = text_.find(L'\n', pos_);
    bool lastLine = end == std::wstring::npos;
    if (lastLine) end = text_.size();
    std::wstring line = text_.substr(pos_, end - pos_);
    pos_ = lastLine ? text_.size() : end + 1;
    if (!line.empty() && line.back() == L'\r') line.pop_back();
    if (!line.empty() && line.front() == L';') continue;
    return line;
  }
  return std::nullopt;
}

std::optional<InputItem> ArgumentSource::nextItem() {
  if (items_.empty()) return std::nullopt;
  InputItem item = std::move(items_.front());
  items_.pop_front();
  return item;
}

}  // namespace vtcad::editor
