#pragma once

#include <string>

#include "document/object_record.h"

namespace qf {

// frmBarcode, as the user typed it.
struct BarcodeFields {
  std::string label;
  int symbology = 0;  // the code of the symbology list's entry
  std::string value;
  std::string field;
  std::string digitsSize = "9";  // points; 0 for no digits
  std::string color = "&H00000000&";
};
enum class BarcodeField { None, DigitsSize };
// The size of the digits must be a plain number, 0 or more. A value the symbology cannot carry
// is taken (a field may give the printed one); the dialog and the page say why it cannot print.
BarcodeField ValidateBarcodeFields(const BarcodeFields& f);
void ApplyBarcodeFields(const BarcodeFields& f, ObjectRecord& object);
BarcodeFields BarcodeFieldsOf(const ObjectRecord& barcode);

}  // namespace qf
