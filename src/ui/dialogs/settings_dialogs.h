#pragma once

#include <QDialog>
#include <array>

#include "document/design.h"
#include "shell/app_state.h"
#include "ui/placed_dialog.h"

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace qf {

class Prompter;

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
