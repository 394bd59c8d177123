#pragma once

#include <string>
#include <string_view>

namespace qf {

// Makes a text safe to write as a design-file field: double quotes become "<%DQ%>", then
// commas become "<%CM%>".
std::string EscapeField(std::string_view text);
// The reverse: "<%DQ%>" becomes a double quote, then "<%CM%>" a comma.
std::string UnescapeField(std::string_view text);

// Reads comma-delimited fields the way the design file is written. A field that begins with a
// double quote runs to the next double quote (line breaks included) and the quotes are not part
// of it; anything after the closing quote up to the next comma or line end is skipped. Any
// other field runs to the next comma or line end, without leading and trailing blanks.
class FieldReader {
 public:
  explicit FieldReader(std::string_view text) : text_(text) {}

  // True when no field is left.
  bool atEnd() const { return pos_ >= text_.size(); }
  // Reads the next field into out; at the end of the text returns false and leaves out as it
  // was.
  bool next(std::string& out);
  // True when the field last read was ended by a comma, so its line holds more fields.
  bool moreOnLine() const { return endedByComma_; }

 private:
  void skipBlanks();
  // Consumes a comma or one line end (CR LF, CR or LF) at the current position.
  void consumeTerminator();

  std::string_view text_;
  size_t pos_ = 0;
  bool endedByComma_ = false;
};

}  // namespace qf
