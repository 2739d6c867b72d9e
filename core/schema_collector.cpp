#include "core/schema_collector.h"

#include "core/column_types.h"
#include "core/ddl_parser.h"
#include "core/sql_tokenizer.h"

namespace pw {
namespace {

struct Keyword {
    std::string_view text;
    SchemaKeyword keyword;
};

// Tried in this order at each position; the first position with any match decides.
constexpr Keyword kKeywords[] = {
    {"CREATE TABLE", SchemaKeyword::Table},
    {"CREATE INDEX", SchemaKeyword::Index},
    {"CREATE UNIQUE INDEX", SchemaKeyword::UniqueIndex},
    {"CREATE VIRTUAL TABLE", SchemaKeyword::VirtualTable},
    {"_autoindex", SchemaKeyword::AutoIndex},
    {"autoindex", SchemaKeyword::AutoIndex},
    {"CREATE VIEW", SchemaKeyword::View},
    {"%REATE VIEW", SchemaKeyword::View},
    {"CREATE TRIGGER", SchemaKeyword::Trigger},
    {"&REATE TRIGGER", SchemaKeyword::Trigger},
};

std::string_view TrimBlanks(std::string_view text) {
    auto blank = [](char c) { return c == ' ' || (c >= 8 && c <= 13); };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

bool IsIntegerKey(const ColumnInfo& column) {
    std::string upper = column.declaredType;
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return column.primaryKey && upper.find("INTEGER") != std::string::npos;
}

}  // namespace

std::optional<KeywordMatch> FindSchemaKeyword(std::string_view text) {
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        for (const Keyword& keyword : kKeywords) {
            if (i + keyword.text.size() <= text.size() &&
                EqualsIgnoringCase(text.substr(i, keyword.text.size()), keyword.text))
                return KeywordMatch{i, keyword.keyword};
        }
    }
    return std::nullopt;
}

SchemaCollector::Outcome SchemaCollector::Add(std::string_view text, uint32_t rootPage,
                                              const SchemaDialect& dialect) {
    engine_.ownedTexts.emplace_back(text);
    std::optional<KeywordMatch> match = FindSchemaKeyword(text);
    if (!match) return Outcome::NoKeyword;
    std::string_view statement = text.substr(match->position);
    switch (match->keyword) {
        case SchemaKeyword::Table: return AddTable(statement, rootPage, dialect);
        case SchemaKeyword::Index:
            engine_.host->AddLogLine(std::string(dialect.indexLogPrefix) +
                                     ObjectName(ObjectKind::Index, statement) + " is found");
            [[fallthrough]];
        case SchemaKeyword::UniqueIndex: engine_.indexSql.emplace_back(statement); break;
        case SchemaKeyword::View: engine_.viewSql.emplace_back(statement); break;
        case SchemaKeyword::Trigger: engine_.triggerSql.emplace_back(statement); break;
        case SchemaKeyword::VirtualTable:
        case SchemaKeyword::AutoIndex: return Outcome::Skipped;
    }
    return Outcome::Stored;
}

SchemaCollector::Outcome SchemaCollector::AddTable(std::string_view statement, uint32_t rootPage,
                                                   const SchemaDialect& dialect) {
    std::optional<ParsedTable> parsed = ParseCreateTable(statement);
    if (!parsed) return Outcome::NoKeyword;
    parsed->table.rootPage = rootPage;

    const std::string name = dialect.nameKeepsBlanks ? parsed->nameWithBlanks : parsed->table.name;
    engine_.host->AddLogLine("Table " + name + dialect.tableLogSuffix);

    std::string descriptor = name + dialect.descriptorNameSuffix + "+";
    std::string cleanName = CleanIdentifier(name);
    std::string generated = !cleanName.empty() || dialect.alwaysBracketName
                                ? "create Table [" + cleanName + "] ( "
                                : "create Table " + name + " ( ";
    for (size_t i = 0; i < parsed->columns.size(); ++i) {
        const ParsedColumn& column = parsed->columns[i];
        bool marked = column.info.rowidAlias || (dialect.markAnyPrimaryKey &&
                                                 (column.info.primaryKey || IsIntegerKey(column.info)));
        std::string label = column.info.name + (marked ? std::string(kKeyMark) : "");
        descriptor += label + "~";

        std::string type = "TEXT";
        if (!column.typeAsWritten.empty()) {
            std::string mapped = MapColumnType(column.typeAsWritten);
            if (IsKnownColumnType(mapped)) type = mapped;
        }
        if (i) generated += dialect.columnSeparator;
        generated += "[" + CleanIdentifier(label) + "] " + type;
        engine_.pendingColumnTypes.emplace_back(TrimBlanks(type));
    }
    generated += " )";
    descriptor += "#" + std::to_string(rootPage);

    engine_.tableSpecs.push_back(descriptor);
    engine_.tableSql.emplace_back(statement);
    engine_.createStatements.push_back(generated);
    engine_.columnTypes.push_back(std::move(engine_.pendingColumnTypes));
    engine_.pendingColumnTypes.clear();
    engine_.tables.push_back(std::move(parsed->table));
    return parsed->complete ? Outcome::Stored : Outcome::Incomplete;
}

void BuildObjectTree(sqlite_base& engine, bool utf16Layout) {
    Host& host = *engine.host;
    for (int k = 0; k < kObjectKinds; ++k) {
        auto kind = static_cast<ObjectKind>(k);
        const std::vector<std::string>& list = engine.SqlList(kind);
        TreeItem group = host.GroupItem(kind);
        for (size_t i = list.size(); i-- > 0;) {
            std::string label = ObjectLabel(kind, list[i]);
            if (label.empty()) continue;
            auto position = static_cast<int64_t>(i);
            if (utf16Layout && kind != ObjectKind::Index) {
                host.InsertTreeItem(group, label, position, TreeInsert::Last);
                continue;
            }
            std::vector<int64_t>& positions = host.NameMap(kind)[label];
            if (positions.empty()) host.InsertTreeItem(group, label, position, TreeInsert::First);
            positions.push_back(position);
        }
    }
    for (ObjectKind kind : {ObjectKind::Table, ObjectKind::Trigger, ObjectKind::Index, ObjectKind::View})
        host.ExpandTreeItem(host.GroupItem(kind));
}

}  // namespace pw
