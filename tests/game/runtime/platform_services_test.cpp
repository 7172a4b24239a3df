#include <gtest/gtest.h>

#include <unistd.h>

#include "runtime/platform/sdl_services.h"

using namespace gb;

TEST(SdlServices, FileUrlsKeepPlainCharactersAndEscapeTheRest) {
    EXPECT_EQ(FileUrl("/home/gra/WWW.html"), "file:///home/gra/WWW.html");
    EXPECT_EQ(FileUrl("/home/my game/a#b%c.html"), "file:///home/my%20game/a%23b%25c.html");
    EXPECT_EQ(FileUrl("/gry/\xC5\x9Bnieg/WWW.html"), "file:///gry/%C5%9Bnieg/WWW.html") << "bytes of the path";
}

TEST(SdlServices, AMissingDocumentIsNotHandedToTheDesktop) {
    EXPECT_FALSE(OpenDocument("/no/such/folder/WWW.html"));
}

TEST(SdlServices, TickCountIsMillisecondsAndGoesOn) {
    const std::uint32_t before = TickCount();
    usleep(20000);
    const std::uint32_t passed = TickCount() - before;
    EXPECT_GE(passed, 19u);
    EXPECT_LT(passed, 2000u);
}
