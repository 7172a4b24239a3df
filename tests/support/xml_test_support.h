#pragma once
// A compact picture of an XML tree for assertions: a tag as
// name#kind[name=value,...]{children}, a text as "text", a comment as
// !"text"; siblings separated by blanks.

#include <memory>
#include <string>
#include <string_view>

#include "runtime/xml_parser.h"

namespace gb::test_support {

inline std::string Shape(const TXMLDocument& node) {
    std::string out;
    for (std::int32_t i = 0; i < node.ChildCount(); ++i) {
        if (i) out += ' ';
        const TXMLElement& child = node.Child(i);
        if (const auto* tag = dynamic_cast<const TXMLTag*>(&child)) {
            out += tag->Text + "#" + std::to_string(tag->Kind);
            if (tag->AttributeCount()) {
                out += '[';
                for (std::int32_t a = 0; a < tag->AttributeCount(); ++a)
                    out += (a ? "," : "") + tag->Attribute(a).Name + "=" + tag->Attribute(a).Value;
                out += ']';
            }
            if (tag->ChildCount()) out += "{" + Shape(*tag) + "}";
        } else if (dynamic_cast<const TXMLComment*>(&child)) {
            out += "!\"" + child.Text + "\"";
        } else {
            out += "\"" + child.Text + "\"";
        }
    }
    return out;
}

inline std::unique_ptr<TXMLDocument> Parsed(std::string_view text, const TXMLOptions& options = kGameXMLOptions) {
    auto document = std::make_unique<TXMLDocument>();
    Parse(*document, text, options);
    return document;
}

inline std::string ShapeOf(std::string_view text, const TXMLOptions& options = kGameXMLOptions) {
    return Shape(*Parsed(text, options));
}

inline TXMLTag& AddTag(TXMLDocument& parent, std::string name, std::int32_t kind = TXMLTag::kOpen) {
    TXMLTag& tag = parent.AddTag();
    tag.Text = std::move(name);
    tag.Kind = kind;
    return tag;
}

inline void AddAttribute(TXMLTag& tag, std::string name, std::string value) {
    TXMLAttribute& attribute = tag.AddAttribute();
    attribute.Name = std::move(name);
    attribute.Value = std::move(value);
}

inline std::string XmlOf(const TXMLElement& node) {
    std::string out;
    node.AppendXML(out);
    return out;
}

}  // namespace gb::test_support
