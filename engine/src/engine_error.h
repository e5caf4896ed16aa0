// Run-time failures of the engine. The core library throws; main() turns the
// exception into the report on standard error and exit status 1.
#pragma once

#include <stdexcept>
#include <string>

namespace tsl2 {

// What failed: open, read, write, close, or a floating-point operation.
enum class FailedOperation { Open, Read, Write, Close, FloatingPoint, Input };

class EngineError : public std::runtime_error {
 public:
  // file may be empty (floating-point errors); line 0 means "no line".
  EngineError(FailedOperation operation, std::string file, std::string reason, long line = 0)
      : std::runtime_error(reason), operation_(operation), file_(std::move(file)), line_(line) {}

  FailedOperation operation() const { return operation_; }
  const std::string& file() const { return file_; }
  long line() const { return line_; }

 private:
  FailedOperation operation_;
  std::string file_;
  long line_;
};

}  // namespace tsl2
