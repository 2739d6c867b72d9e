#pragma once
// Tokens of a CREATE statement, enough to read names, column definitions and
// constraints: words, quoted names ("x", [x], `x`), string and blob literals, numbers
// and single punctuation characters. Blanks and comments separate tokens and are not
// returned. A quote that never closes runs to the end of the text; the tokenizer
// never fails and never reads past its text.

#include <string>
#include <string_view>
#include <vector>

namespace pw {

enum class TokenType { Word, QuotedName, String, Blob, Number, Punct };

struct Token {
    TokenType type;
    size_t begin;  // byte offsets into the statement
    size_t end;
    std::string_view text;  // the token as written

    bool Is(char c) const { return type == TokenType::Punct && text.size() == 1 && text[0] == c; }
    // A word equal to keyword, ignoring ASCII case.
    bool IsWord(std::string_view keyword) const;
    // The name a word, quoted name or string stands for: quotes removed, doubled quotes undone.
    std::string Name() const;
};

std::vector<Token> TokenizeSql(std::string_view text);

bool EqualsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace pw
