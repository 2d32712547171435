#pragma once
// Text between wide strings and UTF-8 bytes: file names for the file system, pages and files
// read as UTF-8.
#include <string>

namespace veltrace {

// UTF-8 bytes as wide text; a malformed sequence becomes U+FFFD, never an error.
std::wstring decodeUtf8(const std::string& bytes);
// Wide text as UTF-8 bytes.
std::string encodeUtf8(const std::wstring& text);

}  // namespace veltrace
