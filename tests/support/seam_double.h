#pragma once

#include <type_traits>
#include <utility>

// Puts a double in place of one of the program's seams, through the function
// that sets it and returns what it replaces, and puts that back when it goes:
// also when a failing check leaves the test early.
template<typename Function>
class SeamDouble
{
public:
    using Setter = Function (*)(Function);

    SeamDouble(Setter set, std::type_identity_t<Function> replacement)
        : m_set(set)
        , m_previous(set(std::move(replacement)))
    {
    }
    ~SeamDouble() { m_set(std::move(m_previous)); }
    SeamDouble(const SeamDouble &) = delete;
    SeamDouble &operator=(const SeamDouble &) = delete;

private:
    Setter m_set;
    Function m_previous;
};
