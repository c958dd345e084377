// quenmap against xxd, side by side in one run on the same machine:
//   A_all_types       "-a" of an image with one full block of every dispatch id
//                     against "xxd" of the same file, and quenview's JSON of
//                     it ("quenview_json" in process, "quenview_exe");
//   B_<block>         "-b" of one large block from its text against "xxd -r"
//                     of the block image's hex dump;
//   Board_<stem>      "-b" complete conversion of the largest board text that
//                     grows with its counts, at 1/8, 1/4, 1/2 and all of its
//                     capacity, with the growth of the cost fitted against
//                     the text size;
//   Growing_<block>   the same for the large single blocks.
// Every case of quenmap and xxd works on files. "quenmap" runs the conversion
// in this process (runQuenmap, files opened and written as by the program);
// "quenmap_exe" and "xxd" / "xxd_r" start the program as a process for every
// iteration, so the two columns that the ratio table compares pay the same
// start-up and file costs.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "app/cli.h"
#include "driver/conversion.h"
#include "driver/run.h"
#include "fixtures.h"

namespace {

using quenmap::bench::Fixtures;
using quenmap::bench::runProgram;

// Console streams of an in-process run; the table diagnostics and messages
// of a successful run are not part of the measurement.
struct QuietConsole {
    std::istringstream keys;
    std::ostream sink{nullptr};
    quenmap::Console console{keys, sink, sink};
};

void failUnless(benchmark::State& state, bool ok, const char* what) {
    if (!ok) state.SkipWithError(what);
}

void runInProcess(benchmark::State& state, const std::vector<std::string>& args,
                  std::size_t bytes) {
    QuietConsole quiet;
    for (auto _ : state) {
        int status = quenmap::runQuenmap(args, quiet.console);
        if (status != quenmap::kStatusSuccess) {
            state.SkipWithError("quenmap did not succeed");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

void runAsProcess(benchmark::State& state, const std::vector<std::string>& args,
                  const std::string& stdoutPath, std::size_t bytes) {
    for (auto _ : state) {
        if (runProgram(args, stdoutPath) != 0) {
            state.SkipWithError("program did not succeed");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

// Processes are timed by the wall clock; so is everything else, alike.
benchmark::internal::Benchmark* timed(benchmark::internal::Benchmark* bench) {
    return bench->UseRealTime()->Unit(benchmark::kMillisecond);
}

void registerAllTypes(const Fixtures& f) {
    const std::string dir = f.workDir + "/";
    const std::string image = f.allTypesImage;
    const std::size_t bytes = f.allTypesBytes;
    timed(benchmark::RegisterBenchmark("A_all_types/quenmap", [=](benchmark::State& state) {
        runInProcess(state, {"-a", dir + "a_inproc.txt", image, dir + "a_inproc.log"}, bytes);
    }));
    timed(benchmark::RegisterBenchmark("A_all_types/quenmap_memory", [=](benchmark::State& state) {
        // The conversion alone: image and text in memory, no files.
        std::string content;
        {
            std::ostringstream read;
            std::ifstream in(image, std::ios::binary);
            read << in.rdbuf();
            content = read.str();
        }
        QuietConsole quiet;
        for (auto _ : state) {
            std::istringstream in(content, std::ios::binary);
            std::ostringstream text, log;
            int status =
                quenmap::convertBinaryToText(in, text, log, "a.txt", "a.bin", quiet.console);
            failUnless(state, status == quenmap::kStatusSuccess, "conversion failed");
            benchmark::DoNotOptimize(text);
        }
        state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    }));
    timed(benchmark::RegisterBenchmark("A_all_types/quenmap_exe", [=](benchmark::State& state) {
        runAsProcess(state, {QUENMAP_EXE, "-a", dir + "a_exe.txt", image, dir + "a_exe.log"},
                     "/dev/null", bytes);
    }));
    timed(benchmark::RegisterBenchmark("A_all_types/quenview_json", [=](benchmark::State& state) {
        std::ostream sink(nullptr);
        for (auto _ : state) {
            int status =
                quenview::runQuenview({"--json", "-o", dir + "a_view.json", image}, sink, sink);
            failUnless(state, status == quenmap::kStatusSuccess, "quenview did not succeed");
        }
        state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    }));
    timed(benchmark::RegisterBenchmark("A_all_types/quenview_exe", [=](benchmark::State& state) {
        runAsProcess(state, {QUENVIEW_EXE, "--json", "-o", dir + "a_view_exe.json", image},
                     "/dev/null", bytes);
    }));
    timed(benchmark::RegisterBenchmark("A_all_types/xxd", [=](benchmark::State& state) {
        runAsProcess(state, {"xxd", image}, dir + "a_xxd.hex", bytes);
    }));
}

void registerSingleBlocks(const Fixtures& f) {
    const std::string dir = f.workDir + "/";
    for (const quenmap::bench::SingleBlockCase& block : f.singleBlocks) {
        const std::string prefix = "B_" + block.label + "/";
        const std::string out = dir + "b_" + block.label;
        const std::size_t bytes = block.blockBytes;
        timed(benchmark::RegisterBenchmark(
            (prefix + "quenmap").c_str(), [=](benchmark::State& state) {
                runInProcess(state,
                             {"-b", block.textPath, out + "_inproc.bin", out + "_inproc.log",
                              block.blockName},
                             bytes);
            }));
        timed(benchmark::RegisterBenchmark(
            (prefix + "quenmap_exe").c_str(), [=](benchmark::State& state) {
                runAsProcess(state,
                             {QUENMAP_EXE, "-b", block.textPath, out + "_exe.bin", out + "_exe.log",
                              block.blockName},
                             "/dev/null", bytes);
            }));
        timed(
            benchmark::RegisterBenchmark((prefix + "xxd_r").c_str(), [=](benchmark::State& state) {
                runAsProcess(state, {"xxd", "-r", block.dumpPath}, out + "_xxd.bin", bytes);
            }));
    }
}

// A series of growing texts converted with "-b" (and an optional block
// name); the fit of the cost against the text size shows how it grows.
void registerSeries(const std::string& name, const std::string& workDir,
                    const std::vector<quenmap::bench::ScaledText>& texts,
                    const std::string& blockName) {
    // Timed by this process's CPU time: the growth of the conversion's own
    // work, without the wait for the file system that the wall clock adds.
    auto* bench = benchmark::RegisterBenchmark(name.c_str(), [=](benchmark::State& state) {
        const quenmap::bench::ScaledText& text = texts[static_cast<std::size_t>(state.range(0))];
        std::vector<std::string> args = {"-b", text.textPath, workDir + "/series.bin",
                                         workDir + "/series.log"};
        if (!blockName.empty()) args.push_back(blockName);
        runInProcess(state, args, text.textBytes);
        state.SetComplexityN(static_cast<std::int64_t>(text.textBytes));
    });
    bench->Unit(benchmark::kNanosecond);
    for (std::size_t i = 0; i < texts.size(); ++i) bench->Arg(static_cast<std::int64_t>(i));
    bench->Complexity(benchmark::oN);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    const Fixtures fixtures = quenmap::bench::makeFixtures(QUENMAP_EXAMPLES_DIR);
    if (!fixtures.ok) std::cerr << "some fixture checks failed (see above)\n";

    registerAllTypes(fixtures);
    registerSingleBlocks(fixtures);
    registerSeries("Board_" + fixtures.boardName + "/quenmap", fixtures.workDir,
                   fixtures.boardTexts, "");
    for (const Fixtures::GrowingBlock& growing : fixtures.growingBlocks) {
        registerSeries("Growing_" + growing.label + "/quenmap", fixtures.workDir, growing.texts,
                       growing.blockName);
    }
    benchmark::SetDefaultTimeUnit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    // QUENMAP_BENCH_KEEP keeps the fixtures, for profiling the same inputs.
    if (std::getenv("QUENMAP_BENCH_KEEP") == nullptr) {
        std::error_code ignored;
        std::filesystem::remove_all(fixtures.workDir, ignored);
    }
    return fixtures.ok ? 0 : 3;
}
