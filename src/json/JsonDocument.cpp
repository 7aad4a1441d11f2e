#include "json/JsonDocument.h"

#include <array>
#include <charconv>
#include <string_view>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "app/toolkit/Toolkit.h"
#include "text/GbkLiteral.h"
#include "json/JsonNodeTable.h"
#include "json/JsonPathIndex.h"

// The byte loop. Every byte goes to the handler of the top parse state; the scan functions only
// take runs of bytes that their state treats alike (ignores, or appends to the builder) in one
// step, so the table is exactly what the byte-by-byte handlers give.

namespace quorvel {

namespace {

using ByteSet = std::array<bool, 256>;

template <char... members> constexpr ByteSet byteSet() {
    ByteSet set{};
    ((set[static_cast<unsigned char>(members)] = true), ...);
    return set;
}

// The first of the stop bytes at or after p, or end; 16 bytes at a time where SSE2 is there.
template <char... stops> const char* findStop(const char* p, const char* end) {
#if defined(__SSE2__)
    while (end - p >= 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        __m128i hits = _mm_setzero_si128();
        ((hits = _mm_or_si128(hits, _mm_cmpeq_epi8(block, _mm_set1_epi8(stops)))), ...);
        if (const int mask = _mm_movemask_epi8(hits)) return p + __builtin_ctz(mask);
        p += 16;
    }
#endif
    static constexpr ByteSet stopSet = byteSet<stops...>();
    while (p < end && !stopSet[static_cast<unsigned char>(*p)])
        ++p;
    return p;
}

// Bytes that end a run in each state; every other byte is ignored or appended alike.
const char* findObjectStop(const char* p, const char* end) {
    return findStop<'"', '}'>(p, end);
}
const char* findKeyStop(const char* p, const char* end) {
    return findStop<'"', '\r', '\n', '\0'>(p, end);
}
const char* findStringStop(const char* p, const char* end) {
    return findStop<'"', '\\', '\r', '\n', '\0'>(p, end);
}
const char* findLiteralStop(const char* p, const char* end) {
    return findStop<',', '}', ']', ' ', '\t', '\r', '\n', '\0'>(p, end);
}

bool isBlank(char ch) {
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n';
}

bool endsLiteral(char ch) {
    return ch == ',' || ch == '}' || ch == ']';
}

// Short texts such as "{ 3 }", made without allocating.
struct ShortText {
    char bytes[24];
    std::size_t length = 0;
    operator std::string_view() const { return {bytes, length}; }
};

// "{ n }" or "[ n ]"
ShortText containerValue(bool object, std::int32_t n) {
    ShortText t{{object ? '{' : '[', ' '}};
    char* end = std::to_chars(t.bytes + 2, t.bytes + sizeof t.bytes - 2, n).ptr;
    *end++ = ' ';
    *end++ = object ? '}' : ']';
    t.length = end - t.bytes;
    return t;
}

// Entry (1-based) of a counter array, growing it with zeros to at least that many entries.
std::int32_t& counterEntry(std::vector<std::int32_t>& counters, std::int32_t entry) {
    if (counters.size() < static_cast<std::size_t>(entry)) counters.resize(entry, 0);
    return counters[entry - 1];
}

} // namespace

JsonDocument::JsonDocument() : nodes_(std::make_unique<JsonNodeTable>()) {}
JsonDocument::~JsonDocument() = default;

void JsonDocument::clear() {
    escapePending_ = 0;
    lastCommaNodeCount_ = 0;
    nodes_->clear();
    stateStack_.clear();
    nodeIndexStack_.clear();
    arrayCounters_.clear();
    objectCounters_.clear();
    pathIndex_.reset();
}

bool JsonDocument::parse(const Text& text) {
    clear();
    feedRange(text.data(), text.size());
    return nodes_->size() > 1;
}

bool JsonDocument::parseBytes(const Bytes& data) {
    clear();
    feed(data);
    return nodes_->size() > 1;
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
            p = scanValueStart(p, end);
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
    p = findObjectStop(p, end);
    if (p < end) onObjectChar(*p++);
    return p;
}

const char* JsonDocument::scanKey(const char* p, const char* end) {
    const char* stop = findKeyStop(p, end);
    appendToBuilder(p, stop);
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
    const char* stop = findStringStop(p, end);
    if (stop > p) {
        appendToBuilder(p, stop);
        escapePending_ = 0;
    }
    if (stop < end) onStringChar(*stop++);
    return stop;
}

const char* JsonDocument::scanLiteral(const char* p, const char* end) {
    const char* stop = findLiteralStop(p, end);
    appendToBuilder(p, stop);
    if (stop < end) onLiteralChar(*stop++);
    return stop;
}

// One byte in InArray or AwaitValue; a blank run is skipped at once.
const char* JsonDocument::scanValueStart(const char* p, const char* end) {
    while (p < end && isBlank(*p))
        ++p;
    if (p < end) dispatch(*p++);
    return p;
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
    nodes_->clear();
    nodes_->addRow();
    nodeIndexStack_.assign(1, 1);
    depth_ = 1;
    nodes_->setName(0, "JSON");
    depth_ += 1;
    stateStack_.push_back(object ? InObject : InArray);
    nodeIndexStack_.push_back(1);
    nodes_->setValue(0, containerValue(object, 0));
}

void JsonDocument::onObjectChar(char ch) {
    if (ch == '"')
        addNode(InKey);
    else if (ch == '}')
        closeContainer(true);
}

void JsonDocument::onKeyChar(char ch) {
    if (ch == '"') {
        nodes_->takePendingAsName(lastNode());
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
        nodes_->resetPending();
        stateStack_.back() = ch == '{' ? InObject : InArray;
        depth_ += 1;
        break;
    case ',':
    case '}':
    case ']':
        nodes_->back().type = Null;
        nodes_->setValue(lastNode(), {});
        pop();
        if (ch == '}') onObjectChar(ch);
        break;
    case ' ':
    case '\t':
    case '\r':
    case '\n':
        break;
    case '"':
        nodes_->resetPending();
        stateStack_.back() = InString;
        break;
    default:
        nodes_->resetPending();
        appendToBuilder(ch);
        stateStack_.back() = InLiteral;
    }
}

void JsonDocument::onStringChar(char ch) {
    if (ch == '"' && escapePending_ == 0) {
        nodes_->back().type = String;
        nodes_->takePendingAsValue(lastNode());
        pop();
    } else if (ch != '\r' && ch != '\n') {
        appendToBuilder(ch);
        escapePending_ = ch == '\\' ? 1 - escapePending_ : 0;
    }
}

void JsonDocument::onLiteralChar(char ch) {
    if (endsLiteral(ch)) {
        nodes_->back().type = JsonNodeTable::untypedLiteral;
        nodes_->takePendingAsValue(lastNode());
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
    const auto count = static_cast<std::int32_t>(nodes_->size());
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
    if (number > static_cast<std::int32_t>(nodes_->size()))
        toolkit().messageBox("取当前节点索引() 节点索引记录超出，程序即将崩溃！"_gbk, buttonsOk);
    return number;
}

void JsonDocument::addNode(std::uint8_t state) {
    const std::uint8_t prev = stateStack_.empty() ? 0 : stateStack_.back();
    const std::size_t node = nodes_->size();
    nodes_->addRow();
    stateStack_.push_back(state);
    if (state == AwaitValue && prev == InArray) {
        std::int32_t& elements = counterEntry(arrayCounters_, depth_ + 1);
        elements += 1;
        nodes_->setElementName(node, elements - 1);
    } else if (state == InObject) {
        nodes_->row(node).type = Object;
        depth_ += 1;
        nodes_->setValue(node, containerValue(true, 0));
        if (prev == InArray) {
            std::int32_t& elements = counterEntry(arrayCounters_, depth_);
            elements += 1;
            nodes_->setElementName(node, elements - 1);
        }
    } else if (state == InKey && prev == InObject) {
        counterEntry(objectCounters_, depth_) += 1;
    }
    nodes_->row(node).depth = depth_;
    nodes_->resetPending();
    nodeIndexStack_.push_back(static_cast<std::int32_t>(nodes_->size()));
}

// Closes the innermost open container, whatever its kind, as an object or as an array.
void JsonDocument::closeContainer(bool asObject) {
    const std::int32_t number = 取当前节点索引();
    std::int32_t count = 0;
    if (asObject) {
        if (depth_ >= 1 && objectCounters_.size() >= static_cast<std::size_t>(depth_))
            count = std::exchange(objectCounters_[depth_ - 1], 0);
    } else if (depth_ >= 0 && arrayCounters_.size() >= static_cast<std::size_t>(depth_) + 1) {
        count = std::exchange(arrayCounters_[depth_], 0);
    }
    depth_ -= 1;
    if (number >= 1 && number <= static_cast<std::int32_t>(nodes_->size())) {
        nodes_->setValue(number - 1, containerValue(asObject, count));
        nodes_->row(number - 1).type = asObject ? Object : Array;
        nodes_->row(number - 1).depth = depth_;
    }
    pop();
}

void JsonDocument::pop() {
    if (stateStack_.empty()) return;
    stateStack_.pop_back();
    nodeIndexStack_.pop_back();
}

void JsonDocument::appendToBuilder(char ch) {
    if (ch != '\0') nodes_->appendPending(ch);
}

// A run of bytes; only the scans call it, and their runs hold no NUL.
void JsonDocument::appendToBuilder(const char* begin, const char* end) {
    nodes_->appendPending(begin, end);
}

std::size_t JsonDocument::lastNode() const {
    return nodes_->size() - 1;
}

const JsonPathIndex& JsonDocument::pathIndex() const {
    if (!pathIndex_) pathIndex_ = std::make_unique<JsonPathIndex>(*nodes_);
    return *pathIndex_;
}

} // namespace quorvel
