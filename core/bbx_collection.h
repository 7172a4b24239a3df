#pragma once
// The ordered collection of models, owning them, and the model file:
// "BBX1" followed by the model records back to back.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/bbx_model.h"

namespace bbx {

class Tbbx_collection {
public:
    std::int32_t Count() const { return static_cast<std::int32_t>(Models.size()); }

    Tbbx_model* Add();
    void Delete(std::int32_t i);
    void Remove(const Tbbx_model* model);
    void Exchange(std::int32_t i, std::int32_t j);
    Tbbx_model* Items(std::int32_t i) const { return Models[static_cast<std::size_t>(i)].get(); }
    std::int32_t IndexOf(const Tbbx_model* model) const;
    // The first model in collection order with that ID, or null.
    Tbbx_model* FindById(std::int32_t id) const;

    // Appends every model of the file. A cut-short record leaves the models
    // read before it, and the one being read, in the collection.
    void LoadFromFile(const std::string& path);
    void LoadFromBytes(const std::string& bytes);
    // Replaces the file as a whole: a failure leaves any previous file intact.
    void SaveToFile(const std::string& path) const;
    std::string SaveToBytes() const;

private:
    std::vector<std::unique_ptr<Tbbx_model>> Models;
};

}  // namespace bbx
