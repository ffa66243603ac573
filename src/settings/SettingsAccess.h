#pragma once
#include <QString>
#include <QStringList>

// The nine launch settings by key. Reading or writing any key brings the
// live settings into being first (defaults, then the settings file).
class SettingsAccess
{
public:
    virtual ~SettingsAccess() = default;
    virtual QString value(const QString &key) = 0;
    virtual void setValue(const QString &key, const QString &value) = 0;
};

namespace settings {

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

// The value a key holds before any settings file is read.
QString defaultValue(const QString &key);
QStringList allKeys();

} // namespace settings
