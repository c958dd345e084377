#include "blockcontent.h"

#include <string>

#include "decoders.h"

namespace quenview {

namespace {

using Decoder = void (*)(const quenmap::HwDatablock&, const DecodeInput&, BlockContent&);

Decoder decoderOf(Form form) {
    switch (form) {
        case Form::None:
            return nullptr;
        case Form::Ident:
            return &decodeIdent;
        case Form::Modification:
            return &decodeModification;
        case Form::Service:
            return &decodeService;
        case Form::Statistic:
            return &decodeStatistic;
        case Form::Record:
            return &decodeRecord;
        case Form::Single:
            return &decodeSingle;
        case Form::List:
            return &decodeList;
        case Form::NineLists:
            return &decodeList;
        case Form::Matrix:
            return &decodeMatrix;
        case Form::Table:
            return &decodeTable;
        case Form::AmGain:
            return &decodeAmGain;
        case Form::AduOffset:
            return &decodeAduOffset;
        case Form::RfmState:
            return &decodeRfmState;
        case Form::RfmV20:
            return &decodeRfmV20;
        case Form::RfmMisc:
            return &decodeRfmMisc;
        case Form::IqOp6Calib:
            return &decodeIqOp6Calib;
        case Form::Lowpass:
            return &decodeLowpass;
        case Form::AttResponse:
            return &decodeAttResponse;
        case Form::DetLinCorr:
            return &decodeDetLinCorr;
    }
    return nullptr;
}

// The x axes a block's companion gives: the values of each of its lists in
// physical units. None when the image lacks the companion.
std::vector<Axis> companionAxes(const quenmap::HwDatablock& block, const quenmap::BlockType& type,
                                const CompanionLookup& companions) {
    std::vector<Axis> axes;
    const std::optional<std::uint16_t> id = companionIdOf(type, block.id());
    if (!id || !companions) return axes;
    const quenmap::HwDatablock* companion = companions(*id);
    const quenmap::BlockType* companionType = quenmap::blockTypeForId(*id);
    const ViewRow* view = companionType != nullptr ? viewRowFor(companionType->kind) : nullptr;
    if (companion == nullptr || view == nullptr) return axes;
    // A frequency list has no companion of its own.
    const CompanionLookup none;
    const DecodeInput input{*view, *companionType, {}, none};
    if (view->form == Form::Table) {
        tableAxes(*companion, input, axes);
    } else {
        listAxes(*companion, input, axes);
    }
    return axes;
}

}  // namespace

BlockContent decodeContent(const quenmap::HwDatablock& block, const quenmap::BlockType& type,
                           const CompanionLookup& companions) {
    BlockContent content;
    const ViewRow* view = viewRowFor(type.kind);
    if (view == nullptr) return content;
    const Decoder decode = decoderOf(view->form);
    if (decode == nullptr) return content;
    const DecodeInput input{*view, type, companionAxes(block, type, companions), companions};
    decode(block, input, content);
    return content;
}

Instance instanceOf(const quenmap::BlockType& type, std::uint16_t id) {
    Instance instance;
    const ViewRow* view = viewRowFor(type.kind);
    if (view == nullptr || type.instances <= 1 || id < type.baseId ||
        id - type.baseId >= type.instances) {
        return instance;
    }
    const std::uint32_t index = id - type.baseId;
    switch (view->instance) {
        case InstanceKind::None:
            break;
        case InstanceKind::Path:
            instance = {"path", index, std::string(1, static_cast<char>('A' + index))};
            break;
        case InstanceKind::State:
            // Operating state s is the type's base id - 1 + s.
            instance = {"state", index + 1, std::to_string(index + 1)};
            break;
        case InstanceKind::Counter:
            instance = {"counter", index + 1, std::to_string(index + 1)};
            break;
        case InstanceKind::Numbered:
            instance = {"instance", index, std::to_string(index)};
            break;
    }
    return instance;
}

}  // namespace quenview
