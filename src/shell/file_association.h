#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace qf {

// What associates design files with the program: the extension, the file type's name and
// description, the command that opens a file, and the icon.
struct FileAssociation {
  std::string extension;    // ".qfd"
  std::string typeName;     // "Quillform"
  std::string openCommand;  // the program, quoted, a blank and the file placeholder
  std::string description;  // "Quillform文書ﾌｧｲﾙ"
  std::string iconFile;
  std::string iconIndex;
};

// Step failures OR-ed into the result of SetFileAssociation.
enum AssociationError : int32_t {
  kAssocNoFolder = 1,        // a folder could not be made
  kAssocWriteFailed = 2,     // a file could not be written
  kAssocNotRegistered = 4,   // a file to remove was not there
  kAssocRemoveFailed = 8,    // a file could not be removed
  kAssocRefreshFailed = 16,  // the MIME database's cache could not be rebuilt
};

// The association of this desktop (freedesktop.org): a shared-MIME-info package that gives the
// extension its type, and a desktop entry that opens that type with the program, both under
// `dataHome` (normally $XDG_DATA_HOME). Registering writes both (overwriting what is there);
// removing deletes both; then the MIME cache is rebuilt. Every step runs even when an earlier one
// failed; the result is 0 when all succeeded, else the OR of the failures met.
int32_t SetFileAssociation(const FileAssociation& association, bool registering,
                           const std::filesystem::path& dataHome);

// The association the editor registers: the program at `program` opens ".qfd" files.
FileAssociation DesignFileAssociation(const std::filesystem::path& program);

// The file type and the files the association is kept in.
std::string MimeTypeName(std::string_view typeName);
std::filesystem::path MimePackagePath(const std::filesystem::path& dataHome,
                                      std::string_view typeName);
std::filesystem::path DesktopEntryPath(const std::filesystem::path& dataHome,
                                       std::string_view typeName);

// $XDG_DATA_HOME, else ~/.local/share.
std::filesystem::path XdgDataHome();

// The program quoted for a desktop entry's Exec key, followed by the file placeholder: blanks,
// quotes, backslashes, dollars, back quotes and percent signs in the path cannot break it.
std::string DesktopOpenCommand(const std::filesystem::path& program);

}  // namespace qf
