// A small JSON reader for comparing the tools' output with expected files.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tavimor::test {

struct JsonValue {
    enum class Kind { kNull, kBool, kNumber, kString, kArray, kObject } kind = Kind::kNull;
    bool boolean = false;
    double number = 0;
    bool negative_zero = false;
    std::string text;
    std::vector<JsonValue> items;
    std::vector<std::pair<std::string, JsonValue>> members;

    bool is_null() const { return kind == Kind::kNull; }
    const JsonValue* find(const std::string& key) const;
    long long as_int() const { return static_cast<long long>(number); }
};

// Parses one JSON document; nothing when it is malformed.
std::optional<JsonValue> parse_json(const std::string& text);

}  // namespace tavimor::test
