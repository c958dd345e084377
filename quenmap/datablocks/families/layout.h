#pragma once
// The pieces every catalogue family is made of: typed little-endian access to
// payload elements, and the layouts of the count field at bytes 8 and on.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "datablocks/bytes.h"

namespace quenmap {

// Reads and writes one payload element of type T; reads beyond the bytes
// answer 0 and writes beyond them do nothing (see bytes.h).
template <typename T>
struct ElementCodec {
    static_assert(std::is_arithmetic_v<T>, "payload elements are numbers");
    static constexpr std::size_t kWidth = sizeof(T);

    static T read(const Bytes& bytes, std::size_t offset) {
        if (!fits(bytes, offset, kWidth)) return T{};
        std::uint64_t raw = 0;
        for (std::size_t i = 0; i < kWidth; ++i) {
            raw |= static_cast<std::uint64_t>(bytes[offset + i]) << (8 * i);
        }
        return fromRaw(raw);
    }

    static bool write(Bytes& bytes, std::size_t offset, T value) {
        if (!fits(bytes, offset, kWidth)) return false;
        std::uint64_t raw = toRaw(value);
        for (std::size_t i = 0; i < kWidth; ++i) {
            bytes[offset + i] = static_cast<std::uint8_t>(raw >> (8 * i));
        }
        return true;
    }

  private:
    using Raw = std::conditional_t<
        kWidth == 1, std::uint8_t,
        std::conditional_t<kWidth == 2, std::uint16_t,
                           std::conditional_t<kWidth == 4, std::uint32_t, std::uint64_t>>>;

    static T fromRaw(std::uint64_t raw) {
        Raw narrow = static_cast<Raw>(raw);
        T value;
        std::memcpy(&value, &narrow, kWidth);  // the bit pattern, also for IEEE reals
        return value;
    }
    static std::uint64_t toRaw(T value) {
        Raw narrow;
        std::memcpy(&narrow, &value, kWidth);
        return narrow;
    }
};

// How a block keeps its count (or its dimensions) from byte 8 on, and so what
// a load copies there: a u32 count copies four bytes, a u16 count bytes 8-9
// and clears 10-11, a u8 count byte 8 and clears 9-11.
enum class CountKind : std::uint8_t {
    None,     // no count field
    U8,       // one count in byte 8
    U16,      // one count in bytes 8-9
    U32,      // one count in bytes 8-11
    U16Pair,  // two u16 counts at 8 and 10
    U16Dims,  // rows as u16 at 8, columns as u16 at 12
    U32Nine,  // nine u32 counts at 8-43, one per lowpass
};

struct CountSlot {
    std::size_t offset;
    std::size_t width;
};

constexpr std::size_t kCountOffset = 8;

constexpr std::size_t countSlotCount(CountKind kind) {
    switch (kind) {
        case CountKind::None:
            return 0;
        case CountKind::U16Pair:
        case CountKind::U16Dims:
            return 2;
        case CountKind::U32Nine:
            return 9;
        default:
            return 1;
    }
}

// The slot of count `index` (index < countSlotCount(kind)).
constexpr CountSlot countSlot(CountKind kind, std::size_t index) {
    switch (kind) {
        case CountKind::U8:
            return {kCountOffset, 1};
        case CountKind::U16:
            return {kCountOffset, 2};
        case CountKind::U16Pair:
            return {kCountOffset + 2 * index, 2};
        case CountKind::U16Dims:
            return {kCountOffset + 4 * index, 2};
        case CountKind::U32Nine:
        case CountKind::U32:
            return {kCountOffset + 4 * index, 4};
        case CountKind::None:
            break;
    }
    return {kCountOffset, 0};
}

// End of the bytes the count field occupies, its unused bytes included.
constexpr std::size_t countAreaEnd(CountKind kind) {
    switch (kind) {
        case CountKind::None:
            return kCountOffset;
        case CountKind::U16Dims:
            return kCountOffset + 8;
        case CountKind::U32Nine:
            return kCountOffset + 36;
        default:
            return kCountOffset + 4;
    }
}

// End of the last count slot: elements may start here at the earliest.
constexpr std::size_t countSlotsEnd(CountKind kind) {
    std::size_t slots = countSlotCount(kind);
    if (slots == 0) return kCountOffset;
    CountSlot last = countSlot(kind, slots - 1);
    return last.offset + last.width;
}

}  // namespace quenmap
