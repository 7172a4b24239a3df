#include "core/bbx_collection.h"

#include <algorithm>
#include <utility>

#include "core/binary_io.h"
#include "core/code_page.h"
#include "core/errors.h"

namespace bbx {
namespace {
constexpr std::string_view kMagic = "BBX1";
}

Tbbx_model* Tbbx_collection::Add() {
    Models.push_back(std::make_unique<Tbbx_model>());
    return Models.back().get();
}

void Tbbx_collection::Delete(std::int32_t i) { Models.erase(Models.begin() + i); }

void Tbbx_collection::Remove(const Tbbx_model* model) {
    const std::int32_t i = IndexOf(model);
    if (i >= 0) Delete(i);
}

void Tbbx_collection::Exchange(std::int32_t i, std::int32_t j) {
    std::swap(Models[static_cast<std::size_t>(i)], Models[static_cast<std::size_t>(j)]);
}

std::int32_t Tbbx_collection::IndexOf(const Tbbx_model* model) const {
    for (std::size_t i = 0; i < Models.size(); ++i)
        if (Models[i].get() == model) return static_cast<std::int32_t>(i);
    return -1;
}

Tbbx_model* Tbbx_collection::FindById(std::int32_t id) const {
    for (const auto& m : Models)
        if (m->ID == id) return m.get();
    return nullptr;
}

void Tbbx_collection::LoadFromFile(const std::string& path) { LoadFromBytes(ReadWholeFile(path)); }

void Tbbx_collection::LoadFromBytes(const std::string& bytes) {
    TBinaryReader in(bytes);
    if (in.ReadBytes(kMagic.size()) != kMagic) throw EInOutError(kBadFormatCode, Pl<"Nieprawidłowy format">());
    while (!in.AtEnd()) Add()->ReadFrom(in);
}

void Tbbx_collection::SaveToFile(const std::string& path) const { WriteWholeFile(path, SaveToBytes()); }

std::string Tbbx_collection::SaveToBytes() const {
    TBinaryWriter out;
    out.WriteBytes(kMagic);
    for (const auto& m : Models) m->WriteTo(out);
    return out.Bytes();
}

}  // namespace bbx
