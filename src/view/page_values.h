#pragma once

#include <optional>
#include <string_view>

namespace qf {

// Values that stand in for texts' literal texts on a printed page: the records of a data merge.
class PageValues {
 public:
  virtual ~PageValues() = default;
  // The value the text of `row` shows in `pass` of its repeat blocks (see WalkPosition); none
  // keeps its literal text.
  virtual std::optional<std::string_view> value(int row, long pass) const = 0;
};

}  // namespace qf
