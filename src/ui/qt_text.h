#pragma once

#include <QString>
#include <string_view>

namespace qf {

// UTF-8 text of the lower layers as a QString.
inline QString Q(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace qf
