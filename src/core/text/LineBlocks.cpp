#include "core/text/LineBlocks.h"

#include "core/text/Cp932Text.h"
#include "core/text/RegularFile.h"

#include <QByteArray>

#include <algorithm>
#include <cstring>

namespace queldo {

namespace {

// Where the whole lines of bytes end: after the last line end that is certainly one. A CR that
// is the very last byte may be the first half of a CR LF whose LF has not been read yet.
qsizetype wholeLinesEnd(QByteArrayView bytes)
{
    for (qsizetype i = bytes.size() - 1; i >= 0; --i) {
        if (bytes[i] == '\n')
            return i + 1;
        if (bytes[i] == '\r' && i + 1 < bytes.size())
            return i + 1;
    }
    return 0;
}

} // namespace

qsizetype countLines(QByteArrayView bytes)
{
    qsizetype lines = 0;
    forEachLine(bytes, [&](QByteArrayView) { ++lines; });
    return lines;
}

QString forEachLineBlock(const QString &path, const std::function<qint64(qint64)> &lengthOf,
                         const std::function<void(QByteArrayView, qsizetype, qint64)> &lines,
                         const std::function<void(qsizetype)> &overlong, LineBlockSizes sizes)
{
    RegularFileReader file;
    if (!file.open(path))
        return file.error();
    qint64 remaining = std::max<qint64>(0, std::min(file.size(), lengthOf(file.size())));
    // The unfinished line of the last block waits at the front for the rest of it.
    QByteArray buffer(sizes.block + sizes.line, Qt::Uninitialized);
    qsizetype held = 0;
    qsizetype linesBefore = 0;
    qint64 readSoFar = 0;   // bytes read from the file, up to the end of the buffer's data
    bool skipping = false;  // inside a line too long to hold
    bool skippedCr = false; // the skipped line ended in a CR that may have its LF next
    for (;;) {
        const qint64 want = std::min<qint64>(remaining, sizes.block);
        const qint64 got = want > 0 ? file.read(buffer.data() + held, want) : 0;
        if (got < 0)
            return file.error();
        remaining -= got;
        readSoFar += got;
        const bool atEnd = got == 0;
        QByteArrayView data(buffer.constData(), held + qsizetype(got));
        if (skippedCr && !data.isEmpty()) {
            skippedCr = false;
            if (data[0] == '\n')
                data = data.sliced(1);
        }
        if (skipping) {
            const char *lf = static_cast<const char *>(std::memchr(data.data(), '\n', data.size()));
            const char *cr = static_cast<const char *>(std::memchr(data.data(), '\r', data.size()));
            const char *end = !lf ? cr : !cr ? lf : std::min(lf, cr);
            if (end) {
                skipping = false;
                qsizetype next = end - data.data() + 1;
                if (*end == '\r') {
                    if (next < data.size() && data[next] == '\n')
                        ++next;
                    else if (next == data.size())
                        skippedCr = true;
                }
                data = data.sliced(next);
            } else {
                data = {};
            }
        }
        const qsizetype whole = atEnd ? data.size() : wholeLinesEnd(data);
        if (whole > 0) {
            const QByteArrayView run = data.first(whole);
            lines(run, linesBefore, readSoFar - (buffer.constData() + held + got - run.data()));
            linesBefore += countLines(run);
        }
        const QByteArrayView rest = data.sliced(whole);
        if (atEnd)
            return {};
        if (rest.size() > sizes.line && !skipping) {
            overlong(++linesBefore);
            skipping = true;
            // The CR that ended the block, held back for its LF, already ends the line.
            if (rest.endsWith('\r')) {
                skipping = false;
                skippedCr = true;
            }
            held = 0;
        } else {
            std::memmove(buffer.data(), rest.data(), std::size_t(rest.size()));
            held = rest.size();
        }
    }
}

} // namespace queldo
