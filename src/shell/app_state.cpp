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

const MergeChoice* FindMerge(const AppState& state, std::string_view design) {
  for (const MergeChoice& m : state.merges) {
    if (m.design == design) return &m;
  }
  return nullptr;
}

void RememberMerge(AppState& state, const MergeChoice& choice) {
  std::erase_if(state.merges, [&](const MergeChoice& m) { return m.design == choice.design; });
  if (choice.data.empty()) return;
  state.merges.insert(state.merges.begin(), choice);
  if (state.merges.size() > kMergesKept) state.merges.resize(kMergesKept);
}

}  // namespace qf
