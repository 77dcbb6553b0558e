#include "core/app/PasswordFile.h"

#include "core/text/Cp932Text.h"

#include <sodium.h>

namespace queldo {

namespace {

const QString HashPrefix = QStringLiteral("$argon2");

bool ensureSodium()
{
    static const bool ready = sodium_init() >= 0;
    return ready;
}

} // namespace

StoredPassword readPasswordFile(const QString &path)
{
    const TextReadResult read = readCp932Lines(path);
    if (!read.ok())
        return {{}, read.error};
    return {read.lines.value(0), {}};
}

bool passwordMatches(const QString &storedLine, const QString &typed)
{
    if (storedLine.startsWith(HashPrefix) && ensureSodium()) {
        const QByteArray hash = storedLine.toLatin1();
        const QByteArray password = typed.toUtf8();
        return crypto_pwhash_str_verify(hash.constData(), password.constData(),
                                        quint64(password.size())) == 0;
    }
    return storedLine == typed;
}

QString hashPassword(const QString &password)
{
    if (!ensureSodium())
        return {};
    const QByteArray bytes = password.toUtf8();
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(out, bytes.constData(), quint64(bytes.size()),
                          crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
        return {};
    return QString::fromLatin1(out);
}

QString writePasswordFile(const QString &path, const QString &password)
{
    const QString line = hashPassword(password);
    if (line.isEmpty())
        return QStringLiteral("パスワードを保存できません。");
    return writeCp932Lines(path, {line});
}

} // namespace queldo
