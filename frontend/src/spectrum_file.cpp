#include "spectrum_file.h"

#include <QFile>
#include <QFileInfo>
#include <charconv>
#include <cmath>
#include <deque>
#include <string>
#include <vector>

#include "text_codec.h"

namespace tessalin {
namespace {

[[noreturn]] void Fail(const QString& path, const QString& reason) {
  const QString message = QStringLiteral("*** スペクトルファイルを読み込めません ***\n\n%1\n%2")
                              .arg(QFileInfo(path).fileName(), reason);
  throw SpectrumFileError(message.toUtf8().toStdString());
}

std::string WithoutLineEnd(QByteArray line) {
  while (!line.isEmpty() && (line.endsWith('\n') || line.endsWith('\r'))) line.chop(1);
  return line.toStdString();
}

struct Field {
  std::string text;
  int line = 0;
};

// Hands out the fields after the first line, reading lines only as needed.
class FieldReader {
 public:
  FieldReader(QFile& file, const QString& path) : file_(file), path_(path) {}

  Field Next() {
    while (pending_.empty()) {
      if (file_.atEnd())
        Fail(path_, QStringLiteral("データが途中で終わっています（%1 行）").arg(line_));
      ++line_;
      Split(WithoutLineEnd(file_.readLine()));
    }
    Field field = std::move(pending_.front());
    pending_.pop_front();
    return field;
  }

  double NextNumber() {
    const Field field = Next();
    std::string_view text = field.text;
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size() ||
        !std::isfinite(value)) {
      Fail(path_, QStringLiteral("%1 行目：数値であるべき所に「%2」があります")
                      .arg(field.line)
                      .arg(FromCp932(field.text)));
    }
    return value;
  }

  int Line() const { return line_; }

 private:
  // Splits one line at the commas that lie outside double quotes. A line of
  // blanks holds no field, and a comma that ends a line starts none.
  void Split(const std::string& line) {
    if (line.find_first_not_of(" \t") == std::string::npos) return;
    std::vector<std::string> parts(1);
    bool quoted = false;
    for (char c : line) {
      if (c == '"') quoted = !quoted;
      if (c == ',' && !quoted) {
        parts.emplace_back();
      } else {
        parts.back() += c;
      }
    }
    if (parts.size() > 1 && Trim(parts.back()).empty()) parts.pop_back();
    for (const std::string& part : parts) {
      std::string text = Trim(part);
      if (!text.empty() && text.front() == '"') {
        const std::size_t close = text.find('"', 1);
        text = text.substr(1, close == std::string::npos ? std::string::npos : close - 1);
      }
      pending_.push_back({std::move(text), line_});
    }
  }

  static std::string Trim(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
  }

  QFile& file_;
  QString path_;
  std::deque<Field> pending_;
  int line_ = 1;  // the comment line has been read
};

}  // namespace

QString ReadSpectrumComment(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) Fail(path, QStringLiteral("ファイルを開けません"));
  return FromCp932(WithoutLineEnd(file.readLine()));
}

SpectrumVariables ReadSpectrumFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) Fail(path, QStringLiteral("ファイルを開けません"));
  if (file.atEnd()) Fail(path, QStringLiteral("ファイルが空です"));

  SpectrumVariables loaded;
  loaded.SpectrumComment = FromCp932(WithoutLineEnd(file.readLine()));
  loaded.LoadedFileName = QFileInfo(path).fileName();

  FieldReader fields(file, path);
  const double n = fields.NextNumber();
  if (n != std::floor(n) || n < 0 || n > MAX_LAST_DIRECTION) {
    Fail(path,
         QStringLiteral("%1 行目：方向の番号 N = %2 は 0 から %3 までの整数でなければなりません")
             .arg(fields.Line())
             .arg(n)
             .arg(MAX_LAST_DIRECTION));
  }
  loaded.LastDirection = static_cast<int>(n);
  const int last = loaded.LastDirection;

  fields.Next();  // heading
  for (int j = 0; j <= last; ++j) loaded.DirectionPosition[j] = fields.NextNumber();
  fields.Next();                                  // heading
  for (int j = 0; j <= last; ++j) fields.Next();  // read and not used
  fields.Next();                                  // heading
  for (int j = 0; j <= last; ++j) loaded.DirectionFiltration[j] = fields.NextNumber();
  for (int k = 1; k <= SPECTRUM_BINS; ++k) {
    fields.Next();  // the bin's energy
    for (int j = 0; j <= last; ++j) loaded.DirectionFluence[j][k] = fields.NextNumber();
  }

  loaded.CentralFluenceMax = 0;
  for (int k = 1; k <= SPECTRUM_BINS; ++k) {
    if (loaded.DirectionFluence[0][k] > loaded.CentralFluenceMax)
      loaded.CentralFluenceMax = loaded.DirectionFluence[0][k];
  }
  // The spectrum plot divides by this value, and the engine by the sum.
  if (!(loaded.CentralFluenceMax > 0))
    Fail(path, QStringLiteral("中心方向のスペクトルに正の値がありません"));
  return loaded;
}

}  // namespace tessalin
