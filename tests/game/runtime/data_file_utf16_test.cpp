// Data files saved in UTF-16 with a byte-order mark are read like UTF-8 ones.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "runtime/data_file.h"
#include "support/temp_folder.h"

namespace gb {
namespace {

// The text as UTF-16 code units, with the byte-order mark in front.
std::string Utf16(std::u16string_view text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t unit : text) {
        const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

// "Świąt ł" in Windows-1250.
const std::string kCp1250Text = "\x8C" "wi\xB9t \xB3";

}  // namespace

TEST(DataFileUtf16, EitherByteOrderIsConvertedAndTheMarkDropped) {
    for (const bool bigEndian : {false, true}) {
        EXPECT_EQ(DataFileText(Utf16(u"<t>Świąt ł</t>", bigEndian)), "<t>" + kCp1250Text + "</t>") << bigEndian;
        EXPECT_EQ(DataFileText(Utf16(u"", bigEndian)), "");
    }
}

TEST(DataFileUtf16, WhatTheCodePageLacksBecomesOneQuestionMarkEach) {
    // The euro sign is in the code page; a snowman, a character beyond 16 bits
    // (a surrogate pair) and lone surrogates are not.
    EXPECT_EQ(DataFileText(Utf16(u"€☃\U0001F384.", false)), "\x80??.");
    EXPECT_EQ(DataFileText(Utf16(u"a\xD83C" u"b\xDF84", false)), "a?b?");
    EXPECT_EQ(DataFileText(Utf16(u"a\xD83C", true)), "a?");
    EXPECT_EQ(DataFileText(Utf16(u"ab", false) + "c"), "ab?") << "an odd last byte";
}

TEST(DataFileUtf16, OnlyAByteOrderMarkSaysUtf16) {
    const std::string bytes = std::string("<\0t\0>\0", 6);
    EXPECT_EQ(DataFileText(bytes), bytes);
    EXPECT_EQ(DataFileText("\xFF"), "\xFF");
}

TEST(DataFileUtf16, AGameDataFileInUtf16LoadsWithItsMapAndText) {
    const test_support::TTempFolder folder;
    folder.Write("GameData.xml",
                 Utf16(u"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n<GameData><Map><cos type=\"Bohater\" x=\"3\"/>"
                       u"</Map><Text>Świąt ł</Text></GameData>",
                       false));
    const auto document = LoadDataFile(folder.Directory(), "GameData.xml");
    const TXMLTag* data = FindTag(document.get(), "gamedata");
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(GetAttribute(FindTag(FindTag(data, "map"), "cos"), "type"), "bohater");
    EXPECT_EQ(GetText(FindTag(data, "text")), kCp1250Text);
}

}  // namespace gb
