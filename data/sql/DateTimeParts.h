#pragma once

#include <optional>

// The stored forms of a date-time read into plain parts, without building a
// QDateTime: readers that look at one part of every row (the month of a
// stored date) read them straight from the bytes. DateTimeText.h turns the
// parts into QDateTime.
namespace kb::sql::datetime {

struct Parts {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int msec = 0;
};

// Accepts "YYYY-MM-DD", optionally followed by a blank or 'T' and "HH:MM",
// ":SS" and a fraction of a second (cut to milliseconds); nothing else may
// follow. Years 1..9999; nullopt for a day that does not exist.
std::optional<Parts> isoParts(const char* text, int length);

// Whole days since 30 December 1899; the fraction is the time of day, rounded
// to the millisecond (a fraction that rounds up to a whole day is the next
// midnight), and counts forward from midnight also before the day zero:
// -1.25 is 29.12.1899 06:00. nullopt outside 1.1.100 .. 31.12.9999.
std::optional<Parts> dayNumberParts(double days);

} // namespace kb::sql::datetime
