#include "core/ddl_parser.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "core/affinity.h"
#include "core/sql_tokenizer.h"

namespace pw {
namespace {

using Tokens = std::vector<Token>;

const char* KindKeyword(ObjectKind kind) {
    switch (kind) {
        case ObjectKind::Table: return "TABLE";
        case ObjectKind::Index: return "INDEX";
        case ObjectKind::View: return "VIEW";
        case ObjectKind::Trigger: break;
    }
    return "TRIGGER";
}

size_t FindWord(const Tokens& tokens, std::string_view word, size_t from = 0) {
    for (size_t i = from; i < tokens.size(); ++i)
        if (tokens[i].IsWord(word)) return i;
    return tokens.size();
}

size_t FindPunct(const Tokens& tokens, char c, size_t from) {
    for (size_t i = from; i < tokens.size(); ++i)
        if (tokens[i].Is(c)) return i;
    return tokens.size();
}

bool IsNameToken(const Token& token) {
    return token.type == TokenType::Word || token.type == TokenType::QuotedName ||
           token.type == TokenType::String;
}

// Past IF NOT EXISTS at i, if it stands there.
size_t SkipIfNotExists(const Tokens& tokens, size_t i) {
    if (i + 2 < tokens.size() && tokens[i].IsWord("IF") && tokens[i + 1].IsWord("NOT") &&
        tokens[i + 2].IsWord("EXISTS"))
        return i + 3;
    return i;
}

// The object name after the kind's keyword: [IF NOT EXISTS] [schema .] name. Sets
// nameIndex to the name's token.
std::optional<std::string> NameAfter(const Tokens& tokens, size_t keyword, size_t& nameIndex) {
    size_t i = SkipIfNotExists(tokens, keyword + 1);
    if (i >= tokens.size() || !IsNameToken(tokens[i])) return std::nullopt;
    if (i + 2 < tokens.size() && tokens[i + 1].Is('.') && IsNameToken(tokens[i + 2])) i += 2;
    nameIndex = i;
    return tokens[i].Name();
}

// Index of the parenthesis that closes the one at open, or tokens.size().
size_t MatchingParen(const Tokens& tokens, size_t open) {
    int depth = 0;
    for (size_t i = open; i < tokens.size(); ++i) {
        if (tokens[i].Is('(')) ++depth;
        if (tokens[i].Is(')') && --depth == 0) return i;
    }
    return tokens.size();
}

bool StartsTableConstraint(const Token& token) {
    return token.IsWord("CONSTRAINT") || token.IsWord("PRIMARY") || token.IsWord("UNIQUE") ||
           token.IsWord("CHECK") || token.IsWord("FOREIGN");
}

bool EndsTypeName(const Token& token) {
    static constexpr std::string_view kConstraintWords[] = {
        "CONSTRAINT", "PRIMARY", "NOT",     "NULL",      "UNIQUE", "CHECK",
        "DEFAULT",    "COLLATE", "REFERENCES", "GENERATED", "AS"};
    if (token.type != TokenType::Word && token.type != TokenType::QuotedName) return true;
    for (std::string_view word : kConstraintWords)
        if (token.IsWord(word)) return true;
    return false;
}

// SQLite's type affinity of a declared type.
// A number literal as SQLite reads it: an integer when it has no point or exponent and
// fits in 64 bits (hex literals wrap), a real otherwise.
DefaultValue NumberValue(std::string_view text, bool negative) {
    DefaultValue value;
    bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    if (hex) {
        uint64_t bits = 0;
        std::from_chars(text.data() + 2, text.data() + text.size(), bits, 16);
        value.kind = ValueKind::Integer;
        value.integer = static_cast<int64_t>(negative ? 0 - bits : bits);
        return value;
    }
    if (text.find_first_of(".eE") == std::string_view::npos) {
        std::string digits = negative ? "-" + std::string(text) : std::string(text);
        int64_t integer = 0;
        auto result = std::from_chars(digits.data(), digits.data() + digits.size(), integer);
        if (result.ec == std::errc() && result.ptr == digits.data() + digits.size()) {
            value.kind = ValueKind::Integer;
            value.integer = integer;
            return value;
        }
    }
    value.kind = ValueKind::Real;
    value.real = std::strtod(std::string(text).c_str(), nullptr);
    if (negative) value.real = -value.real;
    return value;
}

// Text that reads wholly as a number, as the numeric affinities convert it.
std::optional<DefaultValue> TextAsNumber(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    Tokens tokens = TokenizeSql(text);
    if (tokens.size() != 1 || tokens[0].type != TokenType::Number || tokens[0].end != text.size())
        return std::nullopt;
    if (text.size() > 1 && (text[1] == 'x' || text[1] == 'X')) return std::nullopt;
    return NumberValue(text, negative);
}

void ApplyAffinity(DefaultValue& value, std::string_view declaredType) {
    Affinity affinity = AffinityOf(declaredType);
    if (affinity == Affinity::Blob) return;
    if (affinity == Affinity::Text) {
        if (value.kind == ValueKind::Integer) {
            value.bytes = std::to_string(value.integer);
            value.kind = ValueKind::Text;
        } else if (value.kind == ValueKind::Real) {
            char buffer[32];
            auto end = std::to_chars(buffer, buffer + sizeof buffer, value.real).ptr;
            value.bytes.assign(buffer, end);
            if (value.bytes.find_first_of(".en") == std::string::npos) value.bytes += ".0";
            value.kind = ValueKind::Text;
        }
        return;
    }
    if (value.kind == ValueKind::Text) {
        if (auto number = TextAsNumber(value.bytes)) value = *number;
    }
    if (affinity == Affinity::Real && value.kind == ValueKind::Integer) {
        value.real = static_cast<double>(value.integer);
        value.kind = ValueKind::Real;
    } else if (affinity != Affinity::Real && value.kind == ValueKind::Real &&
               std::fabs(value.real) < 9.2e18 && value.real == std::floor(value.real)) {
        value.integer = static_cast<int64_t>(value.real);
        value.kind = ValueKind::Integer;
    }
}

// DEFAULT's value at tokens[i]: a literal, a signed number, or one of those in
// parentheses. Expressions and CURRENT_TIME and the like give nothing: a stored row
// always has them, since ALTER TABLE refuses to add a column with such a default.
std::optional<DefaultValue> ParseDefault(const Tokens& tokens, size_t i, size_t end,
                                         bool whole = false) {
    if (i < end && tokens[i].Is('(')) {
        size_t close = MatchingParen(tokens, i);
        if (close > end) return std::nullopt;
        return ParseDefault(tokens, i + 1, close, true);
    }
    if (i >= end) return std::nullopt;
    bool negative = false;
    if (tokens[i].Is('-') || tokens[i].Is('+')) {
        negative = tokens[i].Is('-');
        if (++i >= end || tokens[i].type != TokenType::Number) return std::nullopt;
    }
    const Token& token = tokens[i];
    // Inside parentheses the literal must be all there is: (1+2) is an expression.
    if (whole && i + 1 != end) return std::nullopt;
    DefaultValue value;
    switch (token.type) {
        case TokenType::Number: return NumberValue(token.text, negative);
        case TokenType::String:
            value.kind = ValueKind::Text;
            value.bytes = token.Name();
            return value;
        case TokenType::Blob: {
            std::string_view hex = token.text.substr(2);
            if (!hex.empty() && hex.back() == '\'') hex.remove_suffix(1);
            value.kind = ValueKind::Blob;
            for (size_t k = 0; k + 1 < hex.size(); k += 2) {
                int byte = 0;
                std::from_chars(hex.data() + k, hex.data() + k + 2, byte, 16);
                value.bytes.push_back(static_cast<char>(byte));
            }
            return value;
        }
        case TokenType::Word:
            if (token.IsWord("NULL")) return value;
            if (token.IsWord("TRUE") || token.IsWord("FALSE")) {
                value.kind = ValueKind::Integer;
                value.integer = token.IsWord("TRUE") ? 1 : 0;
                return value;
            }
            if (token.IsWord("CURRENT_TIME") || token.IsWord("CURRENT_DATE") ||
                token.IsWord("CURRENT_TIMESTAMP"))
                return std::nullopt;
            // A bare word in DEFAULT is SQLite's string literal.
            value.kind = ValueKind::Text;
            value.bytes = std::string(token.text);
            return value;
        case TokenType::QuotedName:
            value.kind = ValueKind::Text;
            value.bytes = token.Name();
            return value;
        default: return std::nullopt;
    }
}

struct ColumnDefinition {
    ParsedColumn column;
    bool primaryKeyDescending = false;
};

// One column definition in tokens [begin, end).
ColumnDefinition ParseColumn(std::string_view text, const Tokens& tokens, size_t begin, size_t end) {
    ColumnDefinition definition;
    ColumnInfo& info = definition.column.info;
    info.name = tokens[begin].Name();
    size_t i = begin + 1;
    size_t typeBegin = i;
    while (i < end && !EndsTypeName(tokens[i])) ++i;
    size_t typeWords = i;
    if (i < end && tokens[i].Is('(') && i > typeBegin) i = std::min(MatchingParen(tokens, i), end - 1) + 1;
    if (i > typeBegin) {
        info.declaredType = std::string(text.substr(tokens[typeBegin].begin,
                                                    tokens[i - 1].end - tokens[typeBegin].begin));
        // Generated statements keep the first type word (with a size that follows it
        // at once) and the blanks before it.
        size_t firstEnd = tokens[typeBegin].end;
        if (typeWords == typeBegin + 1 && i > typeWords) firstEnd = tokens[i - 1].end;
        definition.column.typeAsWritten =
            std::string(text.substr(tokens[begin].end, firstEnd - tokens[begin].end));
    }
    for (; i < end; ++i) {
        const Token& token = tokens[i];
        if (token.Is('(')) {
            i = std::min(MatchingParen(tokens, i), end);
        } else if (token.IsWord("PRIMARY") && i + 1 < end && tokens[i + 1].IsWord("KEY")) {
            info.primaryKey = true;
            ++i;
            if (i + 1 < end && tokens[i + 1].IsWord("DESC")) definition.primaryKeyDescending = true;
        } else if (token.IsWord("DEFAULT")) {
            info.defaultValue = ParseDefault(tokens, i + 1, end);
            if (info.defaultValue) ApplyAffinity(*info.defaultValue, info.declaredType);
            if (i + 1 < end && tokens[i + 1].Is('(')) i = std::min(MatchingParen(tokens, i + 1), end);
        } else if (token.IsWord("AS") && i + 1 < end && tokens[i + 1].Is('(')) {
            size_t close = std::min(MatchingParen(tokens, i + 1), end);
            bool stored = close + 1 < end && tokens[close + 1].IsWord("STORED");
            info.hidden = !stored;
            i = close;
        }
    }
    return definition;
}

// Names in a parenthesised column list starting at open: the first name of each item.
std::vector<std::string> ColumnList(const Tokens& tokens, size_t open, size_t close) {
    std::vector<std::string> names;
    bool atItemStart = true;
    int depth = 0;
    for (size_t i = open + 1; i < close; ++i) {
        if (tokens[i].Is('(')) ++depth;
        if (tokens[i].Is(')')) --depth;
        if (depth == 0 && tokens[i].Is(',')) {
            atItemStart = true;
            continue;
        }
        if (atItemStart && depth == 0 && IsNameToken(tokens[i])) names.push_back(tokens[i].Name());
        atItemStart = false;
    }
    return names;
}

int FindColumn(const std::vector<ParsedColumn>& columns, std::string_view name) {
    for (size_t i = 0; i < columns.size(); ++i)
        if (EqualsIgnoringCase(columns[i].info.name, name)) return static_cast<int>(i);
    return -1;
}

bool IsIntegerType(std::string_view type) { return EqualsIgnoringCase(type, "INTEGER"); }

// Options after the column list: WITHOUT ROWID, STRICT, separated by commas.
bool HasWithoutRowid(const Tokens& tokens, size_t close) {
    for (size_t i = close + 1; i + 1 < tokens.size(); ++i)
        if (tokens[i].IsWord("WITHOUT") && tokens[i + 1].IsWord("ROWID")) return true;
    return false;
}

// Blank text of the statement between two token positions.
std::string_view Between(std::string_view text, size_t from, size_t to) {
    return to > from ? text.substr(from, to - from) : std::string_view();
}

}  // namespace

std::optional<ParsedTable> ParseCreateTable(std::string_view statement) {
    Tokens tokens = TokenizeSql(statement);
    size_t keyword = FindWord(tokens, "TABLE");
    size_t nameIndex = 0;
    if (keyword == tokens.size()) return std::nullopt;
    std::optional<std::string> name = NameAfter(tokens, keyword, nameIndex);
    if (!name) return std::nullopt;

    ParsedTable parsed;
    parsed.table.name = *name;
    parsed.table.sql = std::string(statement);
    parsed.nameWithBlanks = *name;
    size_t open = nameIndex + 1;
    if (open >= tokens.size() || !tokens[open].Is('(')) {
        parsed.complete = false;
        return parsed;
    }
    parsed.nameWithBlanks += Between(statement, tokens[nameIndex].end, tokens[open].begin);
    size_t close = MatchingParen(tokens, open);
    parsed.complete = close < tokens.size();

    std::vector<bool> descending;
    std::vector<std::string> tableKey;
    size_t definitionBegin = open + 1;
    bool constraints = false;
    int depth = 0;
    for (size_t i = open + 1; i <= close && i <= tokens.size(); ++i) {
        bool atEnd = i == close || i == tokens.size();
        if (!atEnd && tokens[i].Is('(')) ++depth;
        if (!atEnd && tokens[i].Is(')')) --depth;
        if (!atEnd && !(depth == 0 && tokens[i].Is(','))) continue;
        size_t begin = definitionBegin, end = std::min(i, tokens.size());
        definitionBegin = i + 1;
        if (begin >= end) {
            if (atEnd) break;
            continue;
        }
        constraints = constraints || StartsTableConstraint(tokens[begin]);
        if (constraints) {
            size_t primary = FindWord(tokens, "PRIMARY", begin);
            if (primary + 2 < end && tokens[primary + 1].IsWord("KEY") && tokens[primary + 2].Is('(')) {
                size_t listClose = std::min(MatchingParen(tokens, primary + 2), end);
                tableKey = ColumnList(tokens, primary + 2, listClose);
            }
        } else if (IsNameToken(tokens[begin])) {
            ColumnDefinition definition = ParseColumn(statement, tokens, begin, end);
            descending.push_back(definition.primaryKeyDescending);
            parsed.columns.push_back(std::move(definition.column));
        }
        if (atEnd) break;
    }

    TableInfo& table = parsed.table;
    table.withoutRowid = parsed.complete && HasWithoutRowid(tokens, close);
    for (const std::string& keyName : tableKey) {
        int column = FindColumn(parsed.columns, keyName);
        if (column >= 0) parsed.columns[column].info.primaryKey = true;
    }
    // The rowid alias: a lone INTEGER PRIMARY KEY of a rowid table. SQLite makes an
    // exception for a column-level "PRIMARY KEY DESC", which stays an ordinary column.
    int keyColumns = 0, keyColumn = -1;
    for (size_t i = 0; i < parsed.columns.size(); ++i) {
        if (parsed.columns[i].info.primaryKey) {
            ++keyColumns;
            keyColumn = static_cast<int>(i);
        }
    }
    if (!table.withoutRowid && keyColumns == 1) {
        ColumnInfo& key = parsed.columns[keyColumn].info;
        bool columnLevel = tableKey.empty();
        if (IsIntegerType(key.declaredType) && !(columnLevel && descending[keyColumn]))
            key.rowidAlias = true;
    }
    for (const ParsedColumn& column : parsed.columns) table.columns.push_back(column.info);
    // A WITHOUT ROWID table stores its key columns first, in key order.
    if (table.withoutRowid) {
        std::vector<std::string> keyOrder = tableKey;
        if (keyOrder.empty() && keyColumn >= 0) keyOrder.push_back(table.columns[keyColumn].name);
        for (const std::string& keyName : keyOrder) {
            int column = FindColumn(parsed.columns, keyName);
            if (column >= 0) table.storageOrder.push_back(column);
        }
    }
    for (size_t i = 0; i < table.columns.size(); ++i) {
        bool placed = false;
        for (int k : table.storageOrder) placed = placed || k == static_cast<int>(i);
        if (!placed && !table.columns[i].hidden) table.storageOrder.push_back(static_cast<int>(i));
    }
    return parsed;
}

std::string ObjectName(ObjectKind kind, std::string_view statement) {
    Tokens tokens = TokenizeSql(statement);
    size_t keyword = FindWord(tokens, KindKeyword(kind));
    size_t nameIndex = 0;
    if (keyword == tokens.size()) return {};
    return NameAfter(tokens, keyword, nameIndex).value_or("");
}

std::string ObjectTableName(ObjectKind kind, std::string_view statement) {
    Tokens tokens = TokenizeSql(statement);
    size_t on = FindWord(tokens, "ON", FindWord(tokens, KindKeyword(kind)));
    if (on + 1 >= tokens.size()) return {};
    size_t i = on + 1;
    if (i + 2 < tokens.size() && tokens[i + 1].Is('.') && IsNameToken(tokens[i + 2])) i += 2;
    return IsNameToken(tokens[i]) ? tokens[i].Name() : std::string();
}

std::string ObjectLabel(ObjectKind kind, std::string_view statement) {
    Tokens tokens = TokenizeSql(statement);
    size_t keyword = FindWord(tokens, KindKeyword(kind));
    if (keyword == tokens.size()) return {};
    size_t first = SkipIfNotExists(tokens, keyword + 1);
    if (kind == ObjectKind::Trigger) {
        size_t nameIndex = 0;
        return NameAfter(tokens, keyword, nameIndex).value_or("");
    }
    size_t last;  // the token that ends the label
    if (kind == ObjectKind::View) {
        last = FindWord(tokens, "AS", first);
    } else {
        last = FindPunct(tokens, '(', first);
    }
    // The blanks before the name are those between the keyword and what follows it.
    size_t leadEnd = keyword + 1 < tokens.size() ? tokens[keyword + 1].begin : statement.size();
    std::string label(Between(statement, tokens[keyword].end, leadEnd));
    for (size_t i = first; i < last && i < tokens.size(); ++i) {
        label += tokens[i].type == TokenType::QuotedName ? tokens[i].Name() : std::string(tokens[i].text);
        bool followedByEnd = i + 1 >= last || i + 1 >= tokens.size();
        size_t gapEnd = i + 1 < tokens.size() ? tokens[i + 1].begin : statement.size();
        // A view's label ends before the blanks that precede AS.
        if (!(followedByEnd && kind == ObjectKind::View)) label += Between(statement, tokens[i].end, gapEnd);
    }
    return label;
}

}  // namespace pw
