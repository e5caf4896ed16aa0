#include "platform.h"

#include <unistd.h>

#include <cfenv>
#include <csignal>
#include <cstring>
#include <ctime>

namespace tsl2 {

TimeOfDay ReadLocalClock() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return TimeOfDay{local.tm_hour, local.tm_min, local.tm_sec};
}

namespace {

void WriteAll(const char* text) {
  std::size_t left = std::strlen(text);
  while (left > 0) {
    const ssize_t n = ::write(STDERR_FILENO, text, left);
    if (n <= 0) return;
    text += n;
    left -= static_cast<std::size_t>(n);
  }
}

// Runs on the trapping instruction itself, so only async-signal-safe calls:
// write() and _exit(). Standard output needs no flush here because the run
// writes its console unit-buffered.
void ReportTrap(int, siginfo_t* info, void*) {
  const char* kind = "unknown floating-point exception";
  const char* reason = "- an arithmetic operation failed";
  switch (info->si_code) {
    case FPE_FLTDIV:
      kind = "division by zero";
      reason = "- a real number was divided by zero";
      break;
    case FPE_FLTINV:
      kind = "invalid operation";
      reason =
          "- an operation without a defined result, such as 0 / 0 or a function outside its domain";
      break;
    case FPE_FLTOVF:
      kind = "overflow";
      reason = "- a result too large for its real type";
      break;
    case FPE_INTDIV:
      kind = "integer division by zero";
      reason = "- an integer was divided by zero";
      break;
    case FPE_INTOVF:
      kind = "integer overflow";
      reason = "- an integer result too large for its type";
      break;
    default:
      break;
  }
  WriteAll("\nRun-time error 200: floating-point error (");
  WriteAll(kind);
  WriteAll(")\n");
  WriteAll(reason);
  WriteAll("\n");
  _exit(1);
}

}  // namespace

void EnableFloatingPointTraps() {
  struct sigaction action {};
  action.sa_sigaction = ReportTrap;
  action.sa_flags = SA_SIGINFO;
  sigemptyset(&action.sa_mask);
  sigaction(SIGFPE, &action, nullptr);
  std::feclearexcept(FE_ALL_EXCEPT);
  feenableexcept(FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW);
}

}  // namespace tsl2
