// Code page 932 through iconv, for the native build.
#include <iconv.h>

#include "core/cp932.h"

namespace qr::detail {

namespace {

class Converter {
 public:
  Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
  ~Converter() {
    if (Valid()) iconv_close(handle_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // The whole text converted, or nothing when any part of it has no exact mapping.
  std::optional<std::string> Convert(std::string_view in) {
    if (!Valid()) return std::nullopt;
    std::string out(in.size() * 4 + 4, '\0');
    char* inPtr = const_cast<char*>(in.data());
    size_t inLeft = in.size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    const size_t result = iconv(handle_, &inPtr, &inLeft, &outPtr, &outLeft);
    if (result != 0 || inLeft != 0) return std::nullopt;  // failure, or an inexact (irreversible) mapping
    out.resize(out.size() - outLeft);
    return out;
  }

 private:
  bool Valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t handle_;
};

}  // namespace

std::optional<std::string> SystemCp932ToUtf8(std::string_view bytes) {
  return Converter("UTF-8", "CP932").Convert(bytes);
}

std::optional<std::string> SystemUtf8ToCp932(std::string_view utf8) {
  return Converter("CP932", "UTF-8").Convert(utf8);
}

}  // namespace qr::detail
