// The bbx tool under faults: full or size-limited output, inputs that are no
// regular files, signals during a save, and hostile text in its messages.
#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "bbx/safe_text.h"
#include "core/bbx_collection.h"
#include "core/render_canvas.h"
#include "support/temp_folder.h"

using namespace bbx;

namespace {

constexpr int kNoLimit = -1;

struct Outcome {
    int Status = -1;  // the exit status; -1 when a signal ended it
    int Signal = 0;
    std::string Err;
};

class BbxFaults : public ::testing::Test {
protected:
    std::string PathOf(const std::string& name) const { return Temp.File(name); }

    // Runs bbx with stdout sent to `out`, under a file-size limit of `fsize`
    // bytes unless kNoLimit; `signal`, when given, is sent as soon as a new
    // file shows in the folder, that is while bbx saves.
    Outcome Run(const std::vector<std::string>& args, const std::string& out, long fsize = kNoLimit,
                int signal = 0) const {
        const std::string err = PathOf("stderr.txt");
        const std::size_t before = Files().size();
        const pid_t child = ::fork();
        if (child == 0) {
            const int o = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            const int e = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (o < 0 || e < 0 || ::dup2(o, 1) < 0 || ::dup2(e, 2) < 0) ::_exit(126);
            if (fsize != kNoLimit) {
                const rlimit limit{static_cast<rlim_t>(fsize), static_cast<rlim_t>(fsize)};
                if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(126);
            }
            // The default disposition, as a shell gives it.
            std::signal(SIGXFSZ, SIG_DFL);
            std::vector<char*> argv{const_cast<char*>(BBX_TOOL)};
            for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            ::execv(BBX_TOOL, argv.data());
            ::_exit(127);
        }
        int status = 0;
        pid_t ended = 0;
        if (signal != 0) {
            while ((ended = ::waitpid(child, &status, WNOHANG)) == 0 && Files().size() == before) ::usleep(50);
            if (ended == 0) ::kill(child, signal);
        }
        if (ended == 0) ::waitpid(child, &status, 0);
        Outcome r;
        if (WIFEXITED(status)) r.Status = WEXITSTATUS(status);
        if (WIFSIGNALED(status)) r.Signal = WTERMSIG(status);
        r.Err = Temp.Read("stderr.txt");
        return r;
    }

    // A model file whose JSON dump is some hundred kilobytes.
    void WriteLargeModelFile(const std::string& name, int elements = 2000) const {
        Tbbx_collection c;
        Tbbx_model* m = c.Add();
        m->ID = 7;
        m->I1 = m->I2 = 64;
        for (int i = 0; i < elements; ++i)
            m->AddElement(MakeSphere(RGB(10, 20, 30), static_cast<float>(i) / 3, 1.25f, -2.5f, 3));
        c.SaveToFile(PathOf(name));
    }

    // The names in the folder, apart from the test's own stderr capture.
    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(Temp.Path()))
            if (entry.path().filename() != "stderr.txt") names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    static bool OneLineMessage(const std::string& err) {
        return !err.empty() && err.find('\n') == err.size() - 1 && err.rfind("bbx: ", 0) == 0;
    }

    const gb::test_support::TTempFolder Temp;
};

}  // namespace

TEST_F(BbxFaults, AFullStandardOutputIsAFailure) {
    WriteLargeModelFile("m.bbx");
    for (const char* command : {"dump", "info"}) {
        const Outcome r = Run({command, PathOf("m.bbx")}, "/dev/full");
        EXPECT_EQ(r.Status, 1) << command;
        EXPECT_EQ(r.Err, "bbx: standard output: No space left on device\n") << command;
    }
    EXPECT_EQ(Run({"--help"}, "/dev/full").Status, 1);
    EXPECT_EQ(Run({"info", PathOf("m.bbx")}, PathOf("ok.txt")).Status, 0);
}

TEST_F(BbxFaults, AFileSizeLimitFailsTheWriteAndLeavesNothingBehind) {
    WriteLargeModelFile("m.bbx");
    // On standard output.
    Outcome r = Run({"dump", PathOf("m.bbx")}, PathOf("cut.json"), 16384);
    EXPECT_EQ(r.Signal, 0) << "not killed by SIGXFSZ";
    EXPECT_EQ(r.Status, 1);
    EXPECT_TRUE(OneLineMessage(r.Err)) << r.Err;
    EXPECT_NE(r.Err.find("standard output: File too large"), std::string::npos) << r.Err;

    // Into -o files, new and existing, and by build.
    std::filesystem::remove(PathOf("cut.json"));
    r = Run({"dump", PathOf("m.bbx"), "-o", PathOf("out.json")}, "/dev/null", 16384);
    EXPECT_EQ(r.Signal, 0);
    EXPECT_EQ(r.Status, 1);
    EXPECT_TRUE(OneLineMessage(r.Err)) << r.Err;
    EXPECT_EQ(Files(), (std::vector<std::string>{"m.bbx"})) << "no temporary, no cut file";

    ASSERT_EQ(Run({"dump", PathOf("m.bbx"), "-o", PathOf("out.json")}, "/dev/null").Status, 0);
    r = Run({"build", PathOf("out.json"), "-o", PathOf("small.bbx")}, "/dev/null", 16384);
    EXPECT_EQ(r.Signal, 0);
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(Files(), (std::vector<std::string>{"m.bbx", "out.json"}));
}

TEST_F(BbxFaults, InputsMustBeRegularFiles) {
    ASSERT_EQ(::mkfifo(PathOf("pipe").c_str(), 0600), 0);
    for (const std::string& input : {std::string("/dev/zero"), PathOf("pipe")}) {
        for (const char* command : {"info", "dump", "build"}) {
            std::vector<std::string> args{command, input};
            if (std::string(command) == "build") args.insert(args.end(), {"-o", PathOf("out.bbx")});
            const Outcome r = Run(args, "/dev/null");
            EXPECT_EQ(r.Status, 1) << command << " " << input;
            EXPECT_EQ(r.Err, "bbx: " + input + ": not a regular file\n");
        }
    }
    const Outcome dir = Run({"info", Temp.Path().string()}, "/dev/null");
    EXPECT_EQ(dir.Status, 1);
    EXPECT_TRUE(OneLineMessage(dir.Err)) << dir.Err;
    EXPECT_FALSE(std::filesystem::exists(PathOf("out.bbx")));
}

TEST_F(BbxFaults, ASignalDuringASaveLeavesNoTemporary) {
    WriteLargeModelFile("m.bbx", 60000);
    ASSERT_EQ(Run({"dump", PathOf("m.bbx"), "-o", PathOf("full.json")}, "/dev/null").Status, 0);
    const std::string full = Temp.Read("full.json");
    std::filesystem::remove(PathOf("full.json"));
    // Sent while the temporary file is being written: the save still ends
    // with the whole file and no temporary, and then the signal ends bbx.
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        Outcome r;
        // A save quicker than the folder is watched ends before the signal;
        // it is tried again.
        for (int attempt = 0; attempt < 10 && r.Signal == 0; ++attempt) {
            std::filesystem::remove(PathOf("out.json"));
            r = Run({"dump", PathOf("m.bbx"), "-o", PathOf("out.json")}, "/dev/null", kNoLimit, signal);
        }
        EXPECT_EQ(r.Signal, signal);
        EXPECT_EQ(Files(), (std::vector<std::string>{"m.bbx", "out.json"})) << "signal " << signal;
        EXPECT_EQ(Temp.Read("out.json"), full) << "signal " << signal;
        std::filesystem::remove(PathOf("out.json"));
    }
}

TEST_F(BbxFaults, MessagesAreOneLineWithControlsAndBadBytesEscaped) {
    Temp.Write("keys.json", "{\"models\":[{\"na\\u001b[2Jme\\n\\r\\u0085\":1}]}");
    Outcome r = Run({"build", PathOf("keys.json"), "-o", PathOf("out.bbx")}, "/dev/null");
    EXPECT_EQ(r.Status, 1);
    EXPECT_TRUE(OneLineMessage(r.Err)) << r.Err;
    EXPECT_NE(r.Err.find("\"na\\x1b[2Jme\\n\\r\\u0085\""), std::string::npos) << r.Err;

    Temp.Write("raw.json", "{\"mo\x1b]0;\x85\xff");
    r = Run({"build", PathOf("raw.json"), "-o", PathOf("out.bbx")}, "/dev/null");
    EXPECT_EQ(r.Status, 1);
    EXPECT_TRUE(OneLineMessage(r.Err)) << r.Err;
    EXPECT_EQ(r.Err.find('\x1b'), std::string::npos) << r.Err;

    r = Run({"render", PathOf("no\nsuch\x1b.bbx"), "--index", "0", "-o", PathOf("x.png")}, "/dev/null");
    EXPECT_EQ(r.Status, 1);
    EXPECT_TRUE(OneLineMessage(r.Err)) << r.Err;
    EXPECT_NE(r.Err.find("no\\nsuch\\x1b.bbx"), std::string::npos) << r.Err;
}

TEST_F(BbxFaults, SpriteSizesThatAreNoIntegersAreRefused) {
    for (const float size : {std::numeric_limits<float>::quiet_NaN(), 1e30f, -1e30f,
                             std::numeric_limits<float>::infinity()}) {
        Tbbx_collection c;
        Tbbx_model* m = c.Add();
        m->I1 = size;
        m->I2 = 10;
        m->AddElement(MakeSphere(RGB(1, 2, 3), 0, 0, 0, 2));
        c.SaveToFile(PathOf("m.bbx"));
        const Outcome r = Run({"render", PathOf("m.bbx"), "--index", "0", "-o", PathOf("m.png")}, "/dev/null");
        EXPECT_EQ(r.Status, 1);
        EXPECT_EQ(r.Err.find("-9223372036854775808"), std::string::npos) << r.Err;
        EXPECT_NE(r.Err.find("sprite size is "), std::string::npos) << r.Err;
        EXPECT_NE(r.Err.find("x10; give --size"), std::string::npos) << r.Err;
        EXPECT_FALSE(std::filesystem::exists(PathOf("m.png")));
    }
}

TEST(OneLine, EscapesControlsSeparatorsAndMalformedUtf8) {
    EXPECT_EQ(tool::OneLine("plain Zażółć ⛄"), "plain Zażółć ⛄");
    EXPECT_EQ(tool::OneLine("a\nb\rc\td"), "a\\nb\\rc\\td");
    EXPECT_EQ(tool::OneLine(std::string("\x1b[31m\x7f\0", 7)), "\\x1b[31m\\x7f\\x00");
    EXPECT_EQ(tool::OneLine("\xc2\x85 \xc2\x9b \xe2\x80\xa8 \xe2\x80\xa9"), "\\u0085 \\u009b \\u2028 \\u2029");
    // Stray, overlong, surrogate, beyond U+10FFFF and cut-short sequences.
    EXPECT_EQ(tool::OneLine("\xff \xc0\xaf \xed\xa0\x80 \xf4\x90\x80\x80 \xe2\x82"),
              "\\xff \\xc0\\xaf \\xed\\xa0\\x80 \\xf4\\x90\\x80\\x80 \\xe2\\x82");
    EXPECT_EQ(tool::OneLine("\xf0\x9f\x8e\x84 \xc2\xa0"), "\xf0\x9f\x8e\x84 \xc2\xa0");
}
