#include "display_width.h"

#include <langinfo.h>

#include <clocale>
#include <cstring>
#include <cwchar>

namespace tool {

void UseUtf8Characters() {
    if (std::strcmp(nl_langinfo(CODESET), "UTF-8") != 0) std::setlocale(LC_CTYPE, "C.UTF-8");
}

size_t DisplayWidth(std::string_view s) {
    size_t width = 0;
    std::mbstate_t state{};
    for (size_t i = 0; i < s.size();) {
        wchar_t c = 0;
        const size_t n = std::mbrtowc(&c, s.data() + i, s.size() - i, &state);
        if (n == 0 || n > s.size() - i) {  // a NUL or a broken sequence: one column per byte
            state = {};
            ++width;
            ++i;
            continue;
        }
        const int w = wcwidth(c);
        width += w < 0 ? 1 : static_cast<size_t>(w);
        i += n;
    }
    return width;
}

}  // namespace tool
