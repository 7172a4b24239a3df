#include "core/bbx_model.h"

#include "core/binary_io.h"
#include "core/errors.h"

namespace bbx {

void Tbbx_model::SetCount(std::int32_t n) {
    Elements.resize(n > 0 ? static_cast<std::size_t>(n) : 0, TSphereElement{});
}

void Tbbx_model::AddElement(const TSphereElement& e) { Elements.push_back(e); }

void Tbbx_model::DeleteElement(std::int32_t i) {
    Elements.erase(Elements.begin() + i);
}

void Tbbx_model::AppendModel(const Tbbx_model& src) {
    // Copy first: src may be this model, whose storage the insert reallocates.
    const std::vector<TSphereElement> copied = src.Elements;
    Elements.insert(Elements.end(), copied.begin(), copied.end());
}

void Tbbx_model::ReadFrom(TBinaryReader& in) {
    const std::int32_t nameLength = in.ReadInt32();
    // A count the rest of the file cannot hold is damage: refuse it before
    // allocating anything.
    if (nameLength < 0 || static_cast<std::uint64_t>(nameLength) > in.Remaining())
        ThrowReadBeyondEnd();
    Name = in.ReadBytes(static_cast<std::size_t>(nameLength));
    ID = in.ReadInt32();
    I1 = in.ReadSingle();
    I2 = in.ReadSingle();
    const std::int32_t count = in.ReadInt32();
    if (count < 0 || static_cast<std::uint64_t>(count) * sizeof(TSphereElement) > in.Remaining())
        ThrowReadBeyondEnd();
    SetCount(count);
    for (auto& e : Elements) {
        e.C = in.ReadInt32();
        e.Color = in.ReadUInt32();
        for (float* f : {&e.X1, &e.Y1, &e.Z1, &e.R1, &e.X2, &e.Y2, &e.Z2, &e.R2}) *f = in.ReadSingle();
    }
}

void Tbbx_model::WriteTo(TBinaryWriter& out) const {
    out.WriteInt32(static_cast<std::int32_t>(Name.size()));
    out.WriteBytes(Name);
    out.WriteInt32(ID);
    out.WriteSingle(I1);
    out.WriteSingle(I2);
    out.WriteInt32(Count());
    for (const auto& e : Elements) {
        out.WriteInt32(e.C);
        out.WriteUInt32(e.Color);
        for (float f : {e.X1, e.Y1, e.Z1, e.R1, e.X2, e.Y2, e.Z2, e.R2}) out.WriteSingle(f);
    }
}

}  // namespace bbx
