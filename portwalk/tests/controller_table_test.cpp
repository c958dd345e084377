// The list behind the three exports: counts, out-of-range indexes and the resource text bytes.
#include "controller_table.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

namespace portwalk {
namespace {

constexpr std::uint16_t kMaker = 0x0ABC;

const std::string kUntouched(kResourceSize, 'x');

std::string resourceBytes(const ControllerTable& table, std::uint32_t controller,
                          std::uint32_t port) {
    char resource[kResourceSize];
    std::memset(resource, 'x', sizeof resource);
    table.writeResource(controller, port, resource);
    return std::string(resource, sizeof resource);
}

ControllerList twoControllers() {
    ControllerList controllers(2);
    controllers[0].path = "\\\\.\\HCD0";
    controllers[0].ports = {PortEntry{kMaker, 0x0001, "A"}, PortEntry{}, PortEntry{0x1111, 2, "B"}};
    controllers[1].path = "\\\\.\\HCD3";
    return controllers;
}

TEST(PortwalkControllerTable, BeforeTheFirstScanTheListIsEmpty) {
    const ControllerTable table(kMaker);
    EXPECT_EQ(table.controllerCount(), 0);
    EXPECT_EQ(table.portCount(0), 0);
    EXPECT_EQ(resourceBytes(table, 0, 0), kUntouched);
}

TEST(PortwalkControllerTable, IndexesOutOfRange) {
    ControllerTable table(kMaker);
    ASSERT_EQ(table.replace(twoControllers()), 2);
    EXPECT_EQ(table.portCount(0), 3);
    EXPECT_EQ(table.portCount(1), 0);

    struct Case {
        std::int32_t controller;
        std::int32_t expectedPorts;
    };
    for (const Case& c : {Case{2, 0}, Case{-1, 0}, Case{INT_MIN, 0}, Case{INT_MAX, 0}}) {
        EXPECT_EQ(table.portCount(c.controller), c.expectedPorts) << c.controller;
    }
    struct Resource {
        std::uint32_t controller;
        std::uint32_t port;
    };
    for (const Resource& r : {Resource{0, 3}, Resource{1, 0}, Resource{2, 0},
                              Resource{0xFFFFFFFF, 0}, Resource{0, 0xFFFFFFFF}}) {
        EXPECT_EQ(resourceBytes(table, r.controller, r.port), kUntouched)
            << r.controller << "/" << r.port;
    }
}

TEST(PortwalkControllerTable, WritesTheTextAndItsTerminatorOnly) {
    ControllerTable table(kMaker);
    table.replace(twoControllers());
    EXPECT_EQ(resourceBytes(table, 0, 0),
              std::string("USB::0x0abc::0x0001::A") + '\0' + std::string(18, 'x'));
    EXPECT_EQ(resourceBytes(table, 0, 1), std::string("-") + '\0' + std::string(39, 'x'));
    EXPECT_EQ(resourceBytes(table, 0, 2), std::string("-") + '\0' + std::string(39, 'x'));
}

TEST(PortwalkControllerTable, LongestTextFillsTheDocumentedSize) {
    ControllerTable table(kMaker);
    ControllerList controllers(1);
    controllers[0].ports = {PortEntry{kMaker, 0xFFFF, std::string(30, 'S')}};
    table.replace(controllers);
    EXPECT_EQ(resourceBytes(table, 0, 0),
              std::string("USB::0x0abc::0xffff::") + std::string(19, 'S') + '\0');
}

TEST(PortwalkControllerTable, EveryScanReplacesTheWholeList) {
    ControllerTable table(kMaker);
    table.replace(twoControllers());
    EXPECT_EQ(table.replace(ControllerList(1)), 1);
    EXPECT_EQ(table.portCount(0), 0);
    EXPECT_EQ(resourceBytes(table, 0, 0), kUntouched);
    EXPECT_EQ(table.replace({}), 0);
}

TEST(PortwalkControllerTable, BuiltInVendorIdIsTheMakers) {
    ControllerTable table;
    ControllerList controllers(1);
    controllers[0].ports = {PortEntry{MakerVendorId, 1, "M"},
                            PortEntry{static_cast<std::uint16_t>(MakerVendorId ^ 1), 1, "N"}};
    table.replace(controllers);
    EXPECT_EQ(resourceBytes(table, 0, 0).substr(0, 7), "USB::0x");
    EXPECT_EQ(resourceBytes(table, 0, 0).substr(11, 13), std::string("::0x0001::M") + '\0' + 'x');
    EXPECT_EQ(resourceBytes(table, 0, 1).substr(0, 2), std::string("-") + '\0');
}

}  // namespace
}  // namespace portwalk
