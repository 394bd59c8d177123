#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <istream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "merge/record_reader.h"

namespace qf {

enum class CsvEncoding { Utf8, Cp932 };

using CsvError = RecordError;

// 0 detects the delimiter from the header line: the most frequent of comma, tab and semicolon
// outside quotes (comma when none is there).
struct CsvOptions {
  char delimiter = 0;
};

// True when the bytes are well-formed UTF-8 (no overlong forms, surrogates or code points past
// U+10FFFF). `carry` lets a long input be checked in pieces: it holds the bytes of a character
// cut at the end of one piece, to be finished by the next; at the end it must be empty.
bool ValidUtf8(std::string_view bytes, std::string* carry = nullptr);

// The delimiter a header line uses (see CsvOptions).
char DetectDelimiter(std::string_view headerLine);

// Reads records of a CSV file one at a time (RFC 4180: quoted fields with doubled quotes and
// line breaks inside quotes; CR LF, LF or CR line ends, mixed), so a file of any length is read
// in constant memory. The text is decoded to UTF-8 before it is split: valid UTF-8 (with or
// without a byte-order mark) is UTF-8, anything else is read as CP932, so a CP932 second byte
// 0x5C is never taken for a backslash. The first record names the columns; later records with
// fewer fields get empty values, one with more is an error. Blank lines are passed over.
class CsvReader final : public RecordReader {
 public:
  ~CsvReader() override;
  CsvReader(const CsvReader&) = delete;
  CsvReader& operator=(const CsvReader&) = delete;

  // nullptr with the error when the file cannot be read or its header is not usable.
  // The encoding, when known (another reader of the file found it), is taken without reading
  // the file through first.
  static std::unique_ptr<CsvReader> Open(const std::filesystem::path& path, CsvOptions options,
                                         CsvError* error,
                                         std::optional<CsvEncoding> encoding = std::nullopt);
  // The same over bytes in memory; `name` stands for the file in errors.
  static std::unique_ptr<CsvReader> FromBytes(std::string bytes, std::string name,
                                              CsvOptions options, CsvError* error);

  char delimiter() const { return delimiter_; }
  CsvEncoding encoding() const { return encoding_; }

  // The next record, as many fields as the header; false at the end or on an error (then
  // error() says what). line() is the line it starts on.
  bool next(std::vector<std::string>& record) override;

  // Reads on from a byte of the input where line `line` starts outside any quotes (a record's
  // first line, as LineStarts finds it), the header and the encoding kept. False when the
  // input cannot be read from there.
  bool seek(uint64_t offset, long line);

  struct Impl;

 private:
  CsvReader();
  bool start(CsvOptions options, CsvError* error);
  bool fill();  // parses more input into the queue; false at the end or on an error
  void fail(long line, std::string reason);

  std::unique_ptr<Impl> impl_;
  char delimiter_ = ',';
  CsvEncoding encoding_ = CsvEncoding::Utf8;
};

// Where the lines of a file start, found by one forward pass over its bytes: CR LF, LF and a
// lone CR each end a line, as the reader counts them (neither byte is ever part of a CP932
// character). Asked for lines in rising order, it reads each byte once.
class LineStarts {
 public:
  // With `checkUtf8` it also tells whether every byte it read is well-formed UTF-8.
  explicit LineStarts(const std::filesystem::path& path, bool checkUtf8 = false);
  // The offset of the first byte of line `line` (from 1); nullopt past the end or when asked
  // for a line before one already passed.
  std::optional<uint64_t> offsetOf(long line);
  // Reads on to the end; then whether the whole file is UTF-8.
  bool wholeFileUtf8();

 private:
  bool more();  // a byte to look at, reading on when needed
  std::ifstream in_;
  std::string buffer_;
  size_t at_ = 0;          // the next byte of buffer_ to look at
  uint64_t consumed_ = 0;  // bytes of the file before buffer_
  long line_ = 1;          // the line the next byte is on
  bool afterCr_ = false;   // the last byte was a CR (an LF now ends no line)
  bool checkUtf8_;
  bool utf8_ = true;
  std::string carry_;  // a UTF-8 character cut at the end of the buffer
};

// Writes records back as CSV: every field quoted, quotes doubled, CR LF after each record.
std::string WriteCsv(const std::vector<std::vector<std::string>>& records, char delimiter);

}  // namespace qf
