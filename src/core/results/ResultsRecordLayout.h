#pragma once

#include "core/board/Karyogram.h"

#include <QByteArrayView>

#include <array>
#include <limits>
#include <optional>

/// Where each figure of an attempt lies in its line of the results file. The writer composes a
/// line by these indices and every reader takes its fields by them.
namespace queldo::ResultsRecordLayout {

/// How many records the file held before this one.
inline constexpr int NumberField = 0;
/// The date text, as the day of the attempt was written.
inline constexpr int DateField = 1;
/// The problem number, three digits at least.
inline constexpr int ProblemField = 2;
/// The code of place s lies in field FirstPlaceField + s.
inline constexpr int FirstPlaceField = 3;
constexpr int placeField(int slot)
{
    return FirstPlaceField + slot;
}
/// The place labelled X, and the one labelled XY: a second X in a female cell, Y in a male one.
inline constexpr int XField = placeField(XPlace);
inline constexpr int XYField = placeField(XYPlace);
/// The answer time in whole seconds.
inline constexpr int SecondsField = placeField(SlotCount);
/// A line with any other number of fields is not a record.
inline constexpr int FieldCount = SecondsField + 1;

/// How a line of the results file splits at its commas alone.
enum class PlainLine {
    Record,    ///< the fields of a record, found
    NotRecord, ///< plain, but not FieldCount fields: no record by any reading
    Other,     ///< bytes a plain split cannot judge (not ASCII, blanks, quotes): the general rule
};

/// Text as a whole number the way QString::toInt() reads the characters a record can hold: an
/// optional sign, then digits only, within int. Nothing otherwise. For bytes and for UTF-16 alike,
/// so that a plain line and one read by the general rule give the same figures.
template <typename Char> std::optional<int> wholeNumber(const Char *s, qsizetype n)
{
    qsizetype i = 0;
    const bool negative = n > 0 && s[0] == Char('-');
    if (n > 0 && (s[0] == Char('-') || s[0] == Char('+')))
        ++i;
    if (i == n)
        return std::nullopt;
    qint64 value = 0;
    for (; i < n; ++i) {
        if (s[i] < Char('0') || s[i] > Char('9'))
            return std::nullopt;
        value = value * 10 + (s[i] - Char('0'));
        if (value > qint64(1) << 31)
            return std::nullopt;
    }
    value = negative ? -value : value;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(value);
}

/// The fields of a line as this program writes it: ASCII without blanks, control characters or
/// quotes, fields separated by commas alone. Nearly every line is one, and for them the file's
/// reading rule comes down to splitting at the commas, done here in one pass over the bytes.
struct PlainFields
{
    const char *text = nullptr;
    // Field j lies in [start[j], start[j + 1] - 1): each start is one past a comma.
    std::array<qsizetype, FieldCount + 1> start;

    const char *at(int j) const { return text + start[std::size_t(j)]; }
    qsizetype length(int j) const { return start[std::size_t(j) + 1] - 1 - start[std::size_t(j)]; }
    QByteArrayView operator[](int j) const { return QByteArrayView(at(j), length(j)); }

    /// Field j as a whole number, read as wholeNumber() reads it.
    std::optional<int> integer(int j) const { return wholeNumber(at(j), length(j)); }

    /// Splits line, which stays where it lies while these fields are used. start is only written
    /// as far as the line goes: a long history splits millions of lines.
    PlainLine split(QByteArrayView line)
    {
        text = line.data();
        const qsizetype n = line.size();
        qsizetype count = 1;
        start[0] = 0;
        for (qsizetype i = 0; i < n; ++i) {
            const uchar c = uchar(text[i]);
            if (c == ',') {
                if (count < FieldCount)
                    start[std::size_t(count)] = i + 1;
                ++count;
            } else if (c >= 0x80 || c <= 0x20 || c == '"') {
                return PlainLine::Other;
            }
        }
        if (count != FieldCount)
            return PlainLine::NotRecord;
        start[FieldCount] = n + 1;
        return PlainLine::Record;
    }
};

} // namespace queldo::ResultsRecordLayout
