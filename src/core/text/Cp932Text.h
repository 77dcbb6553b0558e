#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace queldo {

/// Result of reading a text file: the lines, or a message saying what went wrong.
struct TextReadResult
{
    QStringList lines;
    QString error; ///< empty on success

    bool ok() const { return error.isEmpty(); }
};

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

/// Writes raw bytes atomically. Returns an empty string on success, otherwise a message.
QString writeFileAtomically(const QString &path, const QByteArray &bytes);

} // namespace queldo
