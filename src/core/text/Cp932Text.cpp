#include "core/text/Cp932Text.h"

#include "core/text/RegularFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSysInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
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

// First bytes of the double-byte characters of code page 932.
bool isLeadByte(uchar b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

constexpr const char *Utf16Name =
    QSysInfo::ByteOrder == QSysInfo::LittleEndian ? "UTF-16LE" : "UTF-16BE";

} // namespace

bool isAscii(QByteArrayView bytes)
{
    // Eight bytes at a time; the compiler turns the fixed-size copies into plain loads.
    const char *p = bytes.data();
    const char *const end = p + bytes.size();
    quint64 any = 0;
    for (; end - p >= 8; p += 8) {
        quint64 word;
        std::memcpy(&word, p, 8);
        any |= word;
    }
    for (; p < end; ++p)
        any |= uchar(*p);
    return (any & 0x8080808080808080ull) == 0;
}

Cp932Decoder::~Cp932Decoder()
{
    if (m_converter)
        iconv_close(static_cast<iconv_t>(m_converter));
}

qsizetype Cp932Decoder::decode(QByteArrayView bytes, char16_t *out)
{
    const auto *in = reinterpret_cast<const uchar *>(bytes.data());
    const qsizetype n = bytes.size();
    char16_t *const start = out;
    qsizetype i = 0;
    while (i < n) {
        // Bytes below 0x80 are ASCII, except as the second byte of a double-byte character, and
        // a run below is only entered at a character boundary.
        while (i < n && in[i] < 0x80)
            *out++ = in[i++];
        if (i == n)
            break;
        qsizetype j = i;
        while (j < n && in[j] >= 0x80)
            j += isLeadByte(in[j]) ? 2 : 1;
        j = std::min(j, n); // a lead byte at the very end is left for the converter to refuse
        const qsizetype written = decodeRun(bytes.sliced(i, j - i), out);
        if (written < 0)
            return -1;
        out += written;
        i = j;
    }
    return out - start;
}

qsizetype Cp932Decoder::decodeRun(QByteArrayView run, char16_t *out)
{
    if (!m_converter) {
        iconv_t cd = iconv_open(Utf16Name, "CP932");
        if (cd == reinterpret_cast<iconv_t>(-1))
            return -1;
        m_converter = cd;
    }
    iconv_t cd = static_cast<iconv_t>(m_converter);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char *in = const_cast<char *>(run.data());
    size_t inLeft = size_t(run.size());
    char *outBytes = reinterpret_cast<char *>(out);
    size_t outLeft = size_t(run.size()) * sizeof(char16_t);
    if (iconv(cd, &in, &inLeft, &outBytes, &outLeft) == size_t(-1) || inLeft != 0)
        return -1;
    return qsizetype(outBytes - reinterpret_cast<char *>(out)) / qsizetype(sizeof(char16_t));
}

std::optional<QString> decodeCp932(const QByteArray &bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    Cp932Decoder decoder;
    const qsizetype length = decoder.decode(bytes, reinterpret_cast<char16_t *>(text.data()));
    if (length < 0)
        return std::nullopt;
    text.truncate(length);
    return text;
}

std::optional<QByteArray> encodeCp932(const QString &text)
{
    return convert("CP932", "UTF-8", text.toUtf8());
}

QStringList splitLines(const QString &text)
{
    QStringList lines;
    const qsizetype n = text.size();
    qsizetype start = 0;
    while (start < n) {
        qsizetype end = start;
        while (end < n && text.at(end) != u'\r' && text.at(end) != u'\n')
            ++end;
        lines << text.mid(start, end - start);
        if (end == n)
            break;
        start =
            (text.at(end) == u'\r' && end + 1 < n && text.at(end + 1) == u'\n') ? end + 2 : end + 1;
    }
    return lines;
}

TextReadResult readCp932Lines(const QString &path)
{
    TextReadResult result;
    const FileBytes file = readRegularFile(path, MaximumTextFileBytes);
    if (!file.ok()) {
        result.error = file.error;
        return result;
    }
    const auto text = decodeCp932(file.bytes);
    if (!text) {
        result.error = QStringLiteral("ファイル %1 の文字が正しくありません。").arg(path);
        return result;
    }
    result.lines = splitLines(*text);
    return result;
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
