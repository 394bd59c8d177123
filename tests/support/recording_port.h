#pragma once

#include <deque>
#include <string>

#include "support/recording_surface.h"
#include "view/page_view.h"

namespace qf::test {

// The printer every test prints on. It notes the settings it is given in `log` and takes them
// (the printable area is the A4 page, measured in the unit set) unless it `keepsItsPage`; each
// page is recorded on a surface of its own in `pages`, or drawn on the one surface the test gives.
// Told why it `refuses` ("silently": with no reason), it starts no page and ends no document.
class RecordingPort final : public PrinterPort {
 public:
  RecordingPort() = default;
  explicit RecordingPort(Surface& page) : given_(&page) {}

  void setPaperSize(int16_t code) override {
    log += "paper " + std::to_string(code) + ";";
    if (!keepsItsPage) answer.paperSize = code;
  }
  void setOrientation(int16_t orientation) override {
    log += "orient " + std::to_string(orientation) + ";";
    if (!keepsItsPage) answer.orientation = orientation;
  }
  void setScaleMode(int16_t mode) override {
    log += "scale " + std::to_string(mode) + ";";
    if (keepsItsPage) return;
    answer.scaleMode = mode;
    answer.scaleWidth = answer.widthTwips / 1440 * UnitsPerInch(mode, false);
    answer.scaleHeight = answer.heightTwips / 1440 * UnitsPerInch(mode, true);
  }
  PrinterPage page() const override { return answer; }
  Surface* beginPage() override {
    if (!refuses.empty()) return nullptr;
    return given_ ? given_ : &pages.emplace_back();
  }
  bool endDoc(std::string* error) override {
    ++ended;
    if (error && refuses != "silently") *error = refuses;
    return refuses.empty();
  }

  PrinterPage answer;  // what page() says
  bool keepsItsPage = false;
  std::string refuses;
  std::string log;
  std::deque<RecordingSurface> pages;
  int ended = 0;

 private:
  Surface* given_ = nullptr;
};

}  // namespace qf::test
