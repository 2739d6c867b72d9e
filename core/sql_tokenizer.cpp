#include "core/sql_tokenizer.h"

namespace pw {
namespace {

bool IsSpace(char c) { return c == ' ' || (c >= 8 && c <= 13); }
bool IsWordChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '$' || static_cast<unsigned char>(c) >= 0x80;
}
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// End of a quoted run that starts at text[i] (the opening quote), doubled closers
// standing for themselves.
size_t QuotedEnd(std::string_view text, size_t i, char close) {
    size_t j = i + 1;
    while (j < text.size()) {
        if (text[j] == close) {
            if (close != ']' && j + 1 < text.size() && text[j + 1] == close) {
                j += 2;
                continue;
            }
            return j + 1;
        }
        ++j;
    }
    return text.size();
}

}  // namespace

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
        if (x != y) return false;
    }
    return true;
}

bool Token::IsWord(std::string_view keyword) const {
    return type == TokenType::Word && EqualsIgnoringCase(text, keyword);
}

std::string Token::Name() const {
    if (type != TokenType::QuotedName && type != TokenType::String) return std::string(text);
    if (text.empty()) return {};
    char open = text.front();
    char close = open == '[' ? ']' : open;
    std::string_view inner = text.substr(1);
    if (!inner.empty() && inner.back() == close) inner.remove_suffix(1);
    std::string name;
    for (size_t i = 0; i < inner.size(); ++i) {
        name.push_back(inner[i]);
        if (close != ']' && inner[i] == close && i + 1 < inner.size() && inner[i + 1] == close) ++i;
    }
    return name;
}

std::vector<Token> TokenizeSql(std::string_view text) {
    std::vector<Token> tokens;
    size_t i = 0;
    const size_t n = text.size();
    auto push = [&](TokenType type, size_t begin, size_t end) {
        tokens.push_back({type, begin, end, text.substr(begin, end - begin)});
        i = end;
    };
    while (i < n) {
        char c = text[i];
        if (IsSpace(c)) {
            ++i;
        } else if (c == '-' && i + 1 < n && text[i + 1] == '-') {
            while (i < n && text[i] != '\n') ++i;
        } else if (c == '/' && i + 1 < n && text[i + 1] == '*') {
            size_t close = text.find("*/", i + 2);
            i = close == std::string_view::npos ? n : close + 2;
        } else if (c == '"' || c == '`') {
            push(TokenType::QuotedName, i, QuotedEnd(text, i, c));
        } else if (c == '[') {
            push(TokenType::QuotedName, i, QuotedEnd(text, i, ']'));
        } else if (c == '\'') {
            push(TokenType::String, i, QuotedEnd(text, i, '\''));
        } else if ((c == 'x' || c == 'X') && i + 1 < n && text[i + 1] == '\'') {
            push(TokenType::Blob, i, QuotedEnd(text, i + 1, '\''));
        } else if (IsDigit(c) || (c == '.' && i + 1 < n && IsDigit(text[i + 1]))) {
            size_t j = i;
            if (c == '0' && j + 1 < n && (text[j + 1] == 'x' || text[j + 1] == 'X')) {
                j += 2;
                while (j < n && IsWordChar(text[j])) ++j;
            } else {
                while (j < n && (IsDigit(text[j]) || text[j] == '.')) ++j;
                if (j < n && (text[j] == 'e' || text[j] == 'E')) {
                    size_t k = j + 1;
                    if (k < n && (text[k] == '+' || text[k] == '-')) ++k;
                    if (k < n && IsDigit(text[k])) {
                        j = k;
                        while (j < n && IsDigit(text[j])) ++j;
                    }
                }
            }
            push(TokenType::Number, i, j);
        } else if (IsWordChar(c)) {
            size_t j = i;
            while (j < n && IsWordChar(text[j])) ++j;
            push(TokenType::Word, i, j);
        } else {
            push(TokenType::Punct, i, i + 1);
        }
    }
    return tokens;
}

}  // namespace pw
