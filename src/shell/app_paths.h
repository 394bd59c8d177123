#pragma once

#include <filesystem>
#include <string_view>

namespace qf {

// A file the program ships (its help, the design files' icon): beside the program in a build
// folder, or under share/quillform of the prefix it was installed into (bin/../share/quillform).
// The place beside the program when neither has it.
std::filesystem::path ProgramDataFile(const std::filesystem::path& appFolder,
                                      std::string_view relative);

// True when the program runs from an installed prefix (its help under ../share/quillform, none
// beside it): its folder is the system's, not a place for its settings.
bool RunsInstalled(const std::filesystem::path& appFolder);

// True when the program runs installed and its package gave design files their type
// (share/mime/packages/quillform.xml of the prefix): the desktop opens them with it already.
bool PackageAssociatesFiles(const std::filesystem::path& appFolder);

}  // namespace qf
