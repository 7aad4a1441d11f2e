#include "JsonReference.h"

namespace quorvel::reference {

namespace {

enum State { InObject = 1, InArray, InKey, AfterKey, AwaitValue, InString, InLiteral };

bool blank(char ch) {
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n';
}

int literalType(const Text& s) {
    if (toText(toNumber(s)) == s) return Number;
    if (upper(s) == "FALSE" || upper(s) == "TRUE") return Boolean;
    if (s.empty() || upper(s) == "NULL") return Null;
    return Other;
}

} // namespace

void Model::feed(const Text& bytes) {
    for (char ch : bytes)
        onByte(ch);
}

void Model::onByte(char ch) {
    if (stateStack_.empty()) {
        if (ch != '{' && ch != '[') return;
        nodes_.assign(1, JsonNode{});
        nodeIndexStack_ = {1};
        depth_ = 1;
        nodes_[0].name = "JSON";
        depth_ += 1;
        stateStack_.push_back(ch == '{' ? InObject : InArray);
        nodeIndexStack_.push_back(1);
        nodes_[0].value = ch == '{' ? "{ 0 }" : "[ 0 ]";
        return;
    }
    switch (stateStack_.back()) {
    case InObject:
        return onObjectChar(ch);
    case InArray:
        return onArrayChar(ch);
    case InKey:
        return onKeyChar(ch);
    case AfterKey:
        return onColonChar(ch);
    case AwaitValue:
        return onValueChar(ch);
    case InString:
        return onStringChar(ch);
    default:
        return onLiteralChar(ch);
    }
}

void Model::onObjectChar(char ch) {
    if (ch == '"') addNode(InKey);
    if (ch == '}') close(true);
}

void Model::onKeyChar(char ch) {
    if (ch == '"') {
        nodes_.back().name = builder_;
        stateStack_.back() = AfterKey;
    } else if (ch != '\r' && ch != '\n') {
        append(ch);
    }
}

void Model::onColonChar(char ch) {
    if (ch == ':') stateStack_.back() = AwaitValue;
}

void Model::onValueChar(char ch) {
    if (ch == '{' || ch == '[') {
        builder_.clear();
        stateStack_.back() = ch == '{' ? InObject : InArray;
        depth_ += 1;
    } else if (ch == ',' || ch == '}' || ch == ']') {
        nodes_.back().type = Null;
        nodes_.back().value.clear();
        pop();
        if (ch == '}') onObjectChar(ch);
    } else if (blank(ch)) {
    } else if (ch == '"') {
        builder_.clear();
        stateStack_.back() = InString;
    } else {
        builder_.clear();
        append(ch);
        stateStack_.back() = InLiteral;
    }
}

void Model::onStringChar(char ch) {
    if (ch == '"' && escapePending_ == 0) {
        nodes_.back().type = String;
        nodes_.back().value = builder_;
        pop();
    } else if (ch != '\r' && ch != '\n') {
        append(ch);
        escapePending_ = ch == '\\' ? 1 - escapePending_ : 0;
    }
}

void Model::onLiteralChar(char ch) {
    if (ch == ',' || ch == '}' || ch == ']') {
        const Text s = builder_;
        nodes_.back().type = literalType(s);
        nodes_.back().value = s;
        pop();
        if (ch == '}')
            onObjectChar(ch);
        else if (stateStack_.back() == InArray)
            onArrayChar(ch);
    } else if (!blank(ch)) {
        append(ch);
    }
}

void Model::onArrayChar(char ch) {
    const int n = static_cast<int>(nodes_.size());
    if (ch == '{') {
        addNode(InObject);
    } else if (ch == ']') {
        if (n == lastCommaNodeCount_) {
            addNode(AwaitValue);
            onValueChar(',');
        }
        close(false);
    } else if (ch == ',') {
        if (n == lastCommaNodeCount_) {
            addNode(AwaitValue);
            onValueChar(',');
            lastCommaNodeCount_ = n + 1;
        } else {
            lastCommaNodeCount_ = n;
        }
    } else if (!blank(ch)) {
        addNode(AwaitValue);
        onValueChar(ch);
    }
}

std::int32_t& Model::counter(std::vector<std::int32_t>& counters, int entry) {
    if (static_cast<int>(counters.size()) < entry) counters.resize(entry, 0);
    return counters[entry - 1];
}

void Model::addNode(int state) {
    const int prev = stateStack_.back();
    JsonNode node;
    stateStack_.push_back(state);
    if (state == AwaitValue && prev == InArray) {
        const int n = ++counter(arrayCounters_, depth_ + 1);
        node.name = "[" + toText(n - 1) + "]";
    } else if (state == InObject) {
        node.type = Object;
        depth_ += 1;
        node.value = "{ 0 }";
        if (prev == InArray) {
            const int n = ++counter(arrayCounters_, depth_);
            node.name = "[" + toText(n - 1) + "]";
        }
    } else if (state == InKey && prev == InObject) {
        ++counter(objectCounters_, depth_);
    }
    node.depth = depth_;
    builder_.clear();
    nodes_.push_back(node);
    nodeIndexStack_.push_back(static_cast<int>(nodes_.size()));
}

void Model::close(bool object) {
    JsonNode& node = nodes_[nodeIndexStack_.back() - 1];
    if (object) {
        if (static_cast<int>(objectCounters_.size()) < depth_) {
            node.value = "{ 0 }";
        } else {
            node.value = "{ " + toText(objectCounters_[depth_ - 1]) + " }";
            objectCounters_[depth_ - 1] = 0;
        }
    } else if (static_cast<int>(arrayCounters_.size()) >= depth_ + 1) {
        node.value = "[ " + toText(arrayCounters_[depth_]) + " ]";
        arrayCounters_[depth_] = 0;
    } else {
        node.value = "[ 0 ]";
    }
    depth_ -= 1;
    node.type = object ? Object : Array;
    node.depth = depth_;
    pop();
}

void Model::pop() {
    stateStack_.pop_back();
    nodeIndexStack_.pop_back();
}

void Model::append(char ch) {
    if (ch != '\0') builder_ += ch;
}

int Model::walk(const Text& path) const {
    if (path.empty()) return nodes_.empty() ? 0 : 1;
    std::vector<Text> parts = split(replace(path, "[", ".["), ".");
    if (!parts.empty() && parts.front().empty()) parts.erase(parts.begin());
    for (std::size_t i = 0; i + 1 < parts.size(); ++i)
        if (parts[i].empty() && parts[i + 1].starts_with('[')) parts.erase(parts.begin() + i);
    const int k = static_cast<int>(parts.size());
    if (k == 0) return 0;
    int i = 1;
    for (int j = 2; j <= static_cast<int>(nodes_.size()); ++j) {
        const int level = nodes_[j - 1].depth - 1;
        if (level < 1 || i < level) continue;
        if (i > level) i = level;
        if (nodes_[j - 1].name != parts[i - 1]) continue;
        if (i < k)
            ++i;
        else
            return j;
    }
    return 0;
}

} // namespace quorvel::reference
