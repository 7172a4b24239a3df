// The sprite bank under memory pressure and with bad model files: a failed
// sprite allocation leaves a whole cache, the memory budget evicts the
// oldest sprites, and model-file errors name the file.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <new>
#include <vector>

#include "core/code_page.h"
#include "core/errors.h"
#include "runtime/platform/null/box_text_renderer.h"
#include "support/temp_folder.h"
#include "world/gfx.h"

// This test program's allocator: while a TFailingAllocations lives, every
// allocation of at least its size fails as it does when memory runs out.
// Everything goes through malloc and free, so that the sanitizers see
// matching pairs.
namespace {
std::atomic<std::size_t> gFailFrom{std::numeric_limits<std::size_t>::max()};

void* Allocate(std::size_t size) {
    if (size >= gFailFrom.load(std::memory_order_relaxed)) throw std::bad_alloc();
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}

void* AllocateOrNull(std::size_t size) noexcept {
    try {
        return Allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return AllocateOrNull(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return AllocateOrNull(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace fs = std::filesystem;
using namespace gb;

namespace {

class TFailingAllocations {
public:
    explicit TFailingAllocations(std::size_t from) { gFailFrom = from; }
    ~TFailingAllocations() { gFailFrom = std::numeric_limits<std::size_t>::max(); }
    TFailingAllocations(const TFailingAllocations&) = delete;
    TFailingAllocations& operator=(const TFailingAllocations&) = delete;
};

constexpr auto kFormat = bbx::TPixelFormat::Xrgb8888;
constexpr std::uint32_t kBackground = 0x000080;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kRed = 0xFF0000;
// Model 5: a 40 x 60 white disc; model 8: a 1024 x 1024 red one; model
// 12: a series asking for two thousand million spheres; model 13: a white
// sphere of radius 1e30.
constexpr std::size_t kSmallBytes = 40 * 60 * 4;
constexpr std::size_t kBigBytes = 1024 * 1024 * 4;

class SpriteMemoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        const bbx::TColor white = bbx::RGB(255, 255, 255);
        const std::int32_t most = std::numeric_limits<std::int32_t>::max();
        const struct {
            std::int32_t Id;
            float Size[2];
            std::vector<bbx::TSphereElement> Elements;
        } table[] = {
            {5, {40, 60}, {bbx::MakeSphere(white, 0, 0, 0, 1000)}},
            {8, {1024, 1024}, {bbx::MakeSphere(bbx::RGB(255, 0, 0), 0, 0, 0, 1000)}},
            {12, {40, 60}, {bbx::MakeSphere(white, 0, 0, 0, 1000), bbx::MakeSeries(white, most, 0, 0, 0, 10, 0, 10, 0, 10)}},
            {13, {40, 60}, {bbx::MakeSphere(white, 0, 0, 0, 1e30f)}},
        };
        bbx::Tbbx_collection models;
        for (const auto& [id, size, elements] : table) {
            bbx::Tbbx_model& model = *models.Add();
            model.ID = id;
            model.I1 = size[0];
            model.I2 = size[1];
            for (const bbx::TSphereElement& e : elements) model.AddElement(e);
        }
        models.SaveToFile(Temp.File("models.bbx"));
        Screen.SetSize(800, 600);
        Screen.Fill(bbx::RGB(0, 0, 128));
    }

    std::unique_ptr<TGfx> MakeBank(int cacheSize, std::size_t budget = TGfx::DefaultSpriteMemoryBudget) {
        auto bank = std::make_unique<TGfx>(kFormat, Text, cacheSize, 0.1f, budget);
        bank->Initialize(Temp.Directory());
        return bank;
    }

    TBoxTextRenderer Text{6, 12};
    const test_support::TTempFolder Temp;
    TSurface Screen{kFormat};
};

}  // namespace

TEST_F(SpriteMemoryTest, AFailedSpriteAllocationLeavesTheCacheWholeAndTheNextFrameDraws) {
    auto gfx = MakeBank(3);
    gfx->DrawModel(Screen, 40, 590, 0, 5, 0, 0, 1000);
    ASSERT_EQ(gfx->NextSlot, 1);
    {
        const TFailingAllocations outOfMemory(kBigBytes / 2);
        EXPECT_THROW(gfx->DrawModel(Screen, 600, 500, 0, 8, 0, 0, 1000), std::bad_alloc);
    }
    EXPECT_EQ(gfx->NextSlot, 1) << "the ring did not move";
    EXPECT_EQ(gfx->Sprite(1), nullptr) << "no half-made sprite in the slot";
    ASSERT_NE(gfx->Sprite(0), nullptr);
    EXPECT_EQ(gfx->Sprite(0)->ModelId, 5);
    EXPECT_EQ(gfx->SpriteBytes(), kSmallBytes);
    EXPECT_EQ(Screen.Pixel(600, 499), kBackground) << "nothing was drawn";

    // The next frame draws both: the cached one and, now that memory is
    // there, the one that failed.
    Screen.Fill(bbx::RGB(0, 0, 128));
    gfx->DrawModel(Screen, 40, 590, 0, 5, 0, 0, 1000);
    gfx->DrawModel(Screen, 600, 500, 0, 8, 0, 0, 1000);
    EXPECT_EQ(Screen.Pixel(40, 560), kWhite);
    EXPECT_EQ(Screen.Pixel(600, 499), kRed);
    EXPECT_EQ(gfx->NextSlot, 2);
    EXPECT_EQ(gfx->SpriteBytes(), kSmallBytes + kBigBytes);
}

TEST_F(SpriteMemoryTest, AFailedRenderIntoAFullRingKeepsTheOldSprite) {
    auto gfx = MakeBank(1);
    gfx->DrawModel(Screen, 40, 590, 0, 5, 0, 0, 1000);
    const TGfxCos* old = gfx->Sprite(0);
    {
        const TFailingAllocations outOfMemory(kBigBytes / 2);
        EXPECT_THROW(gfx->DrawModel(Screen, 600, 500, 0, 8, 0, 0, 1000), std::bad_alloc);
    }
    EXPECT_EQ(gfx->Sprite(0), old);
    EXPECT_EQ(gfx->Sprite(0)->Width, 40);
    EXPECT_EQ(gfx->Sprite(0)->Surface.Width(), 40);
    Screen.Fill(bbx::RGB(0, 0, 128));
    gfx->DrawModel(Screen, 40, 590, 0, 5, 0, 0, 1000);
    EXPECT_EQ(gfx->Sprite(0), old) << "still a cache hit";
    EXPECT_EQ(Screen.Pixel(40, 560), kWhite);
}

TEST_F(SpriteMemoryTest, TheBudgetEvictsTheOldestSpritesInRingOrder) {
    // Room for three small sprites, in a ring of ten slots.
    auto gfx = MakeBank(10, 3 * kSmallBytes + 100);
    for (int i = 0; i < 3; ++i) gfx->DrawModel(Screen, 0, 0, 0, 5, static_cast<float>(i), 0, 1000);
    EXPECT_EQ(gfx->SpriteBytes(), 3 * kSmallBytes);
    ASSERT_NE(gfx->Sprite(0), nullptr);

    gfx->DrawModel(Screen, 0, 0, 0, 5, 3, 0, 1000);
    EXPECT_EQ(gfx->Sprite(0), nullptr) << "the oldest went";
    EXPECT_FLOAT_EQ(gfx->Sprite(1)->Yaw, 1);
    EXPECT_FLOAT_EQ(gfx->Sprite(3)->Yaw, 3);
    EXPECT_EQ(gfx->NextSlot, 4);
    EXPECT_EQ(gfx->SpriteBytes(), 3 * kSmallBytes);

    gfx->DrawModel(Screen, 0, 0, 0, 5, 4, 0, 1000);
    EXPECT_EQ(gfx->Sprite(1), nullptr) << "then the next oldest";
    EXPECT_NE(gfx->Sprite(2), nullptr);
    EXPECT_EQ(gfx->SpriteBytes(), 3 * kSmallBytes);

    // A sprite drawn again comes from the cache and keeps its place.
    gfx->DrawModel(Screen, 0, 0, 0, 5, 2, 0, 1000);
    EXPECT_EQ(gfx->NextSlot, 5);
}

TEST_F(SpriteMemoryTest, ASpriteBeyondTheWholeBudgetIsKeptAlone) {
    auto gfx = MakeBank(10, kBigBytes / 2);
    gfx->DrawModel(Screen, 40, 590, 0, 5, 0, 0, 1000);
    gfx->DrawModel(Screen, 40, 590, 0, 5, 1, 0, 1000);
    gfx->DrawModel(Screen, 600, 500, 0, 8, 0, 0, 1000);
    EXPECT_EQ(Screen.Pixel(600, 499), kRed);
    EXPECT_EQ(gfx->Sprite(0), nullptr);
    EXPECT_EQ(gfx->Sprite(1), nullptr);
    ASSERT_NE(gfx->Sprite(2), nullptr);
    EXPECT_EQ(gfx->SpriteBytes(), kBigBytes);

    gfx->DrawModel(Screen, 600, 500, 0, 8, 0, 0, 1000);
    EXPECT_EQ(gfx->NextSlot, 3) << "and drawn from the cache";
    gfx->DrawModel(Screen, 40, 590, 0, 5, 0, 0, 1000);
    EXPECT_EQ(gfx->Sprite(2), nullptr) << "the next sprite takes its room";
    EXPECT_EQ(gfx->SpriteBytes(), kSmallBytes);
}

TEST_F(SpriteMemoryTest, AModelBeyondTheSphereLimitDrawsNothingAndIsLoggedOnce) {
    auto gfx = MakeBank(10);
    for (int frame = 0; frame < 3; ++frame) {
        Screen.Fill(bbx::RGB(0, 0, 128));
        gfx->DrawModel(Screen, 200, 300, 0, 12, 0, 0, 1000);
        gfx->DrawModel(Screen, 40, 590, 0, 5, 0, 0, 1000);
        EXPECT_EQ(Screen.Pixel(200, 270), kBackground);
        EXPECT_EQ(Screen.Pixel(40, 560), kWhite) << "the others still draw";
    }
    EXPECT_EQ(gfx->NextSlot, 1);
    EXPECT_EQ(gfx->SpriteBytes(), kSmallBytes);

    const std::string log = Temp.Read("Errors.log");
    const auto count = [&log](const std::string& what) {
        int n = 0;
        for (auto at = log.find(what); at != std::string::npos; at = log.find(what, at + 1)) ++n;
        return n;
    };
    EXPECT_EQ(count("Typ:"), 1) << log;
    EXPECT_EQ(count("(ID 12)"), 1) << log;
    EXPECT_EQ(count("TooManySpheres"), 1) << log;

    // A sphere of any size is drawn, clipped to its sprite.
    gfx->DrawModel(Screen, 200, 300, 0, 13, 0, 0, 1000);
    EXPECT_EQ(Screen.Pixel(200, 270), kWhite);
    EXPECT_EQ(Screen.Pixel(180, 241), kWhite);
    EXPECT_EQ(Screen.Pixel(219, 299), kWhite);
}

TEST(SpriteMemorySetting, IsReadInMegabytes) {
    EXPECT_EQ(TGfx::SpriteMemoryFromMegabytes(256), TGfx::DefaultSpriteMemoryBudget);
    EXPECT_EQ(TGfx::SpriteMemoryFromMegabytes(1), std::size_t{1048576});
    EXPECT_EQ(TGfx::SpriteMemoryFromMegabytes(-5), 0u);
    EXPECT_EQ(TGfx::SpriteMemoryFromMegabytes(std::numeric_limits<std::int32_t>::max()),
              std::size_t{2147483647} << 20);
}

TEST_F(SpriteMemoryTest, ModelFileErrorsNameTheFile) {
    const std::string path = Temp.File("models.bbx");
    const auto initializeError = [&] {
        TGfx gfx(kFormat, Text);
        try {
            gfx.Initialize(Temp.Directory());
        } catch (const bbx::EInOutError& e) {
            return e;
        }
        ADD_FAILURE() << "no error";
        return bbx::EInOutError(0, "");
    };
    const auto write = [&](const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; };

    write("XYZ1");
    bbx::EInOutError error = initializeError();
    EXPECT_EQ(std::string(error.what()), path + ": " + bbx::Pl<"Nieprawidłowy format">());
    EXPECT_EQ(error.ErrorCode, bbx::kBadFormatCode);

    write("BBX1\x05");
    error = initializeError();
    EXPECT_EQ(std::string(error.what()), path + ": Read beyond end of file");
    EXPECT_EQ(error.ErrorCode, bbx::kReadBeyondEndCode);

    // The system's errors name it already, once.
    fs::remove(path);
    error = initializeError();
    const std::string message = error.what();
    EXPECT_EQ(message.find(path), 0u) << message;
    EXPECT_EQ(message.find(path, 1), std::string::npos) << message;
}
