#pragma once
// The named classes of the catalogue families, one per row of
// blockcatalogue.def: each is a thin type over its family that only fixes the
// id, the instance count and the name.

#include <cstdint>
#include <memory>
#include <type_traits>

#include "datablocks/families/countedlist.h"
#include "datablocks/families/matrixblock.h"
#include "datablocks/families/referencevalue.h"

namespace quenmap {

// Single-instance classes are constructed with (flag), multi-instance classes
// with (instance, flag); create() serves the catalogue.
#define QM_NAMED_CLASS_BODY(cls, base, instances)                                           \
  public:                                                                                   \
    static constexpr std::uint16_t kBaseId = base;                                          \
    static constexpr std::uint32_t kInstances = instances;                                  \
    template <std::uint32_t N = kInstances, std::enable_if_t<N == 1, int> = 0>              \
    explicit cls(std::uint8_t flag = 1) : Family(kBaseId, 0, flag) {}                       \
    template <std::uint32_t N = kInstances, std::enable_if_t<(N > 1), int> = 0>             \
    explicit cls(std::uint32_t instance, std::uint8_t flag = 1)                             \
        : Family(kBaseId, instance, flag) {}                                                \
    static std::unique_ptr<HwDatablock> create(std::uint32_t instance, std::uint8_t flag) { \
        if constexpr (kInstances == 1) {                                                    \
            static_cast<void>(instance);                                                    \
            return std::make_unique<cls>(flag);                                             \
        } else {                                                                            \
            return std::make_unique<cls>(instance, flag);                                   \
        }                                                                                   \
    }                                                                                       \
    const char* className() const override {                                                \
        return #cls;                                                                        \
    }

#define QM_BLOCK(kind, cls, text, base, instances, size)
#define QM_LIST(kind, cls, text, base, instances, count, element, capacity, offset) \
    class cls : public CountedList<CountKind::count, element, capacity, offset> {   \
        using Family = CountedList<CountKind::count, element, capacity, offset>;    \
        QM_NAMED_CLASS_BODY(cls, base, instances)                                   \
    };
#define QM_MATRIX(kind, cls, text, base, instances, count, element, rows, columns, offset) \
    class cls : public MatrixBlock<CountKind::count, element, rows, columns, offset> {     \
        using Family = MatrixBlock<CountKind::count, element, rows, columns, offset>;      \
        QM_NAMED_CLASS_BODY(cls, base, instances)                                          \
    };
#define QM_REFERENCE(kind, cls, text, id, count, detail, acceptsUnchecked)                  \
    class cls : public ReferenceValueBlock {                                                \
      public:                                                                               \
        static constexpr std::uint16_t kId = id;                                            \
        explicit cls(std::uint8_t flag = 1)                                                 \
            : ReferenceValueBlock(flag, CountKind::count, kId, detail, acceptsUnchecked) {} \
        const char* className() const override { return #cls; }                             \
    };
#include "datablocks/blockcatalogue.def"

#undef QM_NAMED_CLASS_BODY

}  // namespace quenmap
