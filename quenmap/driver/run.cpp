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
#include "outputfile.h"

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
    // Where one file is named twice, it is emptied when first opened as an output, and a
    // later read of it finds nothing: outputs then are not overwritten in place.
    const std::string& logPath = args[3];
    OutputFile logFile(logPath, std::ios::out,
                       !sameFile(logPath, asciiPath) && !sameFile(logPath, binaryPath));
    std::ofstream& log = logFile.stream();
    if (!logFile.isOpen()) return usage(console);

    if (isFlag(args[0], 'b')) {
        std::ifstream ascii(asciiPath);
        if (!ascii) return usage(console);
        OutputFile binary(binaryPath, std::ios::binary,
                          !sameFile(binaryPath, asciiPath) && !sameFile(binaryPath, logPath));
        if (!binary.isOpen()) return usage(console);
        InputFile text(asciiPath, ascii);
        ascii.close();
        std::string blockName = args.size() == 5 ? args[4] : std::string();
        TextToBinaryRequest request{asciiPath, binaryPath, blockName};
        return convertTextToBinary(text.stream(), binary.stream(), log, request, console);
    }
    if (isFlag(args[0], 'a')) {
        OutputFile ascii(asciiPath, std::ios::out,
                         !sameFile(asciiPath, binaryPath) && !sameFile(asciiPath, logPath));
        if (!ascii.isOpen()) return usage(console);
        std::ifstream binary(binaryPath, std::ios::binary);
        if (!binary) return usage(console);
        InputFile image(binaryPath, binary);
        binary.close();
        return convertBinaryToText(image.stream(), ascii.stream(), log, asciiPath, binaryPath,
                                   console);
    }
    return usage(console);
}

}  // namespace quenmap
