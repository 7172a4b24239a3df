// The reader's cutting rules, with the game's options unless a case says
// otherwise.
#include <gtest/gtest.h>

#include "support/xml_test_support.h"

namespace gb {
namespace {

using test_support::Parsed;
using test_support::ShapeOf;

const TXMLOptions kAsWritten{};

TEST(XmlParserStructure, PrologAndRootAreTwoTopLevelTags) {
    const auto document = Parsed("<?xml version=\"1.0\"?>\r\n<config><gfx/></config>");
    EXPECT_EQ(test_support::Shape(*document), "xml#1[version=1.0] config#0{gfx#2}");
    ASSERT_NE(document->FindTag("config"), nullptr);
    EXPECT_EQ(document->FindTag("config"), &document->Child(1));
}

TEST(XmlParserStructure, EmptyTagsWithAndWithoutBlankBeforeSlash) {
    EXPECT_EQ(ShapeOf("<a/><a />"), "a#2 a#2");
}

TEST(XmlParserStructure, ProcessingInstructionNeedsTwoQuestionMarks) {
    EXPECT_EQ(ShapeOf("<?" "?><?>x", kAsWritten), "#1 ?#0{\"x\"}");
}

TEST(XmlParserStructure, TextWithoutTagsIsOneNodeWithEveryCharacter) {
    const std::string text = " line one\r\n\tline two > & \"quoted\" ";
    EXPECT_EQ(ShapeOf(text, kAsWritten), "\"" + text + "\"");
}

TEST(XmlParserStructure, ParseAppendsToWhatTheDocumentHolds) {
    TXMLDocument document;
    Parse(document, "<a/>", kGameXMLOptions);
    Parse(document, "<b/>", kGameXMLOptions);
    EXPECT_EQ(test_support::Shape(document), "a#2 b#2");
}

TEST(XmlParserStructure, ParsingIntoATagEndsAtItsOwnEndTag) {
    TXMLDocument root;
    TXMLTag& tag = root.AddTag();
    tag.Text = "a";
    Parse(tag, "<b/></a><c/>", kGameXMLOptions);
    EXPECT_EQ(test_support::Shape(root), "a#0{b#2}");
}

TEST(XmlParserMalformed, MissingEndTagTakesTheRestAsChildren) {
    EXPECT_EQ(ShapeOf("<a><b>x</b><c/>"), "a#0{b#0{\"x\"} c#2}");
}

TEST(XmlParserMalformed, MisspeltEndTagBecomesAChildThatTakesTheRest) {
    EXPECT_EQ(ShapeOf("<a><b>x</c><d/></b></a><e/>"), "a#0{b#0{\"x\" /c#0{d#2 /b#0{/a#0{e#2}}}}}");
}

TEST(XmlParserMalformed, EndTagWithBlankBeforeBracketNeverCloses) {
    EXPECT_EQ(ShapeOf("<a>x</a ><b/>"), "a#0{\"x\" /a#0{b#2}}");
}

TEST(XmlParserMalformed, StrayEndTagAtTopLevelTakesEverythingAfterIt) {
    EXPECT_EQ(ShapeOf("<a/></a><b/>text"), "a#2 /a#0{b#2 \"text\"}");
}

TEST(XmlParserMalformed, TagWithoutClosingBracketEndsTheWholeParse) {
    EXPECT_EQ(ShapeOf("<a><b>x</b><c/><d attr=\"1\""), "a#0{b#0{\"x\"} c#2}");
    EXPECT_EQ(ShapeOf("before<"), "\"before\"");
}

TEST(XmlParserMalformed, DoctypeIsAnOpenTagThatTakesTheRest) {
    EXPECT_EQ(ShapeOf("<!DOCTYPE config><config/>"), "!doctype#0{config#2}");
}

TEST(XmlParserMalformed, BracketInsideAQuotedValueEndsTheTag) {
    EXPECT_EQ(ShapeOf("<a b=\"x>y\"/>", kAsWritten), "a#0[b=]{\"y\"/>\"}");
}

TEST(XmlParserMalformed, EmptyBracketsAreANamelessEmptyTag) {
    EXPECT_EQ(ShapeOf("<a><>x</a><b/>"), "a#0{#2 \"x\"} b#2");
}

TEST(XmlParserMalformed, UnclosedCommentEndsTheParse) {
    EXPECT_EQ(ShapeOf("<a>x<!-- <b/> never closed", kAsWritten), "a#0{\"x\"}");
    EXPECT_EQ(ShapeOf("<!--", kAsWritten), "");
}

TEST(XmlParserMalformed, DeepNestingParsesWritesAndFrees) {
    // A file full of unclosed tags nests one level per tag.
    constexpr int kDepth = 200000;
    std::string text;
    for (int i = 0; i < kDepth; ++i) text += "<a>";
    auto document = Parsed(text);
    std::string out;
    document->AppendXML(out);
    EXPECT_EQ(out.size(), text.size() * 7 / 3);
    EXPECT_TRUE(out.ends_with("</a></a>"));
    document.reset();
}

TEST(XmlParserAttributes, BlankInsideAQuotedValueStays) {
    const auto document = Parsed("<cos type=\"choinka spalona\" x=\"3\"/>");
    const auto* cos = document->FindTag("cos");
    ASSERT_NE(cos, nullptr);
    EXPECT_EQ(cos->AttributeCount(), 2);
    EXPECT_EQ(cos->GetAttribute("type"), "choinka spalona");
    EXPECT_EQ(cos->GetAttribute("x"), "3");
}

TEST(XmlParserAttributes, BlanksAroundEqualsStayInNameAndValue) {
    const auto document = Parsed("<a b = \"c\"/>");
    const auto& tag = dynamic_cast<const TXMLTag&>(document->Child(0));
    ASSERT_EQ(tag.AttributeCount(), 1);
    EXPECT_EQ(tag.Attribute(0).Name, "b ");
    EXPECT_EQ(tag.Attribute(0).Value, " \"c\"");
    EXPECT_EQ(tag.GetAttribute("b"), "");
}

TEST(XmlParserAttributes, OnlyDoubleQuotesCutAttributes) {
    EXPECT_EQ(ShapeOf("<a b='c'/>"), "a#2");
    EXPECT_EQ(ShapeOf("<a x='1' y=\"2\"/>", kAsWritten), "a#2[x='1' y=\"2\"]");
}

TEST(XmlParserAttributes, LoneQuoteEndsTheLastChunk) {
    EXPECT_EQ(ShapeOf("<a b=\"c/>", kAsWritten), "a#2[b=]");
    EXPECT_EQ(ShapeOf("<a x=\"1\" y=\"2/>", kAsWritten), "a#2[x=1,y=]");
}

TEST(XmlParserAttributes, ChunkWithoutEqualsIsAllValue) {
    EXPECT_EQ(ShapeOf("<a \"v\" =\"w\"/>", kAsWritten), "a#2[=v,=w]");
}

TEST(XmlParserAttributes, ControlCharacterSeparatesNameFromAttributes) {
    EXPECT_EQ(ShapeOf("<cos\ttype=\"dom\"\r\n  x=\"1\"/>"), "cos#2[type=dom,x=1]");
}

TEST(XmlParserCase, GameOptionsLowerNamesAndValuesButNotText) {
    const auto document = Parsed("<COS TYPE=\"Bohater\">Ala Ma Kota</COS>");
    EXPECT_EQ(test_support::Shape(*document), "cos#0[type=bohater]{\"Ala Ma Kota\"}");
    EXPECT_EQ(document->FindTag("cos")->GetAttribute("TYPE"), "");
    EXPECT_EQ(document->FindTag("COS"), nullptr);
}

TEST(XmlParserCase, UpperCaseEndTagClosesWhenTagNamesAreLowered) {
    EXPECT_EQ(ShapeOf("<a>x</A><b/>"), "a#0{\"x\"} b#2");
    EXPECT_EQ(ShapeOf("<a>x</A><b/>", kAsWritten), "a#0{\"x\" /A#0{b#2}}");
}

TEST(XmlParserCase, EachOptionConvertsItsOwnPartOnly) {
    TXMLOptions upper;
    upper.TagNameCase = kUpperCase;
    EXPECT_EQ(ShapeOf("<Ab Cd=\"Ef\">Gh</ab>", upper), "AB#0[Cd=Ef]{\"Gh\"}");
    TXMLOptions values;
    values.AttributeValueCase = kUpperCase;
    values.TextCase = kLowerCase;
    EXPECT_EQ(ShapeOf("<Ab Cd=\"Ef\">Gh</Ab>", values), "Ab#0[Cd=EF]{\"gh\"}");
}

TEST(XmlParserCase, UnknownCaseValueKeepsTheText) {
    TXMLOptions odd;
    odd.TagNameCase = 3;
    odd.AttributeNameCase = -1;
    EXPECT_EQ(ShapeOf("<Ab Cd=\"Ef\"/>", odd), "Ab#2[Cd=Ef]");
}

TEST(XmlParserCase, OnlyAsciiLettersChange) {
    // Windows-1250 capitals Ł (0xA3) and Ś (0x8C) are not ASCII and stay.
    EXPECT_EQ(ShapeOf("<\xA3Q \x8CX=\"\xA3Y\"/>"), "\xA3q#2[\x8Cx=\xA3y]");
}

TEST(XmlParserText, GameOptionsTrimAndFoldWhitespace) {
    EXPECT_EQ(ShapeOf("<p>  two\r\n\t   words  </p>"), "p#0{\"two words\"}");
    const auto blank = Parsed("<p> \r\n\t </p>");
    EXPECT_EQ(test_support::Shape(*blank), "p#0");
    EXPECT_EQ(blank->FindTag("p")->GetText(), "");
}

TEST(XmlParserText, TrimRemovesEveryControlCharacterButFoldingOnlyBlanks) {
    TXMLOptions trim;
    trim.TrimText = true;
    EXPECT_EQ(ShapeOf("\x01\x1f a \t\t b \x7f ", trim), "\"a \t\t b \x7f\"");
    TXMLOptions fold;
    fold.CompactWhitespace = true;
    EXPECT_EQ(ShapeOf("\r\n a\x01\x01  b", fold), "\" a\x01\x01 b\"");
}

TEST(XmlParserText, TextAfterTheLastElementIsKept) {
    EXPECT_EQ(ShapeOf("<a/>\r\n\r\n"), "a#2");
    EXPECT_EQ(ShapeOf("<a/>\r\n tail \r\n"), "a#2 \"tail\"");
}

TEST(XmlParserComments, SkippedWithGameOptionsKeptOtherwise) {
    const std::string text = "<p>one<!-- a <b> -- note -->two</p>";
    EXPECT_EQ(ShapeOf(text), "p#0{\"one\" \"two\"}");
    TXMLOptions keep = kGameXMLOptions;
    keep.SkipComments = false;
    EXPECT_EQ(ShapeOf(text, keep), "p#0{\"one\" !\" a <b> -- note \" \"two\"}");
}

TEST(XmlParserComments, ShortestCommentsHoldNothing) {
    // "<!-->" closes on its own dashes.
    EXPECT_EQ(ShapeOf("<!-->a<!---->b<!--->c", kAsWritten), "!\"\" \"a\" !\"\" \"b\" !\"\" \"c\"");
}

TEST(XmlParserComments, BrWrittenAsOpenTagTakesTheRest) {
    EXPECT_EQ(ShapeOf("<t>one<br>two</t>three"), "t#0{\"one\" br#0{\"two\" /t#0{\"three\"}}}");
}

}  // namespace
}  // namespace gb
