#pragma once
#include <QHash>
#include <QString>
#include <QStringList>

namespace core {

// Keys, exactly as they are stored.
inline const QString kJREpath = QStringLiteral("JREpath");
inline const QString kLibpath = QStringLiteral("libpath");
inline const QString kDtPackages = QStringLiteral("dt-packages");
inline const QString kJavapath = QStringLiteral("javapath");
inline const QString kCP = QStringLiteral("CP");
inline const QString kCompiler = QStringLiteral("Compiler");
inline const QString kClassDirectory = QStringLiteral("ClassDirectory");
inline const QString kOrganization = QStringLiteral("Organization");
inline const QString kAuthor = QStringLiteral("Author");

// The nine launch settings: free text each, kept verbatim.
class Settings
{
public:
    // Every key with the value it holds before any settings file is read.
    Settings();

    static QStringList keys();
    static QString defaultValue(const QString &key);

    // An unknown key reads as empty and takes no value.
    QString value(const QString &key) const { return m_values.value(key); }
    // Only on a named value: setting a copy handed out would change nothing.
    void setValue(const QString &key, const QString &value) &;

    bool operator==(const Settings &other) const { return m_values == other.m_values; }
    bool operator!=(const Settings &other) const { return !(*this == other); }

private:
    QHash<QString, QString> m_values;
};

} // namespace core
