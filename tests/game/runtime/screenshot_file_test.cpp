#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>

#include "core/errors.h"
#include "runtime/screenshot_file.h"
#include "support/scoped_environment.h"
#include "support/temp_folder.h"

using namespace gb;
using namespace gb::test_support;

namespace {

struct ScreenshotFolder : ::testing::Test {
    ScreenshotFolder() {
        Env.Set("HOME", Home.Path().string());
        Env.Set("XDG_PICTURES_DIR", std::nullopt);
        Env.Set("XDG_CONFIG_HOME", std::nullopt);
    }
    TTempFolder Home;
    TScopedEnvironment Env;
};

std::tm At(int year, int month, int day, int hour, int minute, int second) {
    std::tm when{};
    when.tm_year = year - 1900;
    when.tm_mon = month - 1;
    when.tm_mday = day;
    when.tm_hour = hour;
    when.tm_min = minute;
    when.tm_sec = second;
    return when;
}

}  // namespace

TEST_F(ScreenshotFolder, ComesFromTheEnvironmentThenUserDirsThenThePicturesFolder) {
    const std::string home = Home.Path().string();
    EXPECT_EQ(ScreenshotDirectory(), home + "/Pictures/GlimmerBay/");

    Home.Write(".config/user-dirs.dirs",
               "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\nXDG_PICTURES_DIR=\"$HOME/Obrazy\"\n");
    EXPECT_EQ(ScreenshotDirectory(), home + "/Obrazy/GlimmerBay/");

    // $XDG_CONFIG_HOME holds the file when it is set.
    TTempFolder config;
    config.Write("user-dirs.dirs", "XDG_PICTURES_DIR=\"/srv/zdj\\\"ecia\"\n");
    Env.Set("XDG_CONFIG_HOME", config.Path().string());
    EXPECT_EQ(ScreenshotDirectory(), "/srv/zdj\"ecia/GlimmerBay/");

    Env.Set("XDG_PICTURES_DIR", "/media/shots/");
    EXPECT_EQ(ScreenshotDirectory(), "/media/shots/GlimmerBay/");
}

TEST_F(ScreenshotFolder, RelativeOrMalformedValuesAreIgnored) {
    const std::string home = Home.Path().string();
    Env.Set("XDG_PICTURES_DIR", "relative/pictures");
    Home.Write(".config/user-dirs.dirs", "XDG_PICTURES_DIR=\"Obrazy\"\nXDG_PICTURES_DIR=unquoted\n");
    EXPECT_EQ(ScreenshotDirectory(), home + "/Pictures/GlimmerBay/");
    Env.Set("XDG_CONFIG_HOME", "not/absolute");
    EXPECT_EQ(ScreenshotDirectory(), home + "/Pictures/GlimmerBay/") << "~/.config read instead";
    Env.Set("HOME", std::nullopt);
    EXPECT_EQ(ScreenshotDirectory(), "") << "no home, no folder";
    Env.Set("XDG_PICTURES_DIR", "/data/pictures");
    EXPECT_EQ(ScreenshotDirectory(), "/data/pictures/GlimmerBay/");
}

TEST(ScreenshotFile, IsNamedByTheTimeMadeWithItsFolderAndNeverReplacesAFile) {
    TTempFolder root;
    const std::string folder = root.Directory() + "Obrazy/GlimmerBay/";
    const std::tm when = At(2026, 12, 9, 16, 5, 3);
    EXPECT_EQ(SaveScreenshot(folder, "first", when), "GlimmerBay 2026-12-09 16-05-03.png");
    EXPECT_EQ(SaveScreenshot(folder, "second", when), "GlimmerBay 2026-12-09 16-05-03 (2).png");
    // A link by the next name is not written through.
    std::filesystem::create_symlink(root.File("target"), folder + "GlimmerBay 2026-12-09 16-05-03 (3).png");
    EXPECT_EQ(SaveScreenshot(folder, "third", when), "GlimmerBay 2026-12-09 16-05-03 (4).png");
    EXPECT_FALSE(std::filesystem::exists(root.File("target")));
    EXPECT_EQ(root.Read("Obrazy/GlimmerBay/GlimmerBay 2026-12-09 16-05-03.png"), "first");
    EXPECT_EQ(root.Read("Obrazy/GlimmerBay/GlimmerBay 2026-12-09 16-05-03 (2).png"), "second");
    EXPECT_EQ(root.Read("Obrazy/GlimmerBay/GlimmerBay 2026-12-09 16-05-03 (4).png"), "third");
    EXPECT_EQ(SaveScreenshot(folder, "", At(2027, 1, 1, 0, 0, 0)), "GlimmerBay 2027-01-01 00-00-00.png");
}

TEST(ScreenshotFile, AFolderThatCannotBeWrittenIsAnInputOutputError) {
    TTempFolder root;
    const std::tm when = At(2026, 12, 9, 16, 5, 3);
    root.Write("file", "x");
    EXPECT_THROW(SaveScreenshot(root.Directory() + "file/", "png", when), bbx::EInOutError) << "a file in the way";
    EXPECT_THROW(SaveScreenshot("/proc/self/GlimmerBay/", "png", when), bbx::EInOutError) << "cannot be made";
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    ::chmod(root.Path().c_str(), 0555);
    EXPECT_THROW(SaveScreenshot(root.Directory(), "png", when), bbx::EInOutError);
    EXPECT_THROW(SaveScreenshot(root.Directory() + "GlimmerBay/", "png", when), bbx::EInOutError) << "cannot make it";
}
