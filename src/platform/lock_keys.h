#pragma once

#include <optional>

namespace qf {

struct LockKeys {
  bool capsLock = false;
  bool numLock = false;
};

// The caps-lock and num-lock state where the window system tells it (X11); nullopt elsewhere.
std::optional<LockKeys> ReadLockKeys();

}  // namespace qf
