#include "bbx/bbx_json.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <nlohmann/json.hpp>
#include <vector>

#include "core/code_page.h"

namespace bbx::tool {
namespace {

using nlohmann::json;

std::string SingleToJson(float value) {
    if (!std::isfinite(value)) {
        std::uint32_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        char hex[16];
        const auto end = std::to_chars(hex, hex + sizeof hex, bits, 16).ptr;
        std::string digits(hex, end);
        return "\"0x" + std::string(8 - digits.size(), '0') + digits + "\"";
    }
    // "-0" would read back as the integer 0 and lose the sign.
    if (value == 0 && std::signbit(value)) return "-0.0";
    char buf[32];
    const auto end = std::to_chars(buf, buf + sizeof buf, value).ptr;
    return std::string(buf, end);
}

// Builds a DOM like nlohmann's own parser, except that a real number is
// converted straight from its text to a single: going through double first
// could round twice and change the last bit.
class SingleExactDomBuilder : public nlohmann::json_sax<json> {
public:
    explicit SingleExactDomBuilder(json& root) : Root(root) {}

    bool null() override { return Put(json(nullptr)); }
    bool boolean(bool v) override { return Put(json(v)); }
    bool number_integer(number_integer_t v) override { return Put(json(v)); }
    bool number_unsigned(number_unsigned_t v) override { return Put(json(v)); }
    bool number_float(number_float_t, const string_t& text) override {
        float v = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
        if (ec != std::errc() || end != text.data() + text.size())
            throw JsonError("the number " + text + " does not fit a single");
        return Put(json(static_cast<double>(v)));
    }
    bool string(string_t& v) override { return Put(json(v)); }
    bool binary(binary_t&) override { return Put(json()); }
    bool start_object(std::size_t) override { return Open(json::object()); }
    bool key(string_t& k) override {
        PendingKey = k;
        return true;
    }
    bool end_object() override { return Close(); }
    bool start_array(std::size_t) override { return Open(json::array()); }
    bool end_array() override { return Close(); }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& e) override {
        throw JsonError(e.what());
    }

private:
    json* Put(json value) {
        if (Stack.empty()) {
            Root = std::move(value);
            return &Root;
        }
        json& parent = *Stack.back();
        if (parent.is_array()) {
            parent.push_back(std::move(value));
            return &parent.back();
        }
        if (parent.contains(PendingKey)) throw JsonError("duplicate key \"" + PendingKey + "\"");
        return &(parent[PendingKey] = std::move(value));
    }
    bool Open(json value) {
        Stack.push_back(Put(std::move(value)));
        return true;
    }
    bool Close() {
        Stack.pop_back();
        return true;
    }

    json& Root;
    std::vector<json*> Stack;
    std::string PendingKey;
};

const json& Field(const json& object, const char* key, const std::string& where) {
    const auto it = object.find(key);
    if (it == object.end()) throw JsonError(where + ": missing \"" + key + "\"");
    return *it;
}

void OnlyKeys(const json& object, std::initializer_list<const char*> keys, const std::string& where) {
    for (const auto& [key, value] : object.items()) {
        bool known = false;
        for (const char* k : keys) known = known || key == k;
        if (!known) throw JsonError(where + ": unknown key \"" + key + "\"");
    }
}

template <typename Int>
Int ReadInteger(const json& object, const char* key, const std::string& where) {
    const json& v = Field(object, key, where);
    const bool fits = (v.is_number_unsigned() && v.get<std::uint64_t>() <= std::uint64_t(std::numeric_limits<Int>::max())) ||
                      (v.is_number_integer() && !v.is_number_unsigned() &&
                       v.get<std::int64_t>() >= std::int64_t(std::numeric_limits<Int>::min()) &&
                       v.get<std::int64_t>() <= std::int64_t(std::numeric_limits<Int>::max()));
    if (!fits) throw JsonError(where + ": \"" + key + "\" must be an integer in range");
    return static_cast<Int>(v.get<std::int64_t>());
}

float ReadSingle(const json& object, const char* key, const std::string& where) {
    const json& v = Field(object, key, where);
    if (v.is_number_float()) return static_cast<float>(v.get<double>());
    if (v.is_number_unsigned()) return static_cast<float>(v.get<std::uint64_t>());
    if (v.is_number_integer()) return static_cast<float>(v.get<std::int64_t>());
    if (v.is_string()) {
        const std::string s = v.get<std::string>();
        std::uint32_t bits = 0;
        const auto [end, ec] = s.size() == 10 && s.rfind("0x", 0) == 0
                                   ? std::from_chars(s.data() + 2, s.data() + s.size(), bits, 16)
                                   : std::from_chars_result{s.data(), std::errc::invalid_argument};
        if (ec == std::errc() && end == s.data() + s.size()) {
            float f;
            std::memcpy(&f, &bits, sizeof f);
            return f;
        }
    }
    throw JsonError(where + ": \"" + key + "\" must be a number or \"0x\" and 8 hex digits");
}

}  // namespace

std::string CollectionToJson(const Tbbx_collection& collection) {
    std::string out = "{\"models\":[";
    for (std::int32_t m = 0; m < collection.Count(); ++m) {
        const Tbbx_model& model = *collection.Items(m);
        out += m ? ",\n" : "\n";
        out += "{\"name\":" + json(Cp1250ToUtf8(model.Name)).dump() + ",\"id\":" + std::to_string(model.ID) +
               ",\"i1\":" + SingleToJson(model.I1) + ",\"i2\":" + SingleToJson(model.I2) + ",\"elements\":[";
        for (std::int32_t i = 0; i < model.Count(); ++i) {
            const TSphereElement e = model.GetElement(i);
            out += i ? ",\n " : "\n ";
            out += "{\"c\":" + std::to_string(e.C) + ",\"color\":" + std::to_string(e.Color);
            const std::pair<const char*, float> fields[] = {{"x1", e.X1}, {"y1", e.Y1}, {"z1", e.Z1},
                                                            {"r1", e.R1}, {"x2", e.X2}, {"y2", e.Y2},
                                                            {"z2", e.Z2}, {"r2", e.R2}};
            for (const auto& [key, value] : fields) out += ",\"" + std::string(key) + "\":" + SingleToJson(value);
            out += "}";
        }
        out += "]}";
    }
    out += collection.Count() ? "\n]}\n" : "]}\n";
    return out;
}

void CollectionFromJson(const std::string& text, Tbbx_collection& collection) {
    json root;
    SingleExactDomBuilder builder(root);
    json::sax_parse(text, &builder);
    if (!root.is_object()) throw JsonError("the top level must be an object");
    OnlyKeys(root, {"models"}, "top level");
    const json& models = Field(root, "models", "top level");
    if (!models.is_array()) throw JsonError("\"models\" must be an array");
    for (std::size_t m = 0; m < models.size(); ++m) {
        const json& jm = models[m];
        const std::string where = "model " + std::to_string(m);
        if (!jm.is_object()) throw JsonError(where + ": must be an object");
        OnlyKeys(jm, {"name", "id", "i1", "i2", "elements"}, where);
        const json& name = Field(jm, "name", where);
        if (!name.is_string()) throw JsonError(where + ": \"name\" must be a string");
        bool lossless = true;
        std::string cpName = Utf8ToCp1250(name.get<std::string>(), &lossless);
        if (!lossless) throw JsonError(where + ": the name has characters Windows-1250 cannot hold");
        const json& elements = Field(jm, "elements", where);
        if (!elements.is_array()) throw JsonError(where + ": \"elements\" must be an array");

        Tbbx_model* model = collection.Add();
        model->Name = std::move(cpName);
        model->ID = ReadInteger<std::int32_t>(jm, "id", where);
        model->I1 = ReadSingle(jm, "i1", where);
        model->I2 = ReadSingle(jm, "i2", where);
        for (std::size_t i = 0; i < elements.size(); ++i) {
            const json& je = elements[i];
            const std::string at = where + ", element " + std::to_string(i);
            if (!je.is_object()) throw JsonError(at + ": must be an object");
            OnlyKeys(je, {"c", "color", "x1", "y1", "z1", "r1", "x2", "y2", "z2", "r2"}, at);
            model->AddElement(MakeSeries(ReadInteger<std::uint32_t>(je, "color", at),
                                         ReadInteger<std::int32_t>(je, "c", at), ReadSingle(je, "x1", at),
                                         ReadSingle(je, "y1", at), ReadSingle(je, "z1", at),
                                         ReadSingle(je, "r1", at), ReadSingle(je, "x2", at),
                                         ReadSingle(je, "y2", at), ReadSingle(je, "z2", at),
                                         ReadSingle(je, "r2", at)));
        }
    }
}

}  // namespace bbx::tool
