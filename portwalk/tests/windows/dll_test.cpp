// The built portwalk.dll as a host program sees it: loaded by name, its export table, and its
// answers on a machine without USB host controllers (as under wine).
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

using GetRootHubCountFn = std::int32_t (*)();
using GetHubPortCountFn = std::int32_t (*)(std::int32_t);
using GetPortResourceFn = void (*)(std::uint32_t, std::uint32_t, char*);

std::uint32_t u32(const std::vector<unsigned char>& bytes, std::size_t at) {
    if (at + 4 > bytes.size()) return 0;
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
           static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

std::uint16_t u16(const std::vector<unsigned char>& bytes, std::size_t at) {
    if (at + 2 > bytes.size()) return 0;
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

// The names of the export directory of a PE file, read from the file itself.
std::vector<std::string> exportedNames(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<unsigned char> image((std::istreambuf_iterator<char>(file)),
                                           std::istreambuf_iterator<char>());
    const std::uint32_t pe = u32(image, 0x3C);
    if (image.size() < 2 || u32(image, pe) != 0x00004550) return {};  // "PE\0\0"
    const std::size_t coff = pe + 4;
    const std::uint16_t sectionCount = u16(image, coff + 2);
    const std::size_t optional = coff + 20;
    const std::uint16_t optionalSize = u16(image, coff + 16);
    // The data directories follow the fields whose width differs between PE32 and PE32+.
    const std::uint16_t magic = u16(image, optional);
    if (magic != 0x10B && magic != 0x20B) return {};  // PE32, PE32+
    const std::size_t dataDirectories = optional + (magic == 0x10B ? 96 : 112);
    const std::uint32_t exportRva = u32(image, dataDirectories);

    // Virtual addresses map to file offsets through the section table.
    const std::size_t sections = optional + optionalSize;
    auto fileOffset = [&](std::uint32_t rva) -> std::size_t {
        for (std::uint16_t s = 0; s < sectionCount; ++s) {
            const std::size_t header = sections + 40u * s;
            const std::uint32_t address = u32(image, header + 12);
            const std::uint32_t size = u32(image, header + 16);  // size of raw data
            if (rva >= address && rva < address + size) {
                return rva - address + u32(image, header + 20);
            }
        }
        return image.size();
    };

    const std::size_t directory = fileOffset(exportRva);
    const std::uint32_t nameCount = u32(image, directory + 24);
    const std::size_t namePointers = fileOffset(u32(image, directory + 32));
    std::vector<std::string> names;
    for (std::uint32_t i = 0; i < nameCount; ++i) {
        std::size_t at = fileOffset(u32(image, namePointers + 4 * i));
        std::string name;
        while (at < image.size() && image[at] != 0) name.push_back(static_cast<char>(image[at++]));
        names.push_back(name);
    }
    return names;
}

class PortwalkDll : public ::testing::Test {
  protected:
    void SetUp() override {
        module_ = LoadLibraryA(PORTWALK_DLL_NAME);
        ASSERT_NE(module_, nullptr) << PORTWALK_DLL_NAME << " does not load";
    }
    void TearDown() override {
        if (module_ != nullptr) FreeLibrary(module_);
    }

    template <typename Fn>
    Fn function(const char* name) {
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
    }

    HMODULE module_ = nullptr;
};

TEST_F(PortwalkDll, ExportsExactlyTheThreeUndecoratedNames) {
    char path[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameA(module_, path, MAX_PATH), 0u);
    EXPECT_EQ(exportedNames(path),
              (std::vector<std::string>{"GetHubPortCount", "GetPortResource", "GetRootHubCount"}));
    EXPECT_NE(function<GetRootHubCountFn>("GetRootHubCount"), nullptr);
    EXPECT_NE(function<GetHubPortCountFn>("GetHubPortCount"), nullptr);
    EXPECT_NE(function<GetPortResourceFn>("GetPortResource"), nullptr);
}

TEST_F(PortwalkDll, AnswersNoControllerWhereNoneCanBeOpened) {
    const auto getRootHubCount = function<GetRootHubCountFn>("GetRootHubCount");
    const auto getHubPortCount = function<GetHubPortCountFn>("GetHubPortCount");
    const auto getPortResource = function<GetPortResourceFn>("GetPortResource");
    ASSERT_TRUE(getRootHubCount && getHubPortCount && getPortResource);

    char resource[41];
    std::memset(resource, 'x', sizeof resource);
    // Before the first scan the list is empty.
    EXPECT_EQ(getHubPortCount(0), 0);
    getPortResource(0, 0, resource);
    EXPECT_EQ(std::string(resource, sizeof resource), std::string(41, 'x'));

    EXPECT_EQ(getRootHubCount(), 0);
    EXPECT_EQ(getHubPortCount(0), 0);
    getPortResource(0, 0, resource);
    EXPECT_EQ(std::string(resource, sizeof resource), std::string(41, 'x'));
}

}  // namespace
