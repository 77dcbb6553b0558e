#pragma once

#include <QString>

#include <functional>

namespace queldo {

/// How a trainee likes the answer windows (the correct karyogram, the karyotype question), kept
/// in a small file of its own beside the settings file, so that the settings file keeps the layout
/// older installations read. One "name=value" line per option; unknown lines are skipped.
struct AnswerViewOptions
{
    bool ideograms = false; ///< the standard's ideogram beside each answer chromosome
    /// The karyotype of an abnormal cell is answered from lists rather than typed.
    bool karyotypeChoices = false;

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
/// Reads the file, lets `change` set one option and writes it back: each window changes only
/// its own option, so that what another window set since it read the file is kept.
QString change(const QString &path, const std::function<void(AnswerViewOptions &)> &change);

} // namespace AnswerViewOptionsFile

} // namespace queldo
