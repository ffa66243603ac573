#include "ui/QtTranslations.h"
#include "core/StringTable.h"

#include <QCoreApplication>
#include <QTranslator>

namespace ui {

void loadQtTranslations()
{
    // One translator for the run; the application keeps it.
    static QTranslator *japanese = nullptr;
    if (!japanese) {
        japanese = new QTranslator(QCoreApplication::instance());
        // Built in, so that the program needs no file beside it on any system.
        if (!japanese->load(QStringLiteral(":/translations/qtbase_ja.qm")))
            qWarning("Qt's Japanese catalogue is missing from the program");
    }
    if (core::currentLanguage() == core::Language::Japanese)
        QCoreApplication::installTranslator(japanese);
    else
        QCoreApplication::removeTranslator(japanese);
}

} // namespace ui
