// Collator: compares UTF-8 texts as the database compares text columns: letter case is
// ignored, accents are not ("BEGO" = "bego", "Jose" < "José"), and each language's
// alphabet is followed (accented letters with their base letter; Spanish "ñ" after "n").
//
// One collator per connection: cheap to open, not to be shared between threads.
#pragma once

#include <string>
#include <string_view>

struct UCollator;

namespace ado::text {

class Collator {
public:
    // `locale` as a language ("es"), an ICU or a POSIX name ("es_ES", "es_ES.UTF-8"); "C",
    // "POSIX" and "" give the root order. A locale ICU does not know falls back to its
    // language or to the root order. ICU failing to open one throws ado::Error (E_FAIL).
    explicit Collator(std::string_view locale);
    ~Collator();
    Collator(Collator&& other) noexcept;
    Collator& operator=(Collator&& other) noexcept;
    Collator(const Collator&) = delete;
    Collator& operator=(const Collator&) = delete;

    // -1, 0 or 1. Ill-formed UTF-8 compares as U+FFFD.
    int Compare(std::string_view a, std::string_view b) const;

    // A byte string whose bytewise order is the collator's order (equal texts, equal keys):
    // what indexes keep instead of the texts.
    std::string SortKey(std::string_view text) const;

    // The version of the collator's rules ("153.120.42"): an index built under one version
    // may be out of order under another.
    std::string Version() const;

private:
    UCollator* collator_;
};

}  // namespace ado::text
