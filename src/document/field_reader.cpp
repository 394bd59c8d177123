#include "field_reader.h"

namespace qf {

namespace {

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  std::string out;
  out.reserve(text.size());
  size_t pos = 0;
  for (;;) {
    const size_t hit = text.find(from, pos);
    if (hit == std::string_view::npos) break;
    out.append(text, pos, hit - pos);
    out.append(to);
    pos = hit + from.size();
  }
  out.append(text, pos);
  return out;
}

bool IsLineEnd(char c) {
  return c == '\r' || c == '\n';
}

}  // namespace

std::string EscapeField(std::string_view text) {
  bool plain = true;
  for (char c : text) plain = plain && c != '"' && c != ',';
  if (plain) return std::string(text);
  return ReplaceAll(ReplaceAll(text, "\"", "<%DQ%>"), ",", "<%CM%>");
}

std::string UnescapeField(std::string_view text) {
  if (text.find("<%") == std::string_view::npos) return std::string(text);
  return ReplaceAll(ReplaceAll(text, "<%DQ%>", "\""), "<%CM%>", ",");
}

void FieldReader::skipBlanks() {
  while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
}

void FieldReader::consumeTerminator() {
  endedByComma_ = false;
  if (pos_ >= text_.size()) return;
  if (text_[pos_] == ',') {
    endedByComma_ = true;
    ++pos_;
  } else if (text_[pos_] == '\r') {
    ++pos_;
    if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
  } else if (text_[pos_] == '\n') {
    ++pos_;
  }
}

bool FieldReader::next(std::string& out) {
  if (atEnd()) return false;
  skipBlanks();
  if (pos_ < text_.size() && text_[pos_] == '"') {
    const size_t start = pos_ + 1;
    size_t close = text_.find('"', start);
    if (close == std::string_view::npos) close = text_.size();
    out.assign(text_.substr(start, close - start));
    pos_ = close < text_.size() ? close + 1 : close;
    // Skip whatever stands between the closing quote and the field's end.
    while (pos_ < text_.size() && text_[pos_] != ',' && !IsLineEnd(text_[pos_])) ++pos_;
    consumeTerminator();
    return true;
  }
  const size_t start = pos_;
  while (pos_ < text_.size() && text_[pos_] != ',' && !IsLineEnd(text_[pos_])) ++pos_;
  size_t end = pos_;
  while (end > start && (text_[end - 1] == ' ' || text_[end - 1] == '\t')) --end;
  out.assign(text_.substr(start, end - start));
  consumeTerminator();
  return true;
}

}  // namespace qf
