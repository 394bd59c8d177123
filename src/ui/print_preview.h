#pragma once

#include <QImage>
#include <QTimer>
#include <functional>

#include "document/design.h"
#include "merge/merged_pages.h"
#include "platform/picture_store.h"
#include "platform/program_export.h"
#include "ui/placed_dialog.h"

class QLabel;
class QPlainTextEdit;
class QLineEdit;
class QPushButton;
class QScrollArea;

namespace qf {

// frmPreview: the page as Print puts it on paper — the same printing walk through the same
// printer port, composed at the preview's zoom when it is shown — with zoom, page navigation
// and Print.
class PrintPreviewDialog final : public PlacedDialog {
  Q_OBJECT

 public:
  // `print` prints the design as the File menu's 印刷 does.
  PrintPreviewDialog(const Design& design, PictureStore& pictures, WindowPlaces& places,
                     std::function<void()> print, QWidget* parent = nullptr);

  int zoom() const { return zoom_; }
  // Shows the merged pages instead of the design's one page, the first at once, the count once
  // the pass through the records has ended; the pages outlive the dialog.
  void setMerged(MergedPages* merged);
  // Shows the pages a program prints instead (試し印刷); the run outlives the dialog.
  void setProgram(const ProgramRun* program);
  // Why the program stopped, or empty.
  QString programError() const;
  // The program's line it stopped at on the page shown (0 when it did not stop).
  int stoppedLine() const { return programError().isEmpty() ? 0 : stoppedLine_; }
  // The pages known so far: all of them once countKnown().
  int pageCount() const;
  bool countKnown() const;
  int currentPage() const { return page_; }
  // The page as shown, at the zoom (96 dots an inch at 100 %).
  const QImage& pageImage() const { return image_; }

  void setZoom(int zoom);
  void zoomIn();
  void zoomOut();
  void fitWidth();
  void fitPage();
  void showPage(int page);

 protected:
  void showEvent(QShowEvent* event) override;
  // The page at 100 % with room around it, within most of the screen; a page larger than that
  // is shown whole at the zoom that fits it.
  void sizeForFirstOpening(const QRect& room) override;

 private:
  void render();
  void updateControls();
  // A step of the pass through the records, while the window is open.
  void scanStep();
  // The page's size in inches, as the printer gives it.
  QSizeF pageInches() const;

  const Design& design_;
  PictureStore& pictures_;
  MergedPages* merged_ = nullptr;
  QTimer scanning_;
  const ProgramRun* program_ = nullptr;
  int programPages_ = 1;
  int stoppedLine_ = 0;
  std::function<void()> print_;
  int zoom_ = 100;
  int page_ = 1;
  QImage image_;
  QScrollArea* area_;
  QLabel* view_;
  QLineEdit* number_;
  QLabel* pages_;
  QLabel* records_;
  QLabel* error_;
  QPlainTextEdit* messages_;  // what a program would have shown on a screen
  QPushButton* first_;
  QPushButton* previous_;
  QPushButton* next_;
  QPushButton* last_;
  QPushButton* zoomOut_;
  QPushButton* zoomIn_;
  QPushButton* printButton_;
};

}  // namespace qf
