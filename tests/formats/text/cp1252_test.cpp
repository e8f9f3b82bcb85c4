#include "formats/cp1252.h"

#include <gtest/gtest.h>

#include <string>

using velkano::tool::Cp1252Error;
using velkano::tool::decodeCp1252;
using velkano::tool::encodeCp1252;

namespace {

TEST(Cp1252, RefusesCharactersWithoutAByteAndIllFormedUtf8) {
    struct Case {
        std::string utf8;
        size_t offset;
        const char* message;
    };
    const Case cases[] = {
        {"ab\u4E2D", 2, "character U+4E2D has no windows-1252 byte"},
        // U+0080 is a C1 control that windows-1252 does not keep: 0x80 is the euro sign.
        {"\u0080", 0, "character U+0080 has no windows-1252 byte"},
        {"x\u0100", 1, "character U+0100 has no windows-1252 byte"},
        {"\U0001F600", 0, "character U+1F600 has no windows-1252 byte"},
        {"a\xC3", 1, "ill-formed UTF-8"},             // truncated sequence
        {"\xC0\xAF", 0, "ill-formed UTF-8"},          // overlong '/'
        {"\xED\xA0\x80", 0, "ill-formed UTF-8"},      // surrogate
        {"\xF4\x90\x80\x80", 0, "ill-formed UTF-8"},  // above U+10FFFF
        {"\x80", 0, "ill-formed UTF-8"},              // lone continuation byte
    };
    for (const Case& c : cases) {
        try {
            encodeCp1252(c.utf8);
            ADD_FAILURE() << "accepted " << c.message;
        } catch (const Cp1252Error& e) {
            EXPECT_STREQ(e.what(), c.message);
            EXPECT_EQ(e.offset(), c.offset) << c.message;
        }
    }
}

TEST(Cp1252, EveryByteStringSurvivesDecodeAndEncode) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(encodeCp1252(decodeCp1252(all)), all);
}

TEST(Cp1252, DecodesTheBytesThatDifferFromLatin1) {
    struct Case {
        unsigned char byte;
        const char* utf8;
    };
    const Case cases[] = {
        {0x80, "\u20AC"}, {0x81, "\u0081"}, {0x8A, "\u0160"}, {0x8D, "\u008D"}, {0x8F, "\u008F"},
        {0x90, "\u0090"}, {0x93, "\u201C"}, {0x9D, "\u009D"}, {0x9F, "\u0178"}, {0xA0, "\u00A0"},
        {0xD6, "\u00D6"}, {0xFF, "\u00FF"}, {0x41, "A"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(decodeCp1252(std::string(1, static_cast<char>(c.byte))), c.utf8) << int(c.byte);
    }
}

}  // namespace
