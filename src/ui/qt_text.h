#pragma once

#include <QString>
#include <string_view>

#include "document/file_io.h"

namespace qf {

// UTF-8 text of the lower layers as a QString.
inline QString Q(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// A message with the reason a file could not be read or written on a line of its own.
inline QString WithDetail(std::string_view message, const FileStatus& st) {
  return st.detail.empty() ? Q(message) : Q(message) + QLatin1Char('\n') + Q(st.detail);
}

}  // namespace qf
