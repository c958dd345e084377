#include "driver/conversion.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace quenmap {
namespace {

const char kCommonBlocks[] =
    "ID:              IDENT_2\n"
    "ALIGNMENT:       0\n"
    "EEPROMSIZE:      4096\n"
    "PARTNUMBER:      1141.2005.02\n"
    "HWCODE:          1\n"
    "PRODUCTINDEX:    01.00\n"
    "SN:              1\n"
    "PRODUCTDATE:     2010-01-01\n"
    "READCODE:        0\n"
    "TESTINSTRUCTION: 01.00\n"
    "NAME:            DCON\n"
    "ID:              MODIFICATION_100\n"
    "SERVICECODE: 0\nSERVICECODE: 0\nSERVICECODE: 0\nSERVICECODE: 0\nSERVICECODE: 0\n"
    "SERVICECODE: 0\nSERVICECODE: 0\nSERVICECODE: 0\nSERVICECODE: 0\nSERVICECODE: 0\n"
    "ID:              SERVICE_200\n"
    "DEPARTMENT: A\nSERVICEDATE: 2010-01-01\nOPHOURS: 00001/000000\n"
    "REPAIRNUMBER: 0\nSERVICECODE: 0\n"
    "ID:              STATISTICS_300\n"
    "OPHOURS:         00001/000000\n";

std::vector<unsigned> blockIds(const std::string& image) {
    std::vector<unsigned> ids;
    std::size_t at = 0;
    while (at + 4 <= image.size()) {
        unsigned id = static_cast<unsigned char>(image[at]) |
                      (static_cast<unsigned char>(image[at + 1]) << 8);
        unsigned length = static_cast<unsigned char>(image[at + 2]) |
                          (static_cast<unsigned char>(image[at + 3]) << 8);
        ids.push_back(id);
        if (id == 0xFFFF) break;
        if (length < 8) break;
        at += length;
    }
    return ids;
}

// A block whose reader leaves its id 0 (a table without its ID line) is still
// the block written at its place in the board's write order.
TEST(QuenmapConversion, BlockWithoutItsSectionKeepsItsPlace) {
    std::string text = std::string(kCommonBlocks) +
                       "ID:  LIMITER_FREQUENCY_NODE_GHZ\nCOUNT:  1*1\n1:  1.00000\n\n"
                       "ID:  LIMITER_MAX_VOLTAGE\nCOUNT:  1*1\n1:  2.00000\n\n"
                       "ID:  LIMITER_MAX_VOLTAGE_PUM_ON\nCOUNT:  1*1\n1:  3.00000\n\n"
                       "ID:  GXP_DCON_LEVELPRE2\nCOUNT:  1*1\n1:  4.00000\n\n"
                       "# Das ist der END Block\nID:              END\n\n";
    std::istringstream in(text);
    std::ostringstream image(std::ios::binary), log, out, err;
    std::istringstream keys;
    Console console{keys, out, err};
    TextToBinaryRequest request{"dcon.txt", "dcon.bin", ""};
    ASSERT_EQ(convertTextToBinary(in, image, log, request, console), kStatusSuccess) << err.str();
    // Write order 12310, 12311, 12313, 12314, 12315: the absent VTRIM table
    // is the one that was read, with id 0, not a fresh block.
    EXPECT_EQ(blockIds(image.str()),
              (std::vector<unsigned>{2, 100, 200, 300, 0, 12311, 12313, 12314, 12315, 0xFFFF}));
    EXPECT_NE(out.str().find("ERROR: FOUND NO ID !"), std::string::npos);
}

}  // namespace
}  // namespace quenmap
