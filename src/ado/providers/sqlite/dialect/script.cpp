#include "ado/Script.h"

#include "ado/providers/sqlite/dialect/access_dialect.h"

namespace ado {

std::vector<ScriptStatement> SplitScript(std::string_view script) {
    std::vector<ScriptStatement> out;
    size_t line = 1, column = 1, at = 0;
    for (auto& part : sqlite::SplitAccessScript(script)) {
        for (; at < part.offset; ++at) {
            if (script[at] == '\n') {
                ++line;
                column = 1;
            } else if ((static_cast<unsigned char>(script[at]) & 0xC0) != 0x80) {
                ++column;
            }
        }
        out.push_back({std::move(part.text), line, column});
    }
    return out;
}

}  // namespace ado
