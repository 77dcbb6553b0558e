#pragma once

#include <QString>

namespace queldo {

/// How a trainee likes the answer window, kept in a small file of its own beside the settings
/// file (the ID followed by ".opt"), so that the settings file keeps the layout older
/// installations read. One "name=value" line per option; unknown lines are skipped.
struct AnswerViewOptions
{
    bool ideograms = false; ///< the standard's ideogram beside each answer chromosome

    bool operator==(const AnswerViewOptions &) const = default;
};

struct AnswerViewOptionsRead
{
    AnswerViewOptions options;
    QString error; ///< the file exists but could not be read; the defaults are returned
};

namespace AnswerViewOptionsFile {

/// A missing file gives the defaults without an error: most trainees never change them.
AnswerViewOptionsRead read(const QString &path);
/// Writes the file whole (atomically). Empty string on success, otherwise a message.
QString write(const QString &path, const AnswerViewOptions &options);

} // namespace AnswerViewOptionsFile

} // namespace queldo
