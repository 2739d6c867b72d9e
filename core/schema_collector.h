#pragma once
// From schema texts to the engine's object lists and the object tree, for both file
// formats. Each text is searched for the keyword that creates an object; the statement
// found is read by the DDL parser and stored; at the end the tree shows one item per
// object name under its group.

#include <optional>
#include <string_view>

#include "core/sqlite_base.h"

namespace pw {

// The small differences in how the scans of the two formats and the two text
// encodings name tables and write their log lines.
struct SchemaDialect {
    bool nameKeepsBlanks;              // a table's name carries the blanks before "("
    const char* descriptorNameSuffix;  // appended to the name in the descriptor
    const char* tableLogSuffix;        // "Table " + name + this
    const char* indexLogPrefix;        // this + name + " is found"
    const char* columnSeparator;       // between the columns of a generated statement
    bool markAnyPrimaryKey;            // the key mark also goes to non-INTEGER key columns
    bool alwaysBracketName;            // generated statements bracket even an empty name
};

// Page 1 and its left subtrees of a UTF-8 file.
inline constexpr SchemaDialect kFormat3Utf8 = {true, "", "is found", "INDEX ", ", ", false, false};
// The subtree under page 1's right child of a UTF-8 file.
inline constexpr SchemaDialect kFormat3Utf8RightChild = {false, "",      "is found", "INDEX",
                                                         ", ",  false, false};
inline constexpr SchemaDialect kFormat3Utf16 = {false, " ",   "  is found", "Index ",
                                                " , ", false, false};
inline constexpr SchemaDialect kFormat2 = {false, "", " is found", "Index ", " , ", true, true};

enum class SchemaKeyword { Table, Index, UniqueIndex, VirtualTable, AutoIndex, View, Trigger };

struct KeywordMatch {
    size_t position;
    SchemaKeyword keyword;
};

// The first position at which a CREATE keyword (or "_autoindex", or a view or trigger
// keyword whose first letter was damaged to "%" or "&") stands, ignoring case.
std::optional<KeywordMatch> FindSchemaKeyword(std::string_view text);

class SchemaCollector {
public:
    enum class Outcome {
        Stored,      // an object was added to its list
        Skipped,     // an automatic index or a virtual table: nothing to store
        NoKeyword,   // the text holds no CREATE keyword
        Incomplete,  // a table statement cut off before its closing parenthesis (kept)
    };

    explicit SchemaCollector(sqlite_base& engine) : engine_(engine) {}

    Outcome Add(std::string_view text, uint32_t rootPage, const SchemaDialect& dialect);

private:
    Outcome AddTable(std::string_view statement, uint32_t rootPage, const SchemaDialect& dialect);
    sqlite_base& engine_;
};

// Inserts one tree item per object into the host's groups, from the engine's lists, and
// expands the groups. A UTF-16 file lists tables, views and triggers as it always has:
// every entry, in reverse order.
void BuildObjectTree(sqlite_base& engine, bool utf16Layout);

}  // namespace pw
