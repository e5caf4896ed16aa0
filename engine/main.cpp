// TSL2-calc: the simulation engine. No arguments; everything comes from the
// files of the working folder.
#include <iostream>

#include "engine_run.h"
#include "platform.h"

int main() {
  tsl2::EnableFloatingPointTraps();
  return tsl2::RunEngine(".", std::cin, std::cout, std::cerr);
}
