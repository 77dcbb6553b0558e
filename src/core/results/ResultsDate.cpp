#include "core/results/ResultsDate.h"

namespace queldo {

QString resultsDateText(QDate date)
{
    // Spelled out rather than left to QLocale, whose short format differs from place to place.
    return QString::asprintf("%04d/%02d/%02d", date.year(), date.month(), date.day());
}

} // namespace queldo
