#include "tests/support/json_value.h"

#include <cctype>
#include <cstdlib>

namespace tavimor::test {

namespace {

class Parser {
  public:
    explicit Parser(const std::string& text) : s_(text) {}

    bool value(JsonValue& out) {
        skip();
        if (i_ >= s_.size()) return false;
        const char c = s_[i_];
        if (c == '{') return object(out);
        if (c == '[') return array(out);
        if (c == '"') {
            out.kind = JsonValue::Kind::kString;
            return string(out.text);
        }
        if (s_.compare(i_, 4, "null") == 0) {
            i_ += 4;
            out.kind = JsonValue::Kind::kNull;
            return true;
        }
        for (const bool boolean : {true, false}) {
            const std::string word = boolean ? "true" : "false";
            if (s_.compare(i_, word.size(), word) != 0) continue;
            i_ += word.size();
            out.kind = JsonValue::Kind::kBool;
            out.boolean = boolean;
            return true;
        }
        return number(out);
    }
    bool at_end() {
        skip();
        return i_ == s_.size();
    }

  private:
    void skip() {
        while (i_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[i_]))) ++i_;
    }
    bool expect(char c) {
        skip();
        if (i_ < s_.size() && s_[i_] == c) {
            ++i_;
            return true;
        }
        return false;
    }
    bool string(std::string& out) {
        if (!expect('"')) return false;
        while (i_ < s_.size() && s_[i_] != '"') {
            if (s_[i_] == '\\' && i_ + 1 < s_.size()) ++i_;
            out += s_[i_++];
        }
        return expect('"');
    }
    bool number(JsonValue& out) {
        const char* start = s_.c_str() + i_;
        char* end = nullptr;
        out.number = std::strtod(start, &end);
        if (end == start) return false;
        out.kind = JsonValue::Kind::kNumber;
        out.negative_zero = *start == '-' && out.number == 0;
        i_ += static_cast<size_t>(end - start);
        return true;
    }
    bool array(JsonValue& out) {
        out.kind = JsonValue::Kind::kArray;
        expect('[');
        if (expect(']')) return true;
        do {
            out.items.emplace_back();
            if (!value(out.items.back())) return false;
        } while (expect(','));
        return expect(']');
    }
    bool object(JsonValue& out) {
        out.kind = JsonValue::Kind::kObject;
        expect('{');
        if (expect('}')) return true;
        do {
            std::string key;
            skip();
            if (!string(key) || !expect(':')) return false;
            out.members.emplace_back(key, JsonValue{});
            if (!value(out.members.back().second)) return false;
        } while (expect(','));
        return expect('}');
    }

    const std::string& s_;
    size_t i_ = 0;
};

}  // namespace

const JsonValue* JsonValue::find(const std::string& key) const {
    for (const auto& [name, value] : members)
        if (name == key) return &value;
    return nullptr;
}

std::optional<JsonValue> parse_json(const std::string& text) {
    Parser parser(text);
    JsonValue value;
    if (!parser.value(value) || !parser.at_end()) return std::nullopt;
    return value;
}

}  // namespace tavimor::test
