#pragma once

#include <QImage>
#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include "document/design.h"
#include "document/design_file.h"
#include "platform/picture_store.h"
#include "platform/qt_measure.h"
#include "platform/qt_printer.h"
#include "view/page_view.h"

namespace qf {

// What the editor shows first: the printer's page, the design named on the command line and
// the page drawn at the zoom. Making it touches no widget, so it can be made on a worker
// thread while the main window's widgets are built; the result is handed over whole.
struct StartupPage {
  std::string file;                        // as named on the command line, made absolute
  std::unique_ptr<QtPrinterPort> printer;  // the default queue, else a PDF page
  Design design;                           // as loaded, or empty on the printer's page
  LoadDecisions decided;
  ViewState view;
  FileStatus status;  // of loading the named file
  QImage image;       // the page as the design window shows it, but for `owed`
  // Parts of the page left undrawn because the first paint cannot show them (page units).
  std::vector<PageRect> owed;
  QtTextMeasurer textMeasurer;
  QtPictureStore pictures;  // the pictures decoded for the image

  // A file was named and read.
  bool loaded() const { return !file.empty() && status.ok(); }
};

using PrinterMaker = std::function<std::unique_ptr<QtPrinterPort>()>;

// Needs a QGuiApplication. An empty file name gives the empty page with its grid. The printer
// comes from `makePrinter` (called on a thread of its own). Only the page's top left part of
// `shownAtMost` pixels is drawn (all of it when that is empty): the rest is left owed.
std::unique_ptr<StartupPage> MakeStartupPage(const std::string& file, int zoom,
                                             const PrinterMaker& makePrinter,
                                             QSize shownAtMost = {});

// Starts making the page on a thread of its own; take() waits for it.
class StartupLoader {
 public:
  explicit StartupLoader(std::string file, int zoom = ViewState{}.zoom, QSize shownAtMost = {});
  // A page made elsewhere (for tests).
  explicit StartupLoader(std::future<std::unique_ptr<StartupPage>> result)
      : result_(std::move(result)) {}
  // Whether the page is there, after waiting at most `timeout`.
  bool ready(std::chrono::milliseconds timeout) const {
    return result_.wait_for(timeout) == std::future_status::ready;
  }
  std::unique_ptr<StartupPage> take() { return result_.get(); }

 private:
  std::future<std::unique_ptr<StartupPage>> result_;
};

}  // namespace qf
