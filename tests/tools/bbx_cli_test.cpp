// The bbx tool driven through its real command line.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <sys/wait.h>
#include <vector>

#include "core/bbx_collection.h"
#include "core/code_page.h"
#include "core/render_canvas.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;
using namespace bbx;

namespace {

struct Result {
    int Status;
    std::string Out, Err;
};

class BbxTool : public ::testing::Test {
protected:
    std::string PathOf(const std::string& name) const { return Temp.File(name); }
    void Write(const std::string& name, const std::string& bytes) const { Temp.Write(name, bytes); }
    std::string Read(const std::string& name) const { return Temp.Read(name); }
    Result Run(const std::string& args) const {
        const std::string err = PathOf("stderr.txt");
        const std::string command = std::string(BBX_TOOL) + " " + args + " 2>" + err;
        Result r;
        FILE* pipe = ::popen(command.c_str(), "r");
        if (!pipe) throw std::runtime_error("cannot run " + command);
        std::array<char, 4096> buf;
        std::size_t n;
        while ((n = std::fread(buf.data(), 1, buf.size(), pipe)) > 0) r.Out.append(buf.data(), n);
        const int status = ::pclose(pipe);
        r.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        r.Err = Read("stderr.txt");
        return r;
    }

    // Two models: a named one with a sphere and a series, an empty one.
    void WriteSample(const std::string& name) const {
        Tbbx_collection c;
        Tbbx_model* m = c.Add();
        m->Name = Pl<"Choinka świąteczna">();
        m->ID = 3;
        m->I1 = 40;
        m->I2 = 60.5f;
        m->AddElement(MakeSphere(RGB(0, 128, 0), 0, 10, 0, 12));
        m->AddElement(MakeSeries(RGB(200, 30, 30), 2, 0, -20, 0, 4, 0, 20, 0, 8));
        Tbbx_model* e = c.Add();
        e->ID = -1;
        c.SaveToFile(PathOf(name));
    }

    const gb::test_support::TTempFolder Temp;
};

}  // namespace

TEST_F(BbxTool, InfoListsEveryModel) {
    WriteSample("m.bbx");
    const Result r = Run(PathOf("m.bbx").insert(0, "info "));
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_NE(r.Out.find("0\tChoinka świąteczna\t3\t40\t60.5\t2\t5\n"), std::string::npos) << r.Out;
    EXPECT_NE(r.Out.find("1\t\t-1\t0\t0\t0\t0\n"), std::string::npos) << r.Out;
}

TEST_F(BbxTool, DumpThenBuildIsBitExact) {
    Tbbx_collection c;
    Tbbx_model* m = c.Add();
    m->Name = std::string("\x81\x00\"\\", 4);  // unassigned byte, NUL, quote, backslash
    m->ID = 2147483647;
    m->I1 = 1e-45f;
    const std::uint32_t nanBits = 0xFFC01234;
    std::memcpy(&m->I2, &nanBits, 4);
    TSphereElement e = MakeSeries(0xFF00FF00u, -1, 0.1f, -0.0f, 3.4028235e38f, 1.0f / 3, 1e30f, 7, 8, 9);
    e.R2 = std::numeric_limits<float>::infinity();
    m->AddElement(e);
    c.Add();
    c.SaveToFile(PathOf("in.bbx"));

    ASSERT_EQ(Run("dump " + PathOf("in.bbx") + " -o " + PathOf("out.json")).Status, 0);
    const std::string json = Read("out.json");
    EXPECT_NE(json.find("\"i1\":1e-45"), std::string::npos) << json;
    EXPECT_NE(json.find("\"i2\":\"0xffc01234\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"r2\":\"0x7f800000\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"color\":4278255360"), std::string::npos) << json;
    EXPECT_NE(json.find("\"x1\":0.1,"), std::string::npos) << json;
    EXPECT_NE(json.find("\"y1\":-0.0,"), std::string::npos) << json;
    EXPECT_EQ(Run("dump " + PathOf("in.bbx")).Out, json) << "stdout and -o agree";

    const Result built = Run("build " + PathOf("out.json") + " -o " + PathOf("back.bbx"));
    ASSERT_EQ(built.Status, 0) << built.Err;
    EXPECT_EQ(Read("back.bbx"), Read("in.bbx"));
}

TEST_F(BbxTool, BuildReadsHandWrittenJson) {
    Write("hand.json", R"({"models":[{"name":"Bałwan","id":13,"i1":32,"i2":48.25,"elements":[
        {"c":-1,"color":16777215,"x1":0,"y1":0,"z1":0,"r1":16.5,"x2":0,"y2":0,"z2":0,"r2":0}]}]})");
    ASSERT_EQ(Run("build " + PathOf("hand.json") + " -o " + PathOf("hand.bbx")).Status, 0);
    Tbbx_collection c;
    c.LoadFromFile(PathOf("hand.bbx"));
    ASSERT_EQ(c.Count(), 1);
    EXPECT_EQ(c.Items(0)->Name, Pl<"Bałwan">());
    EXPECT_EQ(c.Items(0)->I2, 48.25f);
    EXPECT_EQ(c.Items(0)->GetElement(0).R1, 16.5f);
}

TEST_F(BbxTool, RendersPngAndSvg) {
    WriteSample("m.bbx");
    ASSERT_EQ(Run("render " + PathOf("m.bbx") + " --id 3 -o " + PathOf("a.png")).Status, 0);
    const std::string png = Read("a.png");
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    // Width and height in the IHDR chunk: 40 x round(60.5) = 60 (half to even).
    EXPECT_EQ(png.substr(16, 8), std::string("\0\0\0\x28\0\0\0\x3c", 8));

    ASSERT_EQ(Run("render " + PathOf("m.bbx") + " --index 0 --yaw 0 --pitch 0 --zoom 1000 --size 100x100 -o " +
                  PathOf("a.svg"))
                  .Status,
              0);
    const std::string svg = Read("a.svg");
    // The series (C = 2) gives 4 spheres and the single one 1: five discs.
    std::size_t count = 0;
    for (auto p = svg.find("<ellipse"); p != std::string::npos; p = svg.find("<ellipse", p + 1)) ++count;
    EXPECT_EQ(count, 5u);
    // The single sphere at (0, 10, 0) radius 12: box (38, 48, 62, 72).
    EXPECT_NE(svg.find("<ellipse cx=\"50\" cy=\"60\" rx=\"12\" ry=\"12\" fill=\"#008000\"/>"), std::string::npos)
        << svg;
}

TEST_F(BbxTool, BadInputFailsCleanly) {
    WriteSample("m.bbx");
    Write("bad.bbx", "BBX2");
    Write("cut.bbx", Read("m.bbx").substr(0, 30));
    Write("bad.json", "{\"models\":[{\"name\":1}]}");
    Write("broken.json", "{\"models\":[");
    Write("ranges.json", R"({"models":[{"name":"","id":1,"i1":1e39,"i2":0,"elements":[]}]})");
    Write("snowman.json", R"({"models":[{"name":"☃","id":1,"i1":0,"i2":0,"elements":[]}]})");

    const struct {
        std::string Args, Expect;
    } cases[] = {
        {"info " + PathOf("none.bbx"), "No such file or directory"},
        {"info " + PathOf("bad.bbx"), "Nieprawidłowy format"},
        {"dump " + PathOf("cut.bbx") + " -o " + PathOf("cut.json"), "Read beyond end of file"},
        {"build " + PathOf("bad.json") + " -o " + PathOf("x.bbx"), "name"},
        {"build " + PathOf("broken.json") + " -o " + PathOf("x.bbx"), "parse error"},
        {"build " + PathOf("ranges.json") + " -o " + PathOf("x.bbx"), "single"},
        {"build " + PathOf("snowman.json") + " -o " + PathOf("x.bbx"), "Windows-1250"},
        {"render " + PathOf("m.bbx") + " --id 77 -o " + PathOf("x.png"), "no model with id 77"},
        {"render " + PathOf("m.bbx") + " --id -1 -o " + PathOf("x.png"), "--size"},
        {"build " + PathOf("bad.json") + " -o " + PathOf("nodir/x.bbx"), "name"},
    };
    for (const auto& c : cases) {
        const Result r = Run(c.Args);
        EXPECT_EQ(r.Status, 1) << c.Args;
        EXPECT_NE(r.Err.find(c.Expect), std::string::npos) << c.Args << "\n" << r.Err;
        EXPECT_EQ(std::count(r.Err.begin(), r.Err.end(), '\n'), 1) << "one line: " << r.Err;
    }
    EXPECT_FALSE(fs::exists(PathOf("cut.json"))) << "no partial output";
    EXPECT_FALSE(fs::exists(PathOf("x.bbx")));
    EXPECT_FALSE(fs::exists(PathOf("x.png")));
}

TEST_F(BbxTool, UsageErrorsExitWithTwo) {
    WriteSample("m.bbx");
    for (const std::string& args : std::vector<std::string>{"", "frobnicate", "info", "build " + PathOf("a.json"),
                                   "render " + PathOf("m.bbx") + " -o " + PathOf("x.png"),
                                   "render " + PathOf("m.bbx") + " --id 3 --index 0 -o " + PathOf("x.png"),
                                   "render " + PathOf("m.bbx") + " --id 3 -o " + PathOf("x.gif"),
                                   "render " + PathOf("m.bbx") + " --id x -o " + PathOf("x.png"),
                                   "render " + PathOf("m.bbx") + " --id 3 --size 0x5 -o " + PathOf("x.png")}) {
        EXPECT_EQ(Run(args).Status, 2) << args;
    }
}

TEST_F(BbxTool, ModelsBeyondTheSphereLimitAreRefused) {
    // One element asking for 2^31 + 1 spheres: refused at once, no picture.
    Tbbx_collection c;
    c.Add()->AddElement(MakeSphere(1, 0, 0, 0, 5));
    Tbbx_model* huge = c.Add();
    huge->Name = "Lawina";
    huge->ID = 8;
    huge->I1 = huge->I2 = 32;
    huge->AddElement(MakeSeries(1, 2147483647, 0, 0, 0, 1, 0, 0, 0, 1));
    c.SaveToFile(PathOf("huge.bbx"));

    for (const std::string output : {"x.png", "x.svg"}) {
        const Result r = Run("render " + PathOf("huge.bbx") + " --id 8 -o " + PathOf(output));
        EXPECT_EQ(r.Status, 1) << output;
        EXPECT_NE(r.Err.find("\"Lawina\" (ID 8)"), std::string::npos) << r.Err;
        EXPECT_NE(r.Err.find("too many to draw"), std::string::npos) << r.Err;
        EXPECT_EQ(std::count(r.Err.begin(), r.Err.end(), '\n'), 1) << r.Err;
        EXPECT_FALSE(fs::exists(PathOf(output)));
    }

    const Result info = Run("info " + PathOf("huge.bbx"));
    EXPECT_EQ(info.Status, 1);
    EXPECT_NE(info.Out.find("1\tLawina\t8\t32\t32\t1\t2147483649\n"), std::string::npos) << info.Out;
    EXPECT_NE(info.Err.find("model 1: "), std::string::npos) << info.Err;
    EXPECT_EQ(std::count(info.Err.begin(), info.Err.end(), '\n'), 1) << info.Err;
    EXPECT_EQ(Run("render " + PathOf("huge.bbx") + " --index 0 --size 20x20 -o " + PathOf("ok.png")).Status, 0)
        << "the other model still renders";
}

TEST_F(BbxTool, BuildWritesThroughASymbolicLink) {
    Write("hand.json", R"({"models":[{"name":"","id":4,"i1":0,"i2":0,"elements":[]}]})");
    fs::create_directory(Temp.Path() / "data");
    Write("data/models.bbx", "old");
    fs::create_symlink("data/models.bbx", Temp.Path() / "models.bbx");
    ASSERT_EQ(Run("build " + PathOf("hand.json") + " -o " + PathOf("models.bbx")).Status, 0);
    EXPECT_TRUE(fs::is_symlink(PathOf("models.bbx")));
    Tbbx_collection c;
    c.LoadFromFile(PathOf("data/models.bbx"));
    ASSERT_EQ(c.Count(), 1);
    EXPECT_EQ(c.Items(0)->ID, 4);
}
