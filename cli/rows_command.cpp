// pagewright-cli rows FILE TABLE [--json] [--typed]: the rows of a table as the grid
// shows them, in the order they are decoded.
//
//   --json    line 1 {"columns": [heading, ...]}, then one JSON array per row
//   --typed   with --json: values typed (null, numbers, strings, {"blob": "HEX"})
//             instead of their grid texts
//   neither   a header line and one line per row, tab-separated

#include "cli/commands.h"
#include "cli/json.h"
#include "cli/object_lookup.h"
#include "cli/output.h"
#include "core/grid_headings.h"
#include "core/value_text.h"

namespace pw::cli {
namespace {

constexpr ObjectKind kTables[] = {ObjectKind::Table};

// Tab-separated text: backslash, tab and line breaks inside a value are escaped so
// that every row stays on one line.
void AppendTabField(std::string& out, std::string_view text) {
    size_t run = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c != '\\' && c != '\t' && c != '\n' && c != '\r') continue;
        out.append(text.data() + run, i - run);
        run = i + 1;
        out.push_back('\\');
        out.push_back(c == '\t' ? 't' : c == '\n' ? 'n' : c == '\r' ? 'r' : '\\');
    }
    out.append(text.data() + run, text.size() - run);
}

enum class RowForm { Tabs, JsonGrid, JsonTyped };

class RowPrinter : public RowSink {
public:
    RowPrinter(Output& out, RowForm form) : out_(out), form_(form) {}

    void OnRow(const RowView& row) override {
        std::string& text = out_.buffer();
        const bool json = form_ != RowForm::Tabs;
        if (json) text.push_back('[');
        for (size_t i = 0; i < row.values.size(); ++i) {
            if (i) text.push_back(json ? ',' : '\t');
            const Value& value = row.values[i];
            switch (form_) {
                case RowForm::JsonTyped: AppendTypedJsonValue(text, value); break;
                case RowForm::JsonGrid:
                    if (value.kind == ValueKind::Text) {
                        AppendJsonUtf8String(text, value.bytes);
                    } else {
                        // Numbers, NULL and the blob placeholder need no escaping.
                        text.push_back('"');
                        AppendGridText(text, value);
                        text.push_back('"');
                    }
                    break;
                case RowForm::Tabs:
                    if (value.kind == ValueKind::Text)
                        AppendTabField(text, value.bytes);
                    else
                        AppendGridText(text, value);
                    break;
            }
        }
        text.append(json ? "]\n" : "\n");
        out_.Wrote();
    }

private:
    Output& out_;
    RowForm form_;
};

}  // namespace

int RowsCommand(const Arguments& arguments) {
    const bool json = arguments.Has("--json");
    if (arguments.Has("--typed") && !json) {
        std::fprintf(stderr, "pagewright-cli rows: --typed needs --json\n");
        return kExitUsage;
    }
    OpenDatabaseFile file;
    ObjectRef table{};
    if (int status = OpenAndFind(arguments, arguments.positional[1], kTables, file, table))
        return status;
    sqlite_base& engine = *file.opened.engine;

    Output out;
    std::string& text = out.buffer();
    std::vector<std::string> headings = GridHeadings(engine, table.position);
    if (json) text.append("{\"columns\": [");
    for (size_t i = 0; i < headings.size(); ++i) {
        if (i) text.append(json ? ", " : "\t");
        if (json)
            AppendJsonString(text, headings[i]);
        else
            AppendTabField(text, headings[i]);
    }
    text.append(json ? "]}\n" : "\n");

    RowPrinter printer(out, !json ? RowForm::Tabs
                            : arguments.Has("--typed") ? RowForm::JsonTyped
                                                       : RowForm::JsonGrid);
    engine.progressPosition = 0;
    engine.LoadTableRows(engine.LoadFor(table.position), printer);
    return kExitOk;
}

}  // namespace pw::cli
