#include "file_association.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>

#include "document/ascii_case.h"
#include "document/file_io.h"
#include "shell/app_paths.h"

extern char** environ;

namespace qf {

namespace {

std::string XmlText(std::string_view s) {
  std::string out;
  for (const char c : s) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

// A desktop entry's string value: backslashes and control characters are escaped.
std::string EntryString(std::string_view s) {
  std::string out;
  for (const char c : s) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string MimePackage(const FileAssociation& a) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
         "  <mime-type type=\"" +
         XmlText(MimeTypeName(a.typeName)) + "\">\n    <comment>" + XmlText(a.description) +
         "</comment>\n    <glob pattern=\"*" + XmlText(a.extension) +
         "\"/>\n  </mime-type>\n</mime-info>\n";
}

std::string DesktopEntry(const FileAssociation& a) {
  // The open command is already in the Exec key's form.
  return "[Desktop Entry]\nType=Application\nName=" + EntryString(a.typeName) +
         "\nComment=" + EntryString(a.description) + "\nExec=" + a.openCommand +
         "\nIcon=" + EntryString(a.iconFile) + "\nMimeType=" + MimeTypeName(a.typeName) +
         ";\nTerminal=false\nNoDisplay=true\n";
}

int32_t MakeFolder(const std::filesystem::path& folder) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  return ec || !std::filesystem::is_directory(folder, ec) ? kAssocNoFolder : 0;
}

int32_t Write(const std::filesystem::path& path, std::string_view bytes) {
  return WriteFileAtomically(path, bytes).ok() ? 0 : kAssocWriteFailed;
}

// Applications find file types through the MIME database's cache, which is rebuilt from the
// packages after every change (when the tool is installed; a desktop without it reads the
// packages themselves).
int32_t RefreshMimeDatabase(const std::filesystem::path& mimeFolder) {
  std::error_code ec;
  if (!std::filesystem::is_directory(mimeFolder, ec)) return 0;
  std::string tool = "update-mime-database";
  std::string folder = mimeFolder.string();
  char* argv[] = {tool.data(), folder.data(), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return 0;  // not installed
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : kAssocRefreshFailed;
}

int32_t Remove(const std::filesystem::path& path) {
  std::error_code ec;
  if (std::filesystem::remove(path, ec)) return 0;
  return ec ? kAssocRemoveFailed : kAssocNotRegistered;
}

}  // namespace

std::string MimeTypeName(std::string_view typeName) {
  return "application/x-" + AsciiLower(typeName);
}

std::filesystem::path MimePackagePath(const std::filesystem::path& dataHome,
                                      std::string_view typeName) {
  return dataHome / "mime" / "packages" / (AsciiLower(typeName) + ".xml");
}

std::filesystem::path DesktopEntryPath(const std::filesystem::path& dataHome,
                                       std::string_view typeName) {
  return dataHome / "applications" / (AsciiLower(typeName) + ".desktop");
}

int32_t SetFileAssociation(const FileAssociation& a, bool registering,
                           const std::filesystem::path& dataHome) {
  const std::filesystem::path package = MimePackagePath(dataHome, a.typeName);
  const std::filesystem::path entry = DesktopEntryPath(dataHome, a.typeName);
  int32_t result = 0;
  if (registering) {
    result |= MakeFolder(package.parent_path());
    result |= Write(package, MimePackage(a));
    result |= MakeFolder(entry.parent_path());
    result |= Write(entry, DesktopEntry(a));
  } else {
    result |= Remove(package);
    result |= Remove(entry);
  }
  result |= RefreshMimeDatabase(package.parent_path().parent_path());
  return result;
}

std::string DesktopOpenCommand(const std::filesystem::path& program) {
  // Inside the quotes " ` $ \ take a backslash; a literal % is doubled. The whole value is then
  // a desktop-entry string, whose own escapes come on top.
  std::string quoted = "\"";
  for (const char c : program.string()) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    if (c == '%') quoted += '%';
    quoted += c;
  }
  quoted += '"';
  return EntryString(quoted) + " %f";
}

FileAssociation DesignFileAssociation(const std::filesystem::path& program) {
  return {".qfd",
          "Quillform",
          DesktopOpenCommand(program),
          "Quillform文書ﾌｧｲﾙ",
          ProgramDataFile(program.parent_path(), "qfd.ico").string(),
          "0"};
}

std::filesystem::path XdgDataHome() {
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) return xdg;
  if (const char* home = std::getenv("HOME"); home && *home) {
    return std::filesystem::path(home) / ".local" / "share";
  }
  return std::filesystem::temp_directory_path();
}

}  // namespace qf
