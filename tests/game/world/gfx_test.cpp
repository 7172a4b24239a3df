#include <gtest/gtest.h>

#include <filesystem>
#include <numbers>
#include <utility>

#include "core/errors.h"
#include "runtime/platform/null/box_text_renderer.h"
#include "support/temp_folder.h"
#include "world/gfx.h"

namespace fs = std::filesystem;
using namespace gb;

namespace {

constexpr auto kFormat = bbx::TPixelFormat::Xrgb8888;

class SpriteBankTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Model 5: a 40 x 60 white disc filling the sprite; model 6: a black
        // ball with a white core; model 7 twice, the first one red.
        bbx::Tbbx_collection models;
        AddModel(models, 5, 40, 60, bbx::MakeSphere(bbx::RGB(255, 255, 255), 0, 0, 0, 100));
        AddModel(models, 6, 20, 20, bbx::MakeSphere(0, 0, 0, 0, 50));
        models.Items(1)->AddElement(bbx::MakeSphere(bbx::RGB(255, 255, 255), 0, 0, 10, 10));
        AddModel(models, 7, 10, 10, bbx::MakeSphere(bbx::RGB(255, 0, 0), 0, 0, 0, 40));
        AddModel(models, 7, 10, 10, bbx::MakeSphere(bbx::RGB(0, 255, 0), 0, 0, 0, 40));
        models.SaveToFile((Dir / "models.bbx").string());
    }

    static void AddModel(bbx::Tbbx_collection& c, int id, float w, float h, const bbx::TSphereElement& e) {
        bbx::Tbbx_model* m = c.Add();
        m->ID = id;
        m->I1 = w;
        m->I2 = h;
        m->AddElement(e);
    }

    std::unique_ptr<TGfx> MakeBank(int cacheSize = 200, float tolerance = 0.1f) {
        auto bank = std::make_unique<TGfx>(kFormat, Text, cacheSize, tolerance);
        bank->Initialize(Dir.string() + "/");
        return bank;
    }

    static std::unique_ptr<TSurface> Screen() {
        auto s = std::make_unique<TSurface>(kFormat);
        s->SetSize(800, 600);
        s->Fill(bbx::RGB(0, 0, 128));
        return s;
    }

    TBoxTextRenderer Text{6, 12};
    const test_support::TTempFolder Temp;
    const fs::path Dir = Temp.Path();
};

std::uint32_t Px(const TSurface& s, int x, int y) { return s.Pixel(x, y); }

}  // namespace

TEST_F(SpriteBankTest, AnchorsSpritesAtTheirBottomCentre) {
    auto gfx = MakeBank();
    const auto screenOwned = Screen();
    TSurface& screen = *screenOwned;
    gfx->DrawModel(screen, 100, 200, 12, 5, 0, 0, 1000);
    // A 40 x 60 sprite at (100, 200), base offset 12: top-left (80, 152).
    EXPECT_EQ(Px(screen, 80, 152), 0xFFFFFFu);
    EXPECT_EQ(Px(screen, 119, 211), 0xFFFFFFu);
    EXPECT_EQ(Px(screen, 79, 152), 0x000080u);
    EXPECT_EQ(Px(screen, 120, 211), 0x000080u);
    EXPECT_EQ(Px(screen, 100, 212), 0x000080u);

    const auto otherOwned = Screen();
    TSurface& other = *otherOwned;
    gfx->DrawModel(other, 100, 200, 12, 5, 0, 0, 1000, true);
    EXPECT_EQ(Px(other, 100, 200), 0xFFFFFFu) << "top-left anchored";
    EXPECT_EQ(Px(other, 99, 200), 0x000080u);
}

TEST_F(SpriteBankTest, BlackPartsAreTransparent) {
    auto gfx = MakeBank();
    const auto screenOwned = Screen();
    TSurface& screen = *screenOwned;
    gfx->DrawModel(screen, 100, 100, 0, 6, 0, 0, 1000);
    EXPECT_EQ(Px(screen, 91, 81), 0x000080u) << "the black ball leaves the screen showing";
    EXPECT_EQ(Px(screen, 100, 90), 0xFFFFFFu) << "the white core is drawn";
}

TEST_F(SpriteBankTest, CacheHitsMissesAndRingReplacement) {
    auto gfx = MakeBank(3);
    const auto screenOwned = Screen();
    TSurface& screen = *screenOwned;
    gfx->DrawModel(screen, 0, 0, 0, 5, 0.0f, 0.3f, 1000);
    EXPECT_EQ(gfx->NextSlot, 1);
    gfx->DrawModel(screen, 0, 0, 0, 5, 0.1f, 0.25f, 500);  // within tolerance, zoom ignored
    EXPECT_EQ(gfx->NextSlot, 1);
    EXPECT_EQ(gfx->Sprite(0)->Zoom, 1000.0f) << "the cached sprite keeps its old zoom";
    gfx->DrawModel(screen, 0, 0, 0, 5, 0.25f, 0.3f, 1000);  // beyond tolerance
    EXPECT_EQ(gfx->NextSlot, 2);
    gfx->DrawModel(screen, 0, 0, 0, 6, 0.0f, 0.3f, 1000);
    EXPECT_EQ(gfx->NextSlot, 0) << "the ring wraps";
    gfx->DrawModel(screen, 0, 0, 0, 6, 1.0f, 0.3f, 1000);
    EXPECT_EQ(gfx->NextSlot, 1);
    EXPECT_EQ(gfx->Sprite(0)->ModelId, 6) << "the first rendered is the first replaced";
    EXPECT_FLOAT_EQ(gfx->Sprite(0)->Yaw, 1.0f);


    auto fresh = MakeBank();
    fresh->DrawModel(screen, 0, 0, 0, 6, 0.05f, 0.3f, 1000);
    fresh->DrawModel(screen, 0, 0, 0, 6, 2 * std::numbers::pi_v<float> - 0.05f, 0.3f, 1000);
    EXPECT_EQ(fresh->NextSlot, 2) << "angles do not wrap around 2 pi";
}

TEST_F(SpriteBankTest, UnknownIdsAndDuplicateIds) {
    auto gfx = MakeBank();
    const auto screenOwned = Screen();
    TSurface& screen = *screenOwned;
    gfx->DrawModel(screen, 50, 50, 0, 99, 0, 0, 1000);
    EXPECT_EQ(gfx->NextSlot, 0);
    EXPECT_EQ(gfx->Sprite(0), nullptr);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x) ASSERT_EQ(Px(screen, x, y), 0x000080u);
    gfx->DrawModel(screen, 50, 50, 0, 7, 0, 0, 1000);
    EXPECT_EQ(Px(screen, 50, 45), 0xFF0000u) << "the earlier model with the ID is used";
}

TEST_F(SpriteBankTest, OddSettingsStillGiveAWorkingBank) {
    auto gfx = MakeBank(0, -1);
    EXPECT_EQ(gfx->SpriteCacheSize, 1);
    EXPECT_EQ(gfx->AngleTolerance, 0.0f);
    const auto screenOwned = Screen();
    TSurface& screen = *screenOwned;
    gfx->DrawModel(screen, 0, 0, 0, 5, 0.5f, 0.3f, 1000);
    gfx->DrawModel(screen, 0, 0, 0, 5, 0.5f, 0.3f, 1000);
    EXPECT_EQ(gfx->NextSlot, 0);
    EXPECT_FLOAT_EQ(gfx->Sprite(0)->Yaw, 0.5f);
    gfx->DrawModel(screen, 0, 0, 0, 5, 0.5001f, 0.3f, 1000);
    EXPECT_FLOAT_EQ(gfx->Sprite(0)->Yaw, 0.5001f) << "one slot, replaced by every miss";
}

TEST_F(SpriteBankTest, FixedImages) {
    auto gfx = MakeBank();
    EXPECT_EQ(gfx->GroundImage.Width(), 48);
    EXPECT_EQ(gfx->WallImage.Height(), 72);
    EXPECT_EQ(gfx->BandImage.Width(), 800);
    EXPECT_EQ(gfx->BandImage.Pixel(400, 40), 0u);
    EXPECT_EQ(gfx->ButtonImages[2]->Width(), 200);
    // The wall's top is lighter than its front face.
    const auto brightness = [](const TSurface& s, int y0, int y1) {
        long sum = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = 0; x < 48; ++x) sum += static_cast<long>(s.Pixel(x, y) & 0xFF);
        return sum / (48 * (y1 - y0));
    };
    EXPECT_GT(brightness(gfx->WallImage, 0, 48), brightness(gfx->WallImage, 48, 72) + 30);

    const auto screenOwned = Screen();
    TSurface& screen = *screenOwned;
    gfx->DrawWall(screen, 100, 100, 24);
    EXPECT_NE(Px(screen, 76, 52), 0x000080u);
    EXPECT_EQ(Px(screen, 75, 52), 0x000080u);
    EXPECT_EQ(Px(screen, 76, 51), 0x000080u);
    EXPECT_NE(Px(screen, 123, 123), 0x000080u);
    EXPECT_EQ(Px(screen, 124, 123), 0x000080u);
}

TEST_F(SpriteBankTest, MissingModelFileFailsAndLeavesNoBand) {
    fs::remove(Dir / "models.bbx");
    TGfx gfx(kFormat, Text);
    EXPECT_THROW(gfx.Initialize(Dir.string() + "/"), bbx::EInOutError);
    EXPECT_EQ(gfx.BandImage.Width(), 0);
}

TEST_F(SpriteBankTest, HealthAndGoodnessBars) {
    auto gfx = MakeBank();
    const auto red = [](std::uint32_t p) { return ((p >> 16) & 0xFF) > 150 && (p & 0xFF) < 80; };
    const auto blue = [](std::uint32_t p) { return (p & 0xFF) > 150 && ((p >> 16) & 0xFF) < 80; };

    const auto fullOwned = Screen();
    TSurface& full = *fullOwned;
    gfx->DrawHealthBar(full, 1000, 1000);
    EXPECT_TRUE(red(Px(full, 785, 435))) << "at the maximum the red part is 160 high";
    EXPECT_TRUE(red(Px(full, 785, 594)));
    EXPECT_EQ(Px(full, 785, 595), 0x000080u);

    const auto hurtOwned = Screen();
    TSurface& hurt = *hurtOwned;
    gfx->DrawHealthBar(hurt, 1000, 995);  // 160 e^-1 = 58.9 -> 59
    EXPECT_TRUE(red(Px(hurt, 785, 595 - 59)));
    EXPECT_FALSE(red(Px(hurt, 785, 595 - 60)));

    const auto goodOwned = Screen();
    TSurface& good = *goodOwned;
    gfx->DrawGoodnessBar(good, 20);  // 80 (1 - e^-1) = 50.6 -> 51
    EXPECT_TRUE(red(Px(good, 694, 585)));
    EXPECT_TRUE(red(Px(good, 744, 585)));
    EXPECT_FALSE(red(Px(good, 745, 585)));
    EXPECT_FALSE(red(Px(good, 693, 585)));

    const auto naughtyOwned = Screen();
    TSurface& naughty = *naughtyOwned;
    gfx->DrawGoodnessBar(naughty, -20);
    EXPECT_TRUE(blue(Px(naughty, 693, 585)));
    EXPECT_TRUE(blue(Px(naughty, 643, 585)));
    EXPECT_FALSE(blue(Px(naughty, 642, 585)));
    EXPECT_FALSE(blue(Px(naughty, 694, 585)));

    const auto oddOwned = Screen();
    TSurface& odd = *oddOwned;
    gfx->DrawHealthBar(odd, 1000, std::numeric_limits<float>::quiet_NaN());
    gfx->DrawGoodnessBar(odd, std::numeric_limits<float>::infinity());
    EXPECT_TRUE(red(Px(odd, 773, 585))) << "an infinite goodness fills its half";
}

TEST_F(SpriteBankTest, NumbersAreRightAlignedInADarkOutline) {
    auto gfx = MakeBank();
    const auto screenOwned = Screen();
    TSurface& screen = *screenOwned;
    gfx->DrawNumber(screen, 795, 5, 60, 1);
    // Two 6-pixel glyphs end at x = 795: the white text covers 784 .. 794
    // and 6 .. 15 (the stand-in glyphs leave their cell's left column and
    // bottom row empty), the dark outline one pixel all round it.
    EXPECT_EQ(Px(screen, 790, 8), 0xFFFFFFu);
    for (const auto& [x, y] : {std::pair{783, 9}, {795, 9}, {790, 16}, {783, 16}, {795, 16}})
        EXPECT_EQ(Px(screen, x, y), 0x202020u) << x << ", " << y;
    EXPECT_EQ(Px(screen, 796, 9), 0x000080u);
    EXPECT_EQ(Px(screen, 790, 17), 0x000080u);
}
