#include "blockcontent.h"

namespace quenview {

BlockContent decodeContent(const quenmap::HwDatablock&, const quenmap::BlockType&,
                           const CompanionLookup&) {
    return {};
}

Instance instanceOf(const quenmap::BlockType& type, std::uint16_t id) {
    Instance instance;
    if (type.instances > 1) {
        instance.kind = "instance";
        instance.index = static_cast<std::uint32_t>(id - type.baseId);
        instance.label = std::to_string(instance.index + 1);
    }
    return instance;
}

}  // namespace quenview
