// Fixed-width text fields of the engine's files: list-directed reading,
// fixed-column Fw.d / Ew.d fields, and the Iw, Fw.d, Ew.d, Aw writers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tsl2::fixed_format {

// Writers. Each returns exactly w characters (asterisks when the value does
// not fit), right-justified and blank padded. Reals are rounded half away
// from zero on their exact binary value; a real below 1 gets no digit before
// the point; an Ew.d exponent is E, its sign and two digits.
std::string FormatI(std::int64_t value, int w);
std::string FormatF(double value, int w, int d);
std::string FormatE(double value, int w, int d);
// Text longer than w keeps its first w bytes; shorter text is padded on the
// left, as an Aw field is. Pass a w-byte text to get it unchanged.
std::string FormatA(std::string_view text, int w);

// Writes the Ew.d text of value into out[0..w) without allocating; used for
// the 1.6 million values of the result file.
void PutE(char* out, double value, int w, int d);

// Line end of every text file the engine writes.
inline constexpr std::string_view LINE_END = "\r\n";

// Readers.

// Why a field could not be read; the text names the field's contents.
struct FieldError {
  std::string reason;
};

// Parses one fixed-column real field (Fw.d or Ew.d input): blanks anywhere
// are ignored, an all-blank field is 0, a field without a decimal point has
// d decimals implied, an exponent may follow as E/D with a sign, or as a bare
// sign. Returns false and sets error when the field is not a number or does
// not fit a single.
bool ParseFixedReal(std::string_view field, int d, float& value, FieldError& error);

// Parses one list-directed value.
bool ParseFreeReal(std::string_view token, float& value, FieldError& error);
bool ParseFreeInteger(std::string_view token, std::int32_t& value, FieldError& error);

// Sequential reader over the records (lines) of one text file. Accepts CR LF
// and LF line ends. Every failure throws EngineError(Read) naming the file
// and the line that was being read.
class RecordReader {
 public:
  // Reads the whole file; throws EngineError(Open) when it cannot be opened.
  explicit RecordReader(const std::filesystem::path& file);
  // Reads text held in memory; name is used in error reports.
  RecordReader(std::string name, std::string_view text);

  // The next record as it stands, without its line end.
  std::string_view NextRecord();
  // The next record cut or padded with blanks to exactly n bytes.
  std::string NextText(std::size_t n);
  // One list-directed read of count reals into values, starting at the next
  // record and continuing over further records while values are missing; the
  // rest of the last record used is skipped.
  void ReadFreeReals(float* values, int count);
  float ReadFreeReal();
  std::int32_t ReadFreeInteger();
  // Field w characters wide, starting at 1-based column column of record;
  // a record shorter than the field reads as blanks.
  float FixedReal(std::string_view record, int column, int w, int d) const;

  // 1-based number of the last record read (0 before the first).
  long LineNumber() const { return lineNumber_; }
  const std::string& Name() const { return name_; }
  [[noreturn]] void Fail(const std::string& reason) const;

 private:
  void Split(std::string_view text);

  std::string name_;
  std::string text_;
  std::vector<std::string_view> records_;
  std::size_t next_ = 0;
  long lineNumber_ = 0;
};

}  // namespace tsl2::fixed_format
