// The sysfs walk against fixture trees laid out like /sys: device folders under devices/, the
// bus folder holding links to them.
#include "sysfs_walk.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "controller_table.h"

namespace portwalk {
namespace {

namespace fs = std::filesystem;

constexpr std::uint16_t kMaker = 0x0ABC;

using Attributes = std::map<std::string, std::string>;

class SysfsTree {
  public:
    SysfsTree() {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        // Unique across processes: other builds may run the same test at the same time.
        static int treeNumber = 0;
        root_ = fs::temp_directory_path() /
                ("portwalk-sysfs-" + std::string(test->name()) + "-" + std::to_string(::getpid()) +
                 "-" + std::to_string(++treeNumber));
        fs::remove_all(root_);
        fs::create_directories(bus());
    }
    ~SysfsTree() {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }

    fs::path bus() const { return root_ / "bus"; }

    // A device folder with its attribute files, linked from the bus folder like sysfs does.
    void add(const std::string& name, const Attributes& attributes) {
        const fs::path device = root_ / "devices" / name;
        fs::create_directories(device);
        for (const auto& [file, text] : attributes) std::ofstream(device / file) << text;
        fs::create_directory_symlink(device, bus() / name);
    }

    void rootHub(int bus, int ports) {
        add("usb" + std::to_string(bus), {{"idVendor", "1d6b\n"},
                                          {"idProduct", "0002\n"},
                                          {"bDeviceClass", "09\n"},
                                          {"maxchild", std::to_string(ports) + "\n"}});
    }

    void hub(const std::string& name, int ports) {
        add(name, {{"idVendor", "05e3\n"},
                   {"idProduct", "0608\n"},
                   {"bDeviceClass", "09\n"},
                   {"maxchild", std::to_string(ports) + "\n"}});
    }

    void device(const std::string& name, const std::string& vendor, const std::string& product,
                const std::string& serial) {
        Attributes attributes = {{"idVendor", vendor + "\n"},
                                 {"idProduct", product + "\n"},
                                 {"bDeviceClass", "00\n"},
                                 {"maxchild", "0\n"}};
        if (!serial.empty()) attributes["serial"] = serial + "\n";
        add(name, attributes);
    }

  private:
    fs::path root_;
};

std::vector<std::string> resourcesOf(const ControllerList& controllers, std::uint32_t index) {
    ControllerTable table(kMaker);
    table.replace(controllers);
    std::vector<std::string> texts;
    for (std::int32_t port = 0; port < table.portCount(static_cast<std::int32_t>(index)); ++port) {
        char resource[kResourceSize];
        std::memset(resource, 'x', sizeof resource);
        table.writeResource(index, static_cast<std::uint32_t>(port), resource);
        texts.emplace_back(resource, strnlen(resource, sizeof resource));
    }
    return texts;
}

TEST(PortwalkSysfs, RootHubWithMakerAndForeignDevices) {
    SysfsTree tree;
    tree.rootHub(1, 4);
    tree.device("1-1", "0abc", "0001", "SN1");
    tree.device("1-3", "046d", "c077", "F00");
    tree.device("1-4", "0ABC", "BEEF", "");
    const ControllerList controllers = scanSysfs(tree.bus().string());
    ASSERT_EQ(controllers.size(), 1u);
    EXPECT_EQ(
        resourcesOf(controllers, 0),
        (std::vector<std::string>{"USB::0x0abc::0x0001::SN1", "-", "-", "USB::0x0abc::0xbeef::"}));
}

TEST(PortwalkSysfs, ExternalHubIsWalkedInPlace) {
    SysfsTree tree;
    tree.rootHub(1, 4);
    tree.device("1-1", "0abc", "0001", "R1");
    tree.hub("1-2", 3);
    tree.device("1-2.1", "0abc", "0011", "H1");
    tree.hub("1-2.3", 2);
    tree.device("1-2.3.2", "0abc", "0132", "HH2");
    tree.device("1-3", "0abc", "0003", "R3");
    const ControllerList controllers = scanSysfs(tree.bus().string());
    ASSERT_EQ(controllers.size(), 1u);
    EXPECT_EQ(
        resourcesOf(controllers, 0),
        (std::vector<std::string>{"USB::0x0abc::0x0001::R1", "USB::0x0abc::0x0011::H1", "-", "-",
                                  "USB::0x0abc::0x0132::HH2", "USB::0x0abc::0x0003::R3", "-"}));
}

TEST(PortwalkSysfs, RootHubsInAscendingBusNumber) {
    SysfsTree tree;
    tree.rootHub(10, 1);
    tree.device("10-1", "0abc", "0010", "TEN");
    tree.rootHub(2, 1);
    tree.device("2-1", "0abc", "0002", "TWO");
    tree.rootHub(17, 1);  // beyond the sixteen controllers
    tree.device("17-1", "0abc", "0017", "SEVENTEEN");
    tree.add("usb3", {});  // no maxchild: listed without ports
    const ControllerList controllers = scanSysfs(tree.bus().string());
    ASSERT_EQ(controllers.size(), 3u);
    EXPECT_EQ(resourcesOf(controllers, 0), std::vector<std::string>{"USB::0x0abc::0x0002::TWO"});
    EXPECT_TRUE(controllers[1].ports.empty());
    EXPECT_EQ(resourcesOf(controllers, 2), std::vector<std::string>{"USB::0x0abc::0x0010::TEN"});
}

TEST(PortwalkSysfs, DeviceAttributes) {
    struct Case {
        const char* name;
        Attributes attributes;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"serial cut to 19 characters",
         {{"idVendor", "0abc\n"},
          {"idProduct", "0001\n"},
          {"serial", "ABCDEFGHIJKLMNOPQRSTUVWXYZ\n"}},
         "USB::0x0abc::0x0001::ABCDEFGHIJKLMNOPQRS"},
        {"attributes without newline",
         {{"idVendor", "0abc"}, {"idProduct", "1"}, {"serial", "X"}},
         "USB::0x0abc::0x0001::X"},
        {"malformed vendor id", {{"idVendor", "0abz\n"}, {"idProduct", "0001\n"}}, "-"},
        {"vendor id too large", {{"idVendor", "10abc\n"}, {"idProduct", "0001\n"}}, "-"},
        {"missing product id", {{"idVendor", "0abc\n"}}, "USB::0x0abc::0x0000::"},
        {"hub class without ports",
         {{"idVendor", "0abc\n"},
          {"idProduct", "0009\n"},
          {"bDeviceClass", "09\n"},
          {"maxchild", "0\n"}},
         "USB::0x0abc::0x0009::"},
        {"ports without hub class",
         {{"idVendor", "0abc\n"},
          {"idProduct", "0008\n"},
          {"bDeviceClass", "ff\n"},
          {"maxchild", "4\n"}},
         "USB::0x0abc::0x0008::"},
    };
    for (const Case& c : cases) {
        SysfsTree tree;
        tree.rootHub(1, 1);
        tree.add("1-1", c.attributes);
        EXPECT_EQ(resourcesOf(scanSysfs(tree.bus().string()), 0),
                  std::vector<std::string>{c.expected})
            << c.name;
    }
}

TEST(PortwalkSysfs, MissingRootGivesNoControllers) {
    EXPECT_TRUE(scanSysfs("/nonexistent/portwalk/bus").empty());
}

TEST(PortwalkSysfs, ImplausiblePortCountGivesNoPorts) {
    SysfsTree tree;
    tree.add("usb1", {{"maxchild", "100000\n"}});
    tree.rootHub(2, 300);
    const ControllerList controllers = scanSysfs(tree.bus().string());
    ASSERT_EQ(controllers.size(), 2u);
    EXPECT_TRUE(controllers[0].ports.empty());
    EXPECT_TRUE(controllers[1].ports.empty());
}

}  // namespace
}  // namespace portwalk
