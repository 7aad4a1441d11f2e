#include "json/JsonDocument.h"

#include <array>
#include <charconv>
#include <initializer_list>

#include "app/toolkit/Toolkit.h"
#include "text/GbkLiteral.h"
#include "json/JsonLiteral.h"
#include "json/JsonPathIndex.h"

// The byte loop. Every byte goes to the handler of the top parse state; the scan functions only
// take runs of bytes that their state treats alike (ignores, or appends to the builder) in one
// step, so the table is exactly what the byte-by-byte handlers give.

namespace quorvel {

namespace {

using ByteSet = std::array<bool, 256>;

constexpr ByteSet byteSet(std::initializer_list<char> members) {
    ByteSet set{};
    for (char c : members)
        set[static_cast<unsigned char>(c)] = true;
    return set;
}

// Bytes that end a run in each state; every other byte is ignored or appended alike.
constexpr ByteSet objectStops = byteSet({'"', '}'});
constexpr ByteSet keyStops = byteSet({'"', '\r', '\n', '\0'});
constexpr ByteSet stringStops = byteSet({'"', '\\', '\r', '\n', '\0'});
constexpr ByteSet literalStops = byteSet({',', '}', ']', ' ', '\t', '\r', '\n', '\0'});

const char* findStop(const char* p, const char* end, const ByteSet& stops) {
    while (p < end && !stops[static_cast<unsigned char>(*p)])
        ++p;
    return p;
}

bool isBlank(char ch) {
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n';
}

// "[" + n + "]"
Text elementName(std::int32_t n) {
    char buffer[16] = "[";
    char* end = std::to_chars(buffer + 1, buffer + sizeof buffer - 1, n).ptr;
    *end++ = ']';
    return Text(buffer, end);
}

// "{ n }" or "[ n ]"
Text containerValue(bool object, std::int32_t n) {
    char buffer[24] = {object ? '{' : '[', ' '};
    char* end = std::to_chars(buffer + 2, buffer + sizeof buffer - 2, n).ptr;
    *end++ = ' ';
    *end++ = object ? '}' : ']';
    return Text(buffer, end);
}

// Entry (1-based) of a counter array, growing it with zeros to at least that many entries.
std::int32_t& counterEntry(std::vector<std::int32_t>& counters, std::int32_t entry) {
    if (counters.size() < static_cast<std::size_t>(entry)) counters.resize(entry, 0);
    return counters[entry - 1];
}

} // namespace

JsonDocument::JsonDocument() = default;
JsonDocument::~JsonDocument() = default;

void JsonDocument::clear() {
    escapePending_ = 0;
    lastCommaNodeCount_ = 0;
    nodes_.clear();
    stateStack_.clear();
    nodeIndexStack_.clear();
    arrayCounters_.clear();
    objectCounters_.clear();
    builder_.clear();
    pathIndex_.reset();
}

bool JsonDocument::parse(const Text& text) {
    clear();
    feedRange(text.data(), text.size());
    return nodes_.size() > 1;
}

bool JsonDocument::parseBytes(const Bytes& data) {
    clear();
    feed(data);
    return nodes_.size() > 1;
}

std::int32_t JsonDocument::feed(const Bytes& data) {
    feedRange(reinterpret_cast<const char*>(data.data()), data.size());
    return static_cast<std::int32_t>(data.size());
}

void JsonDocument::feedText(const Text& text) {
    feedRange(text.data(), text.size());
}

void JsonDocument::feedRange(const char* data, std::size_t size) {
    pathIndex_.reset();
    const char* p = data;
    const char* end = data + size;
    while (p < end) {
        if (stateStack_.empty()) {
            p = skipToRoot(p, end);
            continue;
        }
        switch (stateStack_.back()) {
        case InObject:
            p = scanObject(p, end);
            break;
        case InKey:
            p = scanKey(p, end);
            break;
        case AfterKey:
            p = scanAfterKey(p, end);
            break;
        case InString:
            p = scanString(p, end);
            break;
        case InLiteral:
            p = scanLiteral(p, end);
            break;
        default:
            dispatch(*p++);
        }
    }
}

const char* JsonDocument::skipToRoot(const char* p, const char* end) {
    while (p < end && *p != '{' && *p != '[')
        ++p;
    if (p < end) openRoot(*p++);
    return p;
}

const char* JsonDocument::scanObject(const char* p, const char* end) {
    p = findStop(p, end, objectStops);
    if (p < end) onObjectChar(*p++);
    return p;
}

const char* JsonDocument::scanKey(const char* p, const char* end) {
    const char* stop = findStop(p, end, keyStops);
    builder_.append(p, stop);
    if (stop < end) onKeyChar(*stop++);
    return stop;
}

const char* JsonDocument::scanAfterKey(const char* p, const char* end) {
    while (p < end && *p != ':')
        ++p;
    if (p < end) onColonChar(*p++);
    return p;
}

const char* JsonDocument::scanString(const char* p, const char* end) {
    const char* stop = findStop(p, end, stringStops);
    if (stop > p) {
        builder_.append(p, stop);
        escapePending_ = 0;
    }
    if (stop < end) onStringChar(*stop++);
    return stop;
}

const char* JsonDocument::scanLiteral(const char* p, const char* end) {
    const char* stop = findStop(p, end, literalStops);
    builder_.append(p, stop);
    if (stop < end) onLiteralChar(*stop++);
    return stop;
}

void JsonDocument::dispatch(char ch) {
    switch (stateStack_.back()) {
    case InObject:
        onObjectChar(ch);
        break;
    case InArray:
        onArrayChar(ch);
        break;
    case InKey:
        onKeyChar(ch);
        break;
    case AfterKey:
        onColonChar(ch);
        break;
    case AwaitValue:
        onValueChar(ch);
        break;
    case InString:
        onStringChar(ch);
        break;
    case InLiteral:
        onLiteralChar(ch);
        break;
    }
}

void JsonDocument::openRoot(char ch) {
    const bool object = ch == '{';
    nodes_.assign(1, JsonNode{});
    nodeIndexStack_.assign(1, 1);
    depth_ = 1;
    nodes_[0].name = "JSON";
    depth_ += 1;
    stateStack_.push_back(object ? InObject : InArray);
    nodeIndexStack_.push_back(1);
    nodes_[0].value = containerValue(object, 0);
}

void JsonDocument::onObjectChar(char ch) {
    if (ch == '"')
        addNode(InKey);
    else if (ch == '}')
        closeContainer(true);
}

void JsonDocument::onKeyChar(char ch) {
    if (ch == '"') {
        lastNode().name = builder_;
        stateStack_.back() = AfterKey;
    } else if (ch != '\r' && ch != '\n') {
        appendToBuilder(ch);
    }
}

void JsonDocument::onColonChar(char ch) {
    if (ch == ':') stateStack_.back() = AwaitValue;
}

void JsonDocument::onValueChar(char ch) {
    switch (ch) {
    case '{':
    case '[':
        builder_.clear();
        stateStack_.back() = ch == '{' ? InObject : InArray;
        depth_ += 1;
        break;
    case ',':
    case '}':
    case ']':
        lastNode().type = Null;
        lastNode().value.clear();
        pop();
        if (ch == '}') onObjectChar(ch);
        break;
    case ' ':
    case '\t':
    case '\r':
    case '\n':
        break;
    case '"':
        builder_.clear();
        stateStack_.back() = InString;
        break;
    default:
        builder_.clear();
        appendToBuilder(ch);
        stateStack_.back() = InLiteral;
    }
}

void JsonDocument::onStringChar(char ch) {
    if (ch == '"' && escapePending_ == 0) {
        lastNode().type = String;
        lastNode().value = builder_;
        pop();
    } else if (ch != '\r' && ch != '\n') {
        appendToBuilder(ch);
        escapePending_ = ch == '\\' ? 1 - escapePending_ : 0;
    }
}

void JsonDocument::onLiteralChar(char ch) {
    if (ch == ',' || ch == '}' || ch == ']') {
        lastNode().type = literalType(builder_);
        lastNode().value = builder_;
        pop();
        const bool inArray = !stateStack_.empty() && stateStack_.back() == InArray;
        if (ch == '}')
            onObjectChar(ch);
        else if (inArray)
            onArrayChar(ch);
    } else if (!isBlank(ch)) {
        appendToBuilder(ch);
    }
}

void JsonDocument::onArrayChar(char ch) {
    const auto count = static_cast<std::int32_t>(nodes_.size());
    switch (ch) {
    case '{':
        addNode(InObject);
        break;
    case ']':
        if (count == lastCommaNodeCount_) {
            addNode(AwaitValue);
            onValueChar(',');
        }
        closeContainer(false);
        break;
    case ',':
        if (count == lastCommaNodeCount_) {
            addNode(AwaitValue);
            onValueChar(',');
            lastCommaNodeCount_ = count + 1;
        } else {
            lastCommaNodeCount_ = count;
        }
        break;
    case ' ':
    case '\t':
    case '\r':
    case '\n':
        break;
    default:
        addNode(AwaitValue);
        onValueChar(ch);
    }
}

std::int32_t JsonDocument::取当前节点索引() {
    if (nodeIndexStack_.empty()) {
        toolkit().messageBox("取当前节点索引() 节点索引记录数量为空，程序即将崩溃！"_gbk,
                             buttonsOkError);
        return 0;
    }
    const std::int32_t number = nodeIndexStack_.back();
    if (number > static_cast<std::int32_t>(nodes_.size()))
        toolkit().messageBox("取当前节点索引() 节点索引记录超出，程序即将崩溃！"_gbk, buttonsOk);
    return number;
}

void JsonDocument::addNode(std::uint8_t state) {
    const std::uint8_t prev = stateStack_.empty() ? 0 : stateStack_.back();
    JsonNode node;
    stateStack_.push_back(state);
    if (state == AwaitValue && prev == InArray) {
        std::int32_t& elements = counterEntry(arrayCounters_, depth_ + 1);
        elements += 1;
        node.name = elementName(elements - 1);
    } else if (state == InObject) {
        node.type = Object;
        depth_ += 1;
        node.value = containerValue(true, 0);
        if (prev == InArray) {
            std::int32_t& elements = counterEntry(arrayCounters_, depth_);
            elements += 1;
            node.name = elementName(elements - 1);
        }
    } else if (state == InKey && prev == InObject) {
        counterEntry(objectCounters_, depth_) += 1;
    }
    node.depth = depth_;
    builder_.clear();
    nodes_.push_back(std::move(node));
    nodeIndexStack_.push_back(static_cast<std::int32_t>(nodes_.size()));
}

// Closes the innermost open container, whatever its kind, as an object or as an array.
void JsonDocument::closeContainer(bool asObject) {
    const std::int32_t number = 取当前节点索引();
    const bool known = number >= 1 && number <= static_cast<std::int32_t>(nodes_.size());
    Text value;
    if (asObject) {
        const bool counted =
            depth_ >= 1 && objectCounters_.size() >= static_cast<std::size_t>(depth_);
        value = containerValue(true, counted ? objectCounters_[depth_ - 1] : 0);
        if (counted) objectCounters_[depth_ - 1] = 0;
    } else {
        const bool counted =
            depth_ >= 0 && arrayCounters_.size() >= static_cast<std::size_t>(depth_) + 1;
        value = containerValue(false, counted ? arrayCounters_[depth_] : 0);
        if (counted) arrayCounters_[depth_] = 0;
    }
    depth_ -= 1;
    if (known) {
        JsonNode& node = nodes_[number - 1];
        node.value = std::move(value);
        node.type = asObject ? Object : Array;
        node.depth = depth_;
    }
    pop();
}

void JsonDocument::pop() {
    if (stateStack_.empty()) return;
    stateStack_.pop_back();
    nodeIndexStack_.pop_back();
}

void JsonDocument::appendToBuilder(char ch) {
    if (ch != '\0') builder_.push_back(ch);
}

const JsonPathIndex& JsonDocument::pathIndex() const {
    if (!pathIndex_) pathIndex_ = std::make_unique<JsonPathIndex>(nodes_);
    return *pathIndex_;
}

} // namespace quorvel
