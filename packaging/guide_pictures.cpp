// Draws the pictures of the user guide with the program itself, on the offscreen platform, so
// they never go stale: the main window with a design and its source, the data merge dialog and
// the print preview of a merged page.
//   guide_pictures DESIGN.qfd RECORDS.csv OUT_FOLDER
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

#include "merge/merged_pages.h"
#include "platform/qt_fonts.h"
#include "shell/settings_file.h"
#include "ui/app_context.h"
#include "ui/main_window.h"
#include "ui/merge_dialog.h"
#include "ui/print_preview.h"
#include "ui/prompter.h"
#include "ui/startup_page.h"
#include "ui/translations.h"

namespace {

// Answers nothing: the pictures are taken without a question.
class SilentPrompter final : public qf::Prompter {
 public:
  int showMessage(QWidget*, const QString&, qf::MessageKind) override { return qf::kMsgOk; }
  std::optional<QString> openFileName(QWidget*, const QString&, const QString&) override {
    return {};
  }
  std::optional<QString> saveFileName(QWidget*, const QString&, const QString&) override {
    return {};
  }
  bool choosePrinter(QWidget*, QPrinter&) override { return false; }
  std::optional<QColor> chooseColor(QWidget*, const QColor&, const QString&) override { return {}; }
  std::optional<QFont> chooseFont(QWidget*, const QFont&) override { return {}; }
  void openDocument(const QString&) override {}
  std::optional<int> chooseItem(QWidget*, const QString&, const QStringList&, int) override {
    return {};
  }
};

void Settle(int ms) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 20);
}

bool Save(QWidget& w, const QString& folder, const char* name) {
  const QString path = folder + QLatin1Char('/') + QLatin1String(name);
  if (w.grab().save(path)) return true;
  std::fprintf(stderr, "guide_pictures: cannot write %s\n", qPrintable(path));
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc != 4) {
    std::fprintf(stderr, "usage: guide_pictures DESIGN.qfd RECORDS.csv OUT_FOLDER\n");
    return 2;
  }
  qf::InstallFontSubstitutions();
  qf::InstallJapaneseTranslations(app);
  const QString design = QString::fromLocal8Bit(argv[1]);
  const std::string records = argv[2];
  const QString out = QString::fromLocal8Bit(argv[3]);
  QDir().mkpath(out);

  QTemporaryDir settings;  // a first start: the windows take their first arrangement
  qf::AppContext ctx(std::filesystem::path(settings.path().toStdString()) / "QF2.INI");
  ctx.state.appFolder = settings.path().toStdString();
  qf::LoadSettings(ctx.settingsPath, ctx.state);
  SilentPrompter prompter;
  qf::MainWindow window(ctx, prompter, std::make_unique<qf::StartupLoader>(design.toStdString()));
  window.resize(1280, 860);
  window.show();
  Settle(800);
  window.findChild<QAction*>(QStringLiteral("tblMenu14"))->trigger();  // ｿｰｽ生成
  Settle(200);
  bool ok = Save(window, out, "main.png");

  const qf::MergeChoice choice{design.toStdString(), records, 0, "請求書番号"};
  qf::MergeDialog merge(ctx.design, prompter, choice, QString(), &window);
  merge.show();
  Settle(200);
  ok = Save(merge, out, "merge.png") && ok;
  merge.close();

  qf::CsvError error;
  const auto doc = qf::MergedPages::Open(
      ctx.design, qf::MergeSource{choice.data, qf::CsvOptions{}, choice.group}, &error);
  qf::PrintPreviewDialog preview(ctx.design, ctx.pictures, ctx.places, {}, &window);
  if (doc) preview.setMerged(doc.get());
  preview.resize(900, 900);
  preview.show();
  Settle(200);
  preview.showPage(2);
  preview.fitPage();
  Settle(200);
  ok = Save(preview, out, "preview.png") && ok;
  return ok ? 0 : 1;
}
