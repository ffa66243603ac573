#include "ui/LocalizeForm.h"
#include "core/NumberReading.h"
#include "core/StringTable.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>

using namespace core;
using namespace ui;

class TestLocalize : public QObject
{
    Q_OBJECT

private slots:
    void strictReading_data();
    void strictReading();
    void lenientReading_data();
    void lenientReading();
    void stringTableHasExactlyTheIds();
    void japaneseTextsAreKept();
    void languageFollowsLocale();
    void buttonsTakeTheLenientTag();
    void labelsTakeTheStrictTag();
    void menusTakeTheirCaption();
    void windowTitleAndFont();
    void itemBranches();
    void secondRunKeepsTexts();
};

void TestLocalize::strictReading_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected"); // INT_MIN: fails
    QTest::newRow("plain") << "1027" << 1027;
    QTest::newRow("blanks around") << "  1027 " << 1027;
    QTest::newRow("negative") << "-5" << -5;
    QTest::newRow("half to even down") << "2.5" << 2;
    QTest::newRow("half to even up") << "3.5" << 4;
    QTest::newRow("max") << "32767" << 32767;
    QTest::newRow("min") << "-32768" << -32768;
    QTest::newRow("over") << "32768" << INT_MIN;
    QTest::newRow("rounds over") << "32767.5" << INT_MIN;
    QTest::newRow("empty") << "" << INT_MIN;
    QTest::newRow("blank") << "   " << INT_MIN;
    QTest::newRow("trailing letters") << "1027abc" << INT_MIN;
    QTest::newRow("separator") << "-" << INT_MIN;
}

void TestLocalize::strictReading()
{
    QFETCH(QString, text);
    QFETCH(int, expected);
    const auto value = readStrictInt16(text, QLocale::c());
    if (expected == INT_MIN)
        QVERIFY(!value);
    else
        QCOMPARE(int(value.value_or(-1)), expected);
}

void TestLocalize::lenientReading_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected"); // INT_MIN: fails
    QTest::newRow("plain") << "1027" << 1027;
    QTest::newRow("trailing letters") << "1027abc" << 1027;
    QTest::newRow("blanks inside") << " 10 2\t7" << 1027;
    QTest::newRow("line feed inside") << "10\n27" << 1027;
    QTest::newRow("no number") << "abc" << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("negative") << "-5" << -5;
    QTest::newRow("fraction half even") << "0.5" << 0;
    QTest::newRow("fraction") << "1026.6" << 1027;
    QTest::newRow("exponent") << "1.027e3x" << 1027;
    QTest::newRow("hex") << "&H403" << 1027;
    QTest::newRow("hex lower") << "&h1f" << 31;
    QTest::newRow("hex all ones is minus one") << "&HFFFF" << -1;
    QTest::newRow("octal") << "&O17" << 15;
    QTest::newRow("octal stops at 8") << "&O178" << 15;
    QTest::newRow("too big") << "40000" << INT_MIN;
    QTest::newRow("hex too big") << "&H10000" << INT_MIN;
    QTest::newRow("huge") << "99999999999999999999" << INT_MIN;
}

void TestLocalize::lenientReading()
{
    QFETCH(QString, text);
    QFETCH(int, expected);
    const auto value = readLenientInt16(text);
    if (expected == INT_MIN)
        QVERIFY(!value);
    else
        QCOMPARE(int(value.value_or(-9999)), expected);
}

void TestLocalize::stringTableHasExactlyTheIds()
{
    // The captions' range holds exactly the captions; every text, the
    // program's own messages above that range included, exists in both
    // languages with the same places to fill in.
    QList<int> present;
    for (int id = 0; id < 3000; ++id) {
        const auto english = stringText(id, Language::English);
        if (!english)
            continue;
        if (id < 1100)
            present << id;
        const auto japanese = stringText(id, Language::Japanese);
        QVERIFY2(japanese, qPrintable(QString::number(id)));
        QCOMPARE(japanese->count(QLatin1String("%1")), english->count(QLatin1String("%1")));
    }
    QList<int> expected;
    for (int id = 1000; id <= 1034; ++id) {
        if (id < 1007 || id > 1010) {
            if (id != 1016)
                expected << id;
        }
    }
    QCOMPARE(present, expected);
    QCOMPARE(*stringText(1018, Language::English), QStringLiteral("Version "));
    QCOMPARE(*stringText(1027, Language::English), QStringLiteral("&Compile"));
}

void TestLocalize::japaneseTextsAreKept()
{
    // Half-width katakana must stay half-width.
    QCOMPARE(*stringText(1012, Language::Japanese), QString::fromUtf8("ｷｬﾝｾﾙ"));
    QCOMPARE(*stringText(1018, Language::Japanese), QString::fromUtf8("ﾊﾞｰｼﾞｮﾝ "));
    QCOMPARE(*stringText(1027, Language::Japanese), QString::fromUtf8("コンパイル(&C)"));
    QCOMPARE(*stringText(1031, Language::Japanese), QString::fromUtf8("ﾗｲﾌﾞﾗﾘ..."));
    QCOMPARE(*stringText(1013, Language::Japanese), QStringLiteral("OK"));
}

void TestLocalize::languageFollowsLocale()
{
    QCOMPARE(languageForLocale("ja_JP"), Language::Japanese);
    QCOMPARE(languageForLocale("en_US"), Language::English);
    QCOMPARE(languageForLocale("de_DE"), Language::English);
}

namespace {

QPushButton *button(QWidget *parent, const char *name, const QString &tag, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setProperty(kTagProperty, tag);
    return b;
}

} // namespace

void TestLocalize::buttonsTakeTheLenientTag()
{
    for (Language language : {Language::English, Language::Japanese}) {
        setCurrentLanguage(language);
        QWidget window;
        auto *compile = button(&window, "a", "1027", "x");
        auto *empty = button(&window, "b", "", "keep");
        auto *zero = button(&window, "c", "0", "keep");
        auto *negative = button(&window, "d", "-5", "keep");
        auto *letters = button(&window, "e", "1027abc", "x");
        auto *missing = button(&window, "f", "1016", "OK");
        auto *tooltip = button(&window, "g", "", "keep");
        tooltip->setToolTip("1033");
        auto *unnamed = button(&window, "", "1027", "keep");
        LocalizeForm(&window);
        const QString compileText = language == Language::English ? QStringLiteral("&Compile")
                                                                  : QString::fromUtf8("コンパイル(&C)");
        QCOMPARE(compile->text(), compileText);
        QCOMPARE(letters->text(), compileText);
        QCOMPARE(empty->text(), QStringLiteral("keep"));
        QCOMPARE(zero->text(), QStringLiteral("keep"));
        QCOMPARE(negative->text(), QStringLiteral("keep"));
        QCOMPARE(missing->text(), QStringLiteral("OK"));
        QCOMPARE(tooltip->toolTip(), *stringText(1033));
        QCOMPARE(unnamed->text(), QStringLiteral("keep")); // not one of the window's controls
    }
    setCurrentLanguage(Language::English);
}

void TestLocalize::labelsTakeTheStrictTag()
{
    QWidget window;
    auto *label = new QLabel("keep", &window);
    label->setObjectName("lblA");
    label->setProperty(kTagProperty, "1027abc");
    auto *good = new QLabel("x", &window);
    good->setObjectName("lblB");
    good->setProperty(kTagProperty, " 1019 ");
    auto *edit = new QLineEdit("text", &window);
    edit->setObjectName("txtA");
    edit->setProperty(kTagProperty, "1027");
    LocalizeForm(&window);
    QCOMPARE(label->text(), QStringLiteral("keep"));
    QCOMPARE(good->text(), QStringLiteral("Application title"));
    QCOMPARE(edit->text(), QStringLiteral("text")); // a text box has no caption
}

void TestLocalize::menusTakeTheirCaption()
{
    QWidget window;
    auto *menu = new QMenu("1000", &window);
    menu->setObjectName("mnuFile");
    auto *entry = new QAction("1021", &window);
    entry->setObjectName("mnuLoadEditFile");
    auto *bar = new QAction("-", &window);
    bar->setObjectName("mnuBar");
    bar->setSeparator(true);
    auto *blank = new QAction("", &window);
    blank->setObjectName("mnuBlank");
    auto *tagged = new QAction("1021abc", &window);
    tagged->setObjectName("mnuTagged");
    tagged->setProperty(kTagProperty, "1022");
    menu->addActions({entry, bar, blank, tagged});
    LocalizeForm(&window);
    QCOMPARE(menu->title(), QStringLiteral("&File"));
    QCOMPARE(entry->text(), QStringLiteral("Import Editor.bat(&O)..."));
    QCOMPARE(bar->text(), QStringLiteral("-"));
    QVERIFY(bar->isSeparator());
    QCOMPARE(blank->text(), QString());
    QCOMPARE(tagged->text(), QStringLiteral("1021abc")); // menus read their caption strictly
}

void TestLocalize::windowTitleAndFont()
{
    QWidget window;
    window.setWindowTitle("TAVO Starter");
    window.setProperty(kTagProperty, "2");
    QFont designed("Serif", 13);
    window.setFont(designed);
    auto *b = button(&window, "cmdA", "", "x");
    b->setFont(QFont("Monospace", 7));
    LocalizeForm(&window);
    QCOMPARE(window.windowTitle(), QStringLiteral("TAVO Starter"));
    // Every control ends in the window's font, whatever it had of its own.
    QCOMPARE(b->font().family(), window.font().family());
    QCOMPARE(b->font().pointSize(), 13);

    QWidget titled;
    titled.setWindowTitle("designed");
    titled.setProperty(kTagProperty, "1033");
    LocalizeForm(&titled);
    QCOMPARE(titled.windowTitle(), QStringLiteral("Select libraries"));

    QWidget untagged;
    untagged.setWindowTitle("designed");
    LocalizeForm(&untagged);
    QCOMPARE(untagged.windowTitle(), QStringLiteral("designed"));
}

void TestLocalize::itemBranches()
{
    QWidget window;
    auto *strip = new QTabBar(&window);
    strip->setObjectName("tabStrip");
    strip->addTab("one");
    strip->setTabData(0, "1006");
    strip->setTabToolTip(0, "1011");
    strip->addTab("two");
    strip->setTabData(1, "nope");
    strip->setTabToolTip(1, "1027x");

    auto *toolbar = new QToolBar(&window);
    toolbar->setObjectName("tbrMain");
    QAction *tool = toolbar->addAction("t");
    tool->setToolTip("1013");

    auto *view = new QTreeWidget(&window);
    view->setObjectName("lvwFiles");
    view->setColumnCount(2);
    view->headerItem()->setText(0, "a");
    view->headerItem()->setData(0, Qt::UserRole, "1012");
    view->headerItem()->setText(1, "b");
    view->headerItem()->setData(1, Qt::UserRole, "");

    LocalizeForm(&window);
    QCOMPARE(strip->tabText(0), QStringLiteral("Option"));
    QCOMPARE(strip->tabToolTip(0), QStringLiteral("&Apply"));
    QCOMPARE(strip->tabText(1), QStringLiteral("two"));
    QCOMPARE(strip->tabToolTip(1), QStringLiteral("1027x"));
    QCOMPARE(tool->toolTip(), QStringLiteral("OK"));
    QCOMPARE(view->headerItem()->text(0), QStringLiteral("Cancel"));
    QCOMPARE(view->headerItem()->text(1), QStringLiteral("b"));
}

void TestLocalize::secondRunKeepsTexts()
{
    QWidget window;
    auto *entry = new QAction("1001", &window);
    entry->setObjectName("mnuFileExit");
    auto *b = button(&window, "cmdB", "1030", "New...");
    LocalizeForm(&window);
    LocalizeForm(&window);
    QCOMPARE(entry->text(), QStringLiteral("E&xit"));
    QCOMPARE(b->text(), QStringLiteral("&New..."));
}

QTEST_MAIN(TestLocalize)
#include "tst_localize.moc"
