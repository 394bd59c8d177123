#include "shell/file_association.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

namespace qf {
namespace {

namespace fs = std::filesystem;

std::string Text(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

class FileAssociationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    home_ = fs::temp_directory_path() /
            ("qf_assoc_" + std::to_string(::getpid()) + "_" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(home_);
  }
  void TearDown() override { fs::remove_all(home_); }
  fs::path home_;
};

TEST_F(FileAssociationTest, RegisterWritesTypeAndHandlerAndRemoveTakesThemAway) {
  const FileAssociation a = DesignFileAssociation("/opt/quillform/quillform");
  const fs::path package = MimePackagePath(home_, "Quillform");
  const fs::path entry = DesktopEntryPath(home_, "Quillform");
  EXPECT_EQ(package, home_ / "mime/packages/quillform.xml");
  EXPECT_EQ(entry, home_ / "applications/quillform.desktop");

  ASSERT_EQ(SetFileAssociation(a, true, home_), 0);
  const std::string xml = Text(package);
  EXPECT_NE(xml.find("<mime-type type=\"application/x-quillform\">"), std::string::npos);
  EXPECT_NE(xml.find("<glob pattern=\"*.qfd\"/>"), std::string::npos);
  EXPECT_NE(xml.find("<comment>Quillform文書ﾌｧｲﾙ</comment>"), std::string::npos);
  const std::string desktop = Text(entry);
  EXPECT_EQ(desktop.rfind("[Desktop Entry]\n", 0), 0u);
  EXPECT_NE(desktop.find("\nExec=\"/opt/quillform/quillform\" %f\n"), std::string::npos);
  EXPECT_NE(desktop.find("\nMimeType=application/x-quillform;\n"), std::string::npos);
  EXPECT_NE(desktop.find("\nIcon=/opt/quillform/qfd.ico\n"), std::string::npos);

  // Registering over an existing registration succeeds; the files are written anew.
  std::ofstream(entry, std::ios::trunc) << "stale";
  EXPECT_EQ(SetFileAssociation(a, true, home_), 0);
  EXPECT_EQ(Text(entry), desktop);

  EXPECT_EQ(SetFileAssociation(a, false, home_), 0);
  EXPECT_FALSE(fs::exists(package));
  EXPECT_FALSE(fs::exists(entry));
  // Removed already (by someone else): a failure, and both steps are still tried.
  EXPECT_EQ(SetFileAssociation(a, false, home_), kAssocNotRegistered);
  std::ofstream(entry.string()) << "x";  // only one of the two left
  EXPECT_EQ(SetFileAssociation(a, false, home_), kAssocNotRegistered);
  EXPECT_FALSE(fs::exists(entry));
}

TEST_F(FileAssociationTest, FoldersThatCannotBeMadeFailEveryStep) {
  fs::create_directories(home_);
  const fs::path blocked = home_ / "a-file";
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
