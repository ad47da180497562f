#pragma once

#include <functional>
#include <utility>

namespace runtime {

template<typename Signature>
class Seam;

// A call the program makes into the world (the clock, the window system, the
// user's eyes) that a test can replace with a double of its own. Where no
// double is in place, the standard function runs.
template<typename Result, typename... Args>
class Seam<Result(Args...)>
{
public:
    using Function = std::function<Result(Args...)>;

    explicit Seam(Result (*standard)(Args...))
        : m_standard(standard)
    {
    }

    Result operator()(Args... args) const
    {
        return m_double ? m_double(std::forward<Args>(args)...)
                        : m_standard(std::forward<Args>(args)...);
    }

    // Puts `replacement` in place and returns the double it replaces; an
    // empty function restores the standard one.
    Function replace(Function replacement)
    {
        return std::exchange(m_double, std::move(replacement));
    }

private:
    Result (*m_standard)(Args...);
    Function m_double;
};

} // namespace runtime
