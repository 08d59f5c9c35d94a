// A callable kept inside its holder, for the actions of the step runner and of the members'
// failure rules: every call of a member builds several of them, so they must not allocate.
// It holds lambdas that capture a few references (trivially copyable, no more than six
// pointers); anything larger fails to compile.
#pragma once

#include <cstddef>
#include <new>
#include <type_traits>
#include <utility>

namespace quimera::frame {

template <class Firma>
class AccionEnLinea;

template <class R, class... Args>
class AccionEnLinea<R(Args...)> {
public:
    AccionEnLinea() = default;

    template <class F>
        requires(!std::is_same_v<std::decay_t<F>, AccionEnLinea> && std::is_invocable_r_v<R, const F&, Args...>)
    AccionEnLinea(F f) {  // NOLINT(google-explicit-constructor): a lambda converts, as to std::function
        static_assert(sizeof(F) <= sizeof(cierre_) && alignof(F) <= alignof(void*) &&
                          std::is_trivially_copyable_v<F> && std::is_trivially_destructible_v<F>,
                      "the action captures a few references only");
        ::new (static_cast<void*>(cierre_)) F(std::move(f));
        llamar_ = [](const void* cierre, Args... args) -> R {
            return (*std::launder(static_cast<const F*>(cierre)))(std::forward<Args>(args)...);
        };
    }

    explicit operator bool() const { return llamar_ != nullptr; }
    // An empty action does nothing (and gives R's zero value).
    R operator()(Args... args) const {
        if (!llamar_) return R();
        return llamar_(cierre_, std::forward<Args>(args)...);
    }

private:
    R (*llamar_)(const void*, Args...) = nullptr;
    alignas(void*) std::byte cierre_[6 * sizeof(void*)]{};
};

}  // namespace quimera::frame
