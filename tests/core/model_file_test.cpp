#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/bbx_collection.h"
#include "core/binary_io.h"
#include "core/code_page.h"
#include "core/errors.h"
#include "core/program_directory.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;
using namespace bbx;

namespace {

class ModelFileTest : public ::testing::Test {
protected:
    std::string PathOf(const std::string& name) const { return Temp.File(name); }
    void WriteRaw(const std::string& name, const std::string& bytes) const { Temp.Write(name, bytes); }
    static std::string ReadRaw(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    const gb::test_support::TTempFolder Temp;
    const fs::path Dir = Temp.Path();
};

std::string Le32(std::uint32_t v) {
    return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16), static_cast<char>(v >> 24)};
}

float FromBits(std::uint32_t bits) {
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
}

std::uint32_t Bits(float f) {
    std::uint32_t b;
    std::memcpy(&b, &f, 4);
    return b;
}

template <typename F>
EInOutError CatchIo(F f) {
    try {
        f();
    } catch (const EInOutError& e) {
        return e;
    }
    ADD_FAILURE() << "no EInOutError was raised";
    return EInOutError(-1, "");
}

}  // namespace

TEST(SphereElement, HelpersFillTheRecord) {
    const TSphereElement s = MakeSphere(0x123456, 1, 2, 3, 4);
    EXPECT_EQ(s.C, -1);
    EXPECT_TRUE(IsSingleSphere(s));
    EXPECT_EQ(s.X2, 0.0f);
    EXPECT_EQ(s.R2, 0.0f);
    const TSphereElement series = MakeSeries(7, 0, 1, 2, 3, 4, 5, 6, 7, 8);
    EXPECT_FALSE(IsSingleSphere(series));
    EXPECT_EQ(series.R2, 8.0f);
    EXPECT_FALSE(IsSingleSphere(MakeSeries(7, -2, 0, 0, 0, 0, 0, 0, 0, 0)));
}

TEST(ModelElements, EditOperations) {
    Tbbx_model m;
    for (int i = 0; i < 3; ++i) m.AddElement(MakeSphere(static_cast<std::uint32_t>(i), 0, 0, 0, 1));
    m.DeleteElement(2);
    ASSERT_EQ(m.Count(), 2);
    EXPECT_EQ(m.GetElement(1).Color, 1u);
    m.DeleteElement(0);
    ASSERT_EQ(m.Count(), 1);
    EXPECT_EQ(m.GetElement(0).Color, 1u);

    m.AddElement(MakeSphere(9, 0, 0, 0, 1));
    m.AppendModel(m);  // a model appended to itself doubles its list
    ASSERT_EQ(m.Count(), 4);
    EXPECT_EQ(m.GetElement(2).Color, 1u);
    EXPECT_EQ(m.GetElement(3).Color, 9u);

    m.SetCount(1);
    m.SetCount(2);
    EXPECT_EQ(m.GetElement(0).Color, 1u);

    Tbbx_model other;
    other.Name = "x";
    other.ID = 5;
    other.AppendModel(m);
    EXPECT_EQ(other.Name, "x");
    EXPECT_EQ(other.ID, 5);
    EXPECT_EQ(other.Count(), 2);
}

TEST(Collection, IdentityOperations) {
    Tbbx_collection c;
    Tbbx_model* a = c.Add();
    Tbbx_model* b = c.Add();
    Tbbx_model stranger;
    EXPECT_EQ(c.IndexOf(&stranger), -1);
    c.Remove(&stranger);
    EXPECT_EQ(c.Count(), 2);
    c.Exchange(0, 1);
    EXPECT_EQ(c.Items(0), b);
    EXPECT_EQ(c.IndexOf(a), 1);
    c.Remove(b);
    EXPECT_EQ(c.Count(), 1);
    EXPECT_EQ(c.Items(0), a);
    a->ID = 3;
    Tbbx_model* twin = c.Add();
    twin->ID = 3;
    EXPECT_EQ(c.FindById(3), a) << "the earlier model with an ID wins";
    EXPECT_EQ(c.FindById(4), nullptr);
}

TEST_F(ModelFileTest, SaveThenLoadIsBitExact) {
    Tbbx_collection c;
    Tbbx_model* m = c.Add();
    m->Name = Pl<"Bałwan żółty">();
    m->ID = -7;
    m->I1 = 64.5f;
    m->I2 = FromBits(0x7FC00001);  // a NaN payload survives
    m->AddElement(MakeSphere(0xFF123456, -1.25f, 2, 3e-40f, 10));  // colour byte 3 and a denormal
    TSphereElement leftover = MakeSeries(0x00FF00, 3, 1, 2, 3, 4, 5, 6, 7, 8);
    leftover.C = -1;  // a series turned into a sphere keeps its second end
    m->AddElement(leftover);
    c.Add();  // an empty model
    c.SaveToFile(PathOf("a.bbx"));

    Tbbx_collection back;
    back.LoadFromFile(PathOf("a.bbx"));
    ASSERT_EQ(back.Count(), 2);
    const Tbbx_model& r = *back.Items(0);
    EXPECT_EQ(r.Name, m->Name);
    EXPECT_EQ(r.ID, -7);
    EXPECT_EQ(Bits(r.I1), Bits(64.5f));
    EXPECT_EQ(Bits(r.I2), 0x7FC00001u);
    ASSERT_EQ(r.Count(), 2);
    for (int i = 0; i < 2; ++i) {
        const TSphereElement a = m->GetElement(i), b = r.GetElement(i);
        EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0) << "element " << i;
    }
    EXPECT_EQ(ReadRaw(PathOf("a.bbx")), c.SaveToBytes());
}

TEST_F(ModelFileTest, LayoutIsLittleEndian) {
    Tbbx_collection c;
    Tbbx_model* m = c.Add();
    m->Name = "ab";
    m->ID = 0x01020304;
    m->I1 = 1.0f;
    m->I2 = 2.0f;
    m->AddElement(MakeSphere(0x00AABBCC, 0, 0, 0, 1));
    const std::string bytes = c.SaveToBytes();
    std::string expected = "BBX1" + Le32(2) + "ab" + Le32(0x01020304) + Le32(0x3F800000) + Le32(0x40000000) + Le32(1);
    expected += Le32(0xFFFFFFFF) + Le32(0x00AABBCC) + Le32(0) + Le32(0) + Le32(0) + Le32(0x3F800000);
    expected += Le32(0) + Le32(0) + Le32(0) + Le32(0);
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(bytes.size(), 4u + 20 + 2 + 40);
}

TEST_F(ModelFileTest, EmptyFilesAndEmptyModels) {
    WriteRaw("magic.bbx", "BBX1");
    Tbbx_collection c;
    c.LoadFromFile(PathOf("magic.bbx"));
    EXPECT_EQ(c.Count(), 0);
    c.SaveToFile(PathOf("empty.bbx"));
    EXPECT_EQ(ReadRaw(PathOf("empty.bbx")), "BBX1");
    c.Add()->ID = 9;
    EXPECT_EQ(c.SaveToBytes().size(), 4u + 20);
}

TEST_F(ModelFileTest, LoadingAppends) {
    Tbbx_collection source;
    source.Add()->ID = 1;
    source.Add()->ID = 2;
    source.SaveToFile(PathOf("two.bbx"));
    Tbbx_collection c;
    c.Add()->ID = 99;
    c.LoadFromFile(PathOf("two.bbx"));
    ASSERT_EQ(c.Count(), 3);
    EXPECT_EQ(c.Items(0)->ID, 99);
    EXPECT_EQ(c.Items(2)->ID, 2);
}

TEST_F(ModelFileTest, BadMagicAndShortFiles) {
    WriteRaw("lower.bbx", "bbx1");
    Tbbx_collection c;
    c.Add();
    const EInOutError e = CatchIo([&] { c.LoadFromFile(PathOf("lower.bbx")); });
    EXPECT_EQ(std::string(e.what()), Pl<"Nieprawidłowy format">());
    EXPECT_EQ(c.Count(), 1) << "the collection is left as it was";

    WriteRaw("short.bbx", "BB");
    const EInOutError s = CatchIo([&] { c.LoadFromFile(PathOf("short.bbx")); });
    EXPECT_STREQ(s.what(), "Read beyond end of file");
    EXPECT_EQ(s.ErrorCode, kReadBeyondEndCode);
}

TEST_F(ModelFileTest, CutShortRecordKeepsWhatWasRead) {
    Tbbx_collection source;
    source.Add()->ID = 1;
    Tbbx_model* second = source.Add();
    second->ID = 2;
    second->Name = "abc";
    std::string bytes = source.SaveToBytes();
    bytes.resize(bytes.size() - 3);  // cut inside the second record's N
    WriteRaw("cut.bbx", bytes);
    Tbbx_collection c;
    const EInOutError e = CatchIo([&] { c.LoadFromFile(PathOf("cut.bbx")); });
    EXPECT_STREQ(e.what(), "Read beyond end of file");
    ASSERT_EQ(c.Count(), 2) << "the model being read stays in the collection";
    EXPECT_EQ(c.Items(0)->ID, 1);
    EXPECT_EQ(c.Items(1)->ID, 2);
    EXPECT_EQ(c.Items(1)->Name, "abc");
}

TEST_F(ModelFileTest, DamagedCountsAreRejectedBeforeAllocating) {
    const std::string tail = Le32(0) + Le32(0) + Le32(0);
    for (const std::string& record : {Le32(0xFFFFFFFF) + tail + Le32(0),                 // negative L
                                      Le32(0x7FFFFFFF) + tail + Le32(0),                 // huge L
                                      Le32(0) + tail + Le32(0x80000000),                 // negative N
                                      Le32(0) + tail + Le32(0x10000000),                 // huge N
                                      Le32(0) + tail + Le32(1) + std::string(39, '\0')}) {  // N one short
        WriteRaw("bad.bbx", "BBX1" + record);
        Tbbx_collection c;
        const EInOutError e = CatchIo([&] { c.LoadFromFile(PathOf("bad.bbx")); });
        EXPECT_STREQ(e.what(), "Read beyond end of file");
        EXPECT_EQ(c.Count(), 1);
        EXPECT_EQ(c.Items(0)->Count(), 0);
    }
}

TEST_F(ModelFileTest, OpenAndCreateFailuresCarryTheSystemError) {
    Tbbx_collection c;
    const EInOutError missing = CatchIo([&] { c.LoadFromFile(PathOf("nothing.bbx")); });
    EXPECT_EQ(missing.ErrorCode, ENOENT);
    EXPECT_NE(std::string(missing.what()).find(std::strerror(ENOENT)), std::string::npos);
    const EInOutError dir = CatchIo([&] { c.LoadFromFile(Dir.string()); });
    EXPECT_EQ(dir.ErrorCode, EISDIR);
    const EInOutError create = CatchIo([&] { c.SaveToFile(PathOf("no/such/dir.bbx")); });
    EXPECT_EQ(create.ErrorCode, ENOENT);
}

TEST_F(ModelFileTest, FailedSaveLeavesTheOldFileWhole) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    Tbbx_collection old;
    old.Add()->ID = 1;
    old.SaveToFile(PathOf("keep.bbx"));
    const std::string before = ReadRaw(PathOf("keep.bbx"));
    // A writable file in a read-only folder is written in place; a
    // write-protected one is refused.
    fs::permissions(PathOf("keep.bbx"), fs::perms::owner_read);
    fs::permissions(Dir, fs::perms::owner_read | fs::perms::owner_exec);
    Tbbx_collection next;
    next.Add()->ID = 2;
    const EInOutError e = CatchIo([&] { next.SaveToFile(PathOf("keep.bbx")); });
    EXPECT_EQ(e.ErrorCode, EACCES);
    fs::permissions(Dir, fs::perms::owner_all);
    EXPECT_EQ(ReadRaw(PathOf("keep.bbx")), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir), fs::directory_iterator()), 1) << "no temporary left";
}

TEST_F(ModelFileTest, SaveKeepsThePermissionsOfTheReplacedFile) {
    Tbbx_collection c;
    c.SaveToFile(PathOf("mode.bbx"));
    fs::permissions(PathOf("mode.bbx"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    c.Add();
    c.SaveToFile(PathOf("mode.bbx"));
    EXPECT_EQ(fs::status(PathOf("mode.bbx")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(ModelFileTest, WriteFailureMidwayLeavesTheOldFileWhole) {
    // A file size limit makes the write fail part way, as a full disk would.
    Tbbx_collection old;
    old.Add()->ID = 1;
    old.SaveToFile(PathOf("keep.bbx"));
    const std::string before = ReadRaw(PathOf("keep.bbx"));
    Tbbx_collection big;
    big.Add()->SetCount(100);

    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 64;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const EInOutError e = CatchIo([&] { big.SaveToFile(PathOf("keep.bbx")); });
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(e.ErrorCode, EFBIG);
    EXPECT_EQ(ReadRaw(PathOf("keep.bbx")), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir), fs::directory_iterator()), 1) << "no temporary left";
}

TEST(ProgramDirectory, IsTheTestExecutablesOwn) {
    const std::string dir = ProgramDirectory();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.back(), '/');
    EXPECT_TRUE(fs::exists(dir + ProgramFileName()));
    EXPECT_EQ(ProgramFileName(), "core_tests");
}
