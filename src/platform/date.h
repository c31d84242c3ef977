// Calendar dates as whole days counted from the zero date, 30 December 1899.
#pragma once
#include <compare>
#include <cstdint>

namespace platform {

struct Date {
    int32_t serial = 0;  // days since 30 December 1899

    static Date fromYmd(int year, int month, int day);
    void toYmd(int& year, int& month, int& day) const;
    Date operator+(int32_t days) const { return Date{serial + days}; }
    int32_t operator-(Date other) const { return serial - other.serial; }
    auto operator<=>(const Date&) const = default;
};

bool isValidYmd(int year, int month, int day);

}  // namespace platform
