#include "tests/support/json_reader.h"

#include <cstdlib>
#include <stdexcept>

#include "platform/text.h"
#include "tests/support/files.h"

namespace pw::test {
namespace {

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    JsonValue Document() {
        JsonValue value = Value();
        SkipBlanks();
        if (at_ != text_.size()) Fail("text after the value");
        return value;
    }

private:
    [[noreturn]] void Fail(const char* what) const {
        throw std::runtime_error("JSON: " + std::string(what) + " at " + std::to_string(at_));
    }
    void SkipBlanks() {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\n' ||
                                      text_[at_] == '\r' || text_[at_] == '\t'))
            ++at_;
    }
    bool Take(char c) {
        SkipBlanks();
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }
    void Expect(char c) {
        if (!Take(c)) Fail("unexpected character");
    }
    bool TakeWord(std::string_view word) {
        if (text_.substr(at_, word.size()) != word) return false;
        at_ += word.size();
        return true;
    }

    JsonValue Value() {
        SkipBlanks();
        if (at_ >= text_.size()) Fail("missing value");
        JsonValue value;
        const char c = text_[at_];
        if (c == '{') {
            value.type = JsonValue::Type::Object;
            ++at_;
            if (Take('}')) return value;
            do {
                SkipBlanks();
                std::string key = String();
                Expect(':');
                value.object.emplace_back(std::move(key), Value());
            } while (Take(','));
            Expect('}');
        } else if (c == '[') {
            value.type = JsonValue::Type::Array;
            ++at_;
            if (Take(']')) return value;
            do value.array.push_back(Value());
            while (Take(','));
            Expect(']');
        } else if (c == '"') {
            value.type = JsonValue::Type::String;
            value.string = String();
        } else if (TakeWord("null")) {
        } else if (TakeWord("true")) {
            value.type = JsonValue::Type::Bool;
            value.boolean = true;
        } else if (TakeWord("false")) {
            value.type = JsonValue::Type::Bool;
        } else {
            value.type = JsonValue::Type::Number;
            std::string digits;
            while (at_ < text_.size() && std::string_view("+-0123456789.eE").find(text_[at_]) !=
                                             std::string_view::npos)
                digits.push_back(text_[at_++]);
            if (digits.empty()) Fail("unexpected character");
            value.number = std::strtod(digits.c_str(), nullptr);
        }
        return value;
    }

    unsigned Hex4() {
        if (at_ + 4 > text_.size()) Fail("short \\u escape");
        unsigned unit = static_cast<unsigned>(std::stoul(std::string(text_.substr(at_, 4)), nullptr, 16));
        at_ += 4;
        return unit;
    }

    std::string String() {
        if (at_ >= text_.size() || text_[at_] != '"') Fail("expected a string");
        ++at_;
        std::string out;
        while (at_ < text_.size() && text_[at_] != '"') {
            char c = text_[at_++];
            if (c != '\\') {
                out.push_back(c);
                continue;
            }
            if (at_ >= text_.size()) break;
            char e = text_[at_++];
            switch (e) {
                case 'n': out.push_back('\n'); break;
                case 't': out.push_back('\t'); break;
                case 'r': out.push_back('\r'); break;
                case 'b': out.push_back('\b'); break;
                case 'f': out.push_back('\f'); break;
                case 'u': {
                    char32_t cp = Hex4();
                    if (cp >= 0xD800 && cp < 0xDC00 && TakeWord("\\u")) {
                        cp = 0x10000 + ((cp - 0xD800) << 10) + (Hex4() - 0xDC00);
                    }
                    AppendUtf8(out, cp);
                    break;
                }
                default: out.push_back(e); break;
            }
        }
        if (at_ >= text_.size()) Fail("unterminated string");
        ++at_;
        return out;
    }

    std::string_view text_;
    size_t at_ = 0;
};

}  // namespace

const JsonValue& JsonValue::operator[](std::string_view key) const {
    for (const auto& member : object)
        if (member.first == key) return member.second;
    throw std::runtime_error("JSON: no member " + std::string(key));
}

JsonValue ParseJson(std::string_view text) { return Parser(text).Document(); }

JsonValue ReadJsonFile(const std::string& path) {
    Bytes bytes = ReadBytes(path);
    return ParseJson({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
}

}  // namespace pw::test
