// quenmap: converts one board's EEPROM content between the ASCII calibration
// text and the binary EEPROM image.

#include <iostream>
#include <string>
#include <vector>

#include "platform/allocator.h"
#include "run.h"

int main(int argc, char** argv) {
    quenmap::platform::keepFreedMemoryForTheRun();
    std::vector<std::string> args(argv + 1, argv + argc);
    quenmap::Console console{std::cin, std::cout, std::cerr};
    return quenmap::runQuenmap(args, console);
}
