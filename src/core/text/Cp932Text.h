#pragma once

#include "core/text/AtomicWrite.h"

#include <QByteArrayView>
#include <QFileDevice>
#include <QString>
#include <QStringList>

#include <cstring>
#include <optional>

namespace queldo {

/// Result of reading a text file: the lines, or a message saying what went wrong.
struct TextReadResult
{
    QStringList lines;
    QString error; ///< empty on success

    bool ok() const { return error.isEmpty(); }
};

/// Decodes code page 932 into a caller's buffer, piece by piece. Plain ASCII, nearly all of a
/// results file, is widened directly; only the other runs go through the converter, which is
/// opened once per decoder rather than once per piece.
class Cp932Decoder
{
public:
    Cp932Decoder() = default;
    ~Cp932Decoder();
    Cp932Decoder(const Cp932Decoder &) = delete;
    Cp932Decoder &operator=(const Cp932Decoder &) = delete;

    /// Writes the UTF-16 form of bytes to out, which must have room for bytes.size() units (no
    /// code page 932 character takes more than one). Returns the units written, or -1 when the
    /// bytes are not valid code page 932.
    qsizetype decode(QByteArrayView bytes, char16_t *out);

private:
    qsizetype decodeRun(QByteArrayView run, char16_t *out);

    void *m_converter = nullptr;
};

/// Whether every byte is below 0x80: plain ASCII, the same text in code page 932.
bool isAscii(QByteArrayView bytes);

/// Calls lineFn(QByteArrayView line) for every line of bytes, split at CR LF, a lone CR and a lone
/// LF, as splitLines() splits text. Splitting bytes is safe in code page 932: CR and LF are never
/// the second byte of a character. Returns whether the last line had a line end.
template <typename LineFn> bool forEachLine(QByteArrayView bytes, LineFn &&lineFn)
{
    const char *p = bytes.data();
    const char *const end = p + bytes.size();
    // The next LF at or after p, found afresh only once p has passed it. Not p - 1 to begin
    // with: that points before the bytes, and before nothing at all for an empty file's view.
    const char *lf = nullptr;
    while (p < end) {
        if (!lf || lf < p) {
            lf = static_cast<const char *>(std::memchr(p, '\n', std::size_t(end - p)));
            if (!lf)
                lf = end;
        }
        const auto *cr = static_cast<const char *>(std::memchr(p, '\r', std::size_t(lf - p)));
        if (cr) {
            lineFn(QByteArrayView(p, cr - p));
            p = cr + 1 == lf && lf != end ? lf + 1 : cr + 1; // CR LF is one line end
            continue;
        }
        lineFn(QByteArrayView(p, lf - p));
        if (lf == end)
            return false;
        p = lf + 1;
    }
    return true;
}

/// Decodes code page 932 bytes. Returns nothing when a byte sequence is not valid CP932.
std::optional<QString> decodeCp932(const QByteArray &bytes);
/// Encodes to code page 932. Returns nothing when a character has no CP932 form.
std::optional<QByteArray> encodeCp932(const QString &text);

/// Splits at CR LF, a lone CR and a lone LF. A final line ending does not open another line.
QStringList splitLines(const QString &text);

/// Reads a whole code page 932 text file and splits it into lines.
TextReadResult readCp932Lines(const QString &path);

/// Writes the lines whole, each followed by CR LF, atomically (temporary file, then rename).
/// Returns an empty string on success, otherwise a message for the trainee.
QString writeCp932Lines(const QString &path, const QStringList &lines);

} // namespace queldo
