// What most ado tests need whatever they open: the error number a call raises, and regional
// settings installed for one scope.
#pragma once

#include <cstdint>

#include "ado/Error.h"
#include "ado/Regional.h"

namespace testsupport {

// Runs `f` and returns the ado::Error number it throws (0 when it throws nothing).
template <class F>
int32_t ErrorNumberOf(F&& f) {
    try {
        f();
    } catch (const ado::Error& e) {
        return e.Number();
    }
    return 0;
}

// Installs `rs` as the process's regional settings and puts the earlier ones back on the way out.
class ScopedRegional {
public:
    explicit ScopedRegional(const ado::RegionalSettings& rs) : saved_(ado::RegionalSettings::Current()) {
        ado::RegionalSettings::SetCurrent(rs);
    }
    ~ScopedRegional() { ado::RegionalSettings::SetCurrent(saved_); }
    ScopedRegional(const ScopedRegional&) = delete;
    ScopedRegional& operator=(const ScopedRegional&) = delete;

private:
    ado::RegionalSettings saved_;
};

}  // namespace testsupport
