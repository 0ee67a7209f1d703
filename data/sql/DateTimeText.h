#pragma once

#include "DateTimeParts.h"

#include <QDateTime>
#include <QString>
#include <optional>

// Conversions between the stored forms of a date-time and QDateTime.
// Stored form: ISO text "YYYY-MM-DD HH:MM:SS" (a bare "YYYY-MM-DD" reads as
// midnight). Day number: whole days since 30 December 1899, the fraction the
// time of day (the desktop platforms' automation date).
namespace kb::sql::datetime {

// A wall-clock date-time in Qt::UTC (see Value).
QDateTime make(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

QString toIso(const QDateTime& dt);
std::optional<QDateTime> fromIso(const QString& text);
std::optional<QDateTime> fromIso(const char* text, int length);

double toDayNumber(const QDateTime& dt);
QDateTime fromDayNumber(double days); // invalid where dayNumberParts() gives nullopt

} // namespace kb::sql::datetime
