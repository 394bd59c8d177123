#pragma once

#include <functional>
#include <string>

#include "basic/canvas.h"

namespace qf::basic {

// Where a run's messages go (MsgBox, Debug.Print): the trial print shows them under the page,
// the command line writes them to standard error.
using Say = std::function<void(const std::string&)>;

// Debug: Print writes a line to the run's messages; nothing is drawn.
class DebugObject final : public Canvas {
 public:
  explicit DebugObject(Say say) : say_(std::move(say)) {}
  std::string_view typeName() const override { return "Debug"; }
  Value call(std::string_view member, const std::vector<Value>& args,
             const std::vector<bool>& missing) override;

  void printText(std::string_view text) override;
  void nextZone() override;
  void newLine() override;
  void tabTo(long column) override;
  void spaces(long count) override;
  void drawLine(std::optional<double>, std::optional<double>, double, double,
                std::optional<int32_t>, bool, bool) override;
  void drawCircle(double, double, double, std::optional<int32_t>, std::optional<double>,
                  std::optional<double>, std::optional<double>) override;
  void setPixel(double, double, std::optional<int32_t>) override;

 private:
  Say say_;
  std::string line_;
};

// Screen and App as a run without a screen has them: the mouse pointer taken and forgotten,
// the screen's size, the program's names.
class ScreenObject final : public Object {
 public:
  std::string_view typeName() const override { return "Screen"; }
  Value get(std::string_view member) override;
  void set(std::string_view member, const Value& value) override;

 private:
  int mousePointer_ = 0;
};

class AppObject final : public Object {
 public:
  std::string_view typeName() const override { return "App"; }
  Value get(std::string_view member) override;
};

// MsgBox: the button a user would get by pressing Enter (the default button of the set the
// buttons argument names); its text goes to the messages.
Value MessageBox(const std::vector<Value>& args, const Say& say);

}  // namespace qf::basic
