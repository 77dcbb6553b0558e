#include "core/app/UserFiles.h"

#include "core/app/AppPaths.h"

namespace queldo {

namespace {

QString suffix(UserFile file)
{
    switch (file) {
    case UserFile::Results:
        return QStringLiteral(".kek");
    case UserFile::Arrangements:
        return QStringLiteral(".arr");
    case UserFile::AbnormalAttempts:
        return QStringLiteral(".kry");
    case UserFile::Settings:
        return QStringLiteral(".set");
    case UserFile::Password:
        return QStringLiteral(".pas");
    case UserFile::AnswerOptions:
        return QStringLiteral(".opt");
    case UserFile::WindowPlacement:
        return QStringLiteral(".win");
    case UserFile::SessionMark:
        return QStringLiteral(".session");
    }
    return {};
}

} // namespace

QString userFileName(const QString &id, UserFile file)
{
    return id + suffix(file);
}

UserFiles::UserFiles(const AppPaths &paths, QString id) : m_paths(&paths), m_id(std::move(id)) {}

QString UserFiles::relative(UserFile file) const
{
    return m_paths->relativeUserFile(m_id, suffix(file));
}

QString UserFiles::program(UserFile file) const
{
    return m_paths->programUserFile(m_id, suffix(file));
}

QString UserFiles::programFolder() const
{
    return m_paths->programUserFolder(m_id);
}

} // namespace queldo
