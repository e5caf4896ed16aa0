// What the engine takes from the operating system beyond files and streams:
// the local time of day and the floating-point traps.
#pragma once

namespace tsl2 {

struct TimeOfDay {
  int Hour = 0;
  int Minute = 0;
  int Second = 0;
};

// The local time of day; the date is not read.
TimeOfDay ReadLocalClock();

// Enables the division-by-zero, invalid and overflow traps for the rest of
// the process and installs the handler that reports a trap on standard error
// and ends the process with status 1. Underflow and inexact stay silent.
// Called once by main(); tests that must survive a trap leave it off.
void EnableFloatingPointTraps();

}  // namespace tsl2
