#include "lock_keys.h"

#include <QGuiApplication>

#if QF_HAVE_X11
#include <X11/XKBlib.h>
#endif

namespace qf {

std::optional<LockKeys> ReadLockKeys() {
#if QF_HAVE_X11
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return std::nullopt;
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  Display* display = x11 ? x11->display() : nullptr;
  if (!display) return std::nullopt;
  unsigned int state = 0;
  if (XkbGetIndicatorState(display, XkbUseCoreKbd, &state) != Success) return std::nullopt;
  // Indicators 0 and 1 are Caps Lock and Num Lock on the core keyboard.
  return LockKeys{(state & 1u) != 0, (state & 2u) != 0};
#else
  return std::nullopt;
#endif
}

}  // namespace qf
