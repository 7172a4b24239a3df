// Loading data files: the program's directory, the game's reader options, and
// files that declare UTF-8.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "core/binary_io.h"
#include "core/errors.h"
#include "core/program_directory.h"
#include "runtime/data_file.h"
#include "support/temp_folder.h"

namespace gb {
namespace {

// "Świąt ł" in Windows-1250 and in UTF-8.
const std::string kCp1250Text = "\x8C" "wi\xB9t \xB3";
const std::string kUtf8Text = "\xC5\x9Awi\xC4\x85t \xC5\x82";

class DataFileTest : public test_support::TempFolderTest {
protected:
    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(Directory + name, std::ios::binary) << bytes;
    }
    std::string TextOf(const std::string& bytes) const {
        Write("Text.xml", bytes);
        return GetText(FindTag(LoadDataFile(Directory, "Text.xml").get(), "t"));
    }
};

TEST_F(DataFileTest, ReadsWithTheGameOptions) {
    Write("Config.xml", "<Config>\r\n <GFX><BPP> 32 </BPP><!-- c --></GFX>\r\n</Config>\r\n");
    const auto document = LoadDataFile(Directory, "Config.xml");
    EXPECT_EQ(GetText(FindTag(FindTag(FindTag(document.get(), "config"), "gfx"), "bpp")), "32");
    EXPECT_EQ(FindTag(FindTag(document.get(), "config"), "gfx")->ChildCount(), 1);
}

TEST_F(DataFileTest, FileWithoutDeclarationIsTakenByteForByte) {
    EXPECT_EQ(TextOf("<t>" + kCp1250Text + "</t>"), kCp1250Text);
    // Even text that happens to be valid UTF-8.
    EXPECT_EQ(TextOf("<t>" + kUtf8Text + "</t>"), kUtf8Text);
    EXPECT_EQ(TextOf("<?xml version=\"1.0\" encoding=\"windows-1250\"?><t>" + kUtf8Text + "</t>"), kUtf8Text);
}

TEST_F(DataFileTest, ByteOrderMarkMeansUtf8AndIsDropped) {
    Write("Bom.xml", "\xEF\xBB\xBF<t>" + kUtf8Text + "</t>");
    const auto document = LoadDataFile(Directory, "Bom.xml");
    ASSERT_EQ(document->ChildCount(), 1);
    EXPECT_EQ(document->FindTag("t")->GetText(), kCp1250Text);
}

TEST_F(DataFileTest, DeclaredUtf8InAnyLetterCaseAndQuoting) {
    for (const std::string declaration :
         {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>", "<?xml version=\"1.0\" encoding=\"utf-8\"?>",
          "\r\n <?XML version='1.0' Encoding = 'Utf-8' ?>", "<?xml encoding=\"utf-8\"?>",
          "<?xml\tversion=\"1.0\"\r\nencoding=\"utf-8\"?>", "<?xml\nencoding='utf-8'?>"})
        EXPECT_EQ(TextOf(declaration + "<t>" + kUtf8Text + "</t>"), kCp1250Text) << declaration;
}

TEST_F(DataFileTest, OnlyTheDeclarationCanDeclareUtf8) {
    EXPECT_EQ(TextOf("<t a=\"1\" encoding=\"utf-8\">" + kUtf8Text + "</t>"), kUtf8Text);
    EXPECT_EQ(TextOf("<?xml version=\"1.0\"?><t encoding=\"utf-8\">" + kUtf8Text + "</t>"), kUtf8Text);
    EXPECT_EQ(TextOf("<?xml myencoding=\"utf-8\"?><t>" + kUtf8Text + "</t>"), kUtf8Text);
    EXPECT_EQ(TextOf("<?xml encoding=\"utf-16\"?><t>" + kUtf8Text + "</t>"), kUtf8Text);
    // Instructions whose names only begin with "xml" declare nothing.
    EXPECT_EQ(TextOf("<?xml-stylesheet type=\"text/xsl\" href=\"a.xsl\" encoding=\"utf-8\"?><t>" + kUtf8Text + "</t>"),
              kUtf8Text);
    EXPECT_EQ(TextOf("<?xmlfoo encoding=\"utf-8\"?><t>" + kUtf8Text + "</t>"), kUtf8Text);
    EXPECT_EQ(TextOf("<?xml-stylesheet href=\"a.xsl\"?><?xml encoding=\"utf-8\"?><t>" + kUtf8Text + "</t>"), kUtf8Text)
        << "a declaration is only one at the start";
}

TEST_F(DataFileTest, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    EXPECT_EQ(TextOf("\xEF\xBB\xBF<t>\xE2\x82\xAC \xE2\x98\x83</t>"), "\x80 ?");
}

TEST(DataFileText, ShortAndTruncatedDeclarationsAreTakenAsTheyAre) {
    for (const std::string bytes : {"", "<", "<?xm", "<?xml", "<?xml encoding", "<?xml encoding=", "<?xml encoding=\"utf-8",
                                    "\xEF\xBB", "<?xml encoding='utf-8\"?>"})
        EXPECT_EQ(DataFileText(bytes), bytes);
    EXPECT_EQ(DataFileText("\xEF\xBB\xBF"), "");
}

TEST_F(DataFileTest, MissingFileRaisesTheSystemError) {
    try {
        LoadDataFile(Directory, "GameData.xml");
        FAIL() << "no error for a missing file";
    } catch (const bbx::EInOutError& e) {
        EXPECT_EQ(e.ErrorCode, ENOENT);
        EXPECT_NE(std::string(e.what()).find("GameData.xml"), std::string::npos) << e.what();
    }
}

TEST_F(DataFileTest, FolderInPlaceOfTheFileRaisesTheSystemError) {
    std::filesystem::create_directory(Directory + "Credits.xml");
    try {
        LoadDataFile(Directory, "Credits.xml");
        FAIL() << "no error for a folder";
    } catch (const bbx::EInOutError& e) {
        EXPECT_EQ(e.ErrorCode, EISDIR);
    }
}

TEST(DataFileProgramDirectory, ShortFormReadsBesideTheProgram) {
    const std::string name = "gb_data_file_test_" + std::to_string(::getpid()) + ".xml";
    const std::string path = bbx::ProgramDirectory() + name;
    bbx::WriteWholeFile(path, "<Here/>");
    const auto document = LoadDataFile(name);
    std::filesystem::remove(path);
    EXPECT_NE(document->FindTag("here"), nullptr);
}

}  // namespace
}  // namespace gb
