// The shipped "GameData.xml" read through the game's own loader: a writer's
// slip (an unknown event or action, an id that names nothing, a variable
// state that nothing sets, a timer nothing starts, a bad number) fails here
// rather than in the middle of a game.

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/code_page.h"
#include "core/errors.h"
#include "flow/game_data_numbers.h"
#include "runtime/data_file.h"
#include "runtime/xml_parser.h"

using namespace gb;

namespace {

const std::set<std::string> kEvents{"init",  "timer",  "getin", "getout", "distance", "fall",
                                    "prezent", "rozga", "bombka", "wybuch", "dialogend"};
const std::set<std::string> kActions{"beep", "count",   "good",    "invincible", "pos",   "ride", "zaprzeg", "command",
                                     "select", "dialog", "pointer", "set",        "mode",  "narration", "timer"};
const std::set<std::string> kTypes{
    "bohater",   "murek",         "drzewo",   "choinka",      "choinka spalona", "choinka duza", "slup",
    "rodzic",    "dzieciak",      "balwanek", "aniolek",      "dziadek mroz",    "zaprzeg",      "dom",
    "dom drewniany", "dom zolty", "dom niebieski", "kaplica", "plot",            "plot w glab",  "zywoplot",
    "latarnia",  "lawka",         "stragan",  "kra",          "mala kra",        "skala",        "trzcina",
    "pomost",    "brzeg",         "brzeg w glab"};

std::vector<const TXMLTag*> ChildTags(const TXMLDocument& parent, std::string_view name) {
    std::vector<const TXMLTag*> tags;
    for (std::int32_t i = 0; i < parent.ChildCount(); ++i)
        if (parent.IsTag(i, name)) tags.push_back(static_cast<const TXMLTag*>(&parent.Child(i)));
    return tags;
}

class ShippedGameData : public ::testing::Test {
protected:
    void SetUp() override {
        Document = LoadDataFile(GB_DATA_DIR, "GameData.xml");
        const TXMLTag* gamedata = Document->FindTag("gamedata");
        ASSERT_NE(gamedata, nullptr);
        Map = gamedata->FindTag("map");
        Triggers = gamedata->FindTag("triggers");
        ASSERT_NE(Map, nullptr);
        ASSERT_NE(Triggers, nullptr);
        for (const TXMLTag* cos : ChildTags(*Map, "cos"))
            if (!cos->GetAttribute("id").empty()) ++Ids[cos->GetAttribute("id")];
        for (const TXMLTag* trigger : ChildTags(*Triggers, "trigger"))
            for (const TXMLTag* action : ChildTags(*trigger, "action")) Actions.emplace_back(trigger, action);
    }

    std::set<std::string> ActionValues(std::string_view type, std::string_view attribute) const {
        std::set<std::string> values;
        for (const auto& [trigger, action] : Actions)
            if (action->GetAttribute("type") == type) values.insert(action->GetAttribute(attribute));
        return values;
    }

    std::unique_ptr<TXMLDocument> Document;
    const TXMLTag* Map = nullptr;
    const TXMLTag* Triggers = nullptr;
    std::map<std::string, int> Ids;
    std::vector<std::pair<const TXMLTag*, const TXMLTag*>> Actions;
};

}  // namespace

TEST_F(ShippedGameData, IsUtf8WithItsDeclarationAndAWritersComment) {
    std::ifstream in(std::string(GB_DATA_DIR) + "GameData.xml", std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_TRUE(bytes.starts_with("<?xml version=\"1.0\" encoding=\"utf-8\"?>"));
    bool lossless = false;
    bbx::Utf8ToCp1250(bytes, &lossless);
    EXPECT_TRUE(lossless) << "a character the game's code page lacks";
    // The comment for writers comes before the data and explains the parts.
    const auto comment = bytes.find("<!--");
    ASSERT_NE(comment, std::string::npos);
    EXPECT_LT(comment, bytes.find("<gamedata>"));
    for (const char* topic : {"THE MAP", "THE STORY", "entrance", "first trigger"})
        EXPECT_NE(bytes.find(topic, comment), std::string::npos) << topic;
    // Polish arrives in the game's code page.
    EXPECT_NE(Document->FindTag("gamedata")->FindTag("triggers"), nullptr);
    bool foundPolish = false;
    for (const auto& [trigger, action] : Actions)
        foundPolish |= action->NodeText().find(bbx::Pl<"Wesołych Świąt!">()) != std::string::npos;
    EXPECT_TRUE(foundPolish);
}

TEST_F(ShippedGameData, MapHasOneHeroOneSleighAndKnownThingsWithUniqueIds) {
    std::map<std::string, int> types;
    std::set<std::string> entrances;
    for (const TXMLTag* cos : ChildTags(*Map, "cos")) {
        const std::string type = cos->GetAttribute("type");
        EXPECT_TRUE(kTypes.contains(type)) << type;
        ++types[type];
        if (type == "dom") {
            const std::string entrance = cos->GetAttribute("entrance");
            entrances.insert(entrance == "top" || entrance == "bottom" || entrance == "left" ? entrance : "right");
            const bool horizontal = entrance == "top" || entrance == "bottom";
            EXPECT_GE(IntAttribute(*cos, horizontal ? "w" : "h", "dom"), 5) << "a door next to a corner";
            IntAttribute(*cos, "x", "dom");
            IntAttribute(*cos, "y", "dom");
        } else {
            DecimalAttribute(*cos, "x", type);
            DecimalAttribute(*cos, "y", type);
        }
    }
    EXPECT_EQ(types["bohater"], 1);
    EXPECT_EQ(types["zaprzeg"], 1);
    EXPECT_EQ(types.size(), kTypes.size()) << "every kind of thing stands on the map";
    EXPECT_GE(types["dom"] + types["dom drewniany"] + types["dom zolty"] + types["dom niebieski"], 5);
    EXPECT_EQ(entrances, (std::set<std::string>{"top", "bottom", "left", "right"}));
    for (const auto& [id, count] : Ids) EXPECT_EQ(count, 1) << id;
}

TEST_F(ShippedGameData, ScriptUsesEveryEventAndActionAndOnlyThose) {
    std::set<std::string> events;
    for (const TXMLTag* trigger : ChildTags(*Triggers, "trigger")) {
        EXPECT_TRUE(kEvents.contains(trigger->GetAttribute("event"))) << trigger->GetAttribute("event");
        events.insert(trigger->GetAttribute("event"));
    }
    EXPECT_EQ(events, kEvents);
    std::set<std::string> actions;
    for (const auto& [trigger, action] : Actions) {
        EXPECT_TRUE(kActions.contains(action->GetAttribute("type"))) << action->GetAttribute("type");
        actions.insert(action->GetAttribute("type"));
    }
    EXPECT_EQ(actions, kActions);
}

TEST_F(ShippedGameData, EveryNameTheScriptUsesExists) {
    for (const auto& [trigger, action] : Actions) {
        const std::string type = action->GetAttribute("type");
        const std::string id = action->GetAttribute("id");
        if (type == "dialog" || type == "invincible" || (type == "pointer" && !id.empty()) ||
            (type == "command" && !id.empty())) {
            EXPECT_TRUE(Ids.contains(id)) << type << " " << id;
        }
        if (type == "count") {
            EXPECT_TRUE(std::set<std::string>({"prezent", "rozga", "bombka"}).contains(action->GetAttribute("co")));
        }
        if (type == "dialog") {
            EXPECT_FALSE(action->NodeText().empty()) << type << " " << id;
        }
        // A narration line is never wrapped: past about 60 letters of the
        // film's bold type it runs off the screen's edges.
        if (type == "narration") {
            EXPECT_LE(action->NodeText().size(), 60u) << bbx::Cp1250ToUtf8(action->NodeText());
        }
    }
    const std::set<std::string> timersStarted = ActionValues("timer", "id");
    std::set<std::string> timersAnswered;
    for (const TXMLTag* trigger : ChildTags(*Triggers, "trigger")) {
        const std::string event = trigger->GetAttribute("event");
        const std::string id = trigger->GetAttribute("id");
        if (event == "timer") {
            EXPECT_TRUE(timersStarted.contains(id)) << "timer " << id << " is never started";
            timersAnswered.insert(id);
        } else if (!id.empty()) {
            EXPECT_TRUE(Ids.contains(id)) << event << " " << id;
        }
    }
    // A timer nothing answers is a slip in its name.
    for (const std::string& timer : timersStarted) EXPECT_TRUE(timersAnswered.contains(timer)) << "timer " << timer;
}

TEST_F(ShippedGameData, EveryVariableStateATriggerWaitsForIsSetSomewhere) {
    std::set<std::pair<std::string, std::string>> set;
    for (const auto& [trigger, action] : Actions)
        if (action->GetAttribute("type") == "set")
            set.emplace(action->GetAttribute("name"), action->GetAttribute("value"));
    for (const TXMLTag* trigger : ChildTags(*Triggers, "trigger")) {
        const std::string name = trigger->GetAttribute("name");
        const std::string value = trigger->GetAttribute("value");
        if (name.empty() || value.empty()) continue;
        EXPECT_TRUE(set.contains({name, value})) << trigger->GetAttribute("event") << ": " << name << "=" << value;
    }
}

TEST_F(ShippedGameData, NumbersAndIndexesAreValidAndNoTriggerLoops) {
    const std::map<std::string, std::pair<int, int>> indexes{
        {"select", {0, 3}}, {"pointer", {1, 2}}, {"mode", {0, 2}}, {"narration", {0, 4}}};
    for (const auto& [trigger, action] : Actions) {
        const std::string type = action->GetAttribute("type");
        if (const auto range = indexes.find(type); range != indexes.end()) {
            const int index = IntAttribute(*action, "index", type);
            EXPECT_GE(index, range->second.first) << type;
            EXPECT_LE(index, range->second.second) << type;
        }
        if (type == "count" || type == "good") IntAttribute(*action, "ile", type);
        if (type == "timer") {
            EXPECT_GE(IntAttribute(*action, "time", type), 0);
        }
        if (type == "command") IntAttribute(*action, "cmd", type);
        for (const char* optional : {"x", "y", "v", "alfa"})
            if (type == "pos" || type == "zaprzeg" || type == "command") OptionalIntAttribute(*action, optional, type);
        const std::string event = trigger->GetAttribute("event");
        if (event == "getin" || event == "getout") {
            EXPECT_NE(type, "ride") << "a trigger on " << event << " rides";
        }
    }
}

TEST(GameDataNumbers, ReadIntegersAndDecimalsWithClearErrors) {
    auto document = std::make_unique<TXMLDocument>();
    Parse(*document, R"(<a i="12" neg="-3" d="2.5" bad="1x" nan="nan" blank="" />)", kGameXMLOptions);
    const TXMLTag& tag = *document->FindTag("a");
    EXPECT_EQ(IntAttribute(tag, "i", "a"), 12);
    EXPECT_EQ(IntAttribute(tag, "neg", "a"), -3);
    EXPECT_EQ(OptionalIntAttribute(tag, "missing", "a"), std::nullopt);
    EXPECT_EQ(OptionalIntAttribute(tag, "blank", "a"), std::nullopt);
    EXPECT_EQ(OptionalIntAttribute(tag, "i", "a"), 12);
    EXPECT_DOUBLE_EQ(DecimalAttribute(tag, "d", "a"), 2.5);
    EXPECT_DOUBLE_EQ(DecimalAttribute(tag, "i", "a"), 12);
    try {
        IntAttribute(tag, "bad", bbx::Pl<"akcja \"timer\"">());
        ADD_FAILURE() << "no error";
    } catch (const bbx::EConvertError& e) {
        EXPECT_EQ(std::string(e.what()), bbx::Pl<"GameData.xml: akcja \"timer\": atrybut bad=\"1x\", a potrzebna jest "
                                                 "liczba całkowita.">());
    }
    EXPECT_THROW(IntAttribute(tag, "d", "a"), bbx::EConvertError);
    EXPECT_THROW(OptionalIntAttribute(tag, "bad", "a"), bbx::EConvertError);
    EXPECT_THROW(DecimalAttribute(tag, "nan", "a"), bbx::EConvertError);
    try {
        DecimalAttribute(tag, "missing", "cos");
        ADD_FAILURE() << "no error";
    } catch (const bbx::EConvertError& e) {
        EXPECT_NE(std::string(e.what()).find("brak atrybutu missing"), std::string::npos) << e.what();
    }
}
