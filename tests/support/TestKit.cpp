#include "support/TestKit.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>

TestKit::TestKit() : m_dir(scratchDirTemplate()) {}

QString TestKit::sourceFolder(const QString &entry) const
{
    QString relative = entry;
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return at(QStringLiteral("src")) + (relative.isEmpty() ? QString() : QLatin1Char('/') + relative);
}

bool TestKit::makeSourceFolders(const QStringList &entries) const
{
    bool made = QDir().mkpath(sourceFolder(QString()));
    for (const QString &entry : entries)
        made = QDir().mkpath(sourceFolder(entry)) && made;
    return made;
}

bool TestKit::write(const QString &relative, const QByteArray &bytes) const
{
    QFile f(at(relative));
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QByteArray TestKit::read(const QString &relative) const
{
    QFile f(at(relative));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QStringList TestKit::programFiles() const
{
    return QDir(path()).entryList({QStringLiteral("TAVO_Starter*"), QStringLiteral(".TAVO_Starter*")},
                                  QDir::Files | QDir::Hidden | QDir::System);
}
