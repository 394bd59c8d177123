// Feeds arbitrary bytes to the settings-file reader. Reading never fails; what was read, written
// and read again writes the same bytes.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "shell/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const qf::IniFile first =
      qf::IniFile::Parse(std::string_view(reinterpret_cast<const char*>(data), size));
  const std::string written = first.bytes();
  if (qf::IniFile::Parse(written).bytes() != written) std::abort();
  return 0;
}
