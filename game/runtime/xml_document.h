#pragma once
// The tree the game's XML reader builds: text runs, comments, and elements
// with attributes and children. Every node owns its subtree. Texts are bytes
// in the programs' code page; nothing is decoded or escaped.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace gb {

class TXMLTag;

class TXMLElement {
public:
    TXMLElement() = default;
    TXMLElement(const TXMLElement&) = delete;
    TXMLElement& operator=(const TXMLElement&) = delete;
    virtual ~TXMLElement() = default;

    // Appends the node's XML form, without indentation, line breaks or
    // escaping.
    virtual void AppendXML(std::string& out) const = 0;

    std::string Text;
};

// A run of text between tags.
class TXMLString final : public TXMLElement {
public:
    void AppendXML(std::string& out) const override;
};

// A comment; Text is what stood between "<!--" and "-->".
class TXMLComment final : public TXMLElement {
public:
    void AppendXML(std::string& out) const override;
};

// An ordered list of child nodes. A bare document is the root a caller parses
// into; its Text stays empty.
class TXMLDocument : public TXMLElement {
public:
    TXMLDocument() = default;
    // Frees the subtree without recursion, so that however deep the nesting
    // of a malformed file, destruction cannot run out of stack.
    ~TXMLDocument() override;

    void AppendXML(std::string& out) const override;

    TXMLTag& AddTag();
    TXMLString& AddString();
    TXMLComment& AddComment();

    std::int32_t ChildCount() const { return static_cast<std::int32_t>(Children.size()); }
    // Raises EListError for an index outside 0..ChildCount()-1.
    const TXMLElement& Child(std::int32_t index) const;
    // The first child tag named exactly so, or nullptr.
    const TXMLTag* FindTag(std::string_view name) const;
    // Whether the child at the index is a tag named exactly so; false for an
    // index outside the list.
    bool IsTag(std::int32_t index, std::string_view name) const;
    // Text of the first text child; empty when there is none.
    std::string GetText() const;
    // The mixed content as one text: text children as they are, CR LF for
    // every child tag named "br", nothing for anything else.
    std::string NodeText() const;

protected:
    // Writes a document or tag and its whole subtree, walking it without
    // recursion.
    static void AppendTree(const TXMLDocument& root, std::string& out);

private:
    std::vector<std::unique_ptr<TXMLElement>> Children;
};

class TXMLAttribute {
public:
    std::string Name;
    std::string Value;
};

// An element; Text is its name.
class TXMLTag final : public TXMLDocument {
public:
    // Kind values.
    static constexpr std::int32_t kOpen = 0;                   // children follow up to its end tag
    static constexpr std::int32_t kProcessingInstruction = 1;  // written between "<?" and "?>"
    static constexpr std::int32_t kEmpty = 2;                  // ends with "/>"

    void AppendXML(std::string& out) const override;

    TXMLAttribute& AddAttribute();
    std::int32_t AttributeCount() const { return static_cast<std::int32_t>(Attributes.size()); }
    // Raises EListError for an index outside 0..AttributeCount()-1.
    const TXMLAttribute& Attribute(std::int32_t index) const;
    // Value of the first attribute named exactly so; empty when there is none.
    std::string GetAttribute(std::string_view name) const;
    // Each attribute as a blank, its name, '=' and its value in double quotes.
    void AttributesText(std::string& out) const;

    std::int32_t Kind = kOpen;

private:
    std::vector<std::unique_ptr<TXMLAttribute>> Attributes;
};

// The queries for chained use, as in
// GetText(FindTag(FindTag(&document, "config"), "gfx")): each raises
// EXMLNodeMissing when handed no node, so a missing element anywhere in the
// chain ends up as one error.
std::int32_t ChildCount(const TXMLDocument* node);
const TXMLElement& Child(const TXMLDocument* node, std::int32_t index);
const TXMLTag* FindTag(const TXMLDocument* node, std::string_view name);
bool IsTag(const TXMLDocument* node, std::int32_t index, std::string_view name);
std::string GetText(const TXMLDocument* node);
std::string GetAttribute(const TXMLTag* tag, std::string_view name);
std::string NodeText(const TXMLDocument* node);

// The text without the codes 0 to 32 (blanks and controls) at either end, as
// the reader trims text nodes.
std::string_view Trimmed(std::string_view text);

}  // namespace gb
