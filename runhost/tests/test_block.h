#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace runhost_test {

// The fields of a data block as a test wants them; absent texts get offset 0.
struct BlockSpec {
    std::string magic = std::string("V1NCC4000NXC1000NRT1000", 24);
    std::string major = "7";
    std::string minor = "14";
    std::string updater = "2";
    std::string uuid = "3f2a9c4e-0d1b-4c55-9e77-1a2b3c4d5e6f";
    std::uint32_t mainFlag = 3;
    std::uint32_t embeddedValue = 305419896;
    std::uint32_t embeddedValueHigh = 9;
    std::optional<std::string> startMessage;
    std::optional<std::string> completeMessage;
    std::optional<std::string> componentText;
    std::optional<std::string> componentList;
    std::optional<std::string> mainText;
    std::uint32_t length = 8192;  // the block's size and its trailer
};

// The block's bytes: texts back to front from the end of the text area.
std::vector<std::uint8_t> BuildBlock(const BlockSpec& blockSpec);

// Overwrites the 32-bit little-endian field at offset.
void PutU32(std::vector<std::uint8_t>& block, std::size_t offset, std::uint32_t value);

bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> ReadFile(const std::string& path);

}  // namespace runhost_test
