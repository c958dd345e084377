// Fuzz target: the bytes of a file that ends with a PKF archive's data block (its trailer, the
// header and the offsets of its texts), read the way the launcher finds it: once as the program
// itself, where an appended archive makes it embedded, and once as the ".pkf" archive beside a
// program that carries none. Both go through the launcher's whole main sequence in process,
// with the runtime stand-in linked in.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "data_block.h"
#include "fake_runtime.h"
#include "fuzz_input.h"
#include "launcher.h"
#include "simulated_platform.h"
#include "temp_folder.h"
#include "test_block.h"

namespace {

using fuzzing::require;
using runhost::DataBlock;

constexpr int kApplicationResult = 7;

// One folder for the whole fuzzing process; every input overwrites its files.
struct Workspace {
    runhost_test::TempFolder folder{"fuzz_archive"};
    std::string program = folder.file("program.exe");
    std::string programArchive = folder.file("program.pkf");
    std::string launcher = folder.file("launcher.exe");
    std::string launcherArchive = folder.file("launcher.pkf");
    std::string runtime = folder.file("runtime/linux/libnrlnrtrt7_14_2.so");

    Workspace() {
        // A program without an archive: its last four bytes say the block is empty.
        runhost_test::WriteFile(launcher, {0x7F, 'E', 'L', 'F', 0, 0, 0, 0});
    }
};

Workspace& workspace() {
    static Workspace instance;
    return instance;
}

// Writes the file in place and cuts it to the new length. Emptying it first would make ext4
// write it out to disk at every close, which slows fuzzing down to a few hundred inputs a second.
bool overwrite(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    {
        std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
        if (!file) file.open(path, std::ios::out | std::ios::binary);
        file.write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        if (!file) return false;
    }
    std::error_code error;
    std::filesystem::resize_file(path, bytes.size(), error);
    return !error;
}

struct LauncherRun {
    int result;
    std::vector<std::string> events;
};

LauncherRun runLauncher(const std::string& executable) {
    fake_runtime::Reset();
    fake_runtime::CurrentSettings().mainResult = kApplicationResult;
    fake_runtime::CurrentSettings().echoWrites = false;
    runhost_test::SimulatedPlatform platform(runhost::LinuxConventions());
    platform.executable = executable;
    platform.environment["PKFX_VERBOSE"] = "";
    platform.symbols = &fake_runtime::Symbol;
    platform.virtualFiles.insert(workspace().runtime);
    platform.loadableLibraries.insert(workspace().runtime);
    const char* argv[] = {"program", "argument", nullptr};
    const int result = runhost::RunLauncher(platform, 2, argv);
    return {result, platform.events};
}

std::uint32_t trailerOf(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    const std::uint8_t* last = data + size - 4;
    return static_cast<std::uint32_t>(last[0] | last[1] << 8 | last[2] << 16) |
           static_cast<std::uint32_t>(last[3]) << 24;
}

// A valid block keeps its fixed-size fields and its texts within the block's text area.
void requireSoundBlock(const DataBlock& block, std::uint32_t trailer, std::size_t fileSize) {
    if (!block.valid) {
        require(block.majorVersion.empty() && block.startMessage.empty(),
                "a block that is not valid has no texts");
        return;
    }
    require(trailer >= runhost::block_layout::kHeaderSize && trailer <= fileSize,
            "a valid block lies within the file");
    require(block.magic == "V1NCC4000NXC1000NRT1000", "a valid block carries the magic");
    require(block.majorVersion.size() <= 4 && block.minorVersion.size() <= 4 &&
                block.updaterVersion.size() <= 4 && block.uuid.size() == 128,
            "version texts and UUID keep their field sizes");
    std::size_t listBytes = block.componentList.empty() ? 0 : block.componentList.size() - 1;
    for (const std::string& component : block.componentList) listBytes += component.size();
    const std::size_t textBytes = block.startMessage.size() + block.completeMessage.size() +
                                  block.componentText.size() + listBytes + block.mainText.size();
    require(textBytes <= runhost::block_layout::kTextAreaEnd,
            "the texts do not overlap nor reach past the text area");
}

bool runsTheApplication(const DataBlock& block) {
    // The stand-in lies where the launcher looks for version 7.14, updater 2.
    return block.valid && block.majorVersion == "7" && block.minorVersion == "14" &&
           block.updaterVersion == "2";
}

std::size_t countOf(const std::vector<std::string>& events, const std::string& event) {
    return static_cast<std::size_t>(std::count(events.begin(), events.end(), event));
}

bool reportedAnError(const std::vector<std::string>& events) {
    return std::any_of(events.begin(), events.end(), [](const std::string& event) {
        return event.rfind("err:Error:", 0) == 0 || event.rfind("box[Error]:", 0) == 0;
    });
}

// The run's outcome as the block decides it; dumps is how often the verbose dump appears.
void requireOutcome(const LauncherRun& run, bool startsApplication, const DataBlock& block,
                    std::size_t dumps) {
    if (startsApplication) {
        require(run.result == kApplicationResult, "a sound archive runs the application");
        const std::string complete = runhost::UpToFirstZero(block.completeMessage);
        require(fake_runtime::Written(1) == (complete.empty() ? "" : complete + "\n"),
                "the complete message reaches the application's output whole");
    } else {
        require(run.result == runhost::kLauncherFailure, "any other archive fails the launcher");
        require(reportedAnError(run.events), "a failing launcher says why");
    }
    if (block.valid) {
        require(countOf(run.events, "out:" + runhost::FormatDataBlockDump(block)) == dumps,
                "the dump appears once for every read of the block");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Workspace& files = workspace();
    const std::vector<std::uint8_t> bytes(data, data + size);
    const std::uint32_t trailer = trailerOf(data, size);

    // The bytes as the program, with nothing beside it.
    require(overwrite(files.program, bytes), "the program file is written");
    const DataBlock block = runhost::ReadDataBlock(files.program);
    requireSoundBlock(block, trailer, size);
    const bool embedded = trailer == runhost::block_layout::kEmbeddedBlockLength && block.valid;
    require(runhost::IsEmbedded(files.program) == embedded,
            "embedded exactly when an embedded-size block carries the magic");
    const LauncherRun asProgram = runLauncher(files.program);
    requireOutcome(asProgram, embedded && runsTheApplication(block), block, embedded ? 2 : 0);
    if (!embedded) {
        require(countOf(asProgram.events,
                        "err:Error:Cannot find PKF archive " + files.programArchive + "\n") == 1,
                "without an appended archive the launcher looks beside the program");
    }

    // The bytes as the archive beside a program.
    require(overwrite(files.launcherArchive, bytes), "the archive file is written");
    const LauncherRun beside = runLauncher(files.launcher);
    requireOutcome(beside, runsTheApplication(block), block, 1);
    return 0;
}
