#include "runtime/xml_document.h"

#include <iterator>

#include "core/code_page.h"
#include "runtime/game_errors.h"

namespace gb {

std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

void TXMLString::AppendXML(std::string& out) const { out += Text; }

void TXMLComment::AppendXML(std::string& out) const {
    out += "<!--";
    out += Text;
    out += "-->";
}

TXMLDocument::~TXMLDocument() {
    std::vector<std::unique_ptr<TXMLElement>> pending = std::move(Children);
    while (!pending.empty()) {
        const std::unique_ptr<TXMLElement> node = std::move(pending.back());
        pending.pop_back();
        if (auto* document = dynamic_cast<TXMLDocument*>(node.get())) {
            pending.insert(pending.end(), std::make_move_iterator(document->Children.begin()),
                           std::make_move_iterator(document->Children.end()));
            document->Children.clear();
        }
    }
}

void TXMLDocument::AppendXML(std::string& out) const { AppendTree(*this, out); }

void TXMLTag::AppendXML(std::string& out) const { AppendTree(*this, out); }

namespace {

// Writes what stands before a node's children; false when the node has no
// children part (a processing instruction or an empty tag).
bool AppendOpening(const TXMLDocument& node, std::string& out) {
    const auto* tag = dynamic_cast<const TXMLTag*>(&node);
    if (!tag) return true;
    const bool instruction = tag->Kind == TXMLTag::kProcessingInstruction;
    out += instruction ? "<?" : "<";
    out += tag->Text;
    tag->AttributesText(out);
    switch (tag->Kind) {
        case TXMLTag::kProcessingInstruction: out += "?>"; return false;
        case TXMLTag::kEmpty: out += "/>"; return false;
        default: out += '>'; return true;
    }
}

void AppendClosing(const TXMLDocument& node, std::string& out) {
    if (const auto* tag = dynamic_cast<const TXMLTag*>(&node)) {
        out += "</";
        out += tag->Text;
        out += '>';
    }
}

}  // namespace

void TXMLDocument::AppendTree(const TXMLDocument& root, std::string& out) {
    if (!AppendOpening(root, out)) return;
    struct Level {
        const TXMLDocument* Node;
        std::size_t Next;
    };
    std::vector<Level> open{{&root, 0}};
    while (!open.empty()) {
        Level& level = open.back();
        if (level.Next == level.Node->Children.size()) {
            AppendClosing(*level.Node, out);
            open.pop_back();
            continue;
        }
        const TXMLElement& child = *level.Node->Children[level.Next++];
        if (const auto* document = dynamic_cast<const TXMLDocument*>(&child)) {
            if (AppendOpening(*document, out)) open.push_back({document, 0});
        } else {
            child.AppendXML(out);
        }
    }
}

TXMLTag& TXMLDocument::AddTag() {
    auto tag = std::make_unique<TXMLTag>();
    TXMLTag& added = *tag;
    Children.push_back(std::move(tag));
    return added;
}

TXMLString& TXMLDocument::AddString() {
    auto text = std::make_unique<TXMLString>();
    TXMLString& added = *text;
    Children.push_back(std::move(text));
    return added;
}

TXMLComment& TXMLDocument::AddComment() {
    auto comment = std::make_unique<TXMLComment>();
    TXMLComment& added = *comment;
    Children.push_back(std::move(comment));
    return added;
}

const TXMLElement& TXMLDocument::Child(std::int32_t index) const {
    if (index < 0 || index >= ChildCount()) throw EListError(index);
    return *Children[static_cast<std::size_t>(index)];
}

const TXMLTag* TXMLDocument::FindTag(std::string_view name) const {
    for (const auto& child : Children) {
        const auto* tag = dynamic_cast<const TXMLTag*>(child.get());
        if (tag && tag->Text == name) return tag;
    }
    return nullptr;
}

bool TXMLDocument::IsTag(std::int32_t index, std::string_view name) const {
    if (index < 0 || index >= ChildCount()) return false;
    const auto* tag = dynamic_cast<const TXMLTag*>(Children[static_cast<std::size_t>(index)].get());
    return tag && tag->Text == name;
}

std::string TXMLDocument::GetText() const {
    for (const auto& child : Children)
        if (const auto* text = dynamic_cast<const TXMLString*>(child.get())) return text->Text;
    return {};
}

std::string TXMLDocument::NodeText() const {
    std::string result;
    for (std::int32_t i = 0; i < ChildCount(); ++i) {
        if (IsTag(i, "br"))
            result += "\r\n";
        else if (const auto* text = dynamic_cast<const TXMLString*>(Children[static_cast<std::size_t>(i)].get()))
            result += text->Text;
    }
    return result;
}

TXMLAttribute& TXMLTag::AddAttribute() {
    Attributes.push_back(std::make_unique<TXMLAttribute>());
    return *Attributes.back();
}

const TXMLAttribute& TXMLTag::Attribute(std::int32_t index) const {
    if (index < 0 || index >= AttributeCount()) throw EListError(index);
    return *Attributes[static_cast<std::size_t>(index)];
}

std::string TXMLTag::GetAttribute(std::string_view name) const {
    for (const auto& attribute : Attributes)
        if (attribute->Name == name) return attribute->Value;
    return {};
}

void TXMLTag::AttributesText(std::string& out) const {
    for (const auto& attribute : Attributes) {
        out += ' ';
        out += attribute->Name;
        out += "=\"";
        out += attribute->Value;
        out += '"';
    }
}

namespace {

template <typename Node>
const Node& Need(const Node* node, std::string_view query, std::string_view name = {}) {
    if (!node) {
        std::string message = bbx::Pl<"Brak elementu XML dla zapytania ">();
        message += query;
        if (!name.empty()) message.append(" \"").append(name).append("\"");
        throw EXMLNodeMissing(message);
    }
    return *node;
}

}  // namespace

std::int32_t ChildCount(const TXMLDocument* node) { return Need(node, "ChildCount").ChildCount(); }

const TXMLElement& Child(const TXMLDocument* node, std::int32_t index) { return Need(node, "Child").Child(index); }

const TXMLTag* FindTag(const TXMLDocument* node, std::string_view name) {
    return Need(node, "FindTag", name).FindTag(name);
}

bool IsTag(const TXMLDocument* node, std::int32_t index, std::string_view name) {
    return Need(node, "IsTag", name).IsTag(index, name);
}

std::string GetText(const TXMLDocument* node) { return Need(node, "GetText").GetText(); }

std::string GetAttribute(const TXMLTag* tag, std::string_view name) {
    return Need(tag, "GetAttribute", name).GetAttribute(name);
}

std::string NodeText(const TXMLDocument* node) { return Need(node, "NodeText").NodeText(); }

}  // namespace gb
