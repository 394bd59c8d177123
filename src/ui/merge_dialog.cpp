#include "merge_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "basic/field_values.h"
#include "merge/merge.h"
#include "ui/merge_choice_source.h"
#include "ui/merge_database_pane.h"
#include "ui/prompter.h"

#include "ui/named.h"

namespace qf {

namespace {

constexpr int kRecordsShown = 20;
constexpr char kDelimiters[] = {0, ',', '\t', ';'};

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

}  // namespace

MergeDialog::MergeDialog(const Design& design, Prompter& prompter, const MergeChoice& current,
                         const QString& folder, QWidget* parent)
    : QDialog(parent),
      design_(design),
      prompter_(prompter),
      choice_(current),
      folder_(folder),
      tabs_(Named(new QTabWidget, "tabSource", QStringLiteral("データの種類"))),
      data_(Named(new QLineEdit, "txtData", QStringLiteral("データファイル"))),
      database_(
          Named(new DatabasePane(prompter, folder), "pnlDatabase", QStringLiteral("データベース"))),
      delimiter_(Named(new QComboBox, "cmbDelimiter", QStringLiteral("区切り文字"))),
      group_(Named(new QComboBox, "cmbGroup", QStringLiteral("改ページの列"))),
      records_(Named(new QTableWidget, "tblRecords", QStringLiteral("レコード"))),
      fields_(Named(new QListWidget, "lstFields", QStringLiteral("ﾌｨｰﾙﾄﾞ名"))),
      summary_(Named(new QLabel, "lblSummary", QStringLiteral("結果"))) {
  setObjectName(QStringLiteral("frmMerge"));
  setWindowTitle(QStringLiteral("差し込みデータ"));
  setAccessibleName(windowTitle());
  data_->setText(Q(choice_.data));
  data_->setPlaceholderText(QStringLiteral("CSV ファイルのパスを入力するか、参照で選びます"));
  auto* browse =
      Named(new QPushButton(QStringLiteral("参照...")), "cmdBrowse", QStringLiteral("参照..."));
  delimiter_->addItems({QStringLiteral("自動"), QStringLiteral("カンマ (,)"),
                        QStringLiteral("タブ"), QStringLiteral("セミコロン (;)")});
  for (int i = 0; i < 4; ++i) {
    if (kDelimiters[i] == choice_.delimiter) delimiter_->setCurrentIndex(i);
  }
  records_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  records_->verticalHeader()->setVisible(false);
  summary_->setWordWrap(true);
  summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto* file = new QHBoxLayout;
  file->addWidget(data_, 1);
  file->addWidget(browse);
  auto* csv = new QWidget;
  auto* csvForm = new QFormLayout(csv);
  csvForm->addRow(QStringLiteral("データファイル"), file);
  csvForm->addRow(QStringLiteral("区切り文字"), delimiter_);
  tabs_->addTab(csv, QStringLiteral("CSV ファイル"));
  tabs_->addTab(database_, QStringLiteral("データベース"));
  if (database_->setChoice(choice_)) {
    tabs_->setCurrentIndex(1);
    data_->clear();
  }
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("改ページの列"), group_);
  auto* buttons = new QDialogButtonBox;
  ok_ = Named(buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole), "cmdOK",
              QStringLiteral("OK"));
  auto* clear = Named(buttons->addButton(QStringLiteral("解除"), QDialogButtonBox::ResetRole),
                      "cmdClear", QStringLiteral("解除"));
  auto* cancel = Named(buttons->addButton(QStringLiteral("ｷｬﾝｾﾙ"), QDialogButtonBox::RejectRole),
                       "cmdCancel", QStringLiteral("ｷｬﾝｾﾙ"));
  tabs_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addLayout(form);
  layout->addWidget(new QLabel(QStringLiteral("先頭のレコード")));
  layout->addWidget(records_, 2);
  layout->addWidget(new QLabel(QStringLiteral("ﾌｨｰﾙﾄﾞ名と列")));
  layout->addWidget(fields_, 1);
  layout->addWidget(summary_);
  layout->addWidget(buttons);
  resize(720, 680);

  connect(browse, &QPushButton::clicked, this, &MergeDialog::browse);
  connect(data_, &QLineEdit::editingFinished, this, &MergeDialog::typed);
  data_->installEventFilter(this);
  connect(delimiter_, &QComboBox::currentIndexChanged, this, [this](int i) {
    choice_.delimiter = kDelimiters[std::clamp(i, 0, 3)];
    reload();
  });
  connect(group_, &QComboBox::currentIndexChanged, this, [this](int i) {
    choice_.group = i > 0 ? group_->itemText(i).toStdString() : std::string();
    reload();
  });
  connect(database_, &DatabasePane::testRequested, this, &MergeDialog::testDatabase);
  connect(tabs_, &QTabWidget::currentChanged, this, &MergeDialog::tabChosen);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(clear, &QPushButton::clicked, this, [this] {
    choice_.data.clear();
    choice_.group.clear();
    choice_.query.clear();
    choice_.table.clear();
    accept();
  });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  reload();
}

void MergeDialog::browse() {
  const QString from = choice_.data.empty() ? folder_ : Q(choice_.data);
  const auto path =
      prompter_.openFileName(this, from, QStringLiteral("CSV(*.csv;*.txt)|*.csv;*.txt"));
  if (!path) return;
  data_->setText(*path);
  typed();
}

bool MergeDialog::eventFilter(QObject* watched, QEvent* event) {
  // Enter in the file field reads the file typed, so its records show before OK: the dialog's
  // default button would take it unseen.
  if (watched == data_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      typed();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void MergeDialog::typed() {
  const std::string path = data_->text().trimmed().toStdString();
  if (path == choice_.data) return;
  choice_.data = path;
  choice_.query.clear();
  choice_.table.clear();
  choice_.group.clear();  // another file's columns
  reload();
}

void MergeDialog::tabChosen(int tab) {
  if (tab == 0) {
    choice_.data.clear();  // read again from the file field
    typed();
    return;
  }
  // A database is read when asked: reaching a server may take a while.
  showNothing(QStringLiteral("接続先と問い合わせを入れて「接続テスト」を押してください。"));
}

void MergeDialog::showNothing(const QString& why) {
  choice_.data.clear();
  reload();
  summary_->setText(why);
}

void MergeDialog::testDatabase() {
  if (const auto why = database_->listTables()) {
    showNothing(QString::fromStdString(*why));
    return;
  }
  const std::string source = database_->sourceText();
  if (source != choice_.data) choice_.group.clear();  // another database's columns
  choice_.data = source;
  choice_.query = database_->query();
  choice_.table = database_->table();
  if (choice_.query.empty() && choice_.table.empty()) {
    showNothing(QStringLiteral("問い合わせを書くか、テーブルを選んでください。"));
    return;
  }
  reload();
}

void MergeDialog::reload() {
  records_->clear();
  records_->setRowCount(0);
  records_->setColumnCount(0);
  fields_->clear();
  ok_->setEnabled(false);
  if (choice_.data.empty()) {
    summary_->setText(QStringLiteral("データファイルを選んでください。"));
    return;
  }
  MergeSource source = MergeSourceOf(choice_);
  // A database's answer may be long: its first records are shown, not counted through.
  const bool counted = !source.records;
  CsvError error;
  std::optional<OpenedMerge> opened = OpenMerge(design_, source, &error);
  if (!opened && !choice_.group.empty()) {
    // A group column the file lacks is dropped, not an error of the file.
    choice_.group.clear();
    source.group.clear();
    opened = OpenMerge(design_, source, &error);
  }
  if (!opened) {
    summary_->setText(Q(error.message()));
    return;
  }
  RecordReader& reader = *opened->reader;
  QStringList header;
  for (const std::string& h : reader.header()) header << Q(h);
  {
    const QSignalBlocker block(group_);
    group_->clear();
    group_->addItem(QStringLiteral("(なし)"));
    group_->addItems(header);
    group_->setCurrentIndex(opened->groupColumn + 1);
  }
  records_->setColumnCount(static_cast<int>(header.size()));
  records_->setHorizontalHeaderLabels(header);
  for (const std::string& f : opened->match.found) {
    fields_->addItem(QStringLiteral("○ %1 → %2").arg(Q(f), Q(std::string(FieldColumnName(f)))));
  }
  for (const std::string& f : opened->match.missing) {
    fields_->addItem(QStringLiteral("× %1（列がありません）").arg(Q(f)));
  }
  // The whole file is read once here, so its errors show before anything is printed.
  MergePager pager(reader, opened->match, opened->groupColumn);
  MergedPage page;
  long pages = 0;
  long records = 0;
  while (pager.next(page)) {
    if (pages == 0 && !page.records.empty()) {
      // What each expression shows for the first record, or why it cannot.
      for (const std::string& f : opened->match.evaluated) {
        std::string why;
        const auto v = source.expressions->evaluate(f, reader.header(), page.records[0], &why);
        fields_->addItem(v ? QStringLiteral("○ %1 → 「%2」").arg(Q(f), Q(*v))
                           : QStringLiteral("× %1（%2）").arg(Q(f), Q(why)));
      }
    }
    ++pages;
    if (!counted && records >= kRecordsShown) break;
    for (const auto& record : page.records) {
      if (records++ >= kRecordsShown) continue;
      const int row = records_->rowCount();
      records_->insertRow(row);
      for (size_t c = 0; c < record.size(); ++c) {
        records_->setItem(row, static_cast<int>(c), new QTableWidgetItem(Q(record[c])));
      }
    }
  }
  if (reader.error()) {
    summary_->setText(Q(reader.error()->message()));
    return;
  }
  if (!counted) {
    summary_->setText(QStringLiteral("接続できました：%1 列。先頭の %2 件を示しています。")
                          .arg(header.size())
                          .arg(std::min<long>(records, kRecordsShown)));
    ok_->setEnabled(records > 0);
    return;
  }
  summary_->setText(QStringLiteral("%1 件のレコード、%2 ページ（1 ページに %3 件まで）")
                        .arg(records)
                        .arg(pages)
                        .arg(opened->match.recordsPerPage));
  ok_->setEnabled(records > 0);
}

}  // namespace qf
