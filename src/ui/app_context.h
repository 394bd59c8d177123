#pragma once

#include <filesystem>
#include <memory>
#include <optional>

#include "document/design.h"
#include "edit/editor.h"
#include "platform/picture_store.h"
#include "platform/qt_measure.h"
#include "platform/qt_printer.h"
#include "shell/app_state.h"
#include "ui/window_places.h"
#include "view/page_view.h"

namespace qf {

// Everything one editor window works on: the design, the editing state, the view, the
// application state and what the platform lends them. Passed by reference; nothing global.
struct AppContext {
  enum class Printer {
    Default,  // the default queue, else a PDF page
    Later,    // none yet: the startup page brings it (see StartupLoader)
  };
  explicit AppContext(std::filesystem::path settings, Printer printer = Printer::Default);

  Measurers measurers() const { return {textMeasurer, pictureSizer}; }
  // The page set-up sequence's first half: the design's paper to the printer and back.
  void applyAndReadPrinter();

  Design design;
  ViewState view;
  AppState state;
  // The records the open design is tried with: read from the settings' [MERGE] when a file is
  // opened, written there under the file's name when it is saved.
  std::optional<MergeChoice> merge;
  // What dialogs and child windows may use of `state`: reading it, keeping their places.
  WindowPlaces places{state};
  // The printer the page geometry comes from: the default queue, or a PDF file's page when
  // there is no printer. Null only until the startup page is taken.
  std::unique_ptr<QtPrinterPort> printer;
  QtPictureStore pictures;
  QtTextMeasurer textMeasurer;
  QtPictureSizer pictureSizer;
  std::filesystem::path settingsPath;
  // Every change of the design goes through it.
  Editor editor{design, state, view, pictures, Measurers{textMeasurer, pictureSizer}};
};

}  // namespace qf
