#include "csv_reader.h"

#include <csv.h>

#include <algorithm>
#include <array>
#include <deque>
#include <fstream>
#include <sstream>

#include "document/cp932.h"

namespace qf {

namespace {

constexpr size_t kChunk = 64 * 1024;
constexpr size_t kSeekChunk = 8 * 1024;

// Line breaks inside a field: CR LF, LF and a lone CR each end one line.
long LineBreaks(std::string_view s) {
  long n = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\n' || (s[i] == '\r' && (i + 1 == s.size() || s[i + 1] != '\n'))) ++n;
  }
  return n;
}

// Values are kept whole: no blanks are trimmed, and the tab can be a delimiter.
int NoSpace(unsigned char) {
  return 0;
}

}  // namespace

bool ValidUtf8(std::string_view bytes, std::string* carry) {
  std::string joined;
  if (carry && !carry->empty()) {
    joined = *carry + std::string(bytes);
    bytes = joined;
    carry->clear();
  }
  size_t i = 0;
  while (i < bytes.size()) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    size_t len = 0;
    unsigned char lo = 0x80;
    unsigned char hi = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
      len = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
      len = 3;
      if (c == 0xE0) lo = 0xA0;  // overlong
      if (c == 0xED) hi = 0x9F;  // surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
      len = 4;
      if (c == 0xF0) lo = 0x90;  // overlong
      if (c == 0xF4) hi = 0x8F;  // past U+10FFFF
    } else {
      return false;
    }
    for (size_t k = 1; k < len; ++k) {
      if (i + k == bytes.size()) {
        if (!carry) return false;
        *carry = std::string(bytes.substr(i));  // finished by the next piece
        return true;
      }
      const auto t = static_cast<unsigned char>(bytes[i + k]);
      if (t < (k == 1 ? lo : 0x80) || t > (k == 1 ? hi : 0xBF)) return false;
    }
    i += len;
  }
  return true;
}

char DetectDelimiter(std::string_view line) {
  std::array<int, 3> counts{};
  static constexpr std::array<char, 3> kDelimiters{',', '\t', ';'};
  bool quoted = false;
  for (const char c : line) {
    if (c == '"') quoted = !quoted;
    if (quoted) continue;
    if (c == '\n' || c == '\r') break;
    for (size_t k = 0; k < kDelimiters.size(); ++k) counts[k] += c == kDelimiters[k] ? 1 : 0;
  }
  const auto most = std::max_element(counts.begin(), counts.end());
  return *most == 0 ? ',' : kDelimiters[static_cast<size_t>(most - counts.begin())];
}

struct CsvReader::Impl {
  struct Row {
    long line = 0;
    std::vector<std::string> fields;
  };

  std::unique_ptr<std::istream> in;
  std::string name;
  csv_parser parser{};
  bool parserReady = false;
  bool atEnd = false;
  bool firstPiece = true;
  std::string undecoded;      // CP932 bytes after the last line feed, decoded with the next piece
  long decodedLines = 0;      // line feeds in the CP932 bytes decoded so far
  size_t pieceSize = kChunk;  // bytes read at a time

  std::deque<Row> queue;
  std::vector<std::string> fields;
  long line = 1;  // the line the record being read starts on
  long breaks = 0;
  int lastEnd = 0;
  std::string failure;  // a decoding error found while filling
  long failureLine = 0;

  ~Impl() {
    if (parserReady) csv_free(&parser);
  }

  static void OnField(void* s, size_t len, void* data) {
    auto* self = static_cast<Impl*>(data);
    std::string value = s ? std::string(static_cast<const char*>(s), len) : std::string();
    self->breaks += LineBreaks(value);
    self->fields.push_back(std::move(value));
  }

  static void OnRecordEnd(int c, void* data) {
    auto* self = static_cast<Impl*>(data);
    const int previous = self->lastEnd;
    self->lastEnd = c;
    if (self->fields.empty()) {
      // The LF of a CR LF, or a blank line.
      if (!(c == '\n' && previous == '\r')) ++self->line;
      return;
    }
    self->queue.push_back({self->line, std::move(self->fields)});
    self->fields.clear();
    self->line += self->breaks + (c >= 0 ? 1 : 0);
    self->breaks = 0;
  }

  // The next piece of input as UTF-8; empty at the end.
  std::string read(CsvEncoding encoding) {
    std::string raw(pieceSize, '\0');
    in->read(raw.data(), static_cast<std::streamsize>(raw.size()));
    raw.resize(static_cast<size_t>(in->gcount()));
    const bool last = raw.empty() || in->eof();
    if (firstPiece && encoding == CsvEncoding::Utf8 && raw.starts_with("\xEF\xBB\xBF")) {
      raw.erase(0, 3);
    }
    firstPiece = false;
    if (encoding == CsvEncoding::Utf8) return raw;
    // CP932 is decoded up to the last line feed, which is never the second byte of a character.
    undecoded += raw;
    const size_t cut = last ? undecoded.size() : undecoded.rfind('\n') + 1;
    const std::string piece = undecoded.substr(0, cut);
    undecoded.erase(0, cut);
    std::string out;
    const CodecResult r = Cp932ToUtf8(piece, out);
    if (!r.ok) {
      failureLine = decodedLines + 1 +
                    std::count(piece.begin(), piece.begin() + static_cast<long>(r.badOffset), '\n');
      static constexpr char kHex[] = "0123456789ABCDEF";
      const auto bad = static_cast<unsigned char>(piece[r.badOffset]);
      failure = "文字コードが UTF-8 でも CP932 でもありません（読めないバイト 0x" +
                std::string{kHex[bad >> 4], kHex[bad & 15]} + "）";
      return {};
    }
    decodedLines += std::count(piece.begin(), piece.end(), '\n');
    return out;
  }
};

CsvReader::CsvReader() : impl_(std::make_unique<Impl>()) {}
CsvReader::~CsvReader() = default;

std::unique_ptr<CsvReader> CsvReader::Open(const std::filesystem::path& path, CsvOptions options,
                                           CsvError* error, std::optional<CsvEncoding> encoding) {
  std::unique_ptr<CsvReader> r(new CsvReader());
  r->impl_->name = path.string();
  auto file = std::make_unique<std::ifstream>(path, std::ios::binary);
  if (!*file) {
    if (error) *error = {path.string(), 0, "ファイルを開けません"};
    return nullptr;
  }
  if (encoding) {
    r->encoding_ = *encoding;
    // Opened beside another reader of the file, for a page or so: a small first piece.
    r->impl_->pieceSize = kSeekChunk;
  } else {
    // Valid UTF-8 throughout is UTF-8: the file is checked once before it is read.
    std::string carry;
    bool utf8 = true;
    std::string raw(kChunk, '\0');
    while (utf8 && file->read(raw.data(), static_cast<std::streamsize>(raw.size())).gcount() > 0) {
      utf8 = ValidUtf8(std::string_view(raw.data(), static_cast<size_t>(file->gcount())), &carry);
    }
    r->encoding_ = utf8 && carry.empty() ? CsvEncoding::Utf8 : CsvEncoding::Cp932;
    file->clear();
    file->seekg(0);
  }
  r->impl_->in = std::move(file);
  return r->start(options, error) ? std::move(r) : nullptr;
}

std::unique_ptr<CsvReader> CsvReader::FromBytes(std::string bytes, std::string name,
                                                CsvOptions options, CsvError* error) {
  std::unique_ptr<CsvReader> r(new CsvReader());
  r->impl_->name = std::move(name);
  r->encoding_ = ValidUtf8(bytes) ? CsvEncoding::Utf8 : CsvEncoding::Cp932;
  r->impl_->in = std::make_unique<std::istringstream>(std::move(bytes));
  return r->start(options, error) ? std::move(r) : nullptr;
}

void CsvReader::fail(long line, std::string reason) {
  error_ = CsvError{impl_->name, line, std::move(reason)};
}

bool CsvReader::start(CsvOptions options, CsvError* error) {
  Impl& m = *impl_;
  if (csv_init(&m.parser, CSV_REPALL_NL | CSV_STRICT_FINI) != 0) {
    fail(0, "メモリが足りません");
  } else {
    m.parserReady = true;
    csv_set_space_func(&m.parser, NoSpace);
    // The first piece decides the delimiter before anything is split.
    std::string first = m.read(encoding_);
    m.pieceSize = kChunk;
    delimiter_ = options.delimiter != 0 ? options.delimiter : DetectDelimiter(first);
    csv_set_delim(&m.parser, static_cast<unsigned char>(delimiter_));
    if (!m.failure.empty()) {
      fail(m.failureLine, m.failure);
    } else if (csv_parse(&m.parser, first.data(), first.size(), Impl::OnField, Impl::OnRecordEnd,
                         &m) != first.size()) {
      fail(m.line, "メモリが足りません");
    }
  }
  while (!error_ && m.queue.empty() && fill()) {
  }
  if (!error_ && m.queue.empty()) fail(0, "見出しの行がありません");
  if (!error_) {
    header_ = std::move(m.queue.front().fields);
    const long line = m.queue.front().line;
    m.queue.pop_front();
    for (size_t i = 0; i < header_.size() && !error_; ++i) {
      if (header_[i].empty()) {
        fail(line, "見出しの " + std::to_string(i + 1) + " 番目の名前が空です");
      } else if (std::find(header_.begin(), header_.begin() + static_cast<long>(i), header_[i]) !=
                 header_.begin() + static_cast<long>(i)) {
        fail(line, "見出しの名前「" + header_[i] + "」が二度あります");
      }
    }
  }
  if (error_) {
    if (error) *error = *error_;
    return false;
  }
  return true;
}

bool CsvReader::fill() {
  Impl& m = *impl_;
  if (m.atEnd || error_) return false;
  const std::string piece = m.read(encoding_);
  if (!m.failure.empty()) {
    fail(m.failureLine, m.failure);
    return false;
  }
  if (piece.empty() && (m.in->eof() || !*m.in)) {
    m.atEnd = true;
    // libcsv reports an unclosed quote at the end only in its strict mode, which also refuses
    // the stray quotes of unquoted fields that real files have; its state tells it instead
    // (2: inside a field, which is quoted).
    constexpr int kFieldBegun = 2;
    const bool unclosed = m.parser.pstate == kFieldBegun && m.parser.quoted != 0;
    if (unclosed || csv_fini(&m.parser, Impl::OnField, Impl::OnRecordEnd, &m) != 0) {
      fail(m.line, "引用符 \" が閉じられていません");
      return false;
    }
    return !m.queue.empty();
  }
  if (csv_parse(&m.parser, piece.data(), piece.size(), Impl::OnField, Impl::OnRecordEnd, &m) !=
      piece.size()) {
    fail(m.line, "メモリが足りません");
    return false;
  }
  return true;
}

bool CsvReader::seek(uint64_t offset, long line) {
  Impl& m = *impl_;
  if (m.parserReady) csv_free(&m.parser);
  m.parserReady = false;
  error_.reset();
  m.queue.clear();
  m.fields.clear();
  m.undecoded.clear();
  m.failure.clear();
  m.atEnd = false;
  m.firstPiece = false;  // a byte-order mark stands only at the file's start
  // A seek reads a page or so of records: small pieces, so little is parsed past them.
  m.pieceSize = kSeekChunk;
  m.line = line;
  m.decodedLines = line - 1;
  m.breaks = 0;
  m.lastEnd = 0;
  m.in->clear();
  m.in->seekg(static_cast<std::streamoff>(offset));
  if (!*m.in || csv_init(&m.parser, CSV_REPALL_NL | CSV_STRICT_FINI) != 0) {
    fail(line, "ファイルを読み直せません");
    return false;
  }
  m.parserReady = true;
  csv_set_space_func(&m.parser, NoSpace);
  csv_set_delim(&m.parser, static_cast<unsigned char>(delimiter_));
  return true;
}

LineStarts::LineStarts(const std::filesystem::path& path, bool checkUtf8)
    : in_(path, std::ios::binary), checkUtf8_(checkUtf8) {}

bool LineStarts::more() {
  if (at_ < buffer_.size()) return true;
  consumed_ += buffer_.size();
  buffer_.resize(kChunk);
  in_.read(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
  buffer_.resize(static_cast<size_t>(std::max<std::streamsize>(0, in_.gcount())));
  at_ = 0;
  if (checkUtf8_ && utf8_) utf8_ = ValidUtf8(buffer_, &carry_);
  return !buffer_.empty();
}

bool LineStarts::wholeFileUtf8() {
  at_ = buffer_.size();
  while (more()) at_ = buffer_.size();
  return utf8_ && carry_.empty();
}

std::optional<uint64_t> LineStarts::offsetOf(long line) {
  while (line_ < line) {
    if (!more()) return std::nullopt;
    const char c = buffer_[at_++];
    if (c == '\r' || (c == '\n' && !afterCr_)) ++line_;
    afterCr_ = c == '\r';
  }
  if (line_ != line) return std::nullopt;
  // An LF right after the CR that ended the line before is part of that line's end.
  if (afterCr_ && more() && buffer_[at_] == '\n') {
    ++at_;
    afterCr_ = false;
  }
  return consumed_ + at_;
}

bool CsvReader::next(std::vector<std::string>& record) {
  Impl& m = *impl_;
  while (m.queue.empty()) {
    if (!fill() && m.queue.empty()) return false;
  }
  Impl::Row row = std::move(m.queue.front());
  m.queue.pop_front();
  if (row.fields.size() > header_.size()) {
    fail(row.line, "項目が多すぎます（" + std::to_string(row.fields.size()) + " 項目、見出しは " +
                       std::to_string(header_.size()) + " 項目）");
    return false;
  }
  row.fields.resize(header_.size());
  record = std::move(row.fields);
  recordLine_ = row.line;
  return true;
}

std::string WriteCsv(const std::vector<std::vector<std::string>>& records, char delimiter) {
  std::string out;
  for (const auto& record : records) {
    for (size_t i = 0; i < record.size(); ++i) {
      if (i > 0) out += delimiter;
      out += '"';
      for (const char c : record[i]) {
        out += c;
        if (c == '"') out += '"';
      }
      out += '"';
    }
    out += "\r\n";
  }
  return out;
}

}  // namespace qf
