#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <QStringView>

#include <algorithm>

namespace queldo {

/// The date text this program writes into a record: yyyy/MM/dd whatever the locale, as the files
/// of Japanese installations have always held it.
QString resultsDateText(QDate date);

/// Today's date in the two forms a record's date may hold: the one this program writes, and the
/// locale's short form that installations elsewhere wrote before.
struct TodayDate
{
    QString written;
    QString localised;

    /// A single form, for callers (and older files) that know only one.
    TodayDate(const QString &text) : written(text), localised(text) {}
    TodayDate(QDate today, const QLocale &locale)
        : written(resultsDateText(today)), localised(locale.toString(today, QLocale::ShortFormat))
    {
    }
};

/// Whether a record's date field, as read, names today in either form.
inline bool isRecordOfToday(QStringView dateField, const TodayDate &today)
{
    // Inline and length first: this runs once for every record of a long history.
    auto same = [dateField](const QString &form) {
        return dateField.size() == form.size() &&
               std::equal(dateField.begin(), dateField.end(), form.begin());
    };
    return same(today.written) || same(today.localised);
}

} // namespace queldo
