#include "edit/barcode_fields.h"

#include "document/number_text.h"
#include "document/typed_object.h"
#include "edit/object_fields.h"

namespace qf {

BarcodeField ValidateBarcodeFields(const BarcodeFields& f) {
  if (!IsPlainNumber(f.digitsSize) || NumericPrefix(f.digitsSize) < 0 ||
      !ToSingle(NumericPrefix(f.digitsSize))) {
    return BarcodeField::DigitsSize;
  }
  return BarcodeField::None;
}

void ApplyBarcodeFields(const BarcodeFields& f, ObjectRecord& o) {
  o.Label = f.label;
  const int code = f.symbology >= 0 && f.symbology < kSymbologyCount ? f.symbology : 0;
  SetBody(o, BarcodeObject{static_cast<Symbology>(code), f.value, f.field,
                           ToSingle(NumericPrefix(f.digitsSize)).value_or(0.0f),
                           ColorFromText(f.color)});
}

BarcodeFields BarcodeFieldsOf(const ObjectRecord& o) {
  const ObjectBody body = BodyOf(o);
  const auto* b = std::get_if<BarcodeObject>(&body);
  BarcodeFields f;
  f.label = o.Label;
  if (!b) return f;
  f.symbology = static_cast<int>(b->symbology);
  f.value = b->value;
  f.field = b->field;
  f.digitsSize = FormatSingle(b->digitsSize);
  f.color = ColorText(b->color);
  return f;
}

}  // namespace qf
