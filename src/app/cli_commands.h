#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "document/design.h"
#include "document/file_io.h"

namespace qf {

// Shared by the subcommands: each prints one line on failure and returns the exit code.
int Fail(const std::string& what, const FileStatus& st);
int Fail(const std::string& message);
int Load(const std::string& path, Design& design);
int Usage(std::string_view problem);

// quillform --source FILE [--public] [--flat] [--encoding utf-8|cp932]
int Source(const std::vector<std::string>& args);
// quillform --render FILE -o PAGE.png [--zoom N] [--no-grid]
int Render(const std::vector<std::string>& args);
// quillform --print FILE [-o OUT.pdf] [-P PRINTER]
int Print(const std::vector<std::string>& args);
// quillform --export FILE -o OUT.pdf|OUT.png [--dpi N]
int Export(const std::vector<std::string>& args);

}  // namespace qf
