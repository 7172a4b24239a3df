#pragma once
// The game's forgiving XML reader. It knows tags, empty tags, processing
// instructions, comments and text, nothing else: no entities, CDATA, DOCTYPE,
// namespaces or encodings. It never fails; malformed input gives whatever tree
// its cutting rules give, and the game's data files rely on those rules.

#include <cstdint>
#include <string_view>

#include "runtime/xml_document.h"

namespace gb {

// Case conversion values; conversion touches the ASCII letters only, and any
// other value keeps the text as it is.
inline constexpr std::int32_t kKeepCase = 0;
inline constexpr std::int32_t kLowerCase = 1;
inline constexpr std::int32_t kUpperCase = 2;

// Reader options. Default-constructed they keep everything as written.
struct TXMLOptions {
    std::int32_t TagNameCase = kKeepCase;         // tag names, and end tags before matching
    std::int32_t AttributeNameCase = kKeepCase;
    std::int32_t AttributeValueCase = kKeepCase;
    std::int32_t TextCase = kKeepCase;            // text nodes
    bool TrimText = false;                        // strip codes 0-32 from both ends of text nodes
    bool SkipComments = false;                    // drop comments instead of keeping them
    bool CompactWhitespace = false;               // CR, LF, TAB to blanks, runs of blanks to one
};

// What the game reads every one of its files with: names and attribute values
// in lower case, text trimmed and folded, comments dropped.
inline constexpr TXMLOptions kGameXMLOptions{kLowerCase, kLowerCase, kLowerCase, kKeepCase, true, true, true};

// Appends what the text holds to the document's children. Handed a tag, the
// parse also ends at that tag's own end tag.
void Parse(TXMLDocument& document, std::string_view text, const TXMLOptions& options);

}  // namespace gb
