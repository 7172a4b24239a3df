// Feeds arbitrary bytes to the model loader: it may refuse them with its read
// or format error, but must never crash, leak, or hold more than the input
// could describe.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/bbx_collection.h"
#include "core/errors.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    bbx::Tbbx_collection models;
    bool loaded = true;
    try {
        models.LoadFromBytes(input);
    } catch (const bbx::EInOutError&) {
        loaded = false;
    }
    std::size_t held = 0;
    for (std::int32_t i = 0; i < models.Count(); ++i)
        held += models.Items(i)->Name.size() + 40 * static_cast<std::size_t>(models.Items(i)->Count());
    if (held > size) std::abort();
    // A file that loads saves back to exactly its own bytes.
    if (loaded && models.SaveToBytes() != input) std::abort();
    return 0;
}
