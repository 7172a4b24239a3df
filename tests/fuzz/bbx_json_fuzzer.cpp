// Feeds arbitrary text to bbx build's JSON reader: it may refuse it with a
// JsonError, but must never crash or leak. What it accepts must survive a
// dump and a second read bit for bit, as dump then build does.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "bbx/bbx_json.h"
#include "core/bbx_collection.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    bbx::Tbbx_collection models;
    try {
        bbx::tool::CollectionFromJson(text, models);
    } catch (const bbx::tool::JsonError&) {
        return 0;
    }
    bbx::Tbbx_collection again;
    bbx::tool::CollectionFromJson(bbx::tool::CollectionToJson(models), again);
    if (again.SaveToBytes() != models.SaveToBytes()) std::abort();
    return 0;
}
