#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "document/design.h"
#include "document/file_io.h"
#include "merge/merge.h"
#include "platform/picture_store.h"

namespace qf {

enum class ExportFormat { Pdf, Png, Svg };

// The format a file name's extension names (.pdf, .png, .svg, any case); none for others.
std::optional<ExportFormat> ExportFormatOf(const std::filesystem::path& path);

struct ExportOptions {
  int dpi = 300;                            // a PNG's resolution
  const MergeSource* merge = nullptr;       // the records to fill the page with: a PDF has every
                                            // merged page of the range, a PNG or SVG its first
  std::function<bool(long page)> progress;  // told each page; false cancels (no file is left)
  bool grid = false;  // a PNG or SVG shows the design's grid (never on paper, nor in a PDF)
};

// Prints on the port it is given: false with the reason (or a cancel) when it could not.
using PrintOnto = std::function<bool(PrinterPort& port, std::string* error, bool* cancelled)>;

// Writes what `print` prints as an export writes it: every page in a PDF (as `--print -o`), the
// page in a PNG composed at `dpi` or in an SVG; atomically, the error naming the file.
FileStatus ExportPrinted(const std::filesystem::path& path, ExportFormat format, int dpi,
                         const PrintOnto& print);

// Writes the page as printing draws it: a PDF as `--print -o` writes one, a PNG composed at
// the options' dpi as the printer would compose it, an SVG as the same drawing in vector
// graphics. The file is written beside the target under another name and renamed over it, so a
// failed or cancelled export leaves no file, and no partial one. The error detail names the
// target and says why, in Japanese; a cancel is the error ECANCELED.
FileStatus ExportDesign(const Design& design, PictureStore& pictures,
                        const std::filesystem::path& path, ExportFormat format,
                        const ExportOptions& options = {});

}  // namespace qf
