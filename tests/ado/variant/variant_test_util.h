// Helpers shared by the Variant tests: the error number a call raises, and a scope that
// installs regional settings for one test.
#pragma once

#include "ado/Error.h"
#include "ado/Regional.h"
#include "ado/Variant.h"

namespace varianttest {

// The ado::Error number raised by f, or 0 when it returns normally.
template <class F>
int ErrorOf(F&& f) {
    try {
        f();
    } catch (const ado::Error& e) {
        return e.Number();
    }
    return 0;
}

class ScopedRegional {
public:
    explicit ScopedRegional(const ado::RegionalSettings& rs) : saved_(ado::RegionalSettings::Current()) {
        ado::RegionalSettings::SetCurrent(rs);
    }
    ~ScopedRegional() { ado::RegionalSettings::SetCurrent(saved_); }

private:
    ado::RegionalSettings saved_;
};

inline ado::Variant Cur(int64_t scaled) { return ado::Variant(ado::Currency{scaled}); }
inline ado::Variant Dec(const char* text) {
    ScopedRegional us(ado::RegionalSettings::UnitedStates());
    return ado::Variant(ado::Variant(text).ToDecimal());
}

}  // namespace varianttest
