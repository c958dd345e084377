// Getters, setters and the rules of single families and classes.

#include <gtest/gtest.h>

#include "datablocks/catalogueclasses.h"

namespace quenmap {
namespace {

Bytes contents(const HwDatablock& block) {
    return Bytes(block.data(), block.data() + block.byteCount());
}

TEST(DatablockCountedList, ElementsAtTheirOffsetsAndBounded) {
    HwDatablockSsynOpuLevelFreq doubles;  // u8 count, 50 f64 from 12
    doubles.setValue(1.5e9, 49);
    doubles.setValue(7.0, 50);  // beyond the capacity: ignored
    EXPECT_EQ(doubles.value(49), 1.5e9);
    EXPECT_EQ(doubles.value(50), 0.0);
    EXPECT_EQ(ElementCodec<double>::read(doubles.bytes(), 12 + 8 * 49), 1.5e9);
    EXPECT_EQ(doubles.byteCount(), 412u);
    EXPECT_TRUE(doubles.verify());  // every setter refreshes the checksum

    HwDatablockMbrdIqImbalanceRfOddPh path(3);  // path D
    EXPECT_EQ(path.id(), 12143);
    EXPECT_EQ(path.instanceIndex(), 3u);
    path.setValue(-2, 599);
    EXPECT_EQ(path.value(599), -2);
    EXPECT_EQ(readU16(path.bytes(), 12 + 2 * 599), 0xFFFE);

    HwDatablockDacIfFullScale single;  // one u32 at 8, no count
    single.setValue(0xA1B2C3D4u, 0);
    EXPECT_EQ(readU32(single.bytes(), 8), 0xA1B2C3D4u);
    EXPECT_EQ(single.value(1), 0u);
    EXPECT_EQ(single.countField(0), 0u);
}

TEST(DatablockCountedList, CountWidthsFollowTheField) {
    HwDatablockSsynOpuLevelFreq u8Count;
    u8Count.setCount(0x1234);
    EXPECT_EQ(u8Count.count(), 0x34u);
    EXPECT_EQ(readU32(u8Count.bytes(), 8), 0x34u);
    HwDatablockIqOp6CalibDataFreq u16Count;
    u16Count.setCount(0x12345);
    EXPECT_EQ(u16Count.count(), 0x2345u);
    HwDatablockMbrdExtLevCalDataFreq u32Count(1);
    u32Count.setCount(0x12345678);
    EXPECT_EQ(u32Count.count(), 0x12345678u);
    EXPECT_EQ(u32Count.id(), 12051);
    EXPECT_TRUE(u32Count.verify());
}

TEST(DatablockMatrix, AttenuatorCalibrationBounds) {
    HwSDatablockAttCalibData2Edition block(3);
    EXPECT_EQ(block.id(), 12183);
    EXPECT_EQ(block.byteCount(), 8112u);
    block.setValue(-12345, 26, 149);
    EXPECT_EQ(readU16(block.bytes(), 8110), static_cast<std::uint16_t>(-12345));
    EXPECT_EQ(block.value(26, 149), -12345);
    const Bytes before = contents(block);
    block.setValue(1, 27, 0);
    block.setValue(1, 0, 150);
    EXPECT_EQ(contents(block), before);
    EXPECT_EQ(block.value(27, 0), 0);
    EXPECT_EQ(block.value(0, 150), 0);
}

TEST(DatablockMatrix, DimensionsAndLowpassCounts) {
    HwSDatablockGxpAttCalDat dims;
    dims.setCountField(20, 0);
    dims.setCountField(200, 1);
    EXPECT_EQ(readU16(dims.bytes(), 8), 20);
    EXPECT_EQ(readU16(dims.bytes(), 12), 200);
    dims.setValue(-1, 19, 199);
    EXPECT_EQ(readU16(dims.bytes(), 16 + 2 * (19 * 200 + 199)), 0xFFFF);

    HwSDatablockMbrdRfResponseLpFreq lowpass(1);
    lowpass.setCountField(150, 8);
    EXPECT_EQ(readU32(lowpass.bytes(), 8 + 4 * 8), 150u);
    EXPECT_EQ(lowpass.countField(9), 0u);
    lowpass.setValue(77, 8, 149);
    EXPECT_EQ(readU32(lowpass.bytes(), 44 + 4 * (8 * 150 + 149)), 77u);

    HwSDatablockMbrdRfResponseLpAmp amp(0);
    amp.setSample(-5, 8, 3, 149, 3);
    EXPECT_EQ(amp.sample(8, 3, 149, 3), -5);
    EXPECT_EQ(static_cast<std::int8_t>(amp.bytes()[21643]), -5);  // the very last byte
    EXPECT_EQ(amp.sample(9, 0, 0, 0), 0);
    EXPECT_EQ(amp.sample(0, 4, 0, 0), 0);

    HwSDatablockCwopDetLinCorrData pairs(1);
    pairs.setLevel(-100, 9, 49);
    pairs.setCorrection(55, 9, 49);
    EXPECT_EQ(readU32(pairs.bytes(), 12 + 8 * (50 * 9 + 49)), static_cast<std::uint32_t>(-100));
    EXPECT_EQ(readU32(pairs.bytes(), 16 + 8 * (50 * 9 + 49)), 55u);
    EXPECT_EQ(pairs.level(0, 50), 0);
}

TEST(DatablockMatrix, EditionEnhancedSizeArgument) {
    HwSDatablockMbrdExtLevCalData2Edition_Enh standard(1);
    EXPECT_EQ(standard.byteCount(), 7012u);
    EXPECT_EQ(standard.length(), 7012);
    EXPECT_EQ(standard.id(), 12096);
    standard.setValue(9, 7, 0);
    EXPECT_EQ(standard.value(7, 0), 0);
    HwSDatablockMbrdExtLevCalData2Edition_Enh large(0, 1, 13012);
    EXPECT_EQ(large.byteCount(), 13012u);
    large.setValue(9, 12, 499);
    EXPECT_EQ(large.value(12, 499), 9);
    EXPECT_EQ(readU16(large.bytes(), 13010), 9);
    HwSDatablockMbrdExtLevCalData2Edition_Enh other(0, 1, 9999);
    EXPECT_EQ(other.byteCount(), 7012u);
}

TEST(DatablockReferenceValue, SetterReadsBackAndRefreshes) {
    HwDatablockFsynTcxoRefCalValue block;
    EXPECT_EQ(block.setValue(0x01020304u, 0), 0);
    EXPECT_EQ(block.value(0), 0x01020304u);
    EXPECT_EQ(readU32(block.bytes(), 12), 0x01020304u);
    EXPECT_TRUE(block.verify());
    EXPECT_EQ(block.setValue(5, 1), -1);
    EXPECT_EQ(block.value(1), 0u);
    EXPECT_EQ(block.value(0), 0x01020304u);
    // A value that cannot be stored does not read back.
    block.resize(12);
    EXPECT_EQ(block.setValue(7, 0), -1);
}

TEST(DatablockReferenceValue, UncheckedBlocksOnlyWhereAccepted) {
    Bytes image(16, 0);
    writeU16(image, 2, 16);
    writeU16(image, 4, 0x1234);  // not the checksum
    image[8] = 1;
    writeU32(image, 12, 4711);

    struct Case {
        std::unique_ptr<HwDatablock> block;
        std::uint16_t id;
        bool accepted;
    };
    Case cases[] = {
        {std::make_unique<HwDatablockSsynOcxoRefCalValue>(), 10000, true},
        {std::make_unique<HwDatablockDvkBaseboardCalibValue>(), 15605, true},
        {std::make_unique<HwDatablockDphMbrdPllDacCalibValue>(), 12280, true},
        {std::make_unique<HwDatablockFsynTcxoRefCalValue>(), 15001, false},
        {std::make_unique<HwDatablockSynexOcxoRefCalValue>(), 15000, false},
        {std::make_unique<HwDatablockGxpOcxoRefCalValue>(), 15002, false},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.block->className());
        writeU16(image, 0, c.id);
        EXPECT_EQ(c.block->setFromImage(image.data(), image.size()),
                  c.accepted ? kLoaded : kRejected);
        auto& reference = static_cast<ReferenceValueBlock&>(*c.block);
        EXPECT_EQ(reference.value(0), c.accepted ? 4711u : 0u);
        if (c.accepted) {
            EXPECT_EQ(c.block->checksum(), 0x1234);
        }
        // Another id, length or word 3 is rejected as usual.
        Bytes other = image;
        writeU16(other, 0, static_cast<std::uint16_t>(c.id + 1));
        EXPECT_EQ(c.block->setFromImage(other.data(), other.size()), kRejected);
        other = image;
        writeU16(other, 2, 18);
        EXPECT_EQ(c.block->setFromImage(other.data(), other.size()), kRejected);
        other = image;
        writeU16(other, 6, 1);
        EXPECT_EQ(c.block->setFromImage(other.data(), other.size()), kRejected);
    }
}

TEST(DatablockReferenceValue, ByteCountDropsBytesNineToEleven) {
    HwDatablockSynexOcxoRefCalValue source;
    source.setValue(99, 0);
    Bytes image = contents(source);
    image[8] = 5;
    image[9] = 0xAA;
    image[11] = 0x01;
    writeU16(image, 4, 0);
    writeU16(image, 4, source.checksumOf(image.data(), 16));
    HwDatablockSynexOcxoRefCalValue block;
    ASSERT_EQ(block.setFromImage(image.data(), image.size()), kLoaded);
    EXPECT_EQ(block.count(), 5u);
    EXPECT_EQ(readU32(block.bytes(), 8), 5u);
    EXPECT_EQ(block.value(0), 99u);
}

TEST(DatablockSpecialClasses, ConstructionRules) {
    HwDatablockSattcCounter counter(11302);
    EXPECT_EQ(counter.id(), 11302);
    EXPECT_EQ(counter.length(), 16);
    EXPECT_TRUE(counter.verify());  // valid from construction on
    counter.setCounter(0xFFFFFFFFu, 1);
    EXPECT_EQ(readU32(counter.bytes(), 12), 0xFFFFFFFFu);
    EXPECT_EQ(counter.counter(2), 0u);

    HwDatablockMbrdModel model;
    EXPECT_EQ(model.flag(), 0);
    EXPECT_EQ(HwDatablockMbrdModel::create(0, 1)->flag(), 0);
    model.setModelName("GXR 6 ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789");
    EXPECT_EQ(model.modelName().size(), 32u);
    model.setModelName("GXR");
    EXPECT_EQ(model.modelName(), "GXR");
    EXPECT_EQ(model.bytes()[11], 0);

    HwSDatablockBbinsCompFilterTabsI taps(0);  // the flag the creator passes
    EXPECT_EQ(taps.flag(), 0);

    HwDatablockSAtt3OWLDCounter second(1);
    EXPECT_EQ(second.id(), 10605);
}

TEST(DatablockSpecialClasses, RfmTablesCountTheirConstructions) {
    const std::uint32_t before = HwSDatablockIqOp3RfmCalibData::instanceCount();
    HwSDatablockIqOp3RfmCalibData first;
    HwSDatablockIqOp3RfmCalibData second;
    EXPECT_EQ(HwSDatablockIqOp3RfmCalibData::instanceCount(), before + 2);
    EXPECT_EQ(first.id(), 10303);
    second.setWordB(0xCAFEBABEu, 299);
    EXPECT_EQ(readU32(second.bytes(), 16 + 8 * 299), 0xCAFEBABEu);
    EXPECT_EQ(second.wordA(300), 0u);
    auto created = HwSDatablockIqOp3RfmCalibData::create(11, 1);
    EXPECT_EQ(created->id(), 10314);
    EXPECT_EQ(HwSDatablockIqOp3RfmCalibData::instanceCount(), before + 3);
}

TEST(DatablockSpecialClasses, RecordFieldOffsets) {
    HwDatablockIqOp3RfmCalibDataMisc misc;
    misc.setLevelPresetTolerance(0x0102);
    misc.setDetectorAttenuatorTolerance(0x0304);
    misc.setDetectorFullScale(2.5f);
    misc.setStateCount(8);
    misc.setMaximumPower(1280.0f, 11);
    misc.setBasebandVoltage(0.5f, 0);
    misc.setLconReserve(7, 11);
    misc.setDetectorReserve(9, 11);
    misc.setDetectorReserve(9, 12);  // ignored
    EXPECT_EQ(readU16(misc.bytes(), 8), 0x0102);
    EXPECT_EQ(readU16(misc.bytes(), 14), 0x0304);
    EXPECT_EQ(ElementCodec<float>::read(misc.bytes(), 16), 2.5f);
    EXPECT_EQ(readU32(misc.bytes(), 20), 8u);
    EXPECT_EQ(ElementCodec<float>::read(misc.bytes(), 68), 1280.0f);
    EXPECT_EQ(ElementCodec<float>::read(misc.bytes(), 72), 0.5f);
    EXPECT_EQ(readU16(misc.bytes(), 142), 7);
    EXPECT_EQ(readU16(misc.bytes(), 166), 9);
    EXPECT_EQ(misc.detectorReserve(12), 0);

    HwDatablockIqOp3RfmCalibDataMiscV20 v20;
    v20.setGroupValue(1.0f, HwDatablockIqOp3RfmCalibDataMiscV20::kLevelRange, 3);
    v20.setGroupValue(2.0f, HwDatablockIqOp3RfmCalibDataMiscV20::kLconReserve, 0);
    v20.setBasebandVoltage(3.0f);
    v20.setDetectorAttenuation(-4, 3);
    EXPECT_EQ(ElementCodec<float>::read(v20.bytes(), 68), 1.0f);
    EXPECT_EQ(ElementCodec<float>::read(v20.bytes(), 76), 2.0f);
    EXPECT_EQ(ElementCodec<float>::read(v20.bytes(), 72), 3.0f);
    EXPECT_EQ(readU16(v20.bytes(), 114), 0xFFFC);

    HwSDatablockIqOp3RfmCalibDataV20 table;
    table.setSensitivity(1.0f, 299, 3);
    table.setLevelPreset(-1, 299, 3);
    table.setLevelAttenuationNormal(2.0f, 299, 2);
    table.setLevelAttenuationOverrange(3.0f, 299, 2);
    const std::size_t row = 8 + 48 * 299;
    EXPECT_EQ(ElementCodec<float>::read(table.bytes(), row + 12), 1.0f);
    EXPECT_EQ(readU16(table.bytes(), row + 22), 0xFFFF);
    EXPECT_EQ(ElementCodec<float>::read(table.bytes(), row + 32), 2.0f);
    EXPECT_EQ(ElementCodec<float>::read(table.bytes(), row + 44), 3.0f);
    EXPECT_EQ(table.sensitivity(300, 0), 0.0f);
    EXPECT_EQ(table.levelAttenuationNormal(0, 3), 0.0f);

    HwDatablockIqOp6CalibData iqop6;
    iqop6.setLevelAttenuation20(1, 69);
    iqop6.setLevelAttenuation40(2, 69);
    iqop6.setDacValue(0xBEEF, 31, 69);
    EXPECT_EQ(iqop6.bytes()[77], 1);
    EXPECT_EQ(iqop6.bytes()[147], 2);
    EXPECT_EQ(readU16(iqop6.bytes(), 4626), 0xBEEF);
    EXPECT_EQ(iqop6.dacValue(32, 0), 0);

    HwDatablockCwop6VcoIdent vco;
    vco.setJobNumber(123456);
    vco.setIdentField(0x0BAD, HwDatablockCwop6VcoIdent::kOsc1SubHigh);
    EXPECT_EQ(readU32(vco.bytes(), 8), 123456u);
    EXPECT_EQ(readU16(vco.bytes(), 26), 0x0BAD);
    EXPECT_EQ(vco.identField(8), 0);
}

TEST(DatablockSpecialClasses, DetTuneDacKeepsTheLowHalfAtLoad) {
    HwSDatablockCwop3DetTuneDac source(2);
    source.setCount(3);
    source.setValue(0x12345678u, 0);
    EXPECT_EQ(source.value(0), 0x12345678u);  // the setter stores all 32 bits
    HwSDatablockCwop3DetTuneDac block(0);
    ASSERT_EQ(block.setFromImage(source.data(), source.byteCount()), kLoaded);
    EXPECT_EQ(block.id(), 12202);
    EXPECT_EQ(block.count(), 3u);
    EXPECT_EQ(block.value(0), 0x5678u);
}

}  // namespace
}  // namespace quenmap
