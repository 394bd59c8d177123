#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qf {

// Result of a conversion between CP932 (Shift-JIS as Windows writes it) and UTF-8.
struct CodecResult {
  bool ok = true;
  size_t badOffset = 0;  // offset in the input of the first byte that could not be converted
};

// Converts CP932 bytes to UTF-8 text, appending to out.
CodecResult Cp932ToUtf8(std::string_view bytes, std::string& out);
// Converts UTF-8 text to CP932 bytes, appending to out. Characters CP932 cannot hold are an
// error, never a "?".
CodecResult Utf8ToCp932(std::string_view text, std::string& out);

// The UTF-8 character starting at offset, and its code point (U+FFFD for a broken sequence).
std::string_view Utf8CharAt(std::string_view text, size_t offset, char32_t* codePoint = nullptr);

}  // namespace qf
