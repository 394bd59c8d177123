#include <QImage>
#include <filesystem>
#include <iostream>

#include "app/cli_commands.h"
#include "basic/field_values.h"
#include "document/cp932.h"
#include "document/number_text.h"
#include "merge/merge.h"
#include "platform/page_export.h"
#include "platform/picture_store.h"
#include "platform/qt_printer.h"
#include "platform/raster_surface.h"
#include "source/csharp_generator.h"
#include "source/source_generator.h"
#include "view/printing.h"
#include "view/renderer.h"

namespace qf {

int Source(const std::vector<std::string>& args) {
  std::string file;
  Visibility visibility = Visibility::Private;
  bool flat = false;
  bool cp932 = false;
  bool csharp = false;
  std::string className = "QfPrint";
  for (size_t i = 2; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--lang" && i + 1 < args.size()) {
      const std::string& lang = args[++i];
      if (lang == "csharp" || lang == "cs" || lang == "C#") {
        csharp = true;
      } else if (lang == "vb6" || lang == "VB6") {
        csharp = false;
      } else {
        return Usage(lang + " という言語は使えません（vb6 か csharp）");
      }
    } else if (a == "--class" && i + 1 < args.size()) {
      className = args[++i];
      if (className.empty() || CSharpIdentifier(className) != className) {
        return Usage("「" + className + "」は C# のクラス名になりません");
      }
    } else if (a == "--public") {
      visibility = Visibility::Public;
    } else if (a == "--private") {
      visibility = Visibility::Private;
    } else if (a == "--flat") {
      flat = true;
    } else if (a == "--encoding" && i + 1 < args.size()) {
      const std::string& e = args[++i];
      if (e == "cp932" || e == "CP932" || e == "shift-jis") {
        cp932 = true;
      } else if (e == "utf-8" || e == "UTF-8" || e == "utf8") {
        cp932 = false;
      } else {
        return Usage(e + " という文字コードは使えません（utf-8 か cp932）");
      }
    } else if (a.rfind("--", 0) == 0 || !file.empty()) {
      return Usage(
          "--source にはファイル一つと --public、--flat、--encoding、--lang、--class "
          "を指定できます");
    } else {
      file = a;
    }
  }
  if (file.empty()) return Usage("--source にはファイルを一つ指定します");
  Design design;
  const int rc = Load(file, design, CutOffDesign::Show);
  if (rc != kExitOk && rc != kExitCutOff) return rc;
  std::string text = csharp ? P_MakeCSharp(design, className)
                     : flat ? P_MakeSource(design, visibility)
                            : P_MakeSourceSub(design, visibility);
  if (cp932) {
    std::string bytes;
    const CodecResult cp = Utf8ToCp932(text, bytes);
    if (!cp.ok) {
      return Fail("ソースにシフトJIS(コードページ932)で書けない文字「" +
                  std::string(Utf8CharAt(text, cp.badOffset)) + "」があります");
    }
    text = std::move(bytes);
  }
  std::cout.write(text.data(), static_cast<std::streamsize>(text.size()));
  std::cout.flush();
  return std::cout ? rc : kExitFailed;
}

int Render(const std::vector<std::string>& args) {
  std::string file;
  std::string out;
  int zoom = 100;
  bool grid = true;
  for (size_t i = 2; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "-o" && i + 1 < args.size()) {
      out = args[++i];
    } else if (a == "--zoom" && i + 1 < args.size()) {
      const auto z = NumericPrefixIfAny(args[++i]);
      if (!z) return Usage("--zoom には数を指定します");
      zoom = RoundToInt<int>(*z).value_or(100);
    } else if (a == "--no-grid") {
      grid = false;
    } else if (a.rfind("-", 0) == 0 || !file.empty()) {
      return Usage("--render にはファイル一つと -o PAGE.png、--zoom N、--no-grid を指定できます");
    } else {
      file = a;
    }
  }
  if (file.empty() || out.empty()) return Usage("--render にはファイルと -o PAGE.png を指定します");
  Design design;
  if (int rc = Load(file, design)) return rc;
  if (!grid) design.grid.shown = 0;

  // The page as a file printer sees it: the whole paper of the design.
  const auto printer = QtPrinterPort::ForPdf("");
  ViewState view;
  view.zoom = zoom;
  ApplyPrinterSetup(*printer, design.page);
  ReadPrinterPage(*printer, design.page, view);
  ApplyPageLayout(view);

  QImage image = ScreenImage(view.widthPx, view.heightPx);  // as the design window
  if (image.isNull()) return Fail("ページが大きすぎて描けません");
  {
    RasterSurface surface(image, view.page.scaleWidth, view.page.scaleHeight);
    QtPictureStore pictures;
    RenderContext ctx{surface, design, view, pictures};
    FullRedraw(ctx);
  }
  if (!image.save(QString::fromStdString(out), "PNG"))
    return Fail(Quoted(out) + "に書き込めません");
  return 0;
}

namespace {

// Reads --data SOURCE, --query, --table, --group COLUMN and --pages N-M at args[i]; false for
// any other argument.
bool MergeOption(const std::vector<std::string>& args, size_t& i, MergeSource& merge,
                 DataChoice& data) {
  if (DataOption(args, i, data)) {
    merge.data = data.data;
    return true;
  }
  if (i + 1 >= args.size()) return false;
  if (args[i] == "--group") {
    merge.group = args[++i];
    return true;
  }
  if (args[i] == "--pages") {
    // N, N-M or N-; anything else leaves page 0, which the caller refuses.
    const std::string& range = args[++i];
    const size_t dash = range.find('-');
    const auto first = RoundToInt<long>(NumericPrefix(range.substr(0, dash)));
    const auto last = dash == std::string::npos ? first
                      : dash + 1 == range.size()
                          ? std::optional<long>(0)
                          : RoundToInt<long>(NumericPrefix(range.substr(dash + 1)));
    const bool ok = first && last && *first >= 1 && (*last == 0 || *last >= *first);
    merge.firstPage = ok ? *first : 0;
    merge.lastPage = ok ? *last : 0;
    return true;
  }
  return false;
}

// The merge options make sense together: --group and --pages need --data; a database its
// query.
int CheckMerge(MergeSource& merge, const DataChoice& data) {
  if (merge.firstPage < 1) return Usage("--pages には N、N-M または N- を指定します");
  if (merge.data.empty() && (!merge.group.empty() || merge.firstPage != 1 || merge.lastPage != 0)) {
    return Usage("--group と --pages には --data が要ります");
  }
  return ResolveData(data, &merge.records);
}

}  // namespace

int Print(const std::vector<std::string>& args) {
  std::string file;
  std::string out;
  std::string queue;
  MergeSource merge;
  DataChoice data;
  merge.expressions = &basic::FieldExpressions();
  for (size_t i = 2; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "-o" && i + 1 < args.size()) {
      out = args[++i];
    } else if (a == "-P" && i + 1 < args.size()) {
      queue = args[++i];
    } else if (MergeOption(args, i, merge, data)) {
      continue;
    } else if (a.rfind("-", 0) == 0 || !file.empty()) {
      return Usage(
          "--print にはファイル一つと -o OUT.pdf、-P PRINTER、--data SOURCE、--query SQL、"
          "--table NAME、--group COLUMN、--pages N-M を指定できます");
    } else {
      file = a;
    }
  }
  if (file.empty()) return Usage("--print にはファイルを指定します");
  if (!out.empty() && !queue.empty())
    return Usage("--print には -o か -P のどちらか一方を指定します");
  Design design;
  if (int rc = Load(file, design)) return rc;
  std::string error;
  std::unique_ptr<QtPrinterPort> printer =
      out.empty() ? QtPrinterPort::ForQueue(queue, &error) : QtPrinterPort::ForPdf(out);
  if (!printer) return Fail("印刷できません：" + error);
  printer->printer().setDocName(QString::fromStdString(std::filesystem::path(file).filename()));
  QtPictureStore pictures;
  if (int rc = CheckMerge(merge, data)) return rc;
  if (!merge.data.empty()) {
    if (!out.empty()) {
      // As an export: a PDF the merge could not finish is not left half written.
      printer.reset();
      ExportOptions options;
      options.merge = &merge;
      const FileStatus st = ExportDesign(design, pictures, out, ExportFormat::Pdf, options);
      return st.ok() ? kExitOk : Fail(Quoted(out) + "に印刷できません：", st);
    }
    if (!PrintMerged(design, *printer, pictures, merge, {}, &error)) {
      return Fail("印刷できません：" + error);
    }
    return kExitOk;
  }
  if (!PrintDesign(design, *printer, pictures, &error)) return Fail("印刷できません：" + error);
  return kExitOk;
}

int Export(const std::vector<std::string>& args) {
  std::string file;
  std::string out;
  ExportOptions options;
  MergeSource merge;
  DataChoice data;
  merge.expressions = &basic::FieldExpressions();
  for (size_t i = 2; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "-o" && i + 1 < args.size()) {
      out = args[++i];
    } else if (a == "--dpi" && i + 1 < args.size()) {
      if (int rc = DpiOption(args[++i], options.dpi)) return rc;
    } else if (a == "--grid") {
      options.grid = true;
    } else if (MergeOption(args, i, merge, data)) {
      continue;
    } else if (a.rfind("-", 0) == 0 || !file.empty()) {
      return Usage(
          "--export にはファイル一つと -o OUT.pdf|OUT.png|OUT.svg、--dpi N、--grid、--data "
          "SOURCE、--query SQL、--table NAME、--group COLUMN、--pages N-M を指定できます");
    } else {
      file = a;
    }
  }
  if (file.empty() || out.empty()) return Usage("--export にはファイルと -o OUT を指定します");
  const std::optional<ExportFormat> format = ExportFormatOf(out);
  if (!format) return Usage("--export で書けるのは .pdf、.png、.svg です");
  Design design;
  if (int rc = Load(file, design)) return rc;
  QtPictureStore pictures;
  if (int rc = CheckMerge(merge, data)) return rc;
  if (!merge.data.empty()) options.merge = &merge;
  const FileStatus st = ExportDesign(design, pictures, out, *format, options);
  if (!st.ok()) return Fail(Quoted(out) + "に出力できません：", st);
  return kExitOk;
}

}  // namespace qf
