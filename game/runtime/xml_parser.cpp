#include "runtime/xml_parser.h"

#include <algorithm>
#include <vector>

namespace gb {
namespace {

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 32; }

std::string Converted(std::string_view text, std::int32_t mode) {
    std::string result(text);
    if (mode == kLowerCase) {
        for (char& c : result)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    } else if (mode == kUpperCase) {
        for (char& c : result)
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return result;
}

// The next piece from the position on, which it then stands after: a comment
// through its "-->", a tag through its first '>', or text up to the next '<'.
// An empty piece ends the parse: a '<' that no '>' follows, or a comment that
// is never closed (everything after it is inside the comment).
std::string_view NextPiece(std::string_view text, std::size_t& position) {
    const std::string_view rest = text.substr(position);
    std::size_t length = 0;
    if (rest.front() == '<') {
        const std::size_t end = rest.starts_with("<!--") ? rest.find("-->") : rest.find('>');
        if (end != std::string_view::npos) length = end + (rest.starts_with("<!--") ? 3 : 1);
    } else {
        length = std::min(rest.find('<'), rest.size());
    }
    position += length;
    return rest.substr(0, length);
}

bool IsEndTagOf(std::string_view piece, const TXMLTag& tag, std::int32_t tagNameCase) {
    return piece.size() == tag.Text.size() + 3 && piece.starts_with("</") &&
           Converted(piece.substr(2, tag.Text.size()), tagNameCase) == tag.Text && piece.back() == '>';
}

void ParseAttribute(TXMLAttribute& attribute, std::string_view chunk, const TXMLOptions& options) {
    const std::size_t equals = chunk.find('=');
    if (equals == std::string_view::npos) {
        attribute.Value = Converted(chunk, options.AttributeValueCase);
    } else {
        attribute.Name = Converted(chunk.substr(0, equals), options.AttributeNameCase);
        attribute.Value = Converted(chunk.substr(equals + 1), options.AttributeValueCase);
    }
    std::string& value = attribute.Value;
    const bool quoted =
        !value.empty() && ((value.front() == '"' && value.back() == '"') || (value.front() == '\'' && value.back() == '\''));
    if (quoted) value = value.size() >= 2 ? value.substr(1, value.size() - 2) : std::string();
}

// Fills a tag from its piece, which begins with '<' and ends with '>'.
void ParseTagText(TXMLTag& tag, std::string_view piece, const TXMLOptions& options) {
    std::string_view inner = piece.substr(1, piece.size() - 2);
    if (inner.empty()) {
        // "<>": a nameless empty tag, so that it cannot swallow what follows.
        tag.Kind = TXMLTag::kEmpty;
        return;
    }
    if (inner.size() > 1 && inner.front() == '?' && inner.back() == '?') {
        tag.Kind = TXMLTag::kProcessingInstruction;
        inner = inner.substr(1, inner.size() - 2);
    } else if (inner.back() == '/') {
        tag.Kind = TXMLTag::kEmpty;
        inner.remove_suffix(1);
    } else {
        tag.Kind = TXMLTag::kOpen;
    }
    const auto blank = std::find_if(inner.begin(), inner.end(), IsBlankOrControl);
    const auto nameLength = static_cast<std::size_t>(blank - inner.begin());
    tag.Text = Converted(inner.substr(0, nameLength), options.TagNameCase);
    std::string_view rest = blank == inner.end() ? std::string_view() : inner.substr(nameLength + 1);
    // Attributes are cut at double quotes only: each chunk runs through the
    // second quote from its start, or through a lone last quote.
    while (!rest.empty()) {
        const std::size_t opening = rest.find('"');
        if (opening == std::string_view::npos) break;
        const std::size_t closing = rest.find('"', opening + 1);
        const std::size_t end = (closing == std::string_view::npos ? opening : closing) + 1;
        ParseAttribute(tag.AddAttribute(), Trimmed(rest.substr(0, end)), options);
        rest.remove_prefix(end);
    }
}

void AddText(TXMLDocument& container, std::string_view piece, const TXMLOptions& options) {
    std::string text;
    if (options.CompactWhitespace) {
        text.reserve(piece.size());
        for (char c : piece) {
            if (c == '\r' || c == '\n' || c == '\t') c = ' ';
            if (c != ' ' || text.empty() || text.back() != ' ') text += c;
        }
    } else {
        text = piece;
    }
    if (options.TrimText) text = Trimmed(text);
    if (!text.empty()) container.AddString().Text = Converted(text, options.TextCase);
}

}  // namespace

void Parse(TXMLDocument& document, std::string_view text, const TXMLOptions& options) {
    // The containers from the document down to the innermost open tag; a
    // matching end tag closes the innermost one.
    std::vector<TXMLDocument*> open{&document};
    std::size_t position = 0;
    while (position < text.size()) {
        const std::string_view piece = NextPiece(text, position);
        if (piece.empty()) return;
        TXMLDocument& container = *open.back();
        if (piece.starts_with("<!--")) {
            if (!options.SkipComments)
                container.AddComment().Text = piece.size() >= 7 ? piece.substr(4, piece.size() - 7) : std::string_view();
        } else if (piece.front() == '<') {
            const auto* owner = dynamic_cast<const TXMLTag*>(&container);
            if (owner && IsEndTagOf(piece, *owner, options.TagNameCase)) {
                open.pop_back();
                if (open.empty()) return;
                continue;
            }
            TXMLTag& tag = container.AddTag();
            ParseTagText(tag, piece, options);
            if (tag.Kind == TXMLTag::kOpen) open.push_back(&tag);
        } else {
            AddText(container, piece, options);
        }
    }
}

}  // namespace gb
