#include "app_state.h"

#include <algorithm>

namespace qf {

void UpdateRecentFiles(RecentFiles& recent, const std::string& current) {
  // Close the gap where it stood (compared exactly), then push everything down one place.
  auto it = std::find(recent.begin(), recent.end(), current);
  if (it != recent.end()) {
    std::move(it + 1, recent.end(), it);
    recent.back().clear();
  }
  std::move_backward(recent.begin(), recent.end() - 1, recent.end());
  recent.front() = current;
}

}  // namespace qf
