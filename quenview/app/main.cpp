// quenview: shows one board's EEPROM content, or compares two, as an HTML
// report or as JSON.

#include <iostream>
#include <string>
#include <vector>

#include "cli.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return quenview::runQuenview(args, std::cout, std::cerr);
}
