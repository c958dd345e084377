#include "text/primitives.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "text/tests/piecewisebuffer.h"

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

TEST(TextPrimitives, ReadersCarryTokensAndNumbersAcrossBufferRefills) {
    const std::string text =
        "ID:  LP1IQPEP1A\nCOUNT: 12 * 345\n#x\t\t -17 +8 007:9\n 123456789012 end";
    for (std::size_t chunk : {1, 2, 3, 5, 64}) {
        // Tokens, with the state after the last one, as extraction gives them.
        std::istringstream reference(text);
        test::PiecewiseBuffer chunked(text, chunk);
        std::istream in(&chunked);
        std::string expected, token;
        while (reference >> expected) {
            ASSERT_TRUE(readToken(in, token)) << chunk;
            EXPECT_EQ(token, expected) << chunk;
            EXPECT_EQ(in.eof(), reference.eof()) << chunk;
        }
        EXPECT_FALSE(readToken(in, token));
        EXPECT_TRUE(in.eof() && in.fail());

        // Keywords, characters and numbers in the order a reader takes them.
        test::PiecewiseBuffer again(text, chunk);
        std::istream numbers(&again);
        EXPECT_TRUE(findKeyword(numbers, "COUNT:", false));
        EXPECT_EQ(readValue<int>(numbers, "B"), 12);
        EXPECT_TRUE(skipToChar(numbers, '*', false));
        EXPECT_EQ(readValue<long long>(numbers, "B"), 345);
        EXPECT_TRUE(skipToChar(numbers, 'x', false));
        EXPECT_EQ(readValue<int>(numbers, "B"), -17);
        EXPECT_EQ(readValue<int>(numbers, "B"), 8);
        EXPECT_EQ(readValue<int>(numbers, "B"), 7);
        EXPECT_TRUE(skipToChar(numbers, ':', false));
        EXPECT_EQ(readValue<unsigned>(numbers, "B"), 9u);
        EXPECT_EQ(readValue<long long>(numbers, "B"), 123456789012LL);
        EXPECT_FALSE(skipToChar(numbers, ':', false));
        EXPECT_TRUE(numbers.eof() && numbers.fail());
    }
}

TEST(TextPrimitives, TokensOfChosenFirstCharactersArePickedOutOfTheRest) {
    CharSet leading{};
    leading['L'] = true;
    leading['#'] = true;
    const std::string text = "1: -3 LP1A 2 #x Lx\tL  99 L";
    for (std::size_t chunk : {1, 2, 7, 64}) {
        test::PiecewiseBuffer buffer(text, chunk);
        std::istream in(&buffer);
        std::string token;
        std::vector<std::string> picked;
        while (readTokenStartingWith(in, token, leading)) picked.push_back(token);
        EXPECT_EQ(picked, (std::vector<std::string>{"LP1A", "#x", "Lx", "L", "L"})) << chunk;
        EXPECT_TRUE(in.eof() && in.fail());
    }
    // One first character: the same tokens as reading every token gives.
    const std::string lines = "LP1 1: -3 xL L\nLL #L L";
    for (std::size_t chunk : {1, 2, 3, 64}) {
        test::PiecewiseBuffer buffer(lines, chunk);
        std::istream in(&buffer);
        std::string token;
        std::vector<std::string> picked;
        while (readTokenStartingWith(in, token, 'L')) picked.push_back(token);
        EXPECT_EQ(picked, (std::vector<std::string>{"LP1", "L", "LL", "L"})) << chunk;
        EXPECT_TRUE(in.eof() && in.fail());
    }
    // The search starts a token where it begins, even inside a word.
    std::istringstream inside("xLa Lb");
    std::string word;
    inside.get();
    EXPECT_TRUE(readTokenStartingWith(inside, word, 'L'));
    EXPECT_EQ(word, "La");
    // The last token is taken when it runs into the end, as extraction does.
    std::istringstream last("12 LAST");
    std::string token;
    EXPECT_TRUE(readTokenStartingWith(last, token, leading));
    EXPECT_EQ(token, "LAST");
    EXPECT_TRUE(last.eof() && !last.fail());
    // A passed-over token that ends the text leaves nothing to take.
    std::istringstream none("LA 12");
    EXPECT_TRUE(readTokenStartingWith(none, token, leading));
    EXPECT_FALSE(readTokenStartingWith(none, token, leading));
    EXPECT_TRUE(none.eof() && none.fail());
}

// Numbers read together give what reading them one by one gives: the values,
// the first failure, and the stream's position and states at the end.
TEST(TextPrimitives, NumbersReadTogetherAsOneByOne) {
    const std::string texts[] = {
        "1 -2 +3\t\t 44\n-32768 32767 7",
        "  12345678901234567890 5",   // more digits than the fast path takes
        "99999999999999999999999 1",  // beyond 64 bits
        "3 18446744073709551621 4",   // 2^64 + 5: must not wrap to 5
        "-9223372036854775808 0 0",
        "1 2 x 4",  // no digits
        "1 2 - 4",  // a sign without digits
        "5 6",      // ends in a number
        "5 6 ",
        "7\r\n8\f9\v10"};
    for (const std::string& text : texts) {
        for (std::size_t chunk : {1, 3, 64}) {
            for (std::size_t count : {1, 2, 3, 4}) {
                test::PiecewiseBuffer oneBuffer(text, chunk);
                std::istream one(&oneBuffer);
                std::vector<long long> expected;
                TextFailure expectedFailure = failureOf([&] {
                    for (std::size_t i = 0; i < count; ++i) {
                        expected.push_back(readValue<long long>(one, "B"));
                    }
                });
                test::PiecewiseBuffer togetherBuffer(text, chunk);
                std::istream together(&togetherBuffer);
                std::vector<long long> values(count, -1);
                TextFailure failure =
                    failureOf([&] { readValues(together, "B", values.data(), count); });
                EXPECT_EQ(failure.status, expectedFailure.status) << text << " " << chunk;
                if (failure.status != -1) continue;
                EXPECT_EQ(values, expected) << text << " " << chunk;
                EXPECT_EQ(together.rdstate(), one.rdstate()) << text << " " << chunk;
                EXPECT_EQ(together.get(), one.get()) << text << " " << chunk;
            }
        }
    }
}

}  // namespace
}  // namespace quenmap
