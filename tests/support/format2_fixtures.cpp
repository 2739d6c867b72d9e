#include "tests/support/format2_fixtures.h"

#include "core/value_text.h"
#include "tests/support/files.h"

namespace pw::test {
namespace {

std::vector<std::string> Strings(const JsonValue& array) {
    std::vector<std::string> out;
    for (const JsonValue& item : array.array) out.push_back(item.string);
    return out;
}

class TextSink : public RowSink {
public:
    explicit TextSink(LoadedRows& out) : out_(out) {}
    void OnRow(const RowView& row) override {
        out_.rows.push_back(AsTextRow(row));
        out_.locators.push_back(row.where);
        out_.rowids.push_back(row.rowid);
        out_.damaged.push_back(row.damaged);
    }

private:
    LoadedRows& out_;
};

}  // namespace

std::string Format2Fixture(const std::string& name) { return FixturePath("format2/" + name + ".db"); }

ExpectedFile ReadExpected(const std::string& fixture) {
    JsonValue json = ReadJsonFile(FixturePath("format2/" + fixture + ".expected.json"));
    ExpectedFile expected;
    for (const auto& [name, table] : json["tables"].object) {
        ExpectedTable out{name, Strings(table["columns"]), {}};
        for (const JsonValue& row : table["rows"].array) {
            TextRow values;
            for (const JsonValue& value : row.array)
                values.push_back(value.IsNull() ? std::nullopt : std::optional<std::string>(value.string));
            out.rows.push_back(std::move(values));
        }
        expected.tables.push_back(std::move(out));
    }
    expected.indexes = Strings(json["indexes"]);
    expected.views = Strings(json["views"]);
    expected.triggers = Strings(json["triggers"]);
    expected.startOffset = static_cast<uint64_t>(json["start_offset"].number);
    return expected;
}

format2::sqlite_ver2& Engine2(const OpenedForTest& file) {
    auto* engine = dynamic_cast<format2::sqlite_ver2*>(file.engine());
    if (!engine) throw std::runtime_error("not a format 2 engine");
    return *engine;
}

TextRow AsTextRow(const RowView& row) {
    TextRow values;
    for (const Value& value : row.values)
        values.push_back(value.kind == ValueKind::Null ? std::nullopt
                                                       : std::optional<std::string>(GridText(value)));
    return values;
}

LoadedRows LoadRows(const OpenedForTest& file, size_t table) {
    LoadedRows loaded;
    TextSink sink(loaded);
    sqlite_base& engine = *file.engine();
    engine.progressPosition = 0;
    engine.LoadTableRows(engine.LoadFor(table), sink);
    return loaded;
}

std::string LabelName(const std::string& label) {
    size_t begin = label.find_first_not_of(' ');
    if (begin == std::string::npos) return "";
    size_t end = label.find(' ', begin);
    return label.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
}

}  // namespace pw::test
