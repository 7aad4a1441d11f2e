// The stand-alone formatter: re-indents a JSON text by its bytes alone.
#include "json/JsonDocument.h"

namespace quorvel {

Text JsonDocument::indentText(std::int32_t n) {
    Text indent = "\r\n";
    if (n > 0) indent.append(static_cast<std::size_t>(n), '\t');
    return indent;
}

Text JsonDocument::formatText(const Text& text) {
    Text out;
    out.reserve(text.size() * 2);
    bool inString = false, escape = false;
    std::int32_t indent = 0;
    for (char c : text) {
        if (c == '"' && !escape) {
            inString = !inString;
            out += c;
        } else if (inString) {
            escape = c == '\\' ? !escape : false;
            out += c;
        } else {
            switch (c) {
            case '\r':
            case '\n':
            case ' ':
            case '\t':
                break;
            case '{':
            case '[':
                indent += 1;
                out += c;
                out += indentText(indent);
                break;
            case '}':
            case ']':
                indent -= 1;
                out += indentText(indent);
                out += c;
                break;
            case ':':
                out += ":\t";
                break;
            case ',':
                out += ',';
                out += indentText(indent);
                break;
            default:
                out += c;
            }
        }
    }
    return out;
}

} // namespace quorvel
