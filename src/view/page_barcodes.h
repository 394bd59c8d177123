#pragma once

#include <condition_variable>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "barcode/barcode.h"
#include "document/design.h"
#include "page_values.h"

namespace qf {

// A barcode a page cannot print: its row, the pass of its blocks, the field whose value it was
// given ("" for its designed value), and why.
struct BarcodeRefusal {
  int row = 0;
  long pass = 0;
  std::string field;
  std::string reason;
};

// One barcode of a page with the value the page gives it, where it is drawn.
struct PageBarcode {
  BarcodeObject barcode;
  WorkingRect place;
  int row = 0;
  long pass = 0;
  bool fromValue = false;  // the value came from the page's values, not the design
};

// The page's barcodes in drawing order, each placed, or the first that cannot print.
struct PlacedPageBarcodes {
  std::vector<BarcodeDrawing> drawings;
  std::optional<BarcodeRefusal> refused;
};

// The design's barcodes with their designed values, in drawing order: where they stand is the
// same on every page, so a run walks the design for them once.
std::vector<PageBarcode> CollectPageBarcodes(const Design& design);
// Those barcodes with the values a page gives them (where it gives one). Asks `values` on this
// thread: a merge's values may be evaluated by the interpreter.
std::vector<PageBarcode> WithPageValues(const std::vector<PageBarcode>& designed,
                                        const PageValues* values);
// Encodes and places them; the first that cannot print stops it.
PlacedPageBarcodes PlacePageBarcodes(const std::vector<PageBarcode>& barcodes, int16_t scaleMode,
                                     BarcodeUse use);

// Pages' barcodes encoded on a second thread while this one goes on (the printer finishes the
// page before, the next records are read): encoding a QR code takes as long as drawing a page.
// One page at a time: each start is followed by its take.
class BarcodesAhead {
 public:
  BarcodesAhead(int16_t scaleMode, BarcodeUse use);
  BarcodesAhead(const BarcodesAhead&) = delete;
  BarcodesAhead& operator=(const BarcodesAhead&) = delete;

  void start(std::vector<PageBarcode> barcodes);
  // Waits for the page started last; nothing when none was started since the last take.
  PlacedPageBarcodes take();

 private:
  void run(const std::stop_token& stop);

  const int16_t scaleMode_;
  const BarcodeUse use_;
  std::mutex mutex_;
  std::condition_variable_any changed_;
  std::optional<std::vector<PageBarcode>> waiting_;
  std::optional<PlacedPageBarcodes> done_;
  bool started_ = false;  // a page started and not yet taken
  // Last: started once the rest is made, stopped and joined first. None when the system gave no
  // thread: the pages are then encoded as they are started.
  std::jthread thread_;
};

}  // namespace qf
