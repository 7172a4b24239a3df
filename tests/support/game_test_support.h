#pragma once
// A game on a small test map: the shared services on the null platform, a
// model file with plainly coloured sprites for the controller's own pictures,
// and the map and script written by the test.

#include <cmath>
#include <memory>
#include <string>

#include "core/bbx_collection.h"
#include "flow/game.h"
#include "support/flow_test_support.h"
#include "world/bohater.h"
#include "world/lista.h"
#include "world/murek.h"
#include "world/postac.h"
#include "world/static_cos.h"
#include "world/zaprzeg.h"

namespace gb::test_support {

// Sprite colours of the controller's pictures in the test model file.
inline constexpr bbx::TColor kArrow1Color = bbx::RGB(255, 0, 255);
inline constexpr bbx::TColor kArrow2Color = bbx::RGB(0, 255, 255);
inline constexpr bbx::TColor kIconColor = bbx::RGB(255, 255, 0);
inline constexpr int kArrowSize = 8;

// The game data file around a map and a script.
inline std::string GameData(const std::string& map, const std::string& triggers = "") {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?><gamedata><map>" + map + "</map><triggers>" + triggers +
           "</triggers></gamedata>";
}

// A hero at cell (10, 10) and the sleigh at (20, 10), far apart.
inline const std::string kHeroAndSleigh =
    R"(<cos type="bohater" id="hero" x="10" y="10"/><cos type="zaprzeg" id="sanie" x="20" y="10"/>)";

class TGameBench : public TScreenBench {
public:
    explicit TGameBench(const std::string& gameData, bbx::TPixelFormat format = bbx::TPixelFormat::Xrgb8888)
        : TScreenBench(format, [&gameData](const TDataFolder& data) {
              WriteModels(data);
              data.Write("GameData.xml", gameData);
          }) {}

    std::unique_ptr<TGame> Start() { return std::make_unique<TGame>(Services); }

private:
    static void WriteModels(const TDataFolder& data) {
        bbx::Tbbx_collection models;
        const auto add = [&models](std::int32_t id, bbx::TColor color, int size) {
            bbx::Tbbx_model* model = models.Add();
            model->ID = id;
            model->I1 = static_cast<float>(size);
            model->I2 = static_cast<float>(size);
            model->AddElement(bbx::MakeSphere(color, 0, 0, 0, 500));
        };
        add(-10, kArrow1Color, kArrowSize);
        add(-11, kArrow2Color, kArrowSize);
        for (std::int32_t id = -5; id <= -2; ++id) add(id, kIconColor, 10);
        models.SaveToFile(data.File("models.bbx"));
    }
};

// Frames of `ms` milliseconds until `total` have passed; the clock goes on
// from `now`.
inline std::uint32_t Play(TGame& game, std::uint32_t& now, std::uint32_t total, std::uint32_t ms = 10) {
    for (std::uint32_t done = 0; done < total; done += ms) {
        now += ms;
        game.Update(now, ms);
    }
    return now;
}

inline void Press(TGame& game, TVirtualKey key) {
    game.KeyDown(key, 0);
    game.KeyUp(key, 0);
}

inline double Distance(const TCos& a, const TCos& b) { return std::hypot(a.X - b.X, a.Y - b.Y); }

}  // namespace gb::test_support
