#include "core/app/PasswordFile.h"

#include "core/text/Cp932Text.h"
#include "core/text/RegularFile.h"

#include <sodium.h>

namespace queldo {

namespace {

const QString HashPrefix = QStringLiteral("$argon2");
const QString OwnHashPrefix = QStringLiteral("$argon2id$");

// A password file holds one short line; anything larger is not one.
constexpr qint64 MaximumPasswordFileBytes = 64 * 1024;

// What the program writes (libsodium's interactive limits: 64 MiB, two passes), with room for a
// later libsodium that raises them a little. Checking costs what the hash says, so a tampered
// file could otherwise demand gigabytes or minutes of the login.
constexpr quint64 MaximumMemoryKiB = 2 * (crypto_pwhash_MEMLIMIT_INTERACTIVE / 1024);
constexpr quint64 MaximumPasses = 2 * crypto_pwhash_OPSLIMIT_INTERACTIVE;

bool ensureSodium()
{
    static const bool ready = sodium_init() >= 0;
    return ready;
}

bool isVerifiableHash(const QString &storedLine)
{
    const std::optional<HashCost> cost = hashCost(storedLine);
    return cost && cost->memoryKiB <= MaximumMemoryKiB && cost->passes <= MaximumPasses &&
           cost->lanes == 1;
}

bool isLegacyLine(const QString &storedLine)
{
    return !storedLine.startsWith(HashPrefix);
}

} // namespace

std::optional<HashCost> hashCost(QStringView line)
{
    if (!line.startsWith(OwnHashPrefix))
        return std::nullopt;
    qsizetype at = OwnHashPrefix.size();
    auto literal = [&](QStringView text) {
        if (!line.mid(at).startsWith(text))
            return false;
        at += text.size();
        return true;
    };
    auto number = [&]() -> std::optional<quint64> {
        quint64 value = 0;
        const qsizetype first = at;
        while (at < line.size() && line.at(at) >= u'0' && line.at(at) <= u'9') {
            if (at - first >= 10) // beyond 32 bits: no cost this program would accept
                return std::nullopt;
            value = value * 10 + quint64(line.at(at).unicode() - u'0');
            ++at;
        }
        return at > first ? std::optional<quint64>(value) : std::nullopt;
    };
    if (literal(u"v=") && (!number() || !literal(u"$")))
        return std::nullopt;
    std::optional<quint64> m, t, p;
    if (!literal(u"m=") || !(m = number()) || !literal(u",t=") || !(t = number()) ||
        !literal(u",p=") || !(p = number()) || !literal(u"$"))
        return std::nullopt;
    return HashCost{*m, *t, *p};
}

StoredPassword parsePasswordFile(const QByteArray &bytes, const QString &path)
{
    const auto text = decodeCp932(bytes);
    if (!text)
        return {{}, QStringLiteral("ファイル %1 の文字が正しくありません。").arg(path)};
    const QString line = splitLines(*text).value(0);
    if (!isLegacyLine(line) && !isVerifiableHash(line))
        return {{}, QStringLiteral("パスワードファイル %1 が壊れています。").arg(path)};
    return {line, {}};
}

StoredPassword readPasswordFile(const QString &path)
{
    const FileBytes file = readRegularFile(path, MaximumPasswordFileBytes);
    if (!file.ok())
        return {{}, file.error};
    return parsePasswordFile(file.bytes, path);
}

bool passwordMatches(const QString &storedLine, const QString &typed)
{
    if (isLegacyLine(storedLine))
        return storedLine == typed;
    if (!isVerifiableHash(storedLine) || !ensureSodium())
        return false;
    const QByteArray hash = storedLine.toLatin1();
    const QByteArray password = typed.toUtf8();
    return crypto_pwhash_str_verify(hash.constData(), password.constData(),
                                    quint64(password.size())) == 0;
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
    // The hash is ASCII, so its code page 932 bytes are its Latin-1 ones.
    return writeFileAtomically(path, line.toLatin1() + "\r\n",
                               QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

QString upgradeLegacyPassword(const QString &path, const QString &storedLine, const QString &typed)
{
    if (!isLegacyLine(storedLine) || storedLine != typed || typed.isEmpty())
        return {};
    return writePasswordFile(path, typed);
}

} // namespace queldo
