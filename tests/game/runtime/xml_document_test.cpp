// Queries on the tree, NodeText, and writing trees back out.
#include <gtest/gtest.h>

#include "runtime/game_errors.h"
#include "support/xml_test_support.h"

namespace gb {
namespace {

using test_support::AddAttribute;
using test_support::AddTag;
using test_support::Parsed;
using test_support::XmlOf;

TEST(XmlQueries, FindTagTakesTheFirstTagOfExactlyThatName) {
    const auto document = Parsed("text<!-- x --><b id=\"1\"/><B id=\"2\"/><b id=\"3\"/>", TXMLOptions{});
    ASSERT_NE(document->FindTag("b"), nullptr);
    EXPECT_EQ(document->FindTag("b")->GetAttribute("id"), "1");
    EXPECT_EQ(document->FindTag("B")->GetAttribute("id"), "2");
    EXPECT_EQ(document->FindTag("text"), nullptr);
    EXPECT_EQ(document->FindTag(""), nullptr);
}

TEST(XmlQueries, IsTagAndChildByIndex) {
    const auto document = Parsed("<a/>text<b/>");
    ASSERT_EQ(document->ChildCount(), 3);
    EXPECT_TRUE(document->IsTag(0, "a"));
    EXPECT_FALSE(document->IsTag(0, "A"));
    EXPECT_FALSE(document->IsTag(1, "text"));
    EXPECT_TRUE(document->IsTag(2, "b"));
    EXPECT_FALSE(document->IsTag(3, "b"));
    EXPECT_FALSE(document->IsTag(-1, "a"));
    EXPECT_EQ(document->Child(1).Text, "text");
    EXPECT_THROW(document->Child(3), EListError);
    EXPECT_THROW(document->Child(-1), EListError);
}

TEST(XmlQueries, GetTextTakesTheFirstTextChildAndSkipsComments) {
    TXMLOptions keepComments = kGameXMLOptions;
    keepComments.SkipComments = false;
    const auto document = Parsed("<v><!-- note --><x/> 32 <y/>second</v><e/>", keepComments);
    EXPECT_EQ(document->FindTag("v")->GetText(), "32");
    EXPECT_EQ(document->FindTag("e")->GetText(), "");
}

TEST(XmlQueries, GetAttributeTakesTheFirstOfThatName) {
    const auto document = Parsed("<a x=\"1\" x=\"2\" y=\"\"/>");
    const TXMLTag* a = document->FindTag("a");
    EXPECT_EQ(a->GetAttribute("x"), "1");
    EXPECT_EQ(a->GetAttribute("y"), "");
    EXPECT_EQ(a->GetAttribute("z"), "");
    EXPECT_THROW(a->Attribute(3), EListError);
}

TEST(XmlQueries, ChainedQueriesRaiseAtTheFirstMissingNode) {
    const auto document = Parsed("<config><gfx><bpp> 32 </bpp></gfx></config>");
    EXPECT_EQ(GetText(FindTag(FindTag(FindTag(document.get(), "config"), "gfx"), "bpp")), "32");
    EXPECT_THROW(GetText(FindTag(FindTag(FindTag(document.get(), "config"), "gfx"), "sprites")), EXMLNodeMissing);
    try {
        GetText(FindTag(FindTag(FindTag(document.get(), "config"), "sfx"), "bpp"));
        FAIL() << "no error for a missing element";
    } catch (const EXMLNodeMissing& e) {
        EXPECT_NE(std::string(e.what()).find("FindTag \"bpp\""), std::string::npos) << e.what();
    }
    EXPECT_THROW(GetAttribute(FindTag(document.get(), "cos"), "type"), EXMLNodeMissing);
    EXPECT_THROW(ChildCount(FindTag(document.get(), "triggers")), EXMLNodeMissing);
    EXPECT_THROW(IsTag(FindTag(document.get(), "triggers"), 0, "trigger"), EXMLNodeMissing);
    EXPECT_THROW(Child(FindTag(document.get(), "triggers"), 0), EXMLNodeMissing);
    EXPECT_THROW(NodeText(FindTag(document.get(), "credits")), EXMLNodeMissing);
    EXPECT_EQ(ChildCount(FindTag(document.get(), "config")), 1);
}

TEST(XmlNodeText, LinesBreakOnlyAtBrTags) {
    const auto document = Parsed(
        "<say>First line<br/>\r\n      second line</say>"
        "<edges><br/>middle<br /></edges>"
        "<joined>one<b>bold</b>two</joined>"
        "<open>one<br>two</open>");
    EXPECT_EQ(document->FindTag("say")->NodeText(), "First line\r\nsecond line");
    EXPECT_EQ(document->FindTag("edges")->NodeText(), "\r\nmiddle\r\n");
    EXPECT_EQ(document->FindTag("joined")->NodeText(), "onetwo");
    // An open br holds the rest, so its own text is not part of the line.
    EXPECT_EQ(document->FindTag("open")->NodeText(), "one\r\n");
    EXPECT_EQ(Parsed("<e/>")->FindTag("e")->NodeText(), "");
}

TEST(XmlNodeText, CommentsAddNothing) {
    const auto document = Parsed("<t>a<!-- b -->c</t>", TXMLOptions{});
    EXPECT_EQ(document->FindTag("t")->NodeText(), "ac");
}

TEST(XmlAppend, EachNodeKindHasItsForm) {
    TXMLDocument document;
    AddAttribute(AddTag(document, "xml", TXMLTag::kProcessingInstruction), "version", "1.0");
    TXMLTag& root = AddTag(document, "root");
    root.AddComment().Text = " c ";
    root.AddString().Text = "a < b & \"c\"";
    TXMLTag& empty = AddTag(root, "e", TXMLTag::kEmpty);
    AddAttribute(empty, "x", "1 2");
    empty.AddAttribute();
    AddTag(root, "inner");
    EXPECT_EQ(XmlOf(document),
              "<?xml version=\"1.0\"?><root><!-- c -->a < b & \"c\"<e x=\"1 2\" =\"\"/><inner></inner></root>");
    EXPECT_EQ(XmlOf(empty), "<e x=\"1 2\" =\"\"/>");
    EXPECT_EQ(XmlOf(root.Child(0)), "<!-- c -->");
}

TEST(XmlAppend, AppendsToWhatTheOutputHolds) {
    const auto document = Parsed("<a/>");
    std::string out = "head:";
    document->AppendXML(out);
    EXPECT_EQ(out, "head:<a/>");
}

TEST(XmlAppend, GameDataRoundTripsThroughItsOwnOutput) {
    const std::string file =
        "<?xml version=\"1.0\" encoding=\"windows-1250\"?>\r\n"
        "<GameData>\r\n"
        "  <!-- the map -->\r\n"
        "  <Map>\r\n"
        "    <Cos Type=\"Bohater\" Id=\"Hero\" X=\"3,5\" Y=\"4\"/>\r\n"
        "    <cos type=\"dom\" x=\"10\" y=\"2\" w=\"5\" h=\"4\" entrance=\"top\"/>\r\n"
        "  </Map>\r\n"
        "  <triggers>\r\n"
        "    <trigger event=\"init\">\r\n"
        "      <action type=\"dialog\" id=\"hero\">Wesołych\r\n   Świąt!<br/>Naprawdę.</action>\r\n"
        "    </trigger>\r\n"
        "  </triggers>\r\n"
        "</GameData>\r\n";
    const std::string written = XmlOf(*Parsed(file));
    EXPECT_EQ(written,
              "<?xml version=\"1.0\" encoding=\"windows-1250\"?><gamedata><map>"
              "<cos type=\"bohater\" id=\"hero\" x=\"3,5\" y=\"4\"/>"
              "<cos type=\"dom\" x=\"10\" y=\"2\" w=\"5\" h=\"4\" entrance=\"top\"/></map>"
              "<triggers><trigger event=\"init\"><action type=\"dialog\" id=\"hero\">"
              "Wesołych Świąt!<br/>Naprawdę.</action></trigger></triggers></gamedata>");
    EXPECT_EQ(XmlOf(*Parsed(written)), written);
    EXPECT_EQ(test_support::Shape(*Parsed(written)), test_support::Shape(*Parsed(file)));
}

TEST(XmlAppend, TreeBuiltByHandReadsBackAsBuilt) {
    TXMLDocument document;
    TXMLTag& line = AddTag(AddTag(document, "credits"), "line");
    AddAttribute(line, "style", "big");
    line.AddString().Text = "Glimmer Bay";
    AddTag(line, "br", TXMLTag::kEmpty);
    line.AddString().Text = "2024";
    const std::string written = XmlOf(document);
    EXPECT_EQ(test_support::Shape(*Parsed(written, TXMLOptions{})), test_support::Shape(document));
    EXPECT_EQ(NodeText(FindTag(Parsed(written)->FindTag("credits"), "line")), "Glimmer Bay\r\n2024");
}

}  // namespace
}  // namespace gb
