#pragma once

#include <string>
#include <string_view>

#include "document/cp932.h"

namespace qf {

// Converts Windows-1252 bytes (the Western code page programs from English Windows are saved
// in) to UTF-8, appending to out. The five bytes the code page leaves unassigned are an error.
CodecResult Windows1252ToUtf8(std::string_view bytes, std::string& out);

}  // namespace qf
