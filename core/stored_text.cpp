#include "core/stored_text.h"

#include "platform/text.h"

namespace pw {

Value StoredTextValue(std::string_view bytes, RowScratch& scratch) {
    if (IsValidUtf8(bytes)) return Value::Text(bytes);
    std::string& text = scratch.Text();
    AppendCp1252AsUtf8(text, bytes);
    return Value::Text(scratch.Commit(text));
}

}  // namespace pw
