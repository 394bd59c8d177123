#include "picture_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QImageReader>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>

#include "shell/ui_text.h"
#include "ui/prompter.h"
#include "ui/qt_text.h"

namespace qf {

namespace {

constexpr const char* kPictureFilter =
    "ﾋﾞｯﾄﾏｯﾌﾟ(*.BMP)|*.BMP|GIFﾌｧｲﾙ(*.GIF,*.GIFF)|*.GIF;*.GIFF|"
    "JPEGﾌｧｲﾙ(*.JPG,*.JPEG,*.JPE)|*.JPG;*.JPEG;*.JPE|すべてのﾌｧｲﾙ(*.*)|*.*";

}  // namespace

PictureDialog::PictureDialog(WindowPlaces& places, Prompter& prompter, QWidget* parent)
    : ObjectDialog(places, prompter, kWinPicture, "frmPic", "ﾋﾟｸﾁｬｵﾌﾞｼﾞｪｸﾄ", parent),
      transparent_(new QCheckBox(QStringLiteral("透過する"))),
      viewport_(new QScrollArea),
      picture_(new QLabel) {
  label_ = addLineEdit("txtLabel", "ﾗﾍﾞﾙ");
  QPushButton* browse = ArrowButton("cmdPic", "ﾌｧｲﾙを選ぶ");
  path_ = addLineEdit("txtPic", "ﾌｧｲﾙ名", browse);
  transparent_->setObjectName(QStringLiteral("chkToka"));
  addRow("描画方法", transparent_);
  // 3555 x 2235 twips; bars only where the picture does not fit.
  viewport_->setObjectName(QStringLiteral("picPrev0"));
  viewport_->setAccessibleName(QStringLiteral("画像の見本"));
  viewport_->setFixedSize(237 + 2, 149 + 2);
  viewport_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  viewport_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  viewport_->horizontalScrollBar()->setObjectName(QStringLiteral("hscPic"));
  viewport_->verticalScrollBar()->setObjectName(QStringLiteral("vscPic"));
  picture_->setObjectName(QStringLiteral("picPrev1"));
  viewport_->setWidget(picture_);
  viewport_->setWidgetResizable(false);
  picture_->hide();
  form_->addWidget(viewport_, form_->rowCount(), 0, 1, 3);
  finishLayout();
  connect(browse, &QPushButton::clicked, this, &PictureDialog::chooseFile);
  connect(path_, &QLineEdit::editingFinished, this, &PictureDialog::loadPreview);
}

PictureFields PictureDialog::fields() const {
  return {label_->text().toStdString(), path_->text().toStdString(), transparent_->isChecked()};
}

void PictureDialog::setFields(const PictureFields& f) {
  label_->setText(Q(f.label));
  path_->setText(Q(f.path));
  transparent_->setChecked(f.transparent);
  loadPreview();
}

void PictureDialog::loadPreview() {
  QImageReader reader(path_->text());
  const QImage image = path_->text().isEmpty() ? QImage() : reader.read();
  if (image.isNull()) {
    // A file that cannot be read only hides the preview; OK takes the name all the same.
    picture_->hide();
    return;
  }
  picture_->setPixmap(QPixmap::fromImage(image));
  picture_->resize(image.size());
  picture_->move(0, 0);
  picture_->show();
}

void PictureDialog::chooseFile() {
  const auto chosen =
      prompter_.openFileName(this, path_->text(), QString::fromUtf8(kPictureFilter));
  if (!chosen) return;
  path_->setText(*chosen);
  loadPreview();
  // The generated program loads pictures with LoadPicture, which reads BMP, GIF and JPEG only
  // (by what the file holds, whatever its name says). The design still takes the file.
  const QByteArray format = QImageReader(*chosen).format().toLower();
  if (!format.isEmpty() && format != "bmp" && format != "gif" && format != "jpeg" &&
      format != "jpg") {
    prompter_.showMessage(this, Q(kMsgPictureFormat).arg(QString::fromLatin1(format.toUpper())),
                          MessageKind::Warning);
  }
}

}  // namespace qf
