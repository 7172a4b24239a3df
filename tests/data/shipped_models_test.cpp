// Guards the shipped model file: every model the game draws is there, and
// every sprite holds its model at each angle the game draws it with, feet on
// the bottom row where the game puts the footprint.

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <fstream>
#include <map>
#include <numbers>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/bbx_collection.h"
#include "core/pixel_buffer.h"
#include "core/render_model.h"
#include "core/rounding.h"

using namespace bbx;

namespace {

// How a model meets the ground at the bottom of its sprite.
enum class Footing {
    Upright,  // a standing figure: at every heading its lowest point is within 2 pixels of the bottom row
    Long,     // longer than wide: pointing at the viewer its near end reaches 4 pixels lower than side-on
    None,     // icons, arrows, the pointer and explosions float
};

struct Required {
    std::int32_t Id;
    float Zoom;
    float Pitch;
    Footing Foot;
    bool Lies = false;   // also drawn fallen over, with the Lying view
    bool Turns = true;   // held at any yaw; otherwise only at FixedYaw
    float FixedYaw = 0;
};

struct View {
    float Zoom, Pitch, Yaw;
    bool Standing;  // the pose whose feet belong on the bottom row
};

// The table the game's named model IDs and the model generator come from.
struct ModelTable {
    std::vector<Required> Drawn;
    View Lying{};
    std::map<std::string, std::int32_t> Ids;  // by name
};

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields(1);
    for (char c : line) {
        if (c == ',')
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

float Number(const std::string& text, const std::string& where) {
    float value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        throw std::runtime_error(where + ": '" + text + "' is not a number");
    return value;
}

ModelTable ReadTable() {
    std::ifstream in(BBX_MODEL_IDS_FILE);
    if (!in) throw std::runtime_error("cannot read " BBX_MODEL_IDS_FILE);
    ModelTable table;
    bool columns = false;
    bool lying = false;
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        const std::string where = std::string(BBX_MODEL_IDS_FILE) + ":" + std::to_string(number);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line.front() == '#') continue;
        if (!columns) {
            if (line != "name,id,zoom,pitch,yaw,sprite,lies") throw std::runtime_error(where + ": not the column line");
            columns = true;
            continue;
        }
        const std::vector<std::string> f = Fields(line);
        if (f.size() != 7) throw std::runtime_error(where + ": 7 fields expected");
        if (f[1].empty()) {
            if (f[0] != "Lying") throw std::runtime_error(where + ": only Lying may go without an ID");
            table.Lying = {Number(f[2], where), Number(f[3], where), Number(f[4], where), false};
            lying = true;
            continue;
        }
        Required r{static_cast<std::int32_t>(std::stol(f[1])), Number(f[2], where), Number(f[3], where),
                   Footing::None};
        if (f[5] == "standing") {
            r.Foot = Footing::Upright;
        } else if (f[5] == "front") {
            r.Foot = Footing::Upright;
            r.Turns = false;
        } else if (f[5] == "long") {
            r.Foot = Footing::Long;
        } else if (f[5] == "hotspot") {
            r.Turns = false;
        } else if (f[5] != "centred") {
            throw std::runtime_error(where + ": unknown sprite '" + f[5] + "'");
        }
        if (!r.Turns) r.FixedYaw = Number(f[4], where);
        if (f[6] != "" && f[6] != "lies") throw std::runtime_error(where + ": the last field is lies or empty");
        r.Lies = f[6] == "lies";
        if (!table.Ids.emplace(f[0], r.Id).second) throw std::runtime_error(where + ": " + f[0] + " again");
        table.Drawn.push_back(r);
    }
    if (!lying) throw std::runtime_error(BBX_MODEL_IDS_FILE ": no Lying view");
    return table;
}

const ModelTable& Table() {
    static const ModelTable table = ReadTable();
    return table;
}

const std::vector<Required>& RequiredModels() { return Table().Drawn; }

const Required& RequiredById(std::int32_t id);

const Required& RequiredByName(const std::string& name) { return RequiredById(Table().Ids.at(name)); }

const Required& RequiredById(std::int32_t id) {
    const auto found = std::find_if(RequiredModels().begin(), RequiredModels().end(),
                                    [id](const Required& r) { return r.Id == id; });
    if (found == RequiredModels().end()) throw std::runtime_error("model " + std::to_string(id) + " is not in the table");
    return *found;
}

std::string Describe(const Required& r, const View& v) {
    return "model " + std::to_string(r.Id) + " at zoom " + std::to_string(v.Zoom) + ", pitch " +
           std::to_string(v.Pitch) + ", yaw " + std::to_string(v.Yaw);
}

std::vector<View> ViewsOf(const Required& r) {
    if (!r.Turns) return {{r.Zoom, r.Pitch, r.FixedYaw, r.Foot != Footing::None}};
    std::vector<View> views;
    for (int degrees = 0; degrees < 360; degrees += 15)
        views.push_back({r.Zoom, r.Pitch, static_cast<float>(degrees * std::numbers::pi / 180), true});
    if (r.Lies) views.push_back(Table().Lying);
    return views;
}

struct Disc {
    int Left, Top, Right, Bottom;  // right and bottom excluded
};

class RecordingCanvas : public TRenderCanvas {
public:
    void SetBrushStyle(TBrushStyle) override {}
    void SetPenColor(TColor) override {}
    void SetBrushColor(TColor) override {}
    void Ellipse(int left, int top, int right, int bottom) override { Discs.push_back({left, top, right, bottom}); }
    std::vector<Disc> Discs;
};

struct Sprite {
    int Width, Height;
};

Sprite SpriteOf(const Tbbx_model& m) {
    return {static_cast<int>(RoundHalfEven(m.I1)), static_cast<int>(RoundHalfEven(m.I2))};
}

std::vector<Disc> Render(const Tbbx_model& m, const View& v) {
    RecordingCanvas canvas;
    const Sprite s = SpriteOf(m);
    RenderModel(m, canvas, s.Width, s.Height, v.Yaw, v.Pitch, v.Zoom);
    return canvas.Discs;
}

int LowestEdge(const std::vector<Disc>& discs) {
    int lowest = INT_MIN;
    for (const Disc& d : discs) lowest = std::max(lowest, d.Bottom);
    return lowest;
}

class ShippedModels : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Models = new Tbbx_collection;
        Models->LoadFromFile(BBX_MODELS_FILE);
    }
    static void TearDownTestSuite() {
        delete Models;
        Models = nullptr;
    }

    static const Tbbx_model& Model(std::int32_t id) {
        const Tbbx_model* m = Models->FindById(id);
        if (!m) throw std::runtime_error("no model " + std::to_string(id));
        return *m;
    }

    static Tbbx_collection* Models;
};

Tbbx_collection* ShippedModels::Models = nullptr;

TEST_F(ShippedModels, HoldEveryModelTheGameDrawsOnceEachWithAName) {
    std::multiset<std::int32_t> ids;
    for (std::int32_t i = 0; i < Models->Count(); ++i) ids.insert(Models->Items(i)->ID);
    for (const Required& r : RequiredModels()) {
        EXPECT_EQ(ids.count(r.Id), 1u) << "model " << r.Id;
        if (const Tbbx_model* m = Models->FindById(r.Id)) {
            EXPECT_FALSE(m->Name.empty()) << "model " << r.Id;
        }
    }
}

TEST_F(ShippedModels, HoldNoModelTheGameDoesNotDraw) {
    std::set<std::int32_t> drawn;
    for (const Required& r : RequiredModels()) EXPECT_TRUE(drawn.insert(r.Id).second) << "model " << r.Id << " again";
    for (std::int32_t i = 0; i < Models->Count(); ++i)
        EXPECT_EQ(drawn.count(Models->Items(i)->ID), 1u) << "model " << Models->Items(i)->ID << " is not in the table";
}

TEST_F(ShippedModels, HaveWholePositiveSpriteSizesModerateSphereCountsAndVisibleColours) {
    for (std::int32_t i = 0; i < Models->Count(); ++i) {
        const Tbbx_model& m = *Models->Items(i);
        SCOPED_TRACE("model " + std::to_string(m.ID));
        EXPECT_GT(m.I1, 0);
        EXPECT_GT(m.I2, 0);
        EXPECT_EQ(m.I1, std::round(m.I1));
        EXPECT_EQ(m.I2, std::round(m.I2));
        EXPECT_LE(std::max(m.I1, m.I2), 256.0f);

        // The game renders on every cache miss: a model it turns again and
        // again, one drawn at a single yaw (a house) about once.
        long long spheres = 0;
        for (const TSphereElement& e : m.ElementList()) {
            EXPECT_GE(e.C, -1);
            spheres += e.C == -1 ? 1 : e.C + 2;
        }
        EXPECT_GT(spheres, 0);
        EXPECT_LE(spheres, RequiredById(m.ID).Turns ? 480 : 1500);

        // In 16-bit colour a colour that maps to 0 is the transparent key: a hole.
        for (const TSphereElement& e : m.ElementList()) {
            EXPECT_EQ(e.Color >> 24, 0u);
            EXPECT_NE(TPixelBuffer::MapColor(e.Color, TPixelFormat::Rgb565), 0u) << std::hex << e.Color;
        }
    }
}

TEST_F(ShippedModels, StayInsideTheirSpritesAtEveryAngleTheGameUses) {
    for (const Required& r : RequiredModels()) {
        const Tbbx_model& m = Model(r.Id);
        const Sprite s = SpriteOf(m);
        for (const View& v : ViewsOf(r)) {
            for (const Disc& d : Render(m, v)) {
                const bool inside = d.Left >= 0 && d.Top >= 0 && d.Right <= s.Width && d.Bottom <= s.Height;
                if (!inside) {
                    ADD_FAILURE() << Describe(r, v) << ": a disc (" << d.Left << ", " << d.Top << ", " << d.Right
                                  << ", " << d.Bottom << ") leaves the " << s.Width << "x" << s.Height << " sprite";
                    break;
                }
            }
        }
    }
}

TEST_F(ShippedModels, StandOnTheBottomRowAtEveryHeading) {
    for (const Required& r : RequiredModels()) {
        if (r.Foot == Footing::None) continue;
        const Tbbx_model& m = Model(r.Id);
        const int height = SpriteOf(m).Height;
        const int allowed = r.Foot == Footing::Upright ? 2 : 4;
        int closest = INT_MAX;
        for (const View& v : ViewsOf(r)) {
            if (!v.Standing) continue;
            const int gap = height - LowestEdge(Render(m, v));
            closest = std::min(closest, gap);
            EXPECT_LE(gap, allowed) << Describe(r, v) << " floats above the bottom row";
        }
        EXPECT_LE(closest, 1) << "model " << r.Id << " never reaches the bottom row";
    }
}

TEST_F(ShippedModels, PointerTipIsTheTopLeftPixel) {
    const Required& pointer = RequiredByName("Pointer");
    const std::vector<Disc> discs = Render(Model(pointer.Id), {pointer.Zoom, pointer.Pitch, pointer.FixedYaw, false});
    ASSERT_FALSE(discs.empty());
    int left = INT_MAX, top = INT_MAX;
    for (const Disc& d : discs) {
        left = std::min(left, d.Left);
        top = std::min(top, d.Top);
    }
    EXPECT_EQ(left, 0);
    EXPECT_EQ(top, 0);
}

TEST_F(ShippedModels, HudIconsFitTheirCellsAndArrowsTurnAboutTheAimedPoint) {
    for (const char* name : {"HandIcon", "PresentIcon", "RodIcon", "BaubleIcon"}) {
        const Sprite s = SpriteOf(Model(RequiredByName(name).Id));
        EXPECT_LE(s.Width, 48) << name;
        EXPECT_LE(s.Height, 48) << name;
    }
    for (const char* name : {"Arrow1", "Arrow2"}) {
        const Required& arrow = RequiredByName(name);
        const Tbbx_model& m = Model(arrow.Id);
        // Anchored at the bottom centre 14 pixels below the aimed point, the
        // sprite's centre, about which the arrow turns, must land on it.
        const Sprite s = SpriteOf(m);
        EXPECT_EQ(s.Height - s.Height / 2, 14) << name;
        for (int degrees = 0; degrees < 360; degrees += 45) {
            // The HUD turns the arrow by -theta to point along (cos theta, sin theta) on screen.
            const double theta = degrees * std::numbers::pi / 180;
            double along = 0, area = 0;
            for (const Disc& d : Render(m, {arrow.Zoom, arrow.Pitch, static_cast<float>(-theta), false})) {
                const double a = double(d.Right - d.Left) * (d.Bottom - d.Top);
                const double x = (d.Left + d.Right) / 2.0 - s.Width / 2, y = (d.Top + d.Bottom) / 2.0 - s.Height / 2;
                along += a * (x * std::cos(theta) + y * std::sin(theta));
                area += a;
            }
            ASSERT_GT(area, 0);
            EXPECT_GT(along / area, 1.0) << name << " turned to " << degrees << " degrees points away";
        }
    }
}

}  // namespace

namespace {

// The table's names that match: the looks of a kind of villager, in order.
std::vector<std::string> NamesLike(const std::string& stem, const std::string& tail) {
    std::vector<std::string> names;
    for (const auto& [name, id] : Table().Ids) {
        if (!name.starts_with(stem) || !name.ends_with(tail) || name.size() < stem.size() + tail.size()) continue;
        const std::string middle = name.substr(stem.size(), name.size() - stem.size() - tail.size());
        if (std::all_of(middle.begin(), middle.end(), [](char c) { return c >= '0' && c <= '9'; }))
            names.push_back(name);
    }
    return names;
}

std::set<TColor> ColoursOf(const Tbbx_model& m) {
    std::set<TColor> colours;
    for (const TSphereElement& e : m.ElementList()) colours.insert(e.Color);
    return colours;
}

}  // namespace

TEST_F(ShippedModels, EveryParentAndEveryChildHasALookOfItsOwnOfTheSameBuild) {
    for (const auto& [stem, tail] : {std::pair<std::string, std::string>{"Parent", ""}, {"Child", ""},
                                     {"Child", "StepLeft"}, {"Child", "StepRight"}}) {
        const std::vector<std::string> looks = NamesLike(stem, tail);
        ASSERT_GE(looks.size(), 5u) << stem << "*" << tail;
        const Sprite first = SpriteOf(Model(RequiredByName(stem + tail).Id));
        for (std::size_t a = 0; a < looks.size(); ++a) {
            const Tbbx_model& ma = Model(RequiredByName(looks[a]).Id);
            // As tall and wide as the first look within a hat's height: the same kind of figure.
            EXPECT_LE(std::abs(SpriteOf(ma).Height - first.Height), 8) << looks[a];
            EXPECT_LE(std::abs(SpriteOf(ma).Width - first.Width), 8) << looks[a];
            for (std::size_t b = a + 1; b < looks.size(); ++b) {
                const Tbbx_model& mb = Model(RequiredByName(looks[b]).Id);
                EXPECT_NE(ColoursOf(ma), ColoursOf(mb)) << looks[a] << " and " << looks[b] << " wear the same colours";
            }
        }
    }
}

TEST_F(ShippedModels, AWalkingChildsFramesAreOneLook) {
    for (const std::string& look : NamesLike("Child", "")) {
        const auto colours = ColoursOf(Model(RequiredByName(look).Id));
        for (const char* frame : {"StepLeft", "StepRight"})
            EXPECT_EQ(ColoursOf(Model(RequiredByName(look + frame).Id)), colours) << look << frame;
    }
}

TEST_F(ShippedModels, FireworkFramesShareOneSpriteCentredOnThePoint) {
    for (const char* name : {"FireworkRocket", "FireworkRed", "FireworkGold", "FireworkGreen", "FireworkFading"}) {
        const Sprite s = SpriteOf(Model(RequiredByName(name).Id));
        // The game draws them 40 pixels below the point: the middle of an 80-pixel frame.
        EXPECT_EQ(s.Height, 80) << name;
        EXPECT_EQ(s.Width, 80) << name;
    }
}
