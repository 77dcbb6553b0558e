#pragma once

#include <QString>

namespace queldo {

/// The ID as it is stored for a new trainee: compatibility forms unified (full-width letters
/// and digits become half-width, half-width kana become full-width) and blanks of either
/// width trimmed from both ends. Letter case is kept as typed.
QString tidyUserId(const QString &typed);

/// What two IDs share when a trainee could not tell them apart in a list: the tidy form,
/// letter case folded, and letters that look alike across scripts (Cyrillic and Greek letters
/// shaped like Latin ones, katakana shaped like kanji, the various long dashes) taken as one.
QString userIdKey(const QString &id);

/// Whether an ID spells with letters of more than one alphabet (Latin, Greek, Cyrillic).
/// Kanji, kana, digits and signs go with any one of them, as in 髙橋07 or Aさん, but a Latin
/// word with a Cyrillic letter in it only serves to look like another ID.
bool mixesAlphabets(const QString &id);

} // namespace queldo
