#pragma once
// A small JSON reader for the expected results that sit beside test fixtures. Objects
// keep their members in file order. Throws std::runtime_error on malformed input.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pw::test {

struct JsonValue {
    enum class Type { Null, Bool, Number, String, Array, Object };
    Type type = Type::Null;
    bool boolean = false;
    double number = 0;
    std::string string;
    std::vector<JsonValue> array;
    std::vector<std::pair<std::string, JsonValue>> object;

    bool IsNull() const { return type == Type::Null; }
    // The member named key; throws when there is none.
    const JsonValue& operator[](std::string_view key) const;
};

JsonValue ParseJson(std::string_view text);
JsonValue ReadJsonFile(const std::string& path);

}  // namespace pw::test
