#pragma once

#include <QDialog>
#include <array>

#include "document/design.h"
#include "shell/app_state.h"
#include "ui/window_places.h"

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace qf {

class Prompter;

// A dialog that comes back where it was left: it takes its place from the window table when
// shown and records it when it closes or is resized.
class PlacedDialog : public QDialog {
  Q_OBJECT

 public:
  PlacedDialog(WindowPlaces& places, int index, QWidget* parent);
  int exec() override;

 protected:
  void done(int result) override;
  void resizeEvent(QResizeEvent* event) override;
  // Sizes a dialog opened for the first time (its place never recorded) for the room the
  // screen gives; by default the size its layout asks for.
  virtual void sizeForFirstOpening(const QRect& /*room*/) { adjustSize(); }

 private:
  WindowPlaces& places_;
  int index_;
  bool recordOnResize_;
};

// frmPSet: paper, orientation, margins and scale of a design.
class PageSetupDialog final : public PlacedDialog {
  Q_OBJECT

 public:
  PageSetupDialog(PageSettings& page, WindowPlaces& places, QWidget* parent = nullptr);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void accept() override;
  void showOrientation(bool portrait);
  void showUnits(int scaleMode);

  PageSettings& page_;
  QComboBox* paper_;
  QRadioButton* portrait_;
  QRadioButton* landscape_;
  QFrame* sketch_;
  std::array<QLineEdit*, 4> margins_{};
  std::array<QLabel*, 4> units_{};
  std::array<QFrame*, 4> markers_{};
  QComboBox* scale_;
};

// frmGrid: the grid pitch across and down.
class GridDialog final : public PlacedDialog {
  Q_OBJECT

 public:
  GridDialog(GridSettings& grid, WindowPlaces& places, QWidget* parent = nullptr);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void accept() override;

  GridSettings& grid_;
  QLineEdit* width_;
  QLineEdit* height_;
};

// frmAmi: the five hatching colours; the palette changes only on accept.
class PaletteDialog final : public PlacedDialog {
  Q_OBJECT

 public:
  PaletteDialog(Palette& palette, WindowPlaces& places, Prompter& prompter,
                QWidget* parent = nullptr);

 private:
  void accept() override;
  void pick(int row);
  void showSwatch(int row);

  Palette& palette_;
  Prompter& prompter_;
  std::array<int32_t, 5> working_{};
  std::array<QLabel*, 5> swatches_{};
};

// frmAbout: the product name and version.
class AboutDialog final : public QDialog {
  Q_OBJECT

 public:
  explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace qf
