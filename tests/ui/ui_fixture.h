#pragma once

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <filesystem>
#include <functional>
#include <memory>

#include "document/design_file.h"
#include "document/object_rows.h"
#include "platform/qt_fonts.h"
#include "platform/raster_surface.h"
#include "scripted_prompter.h"
#include "shell/settings_file.h"
#include "ui/cell_grid.h"
#include "ui/design_window.h"
#include "ui/main_window.h"
#include "view/renderer.h"

namespace qf::test {

inline QString Data(const char* name) {
  return QStringLiteral(QF_TEST_DATA "/") + QLatin1String(name);
}

// Runs `act` on the modal dialog that the next command opens, once it is up (a pop-up menu
// may come first: then it waits for the dialog a little longer).
inline void OnModal(std::function<void(QWidget*)> act, int tries = 100) {
  QTimer::singleShot(0, [act, tries] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal && tries > 0) {
      QTimer::singleShot(10, [act, tries] { OnModal(act, tries - 1); });
      return;
    }
    QVERIFY(modal);
    QVERIFY(QTest::qWaitForWindowExposed(modal));
    act(modal);
    // A check that failed inside act() must not leave the dialog waiting for ever.
    if (modal->isVisible()) QMetaObject::invokeMethod(modal, "reject");
  });
}

inline void Click(QWidget* parent, const char* name) {
  auto* b = parent->findChild<QPushButton*>(QString::fromLatin1(name));
  QVERIFY2(b, name);
  QTest::mouseClick(b, Qt::LeftButton);
}

inline void Type(QWidget* parent, const char* name, const QString& text) {
  auto* box = parent->findChild<QLineEdit*>(QString::fromLatin1(name));
  QVERIFY2(box, name);
  box->setFocus();
  box->selectAll();
  QTest::keyClicks(box, text);
}

// One editor with its own settings file, answering through a scripted prompter.
struct App {
  explicit App(const QString& settingsDir)
      : ctx(std::filesystem::path(settingsDir.toStdString()) / "QF2.INI") {
    ctx.state.appFolder = settingsDir.toStdString();
    LoadSettings(ctx.settingsPath, ctx.state);
    window = std::make_unique<MainWindow>(ctx, prompter);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QCoreApplication::processEvents();
  }
  QAction* act(const char* name) {
    auto* a = window->findChild<QAction*>(QString::fromLatin1(name));
    if (!a) qFatal("no action %s", name);
    return a;
  }
  // A line object added as the design window would add it.
  void addLine() {
    ObjectRecord line;
    line.Kind = ObjectKind::Line;
    line.Style = "0";
    line.Size = 1;
    ctx.editor.addObject(line, {20, 20, 80, 60});
  }

  ScriptedPrompter prompter;
  AppContext ctx;
  std::unique_ptr<MainWindow> window;
};

inline QString Cell(const TextTable& t, int row, int col) {
  return QString::fromStdString(t.cell(row, col));
}

// A grid's cell, as a person clicks it: the table's row and column.
inline QPoint CellCentre(CellGrid& g, int row, int col) {
  return g.visualRect(g.model()->index(row - 1, col - 1)).center();
}

inline void ClickCell(CellGrid& g, int row, int col) {
  g.scrollTo(g.model()->index(row - 1, col - 1));
  QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, CellCentre(g, row, col));
}

// As the window system sends it: a click, then a second press that comes as a double-click.
inline void DoubleClickCell(CellGrid& g, int row, int col) {
  g.scrollTo(g.model()->index(row - 1, col - 1));
  const QPoint at = CellCentre(g, row, col);
  QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(g.viewport(), Qt::LeftButton, {}, at);
}

// Presses, moves and releases on the page, in page units.
struct Mouse {
  explicit Mouse(App& app) : e(app), canvas(app.window->designWindow().canvas()) {}
  QPoint at(double x, double y) const {
    const double px = canvas.width() / e.ctx.view.page.scaleWidth;
    return {int(x * px + 0.5), int(y * px + 0.5)};
  }
  void drag(double x1, double y1, double x2, double y2) {
    QTest::mousePress(&canvas, Qt::LeftButton, {}, at(x1, y1));
    QTest::mouseMove(&canvas, at((x1 + x2) / 2, (y1 + y2) / 2));
    QTest::mouseMove(&canvas, at(x2, y2));
    QTest::mouseRelease(&canvas, Qt::LeftButton, {}, at(x2, y2));
  }
  App& e;
  DesignCanvas& canvas;
};

// The page as a full redraw of the list draws it.
inline QImage FullPage(App& e) {
  QImage image = PageImage(e.ctx.view);
  RasterSurface surface(image, e.ctx.view.page.scaleWidth, e.ctx.view.page.scaleHeight);
  RenderContext rc{surface, e.ctx.design, e.ctx.view, e.ctx.pictures};
  FullRedraw(rc);
  return image;
}

// The page as a full redraw draws it, with the marks of the selected rows where the list puts
// them.
inline QImage PageWithMarks(App& e) {
  QImage image = FullPage(e);
  RasterSurface surface(image, e.ctx.view.page.scaleWidth, e.ctx.view.page.scaleHeight);
  const std::vector<int>& rows = e.ctx.editor.selectedRows();
  for (int row : rows) {  // the first of several hollow
    DrawSelectionMarks(
        surface, e.ctx.view, e.ctx.editor.selectionBox(row),
        rows.size() > 1 && row == rows[0] ? MarkStyle::Reference : MarkStyle::Selected);
  }
  return image;
}

// The status bar's guide text.
inline QString Guide(App& e) {
  return e.window->findChild<QLabel*>(QStringLiteral("stbGuide1"))->text();
}

// Two boxes B1, B2 and a line L on the base layer, saved in `dir` (the page at 100 %, grid 5 mm);
// the file's path.
inline QString SaveTwoBoxesAndALine(const QTemporaryDir& dir) {
  Design d;
  ObjectRecord box;
  box.Kind = ObjectKind::Box;
  box.Label = "B1";
  box.Text = "0";
  box.Style = "0";
  box.Size = 1;
  AddObject(d.objects, box, {20, 40, 45, 55}, {}, 1);
  box.Label = "B2";
  AddObject(d.objects, box, {60, 40, 85, 55}, {}, 1);
  ObjectRecord line;
  line.Kind = ObjectKind::Line;
  line.Label = "L";
  line.Style = "0";
  line.Size = 1;
  AddObject(d.objects, line, {20, 80, 90, 80}, {}, 1);
  RenumberRows(d.objects);
  const QString path = dir.filePath(QStringLiteral("b1b2l.qfd"));
  return SaveDesign(d, path.toStdString()).ok() ? path : QString();
}

}  // namespace qf::test

// main() of a Qt Test program: offscreen, with the design fonts' substitutions and the font the
// program's windows have.
#define QF_UI_TEST_MAIN(TestClass)                           \
  int main(int argc, char** argv) {                          \
    qputenv("QT_QPA_PLATFORM", "offscreen");                 \
    QApplication app(argc, argv);                            \
    qf::InstallFontSubstitutions();                          \
    QApplication::setFont(qf::UiFont(QApplication::font())); \
    TestClass test;                                          \
    return QTest::qExec(&test, argc, argv);                  \
  }
