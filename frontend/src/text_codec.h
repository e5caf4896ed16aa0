// Shift_JIS (Windows code page 932) text of the files the front end reads
// and writes. glibc's iconv "CP932" is used: Qt's own Shift_JIS codec mangles
// some control bytes and cannot encode a wave dash, and iconv's "SHIFT_JIS"
// turns a backslash into a yen sign.
#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace tessalin {

// Encodes text as code page 932; nullopt when a character has no code there.
std::optional<std::string> ToCp932(const QString& text);

// Decodes code page 932 bytes; a byte sequence that is not valid there
// becomes U+FFFD, so that reading never fails.
QString FromCp932(std::string_view bytes);

}  // namespace tessalin
