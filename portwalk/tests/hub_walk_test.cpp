// The hub driver walk against the simulated driver: the controller list it builds, the resource
// texts of its ports and the request bytes it sends.
#include "hub_walk.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "controller_table.h"
#include "hub_driver_layout.h"
#include "simulated_hub_driver.h"

namespace portwalk {
namespace {

using namespace testing;
using namespace layout;

constexpr std::uint16_t kMaker = 0x0ABC;
constexpr std::uint16_t kEnglish = 0x0409;

SimulatedPort makerDevice(std::uint16_t productId, const std::u16string& serial) {
    SimulatedPort port;
    port.status = kConnected;
    port.vendorId = kMaker;
    port.productId = productId;
    port.serialIndex = 3;
    port.languages = {kEnglish};
    port.serialByLanguage = {{kEnglish, serial}};
    return port;
}

SimulatedPort foreignDevice() {
    SimulatedPort port = makerDevice(0x0001, u"OTHER");
    port.vendorId = 0x1234;
    return port;
}

SimulatedPort hubDevice(const std::u16string& name) {
    SimulatedPort port;
    port.status = kConnected;
    port.vendorId = 0x05E3;
    port.productId = 0x0608;
    port.downstreamHub = name;
    return port;
}

// The resource text of every port of one controller, as GetPortResource writes them.
std::vector<std::string> resourcesOf(const ControllerList& controllers, std::uint32_t index) {
    ControllerTable table(kMaker);
    table.replace(controllers);
    std::vector<std::string> texts;
    for (std::int32_t port = 0; port < table.portCount(static_cast<std::int32_t>(index)); ++port) {
        char resource[kResourceSize + 1];
        std::memset(resource, 'x', sizeof resource);
        table.writeResource(index, static_cast<std::uint32_t>(port), resource);
        EXPECT_EQ(resource[kResourceSize], 'x') << "text overran the documented size";
        texts.emplace_back(resource);
    }
    return texts;
}

// One controller whose root hub carries the given ports.
ControllerList scanOneRootHub(SimulatedHubDriver& driver, std::vector<SimulatedPort> ports) {
    driver.addController(0, u"USB#ROOT_HUB20#4&1");
    driver.addHub(u"USB#ROOT_HUB20#4&1", std::move(ports));
    return scanHubDriver(driver);
}

TEST(PortwalkHubWalk, NoControllerAnswersAnEmptyList) {
    SimulatedHubDriver driver;
    ControllerTable table(kMaker);
    EXPECT_EQ(table.replace(scanHubDriver(driver)), 0);
    EXPECT_EQ(table.portCount(0), 0);
    char resource[kResourceSize];
    std::memset(resource, 'x', sizeof resource);
    table.writeResource(0, 0, resource);
    EXPECT_EQ(std::string(resource, sizeof resource), std::string(kResourceSize, 'x'));

    std::vector<std::string> expectedPaths;
    for (int n = 0; n < 16; ++n) expectedPaths.push_back("\\\\.\\HCD" + std::to_string(n));
    EXPECT_EQ(driver.openedPaths(), expectedPaths);
}

TEST(PortwalkHubWalk, RootHubWithFourEmptyPorts) {
    SimulatedHubDriver driver;
    const ControllerList controllers = scanOneRootHub(driver, std::vector<SimulatedPort>(4));
    ASSERT_EQ(controllers.size(), 1u);
    EXPECT_EQ(controllers[0].path, "\\\\.\\HCD0");
    EXPECT_EQ(resourcesOf(controllers, 0), std::vector<std::string>(4, "-"));
    for (const PortEntry& port : controllers[0].ports) {
        EXPECT_EQ(port.vendorId, 0);
        EXPECT_EQ(port.productId, 0);
    }
}

TEST(PortwalkHubWalk, ExternalHubIsWalkedInPlaceOfItsPort) {
    SimulatedHubDriver driver;
    driver.addHub(u"USB#VID_05E3&PID_0608#5&2",
                  {makerDevice(0x0011, u"H1"), SimulatedPort{}, makerDevice(0x0013, u"H3")});
    const ControllerList controllers =
        scanOneRootHub(driver, {makerDevice(0x0001, u"R1"), hubDevice(u"USB#VID_05E3&PID_0608#5&2"),
                                makerDevice(0x0003, u"R3"), foreignDevice()});
    const std::vector<std::string> expected = {
        "USB::0x0abc::0x0001::R1", "USB::0x0abc::0x0011::H1", "-",
        "USB::0x0abc::0x0013::H3", "USB::0x0abc::0x0003::R3", "-"};
    EXPECT_EQ(resourcesOf(controllers, 0), expected);
    EXPECT_EQ(driver.openedPaths().at(1), "\\\\.\\USB#ROOT_HUB20#4&1");
    EXPECT_EQ(driver.openedPaths().at(2), "\\\\.\\USB#VID_05E3&PID_0608#5&2");
}

TEST(PortwalkHubWalk, ResourceTextsOfSingleDevices) {
    struct Case {
        const char* name;
        SimulatedPort port;
        const char* expected;
    };
    SimulatedPort noSerial = makerDevice(0x12AB, u"");
    noSerial.serialIndex = 0;
    SimulatedPort failed = makerDevice(0x12AB, u"A7");
    failed.status = kFailedEnumeration;
    SimulatedPort generalFailure = makerDevice(0x0002, u"A7");
    generalFailure.status = kGeneralFailure;
    SimulatedPort noLanguages = makerDevice(0x12AB, u"A7");
    noLanguages.languages.clear();
    SimulatedPort shortConfiguration = makerDevice(0x12AB, u"A7");
    shortConfiguration.configurationLength = 9;
    SimulatedPort wideSerial = makerDevice(0x0005, u"\u00c4\u4e2d9");
    const std::vector<Case> cases = {
        {"maker device", makerDevice(0x12AB, u"A7"), "USB::0x0abc::0x12ab::A7"},
        {"product id 1", makerDevice(0x0001, u"SN"), "USB::0x0abc::0x0001::SN"},
        {"lower-case hex", makerDevice(0xBEEF, u"X"), "USB::0x0abc::0xbeef::X"},
        {"no serial string", noSerial, "USB::0x0abc::0x12ab::"},
        {"failed enumeration", failed, "USB::0x0abc::0x12ab::"},
        {"general failure", generalFailure, "USB::0x0abc::0x0002::"},
        {"no language list", noLanguages, "USB::0x0abc::0x12ab::"},
        {"configuration of header size", shortConfiguration, "USB::0x0abc::0x12ab::A7"},
        {"serial of 19 characters", makerDevice(0x0004, u"ABCDEFGHIJKLMNOPQRS"),
         "USB::0x0abc::0x0004::ABCDEFGHIJKLMNOPQRS"},
        {"serial cut to 19 characters", makerDevice(0x0004, u"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123"),
         "USB::0x0abc::0x0004::ABCDEFGHIJKLMNOPQRS"},
        {"serial through the code page", wideSerial, "USB::0x0abc::0x0005::\xc4?9"},
        {"foreign vendor", foreignDevice(), "-"},
    };
    for (const Case& c : cases) {
        SimulatedHubDriver driver;
        const ControllerList controllers = scanOneRootHub(driver, {c.port});
        EXPECT_EQ(resourcesOf(controllers, 0), std::vector<std::string>{c.expected}) << c.name;
    }
}

TEST(PortwalkHubWalk, FailedEnumerationKeepsReportedIdsAndSendsNoDescriptorRequest) {
    SimulatedPort failed = makerDevice(0x4321, u"A7");
    failed.status = kFailedEnumeration;
    SimulatedHubDriver driver;
    const ControllerList controllers = scanOneRootHub(driver, {failed});
    ASSERT_EQ(controllers.at(0).ports.size(), 1u);
    EXPECT_EQ(controllers[0].ports[0].vendorId, kMaker);
    EXPECT_EQ(controllers[0].ports[0].productId, 0x4321);
    EXPECT_TRUE(driver.requestsOf(UsbRequest::DescriptorFromNodeConnection).empty());
}

TEST(PortwalkHubWalk, LanguageListWalkKeepsTheLastGoodString) {
    struct Case {
        const char* name;
        std::map<std::uint16_t, std::u16string> serials;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"every language answers",
         {{0x0409, u"EN"}, {0x0407, u"DE"}, {0x040C, u"FR"}},
         "USB::0x0abc::0x0001::FR"},
        {"last language fails", {{0x0409, u"EN"}, {0x0407, u"DE"}}, "USB::0x0abc::0x0001::DE"},
        {"middle language fails", {{0x0409, u"EN"}, {0x040C, u"FR"}}, "USB::0x0abc::0x0001::FR"},
        {"only the first answers", {{0x0409, u"EN"}}, "USB::0x0abc::0x0001::EN"},
        {"none answers", {}, "USB::0x0abc::0x0001::"},
    };
    for (const Case& c : cases) {
        SimulatedPort port = makerDevice(0x0001, u"");
        port.languages = {0x0409, 0x0407, 0x040C};
        port.serialByLanguage = c.serials;
        SimulatedHubDriver driver;
        EXPECT_EQ(resourcesOf(scanOneRootHub(driver, {port}), 0),
                  std::vector<std::string>{c.expected})
            << c.name;

        // Descriptor 0 in language 0, then the serial string once per listed language.
        std::vector<std::pair<std::uint16_t, std::uint16_t>> strings;
        for (const Request& r : driver.requestsOf(UsbRequest::DescriptorFromNodeConnection)) {
            if (readU16(r.input, kRequestWValue) >> 8 == kStringDescriptorType) {
                strings.emplace_back(readU16(r.input, kRequestWValue),
                                     readU16(r.input, kRequestWIndex));
            }
        }
        const std::vector<std::pair<std::uint16_t, std::uint16_t>> expected = {
            {0x0300, 0}, {0x0303, 0x0409}, {0x0303, 0x0407}, {0x0303, 0x040C}};
        EXPECT_EQ(strings, expected) << c.name;
    }
}

TEST(PortwalkHubWalk, ControllersInAscendingNumberWithGaps) {
    SimulatedHubDriver driver;
    driver.addController(7, u"ROOT7");
    driver.addHub(u"ROOT7", {makerDevice(0x0007, u"S7")});
    driver.addController(2, u"ROOT2");
    driver.addHub(u"ROOT2", {SimulatedPort{}, makerDevice(0x0002, u"S2")});
    driver.addController(4, u"");      // root hub name cannot be read
    driver.addController(5, u"GONE");  // root hub cannot be opened
    driver.addController(6, u"MUTE");  // root hub answers no node information
    driver.addHub(u"MUTE", {makerDevice(0x0006, u"S6")}).failNodeInformation = true;

    const ControllerList controllers = scanHubDriver(driver);
    std::vector<std::string> paths;
    std::vector<std::size_t> portCounts;
    for (const ControllerEntry& controller : controllers) {
        paths.push_back(controller.path);
        portCounts.push_back(controller.ports.size());
    }
    EXPECT_EQ(paths, (std::vector<std::string>{"\\\\.\\HCD2", "\\\\.\\HCD4", "\\\\.\\HCD5",
                                               "\\\\.\\HCD6", "\\\\.\\HCD7"}));
    EXPECT_EQ(portCounts, (std::vector<std::size_t>{2, 0, 0, 0, 1}));
    EXPECT_EQ(resourcesOf(controllers, 0),
              (std::vector<std::string>{"-", "USB::0x0abc::0x0002::S2"}));
    EXPECT_EQ(resourcesOf(controllers, 4), std::vector<std::string>{"USB::0x0abc::0x0007::S7"});
}

TEST(PortwalkHubWalk, EveryHandleIsClosedOnce) {
    SimulatedHubDriver driver;
    driver.addHub(u"EXT", {makerDevice(0x0011, u"H1"), hubDevice(u"MISSING")});
    driver.addController(1, u"MUTE");
    driver.addHub(u"MUTE", {}).failNodeInformation = true;
    scanOneRootHub(driver, {hubDevice(u"EXT"), makerDevice(0x0002, u"R2")});
    EXPECT_EQ(driver.openHandles(), 0u);
    EXPECT_EQ(driver.badCloses(), 0);
}

TEST(PortwalkHubWalk, PortWithoutConnectionInformationIsLeftOut) {
    SimulatedHubDriver driver;
    driver.replace = [](const Request& r) -> std::optional<Reply> {
        if (r.request == UsbRequest::NodeConnectionInformation &&
            readU32(r.input, kConnectionIndex) == 2) {
            return Reply{false, {}, std::nullopt};
        }
        return std::nullopt;
    };
    const ControllerList controllers = scanOneRootHub(
        driver, {makerDevice(0x0001, u"A"), makerDevice(0x0002, u"B"), makerDevice(0x0003, u"C")});
    EXPECT_EQ(resourcesOf(controllers, 0),
              (std::vector<std::string>{"USB::0x0abc::0x0001::A", "USB::0x0abc::0x0003::C"}));
}

TEST(PortwalkHubWalk, HubWhoseNameCannotBeReadIsAnOrdinaryPort) {
    SimulatedHubDriver driver;
    SimulatedPort makerHub = hubDevice(u"NOT-THERE");
    makerHub.vendorId = kMaker;
    SimulatedPort unnamedHub = hubDevice(u"UNNAMED");
    driver.replace = [](const Request& r) -> std::optional<Reply> {
        if (r.request == UsbRequest::NodeConnectionName && readU32(r.input, 0) == 2) {
            return Reply{false, {}, std::nullopt};
        }
        return std::nullopt;
    };
    // Port 1: the named hub cannot be opened, so it contributes no ports and no entry.
    const ControllerList controllers = scanOneRootHub(driver, {makerHub, unnamedHub});
    EXPECT_EQ(resourcesOf(controllers, 0), std::vector<std::string>{"-"});
}

TEST(PortwalkHubWalk, HubsNestedPastTheLimitEndThere) {
    SimulatedHubDriver driver;
    const int hubs = kMaxHubNesting + 2;
    for (int level = 1; level <= hubs; ++level) {
        const std::u16string next = u"HUB" + std::u16string(1, char16_t(u'A' + level));
        driver.addHub(u"HUB" + std::u16string(1, char16_t(u'A' + level - 1)),
                      {hubDevice(next), makerDevice(static_cast<std::uint16_t>(level), u"L")});
    }
    const ControllerList controllers = scanOneRootHub(driver, {hubDevice(u"HUBA")});
    // Each nesting level adds its device port; the deepest hub port followed is kept as an entry.
    ASSERT_EQ(controllers.at(0).ports.size(), static_cast<std::size_t>(kMaxHubNesting) + 1);
    EXPECT_EQ(controllers[0].ports.front().vendorId, 0x05E3);
    EXPECT_EQ(controllers[0].ports.back().productId, 1);
    EXPECT_EQ(driver.openHandles(), 0u);
}

TEST(PortwalkHubWalk, AHubIsWalkedOncePerScan) {
    SimulatedHubDriver driver;
    // Every port of LOOP names LOOP again, and the second controller answers the root hub of the
    // first: a walk that followed them would list LOOP's ports 3 to the power of 8 times.
    driver.addHub(u"LOOP", {hubDevice(u"LOOP"), hubDevice(u"LOOP"), hubDevice(u"LOOP"),
                            makerDevice(0x0001, u"L")});
    driver.addController(1, u"USB#ROOT_HUB20#4&1");
    const ControllerList controllers = scanOneRootHub(driver, {hubDevice(u"LOOP")});
    ASSERT_EQ(controllers.size(), 2u);
    EXPECT_EQ(resourcesOf(controllers, 0),
              (std::vector<std::string>{"-", "-", "-", "USB::0x0abc::0x0001::L"}));
    EXPECT_TRUE(controllers[1].ports.empty());
    EXPECT_EQ(driver.requestsOf(UsbRequest::NodeInformation).size(), 2u);
    EXPECT_EQ(driver.openHandles(), 0u);
}

TEST(PortwalkHubWalk, RequestBuffersHaveTheDriverLayout) {
    SimulatedHubDriver driver;
    driver.addHub(u"EXT", {makerDevice(0x0011, u"H1")});
    scanOneRootHub(driver, {SimulatedPort{}, hubDevice(u"EXT")});

    const auto names = driver.requestsOf(UsbRequest::RootHubName);
    ASSERT_EQ(names.size(), 2u);
    EXPECT_TRUE(names[0].input.empty());
    EXPECT_EQ(names[0].outputSize, 6u);
    EXPECT_EQ(names[1].outputSize, 4u + 2 * (18 + 1));  // "USB#ROOT_HUB20#4&1" and its zero

    const auto nodes = driver.requestsOf(UsbRequest::NodeInformation);
    ASSERT_EQ(nodes.size(), 2u);
    EXPECT_EQ(nodes[0].input, Bytes(76, 0));
    EXPECT_EQ(nodes[0].outputSize, 76u);

    const auto connections = driver.requestsOf(UsbRequest::NodeConnectionInformation);
    ASSERT_EQ(connections.size(), 3u);
    Bytes expectedConnection(365, 0);
    expectedConnection[0] = 2;
    EXPECT_EQ(connections[1].input, expectedConnection);
    EXPECT_EQ(connections[1].outputSize, 365u);

    const auto hubNames = driver.requestsOf(UsbRequest::NodeConnectionName);
    ASSERT_EQ(hubNames.size(), 2u);
    EXPECT_EQ(hubNames[0].input, (Bytes{2, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(hubNames[1].outputSize, 8u + 2 * (3 + 1));
    EXPECT_EQ(readU32(hubNames[1].input, 0), 2u);

    // The hub's device is read too (configuration only, it has no serial number index); the
    // device behind it: configuration header, whole configuration, languages, serial.
    const auto descriptors = driver.requestsOf(UsbRequest::DescriptorFromNodeConnection);
    ASSERT_EQ(descriptors.size(), 6u);
    Bytes header(21, 0);
    header[0] = 2;
    header[7] = 0x02;
    header[10] = 9;
    EXPECT_EQ(descriptors[0].input, header);
    EXPECT_EQ(descriptors[2].input.size(), 21u);
    EXPECT_EQ(descriptors[3].input.size(), 12u + 34);
    EXPECT_EQ(readU16(descriptors[3].input, kRequestWLength), 34);
    Bytes serial(267, 0);
    serial[0] = 1;
    serial[6] = 3;
    serial[7] = 3;
    serial[8] = 0x09;
    serial[9] = 0x04;
    serial[10] = 255;
    EXPECT_EQ(descriptors[5].input, serial);
}

}  // namespace
}  // namespace portwalk
