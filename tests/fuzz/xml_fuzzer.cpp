// Feeds arbitrary bytes to the XML reader under options taken from the first
// byte, writes the tree back out and walks it with every query. The reader
// must never crash, read outside its text or hang, and what it writes is
// bounded by what it read: a tag's name is written twice at most, and an
// attribute costs at most four bytes more than it took.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/data_file.h"
#include "runtime/xml_parser.h"

namespace {

gb::TXMLOptions OptionsFrom(std::uint8_t bits) {
    gb::TXMLOptions options;
    options.TagNameCase = bits & 3;
    options.AttributeNameCase = (bits >> 2) & 1;
    options.AttributeValueCase = (bits >> 2) & 2;
    options.TextCase = (bits >> 3) & 3;
    options.TrimText = (bits & 0x20) != 0;
    options.SkipComments = (bits & 0x40) != 0;
    options.CompactWhitespace = (bits & 0x80) != 0;
    return options;
}

// Every query on every node, without recursion; each must agree with what
// the node holds.
void Walk(const gb::TXMLDocument& root) {
    std::vector<const gb::TXMLDocument*> pending{&root};
    while (!pending.empty()) {
        const gb::TXMLDocument& node = *pending.back();
        pending.pop_back();
        const std::string text = node.GetText();
        if (node.NodeText().size() < text.size()) std::abort();
        for (std::int32_t i = 0; i < node.ChildCount(); ++i) {
            const gb::TXMLElement& child = node.Child(i);
            const auto* tag = dynamic_cast<const gb::TXMLTag*>(&child);
            if (node.IsTag(i, child.Text) != (tag != nullptr)) std::abort();
            if (!tag) continue;
            if (node.FindTag(tag->Text) == nullptr) std::abort();
            if (tag->AttributeCount() > 0 && tag->GetAttribute(tag->Attribute(0).Name) != tag->Attribute(0).Value)
                std::abort();
            pending.push_back(tag);
        }
    }
}

void Check(std::string_view text, const gb::TXMLOptions& options) {
    gb::TXMLDocument document;
    gb::Parse(document, text, options);
    std::string written;
    document.AppendXML(written);
    if (written.size() > 4 * text.size()) std::abort();
    Walk(document);
    gb::TXMLDocument again;
    gb::Parse(again, written, options);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    Check(text, OptionsFrom(data[0]));
    Check(gb::DataFileText(std::string(text)), gb::kGameXMLOptions);
    return 0;
}
