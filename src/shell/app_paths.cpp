#include "app_paths.h"

namespace qf {

std::filesystem::path ProgramDataFile(const std::filesystem::path& appFolder,
                                      std::string_view relative) {
  const std::filesystem::path beside = appFolder / relative;
  std::error_code ec;
  if (std::filesystem::exists(beside, ec)) return beside;
  const std::filesystem::path installed =
      appFolder.parent_path() / "share" / "quillform" / relative;
  if (std::filesystem::exists(installed, ec)) return installed;
  return beside;
}

bool RunsInstalled(const std::filesystem::path& appFolder) {
  std::error_code ec;
  return !appFolder.empty() && !std::filesystem::exists(appFolder / "help", ec) &&
         std::filesystem::is_directory(appFolder.parent_path() / "share" / "quillform" / "help",
                                       ec);
}

bool PackageAssociatesFiles(const std::filesystem::path& appFolder) {
  std::error_code ec;
  return RunsInstalled(appFolder) &&
         std::filesystem::is_regular_file(
             appFolder.parent_path() / "share" / "mime" / "packages" / "quillform.xml", ec);
}

}  // namespace qf
