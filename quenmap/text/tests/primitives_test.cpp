#include "text/primitives.h"

#include <gtest/gtest.h>

#include <sstream>

namespace quenmap {
namespace {

// Runs f and answers the failure it throws (status -1 when none).
template <typename F>
TextFailure failureOf(F f) {
    try {
        f();
    } catch (const TextFailure& failure) {
        return failure;
    }
    return TextFailure{-1, ""};
}

TEST(TextPrimitives, FindKeywordMatchesWholeCaseSensitiveTokens) {
    std::istringstream in("ID:SSYN x count: 1\nCOUNT:   7\n");
    EXPECT_TRUE(findKeyword(in, "COUNT:", true));
    int value = 0;
    in >> value;
    EXPECT_EQ(value, 7);

    std::istringstream lower("ID:  X\ncount: 1\n");
    TextFailure failure = failureOf([&] { findKeyword(lower, "COUNT:", true); });
    EXPECT_EQ(failure.status, 1);
    EXPECT_EQ(failure.message, "can not find string:  COUNT:  in ASCII-File");

    std::istringstream glued("ID:SSYN_OCXO_REF_CAL_VALUE\n");
    EXPECT_FALSE(findKeyword(glued, "SSYN_OCXO_REF_CAL_VALUE", false));
    EXPECT_TRUE(glued.eof());
}

TEST(TextPrimitives, LastTokenWithoutLineEnd) {
    std::istringstream afterOther("A END");
    EXPECT_TRUE(findKeyword(afterOther, "END", false));
    std::istringstream alone("END");
    EXPECT_FALSE(findKeyword(alone, "END", false));
    std::istringstream withLineEnd("END\n");
    EXPECT_TRUE(findKeyword(withLineEnd, "END", false));
    std::istringstream crlf("ID:\r\nEND\r\n");
    EXPECT_TRUE(findKeyword(crlf, "END", false));
}

TEST(TextPrimitives, SkipToChar) {
    std::istringstream in("  1:   42\n");
    EXPECT_TRUE(skipToChar(in, ':', true));
    int value = 0;
    in >> value;
    EXPECT_EQ(value, 42);

    std::istringstream none("no separator here\n");
    TextFailure failure = failureOf([&] { skipToChar(none, ':', true); });
    EXPECT_EQ(failure.status, 1);
    EXPECT_EQ(failure.message, "can not find string:   :  in ASCII-File");

    std::istringstream optional("abc");
    EXPECT_FALSE(skipToChar(optional, '[', false));
}

TEST(TextPrimitives, CheckCountLimits) {
    struct Case {
        std::int64_t count;
        std::int32_t maximum;
        bool rejected;
    };
    const Case cases[] = {
        {260, 260, false},        {261, 260, true},        {0, 0, false},
        {-5, 1, false},           {2147483647LL, 1, true}, {2147483648LL, 260, true},
        {4294967295LL, 260, true}};
    for (const Case& c : cases) {
        TextFailure failure =
            failureOf([&] { checkCount(c.count, c.maximum, "EXT_CAL_DAT_A_FREQ"); });
        if (c.rejected) {
            EXPECT_EQ(failure.status, 2) << c.count;
            EXPECT_EQ(failure.message, " count of Block EXT_CAL_DAT_A_FREQ is too high");
        } else {
            EXPECT_EQ(failure.status, -1) << c.count;
        }
    }
}

TEST(TextPrimitives, OptionalSectionLeavesStreamWhereTheSearchBegan) {
    std::string content = "ID: FIRST\nSN: 5\n";
    std::istringstream in(content);
    std::ostringstream diagnostics;
    TextInput text(in, diagnostics);
    EXPECT_TRUE(findKeyword(in, "FIRST", true));
    EXPECT_FALSE(findSection(text, "ABSENT", false));
    EXPECT_TRUE(findKeyword(in, "SN:", true));
    TextFailure failure = failureOf([&] { findSection(text, "ABSENT", true); });
    EXPECT_EQ(failure.message, "can not find string:  ABSENT  in ASCII-File");
}

TEST(TextPrimitives, InvalidValueIsNotSuccess) {
    std::istringstream in("SN: 12x4\n");
    ASSERT_TRUE(findKeyword(in, "SN:", true));
    EXPECT_EQ(readValue<unsigned>(in, "IDENT_2"), 12u);
    std::istringstream bad("SN: abc\n");
    ASSERT_TRUE(findKeyword(bad, "SN:", true));
    TextFailure failure = failureOf([&] { readValue<unsigned>(bad, "IDENT_2"); });
    EXPECT_EQ(failure.status, 1);
    EXPECT_EQ(failure.message, "invalid value in ASCII-File, block IDENT_2");
}

// The fast whole-number reading agrees with formatted extraction: the value,
// success and the stream states after it.
template <typename T>
void expectSameAsExtraction(const std::string& text) {
    std::istringstream reference(text);
    T expected{};
    reference >> expected;
    std::istringstream in(text);
    TextFailure failure = failureOf([&] {
        T value = readValue<T>(in, "B");
        EXPECT_EQ(value, expected) << text;
    });
    EXPECT_EQ(failure.status == -1, !reference.fail()) << text;
    if (failure.status == -1) {
        EXPECT_EQ(in.eof(), reference.eof()) << text;
        EXPECT_EQ(in.tellg(), reference.tellg()) << text;
    }
}

TEST(TextPrimitives, WholeNumbersReadAsFormattedExtractionReadsThem) {
    const char* texts[] = {"42",
                           "  42 ",
                           "\t-7\n",
                           "+3",
                           "007",
                           "12x4",
                           "65535",
                           "65536",
                           "-1",
                           "-32768",
                           "-32769",
                           "32767",
                           "2147483647",
                           "2147483648",
                           "-2147483648",
                           "-2147483649",
                           "4294967295",
                           "4294967296",
                           "x",
                           "",
                           "- 5",
                           "-",
                           "+",
                           "99999999999999999999",
                           "9223372036854775807",
                           "-9223372036854775808",
                           "18446744073709551615"};
    for (const char* text : texts) {
        expectSameAsExtraction<std::uint16_t>(text);
        expectSameAsExtraction<std::int16_t>(text);
        expectSameAsExtraction<std::int32_t>(text);
        expectSameAsExtraction<std::uint32_t>(text);
        expectSameAsExtraction<long long>(text);
    }
}

}  // namespace
}  // namespace quenmap
