#include "cp932.h"

#include <iconv.h>

#include <cerrno>

namespace qf {

namespace {

// RAII holder of one iconv conversion.
class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Iconv() {
    if (valid()) iconv_close(cd_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  CodecResult convert(std::string_view in, std::string& out) {
    if (!valid()) return {false, 0};
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    const size_t base = out.size();
    // UTF-8 takes at most 3 bytes per CP932 byte and CP932 at most as many bytes as UTF-8.
    out.resize(base + in.size() * 3 + 16);
    char* dst = out.data() + base;
    size_t dstLeft = out.size() - base;
    while (srcLeft > 0) {
      const size_t rc = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
      if (rc != static_cast<size_t>(-1)) break;
      if (errno == E2BIG) {
        const size_t used = static_cast<size_t>(dst - out.data());
        out.resize(out.size() * 2);
        dst = out.data() + used;
        dstLeft = out.size() - used;
        continue;
      }
      const size_t bad = static_cast<size_t>(src - in.data());
      out.resize(static_cast<size_t>(dst - out.data()));
      return {false, bad};
    }
    out.resize(static_cast<size_t>(dst - out.data()));
    return {true, 0};
  }

 private:
  iconv_t cd_;
};

}  // namespace

CodecResult Cp932ToUtf8(std::string_view bytes, std::string& out) {
  Iconv cv("UTF-8", "CP932");
  return cv.convert(bytes, out);
}

CodecResult Utf8ToCp932(std::string_view text, std::string& out) {
  Iconv cv("CP932", "UTF-8");
  return cv.convert(text, out);
}

std::string_view Utf8CharAt(std::string_view text, size_t offset, char32_t* codePoint) {
  if (offset >= text.size()) {
    if (codePoint) *codePoint = 0xFFFD;
    return {};
  }
  const auto lead = static_cast<unsigned char>(text[offset]);
  size_t len = 1;
  char32_t cp = lead;
  if (lead >= 0xF0) {
    len = 4;
    cp = lead & 0x07;
  } else if (lead >= 0xE0) {
    len = 3;
    cp = lead & 0x0F;
  } else if (lead >= 0xC0) {
    len = 2;
    cp = lead & 0x1F;
  } else if (lead >= 0x80) {
    len = 1;
    cp = 0xFFFD;
  }
  if (offset + len > text.size()) {
    len = text.size() - offset;
    cp = 0xFFFD;
  }
  for (size_t i = 1; i < len && cp != 0xFFFD; ++i) {
    const auto c = static_cast<unsigned char>(text[offset + i]);
    if ((c & 0xC0) != 0x80) {
      cp = 0xFFFD;
      len = i;
      break;
    }
    cp = (cp << 6) | (c & 0x3F);
  }
  if (codePoint) *codePoint = cp;
  return text.substr(offset, len);
}

}  // namespace qf
