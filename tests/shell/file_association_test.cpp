#include "shell/file_association.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

#include "support/temp_folder.h"

namespace qf {
namespace {

namespace fs = std::filesystem;

using FileAssociationTest = test::TempFolderTest;

TEST_F(FileAssociationTest, RegisterWritesTypeAndHandlerAndRemoveTakesThemAway) {
  const FileAssociation a = DesignFileAssociation("/opt/quillform/quillform");
  const fs::path package = MimePackagePath(dir_, "Quillform");
  const fs::path entry = DesktopEntryPath(dir_, "Quillform");
  EXPECT_EQ(package, dir_ / "mime/packages/quillform.xml");
  EXPECT_EQ(entry, dir_ / "applications/quillform.desktop");

  ASSERT_EQ(SetFileAssociation(a, true, dir_), 0);
  // Each file whole, as the desktop's tools read it.
  EXPECT_EQ(ReadBytes(package),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
            "  <mime-type type=\"application/x-quillform\">\n"
            "    <comment>Quillform文書ﾌｧｲﾙ</comment>\n"
            "    <glob pattern=\"*.qfd\"/>\n"
            "  </mime-type>\n"
            "</mime-info>\n");
  const std::string desktop = ReadBytes(entry);
  EXPECT_EQ(desktop,
            "[Desktop Entry]\nType=Application\nName=Quillform\nComment=Quillform文書ﾌｧｲﾙ\n"
            "Exec=\"/opt/quillform/quillform\" %f\nIcon=/opt/quillform/qfd.ico\n"
            "MimeType=application/x-quillform;\nTerminal=false\nNoDisplay=true\n");

  // Registering over an existing registration succeeds; the files are written anew.
  std::ofstream(entry, std::ios::trunc) << "stale";
  EXPECT_EQ(SetFileAssociation(a, true, dir_), 0);
  EXPECT_EQ(ReadBytes(entry), desktop);

  EXPECT_EQ(SetFileAssociation(a, false, dir_), 0);
  EXPECT_FALSE(fs::exists(package));
  EXPECT_FALSE(fs::exists(entry));
  // Removed already (by someone else): a failure, and both steps are still tried.
  EXPECT_EQ(SetFileAssociation(a, false, dir_), kAssocNotRegistered);
  std::ofstream(entry.string()) << "x";  // only one of the two left
  EXPECT_EQ(SetFileAssociation(a, false, dir_), kAssocNotRegistered);
  EXPECT_FALSE(fs::exists(entry));
}

TEST_F(FileAssociationTest, FoldersThatCannotBeMadeFailEveryStep) {
  const fs::path blocked = dir_ / "a-file";
  std::ofstream(blocked) << "not a folder";
  const FileAssociation a = DesignFileAssociation("/opt/quillform/quillform");
  const int32_t r = SetFileAssociation(a, true, blocked);
  EXPECT_NE(r & kAssocNoFolder, 0);
  EXPECT_NE(r & kAssocWriteFailed, 0);
  EXPECT_NE(SetFileAssociation(a, false, blocked), 0);
}

TEST(DesktopOpenCommand, PathsThatWouldBreakTheCommandLineAreQuoted) {
  EXPECT_EQ(DesktopOpenCommand("/usr/bin/quillform"), "\"/usr/bin/quillform\" %f");
  // Inside the quotes " $ ` \ take a backslash and % doubles; the entry's own string escape
  // then doubles every backslash.
  EXPECT_EQ(DesktopOpenCommand("/opt/my apps/q\"u$o`t%e\\x/quillform"),
            "\"/opt/my apps/q\\\\\"u\\\\$o\\\\`t%%e\\\\\\\\x/quillform\" %f");
}

}  // namespace
}  // namespace qf

namespace qf {
namespace {

// An environment variable set (or unset) for one scope and put back after it.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// The MIME cache's tool decides by how it ends: failing fails the registration, succeeding or
// not being installed does not.
TEST_F(FileAssociationTest, TheCacheToolsEndCounts) {
  const FileAssociation a = DesignFileAssociation("/opt/quillform/quillform");
  const fs::path bin = dir_ / "bin";
  fs::create_directories(bin);
  const fs::path tool = bin / "update-mime-database";
  const ScopedEnv path("PATH", bin.c_str());
  const std::pair<int, int32_t> ends[] = {
      {1, kAssocRefreshFailed}, {3, kAssocRefreshFailed}, {0, 0}};
  for (const auto& [exit, expected] : ends) {
    std::ofstream(tool, std::ios::trunc) << "#!/bin/sh\nexit " << exit << "\n";
    fs::permissions(tool, fs::perms::owner_all);
    EXPECT_EQ(SetFileAssociation(a, true, dir_ / "home"), expected) << "exit " << exit;
  }
  fs::remove(tool);
  EXPECT_EQ(SetFileAssociation(a, true, dir_ / "home"), 0);  // not installed
}

TEST(XdgDataHome, TheEnvironmentAndItsFallbacks) {
  struct Case {
    const char* xdg;   // nullptr: unset
    const char* home;  // nullptr: unset
    fs::path expected;
  };
  const fs::path temp = fs::temp_directory_path();
  const Case cases[] = {
      {"/data", "/home/u", "/data"},
      {"", "/home/u", "/home/u/.local/share"},
      {nullptr, "/home/u", "/home/u/.local/share"},
      {nullptr, "", temp},
      {"", nullptr, temp},
      {nullptr, nullptr, temp},
  };
  for (const Case& c : cases) {
    const ScopedEnv xdg("XDG_DATA_HOME", c.xdg);
    const ScopedEnv home("HOME", c.home);
    EXPECT_EQ(XdgDataHome(), c.expected)
        << (c.xdg ? c.xdg : "(unset)") << " " << (c.home ? c.home : "(unset)");
  }
}

}  // namespace
}  // namespace qf
