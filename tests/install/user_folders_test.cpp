// Where the programs look for their data and put the user's files, run from
// the build folder and installed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/frm_main.h"
#include "core/code_page.h"
#include "core/errors.h"
#include "core/program_directory.h"
#include "runtime/error_log.h"
#include "runtime/game_errors.h"
#include "runtime/platform/null/manual_system_services.h"
#include "support/flow_test_support.h"

namespace fs = std::filesystem;
using namespace gb;
using namespace gb::test_support;

namespace {

// Sets environment variables for one test and puts the old values back.
class TEnvironment {
public:
    ~TEnvironment() {
        for (const auto& [name, value] : Saved) {
            if (value) ::setenv(name.c_str(), value->c_str(), 1);
            else ::unsetenv(name.c_str());
        }
    }
    void Set(const std::string& name, const std::optional<std::string>& value) {
        if (!Saved.contains(name)) {
            const char* old = std::getenv(name.c_str());
            Saved[name] = old ? std::optional<std::string>(old) : std::nullopt;
        }
        if (value) ::setenv(name.c_str(), value->c_str(), 1);
        else ::unsetenv(name.c_str());
    }

private:
    std::map<std::string, std::optional<std::string>> Saved;
};

// Runs the body in a child process without root's power to write anywhere
// (as "nobody" when the tests run as root); its exit status, -1 on a signal.
int Unprivileged(const std::function<int()>& body) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(99);
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class UserFoldersTest : public ::testing::Test {
protected:
    TTempFolder Temp;
    TEnvironment Environment;
};

TEST_F(UserFoldersTest, DataLiesBesideTheProgramUnlessAnInstallTreeHoldsIt) {
    fs::create_directories(Temp.Path() / "build/bin");
    const std::string build = Temp.Directory() + "build/bin/";
    EXPECT_EQ(bbx::DataDirectory(build, "glimmerbay"), build);

    // Installed under any prefix: bin/ and share/glimmerbay/ side by side.
    fs::create_directories(Temp.Path() / "opt/gb/bin");
    fs::create_directories(Temp.Path() / "opt/gb/share/glimmerbay");
    EXPECT_EQ(bbx::DataDirectory(Temp.Directory() + "opt/gb/bin/", "glimmerbay"),
              Temp.Directory() + "opt/gb/share/glimmerbay/");
    // Another program's data folder is not this one's.
    EXPECT_EQ(bbx::DataDirectory(Temp.Directory() + "opt/gb/bin/", "other"), Temp.Directory() + "opt/gb/bin/");
    // A file of that name is no data folder.
    fs::create_directories(Temp.Path() / "usr/bin");
    Temp.Write("usr/share/glimmerbay", "not a folder");
    EXPECT_EQ(bbx::DataDirectory(Temp.Directory() + "usr/bin/", "glimmerbay"), Temp.Directory() + "usr/bin/");

    // The test program runs from the build, where nothing is installed.
    EXPECT_EQ(bbx::DataDirectory("glimmerbay"), bbx::ProgramDirectory());
}

TEST_F(UserFoldersTest, XdgFoldersFollowTheVariablesOrDefaultBelowTheHome) {
    Environment.Set("HOME", "/home/gracz");
    Environment.Set("XDG_CONFIG_HOME", std::nullopt);
    Environment.Set("XDG_STATE_HOME", std::nullopt);
    EXPECT_EQ(bbx::UserConfigDirectory("glimmerbay"), "/home/gracz/.config/glimmerbay/");
    EXPECT_EQ(bbx::UserStateDirectory("glimmerbay"), "/home/gracz/.local/state/glimmerbay/");

    Environment.Set("XDG_CONFIG_HOME", "/srv/cfg/");
    Environment.Set("XDG_STATE_HOME", "/srv/state");
    EXPECT_EQ(bbx::UserConfigDirectory("glimmerbay"), "/srv/cfg/glimmerbay/");
    EXPECT_EQ(bbx::UserStateDirectory("glimmerbay"), "/srv/state/glimmerbay/");

    // Relative values do not count; without a home there is no folder.
    Environment.Set("XDG_STATE_HOME", "state");
    EXPECT_EQ(bbx::UserStateDirectory("glimmerbay"), "/home/gracz/.local/state/glimmerbay/");
    Environment.Set("HOME", std::nullopt);
    EXPECT_EQ(bbx::UserStateDirectory("glimmerbay"), "");
    EXPECT_EQ(bbx::UserConfigDirectory("glimmerbay"), "/srv/cfg/glimmerbay/");
}

TEST_F(UserFoldersTest, ALogThatCannotGoBesideTheDataGoesToTheStateFolder) {
    fs::permissions(Temp.Path(), fs::perms::all);
    fs::create_directories(Temp.Path() / "data");
    const std::string data = Temp.Directory() + "data/";
    const std::string state = Temp.Directory() + "state";
    Environment.Set("XDG_STATE_HOME", state);
    EXPECT_EQ(ErrorLogPath(data), data + "Errors.log") << "a folder that can be written to keeps its log";
    EXPECT_EQ(ErrorLogPath(data + "missing/"), data + "missing/Errors.log") << "a missing folder is not moved";

    fs::permissions(Temp.Path() / "data", fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                              fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    const int status = Unprivileged([&] {
        if (ErrorLogPath(data) != state + "/glimmerbay/Errors.log") return 2;
        WriteErrorLog(data, "t", DescribeError(bbx::EConvertError("read-only")));
        WriteErrorLog(data, "t", DescribeError(bbx::EConvertError("again")));
        return 0;
    });
    ASSERT_EQ(status, 0) << "2: the log path is not in the state folder";
    EXPECT_FALSE(fs::exists(data + "Errors.log"));
    const std::string log = Temp.Read("state/glimmerbay/Errors.log");
    EXPECT_NE(log.find("Treść:      read-only\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find("Treść:      again\r\n"), std::string::npos) << "the second entry is appended";
}

// The main window on the null platform, with the user's folders in a
// temporary home.
class UserConfigTest : public ::testing::Test {
protected:
    UserConfigTest() {
        Environment.Set("XDG_CONFIG_HOME", Home.Directory() + "config");
        Environment.Set("XDG_STATE_HOME", Home.Directory() + "state");
    }
    ~UserConfigTest() override { Form.reset(); }

    TfrmMain& Start(std::optional<bool> windowed = std::nullopt) {
        Form = std::make_unique<TfrmMain>(Presenter, Text, Sound, System, Data.Directory(),
                                          [](const TScreenServices&) { return std::unique_ptr<TGameScreen>(); });
        Form->StartWindowed = windowed;
        Form->FormCreate();
        return *Form;
    }

    TEnvironment Environment;
    TTempFolder Home;
    TDataFolder Data;
    TBoxTextRenderer Text{6, 12};
    TNullPresenter Presenter;
    TRecordingSoundLayer Sound;
    TManualSystemServices System{1000};
    std::unique_ptr<TfrmMain> Form;
};

constexpr char kShipped[] =
    "<config><gfx><bpp>16</bpp><sprites>200</sprites><angletolerance>10</angletolerance>"
    "<windowed>0</windowed></gfx></config>";

TEST_F(UserConfigTest, ThePlayersConfigTakesThePlaceOfTheShippedOne) {
    Data.Write("Config.xml", kShipped);
    Home.Write("config/glimmerbay/Config.xml",
               "<config><gfx><bpp>32</bpp><sprites>7</sprites><angletolerance>25</angletolerance>"
               "<windowed>1</windowed><spritememory>64</spritememory></gfx></config>");
    const TfrmMain& form = Start();
    EXPECT_EQ(Presenter.OpenFormat, bbx::TPixelFormat::Xrgb8888);
    EXPECT_TRUE(Presenter.OpenWindowed);
    EXPECT_EQ(form.SpriteCacheSize(), 7);
    EXPECT_FLOAT_EQ(form.AngleTolerance(), 0.25f);
    EXPECT_EQ(Data.Read("Errors.log"), "");
}

TEST_F(UserConfigTest, WithoutThePlayersConfigTheShippedOneIsRead) {
    Data.Write("Config.xml", "<config><gfx><bpp>32</bpp><sprites>9</sprites></gfx></config>");
    const TfrmMain& form = Start();
    EXPECT_EQ(Presenter.OpenFormat, bbx::TPixelFormat::Xrgb8888);
    EXPECT_EQ(form.SpriteCacheSize(), 9);
    EXPECT_EQ(Data.Read("Errors.log"), "") << "a shipped file that stops early is no error";
}

TEST_F(UserConfigTest, ADamagedPlayersConfigIsLoggedAndTheGameStartsWithWhatWasRead) {
    Data.Write("Config.xml", kShipped);
    Home.Write("config/glimmerbay/Config.xml", "<config><gfx><bpp>32</bpp><sprites>dużo</sprites>");
    const TfrmMain& form = Start();
    EXPECT_FALSE(form.Closing());
    EXPECT_NE(form.Intro(), nullptr);
    EXPECT_EQ(Presenter.OpenFormat, bbx::TPixelFormat::Xrgb8888) << "bpp was read before the damage";
    EXPECT_EQ(form.SpriteCacheSize(), TGfx::DefaultSpriteCacheSize);
    EXPECT_TRUE(form.ErrorText().empty()) << "noted in the log, not shown";
    const std::string log = Data.Read("Errors.log");
    EXPECT_NE(log.find("Treść:      " + Home.Directory() + "config/glimmerbay/Config.xml: "), std::string::npos)
        << log;
    EXPECT_NE(log.find("Typ:        ConvertError\r\n"), std::string::npos);
}

TEST_F(UserConfigTest, APlayersConfigThatLeavesSettingsOutIsNoError) {
    Data.Write("Config.xml", kShipped);
    Home.Write("config/glimmerbay/Config.xml", "<config><gfx><bpp>32</bpp></gfx></config>");
    const TfrmMain& form = Start();
    EXPECT_EQ(Presenter.OpenFormat, bbx::TPixelFormat::Xrgb8888);
    EXPECT_EQ(form.SpriteCacheSize(), TGfx::DefaultSpriteCacheSize);
    EXPECT_EQ(Data.Read("Errors.log"), "");
}

TEST_F(UserConfigTest, TheCommandLinesWindowModeWinsOverConfig) {
    Data.Write("Config.xml", kShipped);
    Start(true);
    EXPECT_TRUE(Presenter.OpenWindowed);
    Form.reset();

    Home.Write("config/glimmerbay/Config.xml",
               "<config><gfx><bpp>16</bpp><sprites>200</sprites><angletolerance>10</angletolerance>"
               "<windowed>1</windowed></gfx></config>");
    Start(false);
    EXPECT_FALSE(Presenter.OpenWindowed);
}

}  // namespace
