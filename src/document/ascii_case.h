#pragma once

#include <string>
#include <string_view>

namespace qf {

// Case mapping of the ASCII letters only: file keywords and settings names are ASCII, and bytes
// of other characters must stay as they are.
inline std::string AsciiUpper(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

inline std::string AsciiLower(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

}  // namespace qf
