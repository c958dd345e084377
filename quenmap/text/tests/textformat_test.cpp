#include "text/textformat.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace quenmap {
namespace {

// The exact "%.<decimals>f" text, from the general algorithm.
std::string exactFixed(double value, int decimals) {
    char buffer[400];
    std::to_chars_result result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return std::string(buffer, result.ptr);
}

void expectFixed(double value, int decimals) {
    const std::string expected = exactFixed(value, decimals);
    ASSERT_EQ(fixedText(value, decimals), expected) << value << " with " << decimals;
    LineBuffer line;
    line.append('x');
    line.appendFixed(value, decimals);
    ASSERT_EQ(line.view(), "x" + expected);
}

TEST(FixedText, RandomValuesOfEveryMagnitudeAndPrecision) {
    std::mt19937_64 random(20261208);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-12, 18);
    for (int i = 0; i < 200000; ++i) {
        const double value = mantissa(random) * std::pow(10.0, exponent(random));
        expectFixed(value, i % 17);
    }
}

TEST(FixedText, ValuesNextToTheHalfwayPointsRoundExactly) {
    // (2k+1) / (2 * 10^d) and its neighbours: the cases where the product in
    // double arithmetic and the exact product can round apart.
    for (int decimals = 0; decimals <= 12; ++decimals) {
        for (long long k = 0; k < 3000; ++k) {
            const double half =
                (2.0 * static_cast<double>(k) + 1.0) / (2.0 * std::pow(10.0, decimals));
            double below = half, above = half;
            for (int step = 0; step < 3; ++step) {
                below = std::nextafter(below, 0.0);
                above = std::nextafter(above, 1e300);
                expectFixed(below, decimals);
                expectFixed(above, decimals);
                expectFixed(-above, decimals);
            }
            expectFixed(half, decimals);
            expectFixed(-half, decimals);
        }
    }
}

TEST(FixedText, SignsSpecialValuesAndLimits) {
    const double cases[] = {0.0,
                            -0.0,
                            -0.0001,
                            0.5,
                            1.5,
                            2.5,
                            -2.5,
                            0x1p52,
                            5632.0,
                            -6405818000.0,
                            4294967295.0,
                            4294967296.0,
                            -0x1p62,
                            0x1p52 - 1,
                            0x1p53 + 2,
                            1e300,
                            -1e-300,
                            std::numeric_limits<double>::denorm_min(),
                            std::numeric_limits<double>::max(),
                            std::numeric_limits<double>::infinity(),
                            -std::numeric_limits<double>::infinity()};
    for (double value : cases) {
        for (int decimals : {0, 1, 2, 3, 10, 15, 16, 20}) expectFixed(value, decimals);
    }
    EXPECT_EQ(fixedText(-0.001, 2), "-0.00");
    EXPECT_EQ(fixedText(2.675, 2), "2.67");  // 2.675 is stored below the half
    EXPECT_EQ(fixedText(0.125, 2), "0.12");  // an exact half rounds to even
}

TEST(LineBuffer, WidthPadsOnTheLeftOnly) {
    LineBuffer line;
    line.append('A');
    line.appendFixed(-3.14159, 12, 2);
    EXPECT_EQ(line.view(), "A       -3.14");
    line.clear();
    line.append("B");
    line.appendFixed(123456789.0, 5, 1);
    EXPECT_EQ(line.view(), "B123456789.0");
}

TEST(LineBuffer, GrowsPastItsFirstRoomWithoutLosingText) {
    // Lines of the large matrices run to thousands of characters.
    LineBuffer line;
    std::string expected;
    for (int i = 0; i < 5000; ++i) {
        line.append("\t\t ");
        line.appendInteger(-i * 7919);
        line.appendFixed(1e300, 2);  // the general path, over 300 characters
        expected += "\t\t " + std::to_string(-i * 7919) + exactFixed(1e300, 2);
    }
    line.appendUnsigned(18446744073709551615ull);
    expected += "18446744073709551615";
    EXPECT_EQ(line.view(), expected);
    std::ostringstream out;
    out << line;
    EXPECT_EQ(out.str(), expected);
}

TEST(LineBuffer, NarrowWholeNumbersOfEveryValue) {
    LineBuffer line;
    std::string expected;
    for (int value = -32768; value <= 32767; ++value) {
        line.appendInteger(static_cast<std::int16_t>(value));
        line.appendUnsigned(static_cast<std::uint16_t>(value));
        line.appendInteger(static_cast<std::int8_t>(value));
        line.append(' ');
        expected += std::to_string(value) + std::to_string(static_cast<std::uint16_t>(value)) +
                    std::to_string(static_cast<std::int8_t>(value)) + ' ';
    }
    line.appendInteger(std::numeric_limits<long long>::min());
    expected += std::to_string(std::numeric_limits<long long>::min());
    EXPECT_EQ(line.view(), expected);
}

TEST(StreamText, RealsAsTheStreamWritesThem) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-40, 40);
    std::vector<double> values = {0.0,
                                  -0.0,
                                  1.0,
                                  0.5,
                                  123456.0,
                                  1234567.0,
                                  0.0001,
                                  0.00001,
                                  1e-300,
                                  3.4028234663852886e38,
                                  100000.0,
                                  999999.5,
                                  std::numeric_limits<double>::infinity(),
                                  -std::numeric_limits<double>::infinity()};
    for (int i = 0; i < 20000; ++i) {
        const float single =
            static_cast<float>(mantissa(random) * std::pow(10.0, exponent(random)));
        values.push_back(static_cast<double>(single));
    }
    for (double value : values) {
        std::ostringstream stream;
        stream << value;
        EXPECT_EQ(streamText(value), stream.str()) << value;
    }
}

TEST(LineBuffer, WholeNumbersOfEveryLength) {
    std::vector<std::uint64_t> values = {0, std::numeric_limits<std::uint64_t>::max()};
    for (std::uint64_t power = 1; power <= 10000000000000000000ull; power *= 10) {
        values.insert(values.end(), {power - 1, power, power + 1});
        if (power > std::numeric_limits<std::uint64_t>::max() / 10) break;
    }
    std::mt19937_64 random(64);
    for (int i = 0; i < 100000; ++i) values.push_back(random() >> (random() % 64));
    for (std::uint64_t value : values) {
        LineBuffer line;
        line.appendUnsigned(value);
        line.appendInteger(static_cast<std::int64_t>(value));
        line.appendInteger(static_cast<std::int32_t>(value));
        EXPECT_EQ(line.view(), std::to_string(value) +
                                   std::to_string(static_cast<std::int64_t>(value)) +
                                   std::to_string(static_cast<std::int32_t>(value)));
    }
}

}  // namespace
}  // namespace quenmap
