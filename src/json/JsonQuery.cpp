// Path queries over the node table, and the decoding of string values.
#include <algorithm>
#include <string_view>

#include "text/CodePage.h"
#include "json/JsonDocument.h"
#include "json/JsonNodeTable.h"
#include "json/JsonPathIndex.h"

namespace quorvel {

namespace {

// Every "[" gets a "." before it and the path is split at "." (an empty last part dropped).
// Double-byte characters count as one, as the text primitives see them, so a path holding any
// takes the primitives' way; an ASCII path is cut up in place.
void splitPath(const Text& path, std::vector<Text>& storage, std::vector<std::string_view>& parts) {
    parts.clear();
    const std::string_view whole(path);
    std::size_t start = 0;
    for (std::size_t i = 0; i < whole.size(); ++i) {
        if (static_cast<unsigned char>(whole[i]) >= 0x80) {
            storage = split(replace(path, "[", ".["), ".");
            parts.assign(storage.begin(), storage.end());
            return;
        }
        if (whole[i] != '.' && whole[i] != '[') continue;
        parts.push_back(whole.substr(start, i - start));
        start = whole[i] == '.' ? i + 1 : i;
    }
    if (start < whole.size()) parts.push_back(whole.substr(start));
}

// The parts a path is matched with: a leading empty part is removed, and so is an empty part
// right before an index part, so that "a.[0]" means "a[0]".
// Non-ASCII paths keep their parts in storage.
void pathParts(const Text& path, std::vector<Text>& storage, std::vector<std::string_view>& parts) {
    splitPath(path, storage, parts);
    if (!parts.empty() && parts.front().empty()) parts.erase(parts.begin());
    std::size_t kept = 0;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const bool beforeIndex = i + 1 < parts.size() && parts[i + 1].starts_with('[');
        if (!(parts[i].empty() && beforeIndex)) parts[kept++] = parts[i];
    }
    parts.resize(kept);
}

// The count between the brackets of "{ n }" or "[ n ]".
Text containerCount(const Text& value) {
    return mid(value, 3, length(value) - 4);
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// One UTF-16 code unit as code page 936 text (nothing for a unit that gives a NUL).
Text codeUnitText(int unit) {
    const Bytes unitBytes{static_cast<std::uint8_t>(unit & 0xFF),
                          static_cast<std::uint8_t>(unit >> 8)};
    Text converted = utf16ToGbk(unitBytes);
    return converted.substr(0, converted.find('\0'));
}

} // namespace

std::int32_t JsonDocument::nodeCount() const {
    return static_cast<std::int32_t>(nodes_->size());
}

JsonNode JsonDocument::getNode(std::int32_t number) const {
    if (number < 1 || number > nodeCount()) return {};
    return nodes_->node(number - 1);
}

std::int32_t JsonDocument::copyNodes(std::vector<JsonNode>& out) const {
    out.clear();
    out.reserve(nodes_->size());
    for (std::size_t i = 0; i < nodes_->size(); ++i)
        out.push_back(nodes_->node(i));
    return nodeCount();
}

Text JsonDocument::getValue(const Text& path, std::int32_t* type, std::int32_t* position,
                            bool decode) const {
    std::int32_t ignoredType = 0, ignoredPosition = 0;
    std::int32_t& foundType = type ? *type : ignoredType;
    std::int32_t& foundPosition = position ? *position : ignoredPosition;
    foundType = 0;
    foundPosition = 0;
    if (path.empty()) {
        if (nodes_->empty()) return {};
        foundType = nodes_->type(0);
        foundPosition = 1;
        const Text value(nodes_->value(0));
        return decode ? containerCount(value) : value;
    }
    std::vector<Text> storage;
    thread_local std::vector<std::string_view> parts; // kept between queries
    pathParts(path, storage, parts);
    const int found = pathIndex().find(parts);
    if (found < 0) return {};
    foundType = nodes_->type(found);
    foundPosition = found + 1;
    const Text value(nodes_->value(found));
    if (!decode) return value;
    switch (foundType) {
    case String:
        return unescapeText(value);
    case Boolean:
        return compare(value, "true", false) == 0 ? "1" : "0";
    case Object:
    case Array:
        return containerCount(value);
    case Null:
        return {};
    default:
        return value;
    }
}

std::int32_t JsonDocument::getCount(const Text& path) const {
    std::int32_t type = 0;
    const Text value = getValue(path, &type);
    return type == Object || type == Array ? toInt(containerCount(value)) : 0;
}

Text JsonDocument::unescapeText(const Text& text) const {
    Text out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t backslash = std::min(text.find('\\', i), text.size());
        out.append(text, i, backslash - i);
        i = backslash + 1;
        if (i >= text.size()) break;
        const char kind = text[i++];
        switch (kind) {
        case 'r':
            out += '\r';
            break;
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case 'b':
            out += '\b';
            break;
        case 'f':
            out += '\f';
            break;
        case 'u': {
            const std::size_t digitsStart = i;
            int unit = 0;
            while (i < text.size() && i - digitsStart < 4 && hexDigit(text[i]) >= 0)
                unit = unit * 16 + hexDigit(text[i++]);
            if (i - digitsStart == 4) {
                out += codeUnitText(unit);
            } else if (i < text.size()) {
                // Not a hex digit: "\u" is kept and the bytes after it are read again.
                out += "\\u";
                i = digitsStart;
            }
            break;
        }
        default:
            out += kind;
        }
    }
    return out;
}

} // namespace quorvel
