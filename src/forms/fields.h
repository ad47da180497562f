#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace forms {

// The display fields: labels of the main window that hold every value of the
// program as text, named as in its layout table (which the build checks).
enum class Field {
    MonNum,
    CurDay,
    CurHour,
    CurMin,
    CurSec,
    EndMon1,
    EndDay,
    EndHour,
    EndMinute,
    EndSecond,
    EndMon,
    EndDays,
    Final,
    Count
};

inline constexpr std::size_t FieldCount = static_cast<std::size_t>(Field::Count);

// Each field's name, in the order of the enumeration.
inline constexpr std::array<std::string_view, FieldCount> FieldNames = {
    "MonNum",  "CurDay",    "CurHour",   "CurMin", "CurSec",  "EndMon1", "EndDay",
    "EndHour", "EndMinute", "EndSecond", "EndMon", "EndDays", "Final",
};

constexpr std::string_view fieldName(Field field)
{
    return FieldNames[static_cast<std::size_t>(field)];
}

} // namespace forms
