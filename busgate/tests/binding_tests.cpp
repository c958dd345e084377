// The binding layer against the simulated driver files: which file binds, what
// a failed binding leaves in the snapshot, the ibeos routing of the gpib-32
// file, and entry points the bound file lacks.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "ni488_binding.h"
#include "ni488_constants.h"
#include "sim_control.h"

using namespace busgate;
namespace fs = std::filesystem;

namespace {

constexpr std::int32_t kModuleNotFound = 126;
constexpr std::int32_t kProcedureNotFound = 127;

const std::string kAbsentFolder = BUSGATE_TEST_WORK_DIR "/no-driver-here";

std::string absentPrimary() {
    return kAbsentFolder + "/" + fs::path(BUSGATE_SIM_NI4882).filename().string();
}

platform::LibraryChoice choiceOf(const std::string& primary, const std::string& fallback) {
    const fs::path fallbackPath(fallback);
    return {primary, fallbackPath.filename().string(), fallbackPath.parent_path().string()};
}

// The test's own hold on a simulated driver file: the binding under test loads
// the same file and so shares its state.
class SimulatedDriver {
  public:
    explicit SimulatedDriver(const std::string& path) : library_(platform::loadLibrary(path)) {
        if (library_ == nullptr || !sim::bindSimControl(library_, control_)) {
            ADD_FAILURE() << "cannot load the simulated driver " << path;
            return;
        }
        control_.reset();
        control_.addBoard(0);
        control_.addInstrument(0, 5);
    }
    ~SimulatedDriver() { platform::freeLibrary(library_); }

    std::string log() const {
        std::vector<char> buffer(static_cast<std::size_t>(control_.callLog(nullptr, 0)) + 1);
        control_.callLog(buffer.data(), static_cast<int>(buffer.size()));
        return buffer.data();
    }
    const sim::SimControl& control() const { return control_; }

  private:
    platform::LibraryHandle library_;
    sim::SimControl control_;
};

void expectBindingFailure(const Ni488Binding& binding, std::int32_t systemError) {
    const StatusSnapshot snapshot = binding.snapshot();
    EXPECT_EQ(snapshot.ibsta, ni488::ERR);
    EXPECT_EQ(snapshot.iberr, ni488::EDVR);
    EXPECT_EQ(snapshot.ibcnt, systemError);
    EXPECT_EQ(snapshot.ibcntl, systemError);
    EXPECT_TRUE(snapshot.bindingFailed);
}

}  // namespace

TEST(BusgateBinding, NoDriverFileFailsEveryKindOfEntryPoint) {
    Ni488Binding binding(choiceOf(absentPrimary(), kAbsentFolder + "/gpib-32"));

    EXPECT_EQ(binding.ibdev(0, 5, 0, 0, 1, 0), -1);
    expectBindingFailure(binding, kModuleNotFound);
    EXPECT_EQ(binding.mode(), BindingMode::Unbound);

    EXPECT_EQ(binding.ibfindA("gpib0"), -1);
    EXPECT_EQ(binding.ibfindW(L"gpib0"), -1);
    EXPECT_EQ(binding.ibexpert(0, 0, nullptr, nullptr), -1);
    EXPECT_EQ(binding.ibclr(16), ni488::ERR);
    EXPECT_EQ(binding.ibconfig(16, ni488::IbcEOS, 0x0A), ni488::ERR);
    binding.SendIFC(0);
    expectBindingFailure(binding, kModuleNotFound);

    // Unavailable per-thread status reads as an error whose negation is positive.
    EXPECT_EQ(static_cast<std::uint32_t>(binding.ThreadIbsta()), 0xDDDDDEADu);
    EXPECT_EQ(static_cast<std::uint32_t>(binding.ThreadIberr()), 0xDDDDDEADu);
    EXPECT_EQ(static_cast<std::uint32_t>(binding.ThreadIbcnt()), 0xDDDDDEADu);
    EXPECT_NE(binding.ThreadIbsta() & ni488::ERR, 0);

    EXPECT_EQ(binding.Ibsta(), ni488::ERR);
    EXPECT_EQ(binding.Iberr(), ni488::EDVR);
    EXPECT_EQ(binding.Ibcnt(), kModuleNotFound);
}

TEST(BusgateBinding, FailedBindingIsRetriedByTheNextCall) {
    const fs::path folder = fs::path(BUSGATE_TEST_WORK_DIR) / "retry-fixture";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path primary = folder / fs::path(BUSGATE_SIM_NI4882).filename();
    {
        Ni488Binding binding(choiceOf(primary.string(), kAbsentFolder + "/gpib-32"));
        EXPECT_EQ(binding.ibdev(0, 5, 0, 0, 1, 0), -1);
        EXPECT_EQ(binding.mode(), BindingMode::Unbound);

        fs::copy_file(BUSGATE_SIM_NI4882, primary);
        binding.ibclr(16);  // no such descriptor, but the library is bound now
        EXPECT_EQ(binding.mode(), BindingMode::Ni4882);
        EXPECT_FALSE(binding.snapshot().bindingFailed);
    }
    fs::remove_all(folder);
}

TEST(BusgateBinding, PrimaryFileBindsWithItsAccessorFunctions) {
    SimulatedDriver driver(BUSGATE_SIM_NI4882);
    Ni488Binding binding(choiceOf(BUSGATE_SIM_NI4882, BUSGATE_SIM_GPIB32));

    const int ud = binding.ibdev(0, 5, 0, 0, 1, 0x0A);
    ASSERT_GE(ud, 0);
    EXPECT_EQ(binding.mode(), BindingMode::Ni4882);

    EXPECT_EQ(binding.ibwrt(ud, "*IDN?", 5), ni488::CMPL);
    StatusSnapshot snapshot = binding.snapshot();
    EXPECT_EQ(snapshot.ibsta, ni488::CMPL);
    EXPECT_EQ(snapshot.ibcnt, 5);
    EXPECT_EQ(snapshot.ibcntl, 5);
    EXPECT_FALSE(snapshot.bindingFailed);

    // The end-of-string option goes to ibconfig like any other here.
    binding.ibconfig(ud, ni488::IbcEOS, 0x140A);
    EXPECT_NE(driver.log().find("ibconfig(" + std::to_string(ud) + ",37,5130)"), std::string::npos);
    EXPECT_EQ(driver.log().find("ibeos("), std::string::npos);
    EXPECT_EQ(driver.control().option(ud, ni488::IbcEOS), 0x140A);

    driver.control().injectFailure("ibclr", ud, ni488::EBUS, 1);
    EXPECT_EQ(binding.ibclr(ud), ni488::ERR);
    snapshot = binding.snapshot();
    EXPECT_EQ(snapshot.iberr, ni488::EBUS);
    EXPECT_EQ(binding.Ibsta(), ni488::ERR);
    EXPECT_EQ(binding.Iberr(), ni488::EBUS);
    EXPECT_EQ(binding.ThreadIberr(), ni488::EBUS);
}

TEST(BusgateBinding, FallbackFileTakesTheEndOfStringThroughIbeos) {
    SimulatedDriver driver(BUSGATE_SIM_GPIB32);
    Ni488Binding binding(choiceOf(absentPrimary(), BUSGATE_SIM_GPIB32));

    const int ud = binding.ibdev(0, 5, 0, 0, 1, 0);
    ASSERT_GE(ud, 0);
    EXPECT_EQ(binding.mode(), BindingMode::Gpib32);

    EXPECT_EQ(binding.ibconfig(ud, ni488::IbcEOS, 0x140A), ni488::CMPL);
    EXPECT_EQ(binding.ibconfig(ud, ni488::IbcEOT, 0), ni488::CMPL);
    const std::string log = driver.log();
    const std::string descriptor = std::to_string(ud);
    EXPECT_NE(log.find("ibeos(" + descriptor + ",5130)"), std::string::npos) << log;
    EXPECT_EQ(log.find("ibconfig(" + descriptor + ",37,"), std::string::npos) << log;
    EXPECT_NE(log.find("ibconfig(" + descriptor + ",4,0)"), std::string::npos) << log;
    EXPECT_EQ(driver.control().option(ud, ni488::IbcEOS), 0x140A);

    // The snapshot comes from the exported status variables.
    binding.ibwrt(ud, "ABC", 3);
    EXPECT_EQ(binding.snapshot().ibcnt, 3);
    EXPECT_EQ(binding.snapshot().ibcntl, 3);
    driver.control().injectFailure("ibtrg", ud, ni488::ENOL, 1);
    EXPECT_EQ(binding.ibtrg(ud), ni488::ERR);
    EXPECT_EQ(binding.snapshot().iberr, ni488::ENOL);
    EXPECT_EQ(binding.Iberr(), ni488::ENOL);
}

TEST(BusgateBinding, PrimaryFileWithoutIbcntFailsEvenWithTheFallbackPresent) {
    SimulatedDriver fallback(BUSGATE_SIM_GPIB32);
    Ni488Binding binding(choiceOf(BUSGATE_SIM_NI4882_NO_IBCNT, BUSGATE_SIM_GPIB32));

    EXPECT_EQ(binding.ibdev(0, 5, 0, 0, 1, 0), -1);
    EXPECT_EQ(binding.mode(), BindingMode::Unbound);
    expectBindingFailure(binding, kProcedureNotFound);
    EXPECT_EQ(fallback.log().find("ibdev("), std::string::npos);
}

TEST(BusgateBinding, MissingEntryPointFailsEveryCallWithoutUnbinding) {
    SimulatedDriver driver(BUSGATE_SIM_NI4882_NO_IBTRG);
    Ni488Binding binding(choiceOf(BUSGATE_SIM_NI4882_NO_IBTRG, BUSGATE_SIM_GPIB32));

    const int ud = binding.ibdev(0, 5, 0, 0, 1, 0);
    ASSERT_GE(ud, 0);
    for (int attempt = 0; attempt < 3; ++attempt) {
        SCOPED_TRACE(attempt);
        EXPECT_EQ(binding.ibtrg(ud), ni488::ERR);
        expectBindingFailure(binding, kProcedureNotFound);
        EXPECT_EQ(binding.mode(), BindingMode::Ni4882);
        // Other entry points keep working and clear the failure.
        EXPECT_EQ(binding.ibclr(ud), ni488::CMPL);
        EXPECT_FALSE(binding.snapshot().bindingFailed);
        EXPECT_EQ(binding.Ibsta(), ni488::CMPL);
    }
    EXPECT_EQ(driver.log().find("ibtrg("), std::string::npos);
}

TEST(BusgateBinding, ThreadStatusIsEachThreadsOwn) {
    SimulatedDriver driver(BUSGATE_SIM_NI4882);
    Ni488Binding binding(choiceOf(BUSGATE_SIM_NI4882, BUSGATE_SIM_GPIB32));
    const int ud = binding.ibdev(0, 5, 0, 0, 1, 0);
    ASSERT_GE(ud, 0);
    driver.control().injectFailure("ibclr", ud, ni488::ECIC, -1);
    const int absentUd = binding.ibdev(0, 7, 0, 0, 1, 0);

    std::vector<int> failingErrors(4, -1);
    std::vector<int> succeedingStatus(4, -1);
    std::vector<std::thread> threads;
    for (int i = 0; i < 4; ++i) {
        threads.emplace_back([&, i] {
            for (int round = 0; round < 50; ++round) {
                if (i % 2 == 0) {
                    binding.ibclr(ud);
                    failingErrors[i] = binding.ThreadIberr();
                } else {
                    binding.ibsic(absentUd);
                    succeedingStatus[i] = binding.ThreadIbsta();
                }
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(failingErrors[0], ni488::ECIC);
    EXPECT_EQ(failingErrors[2], ni488::ECIC);
    EXPECT_EQ(succeedingStatus[1], ni488::CMPL);
    EXPECT_EQ(succeedingStatus[3], ni488::CMPL);
}

TEST(BusgateBinding, ConcurrentFirstCallsAllFindTheLibraryBound) {
    SimulatedDriver driver(BUSGATE_SIM_NI4882);
    Ni488Binding binding(choiceOf(BUSGATE_SIM_NI4882, BUSGATE_SIM_GPIB32));
    std::vector<std::thread> threads;
    std::vector<int> descriptors(8, -1);
    for (int i = 0; i < 8; ++i) {
        threads.emplace_back([&, i] { descriptors[i] = binding.ibdev(0, 5, 0, 0, 1, 0); });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(binding.mode(), BindingMode::Ni4882);
    for (int descriptor : descriptors) EXPECT_GE(descriptor, 16);
}
