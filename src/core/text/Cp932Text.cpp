#include "core/text/Cp932Text.h"

#include <QFile>
#include <QSaveFile>

#include <cerrno>
#include <iconv.h>

namespace queldo {

namespace {

// glibc's "CP932" table matches the Windows code page exactly; the strict JIS names
// ("SHIFT_JIS") turn 0x5C into a yen sign, so they must not be used here.
std::optional<QByteArray> convert(const char *to, const char *from, const QByteArray &input)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    QByteArray output(input.size() * 4 + 16, Qt::Uninitialized);
    char *in = const_cast<char *>(input.constData());
    size_t inLeft = size_t(input.size());
    char *out = output.data();
    size_t outLeft = size_t(output.size());
    bool ok = true;
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &out, &outLeft) == size_t(-1)) {
            ok = false;
            break;
        }
    }
    iconv_close(cd);
    if (!ok)
        return std::nullopt;
    output.truncate(output.size() - qsizetype(outLeft));
    return output;
}

} // namespace

std::optional<QString> decodeCp932(const QByteArray &bytes)
{
    const auto utf8 = convert("UTF-8", "CP932", bytes);
    if (!utf8)
        return std::nullopt;
    return QString::fromUtf8(*utf8);
}

std::optional<QByteArray> encodeCp932(const QString &text)
{
    return convert("CP932", "UTF-8", text.toUtf8());
}

QStringList splitLines(const QString &text)
{
    QStringList lines;
    QString current;
    bool pending = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n') {
            lines << current;
            current.clear();
            pending = false;
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
        } else {
            current += c;
            pending = true;
        }
    }
    if (pending)
        lines << current;
    return lines;
}

TextReadResult readCp932Lines(const QString &path)
{
    TextReadResult result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error =
            QStringLiteral("ファイル %1 を開けません。(%2)").arg(path, file.errorString());
        return result;
    }
    const QByteArray bytes = file.readAll();
    const auto text = decodeCp932(bytes);
    if (!text) {
        result.error = QStringLiteral("ファイル %1 の文字が正しくありません。").arg(path);
        return result;
    }
    result.lines = splitLines(*text);
    return result;
}

QString writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("ファイル %1 に書き込めません。(%2)").arg(path, file.errorString());
    if (file.write(bytes) != bytes.size() || !file.flush() || !file.commit())
        return QStringLiteral("ファイル %1 に書き込めません。(%2)").arg(path, file.errorString());
    return {};
}

QString writeCp932Lines(const QString &path, const QStringList &lines)
{
    QString text;
    for (const QString &line : lines)
        text += line + QStringLiteral("\r\n");
    const auto bytes = encodeCp932(text);
    if (!bytes)
        return QStringLiteral("ファイル %1 に書けない文字があります。").arg(path);
    return writeFileAtomically(path, *bytes);
}

} // namespace queldo
