#include "page_barcodes.h"

#include <system_error>
#include <utility>

#include "document/typed_object.h"
#include "object_walk.h"

namespace qf {

std::vector<PageBarcode> CollectPageBarcodes(const Design& design) {
  std::vector<PageBarcode> barcodes;
  WalkObjects(
      design, 1, design.objects.itemCount(),
      [&](const WorkingRect& place, const ObjectRecord& o, const WalkPosition& at) {
        if (o.Kind != ObjectKind::Barcode) return;
        ObjectBody body = BodyOf(o);
        barcodes.push_back({std::get<BarcodeObject>(std::move(body)), place, at.row, at.pass});
      });
  return barcodes;
}

std::vector<PageBarcode> WithPageValues(const std::vector<PageBarcode>& designed,
                                        const PageValues* values) {
  std::vector<PageBarcode> barcodes = designed;
  if (!values) return barcodes;
  for (PageBarcode& b : barcodes) {
    if (const auto value = values->value(b.row, b.pass)) {
      b.barcode.value = *value;
      b.fromValue = true;
    }
  }
  return barcodes;
}

PlacedPageBarcodes PlacePageBarcodes(const std::vector<PageBarcode>& barcodes, int16_t scaleMode,
                                     BarcodeUse use) {
  PlacedPageBarcodes placed;
  placed.drawings.reserve(barcodes.size());
  for (const PageBarcode& b : barcodes) {
    placed.drawings.push_back(PlaceBarcodeObject(b.barcode, b.place, scaleMode, use));
    if (const auto* error = std::get_if<BarcodeError>(&placed.drawings.back())) {
      placed.refused =
          BarcodeRefusal{b.row, b.pass, b.fromValue ? b.barcode.field : "", error->reason};
      break;
    }
  }
  return placed;
}

BarcodesAhead::BarcodesAhead(int16_t scaleMode, BarcodeUse use) : scaleMode_(scaleMode), use_(use) {
  try {
    thread_ = std::jthread([this](const std::stop_token& stop) { run(stop); });
  } catch (const std::system_error&) {
    // No second thread: start() encodes at once.
  }
}

void BarcodesAhead::start(std::vector<PageBarcode> barcodes) {
  started_ = true;
  if (!thread_.joinable()) {
    done_ = PlacePageBarcodes(barcodes, scaleMode_, use_);
    return;
  }
  {
    const std::lock_guard lock(mutex_);
    waiting_ = std::move(barcodes);
  }
  changed_.notify_all();
}

PlacedPageBarcodes BarcodesAhead::take() {
  if (!std::exchange(started_, false)) return {};
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return done_.has_value(); });
  PlacedPageBarcodes placed = std::move(*done_);
  done_.reset();
  return placed;
}

void BarcodesAhead::run(const std::stop_token& stop) {
  std::unique_lock lock(mutex_);
  while (changed_.wait(lock, stop, [this] { return waiting_.has_value(); })) {
    const std::vector<PageBarcode> barcodes = std::move(*waiting_);
    waiting_.reset();
    lock.unlock();
    PlacedPageBarcodes placed = PlacePageBarcodes(barcodes, scaleMode_, use_);
    lock.lock();
    done_ = std::move(placed);
    changed_.notify_all();
  }
}

}  // namespace qf
