// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "output/CharacterReferences.h"
#include "base/Windows1252.h"

using namespace kestrune;

namespace {

std::string Attribute(std::string_view text) {
    return DecodeCharacterReferences(text, ReferencePlace::AttributeValue);
}

}  // namespace

TEST(Windows1252Test, EveryByteRoundTripsAndOtherCharactersBecomeReferences) {
    for (int byte = 0; byte < 256; ++byte) {
        const char32_t character = Windows1252ToUnicode(static_cast<unsigned char>(byte));
        ASSERT_EQ(UnicodeToWindows1252(character), static_cast<unsigned char>(byte)) << byte;
    }
    EXPECT_EQ(Windows1252ToUnicode(0x80), U'\u20AC');
    EXPECT_EQ(Windows1252ToUnicode(0x9F), U'\u0178');
    EXPECT_EQ(Windows1252ToUnicode(0x8D), U'\u008D');  // undefined: kept as the control
    EXPECT_EQ(UnicodeToWindows1252(U'\u0080'), std::nullopt);

    std::string text;
    for (char32_t c : {U'C', U'\u00E9', U'\u20AC', U'\u2605', U'\U0001F600'}) AppendWindows1252(text, c);
    EXPECT_EQ(text, "C\xE9\x80&#9733;&#128512;");
}

TEST(Windows1252Test, OnlyTheWrittenFormOfAReferenceIsTakenBack) {
    const auto star = WrittenReferenceAt("a&#9733;b", 1);
    ASSERT_TRUE(star);
    EXPECT_EQ(star->character, U'\u2605');
    EXPECT_EQ(star->length, 7u);
    // Characters the code page holds, leading zeros, hex, a missing ";", surrogates and
    // values beyond Unicode are the author's text, not the editor's writing.
    for (const char* other : {"&#233;", "&#09733;", "&#x2605;", "&#9733", "&#55296;", "&#1114112;", "&#;", "&#0;"})
        EXPECT_FALSE(WrittenReferenceAt(other, 0)) << other;
}

TEST(CharacterReferencesTest, WritingEscapesOnlyQuotesInValuesAndOpeningBracketsInTitles) {
    EXPECT_EQ(EscapeAttributeValue("Say \"Hi\" & <b>"), "Say &quot;Hi&quot; & <b>");
    EXPECT_EQ(EscapeAttributeValue("plain &amp; text"), "plain &amp; text");
    EXPECT_EQ(EscapeTitleText("</title><h1>x \"q\" &amp; >"), "&lt;/title>&lt;h1>x \"q\" &amp; >");
}

TEST(CharacterReferencesTest, DecodingFollowsTheBrowser) {
    EXPECT_EQ(Attribute("&quot;&amp;&lt;&gt;&apos;"), "\"&<>'");
    EXPECT_EQ(Attribute("&#34;&#x22;&#X22;&#65"), "\"\"\"A");
    EXPECT_EQ(Attribute("caf&eacute; &euro; &hellip; &AMP; &COPY;"), "caf\xE9 \x80 \x85 & \xA9");
    // Outside the code page the reference stays, in the form the editor writes.
    EXPECT_EQ(Attribute("&starf; &#x2605; &hearts; &#128512;"), "&#9733; &#9733; &#9829; &#128512;");
    // 128 to 159 are read as Windows-1252; nothing, surrogates and beyond Unicode are replaced.
    EXPECT_EQ(Attribute("&#128;&#150;&#129;"), "\x80\x96\x81");
    EXPECT_EQ(Attribute("&#0;&#xD800;&#x110000;&#99999999999;"), "&#65533;&#65533;&#65533;&#65533;");
    // Not references: the text stays as typed.
    EXPECT_EQ(Attribute("R&D & co &# &#x; &unknown; a&b"), "R&D & co &# &#x; &unknown; a&b");
    // Old references without ";": decoded unless a name character or "=" follows, in
    // attribute values; in text always, taking the longest known prefix.
    EXPECT_EQ(Attribute("&copy 2024 &amp &copyx &copy=1 ?a=1&lt=2"), "\xA9 2024 & &copyx &copy=1 ?a=1&lt=2");
    EXPECT_EQ(DecodeCharacterReferences("&copyx &notin; &notit;", ReferencePlace::Text), "\xA9x &#8713; \xACit;");
    EXPECT_EQ(Attribute("Caf\xE9 \x81\x8D\x8F\x90\x9D"), "Caf\xE9 \x81\x8D\x8F\x90\x9D");
}

TEST(Windows1252Test, TheHighControlRangeMapsToTheCodePage) {
    // Written out on its own so that a slip in the table (two entries swapped) shows.
    constexpr char32_t kExpected[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    for (int byte = 0x80; byte <= 0x9F; ++byte)
        EXPECT_EQ(static_cast<std::uint32_t>(Windows1252ToUnicode(static_cast<unsigned char>(byte))),
                  static_cast<std::uint32_t>(kExpected[byte - 0x80]))
            << std::hex << byte;
}

TEST(CharacterReferencesTest, EveryNumericReferenceFrom128To159IsItsCodePageByte) {
    for (int value = 128; value <= 159; ++value) {
        const std::string expected(1, static_cast<char>(value));
        EXPECT_EQ(Attribute("&#" + std::to_string(value) + ";"), expected) << value;
        char hex[16];
        std::snprintf(hex, sizeof hex, "&#x%X;", value);
        EXPECT_EQ(DecodeCharacterReferences(hex, ReferencePlace::Text), expected) << hex;
    }
}

TEST(CharacterReferencesTest, NewerNamesNeedTheirSemicolonAndHugeNumbersDoNotWrap) {
    // Only the old Latin-1 names are read without ";" ("&copy 5"); newer ones stay as typed.
    EXPECT_EQ(Attribute("&euro 5"), "&euro 5");
    EXPECT_EQ(Attribute("&hellip."), "&hellip.");
    EXPECT_EQ(Attribute("&mdash &trade,"), "&mdash &trade,");
    EXPECT_EQ(Attribute("&pound 5"), "\xA3 5");
    // 2^32 + 65 and 2^32 + 0x41 would read as "A" if the value wrapped round.
    EXPECT_EQ(Attribute("&#4294967361;"), "&#65533;");
    EXPECT_EQ(Attribute("&#x100000041;"), "&#65533;");
    EXPECT_EQ(DecodeCharacterReferences("&#18446744073709551681;", ReferencePlace::Text), "&#65533;");
}
