#include "core/app/UserIdForm.h"

#include <QHash>

#include <string_view>

namespace queldo {

namespace {

// Letters a trainee reads as another in a list of IDs, mapped to the one they pass for. Upper
// case is listed as well, since folding Cyrillic or Greek capitals gives small letters of quite
// another shape (Н → н, Β → β).
const QHash<char16_t, char16_t> &lookAlikes()
{
    static const QHash<char16_t, char16_t> table = [] {
        QHash<char16_t, char16_t> t;
        auto add = [&t](std::u16string_view from, std::u16string_view to) {
            Q_ASSERT(from.size() == to.size());
            for (std::size_t i = 0; i < from.size(); ++i)
                t.insert(from[i], to[i]);
        };
        // Cyrillic
        add(u"аеорсухіјѕһԁԛԝӏ", u"aeopcyxijshdqwl");
        add(u"АВЕКМНОРСТХІЈЅУ", u"ABEKMHOPCTXIJSY");
        // Greek
        add(u"αβικνορτυχ", u"abiknoptux");
        add(u"ΑΒΕΖΗΙΚΜΝΟΡΤΥΧ", u"ABEZHIKMNOPTYX");
        // Katakana against the kanji and hiragana they are drawn like, and the small ka and ke
        // that stand for the full-size ones in names (三ヶ島, 三ケ島).
        add(u"力口工二卜夕八ヘベペヶヵ", u"カロエニトタハへべぺケカ");
        // Long dashes: the kana sound mark, the kanji for one, minus, and the dash family.
        add(u"ー一−‐‑‒–—―", u"---------");
        return t;
    }();
    return table;
}

} // namespace

QString tidyUserId(const QString &typed)
{
    // The compatibility form also turns the ideographic and the no-break space into plain ones,
    // so that trimming takes blanks of every width.
    return typed.normalized(QString::NormalizationForm_KC).trimmed();
}

QString userIdKey(const QString &id)
{
    const auto &table = lookAlikes();
    QString key = tidyUserId(id);
    // Folding and recomposing can bring forth a letter of the table (a Greek iota from a
    // combining mark), so the steps are repeated until they change nothing.
    for (int pass = 0; pass < 4; ++pass) {
        QString next = key;
        for (QChar &c : next) {
            const auto found = table.constFind(c.unicode());
            if (found != table.constEnd())
                c = QChar(*found);
        }
        next = next.toCaseFolded().normalized(QString::NormalizationForm_KC);
        if (next == key)
            break;
        key = next;
    }
    return key;
}

bool mixesAlphabets(const QString &id)
{
    QChar::Script seen = QChar::Script_Unknown;
    const QString tidy = tidyUserId(id);
    for (qsizetype i = 0; i < tidy.size(); ++i) {
        QChar::Script script = tidy.at(i).script();
        if (tidy.at(i).isHighSurrogate() && i + 1 < tidy.size())
            script = QChar::script(QChar::surrogateToUcs4(tidy.at(i), tidy.at(i + 1)));
        if (script != QChar::Script_Latin && script != QChar::Script_Greek &&
            script != QChar::Script_Cyrillic)
            continue;
        if (seen != QChar::Script_Unknown && seen != script)
            return true;
        seen = script;
    }
    return false;
}

} // namespace queldo
