#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "document/cp932.h"
#include "shell/app_paths.h"
#include "shell/app_state.h"
#include "shell/settings_file.h"
#include "shell/ui_text.h"
#include "support/temp_folder.h"

namespace qf {
namespace {

namespace fs = std::filesystem;

TEST(RecentFiles, SameFileOnceAtTheTopAndTheOldestFallsOut) {
  RecentFiles r;
  UpdateRecentFiles(r, "/a.qfd");
  UpdateRecentFiles(r, "/b.qfd");
  UpdateRecentFiles(r, "/a.qfd");
  EXPECT_EQ(r, (RecentFiles{"/a.qfd", "/b.qfd", "", "", ""}));
  for (const char* f : {"/c.qfd", "/d.qfd", "/e.qfd", "/f.qfd"}) UpdateRecentFiles(r, f);
  EXPECT_EQ(r, (RecentFiles{"/f.qfd", "/e.qfd", "/d.qfd", "/c.qfd", "/a.qfd"}));
  UpdateRecentFiles(r, "/A.qfd");  // compared exactly, case included
  EXPECT_EQ(r[0], "/A.qfd");
  EXPECT_EQ(r[4], "/c.qfd");
  UpdateRecentFiles(r, "/d.qfd");  // from the middle to the top
  EXPECT_EQ(r, (RecentFiles{"/d.qfd", "/A.qfd", "/f.qfd", "/e.qfd", "/c.qfd"}));
}

TEST(UiText, ZoomBoxRulesAndTheDefaultName) {
  EXPECT_EQ(ZoomEnterText("350"), "300%");
  EXPECT_EQ(ZoomEnterText("350%"), "350%");
  EXPECT_EQ(ZoomEnterText("75.5"), "76%");
  EXPECT_EQ(ZoomEnterText("abc"), "0%");
  EXPECT_EQ(ZoomFromText("350%"), 350);
  EXPECT_EQ(ZoomFromText("abc"), 0);
  EXPECT_EQ(ZoomFromText(" 90%"), 90);
  std::tm when{};
  when.tm_mon = 11;
  when.tm_mday = 6;
  when.tm_hour = 10;
  when.tm_min = 15;
  EXPECT_EQ(DefaultDesignName(when), "QF12061015.qfd");
}

// Ctrl+wheel steps through the zoom box's list from wherever the zoom is.
TEST(UiText, ZoomStepsOfTheWheel) {
  EXPECT_EQ(NextZoomStep(100, true), 200);
  EXPECT_EQ(NextZoomStep(100, false), 90);
  EXPECT_EQ(NextZoomStep(125, false), 100);
  EXPECT_EQ(NextZoomStep(125, true), 200);
  EXPECT_EQ(NextZoomStep(300, true), 300);
  EXPECT_EQ(NextZoomStep(10, false), 10);
  EXPECT_EQ(NextZoomStep(5, true), 10);
  EXPECT_EQ(NextZoomStep(450, false), 300);
}

using SettingsTest = test::TempFolderTest;

TEST_F(SettingsTest, FirstStartGivesTheDefaults) {
  AppState s;
  s.autoRedraw = true;
  s.subMake = false;
  s.rulers = false;
  s.objectSnap = false;
  s.recentFiles[0] = "stale";
  LoadSettings(dir_ / "QF2.INI", s);
  EXPECT_TRUE(s.firstStart);
  EXPECT_FALSE(s.autoRedraw);
  EXPECT_TRUE(s.subMake);
  EXPECT_FALSE(s.relation);
  EXPECT_TRUE(s.rulers);
  EXPECT_TRUE(s.objectSnap);
  EXPECT_EQ(s.recentFiles, RecentFiles{});
  for (int i = 0; i <= kWinPreview; ++i) {
    EXPECT_EQ(s.windows[static_cast<size_t>(i)], (WindowRect{0, 0, 1000, 1000})) << i;
  }
}

TEST_F(SettingsTest, WrittenInOrderReadBackWhole) {
  AppState s;
  s.autoRedraw = true;
  s.relation = true;
  s.rulers = false;
  s.objectSnap = false;
  s.sourceLanguage = SourceLanguage::CSharp;
  s.windows[kWinMain] = {150, 300, 12000, 9000.5};
  s.windows[kWinRing] = {-45, 60, 1000, 1000};
  s.windows[kWinPreview] = {30, 45, 9000, 7500};
  const std::string longPath = "/" + std::string(200, 'x') + "/設計書.qfd";  // over 127 bytes
  s.recentFiles = {longPath, "/b.qfd", "", "", ""};
  const fs::path ini = dir_ / "QF2.INI";
  ASSERT_TRUE(SaveSettings(ini, s).ok());

  std::string utf8;
  ASSERT_TRUE(Cp932ToUtf8(ReadBytes(ini), utf8).ok);  // CP932 text
  EXPECT_EQ(utf8.rfind("[Setting]\r\nAutoRedraw=-1\r\nSubMake=-1\r\nRelation=-1\r\nRulers=0\r\n"
                       "ObjectSnap=0\r\nSourceLang=C#\r\n[WINDOW]\r\nX0=150\r\nY0=300\r\nW0="
                       "12000\r\nH0=9000.5\r\nX1=0\r\n",
                       0),
            0u)
      << utf8;
  EXPECT_NE(utf8.find("\r\nX13=-45\r\nY13=60\r\nW13=1000\r\nH13=1000\r\n[FILES]\r\n0=/"),
            std::string::npos);
  EXPECT_EQ(utf8.find("X14="), std::string::npos);

  AppState back;
  LoadSettings(ini, back);
  EXPECT_FALSE(back.firstStart);
  EXPECT_TRUE(back.autoRedraw);
  EXPECT_TRUE(back.relation);
  EXPECT_FALSE(back.rulers);
  EXPECT_FALSE(back.objectSnap);
  EXPECT_EQ(back.sourceLanguage, SourceLanguage::CSharp);
  EXPECT_EQ(back.windows[kWinMain], s.windows[kWinMain]);
  EXPECT_EQ(back.windows[kWinRing], s.windows[kWinRing]);
  EXPECT_EQ(back.windows[kWinPreview], s.windows[kWinPreview]);  // in [PREVIEW], after the rest
  EXPECT_NE(utf8.find("[PREVIEW]\r\nX=30\r\nY=45\r\nW=9000\r\nH=7500\r\n"), std::string::npos);
  EXPECT_EQ(back.recentFiles[0], longPath);  // not cut at 127 bytes
  EXPECT_EQ(back.recentFiles[1], "/b.qfd");
}

// Values read tolerantly, each against what the program writes and other values old or
// hand-edited files hold: "C#" in either case chooses C#, anything else Visual Basic; a merge's
// delimiter is a comma, a tab or a semicolon by its code, anything else is left to the records.
TEST_F(SettingsTest, ToleratedValuesAndEverythingElse) {
  // Starts from the other language than the one expected, so a read that sets nothing shows.
  const auto read = [this](const std::string& text, SourceLanguage start) {
    const fs::path ini = dir_ / "QF2.INI";
    std::ofstream(ini, std::ios::binary) << text;
    AppState back;
    back.sourceLanguage = start;
    LoadSettings(ini, back);
    return back;
  };
  const std::pair<const char*, SourceLanguage> languages[] = {
      {"SourceLang=C#", SourceLanguage::CSharp},  {"SourceLang= c# ", SourceLanguage::CSharp},
      {"SourceLang=VB6", SourceLanguage::Vb6},    {"SourceLang=", SourceLanguage::Vb6},
      {"SourceLang=CSharp", SourceLanguage::Vb6}, {"SourceLang=C", SourceLanguage::Vb6},
      {"SourceLang=1", SourceLanguage::Vb6},      {"AutoRedraw=0", SourceLanguage::Vb6},
  };
  for (const auto& [line, expected] : languages) {
    const SourceLanguage other =
        expected == SourceLanguage::Vb6 ? SourceLanguage::CSharp : SourceLanguage::Vb6;
    EXPECT_EQ(read("[Setting]\r\n" + std::string(line) + "\r\n", other).sourceLanguage, expected)
        << line;
  }
  const std::pair<const char*, char> delimiters[] = {
      {"Delimiter0=44", ','}, {"Delimiter0=9", '\t'},  {"Delimiter0=59", ';'}, {"Delimiter0=65", 0},
      {"Delimiter0=1", 0},    {"Delimiter0=comma", 0}, {"Delimiter0=", 0},     {"Group0=顧客", 0},
  };
  for (const auto& [line, expected] : delimiters) {
    const AppState back =
        read("[MERGE]\r\nDesign0=/d.qfd\r\nData0=/r.csv\r\n" + std::string(line) + "\r\n",
             SourceLanguage::Vb6);
    ASSERT_EQ(back.merges.size(), 1u) << line;
    EXPECT_EQ(back.merges[0].delimiter, expected) << line;
  }
}

// Merges are kept per design, the last chosen first, the oldest falling out; a tab delimiter and
// a Japanese group column survive the file.
TEST_F(SettingsTest, MergeChoicesPerDesign) {
  AppState s;
  for (int i = 0; i < 25; ++i) {
    RememberMerge(s, {"/d" + std::to_string(i) + ".qfd", "/r" + std::to_string(i) + ".csv",
                      ",\t;"[i % 3], i % 2 ? "請求書番号" : ""});
  }
  RememberMerge(s, {"/d7.qfd", "/new.csv", '\t', "顧客"});
  RememberMerge(s, {"/d24.qfd", "", 0, ""});  // forgotten
  // A database's query keeps its lines, backslashes and what looks like an escape.
  RememberMerge(s, {"/db.qfd", "postgresql://u@h:5432/請求", 0, "",
                    "SELECT *\nFROM 表 -- C:\\n\nWHERE a = '\\\\' AND b = '\\n'\n"});
  EXPECT_EQ(UnescapeLines(EscapeLines("a\r\nb\rc\n")), "a\nb\nc\n");
  EXPECT_EQ(UnescapeLines("\\x\\"), "\\x\\");  // not an escape: kept
  RememberMerge(s, {"/t.qfd", "sqlite:/a.db", 0, "請求書番号", "", "請求"});
  ASSERT_EQ(s.merges.size(), kMergesKept);
  EXPECT_EQ(s.merges[2], (MergeChoice{"/d7.qfd", "/new.csv", '\t', "顧客"}));
  EXPECT_EQ(FindMerge(s, "/d4.qfd"), nullptr);  // fell out
  EXPECT_EQ(FindMerge(s, "/d24.qfd"), nullptr);
  ASSERT_TRUE(SaveSettings(dir_ / "QF2.INI", s).ok());
  AppState back;
  LoadSettings(dir_ / "QF2.INI", back);
  EXPECT_EQ(back.merges, s.merges);
  EXPECT_EQ(back.merges[1].table, "");
  EXPECT_EQ(back.merges[0].table, "請求");
  // An entry without a file or records is passed over; of two for one design the first counts.
  std::ofstream(dir_ / "QF2.INI", std::ios::trunc)
      << "[MERGE]\r\nDesign0=/x.qfd\r\nData0=\r\nDesign1=\r\nData1=/w.csv\r\nDesign2=/y.qfd\r\n"
         "Data2=/y.csv\r\nDesign3=/y.qfd\r\nData3=/z.csv\r\n";
  LoadSettings(dir_ / "QF2.INI", back);
  ASSERT_EQ(back.merges.size(), 1u);
  EXPECT_EQ(back.merges[0].data, "/y.csv");
  // A file that keeps none leaves none of what was there before.
  std::ofstream(dir_ / "QF2.INI", std::ios::trunc) << "[Setting]\r\n";
  LoadSettings(dir_ / "QF2.INI", back);
  EXPECT_TRUE(back.merges.empty());
}

TEST_F(SettingsTest, TolerantReadingAndPathsCodePage932CannotHold) {
  const fs::path ini = dir_ / "QF2.INI";
  std::ofstream(ini, std::ios::binary)
      << "[setting]\r\nrelation = 5\r\nSubMake=0\r\n"
         "garbage line\r\n[WINDOW]\r\nx2=abc\r\nW2=2000\n"  // a line ended by LF alone
         "[MERGE]\r\nDesign19=/a.qfd\r\nData19=/a.csv\r\n"
         "Design20=/b.qfd\r\nData20=/b.csv\r\n";
  AppState s;
  LoadSettings(ini, s);
  // The last slot kept is read; one past it is not.
  ASSERT_EQ(s.merges.size(), 1u);
  EXPECT_EQ(s.merges[0].design, "/a.qfd");
  EXPECT_TRUE(s.relation);  // any number but 0 is on
  EXPECT_FALSE(s.subMake);
  EXPECT_EQ(s.windows[kWinCode].left, 0);
  EXPECT_EQ(s.windows[kWinCode].width, 2000);

  // A file name with an emoji cannot be CP932: the file is written as UTF-8 instead of losing it.
  s.recentFiles[0] = "/home/me/😀.qfd";
  ASSERT_TRUE(SaveSettings(ini, s).ok());
  EXPECT_EQ(ReadBytes(ini).rfind("\xEF\xBB\xBF[Setting]", 0), 0u);
  AppState back;
  LoadSettings(ini, back);
  EXPECT_EQ(back.recentFiles[0], "/home/me/😀.qfd");
}

// Each blank the reader trims, around section names, keys and values and before and after a
// line's CR; what only looks blank stays.
TEST(IniFile, EachBlankAroundNamesKeysAndValues) {
  for (const std::string b : {" ", "\t", " \t"}) {
    const IniFile ini =
        IniFile::Parse(b + "[" + b + "Setting" + b + "]" + b + "\r\n" + b + "Key" + b + "=" + b +
                       "a b" + b + "\r" + b + "\n" + b + ";Key=no\n" + "Last=1");
    EXPECT_EQ(ini.value("setting", "KEY", "?"), "a b") << int(b[0]);
    EXPECT_EQ(ini.value("SETTING", "last", "?"), "1") << int(b[0]);
  }
  const IniFile kept = IniFile::Parse("\xEF\xBB\xBF[S]\nK=\u3000v\v\f\n");
  EXPECT_EQ(kept.value("S", "K", ""), "\u3000v\v\f");
}

TEST_F(SettingsTest, ReadsAFileInCodePage932) {
  AppState s;
  LoadSettings(fs::path(QF_TEST_DATA) / "settings.ini", s);
  EXPECT_FALSE(s.firstStart);
  EXPECT_TRUE(s.autoRedraw);
  EXPECT_FALSE(s.subMake);
  EXPECT_EQ(s.windows[kWinMain], (WindowRect{2160, 1215, 24480, 13770}));
  EXPECT_EQ(s.windows[kWinCode], (WindowRect{0, 8325, 1000, 1000}));  // sizes not given: 1000
  EXPECT_EQ(s.recentFiles[0], "/home/me/請求書.qfd");
  EXPECT_EQ(s.recentFiles[1], "/home/me/ﾃｽﾄ.qfd");
  EXPECT_EQ(s.recentFiles[2], "");
}

TEST_F(SettingsTest, RepeatedNamesMergeAndAHugeFileReadsInLinearTime) {
  const fs::path ini = dir_ / "QF2.INI";
  {
    // A later key or section of the same name (in any case) wins; a file of a few megabytes of
    // distinct keys must not take quadratic time to read (this test would run for minutes).
    std::ofstream out(ini, std::ios::binary);
    out << "[WINDOW]\r\nX2=100\r\n[Setting]\r\nAutoRedraw=0\r\n[window]\r\nx2=300\r\n";
    for (int i = 0; i < 300000; ++i) out << "k" << i << "=" << i << "\r\n";
    out << "[FILES]\r\n0=/a.qfd\r\n";
  }
  AppState s;
  LoadSettings(ini, s);
  EXPECT_EQ(s.windows[kWinCode].left, 300);
  EXPECT_EQ(s.recentFiles[0], "/a.qfd");
  const IniFile read = IniFile::Read(ini);
  EXPECT_EQ(read.value("window", "K299999", ""), "299999");
  EXPECT_EQ(read.value("Window", "k300000", "none"), "none");
}

TEST_F(SettingsTest, SettingsGoToTheConfigFolderWhenTheProgramFolderIsNotWritable) {
  EXPECT_EQ(SettingsPath(dir_), dir_ / "QF2.INI");
  const char* old = std::getenv("XDG_CONFIG_HOME");
  const std::string saved = old ? old : "";
  ::setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
  EXPECT_EQ(SettingsPath(dir_ / "no" / "such" / "folder"),
            dir_ / "config" / "quillform" / "QF2.INI");
  // An installed program (bin/ beside share/quillform/help) keeps its settings there too, even
  // where it could write its own folder; its help and icon are found under share/quillform.
  fs::create_directories(dir_ / "usr" / "bin");
  fs::create_directories(dir_ / "usr" / "share" / "quillform" / "help");
  std::ofstream(dir_ / "usr" / "share" / "quillform" / "help" / "qfhelp.htm") << "guide";
  EXPECT_EQ(SettingsPath(dir_ / "usr" / "bin"), dir_ / "config" / "quillform" / "QF2.INI");
  EXPECT_EQ(ProgramDataFile(dir_ / "usr" / "bin", "help/qfhelp.htm"),
            dir_ / "usr" / "share" / "quillform" / "help" / "qfhelp.htm");
  EXPECT_EQ(ProgramDataFile(dir_ / "usr" / "bin", "qfd.ico"), dir_ / "usr" / "bin" / "qfd.ico");
  // Its package's MIME type associates design files; without it the menu's association is needed.
  EXPECT_FALSE(PackageAssociatesFiles(dir_ / "usr" / "bin"));
  fs::create_directories(dir_ / "usr" / "share" / "mime" / "packages");
  std::ofstream(dir_ / "usr" / "share" / "mime" / "packages" / "quillform.xml") << "<mime-info/>";
  EXPECT_TRUE(PackageAssociatesFiles(dir_ / "usr" / "bin"));
  // A build folder has its help beside the program: that one counts, and the settings stay.
  fs::create_directories(dir_ / "usr" / "bin" / "help");
  std::ofstream(dir_ / "usr" / "bin" / "help" / "qfhelp.htm") << "built";
  EXPECT_EQ(ProgramDataFile(dir_ / "usr" / "bin", "help/qfhelp.htm"),
            dir_ / "usr" / "bin" / "help" / "qfhelp.htm");
  EXPECT_EQ(SettingsPath(dir_ / "usr" / "bin"), dir_ / "usr" / "bin" / "QF2.INI");
  EXPECT_FALSE(PackageAssociatesFiles(dir_ / "usr" / "bin"));  // a build's own association
  if (old) {
    ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
  } else {
    ::unsetenv("XDG_CONFIG_HOME");
  }
  // Saving there makes the folder.
  AppState s;
  ASSERT_TRUE(SaveSettings(dir_ / "config" / "quillform" / "QF2.INI", s).ok());
  EXPECT_TRUE(fs::exists(dir_ / "config" / "quillform" / "QF2.INI"));
}

}  // namespace
}  // namespace qf
