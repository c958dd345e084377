#pragma once
// Independent helpers of the table tests: they build the expected image bytes
// and texts from the rules of the format, not through the code under test.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "datablocks/tables/hwtabledatablock.h"

namespace quenmap::test {

using Image = std::vector<std::uint8_t>;

inline void putLittleEndian(Image& image, std::size_t offset, std::uint64_t value,
                            std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) {
        image.at(offset + i) = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

inline std::uint64_t getLittleEndian(const Image& image, std::size_t offset, std::size_t width) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < width; ++i) {
        value |= static_cast<std::uint64_t>(image.at(offset + i)) << (8 * i);
    }
    return value;
}

// Sets bytes 4-5 so that all 16-bit words of the image sum to 0.
inline void sealChecksum(Image& image) {
    image[4] = image[5] = 0;
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i + 1 < image.size(); i += 2) sum += image[i] | (image[i + 1] << 8);
    putLittleEndian(image, 4, (0x10000u - (sum & 0xFFFFu)) & 0xFFFFu, 2);
}

inline std::size_t widthOf(CellType type) {
    switch (type) {
        case CellType::U8:
            return 1;
        case CellType::I16:
        case CellType::U16:
            return 2;
        case CellType::F64:
            return 8;
        default:
            return 4;
    }
}

// An image of the given table with only its header and counts filled.
inline Image tableImage(const TableDescriptor& type, std::uint32_t instance, std::uint32_t rows,
                        std::uint32_t columns) {
    Image image(type.size, 0);
    putLittleEndian(image, 0, type.baseId + instance, 2);
    putLittleEndian(image, 2, type.size, 2);
    putLittleEndian(image, 8, rows, 4);
    putLittleEndian(image, 12, columns, 4);
    return image;
}

inline std::size_t cellAt(const TableDescriptor& type, std::uint32_t row, std::uint32_t column) {
    return 16 + widthOf(type.shape.cell) * (row * type.shape.columns + column);
}

template <typename... Args>
std::string printed(const char* format, Args... args) {
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, format, args...);
    return buffer;
}

inline std::vector<const TableDescriptor*> allTableTypes() {
    std::vector<const TableDescriptor*> types;
    for (const TableDescriptor* type = tableDescriptorsBegin(); type != tableDescriptorsEnd();
         ++type) {
        types.push_back(type);
    }
    return types;
}

inline std::string kindName(const TableDescriptor* type) {
    std::string name = type->className;
    return name.substr(name.find("Hw") == 0 ? 11 : 0);  // drop "HwDatablock"
}

}  // namespace quenmap::test
