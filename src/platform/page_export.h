#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "document/design.h"
#include "document/file_io.h"
#include "platform/picture_store.h"

namespace qf {

enum class ExportFormat { Pdf, Png, Svg };

// The format a file name's extension names (.pdf, .png, .svg, any case); none for others.
std::optional<ExportFormat> ExportFormatOf(const std::filesystem::path& path);

// Writes the page as printing draws it: a PDF as `--print -o` writes one, a PNG composed at
// `dpi` as the printer would compose it, an SVG as the same drawing in vector graphics. The file is
// written beside the target under another name and renamed over it, so a failed export leaves no
// file, and no partial one. The error detail names the target and says why, in Japanese.
FileStatus ExportDesign(const Design& design, PictureStore& pictures,
                        const std::filesystem::path& path, ExportFormat format, int dpi = 300);

}  // namespace qf
