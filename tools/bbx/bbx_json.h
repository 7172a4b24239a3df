#pragma once
// The model file as JSON text, for review and version control:
// {"models":[{"name":…,"id":…,"i1":…,"i2":…,"elements":[{"c":…,"color":…,"x1":…,…}]}]}
// Names are UTF-8; a finite single is the shortest number that reads back to
// the same single; any other bit pattern is "0x" and its 8 hex digits.

#include <stdexcept>
#include <string>

#include "core/bbx_collection.h"

namespace bbx::tool {

class JsonError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::string CollectionToJson(const Tbbx_collection& collection);

// Fills an empty collection from JSON text; JsonError names what is wrong.
void CollectionFromJson(const std::string& text, Tbbx_collection& collection);

}  // namespace bbx::tool
