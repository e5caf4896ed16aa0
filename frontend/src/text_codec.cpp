#include "text_codec.h"

#include <iconv.h>

#include <cerrno>
#include <vector>

namespace tessalin {
namespace {

// One conversion descriptor per call: cheap enough for file names and
// comment lines, and free of shared state.
class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Iconv() {
    if (Valid()) iconv_close(cd_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  bool Valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t Get() const { return cd_; }

 private:
  iconv_t cd_;
};

}  // namespace

std::optional<std::string> ToCp932(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  Iconv cd("CP932", "UTF-8");
  if (!cd.Valid()) return std::nullopt;
  std::vector<char> out(static_cast<std::size_t>(utf8.size()) * 2 + 16);
  char* in = const_cast<char*>(utf8.constData());
  std::size_t inLeft = static_cast<std::size_t>(utf8.size());
  char* outPtr = out.data();
  std::size_t outLeft = out.size();
  if (iconv(cd.Get(), &in, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1))
    return std::nullopt;
  return std::string(out.data(), out.size() - outLeft);
}

QString FromCp932(std::string_view bytes) {
  Iconv cd("UTF-8", "CP932");
  if (!cd.Valid()) return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
  std::string utf8;
  std::vector<char> out(bytes.size() * 3 + 16);
  char* in = const_cast<char*>(bytes.data());
  std::size_t inLeft = bytes.size();
  while (inLeft > 0) {
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    const std::size_t rc = iconv(cd.Get(), &in, &inLeft, &outPtr, &outLeft);
    utf8.append(out.data(), out.size() - outLeft);
    if (rc != static_cast<std::size_t>(-1)) break;
    if (errno == E2BIG) continue;
    // An invalid or cut-off sequence: show it as one replacement character.
    utf8 += "\xEF\xBF\xBD";
    ++in;
    --inLeft;
  }
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace tessalin
