#include "ui/QtTranslations.h"
#include "core/StringTable.h"

#include <QCoreApplication>
#include <QTranslator>

namespace ui {
namespace {

// Words of Qt's that its Japanese catalogue lacks: the kinds a file chooser
// shows in its type column. Taken from the string table instead.
class MissingQtWords : public QTranslator
{
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *sourceText, const char *, int) const override
    {
        if (qstrcmp(context, "QAbstractFileIconProvider") != 0)
            return QString();
        const std::pair<const char *, int> words[] = {
            {"Folder", core::msg::kQtFolder},     {"File Folder", core::msg::kQtFileFolder},
            {"File", core::msg::kQtFile},         {"%1 File", core::msg::kQtSuffixFile},
            {"Drive", core::msg::kQtDrive},       {"Shortcut", core::msg::kQtShortcut},
            {"Unknown", core::msg::kQtUnknown}};
        for (const auto &[source, id] : words) {
            if (qstrcmp(sourceText, source) == 0)
                return core::message(id);
        }
        return QString();
    }
};

} // namespace

void loadQtTranslations()
{
    // Installed for the run; the application keeps them.
    static QTranslator *catalogue = nullptr;
    static QTranslator *missing = nullptr;
    if (!catalogue) {
        catalogue = new QTranslator(QCoreApplication::instance());
        // Built in, so that the program needs no file beside it on any system.
        if (!catalogue->load(QStringLiteral(":/translations/qtbase_ja.qm")))
            qWarning("Qt's Japanese catalogue is missing from the program");
        missing = new MissingQtWords(QCoreApplication::instance());
    }
    for (QTranslator *t : {catalogue, missing}) {
        if (core::currentLanguage() == core::Language::Japanese)
            QCoreApplication::installTranslator(t);
        else
            QCoreApplication::removeTranslator(t);
    }
}

} // namespace ui
