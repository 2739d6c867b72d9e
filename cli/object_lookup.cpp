#include "cli/object_lookup.h"

#include <charconv>
#include <cstdio>
#include <string>

#include "core/ddl_parser.h"
#include "core/sql_tokenizer.h"

namespace pw::cli {
namespace {

std::string_view Trimmed(std::string_view text) {
    auto blank = [](char c) { return c == ' ' || (c >= 8 && c <= 13); };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

std::optional<size_t> Position(std::string_view what) {
    if (what.size() < 2 || what[0] != '#') return std::nullopt;
    size_t n = 0;
    auto [end, error] = std::from_chars(what.data() + 1, what.data() + what.size(), n);
    if (error != std::errc() || end != what.data() + what.size()) return std::nullopt;
    return n;
}

std::string NameOf(const sqlite_base& engine, ObjectKind kind, size_t position) {
    if (kind == ObjectKind::Table)
        return position < engine.tables.size() ? engine.tables[position].name : std::string();
    return ObjectName(kind, engine.SqlList(kind)[position]);
}

}  // namespace

std::optional<ObjectRef> FindObject(const RecordingHost& host, const sqlite_base& engine,
                                    std::string_view what, std::span<const ObjectKind> kinds) {
    if (std::optional<size_t> position = Position(what)) {
        for (ObjectKind kind : kinds)
            if (*position < engine.SqlList(kind).size()) return ObjectRef{kind, *position};
        return std::nullopt;
    }
    what = Trimmed(what);
    // The tree's text first, then the bare name, exactly and then ignoring case as
    // SQLite compares names.
    for (ObjectKind kind : kinds) {
        for (TreeItem item : host.tree.Children(host.GroupItem(kind))) {
            const ObjectTree::Item* found = host.tree.Find(item);
            if (found->data >= 0 && Trimmed(found->text) == what)
                return ObjectRef{kind, static_cast<size_t>(found->data)};
        }
    }
    for (bool ignoreCase : {false, true}) {
        for (ObjectKind kind : kinds) {
            const size_t count = engine.SqlList(kind).size();
            for (size_t i = 0; i < count; ++i) {
                std::string name = NameOf(engine, kind, i);
                if (name == what || (ignoreCase && EqualsIgnoringCase(name, what)))
                    return ObjectRef{kind, i};
            }
        }
    }
    return std::nullopt;
}

int OpenAndFind(const Arguments& arguments, std::string_view what,
                std::span<const ObjectKind> kinds, OpenDatabaseFile& file, ObjectRef& ref) {
    int status = OpenForCommand(arguments.positional[0], true, arguments.Has("--yes"), file);
    if (status != kExitOk) return status;
    std::optional<ObjectRef> found = FindObject(*file.host, *file.opened.engine, what, kinds);
    if (!found || (found->kind == ObjectKind::Table &&
                   found->position >= file.opened.engine->tables.size())) {
        std::fprintf(stderr, "pagewright-cli: %.*s: no such object\n", static_cast<int>(what.size()),
                     what.data());
        return kExitNotFound;
    }
    ref = *found;
    return kExitOk;
}

}  // namespace pw::cli
