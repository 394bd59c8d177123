#pragma once

#include <QStringList>
#include <deque>

#include "ui/prompter.h"

namespace qf::test {

// Answers for the user: each question takes the next queued answer (OK when none is queued),
// and every prompt is recorded.
class ScriptedPrompter final : public Prompter {
 public:
  int showMessage(QWidget*, const QString& prompt, MessageKind kind) override {
    messages << prompt;
    kinds << kind;
    if (answers.empty()) return kMsgOk;
    const int a = answers.front();
    answers.pop_front();
    return a;
  }
  std::optional<QString> openFileName(QWidget*, const QString& from,
                                      const QString& filter) override {
    ++openDialogs;
    filters << filter;
    initialNames << from;
    return take(openPaths);
  }
  std::optional<QString> saveFileName(QWidget*, const QString& suggested, const QString&) override {
    suggestedNames << suggested;
    return take(savePaths);
  }
  bool choosePrinter(QWidget*, QPrinter&) override {
    ++printerDialogs;
    return false;
  }
  std::optional<QColor> chooseColor(QWidget*, const QColor&, const QString& title) override {
    colorTitles << title;
    if (colors.empty()) return std::nullopt;
    const QColor c = colors.front();
    colors.pop_front();
    return c;
  }
  std::optional<QFont> chooseFont(QWidget*, const QFont& initial) override {
    fontsOffered << initial;
    if (fonts.empty()) return std::nullopt;
    const QFont f = fonts.front();
    fonts.pop_front();
    return f;
  }
  void openDocument(const QString& path) override { documents << path; }
  std::optional<int> chooseItem(QWidget*, const QString& label, const QStringList& items,
                                int current) override {
    itemLists << items;
    itemLabels << label;
    if (items_.empty()) return current;
    const int i = items_.front();
    items_.pop_front();
    if (i < 0) return std::nullopt;
    return i;
  }
  // Items to choose, in turn (-1: cancel); none left chooses the one offered.
  std::deque<int> items_;
  QList<QStringList> itemLists;
  QStringList itemLabels;

  std::deque<int> answers;
  std::deque<QString> openPaths;
  std::deque<QString> savePaths;
  std::deque<QColor> colors;
  std::deque<QFont> fonts;
  QList<QFont> fontsOffered;
  QStringList filters;
  QStringList initialNames;  // where each open dialog started
  QStringList messages;
  QList<MessageKind> kinds;  // of each message, in turn
  QStringList suggestedNames;
  QStringList colorTitles;
  QStringList documents;
  int openDialogs = 0;
  int printerDialogs = 0;

 private:
  static std::optional<QString> take(std::deque<QString>& q) {
    if (q.empty()) return std::nullopt;
    QString s = q.front();
    q.pop_front();
    return s;
  }
};

}  // namespace qf::test
