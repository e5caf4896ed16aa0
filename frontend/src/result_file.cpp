#include "result_file.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

namespace tessalin {
namespace {

constexpr const char* HEADER_FIELDS[] = {"SourceAxisDistance", "BeamWidthRotation",
                                         "BeamWidthAxial",     "PhantomA",
                                         "PhantomB",           "HistoryCount"};

bool IsSeparator(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ','; }

// 1-based line number of a position, counted only when an error is reported.
long LineAt(std::string_view text, std::size_t pos) {
  pos = std::min(pos, text.size());
  return 1 +
         static_cast<long>(std::count(text.begin(), text.begin() + static_cast<long>(pos), '\n'));
}

[[noreturn]] void Fail(const std::string& fileName, std::string_view text, std::size_t pos,
                       const std::string& what) {
  throw ResultFileError(fileName + ", line " + std::to_string(LineAt(text, pos)) + ": " + what);
}

// Free-form reading: fields end at a blank, a comma or a line end, and every
// field where a number is due must be one number and nothing else.
class FreeFormReader {
 public:
  FreeFormReader(std::string_view text, std::size_t pos, const std::string& fileName)
      : text_(text), pos_(pos), fileName_(fileName) {}

  double Next(const char* field) {
    const char* const end = text_.data() + text_.size();
    const char* p = text_.data() + pos_;
    while (p != end && IsSeparator(*p)) ++p;
    if (p == end) {
      Fail(fileName_, text_, text_.size(), std::string("the file ends where ") + field + " is due");
    }
    const char* fieldStart = p;
    const char* q = p;
    while (q != end && !IsSeparator(*q)) ++q;
    if (*p == '+' && q - p > 1 && p[1] != '-') ++p;  // from_chars takes no plus sign
    double value = 0;
    const auto [stop, ec] = std::from_chars(p, q, value, std::chars_format::general);
    if (ec != std::errc() || stop != q || !std::isfinite(value)) {
      Fail(fileName_, text_, static_cast<std::size_t>(fieldStart - text_.data()),
           std::string("\"") + std::string(fieldStart, std::min<std::size_t>(q - fieldStart, 20)) +
               "\" is not a number (" + field + ")");
    }
    pos_ = static_cast<std::size_t>(q - text_.data());
    return value;
  }

  std::size_t position() const { return pos_; }

 private:
  std::string_view text_;
  std::size_t pos_;
  const std::string& fileName_;
};

// A result file is 14,416,077 bytes; free-form spacing may make one larger,
// but a file many times that size is something else and is not read whole.
constexpr std::size_t MAX_RESULT_BYTES = std::size_t{256} << 20;

std::string ReadWholeFile(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) throw ResultFileError(path + ": the file cannot be opened");
  const auto tooLarge = [&] {
    std::fclose(file);
    return ResultFileError(path + ": the file is too large to be a result file");
  };
  std::string text;
  char buffer[1 << 16];
  // Reserve the known size; the loop also covers files whose size changes
  // while they are read.
  if (std::fseek(file, 0, SEEK_END) == 0) {
    const long size = std::ftell(file);
    if (size > 0 && static_cast<unsigned long>(size) > MAX_RESULT_BYTES) throw tooLarge();
    if (size > 0) text.reserve(static_cast<std::size_t>(size));
    std::rewind(file);
  }
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
    text.append(buffer, got);
    if (text.size() > MAX_RESULT_BYTES) throw tooLarge();
  }
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) throw ResultFileError(path + ": the file cannot be read");
  return text;
}

}  // namespace

std::size_t ParseResultHeader(std::string_view text, const std::string& fileName,
                              ResultHeader& header) {
  const std::size_t lineEnd = text.find('\n');
  if (lineEnd == std::string_view::npos) {
    Fail(fileName, text, text.size(), "the file ends within its first line");
  }
  std::string_view first = text.substr(0, lineEnd);
  if (!first.empty() && first.back() == '\r') first.remove_suffix(1);

  ResultHeader read;
  read.ConditionComment = std::string(first);
  FreeFormReader reader(text, lineEnd + 1, fileName);
  double* const targets[] = {&read.SourceAxisDistance, &read.BeamWidthRotation,
                             &read.BeamWidthAxial,     &read.PhantomA,
                             &read.PhantomB,           &read.HistoryCount};
  for (int i = 0; i < 6; ++i) *targets[i] = reader.Next(HEADER_FIELDS[i]);
  header = std::move(read);
  return reader.position();
}

std::unique_ptr<ViewerDose> ParseResultFile(std::string_view text, const std::string& fileName,
                                            ResultHeader& header) {
  ResultHeader read;
  FreeFormReader reader(text, ParseResultHeader(text, fileName, read), fileName);
  auto dose = std::make_unique<ViewerDose>();
  // File order: component, CellY, CellZ, then CellX innermost.
  for (int c = 1; c <= 2; ++c) {
    for (int iy = 1; iy <= ViewerDose::CELLS_Y; ++iy) {
      for (int iz = 1; iz <= ViewerDose::CELLS_Z; ++iz) {
        double* row = &(*dose)(c, 0, iy, iz);
        for (int ix = 1; ix <= ViewerDose::CELLS_X; ++ix) row[ix] = reader.Next("a dose value");
      }
    }
  }
  for (int iy = 1; iy <= ViewerDose::CELLS_Y; ++iy) {
    for (int iz = 1; iz <= ViewerDose::CELLS_Z; ++iz) {
      const double* primary = dose->Row(1, iy, iz);
      const double* scattered = dose->Row(2, iy, iz);
      double* total = &(*dose)(0, 0, iy, iz);
      for (int ix = 1; ix <= ViewerDose::CELLS_X; ++ix) total[ix] = primary[ix] + scattered[ix];
    }
  }
  header = std::move(read);
  return dose;
}

ResultHeader ReadResultHeader(const std::string& path) {
  // The header sits in the first few hundred bytes; read no more than needed.
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) throw ResultFileError(path + ": the file cannot be opened");
  std::string text;
  char buffer[4096];
  ResultHeader header;
  for (;;) {
    const std::size_t got = std::fread(buffer, 1, sizeof buffer, file);
    text.append(buffer, got);
    const bool atEnd = got < sizeof buffer;
    try {
      // A header is complete once a separator follows the sixth number, or
      // the file has ended.
      const std::size_t stop = ParseResultHeader(text, path, header);
      if (atEnd || stop < text.size()) break;
    } catch (const ResultFileError&) {
      if (atEnd || text.size() > (1u << 20)) {
        std::fclose(file);
        throw;
      }
    }
    if (atEnd) break;
  }
  std::fclose(file);
  return header;
}

std::unique_ptr<ViewerDose> ReadResultFile(const std::string& path, ResultHeader& header) {
  const std::string text = ReadWholeFile(path);
  return ParseResultFile(text, path, header);
}

}  // namespace tessalin
