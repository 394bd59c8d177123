#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <optional>

class QWidget;
class QPrinter;

namespace qf {

// Kinds of ShowMessage: buttons and icon.
enum class MessageKind : int {
  Warning = 0,                // OK
  Question = 1,               // OK, Cancel
  Information = 2,            // OK
  QuestionCancelDefault = 3,  // OK, Cancel; Cancel is the default
  Error = 4,                  // OK
  AbortRetryIgnore = 5,
};

// Buttons ShowMessage answers with.
enum MessageResult : int {
  kMsgOk = 1,
  kMsgCancel = 2,
  kMsgAbort = 3,
  kMsgRetry = 4,
  kMsgIgnore = 5
};

// Everything that asks the user in a window of its own: message boxes and the common dialogs.
// The editor's commands ask through this, so tests can answer for the user.
class Prompter {
 public:
  virtual ~Prompter() = default;
  // Titled with the application title; returns the button pressed.
  virtual int showMessage(QWidget* parent, const QString& prompt, MessageKind kind) = 0;
  // The open dialog, started at `from`: a folder, or a file to start from.
  virtual std::optional<QString> openFileName(QWidget* parent, const QString& from,
                                              const QString& filter) = 0;
  virtual std::optional<QString> saveFileName(QWidget* parent, const QString& suggested,
                                              const QString& filter) = 0;
  // The printer dialog; false when cancelled.
  virtual bool choosePrinter(QWidget* parent, QPrinter& printer) = 0;
  virtual std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial,
                                            const QString& title) = 0;
  // The font dialog, preset from `initial`.
  virtual std::optional<QFont> chooseFont(QWidget* parent, const QFont& initial) = 0;
  // Opens a document with the desktop's viewer.
  virtual void openDocument(const QString& path) = 0;
  // One of `items` chosen in a list titled `label`; none when cancelled.
  virtual std::optional<int> chooseItem(QWidget* parent, const QString& label,
                                        const QStringList& items, int current) = 0;
};

// The Qt dialogs.
class QtPrompter final : public Prompter {
 public:
  int showMessage(QWidget* parent, const QString& prompt, MessageKind kind) override;
  std::optional<QString> openFileName(QWidget* parent, const QString& from,
                                      const QString& filter) override;
  std::optional<QString> saveFileName(QWidget* parent, const QString& suggested,
                                      const QString& filter) override;
  bool choosePrinter(QWidget* parent, QPrinter& printer) override;
  std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial,
                                    const QString& title) override;
  std::optional<QFont> chooseFont(QWidget* parent, const QFont& initial) override;
  void openDocument(const QString& path) override;
  std::optional<int> chooseItem(QWidget* parent, const QString& label, const QStringList& items,
                                int current) override;
};

// A filter in the "description|patterns|…" form of the original dialogs, as Qt writes it.
QString QtFileFilter(const QString& filter);

}  // namespace qf
