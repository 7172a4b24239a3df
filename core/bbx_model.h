#pragma once
// A sphere model: a name (Windows-1250 bytes), an identifier, the two sprite
// size values and the ordered element list.

#include <cstdint>
#include <string>
#include <vector>

#include "core/sphere_element.h"

namespace bbx {

class TBinaryReader;
class TBinaryWriter;

class Tbbx_model {
public:
    std::string Name;
    std::int32_t ID = 0;
    float I1 = 0;
    float I2 = 0;

    std::int32_t Count() const { return static_cast<std::int32_t>(Elements.size()); }

    // Resizes to n elements keeping the first min(old, n); new slots are zero.
    void SetCount(std::int32_t n);
    TSphereElement GetElement(std::int32_t i) const { return Elements[static_cast<std::size_t>(i)]; }
    void SetElement(std::int32_t i, const TSphereElement& e) { Elements[static_cast<std::size_t>(i)] = e; }
    void AddElement(const TSphereElement& e);
    void DeleteElement(std::int32_t i);
    // Appends copies of src's elements (never its name, ID or sizes); src may be this model.
    void AppendModel(const Tbbx_model& src);

    const std::vector<TSphereElement>& ElementList() const { return Elements; }

    void ReadFrom(TBinaryReader& in);
    void WriteTo(TBinaryWriter& out) const;

private:
    std::vector<TSphereElement> Elements;
};

}  // namespace bbx
