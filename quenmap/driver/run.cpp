#include "run.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "blockselection.h"
#include "boardtable.h"
#include "conversion.h"
#include "memoryinput.h"

namespace quenmap {

namespace {

int usage(const Console& console) {
    console.out << "usage:   quenmap -<a|b> <ascii-file> <bin-file> <log-file> [BLOCK_name]\n"
                << "         ascii-file: input file to convert, \n"
                << "         bin-file:   quenmap output file, \n"
                << "         log-file:   quenmap log file, \n"
                << "         BLOCK_name: block name identifier (blocks to be converted). \n";
    console.out.flush();
    console.in.get();  // any key, or the end of the input
    return kStatusUsage;
}

bool isFlag(const std::string& argument, char direction) {
    return argument.size() == 2 && argument[0] == '-' &&
           std::tolower(static_cast<unsigned char>(argument[1])) == direction;
}

}  // namespace

int runQuenmap(const std::vector<std::string>& args, const Console& console) {
    if (args.size() != 4 && args.size() != 5) return usage(console);
    const std::string& asciiPath = args[1];
    const std::string& binaryPath = args[2];
    std::ofstream log(args[3]);
    if (!log) return usage(console);

    if (isFlag(args[0], 'b')) {
        std::ifstream ascii(asciiPath);
        if (!ascii) return usage(console);
        std::ofstream binary(binaryPath, std::ios::binary | std::ios::trunc);
        if (!binary) return usage(console);
        InputFile text(asciiPath, ascii);
        ascii.close();
        std::string blockName = args.size() == 5 ? args[4] : std::string();
        TextToBinaryRequest request{asciiPath, binaryPath, blockName};
        return convertTextToBinary(text.stream(), binary, log, request, console);
    }
    if (isFlag(args[0], 'a')) {
        std::ofstream ascii(asciiPath, std::ios::trunc);
        if (!ascii) return usage(console);
        std::ifstream binary(binaryPath, std::ios::binary);
        if (!binary) return usage(console);
        InputFile image(binaryPath, binary);
        binary.close();
        return convertBinaryToText(image.stream(), ascii, log, asciiPath, binaryPath, console);
    }
    return usage(console);
}

}  // namespace quenmap
