#include "shell/file_association.h"

#include <gtest/gtest.h>

#include <fstream>

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
  const std::string xml = ReadBytes(package);
  EXPECT_NE(xml.find("<mime-type type=\"application/x-quillform\">"), std::string::npos);
  EXPECT_NE(xml.find("<glob pattern=\"*.qfd\"/>"), std::string::npos);
  EXPECT_NE(xml.find("<comment>Quillform文書ﾌｧｲﾙ</comment>"), std::string::npos);
  const std::string desktop = ReadBytes(entry);
  EXPECT_EQ(desktop.rfind("[Desktop Entry]\n", 0), 0u);
  EXPECT_NE(desktop.find("\nExec=\"/opt/quillform/quillform\" %f\n"), std::string::npos);
  EXPECT_NE(desktop.find("\nMimeType=application/x-quillform;\n"), std::string::npos);
  EXPECT_NE(desktop.find("\nIcon=/opt/quillform/qfd.ico\n"), std::string::npos);

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
