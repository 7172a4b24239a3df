#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>

#include "runtime/platform/sdl_services.h"
#include "support/temp_folder.h"

using namespace gb;

TEST(SdlServices, FileUrlsKeepPlainCharactersAndEscapeTheRest) {
    EXPECT_EQ(FileUrl("/home/gra/WWW.html"), "file:///home/gra/WWW.html");
    EXPECT_EQ(FileUrl("/home/my game/a#b%c.html"), "file:///home/my%20game/a%23b%25c.html");
    EXPECT_EQ(FileUrl("/gry/\xC5\x9Bnieg/WWW.html"), "file:///gry/%C5%9Bnieg/WWW.html") << "bytes of the path";
}

TEST(SdlServices, AMissingDocumentIsNotHandedToTheDesktop) {
    EXPECT_FALSE(OpenDocument("/no/such/folder/WWW.html"));
}

namespace {

// A stand-in for xdg-open first on PATH, made of the shell commands given;
// it notes the URL it was handed in "url" beside itself.
class FakeOpener : public test_support::TempFolderTest {
protected:
    FakeOpener() {
        if (const char* path = std::getenv("PATH")) SavedPath = path;
        if (const char* preload = std::getenv("LD_PRELOAD")) SavedPreload = preload;
        ::setenv("PATH", (Folder.Path().string() + ":/usr/bin:/bin").c_str(), 1);
        Folder.Write("WWW.html", "<html></html>");
    }
    ~FakeOpener() override {
        if (const std::string pid = Folder.Read("pid"); !pid.empty()) ::kill(std::stoi(pid), SIGKILL);
        ::setenv("PATH", SavedPath.c_str(), 1);
        if (SavedPreload)
            ::setenv("LD_PRELOAD", SavedPreload->c_str(), 1);
        else
            ::unsetenv("LD_PRELOAD");
    }
    void Opener(const std::string& commands) const {
        Folder.Write("xdg-open", "#!/bin/sh\nprintf %s \"$1\" > '" + Folder.File("url") + "'\n" + commands + "\n");
        ::chmod(Folder.File("xdg-open").c_str(), 0755);
    }
    bool Open() const { return OpenDocument(Folder.File("WWW.html"), std::chrono::milliseconds(300)); }

    std::string SavedPath;
    std::optional<std::string> SavedPreload;
};

}  // namespace

TEST_F(FakeOpener, AnOpenerThatFailsIsAFailure) {
    Opener("exit 3");  // xdg-open's answer when nothing can open the page
    EXPECT_FALSE(Open());
    EXPECT_EQ(Folder.Read("url"), FileUrl(Folder.File("WWW.html")));
    Opener("kill -9 $$");
    EXPECT_FALSE(Open()) << "killed";
}

TEST_F(FakeOpener, AnOpenerThatSucceedsOrIsStillAtWorkIsASuccess) {
    Opener("exit 0");
    EXPECT_TRUE(Open());
    // As xdg-open does when it waits for the browser it started.
    Opener("echo $$ > '" + Folder.File("pid") + "'\nexec sleep 30");
    EXPECT_TRUE(Open());
    EXPECT_FALSE(Folder.Read("pid").empty());
}

TEST_F(FakeOpener, NoOpenerAtAllIsAFailure) {
    ::setenv("PATH", Folder.Path().string().c_str(), 1);
    EXPECT_FALSE(Open());
}

TEST_F(FakeOpener, TheOpenerStartsWithoutThePreloadOfTheGame) {
    ::setenv("LD_PRELOAD", "", 1);
    Opener("printf %s \"${LD_PRELOAD-none}\" > '" + Folder.File("preload") + "'");
    EXPECT_TRUE(Open());
    EXPECT_EQ(Folder.Read("preload"), "none");
}

TEST(SdlServices, TickCountIsMillisecondsAndGoesOn) {
    const std::uint32_t before = TickCount();
    usleep(20000);
    const std::uint32_t passed = TickCount() - before;
    EXPECT_GE(passed, 19u);
    EXPECT_LT(passed, 2000u);
}
