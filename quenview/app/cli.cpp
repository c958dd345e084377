#include "cli.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <sstream>
#include <system_error>

#include "driver/run.h"
#include "model/compare.h"
#include "model/input.h"
#include "output/htmlreport.h"
#include "output/jsonmodel.h"
#include "platform/platform.h"

namespace quenview {

namespace {

namespace fs = std::filesystem;

const char kUsage[] =
    "usage:   quenview [-o OUT] [--json] INPUT [SECOND]\n"
    "  INPUT, SECOND   a binary EEPROM image or an ASCII calibration text\n"
    "                  one input: the report of its board; two: their comparison\n"
    "                  (the first taken as before, the second as after)\n"
    "  -o OUT          the output file (\"-\": standard output); by default beside\n"
    "                  the first input, named after the input(s)\n"
    "  --json          the data as JSON instead of the HTML report\n"
    "exit status: 0 written, every block verified; 6 written, damage shown;\n"
    "             5 usage or a file that cannot be read or written;\n"
    "             1, 2, 4, 7 a text that quenmap -b rejects (its message above)\n";

struct Options {
    std::string output;
    bool json = false;
    std::vector<std::string> inputs;
};

enum class Parse { Run, Help, Bad };

Parse parse(const std::vector<std::string>& args, Options& options, std::ostream& err) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "-h" || arg == "--help") return Parse::Help;
        if (arg == "--json") {
            options.json = true;
        } else if (arg == "-o") {
            if (i + 1 == args.size()) {
                err << "quenview: -o needs a file name\n";
                return Parse::Bad;
            }
            options.output = args[++i];
        } else if (arg.size() > 1 && arg[0] == '-') {
            err << "quenview: unknown option " << arg << '\n';
            return Parse::Bad;
        } else {
            options.inputs.push_back(arg);
        }
    }
    if (options.inputs.empty() || options.inputs.size() > 2) {
        err << "quenview: one or two input files expected\n";
        return Parse::Bad;
    }
    return Parse::Run;
}

// The text of an image with every block type at capacity is about 4 MB: an
// input far larger than that is no board's content.
constexpr std::size_t kLargestInput = std::size_t{256} << 20;

bool readFile(const std::string& path, std::vector<std::uint8_t>& content, std::ostream& err) {
    std::error_code error;
    if (fs::is_directory(path, error)) {
        err << "quenview: cannot read " << path << ": it is a folder\n";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        err << "quenview: cannot read " << path << '\n';
        return false;
    }
    // In blocks rather than byte by byte; a pipe or device has no size to ask for.
    content.clear();
    constexpr std::size_t kChunk = 1 << 16;
    // A file's size is known: room for it and the last, short read at once.
    const std::uintmax_t size = fs::file_size(path, error);
    if (!error && size <= kLargestInput) content.reserve(size + kChunk);
    while (in) {
        const std::size_t used = content.size();
        // A device that never ends (/dev/zero) must not take all memory.
        if (used > kLargestInput) {
            err << "quenview: cannot read " << path << ": larger than " << (kLargestInput >> 20)
                << " MB\n";
            return false;
        }
        content.resize(used + kChunk);
        in.read(reinterpret_cast<char*>(content.data() + used), kChunk);
        content.resize(used + static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad()) {
        err << "quenview: cannot read " << path << '\n';
        return false;
    }
    return true;
}

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    if (fs::equivalent(a, b, error)) return true;
    const fs::path left = fs::weakly_canonical(a, error);
    if (error) return false;
    const fs::path right = fs::weakly_canonical(b, error);
    return !error && left == right;
}

// Reports run to about seven bytes per input byte at most (an image of every
// block type at capacity, or two compared), besides the page's own code.
std::uint64_t expectedOutputBytes(std::uint64_t inputBytes) {
    return 8 * inputBytes + 256 * 1024;
}

// Writes the whole report to a temporary file beside the output and puts it
// in the output's place only when it is complete. A device or a pipe named as
// the output (/dev/null, a FIFO) is written into as it stands: a file renamed
// over it would replace the device itself. A link is followed, so that the link
// stays and the file it names gets the report.
bool writeOutput(const std::string& requested, std::uint64_t expectedBytes,
                 const std::function<void(std::ostream&)>& write, std::ostream& err) {
    std::error_code error;
    const fs::file_status status = fs::status(requested, error);
    if (fs::exists(status) && !fs::is_regular_file(status) && !fs::is_directory(status)) {
        std::ofstream stream(requested, std::ios::binary);
        if (stream) write(stream);
        stream.close();
        if (!stream) err << "quenview: cannot write " << requested << '\n';
        return static_cast<bool>(stream);
    }
    std::string path = requested;
    if (fs::is_regular_file(status)) {
        const fs::path target = fs::canonical(requested, error);
        if (!error) path = target.string();
    }
    const std::string temporary = path + ".quenview-part";
    {
        std::ofstream(temporary, std::ios::binary | std::ios::trunc).close();
        platform::reserveSpace(temporary, expectedBytes);
        // Opened for update, so that opening does not cut the reservation.
        std::ofstream file(temporary, std::ios::binary | std::ios::in | std::ios::out);
        if (file) write(file);
        file.close();
        platform::releaseUnusedSpace(temporary);
        if (!file) {
            std::error_code ignored;
            fs::remove(temporary, ignored);
            err << "quenview: cannot write " << requested << '\n';
            return false;
        }
    }
    if (!platform::replaceFile(temporary, path)) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        err << "quenview: cannot write " << requested << '\n';
        return false;
    }
    return true;
}

std::string baseName(const std::string& path) {
    return fs::path(path).filename().string();
}

}  // namespace

std::string defaultOutputPath(const std::string& first, const std::string& second, bool json) {
    const fs::path firstPath(first);
    std::string name = firstPath.stem().string();
    if (!second.empty()) name += "-vs-" + fs::path(second).stem().string();
    name += json ? ".json" : ".html";
    return (firstPath.parent_path() / name).string();
}

int runQuenview(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Options options;
    switch (parse(args, options, err)) {
        case Parse::Help:
            out << kUsage;
            return quenmap::kStatusSuccess;
        case Parse::Bad:
            err << kUsage;
            return quenmap::kStatusUsage;
        case Parse::Run:
            break;
    }
    const std::string second = options.inputs.size() > 1 ? options.inputs[1] : "";
    const std::string output = options.output.empty()
                                   ? defaultOutputPath(options.inputs[0], second, options.json)
                                   : options.output;
    const bool toStandardOutput = output == "-";
    for (const std::string& input : options.inputs) {
        if (!toStandardOutput && sameFile(input, output)) {
            err << "quenview: the output " << output << " would overwrite the input " << input
                << '\n';
            return quenmap::kStatusUsage;
        }
    }

    // One input is written block by block as its walk decodes them; a
    // comparison needs both reports whole.
    std::vector<std::unique_ptr<ImageWalk>> walks;
    std::uint64_t inputBytes = 0;
    for (const std::string& input : options.inputs) {
        std::vector<std::uint8_t> content;
        if (!readFile(input, content, err)) return quenmap::kStatusUsage;
        inputBytes += content.size();
        std::unique_ptr<ImageWalk> walk;
        const int status = walkOf(baseName(input), content, err, walk);
        if (status != quenmap::kStatusSuccess) return status;
        walks.push_back(std::move(walk));
    }

    bool damaged = false;
    for (const auto& walk : walks) damaged = damaged || walk->report().status.damaged();
    // The JSON streams into the output as it is written; the page carries it
    // inside, so it is made first.
    std::optional<Comparison> comparison;
    std::string title = walks[0]->report().file.name;
    if (walks.size() == 2) {
        comparison = compareReports(std::move(*walks[0]).decodedReport(),
                                    std::move(*walks[1]).decodedReport());
        title = baseName(options.inputs[0]) + " vs " + baseName(second);
    }
    const ImageWalk& first = *walks[0];
    const auto writeJson = [&](std::ostream& stream) {
        if (comparison) {
            writeComparisonJson(stream, *comparison);
        } else {
            writeReportJson(stream, first.report(),
                            [&first](std::size_t block) { return first.contentOf(block); });
        }
    };
    const auto writeDocument = [&](std::ostream& stream) {
        if (options.json) {
            writeJson(stream);
            stream << '\n';
        } else {
            std::ostringstream json;
            writeJson(json);
            writeHtmlReport(stream, json.str(), title);
        }
    };
    if (toStandardOutput) {
        platform::useBinaryStandardOutput();
        writeDocument(out);
        out.flush();
        if (!out) {
            err << "quenview: cannot write the standard output\n";
            return quenmap::kStatusUsage;
        }
    } else if (!writeOutput(output, expectedOutputBytes(inputBytes), writeDocument, err)) {
        return quenmap::kStatusUsage;
    }
    return damaged ? quenmap::kStatusUnknownBlockId : quenmap::kStatusSuccess;
}

}  // namespace quenview
