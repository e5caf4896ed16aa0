// The one exception type of the spectrum library: bad input or data, with a
// message that names the file, line or option at fault.
#pragma once

#include <stdexcept>
#include <string>

namespace tessalin::spectrum {

class SpectrumError : public std::runtime_error {
 public:
  explicit SpectrumError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace tessalin::spectrum
