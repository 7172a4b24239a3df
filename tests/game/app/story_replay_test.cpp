// The shipped playthrough (data/story.replay) played by the game itself,
// headless: it reaches the story's end screen, its last frame is the golden
// picture, and a second run ends on the same picture. When the story or the
// game changes, tools/scripts/record-story.sh records both anew.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <sys/wait.h>

#include "core/binary_io.h"
#include "core/png_image.h"
#include "support/temp_folder.h"

using namespace gb::test_support;

namespace {

const std::string kGame = std::string(GB_BIN_DIR) + "GlimmerBay";
const std::string kReplay = std::string(GB_SOURCE_DIR) + "data/story.replay";
const std::string kGolden = std::string(GB_SOURCE_DIR) + "tests/game/app/golden/story-final.png";

// The exit status and what the game said on standard error.
struct TRun {
    int Status = -1;
    std::string Said;
};

TRun PlayHeadless(const TTempFolder& folder, const std::string& frames) {
    const std::string said = folder.File(frames + ".log");
    // The shipped settings only, never a Config.xml of the user's.
    const std::string command = "XDG_CONFIG_HOME='" + folder.File("config") + "' '" + kGame + "' --replay '" +
                                kReplay + "' --headless --frames-to '" + folder.File(frames) +
                                "' --frame-step 1000000000 2>'" + said + "'";
    const int status = std::system(command.c_str());
    TRun run;
    run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.Said = folder.Read(frames + ".log");
    return run;
}

bbx::TPixelBuffer Picture(const std::string& path) { return bbx::DecodePng(bbx::ReadWholeFile(path)); }

// Pixels that differ between two pictures of one size.
int Differences(const bbx::TPixelBuffer& a, const bbx::TPixelBuffer& b) {
    int count = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) count += a.GetPixel(x, y) != b.GetPixel(x, y);
    return count;
}

}  // namespace

TEST(ShippedReplay, PlaysHeadlessToTheEndScreenAndEndsOnTheGoldenPicture) {
    const TTempFolder folder;
    const TRun first = PlayHeadless(folder, "first");
    ASSERT_EQ(first.Status, 0) << first.Said << "(re-record with tools/scripts/record-story.sh when the game changed)";
    EXPECT_NE(first.Said.find("the story's end screen"), std::string::npos) << first.Said;
    const bbx::TPixelBuffer final = Picture(folder.File("first/final.png"));
    const bbx::TPixelBuffer golden = Picture(kGolden);
    ASSERT_EQ(final.Width(), golden.Width());
    ASSERT_EQ(final.Height(), golden.Height());
    EXPECT_EQ(Differences(final, golden), 0) << "the last frame differs from " << kGolden;

    const TRun second = PlayHeadless(folder, "second");
    ASSERT_EQ(second.Status, 0) << second.Said;
    EXPECT_EQ(Differences(Picture(folder.File("second/final.png")), final), 0);
}
