#pragma once

#include <QByteArrayView>
#include <QString>

namespace queldo {

/// Appending to a file where it lies, without rewriting what it already holds, so that a crash at
/// any moment leaves to its readers either the file as it was or the file with the whole tail.
///
/// Before the first byte is appended, the file's length is made durable in a note beside it
/// (unfinishedAppendNotePath), with the file's identity; the note is removed once the whole
/// tail is durable. A note that a crash left behind marks everything after that length as
/// unfinished: readers leave it out (finishedLength) and the next write cuts it away
/// (undoUnfinishedAppend). An append is only reported as done after its note is gone, so nothing
/// reported is ever cut away.

/// Where the note of an append to `path` lies.
QString unfinishedAppendNotePath(const QString &path);
/// Where a note that did not belong to its file is moved aside.
QString rejectedNotePath(const QString &path);

/// How many leading bytes of the file at `path`, which holds `size` bytes, are finished writes:
/// `size`, unless an append to the file was interrupted, when the bytes that append had begun to
/// write are left out. Only a note that names this very file (its length, identity and the
/// bytes before the cut) and cuts at a line end counts; any other is disregarded.
qint64 finishedLength(const QString &path, qint64 size);

/// Cuts away what an interrupted append left (the bytes after the length its note holds) and
/// removes the note. A note that does not belong to the file cuts nothing: it is moved aside to
/// rejectedNotePath() and *notice, when given, says so. Returns an empty string on success, also
/// when there was nothing to undo. Call it holding the file's WriteLock, so that the live note
/// of another writer is never taken for a crash's.
QString undoUnfinishedAppend(const QString &path, QString *notice = nullptr);

/// What appendInPlace() did.
struct InPlaceAppendResult
{
    QString error; ///< empty when the whole tail was appended and is on disk
    /// Set when the file was left untouched because it could not be opened for writing or its
    /// note could not be made: writing the whole file afresh, from the bytes the caller read, is
    /// then still open to the caller.
    bool rewriteInstead = false;
    bool ok() const { return error.isEmpty(); }
};

/// Appends `tail` to the file at `path`, which must still be `expectedLength` bytes long (the
/// caller composed the tail from what it read). On failure the file is cut back to its length
/// before; if even that fails, the note stays and readers still see the file as it was.
InPlaceAppendResult appendInPlace(const QString &path, qint64 expectedLength, QByteArrayView tail);

} // namespace queldo
